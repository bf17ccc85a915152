#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace Win32Reg {

// A read-only view of one open registry key. Key objects are values: copies share the handle, and
// the handle is closed when the last copy that shares it goes. Handles handed to the public
// constructor (the predefined roots) are never closed.
class RegistryKey {
public:
    RegistryKey(HKEY handle, std::wstring path);
    virtual ~RegistryKey();

    RegistryKey(const RegistryKey&) = default;
    RegistryKey& operator=(const RegistryKey&) = default;
    RegistryKey(RegistryKey&&) noexcept = default;
    RegistryKey& operator=(RegistryKey&&) noexcept = default;

    // Opens the named key below this one for reading; view is 0 (a 32-bit process reads the
    // 32-bit view), KEY_WOW64_32KEY or KEY_WOW64_64KEY. A key that cannot be opened comes back
    // with a null handle, an empty path and IsOpened() false.
    RegistryKey OpenSubKey(const std::wstring& name, REGSAM view = 0) const;

    // The value's data as UTF-16 text up to its first NUL; empty when the value is missing, the
    // key is not open or the data exceeds 4096 bytes.
    std::wstring QueryStringValue(const std::wstring& valueName) const;

    // Appends the names of the sub keys at the indices 0 to 1023 to names (not cleared first).
    void EnumSubKeys(std::vector<std::wstring>& names) const;

    HKEY Handle() const { return handle_.get(); }
    const std::wstring& Path() const { return path_; }
    // True only for a key that OpenSubKey produced from a successful open; false for the roots.
    bool IsOpened() const { return opened_; }
    // How many key objects share this handle; 0 for handles that are never closed.
    long ShareCount() const { return handle_.use_count(); }

private:
    using SharedHandle = std::shared_ptr<std::remove_pointer_t<HKEY>>;
    RegistryKey(SharedHandle handle, std::wstring path, bool opened);

    SharedHandle handle_;
    std::wstring path_;
    bool opened_ = false;
};

// The predefined roots. They are built at start-up and never destroyed, so that a statistics
// thread still running when the process exits never meets a destroyed root. Static initialisers of
// other files must not use them (their order is not defined); GetHklmRootKey is safe there.
extern const RegistryKey& LocalMachine;
extern const RegistryKey& ClassesRoot;
extern const RegistryKey& CurrentConfig;
extern const RegistryKey& CurrentUser;
extern const RegistryKey& DynData;
extern const RegistryKey& PerformanceData;
extern const RegistryKey& Users;

} // namespace Win32Reg

// Roots of the installed-software scan, built on first use (safe against concurrent first calls)
// and never destroyed.
const Win32Reg::RegistryKey& GetHklmRootKey();
const Win32Reg::RegistryKey& GetHkcuRootKey();
