#include "album/AlbumScales.h"

namespace {
constexpr CSize kSizes[kAlbumScaleCount] = {{64, 43}, {80, 53}, {102, 68}, {136, 91}};
}

CSize GetThumbnailSize(int nScale) {
    if (nScale < 0 || nScale >= kAlbumScaleCount) nScale = 1;
    return kSizes[nScale];
}

CSize GetThumbnailSize(int nScale, int nPictureWidth, int nPictureHeight) {
    CSize size = GetThumbnailSize(nScale);
    if (nPictureWidth < nPictureHeight) return CSize(size.cy, size.cx);
    return size;
}

CAlbumSettings& GetAlbumSettings() {
    static CAlbumSettings s_settings;
    return s_settings;
}
