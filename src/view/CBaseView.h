#pragma once
// The base of every view: the current photo, the view's palette on a palette
// display, switching a window between the album's views, the main tool
// bar's button set when the view becomes active, and the print hooks.

#include "framework/qt/CView.h"
#include "print/ui/CPrintDlg.h"

#include <memory>
#include <string>

class CAppPalette;
class CBaseDoc;

class CBaseView : public CView {
    DECLARE_DYNAMIC(CBaseView)
public:
    CBaseView();
    ~CBaseView() override;

    CBaseDoc* GetBaseDocument() const;

    virtual int GetCurrentIndex() const { return m_nCurrentIndex; }
    // Also the album's current photo.
    virtual void SetCurrentIndex(int nIndex);
    virtual void UpdateFrameTitle(const std::string&) {}
    // The printing seams: the view's print dialog (which owns the job it
    // prints), the title of the dialog in preview set-up, and whether the
    // view has something to print now.
    virtual std::unique_ptr<CPrintDlg> CreatePrintDialog() { return nullptr; }
    virtual std::string PreviewSetupTitle() const { return {}; }
    virtual bool CanPrint() const { return false; }
    // Print: the dialog, then the pages of its job on its printer.
    void OnFilePrint();
    // Print Preview: the dialog in set-up mode, then the pages on screen.
    void OnFilePrintPreview();
    virtual int LoadCurrentImage() { return 0; }
    virtual void ReleaseImage(int) {}

    // What kind of view this is.
    virtual bool IsEnhancerView() const { return false; }
    virtual bool IsShowView() const { return false; } // slide show or full screen
    virtual int GetToolBarSet() const;

    void OnActivateView(bool bActivate, CView* pActivateView, CView* pDeactiveView) override;
    // The palette notification: realise the palette, repaint when it changed.
    virtual void OnPaletteChanged(CView* pFocusView);
    CAppPalette* GetPalette() const { return m_pPalette.get(); }

    // Shows the document in a view of that class: the frame already showing
    // it is restored, otherwise a new frame is made on the same document.
    bool SwitchToView(const char* pszViewClass);

protected:
    int m_nCurrentIndex = -1;
    std::unique_ptr<CAppPalette> m_pPalette;

private:
    void RegisterViewCommands();
};
