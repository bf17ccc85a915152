#include <windows.h>

#include "statistics/BracelessFastWriter.h"
#include "statistics/CodePageConverter.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/HardwareCollectors.h"
#include "statistics/MachId.h"
#include "statistics/NetworkAdapters.h"
#include "statistics/OsCode.h"
#include "statistics/ReportWmiScope.h"
#include "statistics/SystemInfoKeyList.h"
#include "statistics/TextHelpers.h"

#include <io.h>

#include <iterator>

// The device-information report: the machine inventory that SubmitEventInst sends for the code
// "0", steered by the information-item list beside the component.

namespace {

const wchar_t kSection[] = L"SubmitDeviceInfo";
const wchar_t kListName[] = L"SystemInfoKeys.xml";
const char kListMissing[] = "ERR : something wrong with SystemInfoKeys.xml or no such files!";

struct HardwareGroup {
    const wchar_t* element;
    void (*collect)(const WmiSession& session, Json::Value& out);
};

// In the order the report collects them.
const HardwareGroup kHardwareGroups[] = {
    {L"CPU_INFO", [](const WmiSession& s, Json::Value& out) { CollectCpu(s, out); }},
    {L"DISK_INFO", [](const WmiSession& s, Json::Value& out) { CollectDisk(s, out); }},
    {L"Memory", [](const WmiSession& s, Json::Value& out) { CollectMemory(s, out); }},
    {L"Monitor", [](const WmiSession& s, Json::Value& out) { CollectMonitor(s, out); }},
    {L"Video_Card", [](const WmiSession& s, Json::Value& out) { CollectVideoCard(s, out); }},
    {L"Netword_Adapter", [](const WmiSession&, Json::Value& out) { CollectNetworkAdapters(out); }},
    {L"SOUND_DEVICE", [](const WmiSession& s, Json::Value& out) { CollectSoundCard(s, out); }},
};

// In the order the report reads them; the component keeps one program map per category.
const wchar_t* const kCategories[] = {
    L"Security_Software", L"Browser_Software",  L"Input_Method",   L"Media_Player",
    L"Music_Tools",       L"Download_Software", L"Chat_Tools",     L"Assisted_Tools",
    L"Compression_Tools", L"Office_Software",   L"Other_Software",
};
constexpr size_t kBrowserCategory = 1;

const CodePageConverter kUtf8(CP_UTF8);

std::string NarrowName(const wchar_t* name) {
    return kUtf8.ToMultiByte(name);
}

std::pair<std::wstring, std::wstring> MakeIeVersionPair(const std::wstring& version) {
    return {L"Internet Explorer", version};
}

} // namespace

int CDataStatisticsImp::DoSubmitDeviceInfo(const wchar_t* extraJson) {
    // Only this report lists installed programs; an event's bytes never depend on them, so the
    // registry walk (tens of milliseconds on a normal PC) is paid here alone, once per report.
    softwareScanner.ScanAll();
    const ReportWmiScope wmiScope(wmi, ReportWmiScope::Forced());
    LoadKeyWords(serverListPath, kSection);
    if (!HasAllInputKeyWords(extraJson)) {
        return STAT_DEVICE_INPUT_KEY_MISSING;
    }
    std::string body;
    const int built = BuildDeviceInfoBody(extraJson, body);
    if (built != STAT_OK) {
        return built;
    }
    LoadSubmitUrls(serverListPath, kSection);
    return PostToServerList(body);
}

int CDataStatisticsImp::BuildDeviceInfoBody(const wchar_t* extraJson, std::string& body) {
    std::wstring text;
    if (!BuildDeviceInfoText(extraJson, text)) {
        return STAT_NO_MODULE_DIR;
    }
    if (!HasAllSubmitKeyWords(text)) {
        return STAT_DEVICE_BODY_FAILED;
    }
    body = "info=" + PercentEncode(kUtf8.ToMultiByte(text));
    return STAT_OK;
}

bool CDataStatisticsImp::BuildDeviceInfoText(const wchar_t* extraJson, std::wstring& text) {
    std::wstring folder;
    if (!GetModuleDirectory(folder)) {
        return false;
    }
    systemInfoKeysPath = folder + kListName;
    Json::Value root(Json::objectValue);
    SystemInfoKeyList list;
    if (::_waccess(systemInfoKeysPath.c_str(), 0) != 0) {
        root["Extra_Err_Msg"] = kListMissing;
    } else {
        list.Load(systemInfoKeysPath);
    }

    // A fresh object per report: a group the list no longer asks for must not linger.
    hardwareInfo = Json::Value(Json::objectValue);
    hardwareInfo["Module"] = "pt_hardware";
    for (size_t group = 0; group < std::size(kHardwareGroups); ++group) {
        ReadHardwareGroup(list, group);
    }
    AddMachIdToJson(hardwareInfo);

    Json::Value software(Json::objectValue);
    software["Module"] = "pt_software";
    for (size_t category = 0; category < std::size(kCategories); ++category) {
        // A category that cannot be read reports no programs.
        Json::Value programs(Json::arrayValue);
        ReadSoftwareCategory(list, category, programs);
        software[NarrowName(kCategories[category])] = programs;
    }

    Json::Value os(Json::objectValue);
    os["Module"] = "pt_os";
    osCode.clear();
    BuildOsCode(osCode);
    os["Windows_Code"] = osCode;

    ReadMacAndIp(macText, ipText);
    std::string date;
    GetLocalTimeText(date);
    root["Data_Date"] = date;
    root["Mac_Address"] = macText;
    root["IP"] = ipText;
    Json::Value& clientInfo = root["Client_Info"] = Json::Value(Json::arrayValue);
    clientInfo.append(hardwareInfo);
    clientInfo.append(software);
    clientInfo.append(os);

    Json::BracelessFastWriter writer;
    text = L"{" + kUtf8.ToWide(writer.writeBraceless(root)) + (extraJson ? extraJson : L"") + L"}";
    return true;
}

int CDataStatisticsImp::ReadHardwareGroup(SystemInfoKeyList& list, size_t group) {
    if (!list.IsGroupSubmitted(kHardwareGroups[group].element)) {
        return 0;
    }
    kHardwareGroups[group].collect(wmi, hardwareInfo);
    return 1;
}

int CDataStatisticsImp::ReadSoftwareCategory(SystemInfoKeyList& list, size_t category,
                                             Json::Value& out) {
    InstalledSoftwareMap& found = softwareFound[category];
    found.clear();
    std::vector<std::wstring> patterns;
    if (!list.ReadCategoryPatterns(kCategories[category], patterns)) {
        return 0;
    }
    for (const std::wstring& pattern : patterns) {
        FindInstalledSoftware(found, softwareScanner, LowerAsciiLetters(pattern));
    }
    if (category == kBrowserCategory) {
        const std::wstring ieVersion = GetIeVersion();
        if (!ieVersion.empty()) {
            found.insert(MakeIeVersionPair(ieVersion));
        }
    }
    SoftwareMapToJson(out, found);
    return 1;
}

void CDataStatisticsImp::SoftwareMapToJson(Json::Value& out, InstalledSoftwareMap map) {
    Json::Value programs(Json::arrayValue);
    Json::Value program(Json::objectValue);
    for (const auto& entry : map) {
        program["Name"] = kUtf8.ToMultiByte(entry.first);
        program["Version"] = kUtf8.ToMultiByte(entry.second);
        programs.append(program);
    }
    out = programs;
}
