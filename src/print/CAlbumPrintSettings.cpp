#include "print/CAlbumPrintSettings.h"

#include "framework/IProfileStore.h"

#include <algorithm>

CAlbumPrintSettings::CAlbumPrintSettings() {
    m_caption.m_nFormat = DT_CENTER;
}

void CAlbumPrintSettings::Load(IProfileStore& store) {
    CPrintSettings::Load(store);
    m_bAllThumbnails = store.GetProfileInt(kPrintSection, "Album Entire", 1);
    // A grid outside 1..12 cannot be entered; a hand-edited store is clamped.
    m_nColumns = std::clamp(store.GetProfileInt(kPrintSection, "Album Contact Cols", 1), 1, kMaxAlbumGrid);
    m_nRows = std::clamp(store.GetProfileInt(kPrintSection, "Album Contact Rows", 1), 1, kMaxAlbumGrid);
    m_bShowIndex = store.GetProfileInt(kPrintSection, "Album Show Index", 1);
    m_bShowTitle = store.GetProfileInt(kPrintSection, "Album Show Title", 1);
    m_bShowDescription = store.GetProfileInt(kPrintSection, "Album Textual Show Des", 1);
    m_bTextMode = store.GetProfileInt(kPrintSection, "Album Do Text", 0);
}

void CAlbumPrintSettings::Save(IProfileStore& store) const {
    CPrintSettings::Save(store);
    store.WriteProfileInt(kPrintSection, "Album Entire", m_bAllThumbnails);
    store.WriteProfileInt(kPrintSection, "Album Show Title", m_bShowTitle);
    store.WriteProfileInt(kPrintSection, "Album Show Index", m_bShowIndex);
    store.WriteProfileInt(kPrintSection, "Album Do Text", m_bTextMode);
    store.WriteProfileInt(kPrintSection, "Album Contact Cols", m_nColumns);
    store.WriteProfileInt(kPrintSection, "Album Contact Rows", m_nRows);
    store.WriteProfileInt(kPrintSection, "Album Textual Show Des", m_bShowDescription);
}

int CAlbumPrintSettings::ReadContactPreviewSource(IProfileStore& store) {
    return store.GetProfileInt(kPrintSection, "Album Contact Prev Src", 0);
}
