// Prints what the first WMI collection of the event groups (processor, memory, video card) costs
// against an answer from the process-wide caches.
#include <windows.h>

#include "bench/BenchClock.h"
#include "statistics/HardwareCollectors.h"
#include "statistics/WmiSession.h"

#include <json/json.h>

#include <cstdio>
#include <cstring>

namespace {

struct GroupTimes {
    double cpu = 0;
    double memory = 0;
    double video = 0;
    double Total() const { return cpu + memory + video; }
};

GroupTimes CollectGroups(const WmiSession& session, Json::Value& out) {
    GroupTimes t;
    auto start = BenchMilliseconds();
    CollectCpu(session, out);
    t.cpu = (BenchMilliseconds() - start);
    start = BenchMilliseconds();
    CollectMemory(session, out);
    t.memory = (BenchMilliseconds() - start);
    start = BenchMilliseconds();
    CollectVideoCard(session, out);
    t.video = (BenchMilliseconds() - start);
    return t;
}

void Print(const char* label, const GroupTimes& t) {
    std::printf("%-34s %9.3f ms  (cpu %8.3f, memory %8.3f, video %8.3f)\n", label, t.Total(), t.cpu,
                t.memory, t.video);
}

} // namespace

int main(int argc, char** argv) {
    const bool dump = argc > 1 && std::strcmp(argv[1], "--dump") == 0;
    constexpr int kCachedRuns = 1000;

    WmiSession session;
    auto start = BenchMilliseconds();
    const int opened = OpenWmiSession(session, false);
    const double openMs = (BenchMilliseconds() - start);
    if (opened != kWmiOpened || session.Services() == nullptr) {
        std::printf("WMI could not be opened (%d)\n", opened);
        return 1;
    }
    std::printf("%-34s %9.3f ms\n", "open WMI session", openMs);

    Json::Value first(Json::objectValue);
    const GroupTimes firstTimes = CollectGroups(session, first);
    Print("first collection", firstTimes);

    // The same session: the caches answer.
    GroupTimes cachedSum;
    for (int i = 0; i < kCachedRuns; ++i) {
        Json::Value out(Json::objectValue);
        const GroupTimes t = CollectGroups(session, out);
        cachedSum.cpu += t.cpu;
        cachedSum.memory += t.memory;
        cachedSum.video += t.video;
    }
    GroupTimes cachedMean{cachedSum.cpu / kCachedRuns, cachedSum.memory / kCachedRuns,
                          cachedSum.video / kCachedRuns};
    char label[64];
    std::snprintf(label, sizeof(label), "cached collection (mean of %d)", kCachedRuns);
    Print(label, cachedMean);

    // A later report's object, which has no services of its own.
    CloseWmiSession(session);
    WmiSession later;
    Json::Value out(Json::objectValue);
    Print("cached, session without services", CollectGroups(later, out));

    std::printf("WMI queries run: %u\n", GetWmiQueryCount());
    if (cachedMean.Total() > 0) {
        std::printf("first / cached: %.0fx\n", firstTimes.Total() / cachedMean.Total());
    }
    if (dump) {
        std::printf("%s", first.toStyledString().c_str());
    }
    return 0;
}
