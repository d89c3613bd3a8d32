#pragma once
// An album model as a print source: titles and descriptions from the photo
// files, thumbnails of the album's scale as stored, full pictures loaded.

#include "print/IAlbumPrintSource.h"

class CAlbum;

class CAlbumModelPrintSource : public IAlbumPrintSource {
public:
    // The album is not owned and must outlive the source.
    explicit CAlbumModelPrintSource(const CAlbum& album) : m_album(album) {}

    int GetCount() const override;
    std::string GetTitle(int i) const override;
    std::string GetDescription(int i) const override;
    std::unique_ptr<CDib> LoadThumbnail(int i) override;
    std::unique_ptr<CDib> LoadImage(int i) override;

private:
    const CAlbum& m_album;
};
