#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "statistics/TextHelpers.h"
#include "uninstaller/Relaunch.h"
#include "uninstaller/SingleInstance.h"

#include <cstdlib>

std::wstring GetRunningModulePath() {
    return ModulePath(nullptr);
}

std::wstring DirectoryOfPath(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(0, cut);
}

void RelaunchFromLocalAppData() {
    const std::wstring self = GetRunningModulePath();
    wchar_t folder[MAX_PATH] = {};
    if (self.empty() || !SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, TRUE))
        exit(0);
    const std::wstring installDir = DirectoryOfPath(self);
    // The installation's uninstaller already runs: show it rather than copy over its file.
    if (IsInstanceRunning(installDir)) {
        BringInstanceToFront(installDir);
        exit(0);
    }
    const std::wstring copy = std::wstring(folder) + L"\\uninst.exe";
    // Starting whatever lies at the copy's path after a failed copy would run
    // a stale or planted program with administrator rights. The usual holder
    // is a copy started a moment ago for the same installation (a double
    // click registered twice): its window comes to the front once it shows.
    if (!CopyFileW(self.c_str(), copy.c_str(), FALSE)) {
        BringInstanceToFront(installDir);
        exit(0);
    }
    // The copy's own folder as working directory, so that nothing holds the
    // installation directory open while it is being removed.
    ShellExecuteW(nullptr, L"open", copy.c_str(), installDir.c_str(), folder, SW_HIDE);
    exit(0);
}
