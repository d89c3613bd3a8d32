#pragma once
// The three panes of the print dialogs' status bar: page range, extra
// margins in the user's unit, and whether header and footer print.

#include <string>

class CPrintJob;
class CMeasureUnit;

struct CPrintStatusPanes {
    std::string strPageRange;    // "Page Range: 1 - 3"
    std::string strMargins;      // "Margins: L=0.5, T=0, R=0, B=1"
    std::string strHeaderFooter; // "Header: Yes; Footer: No"
};

// No for a header or footer that is not shown or that the job leaves out.
CPrintStatusPanes MakePrintStatusPanes(const CPrintJob& job, unsigned nFromPage, unsigned nToPage,
                                       const CMeasureUnit& unit);
