#pragma once
// Prints an album as a text listing: number, title and description of each
// photo, word-wrapped, flowing down the pages.

#include "print/CAlbumPrintJob.h"

#include <vector>

class CAlbumTextPrintJob : public CAlbumPrintJob {
public:
    CAlbumTextPrintJob(CAlbumPrintSettings& settings, IAlbumPrintSource& source,
                       std::vector<int> selection = {});

    void Layout(CDC& dc) override;
    int PageCount(CDC& dc) override;
    int FirstItemOfPage(int nPage, CDC& dc) override;

    // "n: " (index shown), the title, then a line feed and the description.
    std::string ItemText(int k) const;
    int GetLineHeight() const { return m_nLineHeight; }
    int GetGap() const { return m_nLineHeight * 3 / 2; }
    int ItemHeight(int k) const { return m_itemHeights.at(static_cast<size_t>(k)); }

protected:
    void PrintBody(CDC& dc, CPrintInfo& info) override;
    void DrawMiniatureBody(CDC& dc, const CMiniMap& map) override;

private:
    int m_nLineHeight = 0;
    std::vector<int> m_itemHeights;
    std::vector<int> m_pageFirst; // the first item of each page
    int m_nNextItem = 0;          // where printing continues
};
