#pragma once
#include "uninstaller/GameConfig.h"

#include <string>
#include <vector>

// Where the configuration's sections and keys come from.
class ConfigSource {
public:
    virtual ~ConfigSource() = default;
    // The key's value, or fallback when there is none.
    virtual std::wstring Value(const wchar_t* section, const wchar_t* key,
                               const wchar_t* fallback) const = 0;
    // The names of the section's keys that have a value, in file order; an empty name ends the
    // list as it ends the profile API's list of names.
    virtual std::vector<std::wstring> KeyNames(const wchar_t* section) const = 0;
};

// Fills config from the source; false at the first required key that is empty (the keys after
// it are not read).
bool ReadGameConfig(const ConfigSource& source, const std::wstring& installDir, GameConfig& config);
