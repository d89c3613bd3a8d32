// Message selection of error reporting and the last-chance handler.

#include "framework/ReportException.h"
#include "framework/CAppException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::string Msg(const CException& e) {
    return GetExceptionMessage(e);
}

TEST(ReportException, MemoryShowsBothTextsThenAsksForHelp) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    ReportException(CMemoryException());
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, LoadResString(1218) + LoadResString(1224));
    EXPECT_EQ(prompt.m_shown[0].text.substr(0, 40), "Not enough memory to complete the operat");
    EXPECT_NE(prompt.m_shown[0].text.find("for Pictavo.\nIf necessary, disable TSRs"), std::string::npos);
    EXPECT_EQ(prompt.m_shown[0].nType, unsigned(MB_OK | MB_ICONSTOP));
    ASSERT_EQ(prompt.m_help.size(), 1u);
    EXPECT_EQ(prompt.m_help[0], 0x10862u);
}

TEST(ReportException, ApplicationTextWinsOverId) {
    CAppException e("Codec said no");
    e.m_nMessageId = 1240; // an id set as well does not matter
    EXPECT_EQ(Msg(e), "Codec said no");
    EXPECT_EQ(Msg(CAppException(61704u)), "Internal application error.");
    EXPECT_EQ(Msg(CAppException(1362u)), "Switching directory failed.");
    EXPECT_EQ(Msg(CAppException(999999u)), ""); // no string: an empty message
}

TEST(ReportException, ApplicationTextIsCutAt511Characters) {
    CAppException e(std::string(600, 'x'));
    EXPECT_EQ(e.m_strText.size(), 511u);
    EXPECT_EQ(e.m_nMessageId, CAppException::kNoMessageId);
    // A multi-byte character is not split at the cut.
    CAppException u(std::string(510, 'x') + "\xC3\xA9" + "tail");
    EXPECT_EQ(u.m_strText, std::string(510, 'x'));
}

TEST(ReportException, FileCausesSelectTheirTexts) {
    const std::string io = "An unexpected error occurred while reading/writing.";
    const std::string notFound = "Cannot find the file.\" Please verify that the correct file name is given.";
    for (int cause : {1, 4, 6, 8, 9, 10}) EXPECT_EQ(Msg(CFileException(cause)), io) << cause;
    for (int cause : {2, 3}) EXPECT_EQ(Msg(CFileException(cause)), notFound) << cause;
    EXPECT_EQ(Msg(CFileException(5)), "Unable to read/write, it is opened by someone else.");
    EXPECT_EQ(Msg(CFileException(13)), "Destination disk drive is full.");
    // A sharing violation is not reported as access denied.
    for (int cause : {0, 7, 11, 12, 14})
        EXPECT_EQ(Msg(CFileException(cause)), "File-specific exceptions") << cause;
}

TEST(ReportException, ArchiveUserResourceNotSupportedAndOthers) {
    for (int cause : {3, 5, 6, 7})
        EXPECT_EQ(Msg(CArchiveException(cause)), "Unexpected file format.") << cause;
    for (int cause : {0, 1, 2, 4})
        EXPECT_EQ(Msg(CArchiveException(cause)), "Archive-specific exceptions") << cause;
    EXPECT_EQ(Msg(CUserException()), "User did something bad.");
    EXPECT_EQ(Msg(CResourceException()), "Windows resource not found or not creatable");
    EXPECT_EQ(Msg(CNotSupportedException()), "Request for an unsupported operation");
    EXPECT_EQ(GetExceptionMessage(std::make_exception_ptr(std::runtime_error("x"))),
              "Internal application error.");
    EXPECT_EQ(GetExceptionMessage(std::make_exception_ptr(std::bad_alloc())), Msg(CMemoryException()));
}

TEST(ReportException, ThrowAppExceptionForms) {
    try {
        ThrowAppException(1363);
    } catch (const CException& e) {
        EXPECT_EQ(Msg(e), "Setting directory failed.");
    }
    try {
        ThrowAppException("composed elsewhere");
    } catch (const CAppException& e) {
        EXPECT_EQ(e.m_nMessageId, 0xFFFFFFFFu);
        EXPECT_EQ(Msg(e), "composed elsewhere");
    }
}

