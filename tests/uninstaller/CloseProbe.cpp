// A stand-in for the relaunched copy at the moment it closes: it prepares a
// session for the installation in its own folder, starts as many statistics-
// event threads that never end as its second argument says, then runs the
// orderly close on the wizard step given as its first argument.
#include <windows.h>

#include "uninstaller/Relaunch.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

#include <cstdlib>
#include <cwchar>

namespace {

unsigned __stdcall NeverEnds(void*) {
    Sleep(INFINITE);
    return 0;
}

// With CLOSE_PROBE_NO_SHORT_PATH set, the file system gives no short path, as
// one without 8.3 names may (Wine always makes one up).
DWORD WINAPI ShortPathOrNone(LPCWSTR longPath, LPWSTR shortPath, DWORD size) {
    if (GetEnvironmentVariableW(L"CLOSE_PROBE_NO_SHORT_PATH", nullptr, 0) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const auto real = reinterpret_cast<decltype(&GetShortPathNameW)>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetShortPathNameW")));
    return real(longPath, shortPath, size);
}

} // namespace

// Takes the place of kernel32's import for the whole probe, the self-deletion included.
extern "C" decltype(&GetShortPathNameW) probeShortPathImport asm("__imp__GetShortPathNameW@12");
decltype(&GetShortPathNameW) probeShortPathImport = ShortPathOrNone;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    wchar_t* rest = nullptr;
    const int step = static_cast<int>(std::wcstol(cmdLine, &rest, 10));
    const int hangingThreads = static_cast<int>(std::wcstol(rest, nullptr, 10));
    const std::wstring dir = DirectoryOfPath(GetRunningModulePath());
    UninstallSession* session = new UninstallSession(dir.c_str());
    for (int i = 0; i < hangingThreads; ++i)
        session->EventThreads().Start(NeverEnds, nullptr);
    RegisterUninstExitMessage();
    const HWND hwnd = CreateWindowExW(0, L"STATIC", L"close probe", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, instance, nullptr);
    OrderlyClose(hwnd, *session, step);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return session->IsConfigValid() ? 0 : 3;
}
