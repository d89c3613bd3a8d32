#include "view/CImpExpFileDialog.h"

#include "album/AlbumViewRules.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "storage/formats/ImpExpTables.h"

#include <QApplication>
#include <QLineEdit>

CImpExpFileDialog::CImpExpFileDialog(QWidget* pParent, const std::string& proposal, int nBits, int nSaveType)
    : QFileDialog(pParent), m_nBits(nBits), m_nSaveType(nSaveType) {
    setAcceptMode(QFileDialog::AcceptSave);
    setOption(QFileDialog::DontUseNativeDialog);
    setWindowTitle("Save As/Convert To");
    QStringList filters;
    for (int i = 0; i < GetSaveDialogCount(); ++i)
        filters << QString::fromUtf8(GetSaveDialogEntry(i).name.data(),
                                     static_cast<int>(GetSaveDialogEntry(i).name.size()));
    setNameFilters(filters);
    const int nIndex = IndexFromSaveType(nSaveType) - 1;
    if (nIndex >= 0 && nIndex < filters.size()) selectNameFilter(filters[nIndex]);
    selectFile(QString::fromStdString(proposal));
    connect(this, &QFileDialog::filterSelected, this,
            [this](const QString& f) { OnFilterSelected(static_cast<int>(nameFilters().indexOf(f))); });
}

int CImpExpFileDialog::SaveTypeOfFilter(int nIndex) {
    return SaveTypeFromIndex(nIndex);
}

int CImpExpFileDialog::SaveTypeForName(const std::string& name, int nBits, int nCurrent) {
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return nCurrent;
    const std::string ext = name.substr(dot + 1);
    // The chosen type stays when its extension is the one typed.
    if (!ext.empty() && SaveTypeFromExtension(ext) != 0) {
        std::string own = SaveTypeExtension(nCurrent);
        bool bSame = own.size() == ext.size();
        for (size_t i = 0; bSame && i < ext.size(); ++i)
            bSame = std::toupper(static_cast<unsigned char>(own[i])) ==
                    std::toupper(static_cast<unsigned char>(ext[i]));
        if (bSame) return nCurrent;
        const int n = SaveTypeFromExtension(ext, nBits);
        if (n != 0) return n;
    }
    return nCurrent;
}

void CImpExpFileDialog::OnFilterSelected(int nIndex) {
    if (nIndex < 0) return;
    m_nSaveType = SaveTypeOfFilter(nIndex);
    // The name in the edit field takes the new type's extension.
    if (auto* edit = findChild<QLineEdit*>()) {
        const std::string name = edit->text().toStdString();
        if (!name.empty()) edit->setText(QString::fromStdString(ReplaceExtension(name, m_nSaveType)));
    }
}

void CImpExpFileDialog::accept() {
    const QStringList files = selectedFiles();
    if (files.isEmpty()) return;
    std::string name = files.front().toStdString();
    if (!IsAcceptableFileName(name)) {
        QApplication::beep();
        GetUserPrompt().MessageBox(FormatResString1(1023, name), MB_OK | MB_ICONEXCLAMATION);
        if (auto* edit = findChild<QLineEdit*>()) edit->selectAll();
        return;
    }
    m_nSaveType = SaveTypeForName(name, m_nBits, m_nSaveType);
    QFileDialog::accept();
}

std::string CImpExpFileDialog::Ask(const std::string& proposal, int nBits, int& nSaveType) {
    CImpExpFileDialog dlg(QApplication::activeWindow(), proposal, nBits, nSaveType);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    std::string name = dlg.selectedFiles().front().toStdString();
    // A name without an extension gets the type's.
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        name = ReplaceExtension(name, dlg.GetSaveType());
    nSaveType = dlg.GetSaveType();
    return name;
}
