#pragma once
// The wizard page of the package task: the packages of a directory, the
// directories and drives to look in, and whether the package is deleted once
// its album is made.

#include "album/ui/CBaseWizardPropertyPage.h"

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

class CParcelgramDlg : public CBaseWizardPropertyPage {
public:
    // The directory browser: a directory or empty on Cancel; tests replace it.
    using BrowseDir = std::function<std::string(QWidget* parent, const std::string& strStart)>;
    static BrowseDir s_browseDir;
    static std::string BrowseWithDialog(QWidget* parent, const std::string& strStart);

    CParcelgramDlg(uint32_t nTitle, const std::string& strDownloadDir, const std::string& strImagesDir,
                   bool bDeleteWhenThrough, QWidget* parent = nullptr);
    void OnSetActive() override;

    // Shows the packages and directories of the directory; false when it cannot be read.
    bool ChangeDir(const std::string& strDir);
    const std::string& GetCurrentDir() const { return m_strDir; }
    // The chosen package's path, empty when none is chosen.
    std::string GetPackagePath() const;
    // Where the package is unpacked: a directory named after it, beside it
    // when its directory is writable, else in the photo directory.
    std::string GetTargetDir() const;
    bool GetDeleteWhenThrough() const;
    // Whether a directory can be written to (a probe directory is made and removed).
    static bool IsWritableDir(const std::string& strDir);

    QListWidget* Packages() const { return m_pPackages; }
    QListWidget* Directories() const { return m_pDirs; }
    QComboBox* Drives() const { return m_pDrives; }
    QCheckBox* DeleteBox() const { return m_pDelete; }

private:
    std::string PhotoDriveRoot() const;
    void FillDrives();

    std::string m_strDir;
    std::string m_strDownloadDir;
    std::string m_strImagesDir;
    bool m_bStarted = false;
    QLabel* m_pDirLabel;
    QListWidget* m_pPackages;
    QListWidget* m_pDirs;
    QComboBox* m_pDrives;
    QCheckBox* m_pDelete;
};
