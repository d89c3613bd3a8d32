#pragma once
// Print settings of a picture: where on the printing surface and how large,
// the layout and whether it is centred.

#include "print/CPrintSettings.h"

// Bound of the image rectangle's coordinates in print units (over a
// hundred metres): far beyond a poster of 9 × 9 pages.
constexpr int kMaxImageCoordinate = 1 << 24;

enum : int { kLayoutFit = 0, kLayout4x6 = 1, kLayoutPoster = 2, kLayoutCustom = 3 };

class CImagePrintSettings : public CPrintSettings {
public:
    void Load(IProfileStore& store) override;
    void Save(IProfileStore& store) const override;

    CRect m_rcImage; // print units on the (possibly multi-page) surface
    int m_nLayout = kLayoutFit;
    int m_bCenter = 1;
};
