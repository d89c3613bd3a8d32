#pragma once
// The names of the settings and the transfers between the settings store and
// the application's values: reading at start, writing at the end of a run,
// reading pending album moves, and importing the legacy ZELK.INI.

#include "app/core/CZelSettings.h"
#include "framework/CIniProfileStore.h"

#include <array>
#include <string>
#include <vector>

class CPrefObject {
public:
    // Indexes of the 46 names, in their order.
    enum Name {
        View,
        Tool,
        Status,
        ShowAlbWizard,
        Rect,
        Icon,
        Max,
        Print,
        ExtraMargins,
        Footer,
        Header,
        ShowHeader,
        ShowFooter,
        ImageRect,
        ImageLayout,
        ImageCenter,
        AlbumEntire,
        AlbumShowTitle,
        AlbumShowIndex,
        AlbumDoText,
        AlbumContactPrevSrc,
        AlbumContactCols,
        AlbumContactRows,
        AlbumTextualShowDes,
        UndoRedo,
        Buffer,
        PaintOption,
        IdentityPalette,
        UseWindowsStretch,
        TnStretchMethod,
        Directory,
        Utilities,
        Albums,
        Images,
        SlideShowPanel,
        Left,
        Top,
        ModifyAlbumPath,
        Count,
        Thumbnails,
        Size,
        ZELK,
        Version,
        Parcelgram,
        DownloadDirectory,
        DeleteWhenThrough,
        NameCount
    };
    static constexpr const char* kRecentFileSection = "Recent File List";
    // Our own key in "Paint Option": the pixel limit of the readers, in millions.
    static constexpr const char* kMaxMegapixelsKey = "Max Megapixels";
    static constexpr int kMaxAlbumPathEntry = 780;
    static constexpr int kPanelWidth = 356;
    static constexpr int kPanelHeight = 40;

    CPrefObject();
    const std::string& operator[](Name n) const { return m_names[n]; }

    // Reads every setting in the order of the start-up read step.
    void ReadPreferences(IProfileStore& store, CZelSettings& s, const CScreenMetrics& screen) const;
    // Reads the pending album-path changes, then empties their section.
    void ReadModifyAlbumPaths(IProfileStore& store, CZelSettings& s) const;
    // Writes the settings at the end of a run (callers skip it in screen-saver mode).
    void WritePreferences(IProfileStore& store, const CZelSettings& s, const CMainWindowState& wnd) const;
    // Imports the legacy file when its version is newer; returns whether it did.
    bool ImportLegacySettings(CIniProfileStore& legacy, IProfileStore& store) const;

    // One "Section/Key=value" line per setting in the order of the key table,
    // as the read step left the values; then the pending album moves.
    std::vector<std::string> ListSettings(const CZelSettings& s, IProfileStore& store) const;

    // The texts of the rectangles: "%04d %04d %04d %04d" (coordinates clamped
    // into -999..9999 so each stays in its field) and "%07d %07d %07d %07d".
    static std::string FormatWindowRect(const CRect& rc);
    static std::string FormatPrintRect(const CRect& rc);
    // Four integers at the given character positions, read as atoi reads them.
    static CRect ParseRect(const std::string& text, int nStep);

private:
    std::array<std::string, NameCount> m_names;
};
