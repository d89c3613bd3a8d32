#pragma once
// Hue, saturation and lightness shifts.

#include "view/dialogs/CPreviewDlg.h"

class QAbstractButton;
class QRadioButton;
class QCheckBox;

class CHueSaturationDlg : public CPreviewDlg {
    Q_OBJECT
public:
    CHueSaturationDlg(QWidget* pParent, const CDib& image);
    void GetValues(COpValues& values) const override;

    QScrollBar* m_pHue;
    QScrollBar* m_pSaturation;
    QScrollBar* m_pLightness;
};
