#include <windows.h>

#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/UninstallerFrameWnd.h"

#include <process.h>

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

void __cdecl UninstallThreadProc(void* frame) {
    if (frame == nullptr) {
        return;
    }
    CUninstallerFrameWnd& window = *static_cast<CUninstallerFrameWnd*>(frame);
    try {
        DoUninstall(window);
    } catch (...) {
        // Out of memory in the middle of the tree: the player still gets the final page.
        window.PostStep(kFinalWizardStep);
    }
}

bool StartUninstallWorker(CUninstallerFrameWnd& frame) {
    return _beginthread(UninstallThreadProc, 0, &frame) != static_cast<uintptr_t>(-1);
}

void DoUninstall(CUninstallerFrameWnd& frame) {
    if (UninstExitMessage != 0) {
        ::PostMessageW(HWND_BROADCAST, UninstExitMessage, 0, 0);
    }
    UninstallSession* const session = frame.GetSession();
    // A half-read configuration lacks its keep lists, and an unsafe directory would take other
    // files with it: nothing is removed, and the window reports the configuration error.
    if (session == nullptr || !session->IsConfigValid() ||
        !IsSafeInstallDir(session->GetInstallDir())) {
        frame.PostConfigError();
        return;
    }
    RemoveRegistryAndShortcuts(*session);

    const std::wstring installDir = session->GetInstallDir();
    const GameConfig& config = *session->GetGameConfig();
    const PathSet skipDirs = BuildKeepSet(config.SkipDir, installDir);
    const PathSet skipFiles = BuildKeepSet(config.SkipFile, installDir);
    const std::wstring root = NormalizeInstallDir(installDir);
    frame.SetFileTotal(CountFiles(*session, root.c_str()));
    unsigned counter = 0;
    DeleteTree(frame, root.c_str(), &counter, skipDirs, skipFiles);

    const std::wstring freeText =
        CUninstallerFrameWnd::CleanOtherReasonText(frame.GetOtherReasonText());
    // The final event's thread joins the session's list before the final page can be shown, so
    // a close from that page waits for it; the plug-in's final call is done by then as well.
    SubmitSurvey(*session, frame.GetAnswerMask(), freeText);
    frame.PostStep(kFinalWizardStep);
}

void RemoveRegistryAndShortcuts(UninstallSession& session) {
    RemoveRegistryEntries(session);
    RemoveShortcuts(session);
}

PathSet BuildKeepSet(const std::vector<std::wstring>& configured, const std::wstring& installDir) {
    const std::wstring written = AsciiLower(installDir) + L"\\";
    const std::wstring walked = AsciiLower(NormalizeInstallDir(installDir)) + L"\\";
    PathSet keep;
    for (const std::wstring& entry : configured) {
        keep.insert(StartsWith(entry, written) ? walked + entry.substr(written.size()) : entry);
    }
    return keep;
}
