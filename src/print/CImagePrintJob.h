#pragma once
// Prints one picture: fitted, 4 × 6 inches, at a custom size on one page, or
// as a poster over up to 9 × 9 pages, each page printing one tile.

#include "print/CImagePrintSettings.h"
#include "print/CPrintJob.h"

#include <vector>

class CDib;

constexpr int kMaxPosterPages = 9; // across and down

class CImagePrintJob : public CPrintJob {
public:
    // The picture is not owned and must outlive the job.
    CImagePrintJob(CImagePrintSettings& settings, CDib* pDib);

    struct CTile {
        CRect rcDest;   // print units, from the body's top left corner of its page
        CRect rcSource; // picture pixels, top-down
    };

    void Prepare(CDC& dc) override;
    void Layout(CDC& dc) override;
    bool SuppressHeaderFooter() const override;
    int PageCount(CDC& dc) override;

    CSize GetNaturalSize() const { return m_sizeNatural; }  // print units, 100 %
    CSize GetBodySize() const { return m_sizeBody; }        // print units
    const CRect& GetImageRect() const { return m_rcImage; } // on the surface, print units
    int GetPagesAcross() const { return m_nAcross; }
    int GetPagesDown() const { return m_nDown; }
    const std::vector<CTile>& GetTiles() const { return m_tiles; }
    // A tile's destination on its page, device pixels.
    CRect TileDeviceRect(const CTile& tile) const;
    const CImagePrintSettings& GetImageSettings() const { return m_imageSettings; }

protected:
    void PrintBody(CDC& dc, CPrintInfo& info) override;
    // A poster's miniature shows the whole surface of its pages.
    CSize MiniatureSheet() const override;
    void DrawMiniatureBody(CDC& dc, const CMiniMap& map) override;

private:
    CSize FitSize(int nWidth, int nHeight) const;
    void BuildTiles();

    CImagePrintSettings& m_imageSettings;
    CDib* m_pDib;
    CSize m_sizeNatural;
    CSize m_sizeBody;
    CRect m_rcImage;
    int m_nAcross = 1;
    int m_nDown = 1;
    std::vector<CTile> m_tiles; // row by row, at most 9 × 9
};