TEST(LastChance, CreationFailsSilentlyAndPaintingIsValidated) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto p = std::make_exception_ptr(CFileException(CFileException::generic));

    CLastChanceResult r = ProcessWndProcException(p, WM_CREATE, false);
    EXPECT_EQ(r.lResult, -1);
    EXPECT_FALSE(r.bReported);

    r = ProcessWndProcException(p, WM_PAINT, false);
    EXPECT_EQ(r.lResult, 0);
    EXPECT_TRUE(r.bValidateWindow);
    EXPECT_TRUE(prompt.m_shown.empty());

    r = ProcessWndProcException(p, WM_COMMAND, false); // a menu command
    EXPECT_EQ(r.lResult, 1);
    r = ProcessWndProcException(p, WM_COMMAND, true); // from a control
    EXPECT_EQ(r.lResult, 0);
    r = ProcessWndProcException(p, 0x0201, false); // any other message
    EXPECT_EQ(r.lResult, 0);
    EXPECT_EQ(prompt.m_shown.size(), 3u);
}

TEST(StringTable, EveryIdTheCodeUsesHasItsText) {
    for (uint32_t id : {IDS_MEMORY_LOW_START,
                        IDS_UNSUPPORTED_OPERATION,
                        IDS_ARCHIVE_EXCEPTION,
                        IDS_FILE_EXCEPTION,
                        IDS_RESOURCE_EXCEPTION,
                        IDS_USER_EXCEPTION,
                        IDS_PRINT_ERROR_123,
                        IDS_FILE_SAVE_ERROR,
                        IDS_CREATE_DIR_FAILED,
                        IDS_FILE_READ_ERROR,
                        IDS_REOPEN_WINDOWS,
                        IDS_INVALID_COMMAND_LINE,
                        IDS_CMDLINE_ALBUM_NOT_FOUND,
                        IDS_NOT_ENOUGH_STORAGE,
                        IDS_MISSING_PHOTO_FILE,
                        IDS_BAD_THUMBNAIL,
                        IDS_NOT_PARCELGRAM,
                        IDS_BAD_IMAGE,
                        IDS_NOT_ENOUGH_MEMORY,
                        IDS_NOT_ENOUGH_MEMORY_TSR,
                        IDS_MODIFYING_ALBUM_PATHS,
                        IDS_ALBUM_SAVE_FAILED,
                        IDS_COMPANY,
                        IDS_SWITCH_DIR_FAILED,
                        IDS_SET_DIR_FAILED,
                        IDS_FILE_IN_USE,
                        IDS_FILE_IO_ERROR,
                        IDS_FILE_NOT_FOUND,
                        IDS_APP_TITLE,
                        IDS_UNTITLED,
                        IDS_SAVE_CHANGES,
                        IDS_NEW_DOC_FAILED,
                        IDS_INTERNAL_ERROR,
                        IDS_UNEXPECTED_FORMAT,
                        IDS_DISK_FULL})
        EXPECT_FALSE(LoadResString(id).empty()) << id;
    EXPECT_EQ(LoadResString(57344), "Pictavo Zozi");
    EXPECT_EQ(LoadResString(1346), "Quillon");
    EXPECT_EQ(LoadResString(4242), "");
}

TEST(StringTable, PlaceholdersAreFilledOnce) {
    EXPECT_EQ(FormatResString1(1080, "/Q"), "Invalid command line.\n\n</Q>");
    EXPECT_EQ(FormatResString1(1240, "a.alb"), "Failed to save album\na.alb");
    EXPECT_EQ(FormatResString2(1317, "1", "99"), "Please enter a number between 1 and 99.");
    // An argument that holds a placeholder is not expanded again.
    EXPECT_EQ(FormatMessageText("%1 and %2", "%2", "x"), "%2 and x");
}

} // namespace
