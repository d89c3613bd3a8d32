#pragma once
// A thumbnail loaded for display: the bitmap (owned), whether it is a display
// copy made for the screen's depth, and the stored bit depth (-1 when none).

#include "framework/CObject.h"
#include "imaging/CDib.h"

#include <memory>

class CTnImage : public CObject {
    DECLARE_DYNAMIC(CTnImage)
public:
    CTnImage() = default;
    CTnImage(std::unique_ptr<CDib> dib, bool bDisplayCopy, int nStoredBits)
        : m_pDib(std::move(dib)), m_bDisplayCopy(bDisplayCopy), m_nStoredBits(nStoredBits) {}

    std::unique_ptr<CDib> m_pDib;
    bool m_bDisplayCopy = false;
    int m_nStoredBits = -1;
};
