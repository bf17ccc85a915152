#pragma once
#include <windows.h>

class UninstallSession;

// The uninstaller's main window. Until the skinned wizard replaces it, this
// is a plain window that owns the session and closes in the orderly way.
class CUninstallerFrameWnd {
public:
    explicit CUninstallerFrameWnd(const wchar_t* commandLine);
    CUninstallerFrameWnd(const CUninstallerFrameWnd&) = delete;
    CUninstallerFrameWnd& operator=(const CUninstallerFrameWnd&) = delete;

    HWND Create(HWND parent, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y, int cx,
                int cy);
    void CenterWindow();
    HWND GetHWND() const { return hwnd_; }
    int GetWizardStep() const { return wizardStep_; }
    UninstallSession* GetSession() const { return session_; }

    void CloseAndExit();

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    UninstallSession* session_ = nullptr;
    int wizardStep_ = 0;
};
