#include <windows.h>

#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/Shutdown.h"
#include "uninstaller/StatisticsEvents.h"
#include "uninstaller/UninstallSession.h"
#include "uninstaller/TextConvert.h"

#include <memory>
#include <process.h>

namespace {

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

namespace {

struct RemovalJob {
    RemovalRequest request;
    IRemovalObserver* observer;
};

void __cdecl UninstallThreadProc(void* argument) {
    const std::unique_ptr<RemovalJob> job(static_cast<RemovalJob*>(argument));
    try {
        DoUninstall(job->request, *job->observer);
    } catch (...) {
        // Out of memory in the middle of the tree: the player still gets the final page.
        job->observer->OnRemovalFinished();
    }
}

} // namespace

bool StartUninstallWorker(const RemovalRequest& request, IRemovalObserver& observer) {
    std::unique_ptr<RemovalJob> job(new RemovalJob{request, &observer});
    if (_beginthread(UninstallThreadProc, 0, job.get()) == static_cast<uintptr_t>(-1)) {
        return false;
    }
    job.release();
    return true;
}

void DoUninstall(const RemovalRequest& request, IRemovalObserver& observer) {
    if (UninstExitMessage != 0) {
        ::PostMessageW(HWND_BROADCAST, UninstExitMessage, 0, 0);
    }
    UninstallSession* const session = request.session;
    // A half-read configuration lacks its keep lists, and an unsafe directory would take other
    // files with it: nothing is removed, and the configuration error is reported.
    if (session == nullptr || !session->IsConfigValid() ||
        !IsSafeInstallDir(session->GetInstallDir())) {
        observer.OnConfigError();
        return;
    }
    observer.OnRemovalStep(RemovalStep::RegistryAndShortcuts, 0);
    RemoveRegistryAndShortcuts(*session);

    const std::wstring installDir = session->GetInstallDir();
    const GameConfig& config = *session->GetGameConfig();
    const PathSet skipDirs = BuildKeepSet(config.SkipDir, installDir);
    const PathSet skipFiles = BuildKeepSet(config.SkipFile, installDir);
    const std::wstring root = NormalizeInstallDir(installDir);
    const unsigned total = CountFiles(*session, root.c_str());
    observer.OnRemovalStep(RemovalStep::DeletingFiles, total);
    unsigned counter = 0;
    DeleteTree(observer, session, root.c_str(), &counter, total, skipDirs, skipFiles);

    observer.OnRemovalStep(RemovalStep::FinalEvent, total);
    // The final event's thread joins the session's list before the final page can be shown, so
    // a close from that page waits for it; the plug-in's final call is done by then as well.
    SubmitSurvey(*session, request.answerMask, CleanOtherReasonText(request.otherReasonText));
    observer.OnRemovalFinished();
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
