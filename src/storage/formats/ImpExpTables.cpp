#include "storage/formats/ImpExpTables.h"

#include "framework/StringTable.h"
#include "framework/TextCase.h"
#include "storage/formats/PixelLimit.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

using F = SaveFamily;

// One entry per save type, 1 … 57, then the photo file.
constexpr SaveTypeInfo kSaveTypes[] = {
    {1, F::Targa, 8, 0, 0},          {2, F::Targa, 16, 0, 0},
    {3, F::Targa, 24, 0, 0},         {4, F::Targa, 32, 0, 0},
    {5, F::Tiff, 1, 0, 0},           {6, F::Tiff, 1, 1, 0},
    {7, F::Compress1Bit, 1, 1, 0},   {8, F::Compress1Bit, 1, 2, 0},
    {9, F::Compress1Bit, 1, 10, 0},  {10, F::Compress1Bit, 1, 11, 0},
    {11, F::Compress1Bit, 1, 12, 0}, {12, F::Tiff, 8, 0, 0},
    {13, F::Tiff, 16, 0, 0},         {14, F::Tiff, 24, 0, 0},
    {15, F::Tiff, 8, 2, 0},          {16, F::Tiff, 16, 2, 0},
    {17, F::Tiff, 24, 2, 0},         {18, F::Cals, 1, 0, 0},
    {19, F::MacPaint, 1, 0, 0},      {20, F::GemImg, 1, 0, 0},
    {21, F::MsPaint, 1, 0, 0},       {22, F::WordPerfect, 1, 0, 0},
    {23, F::WordPerfect, 4, 0, 0},   {24, F::WordPerfect, 8, 0, 0},
    {25, F::SunRaster, 1, 0, 0},     {26, F::SunRaster, 4, 0, 0},
    {27, F::SunRaster, 8, 0, 0},     {28, F::SunRaster, 24, 0, 0},
    {29, F::SunRaster, 32, 0, 0},    {30, F::Pict, 1, 0, 0},
    {31, F::Pict, 4, 0, 0},          {32, F::Pict, 8, 0, 0},
    {33, F::Pict, 24, 0, 0},         {34, F::BmpWindows, 1, 1, 0},
    {35, F::BmpWindows, 4, 1, 0},    {36, F::BmpWindows, 8, 1, 0},
    {37, F::BmpWindows, 24, 1, 0},   {38, F::BmpOs2, 1, 2, 0},
    {39, F::BmpOs2, 4, 2, 0},        {40, F::BmpOs2, 8, 2, 0},
    {41, F::BmpOs2, 24, 2, 0},       {42, F::Pcx, 1, 0, 0},
    {43, F::Pcx, 4, 0, 0},           {44, F::Pcx, 8, 0, 0},
    {45, F::Pcx, 24, 0, 0},          {46, F::Gif, 8, 0, 0},
    {47, F::LeadCmp, 0, 0, -4},      {48, F::Jpeg, 24, 3, 50},
    {49, F::Jpeg, 24, 5, 50},        {50, F::Jpeg, 24, 4, 50},
    {51, F::Jpeg, 24, 6, 50},        {52, F::Jpeg, 24, 1, 50},
    {53, F::Jpeg, 24, 2, 50},        {54, F::Wmf, 8, 0, 0},
    {55, F::Wmf, 24, 0, 0},          {56, F::Eps, 8, 0, 0},
    {kSaveTypePng, F::Png, 0, 0, 0}, {kSaveTypePhoto, F::Photo, 0, 0, 0},
};

