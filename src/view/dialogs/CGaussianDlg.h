#pragma once
// The radius of the Gaussian blur.

#include "view/dialogs/CPreviewDlg.h"

class QAbstractButton;
class QRadioButton;
class QCheckBox;

class CGaussianDlg : public CPreviewDlg {
    Q_OBJECT
public:
    CGaussianDlg(QWidget* pParent, const CDib& image);
    void GetValues(COpValues& values) const override;

    QScrollBar* m_pRadius;
};
