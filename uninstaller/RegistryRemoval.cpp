#include <windows.h>

#include "ui/Win32Handles.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/UninstallSession.h"

#include <string>
#include <vector>

namespace {

const wchar_t kUninstallKey[] = L"SoftWare\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const wchar_t kMakerKey[] = L"SoftWare\\VelmoraGames\\";

// An opened key, or none when it cannot be opened.
class RegKey : public SkinUI::CRegKeyHandle {
public:
    RegKey(HKEY parent, const std::wstring& path, REGSAM access) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(parent, path.c_str(), 0, access, &key) == ERROR_SUCCESS) {
            Reset(key);
        }
    }
};

void DeleteValuesOf(const std::wstring& path) {
    const RegKey key(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE | KEY_SET_VALUE);
    if (key.Get() != nullptr) {
        DeleteAllValues(key.Get());
    }
}

void DeleteSubKey(const std::wstring& parentPath, const std::wstring& name) {
    const RegKey parent(HKEY_LOCAL_MACHINE, parentPath, KEY_READ | KEY_WRITE);
    if (parent.Get() != nullptr) {
        ::RegDeleteKeyW(parent.Get(), name.c_str());
    }
}

// Room for the longest value name the key holds now (plus its terminator).
DWORD LongestValueName(HKEY key, DWORD* valueCount) {
    DWORD longest = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, valueCount,
                           &longest, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return 0;
    }
    return longest + 1;
}

} // namespace

void DeleteAllValues(HKEY key) {
    DWORD valueCount = 0;
    DWORD capacity = LongestValueName(key, &valueCount);
    if (capacity == 0) {
        return;
    }
    std::vector<wchar_t> name(capacity);
    // Deleting a value moves the next one to its index, so the enumeration stays at the first
    // value not yet known to resist deletion.
    DWORD index = 0;
    for (;;) {
        DWORD length = static_cast<DWORD>(name.size());
        const LONG found =
            ::RegEnumValueW(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (found == ERROR_MORE_DATA) {
            // A longer name was added meanwhile.
            const DWORD grown = LongestValueName(key, &valueCount);
            if (grown <= name.size()) {
                name.resize(name.size() * 2);
            } else {
                name.resize(grown);
            }
            continue;
        }
        if (found != ERROR_SUCCESS) {
            return;
        }
        const LONG deleted = ::RegDeleteValueW(key, name.data());
        if (deleted != ERROR_SUCCESS) {
            ::OutputDebugStringW((std::to_wstring(deleted) + L"\n").c_str());
            ++index;
        }
    }
}

void RemoveRegistryEntries(UninstallSession& session) {
    const GameConfig* config = session.GetGameConfig();
    if (config == nullptr || config->enName.empty()) {
        return;
    }
    const std::wstring& enName = config->enName;
    DeleteValuesOf(kUninstallKey + enName);
    DeleteSubKey(kUninstallKey, enName);
    DeleteValuesOf(kMakerKey + enName);
    DeleteSubKey(kMakerKey, enName);
}
