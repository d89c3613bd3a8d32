#pragma once
// One photo of an album: the path of its photo file (a companion photo file
// for a foreign picture) and its slide-show settings.

#include "album/CShowElemProps.h"
#include "framework/CObject.h"

#include <string>

class CAlbumElem : public CObject {
    DECLARE_SERIAL(CAlbumElem)
public:
    CAlbumElem() = default;
    explicit CAlbumElem(std::string path, const CShowElemProps& props = {})
        : m_strPath(std::move(path)), m_showElemProps(props) {}
    CAlbumElem(const CAlbumElem& o) : CObject(), m_strPath(o.m_strPath), m_showElemProps(o.m_showElemProps) {}

    // Path (archive string), then the 10-byte show record.
    void Serialize(CArchive& ar) override;

    std::string m_strPath;
    CShowElemProps m_showElemProps;
};
