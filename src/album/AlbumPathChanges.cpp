#include "album/AlbumPathChanges.h"

#include "album/AlbumFile.h"
#include "album/CAlbum.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/Trace.h"
#include "framework/UserPrompt.h"
#include "storage/photo/QlnPhotoFile.h"

void GetPathChangePrefixes(const std::string& oldPath, const std::string& newPath, std::string& oldPrefix,
                           std::string& newPrefix) {
    size_t n = 0;
    while (n < oldPath.size() && n < newPath.size() &&
           oldPath[oldPath.size() - 1 - n] == newPath[newPath.size() - 1 - n])
        ++n;
    oldPrefix = oldPath.substr(0, oldPath.size() - n);
    newPrefix = newPath.substr(0, newPath.size() - n);
}

bool ApplyAlbumPathChanges(const std::vector<std::string>& oldPaths,
                           const std::vector<std::string>& newPaths) {
    GetUserPrompt().BeginWaitCursor();
    struct CEnd {
        ~CEnd() { GetUserPrompt().EndWaitCursor(); }
    } end;
    const size_t nPairs = std::min(oldPaths.size(), newPaths.size());
    for (size_t k = 0; k < nPairs; ++k) {
        const std::string& oldAlbum = oldPaths[k];
        const std::string& newAlbum = newPaths[k];
        std::string oldPrefix, newPrefix;
        GetPathChangePrefixes(oldAlbum, newAlbum, oldPrefix, newPrefix);
        CFile file;
        if (!file.Open(newAlbum, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary)) return false;
        try {
            CAlbum album;
            {
                CArchive ar(&file, CArchive::load);
                album.Load(ar);
            }
            file.Close();
            album.m_strFilePath = newAlbum;
            const uint16_t wScale = static_cast<uint16_t>(album.m_nScale);
            // Only paths that start with the old prefix are moved with it.
            for (auto& elem : album.m_elems) {
                std::string& path = elem->m_strPath;
                if (!CFile::Exists(path) && path.compare(0, oldPrefix.size(), oldPrefix) == 0)
                    path = newPrefix + path.substr(oldPrefix.size());
            }
            for (int i = 0; i < album.GetCount(); ++i) {
                const std::string path = album.GetPath(i);
                if (album.FindElem(path) != i) continue;
                try {
                    DeleteTag(path, QLNI_TAG_ALBUM_PATH, &wScale, oldAlbum.c_str());
                    if (SetTag(path, QLNI_TAG_ALBUM_PATH, true, &wScale, newAlbum.c_str()) <= 0)
                        AfxThrowFileException(CFileException::generic, -1, path);
                    QLNI_CommitFile(path, 1, 1);
                } catch (const CException&) {
                    ZTRACE("ApplyAlbumPathChanges(): %s skipped\n", path.c_str());
                }
            }
            WriteAlbumFileBeside(newAlbum, [&](CArchive& ar) { album.Store(ar); });
            QLNI_CloseFile();
        } catch (const CException&) {
            ZTRACE("ApplyAlbumPathChanges(): %s abandoned\n", newAlbum.c_str());
            try {
                QLNI_CloseFile();
            } catch (const CException&) {
            }
        }
    }
    return true;
}
