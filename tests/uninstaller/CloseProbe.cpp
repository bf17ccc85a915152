// A stand-in for the relaunched copy at the moment it closes: it prepares a
// session for the installation in its own folder, then runs the orderly
// close on the wizard step given as its command line.
#include <windows.h>

#include "uninstaller/Relaunch.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
    const int step = _wtoi(cmdLine);
    const std::wstring dir = DirectoryOfPath(GetRunningModulePath());
    UninstallSession* session = new UninstallSession(dir.c_str());
    RegisterUninstExitMessage();
    const HWND hwnd = CreateWindowExW(0, L"STATIC", L"close probe", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, instance, nullptr);
    OrderlyClose(hwnd, *session, step);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return session->IsConfigValid() ? 0 : 3;
}
