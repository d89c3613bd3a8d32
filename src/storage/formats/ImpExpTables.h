#pragma once
// The tables that tie the program's vocabulary for foreign files to the codec
// layer: save types, the save dialog's file types, the open dialog's filters,
// format codes and names, saving in a file's own format, and the codec
// error codes with their texts.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Results of the codec layer: 1 is success, failures are negative codes.
enum : int {
    IMPEXP_SUCCESS = 1,
    IMPEXP_ERR_NO_MEMORY = -1,
    IMPEXP_ERR_MEMORY_LOW = -2,
    IMPEXP_ERR_NO_BITMAP = -3,
    IMPEXP_ERR_FILE_WRITE = -4,
    IMPEXP_ERR_FILE_READ = -5,
    IMPEXP_ERR_FILE_GONE = -6,
    IMPEXP_ERR_INV_FILENAME = -7,
    IMPEXP_ERR_FILE_FORMAT = -8,
    IMPEXP_ERR_FILE_NOT_FOUND = -9,
    IMPEXP_ERR_INV_RANGE = -10,
    IMPEXP_ERR_IMAGE_TYPE = -11, // format recognised, sub-type not supported
    IMPEXP_ERR_INV_PARAMETER = -12,
    IMPEXP_ERR_FILE_OPEN = -13,
    IMPEXP_ERR_UNKNOWN_COMP = -14,
    IMPEXP_ERR_FEATURE_NOT_SUPPORTED = -15,
    IMPEXP_ERR_FILE_SEEK = -16,
    IMPEXP_ERR_IMAGE_TOO_LARGE = -17,
    IMPEXP_ERR_FILE_DAMAGED = -18,
    IMPEXP_ERR_DISK_FULL = -19,
    IMPEXP_ERR_BAD_PALETTE = -21,
    IMPEXP_ERR_INV_BITS = -26,
    IMPEXP_ERR_INTERNAL = -29,
    IMPEXP_ERR_NO_POSTSCRIPT = -74,
    IMPEXP_ERR_INV_DATA = -75,
    // Our own: the picture declares more pixels than the limit (PixelLimit.h).
    IMPEXP_ERR_TOO_MANY_PIXELS = -91,
};

// The program's own photo file as a save type and a format code.
constexpr int kSaveTypePhoto = 666;
constexpr int kFormatPhoto = 666;
// Added after the original entries: PNG, with a save type and format code
// of its own and the last save-dialog index.
constexpr int kSaveTypePng = 57;
constexpr int kFormatPng = 65;
constexpr int kFirstSaveType = 1;
constexpr int kLastSaveType = 56;
// Returned by export for a save type it does not know.
constexpr int kBadSaveTypeResult = 50;

// How a save type writes its file.
enum class SaveFamily {
    None,
    Targa,
    Tiff,         // option: 0 uncompressed, 1 and 2 PackBits
    Compress1Bit, // option: 1 CCITT (modified Huffman), 2 LEAD 1 bit, 10 G3 1-D, 11 G3 2-D, 12 G4
    Cals,
    MacPaint,
    GemImg,
    MsPaint,
    WordPerfect,
    SunRaster,
    Pict,
    BmpWindows,
    BmpOs2,
    Pcx,
    Gif,
    LeadCmp, // the library's own compressed format: option 0
    Jpeg,    // option: the library's compression format 1 … 6
    Wmf,
    Eps,
    Png,
    Photo,
};

struct SaveTypeInfo {
    int nSaveType;
    SaveFamily family;
    int nBits;
    int nOption;
    int nQuality;
};

// The save type's entry, or null for a save type outside 1 … 56, 57 and 666.
const SaveTypeInfo* FindSaveType(int nSaveType);
bool IsValidSaveType(int nSaveType);

struct SaveDialogEntry {
    std::string_view name; // "TGA 24 (*.TGA)"
    int nSaveType;
};

