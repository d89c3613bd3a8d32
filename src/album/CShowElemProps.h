#pragma once
// One photo's slide-show settings: transition (string id of its name), delay
// in milliseconds and a reserved word. Stored as 10 bytes, no class tag.

#include "framework/CObject.h"

#include <cstdint>

class CArchive;

class CShowElemProps : public CObject {
    DECLARE_SERIAL(CShowElemProps)
public:
    CShowElemProps() = default;
    CShowElemProps(const CShowElemProps&) = default;
    CShowElemProps& operator=(const CShowElemProps&) = default;

    bool operator==(const CShowElemProps& o) const {
        return m_nEffect == o.m_nEffect && m_dwDelay == o.m_dwDelay && m_dwReserved == o.m_dwReserved;
    }
    bool operator!=(const CShowElemProps& o) const { return !(*this == o); }

    void Serialize(CArchive& ar) override;
    void Store(CArchive& ar) const;
    void Load(CArchive& ar);

    static constexpr uint32_t kStoredSize = 10;
    static constexpr uint16_t kRandomEffect = 1002; // "(Random)"

    uint16_t m_nEffect = kRandomEffect;
    uint32_t m_dwDelay = 1000;
    uint32_t m_dwReserved = 0;
};
