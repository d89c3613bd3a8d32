#include "print/CAlbumModelPrintSource.h"

#include "album/AlbumPhotos.h"
#include "album/CAlbum.h"
#include "framework/CException.h"
#include "framework/Trace.h"
#include "imaging/CDib.h"
#include "storage/photo/QlnPhotoFile.h"

#include <algorithm>
#include <cstring>

int CAlbumModelPrintSource::GetCount() const {
    return m_album.GetCount();
}

std::string CAlbumModelPrintSource::GetTitle(int i) const {
    return m_album.GetPhotoTitle(i);
}

std::string CAlbumModelPrintSource::GetDescription(int i) const {
    return m_album.GetPhotoDescription(i);
}

std::unique_ptr<CDib> CAlbumModelPrintSource::LoadThumbnail(int i) {
    TnImageRecType tn{};
    tn.Hdr.dwStructSize = kImageHdrSize;
    tn.wScale = static_cast<uint16_t>(m_album.m_nScale);
    std::unique_ptr<CDib> dib;
    try {
        if (GetTag(m_album.GetPath(i), QLNI_TAG_THUMBNAIL, &tn, nullptr) > 0 && tn.pPixels &&
            (tn.Hdr.BitsPerPixel == 8 || tn.Hdr.BitsPerPixel == 24)) {
            const bool bPalette = tn.Hdr.BitsPerPixel == 8;
            dib = std::make_unique<CDib>(static_cast<int>(tn.Hdr.BitsPerPixel),
                                         static_cast<int>(tn.Hdr.dwWidth), static_cast<int>(tn.Hdr.dwHeight),
                                         bPalette ? reinterpret_cast<const RGBQUAD*>(tn.Palette) : nullptr);
            const uint64_t n = std::min<uint64_t>(GetImageByteSize(tn.Hdr), dib->GetImageSize());
            std::memcpy(dib->GetBits(), tn.pPixels, static_cast<size_t>(n));
        }
    } catch (const CException&) {
        ZTRACE("LoadThumbnail(): no thumbnail of %s\n", m_album.GetPath(i).c_str());
        dib.reset();
    }
    QLNI_FreeTagData(tn.pPixels);
    return dib;
}

std::unique_ptr<CDib> CAlbumModelPrintSource::LoadImage(int i) {
    try {
        return LoadPhotoImage(m_album.GetPath(i));
    } catch (const CFileException&) {
        ZTRACE("LoadImage(): %s cannot be read\n", m_album.GetPath(i).c_str());
        return nullptr;
    }
}
