#include <windows.h>

#include "uninstaller/SelfDelete.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/UninstallSession.h"

UINT UninstExitMessage = 0;

UINT RegisterUninstExitMessage() {
    UninstExitMessage = RegisterWindowMessageA("velmoragames_zeph_uninst_exit");
    return UninstExitMessage;
}

void WaitForEventThreads(UninstallSession& session, DWORD perThreadMs) {
    session.EventThreads().WaitAll(perThreadMs);
}

void OrderlyClose(HWND frame, UninstallSession& session, int wizardStep) {
    if (frame)
        ShowWindow(frame, SW_HIDE);
    UnloadEmbeddedFont(session);
    WaitForEventThreads(session);
    if (wizardStep == kFinalWizardStep)
        SelfDeleteViaCommandShell();
    if (UninstExitMessage)
        PostMessageW(HWND_BROADCAST, UninstExitMessage, 0, 0);
    PostQuitMessage(0);
}
