#include <windows.h>
#include <objbase.h>

#include "ui/WindowManagerUI.h"
#include "uninstaller/CommandLine.h"
#include "uninstaller/Relaunch.h"
#include "uninstaller/SingleInstance.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <new>
#include <string>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int) {
    // The runtime's argument loses a command line of only blanks, which names an installation
    // directory like any other.
    const std::wstring installDir = ArgumentsOf(::GetCommandLineW());
    if (installDir.empty())
        RelaunchFromLocalAppData();
    // A second copy for the same installation (a double click registered twice) only shows
    // the first one's window: two removals of one folder must never run at once.
    const std::wstring instanceName = InstanceNameOf(installDir);
    const CInstanceLock instance(instanceName);
    if (!instance.Owned()) {
        BringInstanceToFront(instanceName);
        return 0;
    }
    SkinUI::CWindowManagerUI::SetInstance(hInstance);
    SkinUI::CWindowManagerUI::SetResourcePath(SkinUI::CWindowManagerUI::GetInstancePath());

    if (FAILED(::CoInitialize(nullptr)))
        return 0;
    // The frame frees itself and its session when its window is destroyed.
    CUninstallerFrameWnd* frame =
        new (std::nothrow) CUninstallerFrameWnd(installDir.c_str(), instanceName);
    if (!frame)
        return 0;
    if (frame->Create(nullptr, L"卸载程序", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 800, 572)) {
        frame->CenterWindow();
        ::ShowWindow(frame->GetHWND(), SW_SHOW);
    }
    SkinUI::CWindowManagerUI::RunMessageLoop();
    ::CoUninitialize();
    return 0;
}
