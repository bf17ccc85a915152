#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "statistics/TextHelpers.h"
#include "uninstaller/Relaunch.h"
#include "uninstaller/SelfCopy.h"
#include "uninstaller/SingleInstance.h"

#include <cstdlib>

std::wstring GetRunningModulePath() {
    return ModulePath(nullptr);
}

std::wstring DirectoryOfPath(const std::wstring& path) {
    const size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(0, cut);
}

namespace {

const wchar_t kOtherUninstallerRunning[] = L"另一个游戏的卸载程序正在运行，请在其结束后再试";
const wchar_t kCopyNotWritten[] = L"卸载程序无法复制到：";

[[noreturn]] void StartCopy(const std::wstring& copy, const std::wstring& installDir,
                            const wchar_t* folder) {
    // The copy's own folder as working directory, so that nothing holds the installation
    // directory open while it is being removed.
    ::ShellExecuteW(nullptr, L"open", copy.c_str(), installDir.c_str(), folder, SW_HIDE);
    exit(0);
}

} // namespace

void RelaunchFromLocalAppData() {
    const std::wstring self = GetRunningModulePath();
    wchar_t folder[MAX_PATH] = {};
    if (self.empty() || !SHGetSpecialFolderPathW(nullptr, folder, CSIDL_LOCAL_APPDATA, TRUE))
        exit(0);
    const std::wstring installDir = DirectoryOfPath(self);
    // The installation's uninstaller already runs: show it rather than copy over its file.
    const std::wstring instanceName = InstanceNameOf(installDir);
    if (IsInstanceRunning(instanceName)) {
        BringInstanceToFront(instanceName);
        exit(0);
    }
    const std::wstring copy = std::wstring(folder) + L"\\uninst.exe";
    if (CopyWritable(self, copy))
        StartCopy(copy, installDir, folder);
    // Another game's uninstaller (or this installation's, started a moment ago) runs from the
    // copy's path. The same program serves this installation too; anything else may be stale or
    // planted, and would run with administrator rights.
    const SkinUI::CFileHandle same = HoldIfSameBytes(copy, self);
    if (same)
        StartCopy(copy, installDir, folder);
    const DWORD attributes = ::GetFileAttributesW(copy.c_str());
    const bool occupied =
        attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    ::MessageBoxW(nullptr, occupied ? kOtherUninstallerRunning : (kCopyNotWritten + copy).c_str(),
                  L"Error", MB_OK);
    exit(0);
}
