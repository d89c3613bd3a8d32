#include "album/ui/CAutoInstallAlbWiz3Dlg.h"

#include "album/ui/CWizardPropertySheet.h"
#include "framework/CException.h"
#include "framework/ReportException.h"
#include "framework/UserPrompt.h"
#include "storage/install/CDiskfolioDisk.h"

#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>

CAutoInstallAlbWiz3Dlg::CAutoInstallAlbWiz3Dlg(uint32_t nTitle, const CInstallWizardData& data,
                                               QWidget* parent)
    : CBaseWizardPropertyPage(1281, nTitle, parent), m_data(data) {
    m_pDrives = new QComboBox(this);
    m_pDrives->setObjectName("combo3197");
    for (const std::string& root : CDiskfolioDisk::GetDriveRoots())
        m_pDrives->addItem(QString::fromStdString(root));
    if (m_pDrives->count() > 0) m_pDrives->setCurrentIndex(0);
    auto* text = new QLabel("Put the Diskfolio floppy disk in its drive, choose the drive and press Next. "
                            "The photos on the disk are copied to your hard disk.",
                            this);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(8);
    layout->addWidget(new QLabel("Drive:", this));
    layout->addWidget(m_pDrives);
    layout->addStretch(1);
}

bool CAutoInstallAlbWiz3Dlg::OnWizardNext() {
    if (m_bSkipScan) return true;
    if (m_pDrives->currentIndex() < 0) {
        // No removable drive: nothing can be on a disk.
        GetUserPrompt().MessageBox("No image files were found on the disk!", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!CDiskfolioDisk::ScanForNextStep(m_pDrives->currentText().toStdString(), m_files)) return false;
    // The photos are copied now; a copy failure is reported and the page stays.
    CImageInstaller installer;
    try {
        if (!installer.InstallImages(m_files, m_data) || m_files.empty()) {
            m_files.clear();
            return false;
        }
    } catch (const CException& e) {
        ReportException(e);
        m_files.clear();
        return false;
    }
    // The disk is installed: going back would only install it again.
    m_bSkipScan = true;
    if (GetSheet()) GetSheet()->SetBackEnabled(false);
    return true;
}
