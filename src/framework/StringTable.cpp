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
    {1029, "Can not complete the operation since there is not enough memory.  Please quit one or more "
           "applications or increase virtual memory settings so there are 7.5 megabytes of virtual memory "
           "available when you start Pictavo."},
    {1030, "Request for an unsupported operation"},
    {1031, "Archive-specific exceptions"},
    {1032, "File-specific exceptions"},
    {1033, "Windows resource not found or not creatable"},
    {1034, "User did something bad."},
    {1036, "Please report to QLN the occurance of printing error #123."},
    {1042, "Reading file %d out of %d : %s"},
    {1043, "Reading file %d out of %d : %s"},
    {1044, " %d colors are used in the image "},
    {1045, " %s - Slide Show "},
    {1052, "Photo Show Help"},
    {1071, "An error was encountered while saving the file:"},
    {1072, "Error creating directory %1. Aborting..."},
    {1077, "An error was encountered while reading the file:"},
    {1078, "All Files (*.*)"},
    {1079, "All windows should be closed and reopened for system to work properly"},
    {1080, "Invalid command line.\n\n<%1>"},
    {1081, "The album specified in the command line was not found.\n\n<%1>"},
    {1086, "Not enought storage available on %1 to create images... Aborting"},
    {1197, "%1 \nCannot find this file.\n\nThumbnail will be removed from the album."},
    {1198, "%1 \nPossible corrupted file or there is not enough memory to load the thumbnail from the disk.  "
           "Thumbnail will be removed from the album."},
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
    {1237, "Modifying Album Paths..."},
    {1240, "Failed to save album\n%1"},
    {1241, "Unitialized show or empty album"},
    {1265, "Close"},
    {1317, "Please enter a number between %1 and %2."},
    {1319, "In."},
    {1320, "Cm."},
    {1326, "You must select an album in order to add images to it"},
    {1337, "Header"},
    {1338, "Footer"},
    {1339, "Warning: This computer does not contain math co-processor.  Selecting this option is not "
           "advised.\nAre You Sure?"},
    {1346, "Quillon"},
    {1362, "Switching directory failed."},
    {1363, "Setting directory failed."},
    {1376, "Color Contour - Tonal Adjustment"},
    {1377, "Unable to read/write, it is opened by someone else."},
    {1378, "An unexpected error occurred while reading/writing."},
    {1379, "Cannot find the file.\" Please verify that the correct file name is given."},
    {1380, "Tonal Adj Curve(*.tac)|*.tac|"},
    {1385, "Pictavo Zozi Printer Margins Tester\n\n"},
    {1388, "Warping"},
    {1389, "Internal Error: CatmullRom()=> Output x-coordinate is out of range of input."},
    {1391, "Warp Mesh (*.wms)|*.wms|"},
    {1392, "No"},
    {1393, "Yes"},
    {1394, "%1 printing is currently disabled.  Would you like to return to the dialog and enable it?"},
    {57344, "Pictavo Zozi"},
    {59137, "CAP"},
    {59138, "NUM"},
    {59139, "SCRL"},
    {61443, "Untitled"},
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
