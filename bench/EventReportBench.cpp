// Prints what an event report costs to build, check and percent-encode, with the hardware groups
// collected through WMI (the first report of a process) and answered from the caches (every later
// one), with 200 installed programs in the registry as on a normal PC. Nothing is posted: the
// server list's section has no URL, so a report ends after its body is built.
#include <windows.h>

#include "bench/BenchClock.h"
#include "statistics/CodePageConverter.h"
#include "statistics/DataStatistics.h"
#include "statistics/DataStatisticsImp.h"
#include "statistics/InstalledSoftwareScanner.h"
#include "statistics/MachId.h"
#include "statistics/NetworkAdapters.h"
#include "statistics/OsCode.h"
#include "statistics/TextHelpers.h"

#include <cstdio>
#include <fstream>
#include <string>

namespace {

constexpr int kReportRuns = 100;
constexpr int kBodyRuns = 1000;
constexpr int kInstalledPrograms = 200;
constexpr double kCachedReportTargetMs = 0.2;
const wchar_t kUninstallKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const wchar_t kProgramPrefix[] = L"EventReportBench";

// Uninstall entries for the benchmark's programs, removed again when it goes.
class InstalledPrograms {
public:
    explicit InstalledPrograms(int count) {
        for (int i = 0; i < count; ++i) {
            const std::wstring key = Key(i);
            const std::wstring name = L"Bench Program " + std::to_wstring(i);
            ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"DisplayName", REG_SZ, name.c_str(),
                              static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
            ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"DisplayVersion", REG_SZ, L"1.0",
                              sizeof(L"1.0"));
        }
        count_ = count;
    }
    ~InstalledPrograms() {
        for (int i = 0; i < count_; ++i) {
            ::RegDeleteTreeW(HKEY_CURRENT_USER, Key(i).c_str());
        }
    }
    InstalledPrograms(const InstalledPrograms&) = delete;
    InstalledPrograms& operator=(const InstalledPrograms&) = delete;

private:
    static std::wstring Key(int i) {
        return std::wstring(kUninstallKey) + L"\\" + kProgramPrefix + std::to_wstring(i);
    }
    int count_ = 0;
};

// Keywords as shipped, no URL.
std::wstring WriteServerListWithoutUrls() {
    wchar_t folder[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"EventReportBench.ini";
    std::ofstream out(path.c_str(), std::ios::binary);
    out << "[SubmitEventInst]\r\nInputDataKeyWord=DVersion;GameID;GVersion;AppVersion\r\n"
           "SubmitDataKeyWord=MachId;Mac;OS\r\n";
    return path;
}

// The application's fragment for a final event, with non-ASCII text.
const wchar_t kFragment[] =
    L",\"DVersion\":\"1.8\",\"Machid\":\"0x02FC4300, 0x00010000\",\"AppVersion\":\"1.0.0.1\","
    L"\"GameID\":\"1001\",\"GVersion\":\"1.2.3\",\"ErrorMsg\":\"太贵了，没有时间玩 \\\"x\\\"\","
    L"\"survey\":\"00001000000000000101\",\"surveyid\":\"42\"";

double MeanReportMs(CDataStatisticsImp& object, int mask, int runs) {
    const auto start = BenchMilliseconds();
    for (int i = 0; i < runs; ++i) {
        object.DoSubmitEventInst(L"12060000", kFragment, &mask);
    }
    return (BenchMilliseconds() - start) / runs;
}

} // namespace

int main() {
    const std::wstring listPath = WriteServerListWithoutUrls();
    const InstalledPrograms programs(kInstalledPrograms);
    InstalledSoftwareScanner scanner;
    auto start = BenchMilliseconds();
    scanner.ScanAll();
    std::printf("%-52s %9.3f ms  (%u programs; device reports only)\n", "installed-software scan",
                BenchMilliseconds() - start, static_cast<unsigned>(scanner.Records().size()));
    CDataStatisticsImp object;
    object.SetServerListPath(listPath.c_str());

    int mask = 7;
    start = BenchMilliseconds();
    const int firstStatus = object.DoSubmitEventInst(L"12060000", kFragment, &mask);
    const double firstMs = (BenchMilliseconds() - start);
    std::printf("%-52s %9.3f ms  (status %d)\n", "report, hardware uncached (opens WMI, collects)",
                firstMs, firstStatus);

    char label[96];
    std::snprintf(label, sizeof(label), "report, hardware cached (mean of %d)", kReportRuns);
    const double cachedMs = MeanReportMs(object, 7, kReportRuns);
    std::printf("%-52s %9.3f ms  (%.2fx the %.1f ms target)\n", label, cachedMs,
                cachedMs / kCachedReportTargetMs, kCachedReportTargetMs);
    std::snprintf(label, sizeof(label), "report, mask 0 (mean of %d)", kReportRuns);
    std::printf("%-52s %9.3f ms\n", label, MeanReportMs(object, 0, kReportRuns));

    // The body alone: build the text, check the keywords, encode; no registry scan, no WMI open.
    object.LoadKeyWords(listPath, L"SubmitEventInst");
    std::string body;
    for (const int bodyMask : {7, 0}) {
        start = BenchMilliseconds();
        for (int i = 0; i < kBodyRuns; ++i) {
            object.BuildEventBody(L"12060000", kFragment, &bodyMask, body);
        }
        std::snprintf(label, sizeof(label), "body only, mask %d, cached (mean of %d)", bodyMask,
                      kBodyRuns);
        std::printf("%-52s %9.3f ms  (%u bytes)\n", label,
                    (BenchMilliseconds() - start) / kBodyRuns, static_cast<unsigned>(body.size()));
    }

    // Where a cached body's time goes: the per-report collectors.
    std::string mac, ip, os, machId;
    start = BenchMilliseconds();
    for (int i = 0; i < kReportRuns; ++i) {
        ReadMacAndIp(mac, ip);
    }
    std::printf("%-52s %9.3f ms\n", "  of which MAC and IP texts",
                (BenchMilliseconds() - start) / kReportRuns);
    start = BenchMilliseconds();
    for (int i = 0; i < kReportRuns; ++i) {
        os.clear();
        BuildOsCode(os);
    }
    std::printf("%-52s %9.3f ms\n", "  of which OS code",
                (BenchMilliseconds() - start) / kReportRuns);
    start = BenchMilliseconds();
    for (int i = 0; i < kReportRuns; ++i) {
        ComputeMachId(machId);
    }
    std::printf("%-52s %9.3f ms\n", "  of which machine identifier",
                (BenchMilliseconds() - start) / kReportRuns);

    const std::string text =
        CodePageConverter(CP_UTF8).ToMultiByte(object.BuildEventText(kFragment, 7));
    start = BenchMilliseconds();
    size_t encoded = 0;
    for (int i = 0; i < kBodyRuns; ++i) {
        encoded += PercentEncode(text).size();
    }
    std::snprintf(label, sizeof(label), "percent-encode the %u-byte text (mean of %d)",
                  static_cast<unsigned>(text.size()), kBodyRuns);
    std::printf("%-52s %9.3f ms\n", label, (BenchMilliseconds() - start) / kBodyRuns);

    ::DeleteFileW(listPath.c_str());
    return encoded > 0 ? 0 : 1;
}
