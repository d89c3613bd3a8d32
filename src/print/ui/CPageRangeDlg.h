#pragma once
// The pages to print: all, or from..to within 1..max.

#include <QDialog>

class QLineEdit;
class QRadioButton;

class CPageRangeDlg : public QDialog {
public:
    CPageRangeDlg(unsigned nFrom, unsigned nTo, unsigned nMax, QWidget* pParent = nullptr);
    unsigned GetFrom() const { return m_nFrom; }
    unsigned GetTo() const { return m_nTo; }
    QRadioButton* GetAllButton() const { return m_pAll; }
    QRadioButton* GetPagesButton() const { return m_pPages; }
    QLineEdit* GetFromEdit() const { return m_pFrom; }
    QLineEdit* GetToEdit() const { return m_pTo; }
    void accept() override;

private:
    void UpdateEnable();
    unsigned m_nFrom, m_nTo, m_nMax;
    QRadioButton* m_pAll;
    QRadioButton* m_pPages;
    QLineEdit* m_pFrom;
    QLineEdit* m_pTo;
};
