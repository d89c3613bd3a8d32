#pragma once
// The wizard page of the floppy task: the removable drives to choose from.
// Going on scans the chosen disk for its roll directory and installs the
// photos on the hard disk; the pages before it are then closed.

#include "album/ui/CBaseWizardPropertyPage.h"
#include "storage/install/CImageInstaller.h"

#include <string>
#include <vector>

class QComboBox;

class CAutoInstallAlbWiz3Dlg : public CBaseWizardPropertyPage {
public:
    CAutoInstallAlbWiz3Dlg(uint32_t nTitle, const CInstallWizardData& data, QWidget* parent = nullptr);
    bool OnWizardNext() override;
    // The installed photo files (empty until the disk was installed).
    const std::vector<std::string>& GetInstalledFiles() const { return m_files; }
    QComboBox* DriveBox() const { return m_pDrives; }

private:
    QComboBox* m_pDrives;
    CInstallWizardData m_data;
    std::vector<std::string> m_files;
    bool m_bSkipScan = false;
};
