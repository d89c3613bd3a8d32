#pragma once
// Colour-depth conversion of a source image into a destination image that the
// caller has created with the target depth and palette. Rows are walked top
// to bottom; each source row is seen as 24-bit blue, green, red.

#include "framework/CObject.h"

#include <cstdint>
#include <vector>

class CDib;

class CDither : public CObject {
    DECLARE_DYNAMIC(CDither)
public:
    CDither(CDib* pSource, CDib* pDest) : m_pSource(pSource), m_pDest(pDest) {}

    // Converts all rows. CNotSupportedException for sources or destinations of
    // the wrong depth, before any pixel is written.
    virtual void Dither() = 0;
    // One row of blue-green-red input into a destination row (diffusion classes).
    virtual void DitherRow(const uint8_t* pSource, uint8_t* pDest);
    // One row from a first column, with its row number (ordered classes).
    virtual void DitherRow(const uint8_t* pSource, uint8_t* pDest, int nFirstColumn, int nRow);

protected:
    // Throws the not-supported exception unless both depths are accepted.
    void RequireDepths(bool bSourceOk, bool bDestOk) const;
    // Calls DitherRow for every row: the ordered form when bOrdered, else the
    // diffusion form.
    void RunRows(bool bOrdered);

    CDib* m_pSource;
    CDib* m_pDest;
    std::vector<uint8_t> m_rowBuffer; // source rows when the source is not 24-bit
};
