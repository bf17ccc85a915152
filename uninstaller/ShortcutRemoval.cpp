#include <windows.h>
#include <shlobj.h>

#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/LongPath.h"
#include "uninstaller/RemovalEngine.h"
#include "uninstaller/UninstallSession.h"

#include <string>

namespace {

const wchar_t kMakerFolder[] = L"Velmora游戏";

std::wstring SpecialFolder(int csidl, BOOL create) {
    wchar_t buffer[MAX_PATH] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, buffer, csidl, create)) {
        return std::wstring();
    }
    return buffer;
}

void DeleteIn(const std::wstring& folder, const std::wstring& name) {
    ::DeleteFileW(ApiPath(folder + L"\\" + name).c_str());
}

} // namespace

void RemoveShortcuts(UninstallSession& session) {
    const GameConfig* config = session.GetGameConfig();
    if (config == nullptr) {
        return;
    }
    // An empty folder would turn every name into a path below the current drive's root, and a
    // name with separators could reach anywhere: both are skipped.
    const std::wstring programs = SpecialFolder(CSIDL_COMMON_PROGRAMS, TRUE);
    const std::wstring desktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY, FALSE);
    const bool plainGameName = IsPlainFileName(config->chsName);
    const bool gameFolder = !programs.empty() && plainGameName;
    const std::wstring startMenu =
        gameFolder ? programs + L"\\" + kMakerFolder + L"\\" + config->chsName : L"";

    for (const std::wstring& name : config->shortcut) {
        if (!IsPlainFileName(name)) {
            continue;
        }
        if (!desktop.empty()) {
            DeleteIn(desktop, name);
        }
        if (gameFolder) {
            DeleteIn(startMenu, name);
        }
    }
    if (gameFolder) {
        DeleteIn(startMenu, config->chsName + L".lnk");
        DeleteIn(startMenu, L"卸载" + config->chsName + L".lnk");
        // Only when empty; the maker's folder above it stays for the maker's other games.
        ::RemoveDirectoryW(ApiPath(startMenu).c_str());
    }
    if (plainGameName && !desktop.empty()) {
        DeleteIn(desktop, config->chsName + L".lnk");
    }
}