constexpr SaveDialogEntry kSaveDialog[] = {
    {"QLN Photo (*.QLN)", 666},
    {"CALS 1 (*.CAL)", 18},
    {"CCITT 1 (*.TIF)", 7},
    {"CCITT G3 1D (*.TIF)", 9},
    {"CCITT G3 2D (*.TIF)", 10},
    {"CCITT G4 (*.TIF)", 11},
    {"EPS (*.EPS)", 56},
    {"GIF (*.GIF)", 46},
    {"JPEG (*.JPG)", 52},
    {"JTIF (*.JPG)", 53},
    {"LEAD (*.CMP)", 47},
    {"LEAD 1 bit (*.CMP)", 8},
    {"LEAD JFIF 4:1:1 (*.JFF)", 48},
    {"LEAD JFIF 4:2:2 (*.JFF)", 49},
    {"LEAD JTIF 4:1:1 (*.JTF)", 50},
    {"LEAD JTIF 4:2:2 (*.JTF)", 51},
    {"Mac Paint 1 (*.MAC)", 19},
    {"Mac Picture 1 (*.PCT)", 30},
    {"Mac Picture 4 (*.PCT)", 31},
    {"Mac Picture 8 (*.PCT)", 32},
    {"Mac Picture 24 (*.PCT)", 33},
    {"Microsoft Paint 1 (*.MSP)", 21},
    {"OS/2 BMP 1 (*.BMP)", 38},
    {"OS/2 BMP 4 (*.BMP)", 39},
    {"OS/2 BMP 8 (*.BMP)", 40},
    {"OS/2 BMP 24 (*.BMP)", 41},
    {"PCX 1 (*.PCX)", 42},
    {"PCX 4 (*.PCX)", 43},
    {"PCX 8 (*.PCX)", 44},
    {"PCX 24 (*.PCX)", 45},
    {"Sun Raster 1 (*.RAS)", 25},
    {"Sun Raster 4 (*.RAS)", 26},
    {"Sun Raster 8 (*.RAS)", 27},
    {"Sun Raster 24 (*.RAS)", 28},
    {"Sun Raster 32 (*.RAS)", 29},
    {"TGA 8 (*.TGA)", 1},
    {"TGA 16 (*.TGA)", 2},
    {"TGA 24 (*.TGA)", 3},
    {"TGA 32 (*.TGA)", 4},
    {"TIF 1 (*.TIF)", 5},
    {"TIF 8 (*.TIF)", 12},
    {"TIF 16 (*.TIF)", 13},
    {"TIF 24 (*.TIF)", 14},
    {"Windows BMP 1 (*.BMP)", 34},
    {"Windows BMP 4 (*.BMP)", 35},
    {"Windows BMP 8 (*.BMP)", 36},
    {"Windows BMP 24 (*.BMP)", 37},
    {"WordPerfect 1 (*.WPG)", 22},
    {"WordPerfect 4 (*.WPG)", 23},
    {"WordPerfect 8 (*.WPG)", 24},
    {"WMF 8 (*.WMF)", 54},
    {"WMF 24 (*.WMF)", 55},
    {"PNG (*.PNG)", kSaveTypePng},
};

struct FormatEntry {
    int nFormat;
    std::string_view name;
};

// Display names of the format codes.
constexpr FormatEntry kFormatNames[] = {
    {1, "ZSoft PCX"},
    {2, "CompuServe GIF"},
    {3, "TIF"},
    {4, "Targa"},
    {5, "LEAD CMP"},
    {6, "Windows BMP"},
    {10, "JPEG File Interchange Format"},
    {11, "JPEG TIF"},
    {14, "OS/2 BMP"},
    {15, "Windows Meta File"},
    {16, "Encapsulated Post Script"},
    {20, "LEAD Proprietary CMP"},
    {21, "LEAD Proprietary JPEG  4:1:1"},
    {22, "LEAD Proprietary JPEG  4:1:1"},
    {23, "LEAD Proprietary JPEG  4:2:2"},
    {24, "LEAD Proprietary JPEG  4:2:2"},
    {25, "TIFF  CCITT"},
    {26, "LEAD 1 bit, lossless compression"},
    {27, "CCITT Group3 one dimension"},
    {28, "CCITT Group3 two dimensions"},
    {29, "CCITT Group4 two dimensions"},
    {50, "CALS"},
    {51, "Mac Paint"},
    {53, "Microsoft Paint"},
    {54, "WordPerfect"},
    {55, "Sun Raster"},
    {56, "Mac Picture"},
    {57, "Kodak Photo CD"},
    {63, "Encapsulated Post Script (TIF)"},
    {64, "Encapsulated Post Script (WMF)"},
    {kFormatPng, "Portable Network Graphics"},
    {kFormatPhoto, "Quillon Photo"},
    // Our own addition: GEM bit images are read but had no name.
    {52, "GEM Image"},
};

// Picks by bit count from parallel lists; nOther when none matches.
int PickByBits(int nBits, std::initializer_list<int> bits, std::initializer_list<int> types, int nOther) {
    auto b = bits.begin();
    auto t = types.begin();
    for (; b != bits.end() && t != types.end(); ++b, ++t)
        if (*b == nBits) return *t;
    return nOther;
}

} // namespace

const SaveTypeInfo* FindSaveType(int nSaveType) {
    for (const SaveTypeInfo& t : kSaveTypes)
        if (t.nSaveType == nSaveType) return &t;
    return nullptr;
}

