#pragma once
// What the album wizard needs from the application: the open albums, making
// and opening album documents, and the settings it reads or stores.

#include <functional>
#include <string>
#include <vector>

class CAlbumDoc;

struct CAlbumWizardHost {
    // The album documents open now, in window order.
    std::function<std::vector<CAlbumDoc*>()> openAlbums;
    // A new album document in a thumbnail view whose album takes the scale;
    // the thumbnail-size setting is the same afterwards. Null on failure.
    std::function<CAlbumDoc*(int nScale)> newAlbum;
    // The open dialog limited to albums; the opened album or null.
    std::function<CAlbumDoc*()> openAlbum;
    // The "Show Alb Wizard" setting.
    std::function<bool()> getShowWizard;
    std::function<void(bool)> setShowWizard;

    int m_nThumbnailSize = 1;          // "Thumbnails"/"Size"
    std::string m_strImagesDir;        // "Directory"/"Images"
    std::string m_strProgramDir;       // the program's own directory
    std::string m_strDownloadDir;      // "Parcelgram"/"Download Directory"
    bool m_bDeleteWhenThrough = false; // "Parcelgram"/"Delete When Through"
};
