#pragma once
// One print or preview run: knows the device, lays the pages out and draws
// them. Print dialogs (for their miniature), the print preview and the
// printing loop all drive a job through this interface:
//   BeginPrinting(dc, info)  -> Prepare, Layout, the page range
//   PrintPage(dc, info)      -> for each page of the range
// Lengths are print units (1/300 inch) unless named device pixels.

#include "framework/CRect.h"

#include <string>

class CDC;
class CPrintSettings;
struct CPrintInfo;

class CPrintJob {
public:
    explicit CPrintJob(CPrintSettings& settings) : m_settings(settings) {}
    virtual ~CPrintJob() = default;
    CPrintJob(const CPrintJob&) = delete;
    CPrintJob& operator=(const CPrintJob&) = delete;

    // Reads the device resolution (and what the job needs of its data).
    virtual void Prepare(CDC& dc);
    // Margins, header, footer and body, then the job's own layout.
    virtual void Layout(CDC& dc);
    // True when header and footer are left out whatever the settings say.
    virtual bool SuppressHeaderFooter() const { return false; }
    virtual int ItemCount() const { return 1; }
    virtual int PageCount(CDC& dc);
    // Header and footer, then the page body of info.m_nCurPage.
    virtual void PrintPage(CDC& dc, CPrintInfo& info);
    // The first item of a page counted from 0 (album jobs).
    virtual int FirstItemOfPage(int nPage, CDC& dc);

    // The page miniature of the print dialogs, drawn into rcFace of a screen
    // context after Prepare and Layout on the printer: the face grey, the page
    // white at its aspect ratio, framed black, and the job's own sketch on it.
    void DrawMiniature(CDC& dc, const CRect& rcFace);

    // Prepare and Layout, then the page range: an unknown maximum becomes the
    // page count; from and to are clamped into it and become min and max.
    void BeginPrinting(CDC& dc, CPrintInfo& info);

    // What the status pane says: the header / footer is printed.
    bool HeaderPrinted() const;
    bool FooterPrinted() const;

    CPrintSettings& GetSettings() const { return m_settings; }
    int GetLogPixelsX() const { return m_nLogPixelsX; }
    int GetLogPixelsY() const { return m_nLogPixelsY; }
    const CRect& GetPageRect() const { return m_rcPage; } // device pixels after the extra margins
    const CRect& GetHeaderRect() const { return m_rcHeader; }
    const CRect& GetFooterRect() const { return m_rcFooter; }
    const CRect& GetBodyRect() const { return m_rcBody; }

protected:
    virtual void PrintBody(CDC& dc, CPrintInfo& info) = 0;
    // The sheet the miniature shows, device pixels (one page by default).
    virtual CSize MiniatureSheet() const { return m_sizePage; }
    // Draws the job's sketch; map() takes sheet pixels to the miniature.
    struct CMiniMap {
        CRect rcSheet; // the white sheet in the miniature
        CSize size;    // the sheet in device pixels
        CRect operator()(const CRect& rc) const;
    };
    virtual void DrawMiniatureBody(CDC& dc, const CMiniMap& map) = 0;
    void DrawHeaderFooter(CDC& dc);

    CPrintSettings& m_settings;
    int m_nLogPixelsX = 300;
    int m_nLogPixelsY = 300;
    CSize m_sizePage; // HORZRES × VERTRES
    CRect m_rcPage;
    CRect m_rcHeader;
    CRect m_rcFooter;
    CRect m_rcBody;
};
