#pragma once
// The picture window: the picture at 1:1, scrolled when it is larger than the window.

#include "view/CBaseView.h"

class QScrollArea;
class CImageEnhancerDoc;

class CImageEnhancerView : public CBaseView {
    DECLARE_DYNAMIC(CImageEnhancerView)
public:
    CImageEnhancerView();

    CImageEnhancerDoc* GetDocument() const;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, long lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    QSize sizeHint() const override;
    QWidget* CreateHolder() override;
    bool IsEnhancerView() const override { return true; }
    // Printing the picture.
    std::unique_ptr<CPrintDlg> CreatePrintDialog() override;
    std::string PreviewSetupTitle() const override { return "Image Print Preview Setup"; }
    bool CanPrint() const override;
};
