#pragma once
// Header or footer text of a printout and whether it is printed.

#include <QDialog>
#include <string>

class CPrintTextStyle;
class QCheckBox;
class QLineEdit;

class CNotesDlg : public QDialog {
public:
    // The style is changed on OK only.
    CNotesDlg(CPrintTextStyle& style, const std::string& title, QWidget* pParent = nullptr);
    QLineEdit* GetEdit() const { return m_pEdit; }
    QCheckBox* GetIncludeBox() const { return m_pInclude; }
    void accept() override;

private:
    CPrintTextStyle& m_style;
    std::string m_title;
    QLineEdit* m_pEdit;
    QCheckBox* m_pInclude;
};
