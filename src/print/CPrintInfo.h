#pragma once
// One print or preview run as the jobs see it: the page being drawn, the page
// range, whether it is a preview, and how the user stops it.

#include <functional>

struct CPrintInfo {
    bool m_bPreview = false;
    unsigned m_nCurPage = 1; // from 1
    unsigned m_nMinPage = 1;
    unsigned m_nMaxPage = 0; // 0 or 0xFFFF: not known yet
    unsigned m_nFromPage = 1;
    unsigned m_nToPage = 0xFFFF;
    bool m_bContinuePrinting = true;
    // True when the user stopped the run (Escape in preview, the abort flag
    // when printing); checked between items.
    std::function<bool()> m_pfnStop;

    bool Stopped() const { return m_pfnStop && m_pfnStop(); }
};