bool IsValidSaveType(int nSaveType) {
    return FindSaveType(nSaveType) != nullptr;
}

int GetSaveDialogCount() {
    return static_cast<int>(std::size(kSaveDialog));
}

const SaveDialogEntry& GetSaveDialogEntry(int nIndex) {
    return kSaveDialog[nIndex];
}

int SaveTypeFromIndex(int nIndex) {
    if (nIndex < 0 || nIndex >= GetSaveDialogCount()) return kSaveTypePhoto;
    return kSaveDialog[nIndex].nSaveType;
}

int IndexFromSaveType(int nSaveType) {
    for (int i = 0; i < GetSaveDialogCount(); ++i)
        if (kSaveDialog[i].nSaveType == nSaveType) return i + 1;
    return 2;
}

namespace {

// The dialog entry's name of a save type (its first entry).
std::string_view SaveDialogEntryName(int nSaveType) {
    for (const SaveDialogEntry& e : kSaveDialog)
        if (e.nSaveType == nSaveType) return e.name;
    return {};
}

// "TGA" from "TGA 24 (*.TGA)".
std::string_view EntryExtension(std::string_view name) {
    size_t dot = name.rfind("(*.");
    if (dot == std::string_view::npos) return {};
    std::string_view ext = name.substr(dot + 3);
    return ext.substr(0, ext.find(')'));
}

// Save types reachable only through saving in the file's own format take the
// extension of their family.
int SaveTypeForExtensionLookup(int nSaveType) {
    switch (nSaveType) {
    case 6:
    case 15:
    case 16:
    case 17:
        return 5; // TIF
    case 20:
        return 20;
    default:
        return nSaveType;
    }
}

} // namespace

std::string SaveTypeExtension(int nSaveType) {
    if (nSaveType == 20) return "IMG";
    int nLookup = SaveTypeForExtensionLookup(nSaveType);
    for (const SaveDialogEntry& e : kSaveDialog)
        if (e.nSaveType == nLookup) return std::string(EntryExtension(e.name));
    return {};
}

int SaveTypeFromExtension(std::string_view ext) {
    if (!ext.empty() && ext.front() == '.') ext.remove_prefix(1);
    std::string want = ToUpperAscii(ext);
    if (want.empty()) return 0;
    if (want == "JPEG") want = "JPG";
    if (want == "TIFF") want = "TIF";
    for (const SaveDialogEntry& e : kSaveDialog)
        if (EntryExtension(e.name) == want) return e.nSaveType;
    if (want == "IMG") return 20;
    return 0;
}

int SaveTypeFromExtension(std::string_view ext, int nBits) {
    const int nFirst = SaveTypeFromExtension(ext);
    if (nFirst == 0 || nFirst == kSaveTypePhoto) return nFirst;
    const std::string_view want = EntryExtension(SaveDialogEntryName(nFirst));
    int nExact = 0, nGreater = 0, nGreaterBits = 0, nDeepest = 0, nDeepestBits = -1;
    for (const SaveDialogEntry& e : kSaveDialog) {
        if (EntryExtension(e.name) != want) continue;
        const SaveTypeInfo* pInfo = FindSaveType(e.nSaveType);
        if (!pInfo) continue;
        if (pInfo->nBits == nBits && !nExact) nExact = e.nSaveType;
        if (pInfo->nBits > nBits && (!nGreater || pInfo->nBits < nGreaterBits))
            nGreater = e.nSaveType, nGreaterBits = pInfo->nBits;
        if (pInfo->nBits > nDeepestBits) nDeepest = e.nSaveType, nDeepestBits = pInfo->nBits;
    }
    return nExact ? nExact : nGreater ? nGreater : nDeepest ? nDeepest : nFirst;
}

int FindFormatName(int nFormat) {
    for (size_t i = 0; i < std::size(kFormatNames); ++i)
        if (kFormatNames[i].nFormat == nFormat) return static_cast<int>(i);
    return -1;
}

std::string FormatName(int nFormat) {
    int n = FindFormatName(nFormat);
    return n < 0 ? std::string() : std::string(kFormatNames[n].name);
}

