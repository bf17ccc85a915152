#include <windows.h>

#include "uninstaller/TextConvert.h"
#include "uninstaller/UninstallSession.h"

#include <algorithm>
#include <cstring>

namespace {

std::wstring GetEnvironmentString(const wchar_t* name) {
    std::wstring value(260, L'\0');
    DWORD n = GetEnvironmentVariableW(name, &value[0], static_cast<DWORD>(value.size()));
    if (n >= value.size()) {
        value.resize(n);
        n = GetEnvironmentVariableW(name, &value[0], n);
    }
    value.resize(n < value.size() ? n : 0);
    return value;
}

// Copies at most capacity-1 characters; the rest of the field stays zero.
template <size_t N> void CopyField(wchar_t (&field)[N], const std::wstring& text) {
    const size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n * sizeof(wchar_t));
}

} // namespace

UninstallSession::UninstallSession(const wchar_t* commandLine)
    : config_(new GameConfig), link_(std::make_shared<SessionLink>()) {
    link_->session = this;
    installDir_ = commandLine ? commandLine : L"";
    configPath_ = installDir_ + L"\\installedFileList.txt";
    configValid_ = ReadConfig(*this);
    if (!configValid_)
        return;
    PrepareTempFiles();
}

UninstallSession::~UninstallSession() {
    const std::lock_guard<std::mutex> guard(link_->lock);
    link_->session = nullptr;
}

void UninstallSession::PrepareTempFiles() {
    tempFolder_ = GetEnvironmentString(L"TEMP");
    serverListPath_ = tempFolder_ + L"\\Serverlist.ini";
    ExtractResourceToFile(105, L"STATISCNF", serverListPath_.c_str());
    ExtractResourceToFile(104, L"STATISCNF", (tempFolder_ + L"\\SystemInfoKeys.xml").c_str());
    const std::wstring archive = tempFolder_ + L"\\Plugins.zip";
    const bool unpacked = ExtractResourceToFile(106, L"ZIPRES", archive.c_str()) &&
                          UnzipArchiveToDir(archive.c_str(), tempFolder_.c_str());
    LoadChannelPlugin(unpacked);
}

// The plug-in runs inside this elevated process: only the library that was
// just unpacked from the executable may be loaded, never one that merely
// lies in the temporary folder.
void UninstallSession::LoadChannelPlugin(bool archiveUnpacked) {
    if (!archiveUnpacked)
        return;
    const std::wstring path = tempFolder_ + L"\\" + CHANNEL_PLUGIN_DLL_NAME;
    pluginModule = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!pluginModule)
        return;
    const auto factory = reinterpret_cast<CreateChannelPluginFn>(
        reinterpret_cast<void*>(GetProcAddress(pluginModule, CHANNEL_PLUGIN_FACTORY_NAME)));
    if (!factory)
        return;
    plugin = factory(CHANNEL_PLUGIN_INTERFACE_ID);
    if (plugin)
        InitChannelPlugin(*this);
}

void FillChannelPluginParams(const UninstallSession& session, ChannelPluginParams& params) {
    std::memset(&params, 0, sizeof params);
    params.one = 1;
    params.installerType = 1;
    params.zero = 0;
    const GameConfig& config = *session.GetGameConfig();
    CopyField(params.installDir, session.GetInstallDir());
    CopyField(params.gameVersion, Utf8ToWide(config.Gversion.c_str()));
    if (!config.GameKeyOnChannel.empty())
        CopyField(params.gameKeyOnChannel, config.GameKeyOnChannel);
    if (!config.GameInstallerType.empty())
        params.installerType = static_cast<uint16_t>(_wtoi(config.GameInstallerType.c_str()));
    if (!config.ChannelSDKDir.empty())
        CopyField(params.channelSdkDir, config.ChannelSDKDir);
}

void InitChannelPlugin(UninstallSession& session) {
    ChannelPluginParams params;
    FillChannelPluginParams(session, params);
    if (session.plugin)
        session.plugin->Initialize(&params);
}

void LoadEmbeddedFont(UninstallSession& session) {
    const HMODULE self = GetModuleHandleW(nullptr);
    // Looked up under "BINARY" as the font has always been; the executable
    // carries it as "FONTRES".
    HRSRC res = FindResourceW(self, MAKEINTRESOURCEW(103), L"BINARY");
    if (!res)
        res = FindResourceW(self, MAKEINTRESOURCEW(103), L"FONTRES");
    if (!res)
        return;
    const HGLOBAL loaded = LoadResource(self, res);
    void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return;
    DWORD count = 0;
    session.fontHandle = AddFontMemResourceEx(data, SizeofResource(self, res), nullptr, &count);
}

void UnloadEmbeddedFont(UninstallSession& session) {
    if (session.fontHandle) {
        RemoveFontMemResourceEx(session.fontHandle);
        session.fontHandle = nullptr;
    }
}
