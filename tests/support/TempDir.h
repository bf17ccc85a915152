#pragma once
#include <windows.h>

#include <string>

namespace TestSupport {

// A fresh folder under %TEMP% that is removed with everything in it when the
// object goes.
class TempDir {
public:
    explicit TempDir(const std::wstring& hint = L"t");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return path_; }
    // Path() + "\" + relative.
    std::wstring operator/(const std::wstring& relative) const;

private:
    std::wstring path_;
};

// Removes a folder tree; read-only files are made writable first.
void RemoveTree(const std::wstring& path);

} // namespace TestSupport
