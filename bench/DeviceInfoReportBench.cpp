// Prints what a device-information report costs to build next to an event report, both with the
// cached hardware groups already collected (every report after a process's first). Nothing is
// posted: the server list's sections have no URL, so a report ends after its body is built.
#include <windows.h>

#include "bench/BenchClock.h"
#include "statistics/DataStatisticsImp.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kRuns = 50;

const wchar_t kFragment[] =
    L",\"DVersion\":\"1.8\",\"Machid\":\"0x02FC4300, 0x00010000\",\"AppVersion\":\"1.0.0.1\","
    L"\"GameID\":\"1001\",\"GVersion\":\"1.2.3\",\"Game_ID\":\"1001\",\"Game_Version\":\"1.2.3\"";

std::wstring ModuleFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path);
    return program.substr(0, program.rfind(L'\\') + 1);
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, path);
    return path;
}

// Keywords as shipped, no URL.
std::wstring WriteServerListWithoutUrls() {
    const std::wstring path = TempFolder() + L"DeviceInfoReportBench.ini";
    std::ofstream out(path.c_str(), std::ios::binary);
    out << "[SubmitDeviceInfo]\r\nInputDataKeyWord=Game_ID;Game_Version\r\n"
           "SubmitDataKeyWord=Client_Info;Module\r\n"
           "[SubmitEventInst]\r\nInputDataKeyWord=DVersion;GameID;GVersion;AppVersion\r\n"
           "SubmitDataKeyWord=MachId;Mac;OS\r\n";
    return path;
}

// The shipped information-item list beside the program, where the component reads it.
bool PlaceShippedList(const std::wstring& target) {
    std::string unixPath = UNINST_SOURCE_DIR "/resources/SystemInfoKeys.xml";
    std::wstring source = L"Z:";
    for (const char c : unixPath) {
        source += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    std::ifstream in(source.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::ofstream out(target.c_str(), std::ios::binary);
    out << bytes.str();
    return in.good() && !bytes.str().empty();
}

template <typename Work> double MeanMs(Work&& work) {
    const double start = BenchMilliseconds();
    for (int i = 0; i < kRuns; ++i) {
        work();
    }
    return (BenchMilliseconds() - start) / kRuns;
}

} // namespace

int main() {
    const std::wstring listPath = WriteServerListWithoutUrls();
    const std::wstring keysPath = ModuleFolder() + L"SystemInfoKeys.xml";
    if (!PlaceShippedList(keysPath)) {
        std::printf("cannot place SystemInfoKeys.xml beside the program\n");
        return 1;
    }
    CDataStatisticsImp object;
    object.SetServerListPath(listPath.c_str());
    int mask = 7;
    object.DoSubmitEventInst(L"12060000", kFragment, &mask); // collects and caches the groups

    const double event = MeanMs([&] { object.DoSubmitEventInst(L"12060000", kFragment, &mask); });
    const double device = MeanMs([&] { object.DoSubmitEventInst(L"0", kFragment, &mask); });
    std::string body;
    object.LoadKeyWords(listPath, L"SubmitDeviceInfo");
    const double deviceBody = MeanMs([&] { object.BuildDeviceInfoBody(kFragment, body); });
    object.LoadKeyWords(listPath, L"SubmitEventInst");
    std::string eventBody;
    const double eventOnly =
        MeanMs([&] { object.BuildEventBody(L"12060000", kFragment, &mask, eventBody); });

    std::printf("mean of %d runs, hardware groups cached\n", kRuns);
    std::printf("%-58s %9.3f ms\n", "event report, mask 7 (scan, body, no URL)", event);
    std::printf("%-58s %9.3f ms  (%.1fx the event report)\n",
                "device report (scan, WMI opened, list, body, no URL)", device, device / event);
    std::printf("%-58s %9.3f ms  (%u bytes)\n", "event body alone", eventOnly,
                static_cast<unsigned>(eventBody.size()));
    std::printf("%-58s %9.3f ms  (%u bytes, %.1fx the event body)\n",
                "device body alone (list parsed once, no WMI services)", deviceBody,
                static_cast<unsigned>(body.size()), deviceBody / eventOnly);

    ::DeleteFileW(keysPath.c_str());
    ::DeleteFileW(listPath.c_str());
    return body.empty() ? 1 : 0;
}
