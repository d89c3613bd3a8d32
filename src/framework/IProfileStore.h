#pragma once
// The settings store: sections of keys holding signed 32-bit integers or text.

#include <string>

class IProfileStore {
public:
    virtual ~IProfileStore() = default;
    virtual int GetProfileInt(const std::string& section, const std::string& key, int nDefault) = 0;
    virtual std::string GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& strDefault = {}) = 0;
    virtual void WriteProfileInt(const std::string& section, const std::string& key, int nValue) = 0;
    virtual void WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) = 0;
    // Writing a string with no value: the key goes.
    virtual void DeleteProfileKey(const std::string& section, const std::string& key) = 0;
    // Writing with no key: the whole section goes.
    virtual void DeleteProfileSection(const std::string& section) = 0;
};

// The store's reading of a stored integer text: optional blanks and sign, then
// decimal digits up to the first other character, clamped to 32 bits. A text
// without digits reads as nDefault.
int ParseProfileInt(const std::string& text, int nDefault);
