// The import/export tables: spot checks against the documented values.

#include "storage/formats/ImpExpTables.h"
#include "framework/StringTable.h"
#include "storage/formats/CImageCodecs.h"

#include <algorithm>

#include <gtest/gtest.h>

namespace {

TEST(ImpExpTables, SaveTypesDescribeTheirWrite) {
    for (int t = 1; t <= 56; ++t) EXPECT_TRUE(IsValidSaveType(t)) << t;
    EXPECT_TRUE(IsValidSaveType(666));
    EXPECT_TRUE(IsValidSaveType(kSaveTypePng));
    EXPECT_FALSE(IsValidSaveType(0));
    EXPECT_FALSE(IsValidSaveType(58));
    EXPECT_FALSE(IsValidSaveType(-1));
    EXPECT_EQ(FindSaveType(2)->family, SaveFamily::Targa);
    EXPECT_EQ(FindSaveType(2)->nBits, 16);
    EXPECT_EQ(FindSaveType(6)->nOption, 1);
    EXPECT_EQ(FindSaveType(10)->nOption, 11);
    EXPECT_EQ(FindSaveType(17)->nOption, 2);
    EXPECT_EQ(FindSaveType(29)->nBits, 32);
    EXPECT_EQ(FindSaveType(40)->family, SaveFamily::BmpOs2);
    EXPECT_EQ(FindSaveType(47)->nQuality, -4);
    EXPECT_EQ(FindSaveType(51)->nOption, 6);
    EXPECT_EQ(FindSaveType(51)->nQuality, 50);
    EXPECT_EQ(FindSaveType(56)->family, SaveFamily::Eps);
}

TEST(ImpExpTables, SaveDialogIndicesAndSaveTypes) {
    EXPECT_EQ(GetSaveDialogCount(), 53); // the 52 of the program, then PNG
    EXPECT_EQ(GetSaveDialogEntry(0).name, "QLN Photo (*.QLN)");
    EXPECT_EQ(GetSaveDialogEntry(13).name, "LEAD JFIF 4:2:2 (*.JFF)");
    EXPECT_EQ(GetSaveDialogEntry(51).name, "WMF 24 (*.WMF)");
    EXPECT_EQ(GetSaveDialogEntry(52).name, "PNG (*.PNG)");
    EXPECT_EQ(SaveTypeFromIndex(-1), 666);
    EXPECT_EQ(SaveTypeFromIndex(0), 666);
    EXPECT_EQ(SaveTypeFromIndex(9), 53);
    EXPECT_EQ(SaveTypeFromIndex(26), 42);
    EXPECT_EQ(SaveTypeFromIndex(41), 13);
    EXPECT_EQ(SaveTypeFromIndex(51), 55);
    EXPECT_EQ(SaveTypeFromIndex(52), kSaveTypePng);
    EXPECT_EQ(IndexFromSaveType(666), 1);
    EXPECT_EQ(IndexFromSaveType(18), 2);
    EXPECT_EQ(IndexFromSaveType(55), 52);
    // Save types only reachable through the file's own format: 2.
    for (int t : {6, 15, 16, 17, 20}) EXPECT_EQ(IndexFromSaveType(t), 2) << t;
    EXPECT_EQ(IndexFromSaveType(999), 2);
    // Every save type of the dialog is found at its own index.
    for (int i = 0; i < GetSaveDialogCount(); ++i)
        EXPECT_EQ(SaveTypeFromIndex(IndexFromSaveType(SaveTypeFromIndex(i)) - 1), SaveTypeFromIndex(i));
}

TEST(ImpExpTables, FilterTextsListTheDialogEntriesInOrder) {
    std::string filter = SaveDialogFilter();
    size_t at = 0;
    for (int i = 0; i < GetSaveDialogCount(); ++i) {
        size_t found = filter.find(std::string(GetSaveDialogEntry(i).name) + "|", at);
        ASSERT_NE(found, std::string::npos) << GetSaveDialogEntry(i).name;
        at = found + 1;
    }
    EXPECT_EQ(filter.substr(filter.size() - 2), "||");
    std::string foreign = ForeignFormatsFilter();
    EXPECT_NE(foreign.find("JPEG (*.JPG;*.JFF;*.JTF)|*.JPG;*.JFF;*.JTF|"), std::string::npos);
    EXPECT_NE(foreign.find("Windows & OS/2 (*.BMP)|*.BMP|"), std::string::npos);
    EXPECT_NE(AllFormatsFilter(true, true).find("*.ALB;*.QLN;*.#??;"), std::string::npos);
    EXPECT_NE(AllFormatsFilter(false, true).find("*.PNG"), std::string::npos);
    EXPECT_EQ(AllFormatsFilter(false, false).find("*.ALB"), std::string::npos);
    EXPECT_EQ(AllFormatsFilter(true, false).find("*.BMP"), std::string::npos);
    EXPECT_EQ(LoadResString(1078), "All Files (*.*)");
}

TEST(ImpExpTables, OpenDialogFiltersCoverEveryReadableFormat) {
    std::vector<OpenDialogFilter> filters = OpenDialogFilters();
    ASSERT_GE(filters.size(), 17u);
    const OpenDialogFilter& all = filters.front();
    EXPECT_EQ(all.name, "All Formats");
    // The string table's patterns first, in their order.
    ASSERT_GE(all.patterns.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(all.patterns.begin(), all.patterns.begin() + 3),
              (std::vector<std::string>{"*.ALB", "*.QLN", "*.#??"}));
    EXPECT_EQ(filters[1], (OpenDialogFilter{"QLN Album (*.ALB)", {"*.ALB"}}));
    EXPECT_EQ(filters[2], (OpenDialogFilter{"QLN Photo (*.QLN)", {"*.QLN", "*.#??"}}));
    EXPECT_EQ(filters[3], (OpenDialogFilter{"GIF (*.GIF)", {"*.GIF"}}));
    EXPECT_EQ(filters.back(), (OpenDialogFilter{"All Files (*.*)", {"*"}}));

    // Every extension of every format the codec layer reads is in "All Formats"
    // and in exactly one family.
    for (int i = 0; i < GetImportExtensionCount(); ++i) {
        const ImportExtensionEntry& e = GetImportExtensionEntry(i);
        EXPECT_TRUE(CImageCodecs::CanRead(e.nFormat)) << e.nFormat;
        std::string exts(e.extensions);
        for (size_t pos = 0; pos < exts.size();) {
            size_t end = std::min(exts.find(';', pos), exts.size());
            std::string pattern = "*." + exts.substr(pos, end - pos);
            pos = end + 1;
            EXPECT_EQ(std::count(all.patterns.begin(), all.patterns.end(), pattern), 1) << pattern;
            int nFamilies = 0;
            for (size_t f = 3; f + 1 < filters.size(); ++f)
                nFamilies += static_cast<int>(
                    std::count(filters[f].patterns.begin(), filters[f].patterns.end(), pattern));
            EXPECT_EQ(nFamilies, 1) << pattern;
        }
    }
    for (int nFormat = 1; nFormat <= 70; ++nFormat) {
        if (!CImageCodecs::CanRead(nFormat)) continue;
        bool bListed = false;
        for (int i = 0; i < GetImportExtensionCount(); ++i)
            bListed |= GetImportExtensionEntry(i).nFormat == nFormat;
        EXPECT_TRUE(bListed) << "readable format " << nFormat << " has no extension in the open dialog";
    }
    // Later additions: PNG has a family of its own; JPEG files named .jpeg
    // join the string table's JPEG family, whose name stays as it is.
    bool bPng = false;
    for (const auto& f : filters) {
        if (f.name == "PNG (*.PNG)") bPng = f.patterns == std::vector<std::string>{"*.PNG"};
        if (f.name == "JPEG (*.JPG;*.JFF;*.JTF)") {
            EXPECT_NE(std::find(f.patterns.begin(), f.patterns.end(), "*.JPEG"), f.patterns.end());
        }
    }
    EXPECT_TRUE(bPng);
    EXPECT_TRUE(SplitFilterText("").empty());
    EXPECT_EQ(SplitFilterText("A|*.A;;*.B||B|"), (std::vector<OpenDialogFilter>{{"A", {"*.A", "*.B"}}}));
}

TEST(ImpExpTables, FormatNames) {
    EXPECT_EQ(FormatName(1), "ZSoft PCX");
    EXPECT_EQ(FormatName(21), "LEAD Proprietary JPEG  4:1:1");
    EXPECT_EQ(FormatName(24), "LEAD Proprietary JPEG  4:2:2");
    EXPECT_EQ(FormatName(57), "Kodak Photo CD");
    EXPECT_EQ(FormatName(666), "Quillon Photo");
    EXPECT_EQ(FormatName(52), "GEM Image");
    for (int code : {0, 7, 17, 58, 62, 100, -3}) EXPECT_EQ(FindFormatName(code), -1) << code;
    EXPECT_GE(FindFormatName(64), 0);
}

TEST(ImpExpTables, SaveInOwnFormat) {
    EXPECT_EQ(SaveTypeForOwnFormat(1, 4), 43);
    EXPECT_EQ(SaveTypeForOwnFormat(1, 16), 46);
    EXPECT_EQ(SaveTypeForOwnFormat(3, 16), 13);
    EXPECT_EQ(SaveTypeForOwnFormat(3, 4), 18);
    EXPECT_EQ(SaveTypeForOwnFormat(4, 1), 5);
    EXPECT_EQ(SaveTypeForOwnFormat(4, 32), 4);
    EXPECT_EQ(SaveTypeForOwnFormat(20, 24), 47);
    EXPECT_EQ(SaveTypeForOwnFormat(23, 24), 50);
    EXPECT_EQ(SaveTypeForOwnFormat(26, 1), 8);
    EXPECT_EQ(SaveTypeForOwnFormat(15, 4), 52);
    EXPECT_EQ(SaveTypeForOwnFormat(64, 8), 56);
    EXPECT_EQ(SaveTypeForOwnFormat(17, 16), 16);
    EXPECT_EQ(SaveTypeForOwnFormat(52, 1), 20);
    EXPECT_EQ(SaveTypeForOwnFormat(54, 24), 28);
    EXPECT_EQ(SaveTypeForOwnFormat(55, 16), 46);
    EXPECT_EQ(SaveTypeForOwnFormat(56, 24), 33);
    for (int code : {0, 7, 57, 65 + 100, -1}) EXPECT_EQ(SaveTypeForOwnFormat(code, 8), 666) << code;
    EXPECT_EQ(SaveTypeForOwnFormat(kFormatPng, 8), kSaveTypePng);
}

TEST(ImpExpTables, ErrorCodesToTexts) {
    EXPECT_EQ(ErrorStringId(-1), 1121u);
    EXPECT_EQ(ErrorStringId(-2), 1029u);
    EXPECT_EQ(ErrorStringId(-3), 1123u);
    EXPECT_EQ(ErrorStringId(-19), 1139u);
    EXPECT_EQ(ErrorStringId(-20), 0u);
    EXPECT_EQ(ErrorStringId(-21), 1140u);
    EXPECT_EQ(ErrorStringId(-65), 1184u);
    EXPECT_EQ(ErrorStringId(-66), 0u);
    EXPECT_EQ(ErrorStringId(-70), 1185u);
    EXPECT_EQ(ErrorStringId(-76), 1191u);
    EXPECT_EQ(ErrorStringId(-77), 1347u);
    EXPECT_EQ(ErrorStringId(-90), 1360u);
    EXPECT_EQ(ErrorStringId(-91), 0u);
    EXPECT_EQ(ErrorText(-4), "Error writing file");
    EXPECT_EQ(ErrorText(-8), "Invalid file format");
    EXPECT_EQ(ErrorText(-11), "Image format recognized, but sub-type not supported");
    EXPECT_EQ(ErrorText(-26), "Invalid bits/pixel");
    EXPECT_EQ(ErrorText(-29), "Internal error");
    EXPECT_EQ(ErrorText(-61), "Internal error");
    // One text for every mapped code.
    for (int code = -1; code >= -90; --code)
        if (ErrorStringId(code)) {
            EXPECT_FALSE(ErrorText(code).empty()) << code;
        }
}

TEST(ImpExpTables, ErrorReportText) {
    EXPECT_EQ(FormatImpExpError(1077, "/x/a.pcx", -8),
              "An error was encountered while reading the file:\n/x/a.pcx\n\nReason: Invalid file format");
    // A code without a text: only the caller's message.
    EXPECT_EQ(FormatImpExpError(1071, "/x/a.pcx", -20), "An error was encountered while saving the file:");
}

TEST(ImpExpTables, ExtensionsFollowTheFileType) {
    EXPECT_EQ(ReplaceExtension("/a/b.c/photo.tif", 37), "/a/b.c/photo.BMP");
    EXPECT_EQ(ReplaceExtension("/a/b.c/photo", 48), "/a/b.c/photo.JFF");
    EXPECT_EQ(ReplaceExtension("photo.bmp", 666), "photo.QLN");
    EXPECT_EQ(ReplaceExtension("", 37), "");
    EXPECT_EQ(SaveTypeFromExtension("tif"), 7); // the first TIF entry of the dialog
    EXPECT_EQ(SaveTypeFromExtension(".jpg"), 52);
    EXPECT_EQ(SaveTypeFromExtension("BMP"), 38);
    EXPECT_EQ(SaveTypeFromExtension("png"), kSaveTypePng);
    EXPECT_EQ(SaveTypeFromExtension("xyz"), 0);
    EXPECT_EQ(SaveTypeExtension(15), "TIF");
    EXPECT_EQ(SaveTypeExtension(20), "IMG");
}

TEST(ImpExpTables, ExtensionAndDepthPickTheSaveType) {
    // The first of that depth in the dialog's order ...
    EXPECT_EQ(SaveTypeFromExtension("tif", 1), 7); // CCITT 1 comes before TIF 1
    EXPECT_EQ(SaveTypeFromExtension("tif", 8), 12);
    EXPECT_EQ(SaveTypeFromExtension("TIFF", 16), 13);
    EXPECT_EQ(SaveTypeFromExtension("tif", 24), 14);
    EXPECT_EQ(SaveTypeFromExtension("bmp", 24), 41); // OS/2 BMP comes first
    EXPECT_EQ(SaveTypeFromExtension("tga", 32), 4);
    // ... else the next greater depth ...
    EXPECT_EQ(SaveTypeFromExtension("tif", 4), 12);
    EXPECT_EQ(SaveTypeFromExtension("tga", 1), 1);
    EXPECT_EQ(SaveTypeFromExtension("ras", 16), 28);
    EXPECT_EQ(SaveTypeFromExtension("jpg", 8), 52);
    EXPECT_EQ(SaveTypeFromExtension("wpg", 4), 23);
    // ... else the deepest.
    EXPECT_EQ(SaveTypeFromExtension("tif", 32), 14);
    EXPECT_EQ(SaveTypeFromExtension("pcx", 32), 45);
    EXPECT_EQ(SaveTypeFromExtension("gif", 24), 46);
    EXPECT_EQ(SaveTypeFromExtension("cal", 24), 18);
    // Families of one entry and unknown extensions.
    EXPECT_EQ(SaveTypeFromExtension("qln", 24), kSaveTypePhoto);
    EXPECT_EQ(SaveTypeFromExtension("png", 1), kSaveTypePng);
    EXPECT_EQ(SaveTypeFromExtension("img", 24), 20);
    EXPECT_EQ(SaveTypeFromExtension("xyz", 8), 0);
}

} // namespace
