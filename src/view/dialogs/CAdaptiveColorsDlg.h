#pragma once
// The number of colours of the adaptive 256-colour conversion, whether the
// system colours are kept, and dithering.

#include <QDialog>

class COpValues;
class QCheckBox;
class QLineEdit;

class CAdaptiveColorsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAdaptiveColorsDlg(QWidget* pParent);
    void GetValues(COpValues& values) const;
    void accept() override;

private:
    QLineEdit* m_pColors;
    QCheckBox* m_pSystem;
    QCheckBox* m_pDither;
    int m_nColors = 256;
};
