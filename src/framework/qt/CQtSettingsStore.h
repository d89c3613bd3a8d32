#pragma once
// The settings store over QSettings: an INI file in the user's configuration
// folder ("Quillon/Pictavo Zozi.ini"), or a file named by the caller.

#include "framework/IProfileStore.h"

#include <memory>
#include <string>

class QSettings;

class CQtSettingsStore : public IProfileStore {
public:
    CQtSettingsStore();                                    // the user's own store
    explicit CQtSettingsStore(const std::string& iniPath); // a store file of the caller's
    ~CQtSettingsStore() override;

    int GetProfileInt(const std::string& section, const std::string& key, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& strDefault = {}) override;
    void WriteProfileInt(const std::string& section, const std::string& key, int nValue) override;
    void WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    void DeleteProfileKey(const std::string& section, const std::string& key) override;
    void DeleteProfileSection(const std::string& section) override;

    // Copies every section and key into another store.
    void CopyTo(IProfileStore& dst) const;
    void Sync();
    // Writes the store beside its file and renames it over the file; when that
    // fails the old file stays and a file exception names the store.
    void Save();
    std::string FileName() const;
    // The folder of the user's store, where the legacy ZELK.INI is looked for.
    static std::string UserConfigDir();

private:
    std::unique_ptr<QSettings> m_pSettings;
};
