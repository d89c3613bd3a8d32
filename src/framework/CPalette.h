#pragma once
// A logical palette: a table of entries with flags. On today's true-colour
// displays it is a plain table; a simulated palette display realises it.

#include "framework/CObject.h"
#include "framework/GdiTypes.h"

#include <vector>

class CPalette : public CObject {
    DECLARE_DYNAMIC(CPalette)
public:
    CPalette() = default;
    // Creates the palette with these entries (version 0x300); false when empty or above 256 entries.
    bool CreatePalette(const std::vector<PALETTEENTRY>& entries);
    bool IsCreated() const { return m_bCreated; }

    int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
    // Copies up to nCount entries from nStart; returns the number copied.
    unsigned GetPaletteEntries(unsigned nStart, unsigned nCount, PALETTEENTRY* pEntries) const;
    // Sets up to nCount entries from nStart; returns the number set.
    virtual unsigned SetPaletteEntries(unsigned nStart, unsigned nCount, const PALETTEENTRY* pEntries);
    // The entry nearest to the colour (squared distance, lowest index on ties).
    unsigned GetNearestPaletteIndex(COLORREF color) const;
    const std::vector<PALETTEENTRY>& Entries() const { return m_entries; }

protected:
    std::vector<PALETTEENTRY> m_entries;
    bool m_bCreated = false;
};
