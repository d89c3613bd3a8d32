#pragma once
// Resizing: the source is scaled into a destination that already has the
// target width and height (both owned by the caller).

#include "framework/CObject.h"

#include <vector>

class CDib;

class CScale : public CObject {
    DECLARE_DYNAMIC(CScale)
public:
    CScale(CDib* pSource, CDib* pDest) : m_pSource(pSource), m_pDest(pDest) {}

    virtual void Scale() = 0;

    // Ratio destination / source size, single precision.
    static float Ratio(int nDest, int nSource) {
        return static_cast<float>(nDest) / static_cast<float>(nSource);
    }
    // Source index of each destination index: truncate(i / ratio), kept
    // inside the source.
    static std::vector<int> IndexTable(int nDest, int nSource);

protected:
    CDib* m_pSource;
    CDib* m_pDest;
};