// The file types of the save dialog, in order (the PNG entry last).
int GetSaveDialogCount();
const SaveDialogEntry& GetSaveDialogEntry(int nIndex);
// Index -> save type; a negative index gives 666; past the end gives 666 too.
int SaveTypeFromIndex(int nIndex);
// Save type -> the first index holding it, plus one; 2 when none does.
int IndexFromSaveType(int nSaveType);
// The extension of a save type's filter entry without the dot ("TGA"), empty when none.
std::string SaveTypeExtension(int nSaveType);
// The first save type whose filter extension matches (case-insensitive, no dot); 0 when none.
int SaveTypeFromExtension(std::string_view ext);
// The save type a file name's extension gives a picture of nBits bits: among
// the save dialog's entries of that extension, the first of that depth; when
// there is none, the first of the next greater depth; else the family's
// deepest. 0 for an extension no entry has.
int SaveTypeFromExtension(std::string_view ext, int nBits);

// Format codes and their display names: the lookup gives the name's index,
// -1 for a code without one; FormatName is then empty.
int FindFormatName(int nFormat);
std::string FormatName(int nFormat);
// Save type for saving again in a file's own format (format code, bits per pixel).
int SaveTypeForOwnFormat(int nFormat, int nBits);

// Codec error code -> string id (0 when the code has none) and its text.
uint32_t ErrorStringId(int nCode);
std::string ErrorText(int nCode);

// String ids of the file dialogs.
enum : uint32_t {
    IDS_SAVE_FILTER_FIRST = 1193, // the photo file, then 1063 … 1070, then 1194
    IDS_SAVE_FILTER_PART1 = 1063,
    IDS_SAVE_FILTER_PART8 = 1070,
    IDS_SAVE_FILTER_LAST = 1194,
    IDS_OPEN_FILTER_FOREIGN1 = 1074,
    IDS_OPEN_FILTER_FOREIGN2 = 1075,
    IDS_OPEN_FILTER_FOREIGN3 = 1076,
    IDS_OPEN_FILTER_ALL_FILES = 1078,
    IDS_OPEN_FILTER_ALBUMS = 1192,
    IDS_REASON = 1196,
    IDS_ALL_FORMATS_ALBUMS_FOREIGN = 1201,
    IDS_ALL_FORMATS_ALBUMS = 1202,
    IDS_ALL_FORMATS_FOREIGN = 1229,
    IDS_ALL_FORMATS_PHOTOS = 1230,
};

// The save dialog's filter text: 1193, 1063 … 1070 and 1194 joined.
std::string SaveDialogFilter();
// The open dialog's "All Formats" pattern for albums and/or foreign formats.
std::string AllFormatsFilter(bool bAlbums, bool bForeign);
// The open dialog's foreign-format filters (1074, 1075, 1076) joined.
std::string ForeignFormatsFilter();
// One filter of the open dialog: its name as shown and its patterns ("*.GIF").
struct OpenDialogFilter {
    std::string name;
    std::vector<std::string> patterns;
    bool operator==(const OpenDialogFilter&) const = default;
};
// Every extension the import layer reads, by format code, without the dot.
struct ImportExtensionEntry {
    int nFormat;
    std::string_view name;       // the family's name when the string table has none
    std::string_view extensions; // "JPG;JFF;JTF;JPEG"
};
int GetImportExtensionCount();
const ImportExtensionEntry& GetImportExtensionEntry(int nIndex);
// The open dialog's filters, in order: "All Formats" (1201 with every
// importable extension), albums (1192), photos (1193), the foreign families
// (1074 … 1076, then the families added since, each extension appearing
// once) and all files (1078, pattern "*").
std::vector<OpenDialogFilter> OpenDialogFilters();
// Splits a filter text of "name|patterns|" pairs (patterns separated by ';').
std::vector<OpenDialogFilter> SplitFilterText(const std::string& text);

// The file name with its extension replaced by the save type's ("a/b.tif" ->
// "a/b.BMP"); a name without extension gets one; an empty name stays empty.
std::string ReplaceExtension(const std::string& name, int nSaveType);

// The report text of a codec failure: the caller's message, a line break, the
// file name, two line breaks, "Reason: " and the code's text; only the
// caller's message when any of the three texts is missing.
std::string FormatImpExpError(uint32_t nMessageId, const std::string& fileName, int nCode);
