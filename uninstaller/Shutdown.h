#pragma once
#include <windows.h>

class UninstallSession;

// The registered message "velmoragames_zeph_uninst_exit"; 0 until the main
// window has registered it.
extern UINT UninstExitMessage;
UINT RegisterUninstExitMessage();

// The wizard step of the final page: closing there deletes the relaunched copy.
constexpr int kFinalWizardStep = 4;

// How long the close waits for each statistics-event thread.
constexpr DWORD kEventThreadWaitMs = 10000;

void WaitForEventThreads(UninstallSession& session, DWORD perThreadMs = kEventThreadWaitMs);

// The orderly close: hide, release the font, wait for the event threads,
// delete the relaunched copy on the final step, broadcast the exit message
// and end the message loop.
void OrderlyClose(HWND frame, UninstallSession& session, int wizardStep);
