#pragma once
// Solarize: the threshold and whether values below it lighten or above it darken.

#include "view/dialogs/CPreviewDlg.h"

class QAbstractButton;
class QRadioButton;
class QCheckBox;

class CSolarizeDlg : public CPreviewDlg {
    Q_OBJECT
public:
    CSolarizeDlg(QWidget* pParent, const CDib& image);
    void GetValues(COpValues& values) const override;

    QScrollBar* m_pThreshold;
    QRadioButton* m_pLighten;
    QRadioButton* m_pDarken;
};
