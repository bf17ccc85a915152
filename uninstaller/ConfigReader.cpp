#include <windows.h>

#include "uninstaller/ConfigSource.h"
#include "uninstaller/ConfigText.h"
#include "uninstaller/InstallDirGuard.h"
#include "uninstaller/ProfileText.h"
#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"

#include <cwchar>
#include <new>
#include <set>
#include <stdexcept>

namespace {

void LowerAscii(std::wstring& s) {
    for (wchar_t& c : s) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
}

// The section's keys that are entry numbers below total ("0", "1", ... without leading zeros),
// in ascending order. Only keys that exist are read, however large total claims to be.
std::set<int> ListedEntryNumbers(const ConfigSource& source, const wchar_t* section, int total) {
    std::set<int> numbers;
    for (const std::wstring& name : source.KeyNames(section)) {
        if (name.empty())
            break;
        const int number = _wtoi(name.c_str());
        if (number >= 0 && number < total && std::to_wstring(number) == name)
            numbers.insert(number);
    }
    return numbers;
}

// Reads "totalnum" and the keys 0 .. totalnum-1 of a list section; empty
// values are skipped. With a prefix, entries become lower-cased full paths.
std::vector<std::wstring> ReadList(const ConfigSource& source, const wchar_t* section,
                                   const std::wstring* prefix) {
    std::vector<std::wstring> out;
    const int total = _wtoi(source.Value(section, L"totalnum", L"0").c_str());
    if (total <= 0)
        return out;
    for (const int i : ListedEntryNumbers(source, section, total)) {
        std::wstring value = source.Value(section, std::to_wstring(i).c_str(), L"");
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

bool ReadGameConfig(const ConfigSource& source, const std::wstring& installDir,
                    GameConfig& config) {
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
        const std::wstring value = source.Value(k.section, k.key, L"");
        if (k.required && value.empty())
            return false;
        if (k.wide)
            *k.wide = value;
        else
            *k.utf8 = WideToUtf8(value);
    }
    config.SkipDir = ReadList(source, L"SkipDir", &installDir);
    config.SkipFile = ReadList(source, L"SkipFile", &installDir);
    config.shortcut = ReadList(source, L"shortcut", nullptr);
    return true;
}

bool ReadConfigFile(const std::wstring& configPath, const std::wstring& installDir,
                    GameConfig& config) {
    // One read and one pass over the file; every key is then looked up in memory. A file too
    // large to hold (hundreds of megabytes in this 32-bit process) has no values, as the profile
    // API has none for a file it cannot load: the configuration is refused, nothing is removed.
    try {
        return ReadGameConfig(ProfileText(ReadConfigText(configPath)), installDir, config);
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return false;
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
