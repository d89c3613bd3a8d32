#include "print/PrintStatusPanes.h"

#include "framework/StringTable.h"
#include "print/CPrintJob.h"
#include "print/CPrintSettings.h"
#include "print/PrintUnits.h"

#include <cstdio>

CPrintStatusPanes MakePrintStatusPanes(const CPrintJob& job, unsigned nFromPage, unsigned nToPage,
                                       const CMeasureUnit& unit) {
    CPrintStatusPanes panes;
    char buf[256];
    std::snprintf(buf, sizeof buf, LoadResString(2198).c_str(), static_cast<int>(nFromPage),
                  static_cast<int>(nToPage));
    panes.strPageRange = buf;
    const CRect& m = job.GetSettings().m_rcExtraMargins;
    std::snprintf(buf, sizeof buf, LoadResString(2199).c_str(), unit.Format(m.left).c_str(),
                  unit.Format(m.top).c_str(), unit.Format(m.right).c_str(), unit.Format(m.bottom).c_str());
    panes.strMargins = buf;
    panes.strHeaderFooter = FormatResString2(2200, LoadResString(job.HeaderPrinted() ? 1393 : 1392),
                                             LoadResString(job.FooterPrinted() ? 1393 : 1392));
    return panes;
}
