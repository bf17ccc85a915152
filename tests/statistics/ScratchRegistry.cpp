#include <windows.h>

#include "tests/statistics/ScratchRegistry.h"

namespace CollectorTests {

ScratchRegistry::~ScratchRegistry() {
    Clear();
}

bool ScratchRegistry::CreateKey(HKEY root, const std::wstring& path, REGSAM view) {
    size_t pos = 0;
    while (pos != std::wstring::npos) {
        pos = path.find(L'\\', pos + 1);
        const std::wstring prefix = path.substr(0, pos);
        HKEY key = nullptr;
        DWORD disposition = 0;
        if (::RegCreateKeyExW(root, prefix.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                              &key, &disposition) != ERROR_SUCCESS) {
            return false;
        }
        ::RegCloseKey(key);
        if (disposition == REG_CREATED_NEW_KEY) {
            created_.push_back({root, prefix, view});
        }
    }
    return true;
}

bool ScratchRegistry::SetString(HKEY root, const std::wstring& path, const std::wstring& name,
                                const std::wstring& value, REGSAM view) {
    if (!CreateKey(root, path, view)) {
        return false;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    const LONG rc =
        ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

bool ScratchRegistry::SetDword(HKEY root, const std::wstring& path, const std::wstring& name,
                               DWORD value, REGSAM view) {
    if (!CreateKey(root, path, view)) {
        return false;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) {
        return false;
    }
    const LONG rc = ::RegSetValueExW(key, name.c_str(), 0, REG_DWORD,
                                     reinterpret_cast<const BYTE*>(&value), sizeof(value));
    ::RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

void ScratchRegistry::Clear() {
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(it->root, it->path.c_str(), 0, KEY_ALL_ACCESS | it->view, &key) ==
            ERROR_SUCCESS) {
            ::RegDeleteTreeW(key, nullptr);
            ::RegCloseKey(key);
        }
        ::RegDeleteKeyExW(it->root, it->path.c_str(), it->view, 0);
    }
    created_.clear();
}

std::wstring UniqueName(const std::wstring& prefix) {
    return prefix + L"_" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
           std::to_wstring(::GetTickCount());
}

} // namespace CollectorTests
