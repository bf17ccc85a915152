#pragma once
#include <cstddef>
#include <cstdint>

// The contract with the maker's channel plug-in "InstallerChannelPlugin.dll".
// Both the uninstaller and the stand-in plug-in include this header; the
// block's layout crosses the library boundary and must not change.

#pragma pack(push, 1)
struct ChannelPluginParams {
    wchar_t reserved[260];
    wchar_t installDir[260];
    wchar_t channelSdkDir[260];
    wchar_t gameVersion[64];
    wchar_t gameKeyOnChannel[128];
    uint16_t one;
    uint16_t installerType;
    uint32_t zero;
};
#pragma pack(pop)

static_assert(sizeof(wchar_t) == 2, "the block holds UTF-16 texts");
static_assert(sizeof(ChannelPluginParams) == 1952, "fixed plug-in block size");
static_assert(offsetof(ChannelPluginParams, installDir) == 520, "layout");
static_assert(offsetof(ChannelPluginParams, channelSdkDir) == 1040, "layout");
static_assert(offsetof(ChannelPluginParams, gameVersion) == 1560, "layout");
static_assert(offsetof(ChannelPluginParams, gameKeyOnChannel) == 1688, "layout");
static_assert(offsetof(ChannelPluginParams, one) == 1944, "layout");
static_assert(offsetof(ChannelPluginParams, installerType) == 1946, "layout");
static_assert(offsetof(ChannelPluginParams, zero) == 1948, "layout");

namespace VELMORA_INSTALLER {

// Only the first and the fourth slot are called by the uninstaller; the two
// between belong to the installer's use of the plug-in.
class IInstallerChannelPluginBase {
public:
    virtual bool Initialize(ChannelPluginParams* params) = 0;
    virtual void ReservedForInstaller1() = 0;
    virtual void ReservedForInstaller2() = 0;
    virtual void OnUninstallComplete() = 0;

protected:
    ~IInstallerChannelPluginBase() = default;
};

} // namespace VELMORA_INSTALLER

#define CHANNEL_PLUGIN_DLL_NAME L"InstallerChannelPlugin.dll"
#define CHANNEL_PLUGIN_FACTORY_NAME "CreateInstallerChannelPluginObject"
#define CHANNEL_PLUGIN_INTERFACE_ID "F00735EC-6253-4472-BC19-99DC10E528D0"

typedef VELMORA_INSTALLER::IInstallerChannelPluginBase*(__cdecl* CreateChannelPluginFn)(
    const char* interfaceId);
