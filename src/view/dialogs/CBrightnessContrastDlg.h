#pragma once
// Brightness, contrast and gamma, starting from the picture's tone values, for one channel or all.

#include "view/dialogs/CPreviewDlg.h"

class QAbstractButton;
class QRadioButton;
class QCheckBox;

class CBrightnessContrastDlg : public CPreviewDlg {
    Q_OBJECT
public:
    CBrightnessContrastDlg(QWidget* pParent, const CDib& image);
    void GetValues(COpValues& values) const override;

    QScrollBar* m_pBrightness;
    QScrollBar* m_pContrast;
    QScrollBar* m_pGamma;
    QRadioButton* m_pChannels[4]; // red, green, blue, all
};
