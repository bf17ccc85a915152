#pragma once
#include <string>
#include <vector>

// The contents of the installation's "installedFileList.txt".
struct GameConfig {
    std::string Gameid;   // UTF-8
    std::string Gversion; // UTF-8
    std::wstring chsName;
    std::wstring enName;
    std::wstring website;
    std::wstring GameKeyOnChannel;
    std::wstring ChannelSDKDir;
    std::wstring GameInstallerType;
    std::string surveyurl;              // UTF-8
    std::string surveytoken;            // UTF-8
    std::vector<std::wstring> SkipDir;  // full lower-case paths
    std::vector<std::wstring> SkipFile; // full lower-case paths
    std::vector<std::wstring> shortcut; // file names as written
};
