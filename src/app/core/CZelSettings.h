#pragma once
// Every setting's current value, as the application object holds it.

#include "framework/CRect.h"

#include <string>
#include <vector>

// Show commands and flags of a window placement.
enum : unsigned { SW_SHOWNORMAL = 1, SW_SHOWMAXIMIZED = 3, WPF_RESTORETOMAXIMIZED = 0x0002 };

struct CWindowPlacement {
    unsigned showCmd = SW_SHOWNORMAL;
    unsigned flags = 0;
    CPoint ptMinPosition;
    CPoint ptMaxPosition;
    CRect rcNormalPosition;
    friend bool operator==(const CWindowPlacement&, const CWindowPlacement&) = default;
};

// The screen as the read step sees it.
struct CScreenMetrics {
    int cxScreen = 1024;
    int cyScreen = 768;
    int cxBorder = 1;
    int cyBorder = 1;
};

// What the write step needs to know of the main window at the end of a run.
struct CMainWindowState {
    bool bToolBarExists = true;
    bool bToolBarVisible = true;
    bool bStatusBarExists = true;
    bool bStatusBarVisible = true;
    enum Show { normal, minimized, maximized } nShow = normal;
    bool bRestoreToMaximized = false; // when minimised
    CRect rcNormal;
};

struct CZelSettings {
    // View
    int m_bShowToolBar = 1;
    int m_bShowStatusBar = 1;
    int m_bShowAlbWizard = 1;
    int m_nIcon = 0;
    int m_nMax = 0;
    CWindowPlacement m_placement;
    // Print
    CRect m_rcExtraMargins; // 1/300 inch
    std::string m_strFooter;
    std::string m_strHeader;
    int m_bShowHeader = 0;
    int m_bShowFooter = 0;
    CRect m_rcImageRect; // 1/300 inch
    int m_nImageLayout = 0;
    int m_bImageCenter = 1;
    int m_bAlbumEntire = 1;
    int m_bAlbumShowTitle = 1;
    int m_bAlbumShowIndex = 1;
    int m_bAlbumDoText = 0;
    int m_nAlbumContactPrevSrc = 0;
    int m_nAlbumContactCols = 1;
    int m_nAlbumContactRows = 1;
    int m_bAlbumTextualShowDes = 1;
    // Undo Redo, Paint Option
    int m_nUndoBuffer = 0;
    int m_bIdentityPalette = 1;
    int m_bUseWindowsStretch = 1;
    int m_nTnStretchMethod = 0;
    int m_nMaxMegapixels = 179; // "Paint Option"/"Max Megapixels": the largest picture read
    // Directory (each keeps its trailing separator)
    std::string m_strUtilitiesDir;
    std::string m_strAlbumsDir;
    std::string m_strImagesDir;
    // Parcelgram
    std::string m_strDownloadDir;
    int m_bDeleteWhenThrough = 0;
    // Slide Show Panel
    int m_nPanelLeft = 0;
    int m_nPanelTop = 0;
    // Modify Album Path: pending album moves, old and new paths in step
    int m_nModifyAlbumCount = 0;
    std::vector<std::string> m_oldAlbumPaths;
    std::vector<std::string> m_newAlbumPaths;
    // Thumbnails
    int m_nThumbnailSize = 1;
};
