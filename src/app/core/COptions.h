#pragma once
// The options sheet's values and the rules of its OK button.

#include "app/core/CZelSettings.h"

#include <functional>
#include <string>

struct COptions {
    // Page "General"
    int m_nUndoBuffer = 0;      // 0 none, 1 in memory
    int m_nThumbnailSize = 1;   // 0 tiny .. 3 large
    int m_nTnStretchMethod = 0; // 0 low, 1 medium
    int m_bIdentityPalette = 1;
    // Page "Directories"
    std::string m_strAlbumsDir;
    std::string m_strImagesDir;
    std::string m_strUtilitiesDir;
    std::string m_strDownloadDir;

    static COptions FromSettings(const CZelSettings& s);
    friend bool operator==(const COptions&, const COptions&) = default;
};

struct COptionsEffects {
    bool bReleaseUndo = false;       // the undo buffer was on and is released
    bool bInitUndo = false;          // initialised anew with the new value
    bool bShowReopenMessage = false; // message 1079
};

// Stores the sheet's values on OK and says what else must happen.
COptionsEffects ApplyOptions(const COptions& chosen, CZelSettings& s, bool bDocumentsOpen);
