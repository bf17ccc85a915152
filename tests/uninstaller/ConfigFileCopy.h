#pragma once
#include <string>

// The installer writes "installedFileList.txt" in UTF-8 or in code page 936, while the profile
// API reads a file without a UTF-16 byte-order mark in whatever ANSI code page the PC has: on a
// PC with code page 1252 a keep-list entry such as 存档 would be misread and its saves deleted.
// This makes a UTF-16 copy of such a file in the temporary folder (valid UTF-8 is taken as
// UTF-8, anything else as code page 936) for the profile API to read, and deletes the copy when
// it goes. A file that already starts with a UTF-16 mark, or that cannot be read or copied, is
// read where it is.
class ConfigFileCopy {
public:
    explicit ConfigFileCopy(const std::wstring& configPath);
    ~ConfigFileCopy();
    ConfigFileCopy(const ConfigFileCopy&) = delete;
    ConfigFileCopy& operator=(const ConfigFileCopy&) = delete;

    // The file to hand to the profile API.
    const std::wstring& Path() const { return copy_.empty() ? original_ : copy_; }

private:
    std::wstring original_;
    std::wstring copy_;
};

// The configuration's text decoded as described above (a UTF-8 mark is dropped).
std::wstring DecodeConfigText(const std::string& bytes);
