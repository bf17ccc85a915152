#pragma once
#include <windows.h>

#include <json/json.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "statistics/DataStatistics.h"
#include "statistics/HttpTransport.h"
#include "statistics/InstalledSoftwareScanner.h"
#include "statistics/WmiSession.h"

class SystemInfoKeyList;

// The one implementation of IDataStatisticsUser. The interface operations guard the work (crash
// dump filter, catch-all); the Do* and Build* members do it and are public so that tests and
// benchmarks can reach a report's pieces without the network.
class CDataStatisticsImp : public IDataStatisticsUser {
public:
    // Every report gives each server the time-outs given here.
    explicit CDataStatisticsImp(const HttpTimeouts& timeouts = kReportTimeouts);
    ~CDataStatisticsImp() override;
    CDataStatisticsImp(const CDataStatisticsImp&) = delete;
    CDataStatisticsImp& operator=(const CDataStatisticsImp&) = delete;

    int SubmitEventInst(const char* code, const char* extraJson, int* hardwareMask) override;
    int SubmitEventInst(const wchar_t* code, const wchar_t* extraJson, int* hardwareMask) override;
    int SubmitEventUpdt(const char* code, const char* extraJson, int* hardwareMask) override;
    int SubmitEventUpdt(const wchar_t* code, const wchar_t* extraJson, int* hardwareMask) override;
    int SubmitEventDownload(const wchar_t* code, const wchar_t* extraJson,
                            int* hardwareMask) override;
    int SubmitEventDownload(const char* code, const char* extraJson, int* hardwareMask) override;
    void SetServerListPath(const wchar_t* path) override;
    void SetServerListPath(const char* path) override;
    void SetSessionId(const wchar_t* sessionId) override;
    void SetSessionId(const char* sessionId) override;
    int AddDownloadEvent(const wchar_t* code, const wchar_t* info, int* hardwareMask) override;
    int AddDownloadEvent(const char* code, const char* info, int* hardwareMask) override;
    int SubmitEventDownloadSeveral() override;
    int GetMachineId(wchar_t* buffer, const int* sizeInChars) override;
    int GetMachineId(char* buffer, const int* sizeInBytes) override;

    // The reports (event and batch: EventReports.cpp, DownloadBatch.cpp).
    int DoSubmitEventInst(const wchar_t* code, const wchar_t* extraJson, const int* hardwareMask);
    int DoSubmitEventUpdt(const wchar_t* code, const wchar_t* extraJson, const int* hardwareMask);
    int DoSubmitEventDownload(const wchar_t* code, const wchar_t* extraJson,
                              const int* hardwareMask);
    int DoAddDownloadEvent(const wchar_t* code, const wchar_t* info, const int* hardwareMask);
    int CheckDownloadEventInput(const wchar_t* info);
    int DoSubmitEventDownloadSeveral();
    // The inventory report that SubmitEventInst sends for the code "0" (DeviceInfoReport.cpp).
    int DoSubmitDeviceInfo(const wchar_t* extraJson);
    // 1 built, STAT_NO_MODULE_DIR, or STAT_DEVICE_BODY_FAILED (body untouched).
    int BuildDeviceInfoBody(const wchar_t* extraJson, std::string& body);
    // The report text alone ("{" + members + extraJson + "}"); false when the module folder (where
    // "SystemInfoKeys.xml" lies) cannot be found.
    bool BuildDeviceInfoText(const wchar_t* extraJson, std::wstring& text);

    int LoadKeyWords(const std::wstring& serverListPath, const wchar_t* section);
    int LoadSubmitUrls(const std::wstring& serverListPath, const wchar_t* section);
    // 1 built, STAT_BODY_FAILED when a submit keyword is missing (body untouched).
    int BuildEventBody(const wchar_t* code, const wchar_t* extraJson, const int* hardwareMask,
                       std::string& body);
    // The report text alone: "{" + the component's members + "\n" + extraJson + "}".
    std::wstring BuildEventText(const wchar_t* extraJson, int hardwareMask);
    int BuildBatchItem(const std::wstring& code, const std::wstring& info, int hardwareMask,
                       Json::Value& item);
    static bool RemoveDuplicateDownloadEvents(std::vector<std::wstring>& codes,
                                              std::vector<std::wstring>& infos,
                                              std::vector<int>& masks);
    int BuildBatchBody(std::string& body);
    int PostToServerList(const std::string& body);

    const std::string& SessionId() const { return sessionId; }
    const std::wstring& ServerListPath() const { return serverListPath; }
    const std::vector<std::string>& SubmitUrls() const { return submitUrls; }
    const std::vector<std::string>& InputKeyWords() const { return inputKeyWords; }
    const std::vector<std::string>& SubmitKeyWords() const { return submitKeyWords; }
    size_t QueuedDownloadEvents() const;
    std::uint64_t Sequence() const { return sequence; }

private:
    // The server list's path for the Inst and Download reports: the one set, else the one beside
    // the component. False when the file does not exist.
    bool SettleServerListPath();
    // Always the list beside the component; false when the folder is unknown or the file missing.
    bool UseServerListBesideModule();
    // Fills the component's members of an event or batch item: hardware groups, Mac, MachId, OS,
    // Sessionid.
    void FillComponentMembers(int hardwareMask, Json::Value& info);
    // Whether every keyword of the loaded lists occurs in text (case-sensitive substring search).
    bool HasAllInputKeyWords(const std::wstring& text) const;
    bool HasAllSubmitKeyWords(const std::wstring& text) const;
    int SendEventReport(const wchar_t* section, const wchar_t* code, const wchar_t* extraJson,
                        const int* hardwareMask);

    // The device-information report's pieces (DeviceInfoReport.cpp).
    int ReadHardwareGroup(SystemInfoKeyList& list, size_t group);
    int ReadSoftwareCategory(SystemInfoKeyList& list, size_t category, Json::Value& out);
    static void SoftwareMapToJson(Json::Value& out, InstalledSoftwareMap map);

    const HttpTimeouts reportTimeouts;
    WmiSession wmi;
    InstalledSoftwareScanner softwareScanner;
    std::vector<std::wstring> downloadCodes;
    std::vector<std::wstring> downloadInfos;
    std::vector<int> downloadMasks;
    mutable std::mutex batchLock;
    std::uint64_t sequence = 0;
    std::string sessionId;
    std::wstring systemInfoKeysPath;
    std::wstring serverListPath;
    Json::Value hardwareInfo;
    std::string macText;
    std::string ipText;
    InstalledSoftwareMap softwareFound[11];
    std::string osCode;
    std::vector<std::string> submitUrls;
    std::vector<std::string> inputKeyWords;
    std::vector<std::string> submitKeyWords;
};

// Whether a reply holds the exact bytes "error":0 anywhere.
bool ReplyHasNoError(const std::string& reply);

// Test and diagnostics: the process-wide count of AddDownloadEvent calls since the last batch.
int GetDownloadBatchCounter();
