#pragma once
#include <windows.h>

#include "uninstaller/ChannelPlugin.h"
#include "uninstaller/EventThreadList.h"
#include "uninstaller/GameConfig.h"
#include "uninstaller/SurveyInfo.h"

#include <memory>
#include <mutex>
#include <string>

class UninstallSession;

// How a reply that arrives on another thread finds its session: the session cuts the link when
// it goes, so that a late reply finds no session instead of a freed one.
struct SessionLink {
    std::mutex lock;
    UninstallSession* session = nullptr;
};

// Everything one run knows about the installation it removes. Created once,
// before the main window exists; the main window frees it.
class UninstallSession {
public:
    // Takes the command line as the installation directory, reads the
    // configuration, writes the embedded files to the temporary folder and
    // loads the channel plug-in.
    explicit UninstallSession(const wchar_t* commandLine);
    ~UninstallSession();
    UninstallSession(const UninstallSession&) = delete;
    UninstallSession& operator=(const UninstallSession&) = delete;

    GameConfig* GetGameConfig() { return config_.get(); }
    const GameConfig* GetGameConfig() const { return config_.get(); }
    void SetFrameWindow(HWND hwnd) { frameWindow_ = hwnd; }
    HWND GetFrameWindow() const { return frameWindow_; }
    const wchar_t* GetInstallDir() const { return installDir_.c_str(); }
    const std::wstring& GetConfigPath() const { return configPath_; }
    const std::wstring& GetServerListPath() const { return serverListPath_; }
    // Points the statistics events at another server list (the written one by default).
    void SetServerListPath(const std::wstring& path) { serverListPath_ = path; }
    const std::wstring& GetTempFolder() const { return tempFolder_; }
    bool IsConfigValid() const { return configValid_; }

    SurveyInfo& Survey() { return survey_; }
    EventThreadList& EventThreads() { return eventThreads_; }
    std::shared_ptr<SessionLink> Link() const { return link_; }

    HANDLE fontHandle = nullptr;
    HMODULE pluginModule = nullptr;
    VELMORA_INSTALLER::IInstallerChannelPluginBase* plugin = nullptr;

private:
    void PrepareTempFiles();
    void LoadChannelPlugin(bool archiveUnpacked);

    SurveyInfo survey_;
    EventThreadList eventThreads_;
    HWND frameWindow_ = nullptr;
    std::wstring installDir_;
    std::wstring configPath_;
    std::wstring serverListPath_;
    std::wstring tempFolder_;
    std::unique_ptr<GameConfig> config_;
    bool configValid_ = false;
    std::shared_ptr<SessionLink> link_;
};

// Reads "installedFileList.txt" into the session's GameConfig and checks the
// installation folder (a folder the removal refuses is a configuration error
// too). On a configuration error shows "配置文件读取错误", queues a quit message and
// returns false.
bool ReadConfig(UninstallSession& session);

// The reading alone: fills config key by key and stops at the first required
// key that is empty (keys read before it stay stored). A file too large to
// hold in memory reads as one without keys.
bool ReadConfigFile(const std::wstring& configPath, const std::wstring& installDir,
                    GameConfig& config);

// Writes the executable's resource (type, id) to a file, replacing it.
bool ExtractResourceToFile(WORD id, const wchar_t* type, const wchar_t* path);

// Unpacks every entry of a zip file below a directory.
bool UnzipArchiveToDir(const wchar_t* zipPath, const wchar_t* directory);

// Fills the plug-in's parameter block from the session.
void FillChannelPluginParams(const UninstallSession& session, ChannelPluginParams& params);
void InitChannelPlugin(UninstallSession& session);

void LoadEmbeddedFont(UninstallSession& session);
void UnloadEmbeddedFont(UninstallSession& session);
