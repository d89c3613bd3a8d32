#pragma once
// Per-pixel operations on 24-bit images: Image1 (and Image2 for operations
// between two images) into a target of the same size, which may be Image1
// itself for the single-image operations.

#include "framework/CObject.h"

#include <cstdint>

class CDib;

class CTArithmatic : public CObject {
    DECLARE_DYNAMIC(CTArithmatic)
public:
    // Checks the images and parameters, then computes every row.
    // CNotSupportedException for a target (or source) that is not 24-bit, for
    // images of different sizes or parameters out of range; nothing changes then.
    virtual void Run();

protected:
    CTArithmatic(CDib* pImage1, CDib* pImage2, CDib* pTarget)
        : m_pImage1(pImage1), m_pImage2(pImage2), m_pTarget(pTarget) {}

    virtual bool UsesImage2() const { return true; }
    // Checks the parameters and builds tables; throws before any pixel changes.
    virtual void Prepare() {}
    // nBytes bytes (blue, green, red per pixel) of the rows; pTarget may be p1.
    virtual void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) = 0;

    CDib* m_pImage1;
    CDib* m_pImage2;
    CDib* m_pTarget;
};