int SaveTypeForOwnFormat(int nFormat, int nBits) {
    switch (nFormat) {
    case 1:
        return PickByBits(nBits, {1, 4, 8, 24}, {42, 43, 44, 45}, 46);
    case 2:
        return 46;
    case 3:
        return PickByBits(nBits, {1, 8, 16, 24}, {5, 12, 13, 14}, 18);
    case 4:
        return PickByBits(nBits, {8, 16, 24, 32, 1}, {1, 2, 3, 4, 5}, 18);
    case 5:
    case 20:
        return 47;
    case 10:
        return 52;
    case 11:
        return 53;
    case 21:
        return 48;
    case 22:
        return 49;
    case 23:
        return 50;
    case 24:
        return 51;
    case 25:
    case 26:
    case 27:
    case 28:
    case 29:
        return nFormat - 18;
    case 6:
        return PickByBits(nBits, {1, 4, 8, 24}, {34, 35, 36, 37}, 46);
    case 14:
        return PickByBits(nBits, {1, 4, 8, 24}, {38, 39, 40, 41}, 46);
    case 15:
        return PickByBits(nBits, {8, 24}, {54, 55}, 52);
    case 16:
    case 63:
    case 64:
        return 56;
    case 17:
        return PickByBits(nBits, {1, 8, 16, 24}, {6, 15, 16, 17}, 18);
    case 50:
        return 18;
    case 51:
        return 19;
    case 52:
        return 20;
    case 53:
        return 21;
    case 54:
        return PickByBits(nBits, {1, 4, 8, 24, 32}, {22, 23, 24, 28, 29}, 46);
    case 55:
        return PickByBits(nBits, {1, 4, 8, 24, 32}, {25, 26, 27, 28, 29}, 46);
    case 56:
        return PickByBits(nBits, {1, 4, 8, 24}, {30, 31, 32, 33}, 46);
    case kFormatPng:
        return kSaveTypePng;
    default:
        return kSaveTypePhoto;
    }
}

uint32_t ErrorStringId(int nCode) {
    if (nCode == -1) return 1121;
    if (nCode == -2) return IDS_MEMORY_LOW_START;
    if (nCode <= -3 && nCode >= -19) return static_cast<uint32_t>(1120 - nCode);
    if (nCode <= -21 && nCode >= -65) return static_cast<uint32_t>(1119 - nCode);
    if (nCode <= -70 && nCode >= -76) return static_cast<uint32_t>(1115 - nCode);
    if (nCode <= -77 && nCode >= -90) return static_cast<uint32_t>(1270 - nCode);
    return 0;
}

std::string ErrorText(int nCode) {
    if (nCode == IMPEXP_ERR_TOO_MANY_PIXELS) return PixelLimitText();
    uint32_t nId = ErrorStringId(nCode);
    return nId ? LoadResString(nId) : std::string();
}

std::string SaveDialogFilter() {
    std::string out = LoadResString(IDS_SAVE_FILTER_FIRST);
    for (uint32_t id = IDS_SAVE_FILTER_PART1; id <= IDS_SAVE_FILTER_PART8; ++id) out += LoadResString(id);
    out += LoadResString(IDS_SAVE_FILTER_LAST);
    return out;
}

std::string AllFormatsFilter(bool bAlbums, bool bForeign) {
    uint32_t nId = bAlbums ? (bForeign ? IDS_ALL_FORMATS_ALBUMS_FOREIGN : IDS_ALL_FORMATS_ALBUMS)
                           : (bForeign ? IDS_ALL_FORMATS_FOREIGN : IDS_ALL_FORMATS_PHOTOS);
    return LoadResString(nId);
}

std::string ForeignFormatsFilter() {
    return LoadResString(IDS_OPEN_FILTER_FOREIGN1) + LoadResString(IDS_OPEN_FILTER_FOREIGN2) +
           LoadResString(IDS_OPEN_FILTER_FOREIGN3);
}

