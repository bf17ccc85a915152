#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/SampleInstall.h"
#include "tests/support/TempDir.h"

namespace TestSupport {

namespace {

const REGSAM kView32 = KEY_WOW64_32KEY;

void SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void CreateKeyWithValues(const std::wstring& path, const std::wstring& installDir) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView32,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    SetStringValue(key, L"DisplayName", L"Velmora Test Game");
    SetStringValue(key, L"InstallPath", installDir);
    SetStringValue(key, L"UninstallString", installDir + L"\\uninst.exe");
    RegCloseKey(key);
}

std::wstring ListSection(const wchar_t* name, const std::vector<std::wstring>& items) {
    std::wstring s =
        std::wstring(L"[") + name + L"]\r\ntotalnum=" + std::to_wstring(items.size()) + L"\r\n";
    for (size_t i = 0; i < items.size(); ++i)
        s += std::to_wstring(i) + L"=" + items[i] + L"\r\n";
    return s;
}

} // namespace

bool CreateDirs(const std::wstring& path) {
    if (DirExists(path))
        return true;
    const size_t cut = path.find_last_of(L'\\');
    if (cut != std::wstring::npos && cut > 2)
        CreateDirs(path.substr(0, cut));
    return CreateDirectoryW(path.c_str(), nullptr) || DirExists(path);
}

bool CreateShellLink(const std::wstring& linkPath, const std::wstring& target) {
    const bool comInit = SUCCEEDED(CoInitialize(nullptr));
    bool ok = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(target.c_str());
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            ok = SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
            file->Release();
        }
        link->Release();
    }
    if (comInit)
        CoUninitialize();
    return ok;
}

SampleInstall::SampleInstall(const std::wstring& parentDir, SampleGame game)
    : game_(std::move(game)), installDir_(parentDir + L"\\" + game_.folderName) {
    CreateDirs(installDir_);
}

SampleInstall::~SampleInstall() {
    RemoveRegistryAndShortcuts();
}

std::wstring SampleInstall::ConfigText() const {
    const SampleGame& g = game_;
    std::wstring s = L"[game]\r\nchsName=" + g.chsName + L"\r\nenName=" + g.enName +
                     L"\r\nGameid=" + g.gameId + L"\r\nGversion=" + g.gversion + L"\r\nwebsite=" +
                     g.website + L"\r\nGameKeyOnChannel=" + g.gameKeyOnChannel +
                     L"\r\nChannelSDKDir=" + g.channelSdkDir + L"\r\nGameInstallerType=" +
                     g.installerType + L"\r\n";
    s += L"[survey]\r\nsurveyurl=" + g.surveyUrl + L"\r\nsurveytoken=" + g.surveyToken + L"\r\n";
    s += ListSection(L"SkipDir", g.skipDirs);
    s += ListSection(L"SkipFile", g.skipFiles);
    s += ListSection(L"shortcut", g.shortcuts);
    return s;
}

void SampleInstall::WriteConfig(const std::wstring& iniText) const {
    std::string bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(iniText.data()), iniText.size() * sizeof(wchar_t));
    WriteFileBytes(ConfigPath(), bytes);
}

void SampleInstall::CreateFiles() const {
    for (const std::wstring& rel : game_.files) {
        const std::wstring path = installDir_ + L"\\" + rel;
        CreateDirs(path.substr(0, path.find_last_of(L'\\')));
        WriteFileBytes(path, "content of " + ToUtf8(rel));
    }
}

std::wstring SampleInstall::UninstallKeyPath() const {
    return L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + game_.enName;
}

std::wstring SampleInstall::MakerKeyPath() const {
    return L"SOFTWARE\\VelmoraGames\\" + game_.enName;
}

void SampleInstall::CreateRegistry() const {
    CreateKeyWithValues(UninstallKeyPath(), installDir_);
    CreateKeyWithValues(MakerKeyPath(), installDir_);
}

std::wstring SampleInstall::StartMenuFolder() const {
    return SpecialFolder(CSIDL_COMMON_PROGRAMS) + L"\\Velmora游戏\\" + game_.chsName;
}

std::wstring SampleInstall::DesktopFolder() const {
    return SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
}

void SampleInstall::CreateShortcuts() const {
    const std::wstring target = installDir_ + L"\\game.exe";
    CreateDirs(StartMenuFolder());
    for (const std::wstring& name : game_.shortcuts) {
        CreateShellLink(DesktopFolder() + L"\\" + name, target);
        CreateShellLink(StartMenuFolder() + L"\\" + name, target);
    }
    CreateShellLink(StartMenuFolder() + L"\\" + game_.chsName + L".lnk", target);
    CreateShellLink(StartMenuFolder() + L"\\卸载" + game_.chsName + L".lnk",
                    installDir_ + L"\\uninst.exe");
}

void SampleInstall::CreateAll() const {
    CreateFiles();
    WriteConfig(ConfigText());
    CreateRegistry();
    CreateShortcuts();
}

void SampleInstall::RemoveRegistryAndShortcuts() const {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, UninstallKeyPath().c_str(), kView32, 0);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, MakerKeyPath().c_str(), kView32, 0);
    for (const std::wstring& name : game_.shortcuts)
        DeleteFileW((DesktopFolder() + L"\\" + name).c_str());
    RemoveTree(StartMenuFolder());
}

bool KeyExists(const std::wstring& pathUnderLocalMachine) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, pathUnderLocalMachine.c_str(), 0, KEY_READ | kView32,
                      &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

} // namespace TestSupport
