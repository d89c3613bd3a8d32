#include "imaging/CAppPalette.h"

#include "framework/CException.h"
#include "framework/DisplayCaps.h"
#include "imaging/FixedPalettes.h"

#include <algorithm>
#include <array>
#include <vector>

IMPLEMENT_DYNAMIC(CAppPalette, CPalette)

namespace {

bool SameColor(const PALETTEENTRY& e, const RGBQUAD& q) {
    return e.peRed == q.rgbRed && e.peGreen == q.rgbGreen && e.peBlue == q.rgbBlue;
}

// Colour to entry number, 311 buckets; a later insert of a colour replaces the earlier.
class CColorMap {
public:
    void Set(const PALETTEENTRY& e, uint16_t nValue, bool bOnlyExisting = false) {
        uint32_t key = Key(e);
        auto& bucket = m_buckets[key % 311];
        for (auto& kv : bucket)
            if (kv.first == key) {
                kv.second = nValue;
                return;
            }
        if (!bOnlyExisting) bucket.emplace_back(key, nValue);
    }
    template <class F> void ForEach(F f) const {
        for (const auto& bucket : m_buckets)
            for (const auto& kv : bucket) f(kv.second);
    }

private:
    static uint32_t Key(const PALETTEENTRY& e) { return (e.peRed << 16) | (e.peGreen << 8) | e.peBlue; }
    std::array<std::vector<std::pair<uint32_t, uint16_t>>, 311> m_buckets;
};

} // namespace

CAppPalette::CAppPalette(bool bCreate) : m_bCreate(bCreate) {
    if (!bCreate) return;
    if (!CreatePalette(std::vector<PALETTEENTRY>(256))) AfxThrowResourceException();
    SetDisplayColors();
}

int CAppPalette::SetColors(const RGBQUAD* pColorTable, int nCount) {
    nCount = std::clamp(nCount, 0, GetEntryCount());
    const CDisplayCaps& caps = GetDisplayCaps();
    int nHalf = caps.nReserved / 2;
    std::vector<PALETTEENTRY> entries(nCount);
    for (int i = 0; i < nCount; ++i) {
        entries[i] = PALETTEENTRY{pColorTable[i].rgbRed, pColorTable[i].rgbGreen, pColorTable[i].rgbBlue, 0};
        if (caps.bIdentityPalette && i >= nHalf && i < 256 - nHalf) entries[i].peFlags = PC_NOCOLLAPSE;
    }
    if (!std::equal(entries.begin(), entries.end(), m_entries.begin())) {
        if (static_cast<int>(SetPaletteEntries(0, nCount, entries.data())) < nCount)
            AfxThrowResourceException();
    }
    return nCount;
}

int CAppPalette::SetDisplayColors() {
    return SetColors(GetDisplayPalette(), 256);
}

bool CAppPalette::IsIdentity() const {
    const CDisplayCaps& caps = GetDisplayCaps();
    int nHalf = caps.nReserved / 2, nSize = caps.nSizePalette;
    if (nHalf > static_cast<int>(caps.firstStatic.size()) ||
        nHalf > static_cast<int>(caps.lastStatic.size()) || nSize > GetEntryCount())
        return false;
    for (int i = 0; i < nHalf; ++i) {
        if (!SameColor(m_entries[i], caps.firstStatic[i])) return false;
        if (!SameColor(m_entries[nSize - nHalf + i], caps.lastStatic[i])) return false;
    }
    return true;
}

bool CAppPalette::MakeIdentity() {
    PALETTEENTRY read[256];
    if (GetPaletteEntries(0, 256, read) < 256) return false;
    const CDisplayCaps& caps = GetDisplayCaps();
    int nHalf = std::min({caps.nReserved / 2, static_cast<int>(caps.firstStatic.size()),
                          static_cast<int>(caps.lastStatic.size()), 128});
    CColorMap map;
    for (int i = 0; i < 256; ++i) map.Set(read[i], static_cast<uint16_t>(i));
    for (int i = 0; i < nHalf; ++i) {
        for (const RGBQUAD* q : {&caps.firstStatic[i], &caps.lastStatic[i]})
            map.Set(PALETTEENTRY{q->rgbRed, q->rgbGreen, q->rgbBlue, 0}, 0xFFFF, true);
    }
    PALETTEENTRY out[256];
    for (int i = 0; i < 256; ++i) out[i] = PALETTEENTRY{};
    for (int i = 0; i + nHalf < 256; ++i) out[i + nHalf] = read[i];
    for (int i = 0; i < nHalf; ++i) {
        const RGBQUAD& f = caps.firstStatic[i];
        const RGBQUAD& l = caps.lastStatic[i];
        out[i] = PALETTEENTRY{f.rgbRed, f.rgbGreen, f.rgbBlue, 0};
        out[256 - nHalf + i] = PALETTEENTRY{l.rgbRed, l.rgbGreen, l.rgbBlue, 0};
    }
    bool bUsed[256] = {false};
    map.ForEach([&](uint16_t v) {
        if (v != 0xFFFF) bUsed[v] = true;
    });
    int nSlot = nHalf;
    for (int j = 0; j < 256 && nSlot < 256 - nHalf; ++j)
        if (bUsed[j]) out[nSlot++] = read[j];
    for (int i = 0; i < 256; ++i) out[i].peFlags = (i < nHalf || i >= 256 - nHalf) ? 0 : PC_NOCOLLAPSE;
    if (SetPaletteEntries(0, 256, out) < 256) AfxThrowResourceException();
    return true;
}
