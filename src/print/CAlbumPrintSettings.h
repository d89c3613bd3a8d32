#pragma once
// Print settings of an album: which photos, the sheet's grid, the captions and
// whether the album prints as thumbnails or as a text listing.

#include "print/CPrintSettings.h"

constexpr int kMaxAlbumGrid = 12; // rows and columns of a sheet

class CAlbumPrintSettings : public CPrintSettings {
public:
    CAlbumPrintSettings();

    void Load(IProfileStore& store) override;
    void Save(IProfileStore& store) const override;
    // "Album Contact Prev Src": non-zero previews sheets from the full pictures.
    static int ReadContactPreviewSource(IProfileStore& store);

    int m_bAllThumbnails = 1;
    int m_nColumns = 1;
    int m_nRows = 1;
    int m_bShowIndex = 1;
    int m_bShowTitle = 1;
    int m_bShowDescription = 1;
    CPrintTextStyle m_caption; // its alignment defaults to DT_CENTER
    int m_bTextMode = 0;
};
