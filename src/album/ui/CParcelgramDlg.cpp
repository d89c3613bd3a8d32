#include "album/ui/CParcelgramDlg.h"

#include "album/AlbumWizardTasks.h"
#include "framework/StringTable.h"
#include "storage/install/IDriveList.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool EndsWithVrz(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".vrz";
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

} // namespace

CParcelgramDlg::BrowseDir CParcelgramDlg::s_browseDir = &CParcelgramDlg::BrowseWithDialog;

std::string CParcelgramDlg::BrowseWithDialog(QWidget* parent, const std::string& strStart) {
    return QFileDialog::getExistingDirectory(parent, QString::fromStdString(LoadResString(1049)),
                                             QString::fromStdString(strStart))
        .toStdString();
}

CParcelgramDlg::CParcelgramDlg(uint32_t nTitle, const std::string& strDownloadDir,
                               const std::string& strImagesDir, bool bDeleteWhenThrough, QWidget* parent)
    : CBaseWizardPropertyPage(1406, nTitle, parent), m_strDownloadDir(strDownloadDir),
      m_strImagesDir(strImagesDir) {
    m_pDirLabel = new QLabel(this);
    m_pDirLabel->setObjectName("currentDir");
    m_pPackages = new QListWidget(this);
    m_pPackages->setObjectName("packages");
    m_pDirs = new QListWidget(this);
    m_pDirs->setObjectName("directories");
    m_pDrives = new QComboBox(this);
    m_pDrives->setObjectName("drives");
    m_pDelete = new QCheckBox("Delete Parcelgram Package when through", this);
    m_pDelete->setChecked(bDeleteWhenThrough);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_pDirLabel, 0, 0, 1, 2);
    layout->addWidget(new QLabel("Available Parcelgram Packages:", this), 1, 0);
    layout->addWidget(new QLabel("Directories:", this), 1, 1);
    layout->addWidget(m_pPackages, 2, 0, 3, 1);
    layout->addWidget(m_pDirs, 2, 1);
    layout->addWidget(new QLabel("Drives:", this), 3, 1);
    layout->addWidget(m_pDrives, 4, 1);
    layout->addWidget(m_pDelete, 5, 0, 1, 2);

    connect(m_pDirs, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ChangeDir(item->data(Qt::UserRole).toString().toStdString()); });
    connect(m_pDrives, &QComboBox::activated, this,
            [this](int i) { ChangeDir(m_pDrives->itemData(i).toString().toStdString()); });
}

std::string CParcelgramDlg::PhotoDriveRoot() const {
    return m_strImagesDir.empty() ? std::string("/") : GetDriveRoot(m_strImagesDir);
}

void CParcelgramDlg::FillDrives() {
    m_pDrives->clear();
    std::vector<std::string> roots{"/"};
    const QString home = QDir::homePath();
    if (!home.isEmpty()) roots.push_back(home.toStdString());
    for (const std::string& r : GetDriveList().GetRemovableDrives())
        if (std::find(roots.begin(), roots.end(), r) == roots.end()) roots.push_back(r);
    for (const std::string& r : roots)
        m_pDrives->addItem(QString::fromStdString("[-" + r + "-]"), QString::fromStdString(r));
}

void CParcelgramDlg::OnSetActive() {
    if (m_bStarted) return;
    m_bStarted = true;
    FillDrives();
    // The download directory of the preferences, else one the user picks;
    // asked again for as long as the directory cannot be used.
    std::string dir = m_strDownloadDir;
    if (dir.empty()) {
        dir = s_browseDir(this, PhotoDriveRoot());
        if (dir.empty()) dir = PhotoDriveRoot();
    }
    while (!ChangeDir(dir)) {
        const std::string again = s_browseDir(this, PhotoDriveRoot());
        if (again.empty()) {
            ChangeDir(PhotoDriveRoot());
            break;
        }
        dir = again;
    }
}

bool CParcelgramDlg::ChangeDir(const std::string& strDir) {
    std::error_code ec;
    const fs::path dir = fs::weakly_canonical(fs::path(strDir), ec);
    if (ec || !fs::is_directory(dir, ec)) return false;
    std::vector<std::pair<std::string, std::string>> packages; // shown name, real name
    std::vector<std::string> dirs;
    fs::directory_iterator it(dir, ec);
    if (ec) return false;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        const std::string name = it->path().filename().string();
        std::error_code ec2;
        if (it->is_directory(ec2))
            dirs.push_back(name);
        else if (EndsWithVrz(name) && it->is_regular_file(ec2))
            packages.emplace_back(Lower(name), name);
    }
    std::sort(packages.begin(), packages.end());
    std::sort(dirs.begin(), dirs.end());
    m_strDir = dir.string();
    m_pDirLabel->setText(QString::fromStdString(m_strDir));
    m_pPackages->clear();
    for (const auto& [shown, real] : packages) {
        auto* item = new QListWidgetItem(QString::fromStdString(shown), m_pPackages);
        item->setData(Qt::UserRole, QString::fromStdString(JoinWizardPath(m_strDir, real)));
    }
    if (m_pPackages->count() > 0) m_pPackages->setCurrentRow(0);
    m_pDirs->clear();
    if (dir.has_parent_path() && dir.parent_path() != dir) {
        auto* up = new QListWidgetItem("[..]", m_pDirs);
        up->setData(Qt::UserRole, QString::fromStdString(dir.parent_path().string()));
    }
    for (const std::string& d : dirs) {
        auto* item = new QListWidgetItem(QString::fromStdString("[" + d + "]"), m_pDirs);
        item->setData(Qt::UserRole, QString::fromStdString(JoinWizardPath(m_strDir, d)));
    }
    return true;
}

std::string CParcelgramDlg::GetPackagePath() const {
    const QListWidgetItem* item = m_pPackages->currentItem();
    return item ? item->data(Qt::UserRole).toString().toStdString() : std::string();
}

std::string CParcelgramDlg::GetTargetDir() const {
    const std::string package = GetPackagePath();
    if (package.empty()) return {};
    const std::string stem = Lower(fs::path(package).stem().string());
    if (IsWritableDir(m_strDir)) return JoinWizardPath(m_strDir, stem);
    const std::string base = m_strImagesDir.empty() ? QDir::homePath().toStdString() : m_strImagesDir;
    return JoinWizardPath(base, stem);
}

bool CParcelgramDlg::GetDeleteWhenThrough() const {
    return m_pDelete->isChecked();
}

bool CParcelgramDlg::IsWritableDir(const std::string& strDir) {
    std::error_code ec;
    const fs::path probe = fs::path(strDir) / "QLN_BLAH";
    if (fs::exists(probe, ec)) return false; // not ours to remove
    if (!fs::create_directory(probe, ec) || ec) return false;
    fs::remove(probe, ec);
    return true;
}
