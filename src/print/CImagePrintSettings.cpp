#include "print/CImagePrintSettings.h"

#include "framework/IProfileStore.h"

#include <algorithm>

void CImagePrintSettings::Load(IProfileStore& store) {
    CPrintSettings::Load(store);
    // Coordinates beyond any poster are cut back, so sizes stay computable.
    CRect rc = ParseRect(store.GetProfileString(kPrintSection, "Image Rect", ""));
    auto clamp = [](int v) { return std::clamp(v, -kMaxImageCoordinate, kMaxImageCoordinate); };
    m_rcImage = CRect(clamp(rc.left), clamp(rc.top), clamp(rc.right), clamp(rc.bottom));
    m_nLayout = store.GetProfileInt(kPrintSection, "Image Layout", kLayoutFit);
    if (m_nLayout < kLayoutFit || m_nLayout > kLayoutCustom) m_nLayout = kLayoutFit;
    m_bCenter = store.GetProfileInt(kPrintSection, "Image Center", 1);
}

void CImagePrintSettings::Save(IProfileStore& store) const {
    CPrintSettings::Save(store);
    store.WriteProfileString(kPrintSection, "Image Rect", FormatRect(m_rcImage));
    store.WriteProfileInt(kPrintSection, "Image Layout", m_nLayout);
    store.WriteProfileInt(kPrintSection, "Image Center", m_bCenter);
}
