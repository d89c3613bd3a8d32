#pragma once
// The base of the dialogs that show their operation's result on a reduced
// copy of the picture: the copy is made once when the dialog opens, and the
// operation runs on it again at every change while "&Auto Preview" is on.

#include "framework/CRect.h"

#include <QDialog>

#include <memory>

class CDib;
class COpValues;
class QCheckBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QScrollBar;
class QVBoxLayout;

class CPreviewDlg : public QDialog {
    Q_OBJECT
public:
    // The preview control's size, frame included.
    static constexpr int kPreviewWidth = 200, kPreviewHeight = 160;

    CPreviewDlg(QWidget* pParent, const CDib& image, unsigned nCommandId, const QString& strTitle);
    ~CPreviewDlg() override;

    // The operation's arguments as the controls give them.
    virtual void GetValues(COpValues& values) const = 0;

    // One state for every preview dialog while the program runs.
    static bool IsAutoPreview();
    static void SetAutoPreview(bool bOn);

    // The preview's rectangle inside the control, and the picture shown there.
    const CRect& PreviewRect() const { return m_rcPreview; }
    const CDib* PreviewImage() const { return m_pShown.get(); }
    int PreviewCount() const { return m_nPreviews; }

public slots:
    // Applies the operation to the reduced copy and redraws it.
    void Preview();

protected:
    // A control changed: redraws when Auto Preview is on.
    void Changed();
    // Lays out the controls, the preview box, the preview buttons and OK/Cancel.
    QGridLayout* Controls() const { return m_pControls; }
    // A scroll bar row "label [bar] value" with its value shown as text.
    QScrollBar* AddScrollBar(const QString& strLabel, int nMin, int nMax, int nValue, int nPage,
                             std::function<QString(int)> format = {});
    // Adds a widget row that spans the controls' columns.
    void AddRow(QWidget* pWidget);

private:
    class CPreviewBox;
    friend class CPreviewBox;
    void Paint(class QPainter& painter);

    unsigned m_nCommandId;
    std::unique_ptr<CDib> m_pReduced; // made once
    std::unique_ptr<CDib> m_pShown;   // the operation applied to it
    CRect m_rcControl, m_rcPreview;
    int m_nPreviews = 0;
    QGridLayout* m_pControls;
    CPreviewBox* m_pBox;
    QCheckBox* m_pAuto;
};
