#pragma once
// Thumbnail scales of albums (0 tiny ... 3 large) and the settings the album
// layer reads: the default scale of new albums and the thumbnail stretch method.

#include "framework/CRect.h"

#include <string>

inline constexpr int kAlbumScaleCount = 4;

// The scale's landscape size; scales outside 0 ... 3 give the small size.
CSize GetThumbnailSize(int nScale);
// The size for a picture of that shape: swapped for portrait pictures (width < height).
CSize GetThumbnailSize(int nScale, int nPictureWidth, int nPictureHeight);

struct CAlbumSettings {
    int m_nThumbnailSize = 1;   // "Thumbnails"/"Size"
    int m_nTnStretchMethod = 0; // "Paint Option"/"Tn Stretch Method": 0 nearest, 1 bilinear
    std::string m_strImagesDir; // "Directories"/"Images": where pictures from removable drives go
};
// The application fills these from its preferences at start.
CAlbumSettings& GetAlbumSettings();
