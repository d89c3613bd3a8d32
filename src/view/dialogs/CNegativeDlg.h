#pragma once
// Negative: the channels it inverts.

#include <QDialog>

class COpValues;
class QCheckBox;

class CNegativeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CNegativeDlg(QWidget* pParent);
    void GetValues(COpValues& values) const;

private:
    QCheckBox* m_pChannels[3];
};
