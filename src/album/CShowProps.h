#pragma once
// Album-wide slide-show settings. Eight flags, held as 32-bit integers and
// stored as eight 16-bit words (16 bytes, no class tag).

#include "framework/CObject.h"

#include <cstdint>

class CArchive;

class CShowProps : public CObject {
    DECLARE_SERIAL(CShowProps)
public:
    CShowProps() = default;
    CShowProps(const CShowProps&) = default;
    CShowProps& operator=(const CShowProps&) = default;

    bool operator==(const CShowProps& o) const;
    bool operator!=(const CShowProps& o) const { return !(*this == o); }

    void Serialize(CArchive& ar) override;
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);

    static constexpr uint32_t kStoredSize = 16;

    int32_t m_bAutoAdvance = 1;
    int32_t m_bRepeat = 1;
    int32_t m_bRandomOrder = 0;
    int32_t m_bTitles = 1;
    int32_t m_bTitlesIndex = 1;
    int32_t m_bCursor = 1;
    int32_t m_bPanel = 1;
    int32_t m_bFullScreen = 1;
};
