#pragma once
// Posterize: the number of levels and the channels it changes.

#include "view/dialogs/CPreviewDlg.h"

class QAbstractButton;
class QRadioButton;
class QCheckBox;

class CPosterizeDlg : public CPreviewDlg {
    Q_OBJECT
public:
    CPosterizeDlg(QWidget* pParent, const CDib& image);
    void GetValues(COpValues& values) const override;

    QScrollBar* m_pLevels;
    QCheckBox* m_pChannels[3];
};
