#pragma once
// Prints an album as contact sheets: a grid of up to 12 × 12 cells a page,
// each with a framed picture and its caption.

#include "print/CAlbumPrintJob.h"

#include <vector>

constexpr int kMinCaptionPoints = 4;

class CAlbumThumbnailPrintJob : public CAlbumPrintJob {
public:
    // nContactPreviewSource: "Album Contact Prev Src"; non-zero previews from
    // the full pictures instead of the stored thumbnails.
    CAlbumThumbnailPrintJob(CAlbumPrintSettings& settings, IAlbumPrintSource& source,
                            std::vector<int> selection = {}, int nContactPreviewSource = 0);

    void Layout(CDC& dc) override;
    int PageCount(CDC& dc) override;
    int FirstItemOfPage(int nPage, CDC& dc) override;

    int CellsPerPage() const { return m_albumSettings.m_nRows * m_albumSettings.m_nColumns; }
    CSize GetCellSize() const { return m_sizeCell; }
    // Cell k of the page (row by row), device pixels.
    CRect GetCell(int k) const;
    // The thumbnail rectangle of cell k: the cell inset by 5 % of its smaller side.
    CRect GetThumbRect(int k) const;
    // The caption's point size: cell width × |style height| / (body width / 2), at least 4.
    int CaptionPoints() const;
    bool CaptionShown() const { return m_albumSettings.m_bShowIndex || m_albumSettings.m_bShowTitle; }

protected:
    void PrintBody(CDC& dc, CPrintInfo& info) override;
    void DrawMiniatureBody(CDC& dc, const CMiniMap& map) override;

private:
    int m_nContactPreviewSource;
    CSize m_sizeCell;
    std::vector<CPoint> m_cellOrigins; // at most 144
    int m_nInset = 0;
};
