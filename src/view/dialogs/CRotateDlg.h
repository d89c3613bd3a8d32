#pragma once
// The angle and direction of an arbitrary rotation.

#include <QDialog>

class COpValues;
class QLineEdit;
class QRadioButton;

class CRotateDlg : public QDialog {
    Q_OBJECT
public:
    explicit CRotateDlg(QWidget* pParent);
    void GetValues(COpValues& values) const;
    void accept() override;

private:
    QLineEdit* m_pAngle;
    QRadioButton* m_pClockwise;
    QRadioButton* m_pCounter;
    double m_dAngle = 90;
};
