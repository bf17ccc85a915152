#include <windows.h>

#include "uninstaller/ConfigFileCopy.h"
#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"

#include <cwchar>
#include <set>

namespace {

// A whole profile value, however long: the buffer grows until the value fits.
std::wstring ReadProfileString(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                               const wchar_t* fallback = L"") {
    std::wstring buf(260, L'\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringW(section, key, fallback, &buf[0],
                                                 static_cast<DWORD>(buf.size()), path.c_str());
        if (n + 1 < buf.size() || buf.size() >= (1u << 20)) {
            buf.resize(n);
            return buf;
        }
        buf.resize(buf.size() * 2);
    }
}

void LowerAscii(std::wstring& s) {
    for (wchar_t& c : s) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
}

// The section's keys that are entry numbers below total ("0", "1", ... without leading zeros),
// in ascending order. Only keys that exist are read, however large total claims to be.
std::set<int> ListedEntryNumbers(const std::wstring& path, const wchar_t* section, int total) {
    std::wstring names(4096, L'\0');
    DWORD n;
    for (;;) {
        n = GetPrivateProfileStringW(section, nullptr, L"", &names[0],
                                     static_cast<DWORD>(names.size()), path.c_str());
        if (n + 2 < names.size() || names.size() >= (64u << 20))
            break;
        names.resize(names.size() * 2);
    }
    std::set<int> numbers;
    for (size_t at = 0; at < n && names[at] != L'\0';) {
        const std::wstring name(&names[at]);
        at += name.size() + 1;
        const int number = _wtoi(name.c_str());
        if (number >= 0 && number < total && std::to_wstring(number) == name)
            numbers.insert(number);
    }
    return numbers;
}

// Reads "totalnum" and the keys 0 .. totalnum-1 of a list section; empty
// values are skipped. With a prefix, entries become lower-cased full paths.
std::vector<std::wstring> ReadList(const std::wstring& path, const wchar_t* section,
                                   const std::wstring* prefix) {
    std::vector<std::wstring> out;
    const int total = _wtoi(ReadProfileString(path, section, L"totalnum", L"0").c_str());
    if (total <= 0)
        return out;
    for (const int i : ListedEntryNumbers(path, section, total)) {
        std::wstring value = ReadProfileString(path, section, std::to_wstring(i).c_str());
        if (value.empty())
            continue;
        if (prefix) {
            value = *prefix + L"\\" + value;
            LowerAscii(value);
        }
        out.push_back(std::move(value));
    }
    return out;
}

struct ConfigKey {
    const wchar_t* section;
    const wchar_t* key;
    bool required;
    std::wstring* wide;
    std::string* utf8;
};

} // namespace

bool ReadConfigFile(const std::wstring& configFile, const std::wstring& installDir,
                    GameConfig& config) {
    const ConfigFileCopy copy(configFile);
    const std::wstring& configPath = copy.Path();
    const ConfigKey keys[] = {
        {L"game", L"chsName", true, &config.chsName, nullptr},
        {L"game", L"enName", true, &config.enName, nullptr},
        {L"game", L"Gameid", true, nullptr, &config.Gameid},
        {L"game", L"Gversion", false, nullptr, &config.Gversion},
        {L"game", L"website", false, &config.website, nullptr},
        {L"game", L"GameKeyOnChannel", false, &config.GameKeyOnChannel, nullptr},
        {L"game", L"ChannelSDKDir", false, &config.ChannelSDKDir, nullptr},
        {L"game", L"GameInstallerType", false, &config.GameInstallerType, nullptr},
        {L"survey", L"surveytoken", true, nullptr, &config.surveytoken},
        {L"survey", L"surveyurl", true, nullptr, &config.surveyurl},
    };
    for (const ConfigKey& k : keys) {
        const std::wstring value = ReadProfileString(configPath, k.section, k.key);
        if (k.required && value.empty())
            return false;
        if (k.wide)
            *k.wide = value;
        else
            *k.utf8 = WideToUtf8(value);
    }
    config.SkipDir = ReadList(configPath, L"SkipDir", &installDir);
    config.SkipFile = ReadList(configPath, L"SkipFile", &installDir);
    config.shortcut = ReadList(configPath, L"shortcut", nullptr);
    return true;
}

bool ReadConfig(UninstallSession& session) {
    // A folder the removal would refuse is an error now, before the player has confirmed anything
    // and before any event is sent.
    if (ReadConfigFile(session.GetConfigPath(), session.GetInstallDir(),
                       *session.GetGameConfig()) &&
        IsSafeInstallDir(session.GetInstallDir()))
        return true;
    MessageBoxW(nullptr, L"配置文件读取错误", L"Error", MB_OK);
    PostMessageW(nullptr, WM_QUIT, 0, 0);
    return false;
}
