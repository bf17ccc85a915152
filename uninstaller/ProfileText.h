#pragma once
#include "uninstaller/ConfigSource.h"

#include <string>
#include <vector>

// An INI text taken apart once, answering as the Windows profile API answers for a file with
// that text: lines are split at CR and LF and trimmed of white space; "[name]" (up to the last
// "]" of the line) opens a section; any other line is a key, its name up to the first "=" and its
// value after it, both trimmed. Section and key names compare without regard to case, only the
// first section of a name counts and in it the first key of a name; a value enclosed in matching
// quotes loses them. Text after a NUL character in a name or value is not seen.
class ProfileText : public ConfigSource {
public:
    explicit ProfileText(const std::wstring& text);

    // The key's value, or fallback when the section or key is missing or the key has no "=".
    std::wstring Value(const wchar_t* section, const wchar_t* key,
                       const wchar_t* fallback) const override;
    // The names of the section's keys that have a value, in file order, without comment lines
    // (names beginning with ";").
    std::vector<std::wstring> KeyNames(const wchar_t* section) const override;

private:
    struct Key {
        std::wstring name;
        std::wstring value;
        bool hasValue;
    };
    struct Section {
        std::wstring name;
        std::vector<Key> keys;
    };
    const Section* Find(const wchar_t* section) const;

    std::vector<Section> sections_;
};
