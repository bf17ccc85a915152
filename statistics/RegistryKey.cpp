#include <windows.h>

#include "statistics/RegistryKey.h"

#include <cwchar>

namespace Win32Reg {

namespace {

constexpr DWORD kValueBufferBytes = 4096;
constexpr DWORD kMaxEnumIndices = 1024;
constexpr DWORD kKeyNameChars = 256;

void CloseOwnedKey(HKEY key) {
    ::RegCloseKey(key);
}

const RegistryKey& MakeRoot(HKEY root) {
    return *new RegistryKey(root, std::wstring());
}

} // namespace

RegistryKey::RegistryKey(HKEY handle, std::wstring path)
    // Aliasing an empty owner: the handle is carried along but nobody ever closes it.
    : handle_(SharedHandle(), handle), path_(std::move(path)), opened_(false) {}

RegistryKey::RegistryKey(SharedHandle handle, std::wstring path, bool opened)
    : handle_(std::move(handle)), path_(std::move(path)), opened_(opened) {}

RegistryKey::~RegistryKey() = default;

RegistryKey RegistryKey::OpenSubKey(const std::wstring& name, REGSAM view) const {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(Handle(), name.c_str(), 0, KEY_READ | view, &opened) != ERROR_SUCCESS ||
        opened == nullptr) {
        return RegistryKey(SharedHandle(), std::wstring(), false);
    }
    // Should the control block's allocation throw, shared_ptr closes the key itself.
    SharedHandle owned(opened, &CloseOwnedKey);
    std::wstring path = path_.empty() ? name : path_ + L"\\" + name;
    return RegistryKey(std::move(owned), std::move(path), true);
}

std::wstring RegistryKey::QueryStringValue(const std::wstring& valueName) const {
    wchar_t buffer[kValueBufferBytes / sizeof(wchar_t)] = {};
    DWORD size = kValueBufferBytes;
    const LONG rc = ::RegQueryValueExW(Handle(), valueName.c_str(), nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(buffer), &size);
    // A value larger than the buffer leaves its contents undefined: treat it as absent.
    if (rc != ERROR_SUCCESS) {
        return std::wstring();
    }
    return std::wstring(buffer, ::wcsnlen(buffer, kValueBufferBytes / sizeof(wchar_t)));
}

void RegistryKey::EnumSubKeys(std::vector<std::wstring>& names) const {
    for (DWORD index = 0; index < kMaxEnumIndices; ++index) {
        wchar_t name[kKeyNameChars] = {};
        DWORD length = kKeyNameChars;
        const LONG rc =
            ::RegEnumKeyExW(Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (rc == ERROR_SUCCESS) {
            names.emplace_back(name, ::wcsnlen(name, kKeyNameChars));
        }
    }
}

// Construction order matters to nobody but is kept as the roots are listed.
const RegistryKey& LocalMachine = MakeRoot(HKEY_LOCAL_MACHINE);
const RegistryKey& ClassesRoot = MakeRoot(HKEY_CLASSES_ROOT);
const RegistryKey& CurrentConfig = MakeRoot(HKEY_CURRENT_CONFIG);
const RegistryKey& CurrentUser = MakeRoot(HKEY_CURRENT_USER);
const RegistryKey& DynData = MakeRoot(HKEY_DYN_DATA);
const RegistryKey& PerformanceData = MakeRoot(HKEY_PERFORMANCE_DATA);
const RegistryKey& Users = MakeRoot(HKEY_USERS);

} // namespace Win32Reg

const Win32Reg::RegistryKey& GetHklmRootKey() {
    static const Win32Reg::RegistryKey* const root =
        new Win32Reg::RegistryKey(HKEY_LOCAL_MACHINE, std::wstring());
    return *root;
}

const Win32Reg::RegistryKey& GetHkcuRootKey() {
    static const Win32Reg::RegistryKey* const root =
        new Win32Reg::RegistryKey(HKEY_CURRENT_USER, std::wstring());
    return *root;
}
