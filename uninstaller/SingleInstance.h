#pragma once
#include <windows.h>

#include "ui/Win32Handles.h"

#include <string>

// One uninstaller per installation at a time. The relaunched copy holds a named mutex derived
// from the installation folder while it runs and marks its main window with the same name; a
// later start for the same folder brings that window to the front instead of running a second
// removal.

// The name of the mutex and of the window mark. It is made from the folder the directory leads
// to, not from its spelling: an 8.3 name, letter case, separators and links to the folder all
// give the folder's one name. A directory that cannot be opened is named from its long form, or
// as written. The folder is removed while its uninstaller runs, so the name is made once, at the
// start, and kept.
std::wstring InstanceNameOf(const std::wstring& installDir);

class CInstanceLock {
public:
    explicit CInstanceLock(const std::wstring& instanceName);
    // False when another process is already the uninstaller of the installation.
    bool Owned() const { return owned_; }

private:
    SkinUI::CKernelHandle mutex_;
    bool owned_ = false;
};

// True while an uninstaller of the installation runs.
bool IsInstanceRunning(const std::wstring& instanceName);

// Marks the main window as the one of the installation's uninstaller.
void MarkInstanceWindow(HWND hwnd, const std::wstring& instanceName);
// Takes the mark off again; before the window is destroyed.
void UnmarkInstanceWindow(HWND hwnd, const std::wstring& instanceName);

// How long a start waits for the running uninstaller's window to show.
constexpr DWORD kInstanceWindowWaitMs = 10000;

// Waits until the marked window of the installation's uninstaller is visible, then restores it
// when minimised and brings it to the front. False when no such window showed in time, or when
// no uninstaller of the installation has been running for a while of that time.
bool BringInstanceToFront(const std::wstring& instanceName,
                          DWORD timeoutMs = kInstanceWindowWaitMs);
