#pragma once
#include <windows.h>

#include <set>
#include <string>
#include <vector>

class CUninstallerFrameWnd;
class UninstallSession;

// Full paths, ASCII-lower-cased, compared whole: the folders and files the removal keeps.
typedef std::set<std::wstring> PathSet;

// The removal worker: started once, when the user confirms the uninstall, with the main window
// as its argument (_beginthread). It talks to the window only through posted messages
// (FrameMessages.h).
void __cdecl UninstallThreadProc(void* frame);

// Starts UninstallThreadProc on a thread of its own; false when it could not be started.
bool StartUninstallWorker(CUninstallerFrameWnd& frame);

// The worker's body: broadcasts the exit message; refuses an unsafe installation directory
// (nothing removed, WM_UNINST_CONFIG_ERROR posted); removes the registry entries and shortcuts,
// counts and deletes the files with the keep lists, reports files that stay, starts the final
// event and then shows the final page (WM_UNINST_SET_STEP 4).
void DoUninstall(CUninstallerFrameWnd& frame);

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
// platform cannot remove a link itself, it stays). Moves the progress after every file, and
// reports each file that stays. Refuses (does nothing for) an unsafe directory.
void DeleteTree(CUninstallerFrameWnd& frame, const wchar_t* directory, unsigned* counter,
                const PathSet& skipDirs, const PathSet& skipFiles);

// The progress after `counter` of `total` files: 0 to 100, 0 when nothing was counted.
int ProgressPercentage(unsigned counter, unsigned total);
