#pragma once
// The logical palette a view owns for palette-based displays, with the
// identity arrangement that lets it be realised without remapping. On a
// true-colour display it is a plain table of 256 colours.

#include "framework/CPalette.h"

class CAppPalette : public CPalette {
    DECLARE_DYNAMIC(CAppPalette)
public:
    // With bCreate: 256 black entries, then the display palette.
    explicit CAppPalette(bool bCreate = true);

    // Sets the first nCount entries from the colour table when they differ
    // from the current ones; CResourceException when fewer are set.
    int SetColors(const RGBQUAD* pColorTable, int nCount);
    int SetDisplayColors();
    // True when the ends of the palette hold the display's static colours.
    bool IsIdentity() const;
    // Moves the palette between the static colours; false without 256 entries.
    bool MakeIdentity();

private:
    bool m_bCreate;
};
