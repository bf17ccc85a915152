#pragma once
#include "uninstaller/GameConfig.h"

#include <string>

// The configuration read the way the program read it before it parsed the file itself: through
// the Windows profile API, one call per key, from a UTF-16 copy of the file decoded as the
// installer wrote it. The tests hold the program's own parser to exactly these results.
bool ReadConfigFileWithProfileApi(const std::wstring& configFile, const std::wstring& installDir,
                                  GameConfig& config);

// Every field equal.
inline bool operator==(const GameConfig& a, const GameConfig& b) {
    return a.Gameid == b.Gameid && a.Gversion == b.Gversion && a.chsName == b.chsName &&
           a.enName == b.enName && a.website == b.website &&
           a.GameKeyOnChannel == b.GameKeyOnChannel && a.ChannelSDKDir == b.ChannelSDKDir &&
           a.GameInstallerType == b.GameInstallerType && a.surveyurl == b.surveyurl &&
           a.surveytoken == b.surveytoken && a.SkipDir == b.SkipDir && a.SkipFile == b.SkipFile &&
           a.shortcut == b.shortcut;
}

// A UTF-16 copy of a configuration file in the temporary folder, deleted when it goes; a file
// that already starts with a UTF-16 mark (unless its length is odd), or that cannot be read or
// copied, is read where it is.
class ConfigFileCopy {
public:
    explicit ConfigFileCopy(const std::wstring& configPath);
    ~ConfigFileCopy();
    ConfigFileCopy(const ConfigFileCopy&) = delete;
    ConfigFileCopy& operator=(const ConfigFileCopy&) = delete;

    // The file to hand to the profile API.
    const std::wstring& Path() const { return copy_.empty() ? original_ : copy_; }

private:
    std::wstring original_;
    std::wstring copy_;
};
