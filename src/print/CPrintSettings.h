#pragma once
// The print settings shared by every kind of document: frame flag, header and
// footer, extra margins. Kept for the whole run and loaded from / saved to the
// "Print" preferences.

#include "framework/CRect.h"
#include "print/CPrintTextStyle.h"

#include <string>

class IProfileStore;

// Bounds of each extra margin: one inch either way.
constexpr int kMinExtraMargin = -300;
constexpr int kMaxExtraMargin = 300;

class CPrintSettings {
public:
    CPrintSettings() = default;
    virtual ~CPrintSettings() = default;

    virtual void Load(IProfileStore& store);
    virtual void Save(IProfileStore& store) const;

    int m_bFrame = 1;
    CPrintTextStyle m_header;
    CPrintTextStyle m_footer;
    CRect m_rcExtraMargins; // left, top, right, bottom in print units
    CRect m_rcMargins;      // kept at zero

    // A rectangle preference: integers at characters 0, 8, 16 and 24, read as
    // the C library's atoi does; an empty text gives zeros.
    static CRect ParseRect(const std::string& text);
    // "%07d %07d %07d %07d".
    static std::string FormatRect(const CRect& rc);
};

extern const char* const kPrintSection; // "Print"
