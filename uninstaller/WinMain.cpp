#include <windows.h>
#include <objbase.h>

#include "ui/WindowManagerUI.h"
#include "uninstaller/Relaunch.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <new>

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int) {
    if (!lpCmdLine || lpCmdLine[0] == L'\0')
        RelaunchFromLocalAppData();
    SkinUI::CWindowManagerUI::SetInstance(hInstance);
    SkinUI::CWindowManagerUI::SetResourcePath(SkinUI::CWindowManagerUI::GetInstancePath());

    if (FAILED(::CoInitialize(nullptr)))
        return 0;
    // The frame frees itself and its session when its window is destroyed.
    CUninstallerFrameWnd* frame = new (std::nothrow) CUninstallerFrameWnd(lpCmdLine);
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