namespace {

// Every format code the codec layer reads, with the extensions its files
// carry; families the string table already names take the extra extensions.
constexpr ImportExtensionEntry kImportExtensions[] = {
    {1, "PCX", "PCX"},
    {2, "GIF", "GIF"},
    {3, "TIF", "TIF;TIFF"},
    {4, "Targa", "TGA"},
    {6, "Windows & OS/2", "BMP;DIB"},
    {10, "JPEG", "JPG;JFF;JTF;JPEG;JPE"},
    {11, "JPEG", "JPG;JFF;JTF;JPEG;JPE"},
    {14, "Windows & OS/2", "BMP;DIB"},
    {15, "Windows Meta File", "WMF"},
    {16, "PostScript Raster", "EPS"},
    {25, "TIF", "TIF;TIFF"},
    {27, "TIF", "TIF;TIFF"},
    {28, "TIF", "TIF;TIFF"},
    {29, "TIF", "TIF;TIFF"},
    {50, "CALS", "CAL"},
    {51, "Mac Paint", "MAC"},
    {52, "GEM Image", "IMG"},
    {53, "Microsoft Paint", "MSP"},
    {54, "WordPerfect", "WPG"},
    {55, "Sun Raster", "RAS"},
    {56, "Mac Picture", "PCT;PICT"},
    {57, "Kodak Photo CD", "PCD"},
    {63, "PostScript Raster", "EPS"},
    {kFormatPng, "PNG", "PNG"},
};

std::vector<std::string> SplitPatterns(std::string_view text) {
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = std::min(text.find(';', pos), text.size());
        if (end > pos) out.emplace_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return out;
}

bool Contains(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

} // namespace

int GetImportExtensionCount() {
    return static_cast<int>(std::size(kImportExtensions));
}

const ImportExtensionEntry& GetImportExtensionEntry(int nIndex) {
    return kImportExtensions[nIndex];
}

std::vector<OpenDialogFilter> SplitFilterText(const std::string& text) {
    std::vector<OpenDialogFilter> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t bar = text.find('|', pos);
        if (bar == std::string::npos || bar == pos) break;
        size_t end = std::min(text.find('|', bar + 1), text.size());
        out.push_back({text.substr(pos, bar - pos),
                       SplitPatterns(std::string_view(text).substr(bar + 1, end - bar - 1))});
        pos = end + 1;
    }
    return out;
}

std::vector<OpenDialogFilter> OpenDialogFilters() {
    std::vector<OpenDialogFilter> families = SplitFilterText(ForeignFormatsFilter());
    std::vector<std::string> known;
    for (const auto& f : families) known.insert(known.end(), f.patterns.begin(), f.patterns.end());
    // The import layer's extensions: one the families lack joins the family
    // of its format, or a family of its own.
    for (const ImportExtensionEntry& e : kImportExtensions) {
        std::vector<std::string> patterns;
        for (const std::string& ext : SplitPatterns(e.extensions)) patterns.push_back("*." + ext);
        size_t nFamily = families.size();
        for (size_t i = 0; i < families.size() && nFamily == families.size(); ++i)
            for (const auto& p : patterns)
                if (Contains(families[i].patterns, p)) nFamily = i;
        std::vector<std::string> added;
        for (const auto& p : patterns)
            if (!Contains(known, p)) added.push_back(p);
        if (added.empty()) continue;
        known.insert(known.end(), added.begin(), added.end());
        if (nFamily < families.size()) {
            families[nFamily].patterns.insert(families[nFamily].patterns.end(), added.begin(), added.end());
        } else {
            std::string name = std::string(e.name) + " (";
            for (size_t i = 0; i < added.size(); ++i) name += (i ? ";" : "") + added[i];
            families.push_back({name + ")", added});
        }
    }

    std::vector<OpenDialogFilter> out = SplitFilterText(AllFormatsFilter(true, true));
    if (out.empty()) out.push_back({"All Formats", {}});
    for (const auto& p : known)
        if (!Contains(out.front().patterns, p)) out.front().patterns.push_back(p);
    for (uint32_t nId : {IDS_OPEN_FILTER_ALBUMS, IDS_SAVE_FILTER_FIRST})
        for (auto& f : SplitFilterText(LoadResString(nId))) out.push_back(f);
    out.insert(out.end(), families.begin(), families.end());
    out.push_back({LoadResString(IDS_OPEN_FILTER_ALL_FILES), {"*"}});
    return out;
}

std::string ReplaceExtension(const std::string& name, int nSaveType) {
    if (name.empty()) return name;
    std::string ext = SaveTypeExtension(nSaveType);
    if (nSaveType == kSaveTypePhoto) ext = "QLN";
    if (ext.empty()) return name;
    size_t slash = name.find_last_of("/\\");
    size_t dot = name.rfind('.');
    std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                           ? name.substr(0, dot)
                           : name;
    return stem + "." + ext;
}

std::string FormatImpExpError(uint32_t nMessageId, const std::string& fileName, int nCode) {
    std::string message = LoadResString(nMessageId);
    std::string reason = ErrorText(nCode);
    std::string label = LoadResString(IDS_REASON);
    if (message.empty() || reason.empty() || label.empty()) return message;
    return message + "\n" + fileName + "\n\n" + label + reason;
}
