#include <windows.h>

#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/SingleInstance.h"

#include <cstdint>
#include <cwchar>

namespace {

// A copy that is still starting takes the mutex well within this time.
const DWORD kStartGraceMs = 3000;

struct WindowSearch {
    const wchar_t* mark;
    HWND found;
};

BOOL CALLBACK FindMarkedWindow(HWND hwnd, LPARAM param) {
    WindowSearch* const search = reinterpret_cast<WindowSearch*>(param);
    if (::IsWindowVisible(hwnd) && ::GetPropW(hwnd, search->mark) != nullptr) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The folder the directory leads to, in the form that tells it apart from every other.
std::wstring FolderIdentity(const std::wstring& installDir) {
    const std::wstring written = NormalizeInstallDir(installDir);
    const std::wstring resolved = ResolvedForm(written);
    if (!resolved.empty()) {
        return resolved;
    }
    const std::wstring longForm = LongForm(written);
    return longForm.empty() ? written : longForm;
}

} // namespace

std::wstring InstanceNameOf(const std::wstring& installDir) {
    // FNV-1a over the UTF-16 units: the directory may be longer than a kernel object's name.
    uint64_t hash = 14695981039346656037ull;
    for (const wchar_t unit : AsciiLower(FolderIdentity(installDir))) {
        hash = (hash ^ static_cast<uint16_t>(unit)) * 1099511628211ull;
    }
    wchar_t name[64];
    std::swprintf(name, 64, L"VelmoraGamesUninst_%016llx", static_cast<unsigned long long>(hash));
    return name;
}

CInstanceLock::CInstanceLock(const std::wstring& instanceName) {
    ::SetLastError(ERROR_SUCCESS);
    mutex_.Reset(::CreateMutexW(nullptr, FALSE, instanceName.c_str()));
    const DWORD error = ::GetLastError();
    // A mutex that exists but cannot be opened belongs to a running uninstaller as well.
    owned_ = mutex_ ? error != ERROR_ALREADY_EXISTS : error != ERROR_ACCESS_DENIED;
}

bool IsInstanceRunning(const std::wstring& instanceName) {
    const SkinUI::CKernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, instanceName.c_str()));
    return mutex || ::GetLastError() == ERROR_ACCESS_DENIED;
}

void MarkInstanceWindow(HWND hwnd, const std::wstring& instanceName) {
    ::SetPropW(hwnd, instanceName.c_str(), reinterpret_cast<HANDLE>(1));
}

void UnmarkInstanceWindow(HWND hwnd, const std::wstring& instanceName) {
    ::RemovePropW(hwnd, instanceName.c_str());
}

bool BringInstanceToFront(const std::wstring& instanceName, DWORD timeoutMs) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        WindowSearch search = {instanceName.c_str(), nullptr};
        ::EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            if (::IsIconic(search.found)) {
                ::ShowWindow(search.found, SW_RESTORE);
            }
            ::SetForegroundWindow(search.found);
            return true;
        }
        const ULONGLONG waited = ::GetTickCount64() - start;
        if (waited >= timeoutMs || (waited >= kStartGraceMs && !IsInstanceRunning(instanceName))) {
            return false;
        }
        ::Sleep(50);
    }
}
