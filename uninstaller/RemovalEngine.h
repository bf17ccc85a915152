#pragma once
#include <windows.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

class UninstallSession;

// Full paths, ASCII-lower-cased, compared whole: the folders and files the removal keeps.
typedef std::set<std::wstring> PathSet;

// One removal as the wizard asks for it: the session (configuration, installation directory,
// statistics events) and the questionnaire's answers that the final event carries.
struct RemovalRequest {
    UninstallSession* session = nullptr;
    uint32_t answerMask = 0;
    std::wstring otherReasonText; // as typed; the final event carries it cleaned
};

// The stages of a removal, in order.
enum class RemovalStep { RegistryAndShortcuts, DeletingFiles, FinalEvent };

// Told what a removal does, on the removal's own thread. The wizard posts each report to its
// window; the engine never reaches a window itself.
class IRemovalObserver {
public:
    // After every file (kept or deleted): 0 to 100.
    virtual void OnRemovalProgress(int percentage) = 0;
    // A stage begins; fileTotal is the number of files counted (0 until DeletingFiles).
    virtual void OnRemovalStep(RemovalStep step, unsigned fileTotal) = 0;
    // A file or folder stays (its "file cannot be deleted" event is sent as well); error is the
    // platform's reason, ERROR_SUCCESS where the platform claimed to have deleted it.
    virtual void OnFileNotDeleted(const std::wstring& lowerName, DWORD error) = 0;
    // The configuration or the installation directory was refused: nothing was removed.
    virtual void OnConfigError() = 0;
    // The removal is over (also after a failure in its middle); the final page may show.
    virtual void OnRemovalFinished() = 0;

protected:
    ~IRemovalObserver() = default;
};

// Starts DoUninstall on a thread of its own with a copy of the request; the observer must
// outlive the removal. False when the thread could not be started (nothing was reported).
bool StartUninstallWorker(const RemovalRequest& request, IRemovalObserver& observer);

// The worker's body: broadcasts the exit message; refuses an unsafe installation directory
// (nothing removed, OnConfigError); removes the registry entries and shortcuts, counts and
// deletes the files with the keep lists, reports files that stay, starts the final event and
// then reports the end (OnRemovalFinished).
void DoUninstall(const RemovalRequest& request, IRemovalObserver& observer);

void RemoveRegistryAndShortcuts(UninstallSession& session);

// Deletes the values, then the keys, of the game's Uninstall entry and of the maker's key
// (HKEY_LOCAL_MACHINE, the process's own registry view). Missing keys are skipped, never
// created; a key with sub keys stays with its values gone.
void RemoveRegistryEntries(UninstallSession& session);

// Deletes every value of the key; a value that cannot be deleted is reported to the debugger
// output and skipped.
void DeleteAllValues(HKEY key);

// Deletes the game's shortcuts on the common desktop and in its common Start-menu folder, then
// the folder when empty. Names that are not plain file names are skipped.
void RemoveShortcuts(UninstallSession& session);

// The keep list of the configuration, with each entry's installation-directory part written as
// the normalised root that the removal walks.
PathSet BuildKeepSet(const std::vector<std::wstring>& configured, const std::wstring& installDir);

// Number of files below the directory; links to folders are not followed. The keep lists are
// not applied.
unsigned CountFiles(UninstallSession& session, const wchar_t* directory);

// Deletes the tree below the directory depth-first and then the directory, keeping the listed
// folders and files; links to folders are removed without touching their targets (where the
// platform cannot remove a link itself, it stays). Reports the progress towards total after
// every file. Afterwards, whatever is left that the keep lists do not explain is reported once
// per file or folder (through the session's events too, when given), also where the platform
// claimed to have deleted it. Refuses (does nothing for) an unsafe directory.
void DeleteTree(IRemovalObserver& observer, UninstallSession* session, const wchar_t* directory,
                unsigned* counter, unsigned total, const PathSet& skipDirs,
                const PathSet& skipFiles);

// The progress after `counter` of `total` files: 0 to 100, 0 when nothing was counted.
int ProgressPercentage(unsigned counter, unsigned total);
