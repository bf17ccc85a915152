#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace TestSupport {

// What a sample game installation holds; every field can be changed before
// the installation is made.
struct SampleGame {
    std::wstring folderName = L"Velmora Test Game";
    std::wstring chsName = L"测试游戏";
    std::wstring enName = L"VelmoraTestGame";
    std::wstring gameId = L"1001";
    std::wstring gversion = L"1.2.3";
    std::wstring website = L"http://127.0.0.1/";
    std::wstring gameKeyOnChannel = L"channel-key";
    std::wstring channelSdkDir = L"";
    std::wstring installerType = L"2";
    std::wstring surveyUrl = L"http://127.0.0.1:47080/survey/";
    std::wstring surveyToken = L"token123";
    std::vector<std::wstring> skipDirs = {L"Save"};
    std::vector<std::wstring> skipFiles = {L"config\\user.cfg"};
    std::vector<std::wstring> shortcuts = {L"测试游戏.lnk"};
    // Files below the installation directory, relative paths.
    std::vector<std::wstring> files = {
        L"game.exe",         L"data\\pack1.dat",     L"data\\sub\\pack2.dat", L"Save\\slot1.sav",
        L"config\\user.cfg", L"config\\default.cfg", L"文档\\说明.txt"};
};

// A game installation in a folder of the test's: files, the configuration
// "installedFileList.txt", the registry entries (32-bit view) and the
// Start-menu and desktop shortcuts. The registry entries and shortcuts are
// removed again when the object goes; the folder belongs to the caller.
class SampleInstall {
public:
    SampleInstall(const std::wstring& parentDir, SampleGame game);
    ~SampleInstall();
    SampleInstall(const SampleInstall&) = delete;
    SampleInstall& operator=(const SampleInstall&) = delete;

    const SampleGame& Game() const { return game_; }
    const std::wstring& InstallDir() const { return installDir_; }
    std::wstring ConfigPath() const { return installDir_ + L"\\installedFileList.txt"; }

    // The configuration text for the game (INI, every section).
    std::wstring ConfigText() const;
    // Writes an INI text as UTF-16 with a byte-order mark, which the profile
    // functions read whatever the ANSI code page.
    void WriteConfig(const std::wstring& iniText) const;
    void CreateFiles() const;
    void CreateRegistry() const;
    void CreateShortcuts() const;
    // Everything above.
    void CreateAll() const;

    std::wstring UninstallKeyPath() const;
    std::wstring MakerKeyPath() const;
    std::wstring StartMenuFolder() const;
    std::wstring DesktopFolder() const;

private:
    void RemoveRegistryAndShortcuts() const;

    SampleGame game_;
    std::wstring installDir_;
};

// Whether the key exists under HKEY_LOCAL_MACHINE in the 32-bit view, where the sample's
// entries and the removal's live.
bool KeyExists(const std::wstring& pathUnderLocalMachine);

// Makes a shell link at linkPath that points to target.
bool CreateShellLink(const std::wstring& linkPath, const std::wstring& target);
// Creates the folder and every missing parent.
bool CreateDirs(const std::wstring& path);

} // namespace TestSupport
