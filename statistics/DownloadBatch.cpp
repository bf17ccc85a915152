#include <windows.h>

#include "statistics/BracelessFastWriter.h"
#include "statistics/CodePageConverter.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/ReportWmiScope.h"
#include "statistics/TextHelpers.h"

#include <atomic>

namespace {

const wchar_t kSectionDownload[] = L"SubmitEventDownload";
const wchar_t kSectionSeveral[] = L"SubmitEventDownloadSeveral";

constexpr int kMaxDownloadEventsPerBatch = 20;

// AddDownloadEvent calls since the last batch, shared by every object of the process; event
// threads of different objects add at the same time.
std::atomic<int> g_downloadBatchCounter{0};

} // namespace

int GetDownloadBatchCounter() {
    return g_downloadBatchCounter.load();
}

size_t CDataStatisticsImp::QueuedDownloadEvents() const {
    const std::lock_guard<std::mutex> guard(batchLock);
    return downloadCodes.size();
}

int CDataStatisticsImp::CheckDownloadEventInput(const wchar_t* info) {
    if (!SettleServerListPath()) {
        return STAT_FAILED;
    }
    LoadKeyWords(serverListPath, kSectionDownload);
    if (!HasAllInputKeyWords(info != nullptr ? info : L"")) {
        return STAT_INPUT_KEY_MISSING;
    }
    return STAT_OK;
}

int CDataStatisticsImp::DoAddDownloadEvent(const wchar_t* code, const wchar_t* info,
                                           const int* hardwareMask) {
    const std::lock_guard<std::mutex> guard(batchLock);
    // Refused calls count too: the limit is on calls, not on queued events.
    const int calls = ++g_downloadBatchCounter;
    if (code == nullptr || info == nullptr) {
        return STAT_FAILED;
    }
    if (calls > kMaxDownloadEventsPerBatch) {
        return STAT_BATCH_FULL;
    }
    const int checked = CheckDownloadEventInput(info);
    if (checked == STAT_FAILED) {
        return STAT_NO_SERVER_LIST;
    }
    if (checked != STAT_OK) {
        return checked;
    }
    // The three lists must grow together: everything that can throw happens before the first
    // append.
    std::wstring codeCopy(code);
    std::wstring infoCopy(info);
    downloadCodes.reserve(downloadCodes.size() + 1);
    downloadInfos.reserve(downloadInfos.size() + 1);
    downloadMasks.reserve(downloadMasks.size() + 1);
    downloadCodes.push_back(std::move(codeCopy));
    downloadInfos.push_back(std::move(infoCopy));
    downloadMasks.push_back(hardwareMask != nullptr ? *hardwareMask : 0);
    return STAT_OK;
}

bool CDataStatisticsImp::RemoveDuplicateDownloadEvents(std::vector<std::wstring>& codes,
                                                       std::vector<std::wstring>& infos,
                                                       std::vector<int>& masks) {
    if (codes.size() != infos.size() || codes.size() != masks.size()) {
        return false;
    }
    size_t kept = 0;
    for (size_t i = 0; i < codes.size(); ++i) {
        bool seen = false;
        for (size_t j = 0; j < kept && !seen; ++j) {
            seen = codes[j] == codes[i] && infos[j] == infos[i] && masks[j] == masks[i];
        }
        if (seen) {
            continue;
        }
        if (kept != i) {
            codes[kept] = std::move(codes[i]);
            infos[kept] = std::move(infos[i]);
            masks[kept] = masks[i];
        }
        ++kept;
    }
    codes.resize(kept);
    infos.resize(kept);
    masks.resize(kept);
    return true;
}

int CDataStatisticsImp::BuildBatchItem(const std::wstring& code, const std::wstring& info,
                                       int hardwareMask, Json::Value& item) {
    Json::Value members(Json::objectValue);
    FillComponentMembers(hardwareMask, members);
    members["Sequence"] = Json::UInt64(sequence);
    Json::BracelessFastWriter writer;
    const std::wstring text =
        L"{" + CodePageConverter(936).ToWide(writer.writeBraceless(members)) + info + L"}";
    if (!HasAllSubmitKeyWords(text)) {
        return STAT_BODY_FAILED;
    }
    // UTF-8, as the writer expects, so that the batch stays UTF-8 whatever the code page.
    const CodePageConverter utf8(CP_UTF8);
    Json::Value built(Json::objectValue);
    built["code"] = utf8.ToMultiByte(code);
    built["info"] = utf8.ToMultiByte(text);
    item = std::move(built);
    return STAT_OK;
}

int CDataStatisticsImp::BuildBatchBody(std::string& body) {
    if (!RemoveDuplicateDownloadEvents(downloadCodes, downloadInfos, downloadMasks)) {
        return STAT_FAILED;
    }
    Json::Value items(Json::arrayValue);
    for (size_t i = 0; i < downloadCodes.size(); ++i) {
        Json::Value item;
        // An item without a submit keyword is left out rather than sent as a placeholder.
        if (BuildBatchItem(downloadCodes[i], downloadInfos[i], downloadMasks[i], item) != STAT_OK) {
            continue;
        }
        items.append(item);
        ++sequence;
    }
    if (items.empty()) {
        return STAT_FAILED;
    }
    Json::BracelessFastWriter writer;
    const std::wstring text = CodePageConverter(936).ToWide(writer.writeBraceless(items));
    body = "data=" + PercentEncode(CodePageConverter(CP_UTF8).ToMultiByte(text));
    return STAT_OK;
}

int CDataStatisticsImp::DoSubmitEventDownloadSeveral() {
    const std::lock_guard<std::mutex> guard(batchLock);
    if (downloadCodes.empty() || downloadInfos.empty() || downloadMasks.empty()) {
        // Nothing queued: calls that were all refused must not keep the limit reached for good.
        g_downloadBatchCounter = 0;
        return STAT_FAILED;
    }
    if (g_downloadBatchCounter.load() == 0) {
        return STAT_FAILED;
    }
    int wantedGroups = 0;
    for (const int mask : downloadMasks) {
        wantedGroups |= mask;
    }
    int result = STAT_FAILED;
    {
        const ReportWmiScope wmiScope(wmi, wantedGroups);
        std::string body;
        if (BuildBatchBody(body) != STAT_OK) {
            return STAT_BATCH_BODY_FAILED;
        }
        LoadSubmitUrls(serverListPath, kSectionSeveral);
        result = PostToServerList(body);
    }
    // A batch that no server took is dropped all the same.
    g_downloadBatchCounter = 0;
    downloadCodes.clear();
    downloadInfos.clear();
    downloadMasks.clear();
    return result;
}
