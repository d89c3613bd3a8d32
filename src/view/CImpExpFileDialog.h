#pragma once
// The export file dialog: the save types in their order, the file name's
// extension following the chosen type, and the typed name checked before
// the dialog closes.

#include <QFileDialog>
#include <string>

class CImpExpFileDialog : public QFileDialog {
    Q_OBJECT
public:
    CImpExpFileDialog(QWidget* pParent, const std::string& proposal, int nBits, int nSaveType);

    int GetSaveType() const { return m_nSaveType; }
    // The save type of a dialog index and the other way round.
    static int SaveTypeOfFilter(int nIndex);
    // The type a typed name asks for: its extension's type for a picture of
    // nBits bits when the extension names one, else nCurrent.
    static int SaveTypeForName(const std::string& name, int nBits, int nCurrent);

    // Runs the dialog: the chosen path (empty: cancelled) and its save type.
    static std::string Ask(const std::string& proposal, int nBits, int& nSaveType);

    void accept() override;

private:
    void OnFilterSelected(int nIndex);

    int m_nBits;
    int m_nSaveType;
};
