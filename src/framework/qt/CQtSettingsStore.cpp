#include "framework/qt/CQtSettingsStore.h"

#include "framework/CException.h"
#include "framework/StringTable.h"

#include <QFileInfo>
#include <QSettings>

namespace {
QString Key(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}
} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_pSettings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                              QString::fromStdString(LoadResString(IDS_COMPANY)),
                                              QString::fromStdString(LoadResString(IDS_APP_TITLE)))) {}

CQtSettingsStore::CQtSettingsStore(const std::string& iniPath)
    : m_pSettings(std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

CQtSettingsStore::~CQtSettingsStore() = default;

int CQtSettingsStore::GetProfileInt(const std::string& section, const std::string& key, int nDefault) {
    QVariant v = m_pSettings->value(Key(section, key));
    if (!v.isValid()) return nDefault;
    return ParseProfileInt(v.toString().toStdString(), nDefault);
}

std::string CQtSettingsStore::GetProfileString(const std::string& section, const std::string& key,
                                               const std::string& strDefault) {
    QVariant v = m_pSettings->value(Key(section, key));
    if (!v.isValid()) return strDefault;
    // A value written as a list (commas in a hand-edited file) reads back joined.
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(", ").toStdString();
    return v.toString().toStdString();
}

void CQtSettingsStore::WriteProfileInt(const std::string& section, const std::string& key, int nValue) {
    m_pSettings->setValue(Key(section, key), nValue);
}

void CQtSettingsStore::WriteProfileString(const std::string& section, const std::string& key,
                                          const std::string& value) {
    m_pSettings->setValue(Key(section, key), QString::fromStdString(value));
}

void CQtSettingsStore::DeleteProfileKey(const std::string& section, const std::string& key) {
    m_pSettings->remove(Key(section, key));
}

void CQtSettingsStore::DeleteProfileSection(const std::string& section) {
    m_pSettings->remove(QString::fromStdString(section));
}

void CQtSettingsStore::CopyTo(IProfileStore& dst) const {
    for (const QString& full : m_pSettings->allKeys()) {
        qsizetype slash = full.indexOf('/');
        if (slash < 0) continue;
        std::string section = full.left(slash).toStdString(), key = full.mid(slash + 1).toStdString();
        dst.WriteProfileString(section, key,
                               const_cast<CQtSettingsStore*>(this)->GetProfileString(section, key, ""));
    }
}

void CQtSettingsStore::Sync() {
    m_pSettings->sync();
}

void CQtSettingsStore::Save() {
    m_pSettings->setAtomicSyncRequired(true); // never written in place
    m_pSettings->sync();
    if (m_pSettings->status() == QSettings::NoError) return;
    // A refused write is access denied; anything else (a full disk) an I/O error.
    const QFileInfo file(m_pSettings->fileName());
    const bool bRefused =
        (file.exists() && !file.isWritable()) || !QFileInfo(file.absolutePath()).isWritable();
    AfxThrowFileException(bRefused ? CFileException::accessDenied : CFileException::generic, -1, FileName());
}

std::string CQtSettingsStore::FileName() const {
    return m_pSettings->fileName().toStdString();
}

std::string CQtSettingsStore::UserConfigDir() {
    return QFileInfo(CQtSettingsStore().m_pSettings->fileName()).absolutePath().toStdString() + "/";
}
