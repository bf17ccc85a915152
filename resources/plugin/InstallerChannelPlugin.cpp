// Stand-in for the maker's channel plug-in. It answers the factory call
// with an object of the plug-in interface and writes every call it gets,
// with the parameter block's fields, to "InstallerChannelPlugin.log" in its
// own folder, one line per call in UTF-8.
#include <windows.h>

#include "uninstaller/ChannelPlugin.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

HMODULE g_module = nullptr;

std::string Utf8(const wchar_t* text, size_t maxChars) {
    size_t n = 0;
    while (n < maxChars && text[n])
        ++n;
    if (n == 0)
        return {};
    const int len =
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(len), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), &out[0], len, nullptr, nullptr);
    return out;
}

template <size_t N> std::string Field(const wchar_t (&field)[N]) {
    return Utf8(field, N);
}

template <size_t N> bool AllZero(const wchar_t (&field)[N]) {
    for (wchar_t c : field) {
        if (c)
            return false;
    }
    return true;
}

void Log(const std::string& line) {
    wchar_t path[MAX_PATH + 32] = {};
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return;
    wchar_t* slash = wcsrchr(path, L'\\');
    wcscpy(slash ? slash + 1 : path, L"InstallerChannelPlugin.log");
    FILE* f = _wfopen(path, L"ab");
    if (!f)
        return;
    fprintf(f, "%s\r\n", line.c_str());
    fclose(f);
}

class StandInPlugin : public VELMORA_INSTALLER::IInstallerChannelPluginBase {
public:
    bool Initialize(ChannelPluginParams* p) override {
        if (!p) {
            Log("Initialize null");
            return false;
        }
        Log("Initialize reservedEmpty=" + std::string(AllZero(p->reserved) ? "1" : "0") +
            "\tinstallDir=" + Field(p->installDir) + "\tchannelSdkDir=" + Field(p->channelSdkDir) +
            "\tgameVersion=" + Field(p->gameVersion) +
            "\tgameKeyOnChannel=" + Field(p->gameKeyOnChannel) + "\tone=" + std::to_string(p->one) +
            "\tinstallerType=" + std::to_string(p->installerType) +
            "\tzero=" + std::to_string(p->zero));
        return true;
    }
    void ReservedForInstaller1() override { Log("ReservedForInstaller1"); }
    void ReservedForInstaller2() override { Log("ReservedForInstaller2"); }
    void OnUninstallComplete() override { Log("OnUninstallComplete"); }
};

} // namespace

extern "C" __declspec(dllexport)
    VELMORA_INSTALLER::IInstallerChannelPluginBase* __cdecl CreateInstallerChannelPluginObject(
        const char* interfaceId) {
    const bool known = interfaceId && std::strcmp(interfaceId, CHANNEL_PLUGIN_INTERFACE_ID) == 0;
    Log(std::string("Create ") + (interfaceId ? interfaceId : "(null)"));
    if (!known)
        return nullptr;
    static StandInPlugin plugin;
    return &plugin;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}
