#include "framework/StringTable.h"

#include <algorithm>
#include <string_view>

namespace {

struct Entry {
    uint32_t nId;
    std::string_view text;
};

// Sorted by id.
constexpr Entry kStrings[] = {
    {1001, "(None)"},
    {1002, "(Random)"},
    {1003, "Puzzle"},
    {1004, "Crush Vertically"},
    {1005, "Crush Horizontally"},
    {1006, "Fade Palette"},
    {1007, "Spiral In"},
    {1008, "Wipe NW to SE"},
    {1019, "\nAlbum\nAlbum\nQLN Album Files (*.ALB)\n.alb\nAlbFileType\nQLN ALB File Type"},
    {1020, "\nImage\nImage\nQLN Files (*.QLN)\n.qln\nQLNFileType\nQLN Photo File Type"},
    {1021, "\nShow\nSlide Show\n\n\nAlbFileType\nQLN Album File Type"},
    {1022, "\nFull Screen\nFull Screen\n\n\nAlbFileType\nQLN Album File Type"},
    {1023, "Illegal Filename:\n\n%1"},
    {1024, "Saving undo buffer"},
    {1025, "Untitled"},
    {1029, "Can not complete the operation since there is not enough memory.  Please quit one or more "
           "applications or increase virtual memory settings so there are 7.5 megabytes of virtual memory "
           "available when you start Pictavo."},
    {1030, "Request for an unsupported operation"},
    {1031, "Archive-specific exceptions"},
    {1032, "File-specific exceptions"},
    {1033, "Windows resource not found or not creatable"},
    {1034, "User did something bad."},
    {1036, "Please report to QLN the occurance of printing error #123."},
    {1038, "No Description"},
    {1042, "Reading file %d out of %d : %s"},
    {1043, "Reading file %d out of %d : %s"},
    {1044, " %d colors are used in the image "},
    {1045, " %s - Slide Show "},
    {1049, "Browse for download directory"},
    {1052, "Photo Show Help"},
    {1063, "CALS 1 (*.CAL)|*.CAL|CCITT 1 (*.TIF)|*.TIF|CCITT G3 1D (*.TIF)|*.TIF|CCITT G3 2D "
           "(*.TIF)|*.TIF|CCITT G4 (*.TIF)|*.TIF|EPS (*.EPS)|*.EPS|GIF (*.GIF)|*.GIF|"},
    {1064, "JPEG (*.JPG)|*.JPG|JTIF (*.JPG)|*.JPG|LEAD (*.CMP)|*.CMP|LEAD 1 bit (*.CMP)|*.CMP|LEAD JFIF "
           "4:1:1 (*.JFF)|*.JFF|LEAD JFIF 4:2:2 (*.JFF)|*.JFF|LEAD JTIF 4:1:1 (*.JTF)|*.JTF|"},
    {1065, "LEAD JTIF 4:2:2 (*.JTF)|*.JTF|Mac Paint 1 (*.MAC)|*.MAC|Mac Picture 1 (*.PCT)|*.PCT|Mac Picture "
           "4 (*.PCT)|*.PCT|Mac Picture 8 (*.PCT)|*.PCT|Mac Picture 24 (*.PCT)|*.PCT|Microsoft Paint 1 "
           "(*.MSP)|*.MSP|"},
    {1066, "OS/2 BMP 1 (*.BMP)|*.BMP|OS/2 BMP 4 (*.BMP)|*.BMP|OS/2 BMP 8 (*.BMP)|*.BMP|OS/2 BMP 24 "
           "(*.BMP)|*.BMP|PCX 1 (*.PCX)|*.PCX|PCX 4 (*.PCX)|*.PCX|"},
    {1067, "PCX 8 (*.PCX)|*.PCX|PCX 24 (*.PCX)|*.PCX|Sun Raster 1 (*.RAS)|*.RAS|Sun Raster 4 "
           "(*.RAS)|*.RAS|Sun Raster 8 (*.RAS)|*.RAS|Sun Raster 24 (*.RAS)|*.RAS|"},
    {1068, "Sun Raster 32 (*.RAS)|*.RAS|TGA 8 (*.TGA)|*.TGA|TGA 16 (*.TGA)|*.TGA|TGA 24 (*.TGA)|*.TGA|TGA 32 "
           "(*.TGA)|*.TGA|TIF 1 (*.TIF)|*.TIF|"},
    {1069, "TIF 8 (*.TIF)|*.TIF|TIF 16 (*.TIF)|*.TIF|TIF 24 (*.TIF)|*.TIF|Windows BMP 1 "
           "(*.BMP)|*.BMP|Windows BMP 4 (*.BMP)|*.BMP|Windows BMP 8 (*.BMP)|*.BMP|"},
    {1070, "Windows BMP 24 (*.BMP)|*.BMP|WordPerfect 1 (*.WPG)|*.WPG|WordPerfect 4 (*.WPG)|*.WPG|WordPerfect "
           "8 (*.WPG)|*.WPG|WMF 8 (*.WMF)|*.WMF|WMF 24 (*.WMF)|*.WMF|"},
    {1071, "An error was encountered while saving the file:"},
    {1072, "Error creating directory %1. Aborting..."},
    {1074, "GIF (*.GIF)|*.GIF|JPEG (*.JPG;*.JFF;*.JTF)|*.JPG;*.JFF;*.JTF|LEAD (*.CMP)|*.CMP|Mac Paint "
           "(*.MAC)|*.MAC|Mac Picture (*.PCT)|*.PCT|"},
    {1075,
     "Microsoft Paint (*.MSP)|*.MSP|CALS (*.CAL)|*.CAL|PCX (*.PCX)|*.PCX|PostScript Raster (*.EPS)|*.EPS|"},
    {1076, "Sun Raster (*.RAS)|*.RAS|Targa (*.TGA)|*.TGA|TIF (*.TIF)|*.TIF|Windows & OS/2 (*.BMP)|*.BMP|"},
    {1077, "An error was encountered while reading the file:"},
    {1078, "All Files (*.*)"},
    {1079, "All windows should be closed and reopened for system to work properly"},
    {1080, "Invalid command line.\n\n<%1>"},
    {1081, "The album specified in the command line was not found.\n\n<%1>"},
    {1086, "Not enought storage available on %1 to create images... Aborting"},
    {1121, "Not enough memory available"},
    {1123, "Invalid bitmap handle"},
    {1124, "Error writing file"},
    {1125, "Error reading file"},
    {1126, "File not present"},
    {1127, "Invalid filename specified"},
    {1128, "Invalid file format"},
    {1129, "File not found"},
    {1130, "Invalid width/height"},
    {1131, "Image format recognized, but sub-type not supported"},
    {1132, "Invalid parameter passed"},
    {1133, "Unable to open file"},
    {1134, "Unknown compression format"},
    {1135, "Feature not supported"},
    {1136, "Error seeking to position"},
    {1137, "Image too large to load"},
    {1138, "File is damaged or incomplete"},
    {1139, "Not enough disk space to write the file"},
    {1140, "Invalid palette"},
    {1141, "Invalid quality factor"},
    {1142, "Invalid compression format"},
    {1143, "Invalid bitmap row"},
    {1144, "Invalid image size"},
    {1145, "Invalid bits/pixel"},
    {1146, "Invalid option"},
    {1147, "File is locked by another user"},
    {1148, "Internal error"},
    {1149, "Internal error"},
    {1150, "Internal error"},
    {1151, "Internal error"},
    {1152, "Internal error"},
    {1153, "Internal error"},
    {1154, "Internal error"},
    {1155, "Internal error"},
    {1156, "Internal error"},
    {1157, "Internal error"},
    {1158, "Internal error"},
    {1159, "Internal error"},
    {1160, "Internal error"},
    {1161, "Internal error"},
    {1162, "Internal error"},
    {1163, "Internal error"},
    {1164, "Internal error"},
    {1165, "Internal error"},
    {1166, "Internal error"},
    {1167, "Internal error"},
    {1168, "Internal error"},
    {1169, "Internal error"},
    {1170, "Internal error"},
    {1171, "Internal error"},
    {1172, "Internal error"},
    {1173, "Internal error"},
    {1174, "Internal error"},
    {1175, "Internal error"},
    {1176, "Internal error"},
    {1177, "Internal error"},
    {1178, "Internal error"},
    {1179, "Internal error"},
    {1180, "Internal error"},
    {1181, "Unable to create temporary file"},
    {1182, "Decompression aborted"},
    {1183, "Compression aborted"},
    {1184, "Invalid color resolution"},
    {1185, "Invalid page number"},
    {1186, "Page not found"},
    {1187, "Invalid resolution"},
    {1188, "Invalid orientation"},
    {1189, "PostScript interpreter not available"},
    {1190, "Invalid image data"},
    {1191, "Image has no pixels"},
    {1192, "QLN Album (*.ALB)|*.ALB|"},
    {1193, "QLN Photo (*.QLN)|*.QLN;*.#??|"},
    {1194, "PNG (*.PNG)|*.PNG||"},
    {1196, "Reason: "},
    {1197, "%1 \nCannot find this file.\n\nThumbnail will be removed from the album."},
    {1198, "%1 \nPossible corrupted file or there is not enough memory to load the thumbnail from the disk.  "
           "Thumbnail will be removed from the album."},
    {1199, "Add Images"},
    {1201, "All "
           "Formats|*.ALB;*.QLN;*.#??;*.BMP;*.CAL;*.CMP;*.EPS;*.GIF;*.JFF;*.JPG;*.JTF;*.MAC;*.MSP;*.PCT;*."
           "PCX;*.PNG;*.RAS;*.TGA;*.TIF|"},
    {1202, "All Formats|*.ALB;*.QLN;*.#??|"},
    {1204, "%1 not a valid Parcelgram file."},
    {1213, "There is not enough virtual memory to fully run Pictavo. "},
    {1214, "Please quit one or more applications or increase virtual memory settings in the Control Panel's"},
    {1215,
     "386 Enhanced section. Pictavo requires 7.5 megabytes of virtual memory to be fully functional.\n"},
    {1217, "%1 \nPossible corrupted file, or unsupported file format, or there is not enough memory to load "
           "the image from the disk."},
    {1218, "Not enough memory to complete the operation. Close one or more applications or change your "
           "virtual memory setting to increase the amount of memory available for Pictavo."},
    {1220, "An error occured while creating the thumbnail."},
    {1224, "\nIf necessary, disable TSRs (e.g. screen saver) or unused drivers to increase conventional "
           "memory."},
    {1229, "All "
           "Formats|*.QLN;*.#??;*.BMP;*.CAL;*.CMP;*.EPS;*.GIF;*.JFF;*.JPG;*.JTF;*.MAC;*.MSP;*.PCT;*.PCX;*."
           "PNG;*.RAS;*.TGA;*.TIF|"},
    {1230, "All Formats|*.QLN;*.#??|"},
    {1237, "Modifying Album Paths..."},
    {1240, "Failed to save album\n%1"},
    {1241, "Unitialized show or empty album"},
    {1242, "Do you really want to exit the application?"},
    {1252, "An album keeps a list of your photos together with their thumbnails, titles and descriptions, so "
           "that you can look through them, arrange them, show them as a slide show and print them. The "
           "photos themselves stay in their own files."},
    {1253, "An album is like the photo album on your shelf. "},
    {1265, "Close"},
    {1266, "Helps you make a new album from picture files on your hard disk."},
    {1267, "Helps you make a new album using all of the photos on a Diskfolio floppy disk."},
    {1268, "Helps you make a new album with no photos in it yet. You can add photos later."},
    {1269, "Helps you add picture files to an album that is already open."},
    {1270, "Opens an album you made before."},
    {1272, "This wizard makes a new album from a Parcelgram package you received over the internet."},
    {1285, "What's an album"},
    {1290, "This wizard makes a new album from the photos on a Diskfolio floppy disk."},
    {1291, "It copies the photos from the disk to your hard disk and puts them into the new album."},
    {1292, "Press Next to go on, or Cancel to leave the wizard."},
    {1293, "The wizard now has everything it needs to make your album."},
    {1294, "Press Finish to make the album and show its thumbnails."},
    {1295, "Remember to save the new album with Save on the File menu."},
    {1296, "This wizard makes a new album from picture files on your hard disk."},
    {1297, "You give the album a title and a description, choose the size of its thumbnails and then pick "
           "the pictures."},
    {1298, "Press Next to go on, or Cancel to leave the wizard."},
    {1299, "This wizard adds picture files to an album that is open."},
    {1300, "You choose the album and then the pictures to add to it."},
    {1301, "Press Next to go on, or Cancel to leave the wizard."},
    {1302, "The wizard now has everything it needs to add your pictures."},
    {1303, "Press Finish to add the pictures to the album."},
    {1304, "Remember to save the album with Save on the File menu."},
    {1305, "Album Wizard - Step 1 of 5"},
    {1306, "Album Wizard - Step 2 of 5"},
    {1307, "Album Wizard - Step 3 of 5"},
    {1308, "Album Wizard - Step 4 of 5"},
    {1309, "Album Wizard - Step 5 of 5"},
    {1310, "Album Wizard - Step 1 of 4"},
    {1311, "Album Wizard - Step 2 of 4"},
    {1312, "Album Wizard - Step 3 of 4"},
    {1313, "Album Wizard - Step 4 of 4"},
    {1317, "Please enter a number between %1 and %2."},
    {1319, "In."},
    {1320, "Cm."},
    {1321, "It unpacks the photos of the package into a directory on your hard disk and puts them into the "
           "new album."},
    {1326, "You must select an album in order to add images to it"},
    {1327, "This wizard makes a new album with no photos in it."},
    {1328, "You give the album a title and a description and choose the size of its thumbnails."},
    {1329, "Press Next to go on, or Cancel to leave the wizard."},
    {1330, "The wizard now has everything it needs to make your empty album."},
    {1331, "Press Finish to make the album. Add photos to it with Add Images on the Album menu."},
    {1332, "Remember to save the new album with Save on the File menu."},
    {1335,
     "Press Add to choose the pictures for the new album; Remove takes the selected ones off the list."},
    {1336,
     "Press Add to choose the pictures to add to the album; Remove takes the selected ones off the list."},
    {1337, "Header"},
    {1338, "Footer"},
    {1339, "Warning: This computer does not contain math co-processor.  Selecting this option is not "
           "advised.\nAre You Sure?"},
    {1346, "Quillon"},
    {1347, "Invalid tag"},
    {1348, "Tag not found"},
    {1349, "Invalid color space"},
    {1350, "Color space not supported"},
    {1351, "Invalid file header"},
    {1352, "Invalid JPEG marker"},
    {1353, "Invalid Huffman table"},
    {1354, "Invalid quantization table"},
    {1355, "Unexpected end of compressed data"},
    {1356, "Invalid run length"},
    {1357, "Invalid LZW code"},
    {1358, "Invalid photometric interpretation"},
    {1359, "Invalid strip or tile layout"},
    {1360, "Operation cancelled"},
    {1362, "Switching directory failed."},
    {1363, "Setting directory failed."},
    {1376, "Color Contour - Tonal Adjustment"},
    {1377, "Unable to read/write, it is opened by someone else."},
    {1378, "An unexpected error occurred while reading/writing."},
    {1379, "Cannot find the file.\" Please verify that the correct file name is given."},
    {1380, "Tonal Adj Curve(*.tac)|*.tac|"},
    {1385, "Pictavo Zozi Printer Margins Tester\n\n"},
    {1386, "A rectangle reflecting the current printer margins is drawn on this page.  If any of the "
           "rectangle edges "
           "are not visible, "},
    {1387, "increase the value in the edit controls corresponding to those edges in the Print Extra Margins "
           "dialog, "
           "then try again."},
    {1388, "Warping"},
    {1389, "Internal Error: CatmullRom()=> Output x-coordinate is out of range of input."},
    {1391, "Warp Mesh (*.wms)|*.wms|"},
    {1392, "No"},
    {1393, "Yes"},
    {1394, "%1 printing is currently disabled.  Would you like to return to the dialog and enable it?"},
    {1395, "The picture is %1 pixels, more than the %2 pixels allowed"},
    {1396,
     "There is image data on the clipboard.  Would you like to make this information available to the other "
     "applications?"},
    {1536, "Helps you make a new album using all of the photos from a Parcelgram package."},
    {2198, "Page Range: %d - %d"},
    {2199, "Margins: L=%s, T=%s, R=%s, B=%s"},
    {2200, "Header: %1; Footer: %2"},
    {57344, "Pictavo Zozi"},
    {59137, "CAP"},
    {59138, "NUM"},
    {59139, "SCRL"},
    {61443, "Untitled"},
    {61697, "%1\nFailed to open document."},
    {61699, "Save changes to %1?"},
    {61700, "Failed to create empty document."},
    {61704, "Internal application error."},
    {61728, "Unexpected file format."},
    {61730, "Destination disk drive is full."},
};

constexpr bool IsSorted() {
    for (size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].nId >= kStrings[i].nId) return false;
    return true;
}
static_assert(IsSorted(), "the string table must be sorted by id, without duplicates");

const Entry* Find(uint32_t nId) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), nId,
                               [](const Entry& e, uint32_t id) { return e.nId < id; });
    return it != std::end(kStrings) && it->nId == nId ? it : nullptr;
}

} // namespace

std::string LoadResString(uint32_t nId) {
    const Entry* e = Find(nId);
    return e ? std::string(e->text) : std::string();
}

bool HasResString(uint32_t nId) {
    return Find(nId) != nullptr;
}

std::string FormatMessageText(const std::string& text, const std::string& arg1, const std::string& arg2) {
    // One pass, so an argument that itself holds "%2" is not replaced again.
    std::string out;
    out.reserve(text.size() + arg1.size() + arg2.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            out += text[i + 1] == '1' ? arg1 : arg2;
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string FormatResString1(uint32_t nId, const std::string& arg1) {
    return FormatMessageText(LoadResString(nId), arg1);
}

std::string FormatResString2(uint32_t nId, const std::string& arg1, const std::string& arg2) {
    return FormatMessageText(LoadResString(nId), arg1, arg2);
}
