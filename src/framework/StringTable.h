#pragma once
// The string table: every message and text of the program, addressed by id.

#include <cstdint>
#include <string>

// The text with that id; an empty string for an unknown id.
std::string LoadResString(uint32_t nId);
bool HasResString(uint32_t nId);
// Replaces every "%1" (and "%2") of the string with the argument(s).
std::string FormatResString1(uint32_t nId, const std::string& arg1);
std::string FormatResString2(uint32_t nId, const std::string& arg1, const std::string& arg2);
std::string FormatMessageText(const std::string& text, const std::string& arg1, const std::string& arg2 = {});

// Ids used by code across layers.
enum : uint32_t {
    IDS_MEMORY_LOW_START = 1029,
    IDS_UNSUPPORTED_OPERATION = 1030,
    IDS_ARCHIVE_EXCEPTION = 1031,
    IDS_FILE_EXCEPTION = 1032,
    IDS_RESOURCE_EXCEPTION = 1033,
    IDS_USER_EXCEPTION = 1034,
    IDS_PRINT_ERROR_123 = 1036,
    IDS_FILE_SAVE_ERROR = 1071,
    IDS_CREATE_DIR_FAILED = 1072,
    IDS_FILE_READ_ERROR = 1077,
    IDS_REOPEN_WINDOWS = 1079,
    IDS_INVALID_COMMAND_LINE = 1080,
    IDS_CMDLINE_ALBUM_NOT_FOUND = 1081,
    IDS_NOT_ENOUGH_STORAGE = 1086,
    IDS_MISSING_PHOTO_FILE = 1197,
    IDS_BAD_THUMBNAIL = 1198,
    IDS_NOT_PARCELGRAM = 1204,
    IDS_BAD_IMAGE = 1217,
    IDS_NOT_ENOUGH_MEMORY = 1218,
    IDS_NOT_ENOUGH_MEMORY_TSR = 1224,
    IDS_MODIFYING_ALBUM_PATHS = 1237,
    IDS_ALBUM_SAVE_FAILED = 1240,
    IDS_COMPANY = 1346,
    IDS_SWITCH_DIR_FAILED = 1362,
    IDS_SET_DIR_FAILED = 1363,
    IDS_FILE_IN_USE = 1377,
    IDS_FILE_IO_ERROR = 1378,
    IDS_FILE_NOT_FOUND = 1379,
    IDS_APP_TITLE = 57344,
    IDS_UNTITLED = 61443,
    IDS_SAVE_CHANGES = 61699,
    IDS_NEW_DOC_FAILED = 61700,
    IDS_INTERNAL_ERROR = 61704,
    IDS_UNEXPECTED_FORMAT = 61728,
    IDS_DISK_FULL = 61730,
};

// Help context opened after a memory exception is reported.
constexpr uint32_t kHelpMemory = 0x10862;
