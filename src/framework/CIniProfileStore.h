#pragma once
// A store of sections and keys held in memory, optionally read from and
// written to a text file of the Windows private-profile form
// ("[Section]" lines and "Key=Value" lines). Section and key names compare
// without regard to case; the order of first appearance is kept.
//
// With bLegacyInt the integers read as the old platform read a private
// profile file: a text without digits is 0, and a "0x" prefix is hex.

#include "framework/IProfileStore.h"

#include <string>
#include <utility>
#include <vector>

class CIniProfileStore : public IProfileStore {
public:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };

    CIniProfileStore() = default;
    explicit CIniProfileStore(bool bLegacyInt) : m_bLegacyInt(bLegacyInt) {}

    // Reads the file (at most 4 MiB of it). A missing or unreadable file gives
    // an empty store and false; text that is not of the form is passed over.
    bool LoadFile(const std::string& path);
    void ParseText(const std::string& text);
    // Writes beside the file, then renames over it.
    void SaveFile(const std::string& path) const;
    std::string ToText() const;

    int GetProfileInt(const std::string& section, const std::string& key, int nDefault) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& strDefault = {}) override;
    void WriteProfileInt(const std::string& section, const std::string& key, int nValue) override;
    void WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    void DeleteProfileKey(const std::string& section, const std::string& key) override;
    void DeleteProfileSection(const std::string& section) override;

    bool HasKey(const std::string& section, const std::string& key) const;
    std::vector<std::string> Keys(const std::string& section) const;
    const std::vector<Section>& Sections() const { return m_sections; }

private:
    Section* FindSection(const std::string& name);
    const Section* FindSection(const std::string& name) const;
    static const std::string* FindValue(const Section& s, const std::string& key);

    std::vector<Section> m_sections;
    bool m_bLegacyInt = false;
};
