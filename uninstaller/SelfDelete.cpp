#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "ui/Win32Handles.h"
#include "uninstaller/Relaunch.h"
#include "uninstaller/SelfDelete.h"

std::wstring SelfDeleteParameters(const std::wstring& shortPath) {
    return L"/c del \"" + shortPath + L"\" > nul";
}

namespace {

std::wstring ShortPathOf(const std::wstring& path) {
    const DWORD n = GetShortPathNameW(path.c_str(), nullptr, 0);
    if (n == 0)
        return {};
    std::wstring out(n, L'\0');
    const DWORD m = GetShortPathNameW(path.c_str(), &out[0], n);
    if (m == 0 || m >= n)
        return {};
    out.resize(m);
    return out;
}

std::wstring CommandShell() {
    const DWORD n = GetEnvironmentVariableW(L"COMSPEC", nullptr, 0);
    if (n == 0)
        return {};
    std::wstring out(n, L'\0');
    const DWORD m = GetEnvironmentVariableW(L"COMSPEC", &out[0], n);
    if (m == 0 || m >= n)
        return {};
    out.resize(m);
    return out;
}

} // namespace

void SelfDeleteViaCommandShell() {
    const std::wstring self = GetRunningModulePath();
    if (self.empty())
        return;
    const std::wstring shortPath = ShortPathOf(self);
    if (shortPath.empty())
        return;
    const std::wstring shell = CommandShell();
    if (shell.empty())
        return;
    const std::wstring params = SelfDeleteParameters(shortPath);

    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = L"Open";
    info.lpFile = shell.c_str();
    info.lpParameters = params.c_str();
    info.nShow = SW_HIDE;
    if (!ShellExecuteExW(&info))
        return;
    // Let this process end before the shell gets to run "del".
    const SkinUI::CKernelHandle process(info.hProcess);
    if (process)
        SetPriorityClass(process.Get(), IDLE_PRIORITY_CLASS);
    SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    SHChangeNotify(SHCNE_DELETE, SHCNF_PATHW, shortPath.c_str(), nullptr);
}
