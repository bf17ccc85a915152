#include <windows.h>

#include "ui/ZipEntryName.h"

#include <cstring>

namespace SkinUI {

bool ZipNameToWide(const std::string& stored, std::wstring& name) {
    name.clear();
    if (stored.empty())
        return true;
    if (memchr(stored.data(), 0, stored.size()))
        return false;
    const int size = static_cast<int>(stored.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, stored.data(), size, nullptr, 0);
    if (n <= 0)
        return false;
    name.resize(n);
    return MultiByteToWideChar(CP_ACP, 0, stored.data(), size, &name[0], n) == n;
}

bool ZipNameFromWide(const std::wstring& name, std::string& stored) {
    stored.clear();
    if (name.empty())
        return true;
    if (name.find(L'\0') != std::wstring::npos)
        return false;
    const int size = static_cast<int>(name.size());
    // The UTF code pages refuse the default-character query.
    const bool utf = GetACP() == CP_UTF8 || GetACP() == CP_UTF7;
    const DWORD flags = utf ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* const lossyOut = utf ? nullptr : &lossy;
    const int n =
        WideCharToMultiByte(CP_ACP, flags, name.data(), size, nullptr, 0, nullptr, lossyOut);
    if (n <= 0 || lossy)
        return false;
    stored.resize(n);
    return WideCharToMultiByte(CP_ACP, flags, name.data(), size, &stored[0], n, nullptr,
                               lossyOut) == n &&
           !lossy;
}

namespace {

bool IsSlash(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// One cleaning step; false when nothing applied.
bool CleanOnce(std::wstring& name) {
    if (name.size() >= 2 && name[1] == L':') {
        name.erase(0, 2);
        return true;
    }
    if (!name.empty() && IsSlash(name[0])) {
        name.erase(0, 1);
        return true;
    }
    if (name.size() >= 3 && name[0] == L'.' && name[1] == L'.' && IsSlash(name[2])) {
        name.erase(0, 3);
        return true;
    }
    // A parent reference at the very end leaves nothing below the base.
    const size_t n = name.size();
    if (n >= 2 && name[n - 1] == L'.' && name[n - 2] == L'.' && (n == 2 || IsSlash(name[n - 3]))) {
        name.clear();
        return true;
    }
    for (size_t i = 0; i + 3 < name.size(); ++i) {
        if (IsSlash(name[i]) && name[i + 1] == L'.' && name[i + 2] == L'.' &&
            IsSlash(name[i + 3])) {
            name.erase(0, i + 4);
            return true;
        }
    }
    return false;
}

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::wstring CleanZipEntryName(std::wstring name) {
    while (CleanOnce(name)) {
    }
    return name;
}

std::string ZipNameFoldKey(std::string name) {
    for (size_t i = 0; i < name.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(name[i])) && i + 1 < name.size())
            ++i;
        else
            name[i] = FoldAscii(name[i]);
    }
    return name;
}

} // namespace SkinUI
