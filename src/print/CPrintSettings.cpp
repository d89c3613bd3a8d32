#include "print/CPrintSettings.h"

#include "framework/IProfileStore.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

const char* const kPrintSection = "Print";

CRect CPrintSettings::ParseRect(const std::string& text) {
    int v[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        size_t pos = static_cast<size_t>(i) * 8;
        if (pos < text.size()) v[i] = std::atoi(text.substr(pos, 8).c_str());
    }
    return CRect(v[0], v[1], v[2], v[3]);
}

std::string CPrintSettings::FormatRect(const CRect& rc) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%07d %07d %07d %07d", rc.left, rc.top, rc.right, rc.bottom);
    return buf;
}

void CPrintSettings::Load(IProfileStore& store) {
    m_bFrame = 1;
    m_header.m_strText = store.GetProfileString(kPrintSection, "Header", "");
    m_footer.m_strText = store.GetProfileString(kPrintSection, "Footer", "");
    m_header.m_bShow = store.GetProfileInt(kPrintSection, "Show Header", 0);
    m_footer.m_bShow = store.GetProfileInt(kPrintSection, "Show Footer", 0);
    // Margins beyond an inch cannot be entered; a store edited by hand gets
    // them clamped so that the page keeps an area.
    CRect rc = ParseRect(store.GetProfileString(kPrintSection, "Extra Margins", ""));
    auto clamp = [](int v) { return std::clamp(v, kMinExtraMargin, kMaxExtraMargin); };
    m_rcExtraMargins = CRect(clamp(rc.left), clamp(rc.top), clamp(rc.right), clamp(rc.bottom));
    m_rcMargins = CRect();
}

void CPrintSettings::Save(IProfileStore& store) const {
    store.WriteProfileString(kPrintSection, "Extra Margins", FormatRect(m_rcExtraMargins));
    store.WriteProfileString(kPrintSection, "Footer", m_footer.m_strText);
    store.WriteProfileString(kPrintSection, "Header", m_header.m_strText);
    store.WriteProfileInt(kPrintSection, "Show Header", m_header.m_bShow);
    store.WriteProfileInt(kPrintSection, "Show Footer", m_footer.m_bShow);
}
