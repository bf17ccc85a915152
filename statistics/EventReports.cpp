#include <windows.h>

#include "statistics/BracelessFastWriter.h"
#include "statistics/CodePageConverter.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/HardwareCollectors.h"
#include "statistics/HttpTransport.h"
#include "statistics/MachId.h"
#include "statistics/NetworkAdapters.h"
#include "statistics/OsCode.h"
#include "statistics/ReportWmiScope.h"
#include "statistics/ServerListCache.h"
#include "statistics/TextHelpers.h"

#include <io.h>

#include <vector>

namespace {

const wchar_t kServerListName[] = L"Serverlist.ini";
const wchar_t kSectionInst[] = L"SubmitEventInst";
const wchar_t kSectionUpdt[] = L"SubmitEventUpdt";
const wchar_t kSectionDownload[] = L"SubmitEventDownload";
const wchar_t kDeviceInfoCode[] = L"0";

bool FileExists(const std::wstring& path) {
    return !path.empty() && ::_waccess(path.c_str(), 0) == 0;
}

bool HasAllKeyWords(const std::vector<std::string>& keyWords, const std::wstring& text) {
    const CodePageConverter ansi(CP_ACP);
    for (const std::string& keyWord : keyWords) {
        if (text.find(ansi.ToWide(keyWord)) == std::wstring::npos) {
            return false;
        }
    }
    return true;
}

bool IsDeviceInfoCode(const wchar_t* code) {
    return ::CompareStringW(::GetThreadLocale(), 0, code, -1, kDeviceInfoCode, -1) == CSTR_EQUAL;
}

int MaskValue(const int* hardwareMask) {
    return hardwareMask != nullptr ? *hardwareMask : 0;
}

} // namespace

bool ReplyHasNoError(const std::string& reply) {
    return reply.find("\"error\":0") != std::string::npos;
}

bool CDataStatisticsImp::SettleServerListPath() {
    if (serverListPath.empty()) {
        std::wstring folder;
        if (!GetModuleDirectory(folder)) {
            return false;
        }
        serverListPath = folder + kServerListName;
    }
    return FileExists(serverListPath);
}

bool CDataStatisticsImp::UseServerListBesideModule() {
    std::wstring folder;
    if (!GetModuleDirectory(folder)) {
        return false;
    }
    serverListPath = folder + kServerListName;
    return FileExists(serverListPath);
}

int CDataStatisticsImp::LoadKeyWords(const std::wstring& path, const wchar_t* section) {
    ServerListSection parsed = ReadServerListSection(path, section);
    inputKeyWords = std::move(parsed.inputKeyWords);
    submitKeyWords = std::move(parsed.submitKeyWords);
    return 1;
}

int CDataStatisticsImp::LoadSubmitUrls(const std::wstring& path, const wchar_t* section) {
    submitUrls = ReadServerListSection(path, section).submitUrls;
    return 1;
}

bool CDataStatisticsImp::HasAllInputKeyWords(const std::wstring& text) const {
    return HasAllKeyWords(inputKeyWords, text);
}

bool CDataStatisticsImp::HasAllSubmitKeyWords(const std::wstring& text) const {
    return HasAllKeyWords(submitKeyWords, text);
}

void CDataStatisticsImp::FillComponentMembers(int hardwareMask, Json::Value& info) {
    if (hardwareMask != 0) {
        if ((hardwareMask & STAT_HW_CPU) != 0) {
            CollectCpu(wmi, info);
        }
        if ((hardwareMask & STAT_HW_MEMORY) != 0) {
            CollectMemory(wmi, info);
        }
        if ((hardwareMask & STAT_HW_VIDEO) != 0) {
            CollectVideoCard(wmi, info);
        }
    }
    ReadMacAndIp(macText, ipText);
    osCode.clear();
    BuildOsCode(osCode);
    AddMachIdToJson(info);
    info["Mac"] = macText;
    info["OS"] = osCode;
    // The JSON writer takes its texts as UTF-8; a session id set through the wide setter is in
    // the system's code page.
    info["Sessionid"] =
        CodePageConverter(CP_UTF8).ToMultiByte(CodePageConverter(CP_ACP).ToWide(sessionId));
}

std::wstring CDataStatisticsImp::BuildEventText(const wchar_t* extraJson, int hardwareMask) {
    Json::Value info(Json::objectValue);
    FillComponentMembers(hardwareMask, info);
    Json::BracelessFastWriter writer;
    const std::string members = writer.writeBraceless(info);
    return L"{" + CodePageConverter(936).ToWide(members) + (extraJson ? extraJson : L"") + L"}";
}

int CDataStatisticsImp::BuildEventBody(const wchar_t* code, const wchar_t* extraJson,
                                       const int* hardwareMask, std::string& body) {
    const std::wstring text = BuildEventText(extraJson, MaskValue(hardwareMask));
    if (!HasAllSubmitKeyWords(text)) {
        return STAT_BODY_FAILED;
    }
    const CodePageConverter utf8(CP_UTF8);
    body = "code=" + utf8.ToMultiByte(code) + "&info=" + PercentEncode(utf8.ToMultiByte(text));
    return STAT_OK;
}

int CDataStatisticsImp::PostToServerList(const std::string& body) {
    for (const std::string& url : submitUrls) {
        if (url.empty()) {
            continue;
        }
        std::string reply;
        HttpPostForm(url.c_str(), body.c_str(), reply, reportTimeouts);
        // Only the reply's marker counts: a transfer that failed simply has none.
        if (ReplyHasNoError(reply)) {
            return STAT_OK;
        }
    }
    return STAT_FAILED;
}

int CDataStatisticsImp::SendEventReport(const wchar_t* section, const wchar_t* code,
                                        const wchar_t* extraJson, const int* hardwareMask) {
    LoadKeyWords(serverListPath, section);
    if (!HasAllInputKeyWords(extraJson)) {
        return STAT_INPUT_KEY_MISSING;
    }
    std::string body;
    if (BuildEventBody(code, extraJson, hardwareMask, body) != STAT_OK) {
        return STAT_BODY_FAILED;
    }
    LoadSubmitUrls(serverListPath, section);
    return PostToServerList(body);
}

int CDataStatisticsImp::DoSubmitEventInst(const wchar_t* code, const wchar_t* extraJson,
                                          const int* hardwareMask) {
    if (!SettleServerListPath()) {
        return STAT_FAILED;
    }
    if (IsDeviceInfoCode(code)) {
        return DoSubmitDeviceInfo(extraJson);
    }
    const ReportWmiScope wmiScope(wmi, MaskValue(hardwareMask));
    return SendEventReport(kSectionInst, code, extraJson, hardwareMask);
}

int CDataStatisticsImp::DoSubmitEventUpdt(const wchar_t* code, const wchar_t* extraJson,
                                          const int* hardwareMask) {
    const ReportWmiScope wmiScope(wmi, MaskValue(hardwareMask));
    // Update reports always go to the list beside the component, whatever path was set.
    if (!UseServerListBesideModule()) {
        return STAT_FAILED;
    }
    return SendEventReport(kSectionUpdt, code, extraJson, hardwareMask);
}

int CDataStatisticsImp::DoSubmitEventDownload(const wchar_t* code, const wchar_t* extraJson,
                                              const int* hardwareMask) {
    const ReportWmiScope wmiScope(wmi, MaskValue(hardwareMask));
    if (!SettleServerListPath()) {
        return STAT_FAILED;
    }
    return SendEventReport(kSectionDownload, code, extraJson, hardwareMask);
}
