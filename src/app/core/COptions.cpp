#include "app/core/COptions.h"

COptions COptions::FromSettings(const CZelSettings& s) {
    COptions o;
    o.m_nUndoBuffer = s.m_nUndoBuffer;
    o.m_nThumbnailSize = s.m_nThumbnailSize;
    o.m_nTnStretchMethod = s.m_nTnStretchMethod;
    o.m_bIdentityPalette = s.m_bIdentityPalette;
    o.m_strAlbumsDir = s.m_strAlbumsDir;
    o.m_strImagesDir = s.m_strImagesDir;
    o.m_strUtilitiesDir = s.m_strUtilitiesDir;
    o.m_strDownloadDir = s.m_strDownloadDir;
    return o;
}

COptionsEffects ApplyOptions(const COptions& chosen, CZelSettings& s, bool bDocumentsOpen) {
    COptionsEffects fx;
    s.m_strAlbumsDir = chosen.m_strAlbumsDir;
    s.m_strImagesDir = chosen.m_strImagesDir;
    s.m_strUtilitiesDir = chosen.m_strUtilitiesDir;
    s.m_strDownloadDir = chosen.m_strDownloadDir;
    if (chosen.m_nUndoBuffer != s.m_nUndoBuffer) {
        fx.bReleaseUndo = s.m_nUndoBuffer != 0;
        fx.bInitUndo = true;
        s.m_nUndoBuffer = chosen.m_nUndoBuffer;
    }
    s.m_nThumbnailSize = chosen.m_nThumbnailSize;
    fx.bShowReopenMessage = bDocumentsOpen && chosen.m_bIdentityPalette != s.m_bIdentityPalette;
    s.m_bIdentityPalette = chosen.m_bIdentityPalette;
    s.m_nTnStretchMethod = chosen.m_nTnStretchMethod;
    return fx;
}
