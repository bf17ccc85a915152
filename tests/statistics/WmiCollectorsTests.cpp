#include <windows.h>

#include "statistics/HardwareCollectors.h"
#include "statistics/HardwareRows.h"
#include "statistics/RegistryKey.h"
#include "statistics/WmiSession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Every test starts from a process that has not opened WMI and has empty caches.
class WmiTest : public ::testing::Test {
protected:
    void SetUp() override { ResetWmiProcessState(); }
    void TearDown() override {
        CloseWmiSession(session_);
        ResetWmiProcessState();
    }

    void Open() { ASSERT_EQ(kWmiOpened, OpenWmiSession(session_, false)); }

    WmiSession session_;
};

int Collect(const WmiSession& session, Json::Value& out, int mask = kWmiAllCachedGroups) {
    int failures = 0;
    if (mask & kWmiGroupCpu) {
        failures += CollectCpu(session, out) != 0;
    }
    if (mask & kWmiGroupMemory) {
        failures += CollectMemory(session, out) != 0;
    }
    if (mask & kWmiGroupVideo) {
        failures += CollectVideoCard(session, out) != 0;
    }
    return failures;
}

// Lets test threads start their work at the same moment.
class StartLine {
public:
    explicit StartLine(int count) : waiting_(count) {}
    void ArriveAndWait() {
        std::unique_lock<std::mutex> lock(mutex_);
        if (--waiting_ == 0) {
            go_.notify_all();
        }
        go_.wait(lock, [this] { return waiting_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable go_;
    int waiting_;
};

} // namespace

TEST_F(WmiTest, WithoutServicesAndCachesNothingIsWritten) {
    Json::Value out(Json::objectValue);
    EXPECT_EQ(1, CollectCpu(session_, out));
    EXPECT_EQ(1, CollectMemory(session_, out));
    EXPECT_EQ(1, CollectVideoCard(session_, out));
    EXPECT_EQ(1, CollectDisk(session_, out));
    EXPECT_EQ(1, CollectMonitor(session_, out));
    EXPECT_EQ(1, CollectSoundCard(session_, out));
    EXPECT_EQ(Json::Value(Json::objectValue), out);
    EXPECT_EQ(0u, GetWmiQueryCount());
    EXPECT_EQ(S_FALSE, RunWmiQuery(session_, L"Select * FROM Win32_Processor",
                                   [](const WmiPropertySource&) {}));
}

TEST_F(WmiTest, OpensOncePerProcessUnlessForced) {
    EXPECT_FALSE(IsWmiOpenedInProcess());
    Open();
    EXPECT_TRUE(IsWmiOpenedInProcess());
    EXPECT_NE(nullptr, session_.Services());
    EXPECT_NE(nullptr, session_.Locator());
    EXPECT_EQ(S_OK, session_.CoInitializeResult());

    WmiSession second;
    EXPECT_EQ(kWmiAlreadyOpened, OpenWmiSession(second, false));
    EXPECT_EQ(nullptr, second.Services());
    EXPECT_EQ(kWmiOpened, OpenWmiSession(second, true));
    EXPECT_NE(nullptr, second.Services());
    // COM is already initialised on this thread.
    EXPECT_EQ(S_FALSE, second.CoInitializeResult());
    // A forced reopen of the same session replaces its connection.
    EXPECT_EQ(kWmiOpened, OpenWmiSession(second, true));
    EXPECT_NE(nullptr, second.Services());
    EXPECT_EQ(1, CloseWmiSession(second));
    EXPECT_EQ(nullptr, second.Services());
    EXPECT_EQ(nullptr, second.Locator());
    EXPECT_EQ(-1, second.CoInitializeResult());
    // Closing twice is harmless; the flag stays set.
    EXPECT_EQ(1, CloseWmiSession(second));
    EXPECT_TRUE(IsWmiOpenedInProcess());

    EXPECT_EQ(1, CloseWmiSession(session_));
    EXPECT_TRUE(IsWmiOpenedInProcess());
    EXPECT_EQ(kWmiAlreadyOpened, OpenWmiSession(session_, false));
}

TEST_F(WmiTest, ReportsWithoutHardwareGroupsLeaveWmiClosed) {
    EXPECT_EQ(kWmiAlreadyOpened, OpenWmiSessionForReport(session_, 0));
    EXPECT_EQ(kWmiAlreadyOpened, OpenWmiSessionForReport(session_, 8));
    EXPECT_FALSE(IsWmiOpenedInProcess());
    EXPECT_EQ(nullptr, session_.Services());

    // So a later report that asks for the groups still gets them.
    EXPECT_EQ(kWmiOpened, OpenWmiSessionForReport(session_, kWmiAllCachedGroups));
    Json::Value out(Json::objectValue);
    EXPECT_EQ(0, Collect(session_, out));
    EXPECT_TRUE(out.isMember("CPU"));
    EXPECT_TRUE(out.isMember("Memory"));
    EXPECT_TRUE(out.isMember("Video_Card"));

    WmiSession later;
    EXPECT_EQ(kWmiAlreadyOpened, OpenWmiSessionForReport(later, kWmiAllCachedGroups));
}

TEST_F(WmiTest, Processor) {
    Open();
    Json::Value out(Json::objectValue);
    ASSERT_EQ(0, CollectCpu(session_, out));
    const Json::Value& cpus = out["CPU"];
    ASSERT_TRUE(cpus.isArray());
    ASSERT_GE(cpus.size(), 1u);

    const Win32Reg::RegistryKey key =
        Win32Reg::LocalMachine.OpenSubKey(L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0");
    for (const Json::Value& cpu : cpus) {
        ASSERT_TRUE(cpu["CPU_Name"].isString());
        if (key.IsOpened()) {
            // Every processor carries the registry's name of processor 0.
            EXPECT_EQ(WideToUtf8Text(key.QueryStringValue(L"ProcessorNameString")),
                      cpu["CPU_Name"].asString());
        }
        EXPECT_FALSE(cpu["CPU_Manufacturer"].asString().empty());
        EXPECT_EQ("Central Processor", cpu["CPU_Type"].asString());
        const std::string arch = cpu["CPU_Architecture"].asString();
        EXPECT_TRUE(arch == "x86" || arch == "x64") << arch;
    }
}

TEST_F(WmiTest, Memory) {
    Open();
    Json::Value out(Json::objectValue);
    ASSERT_EQ(0, CollectMemory(session_, out));
    ASSERT_TRUE(out["Memory_Total_Capacity"].isInt64());
    EXPECT_GT(out["Memory_Total_Capacity"].asInt64(), 0);
    const Json::Value& modules = out["Memory"];
    ASSERT_TRUE(modules.isArray());
    ASSERT_GE(modules.size(), 1u);
    for (const Json::Value& module : modules) {
        // Wine's modules are of type 9, which has a name of its own rather than being dropped.
        EXPECT_EQ("RAM", module["Memory_Type"].asString());
        ASSERT_TRUE(module["Memory_Capacity"].isUInt64());
        EXPECT_GT(module["Memory_Capacity"].asUInt64(), 0u);
        // Wine has no Speed: the member is left out.
        EXPECT_FALSE(module.isMember("Memory_Frequency"));
    }
}

// Each row type's array holds at least one element with the member that names the device.
TEST_F(WmiTest, VideoCardDiskAndSoundCard) {
    Open();
    Json::Value out(Json::objectValue);
    ASSERT_EQ(0, CollectVideoCard(session_, out));
    ASSERT_EQ(0, CollectDisk(session_, out));
    ASSERT_EQ(0, CollectSoundCard(session_, out));
    for (const char* array : {"Video_Card", "Disk", "Sound_Card"}) {
        ASSERT_TRUE(out[array].isArray()) << array;
        ASSERT_GE(out[array].size(), 1u) << array;
    }
    EXPECT_FALSE(out["Video_Card"][0]["Video_Card_Name"].asString().empty());
    EXPECT_TRUE(out["Video_Card"][0]["Video_Card_Memory_Capacity"].isUInt());
    EXPECT_TRUE(out["Video_Card"][0]["Video_Card_Driver_Version"].isString());
    // Wine gives no Caption.
    EXPECT_FALSE(out["Disk"][0].isMember("Disk_Caption"));
    ASSERT_TRUE(out["Disk"][0]["Disk_Capacity"].isInt64());
    EXPECT_GT(out["Disk"][0]["Disk_Capacity"].asInt64(), 0);
    EXPECT_FALSE(out["Disk_File_System"].asString().empty());
    EXPECT_TRUE(out["Sound_Card"][0]["Sound_Card_Name"].isString());
}

TEST_F(WmiTest, Monitor) {
    Open();
    Json::Value out(Json::objectValue);
    ASSERT_EQ(0, CollectMonitor(session_, out));
    const Json::Value& monitors = out["Monitor"];
    ASSERT_TRUE(monitors.isArray());
    for (const Json::Value& monitor : monitors) {
        // Wine lacks the device id and the screen size.
        EXPECT_FALSE(monitor.isMember("Manufacturer"));
        EXPECT_FALSE(monitor.isMember("Current_Resolution_Width"));
        EXPECT_EQ("-1", monitor["Width_Height"].asString());
        EXPECT_TRUE(monitor["Max_Height"].isUInt());
        EXPECT_TRUE(monitor["Max_Width"].isUInt());
    }
    // Win32_DisplayConfiguration has no rows under Wine.
    EXPECT_FALSE(out.isMember("BitsPerPel"));
}

TEST_F(WmiTest, QueriesOfMissingClassesGiveNoRows) {
    Open();
    int rows = 0;
    EXPECT_EQ(S_OK, RunWmiQuery(session_, L"Select * FROM Win32_NoSuchClassAtAll",
                                [&](const WmiPropertySource&) { ++rows; }));
    EXPECT_EQ(0, rows);
    const HRESULT bad =
        RunWmiQuery(session_, L"Select FROM WHERE", [&](const WmiPropertySource&) { ++rows; });
    EXPECT_EQ(0, rows);
    // Either refused outright or answered without rows.
    EXPECT_TRUE(FAILED(bad) || bad == S_OK) << std::hex << bad;

    // A row's missing property reads as absent.
    RunWmiQuery(session_, L"Select * FROM Win32_Processor", [&](const WmiPropertySource& row) {
        ComVariant value;
        EXPECT_FALSE(row.Get(L"NoSuchProperty", value));
        EXPECT_TRUE(row.Get(L"Name", value));
        ++rows;
    });
    EXPECT_GE(rows, 1);
}

TEST_F(WmiTest, CachedGroupsAnswerSessionsWithoutServices) {
    Open();
    Json::Value first(Json::objectValue);
    ASSERT_EQ(0, Collect(session_, first));
    const std::uint32_t queries = GetWmiQueryCount();
    EXPECT_EQ(4u, queries);
    CloseWmiSession(session_);

    WmiSession noServices;
    Json::Value again(Json::objectValue);
    EXPECT_EQ(0, Collect(noServices, again));
    EXPECT_EQ(first, again);
    EXPECT_EQ(queries, GetWmiQueryCount());

    // The uncached groups need services.
    EXPECT_EQ(1, CollectDisk(noServices, again));
    EXPECT_EQ(1, CollectMonitor(noServices, again));
    EXPECT_EQ(1, CollectSoundCard(noServices, again));
}

TEST_F(WmiTest, ConcurrentReportsShareOneCollection) {
    constexpr int kThreads = 8;
    StartLine start(kThreads);
    std::vector<Json::Value> outputs(kThreads, Json::Value(Json::objectValue));
    std::vector<int> opened(kThreads, -1);
    std::vector<int> failures(kThreads, -1);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            WmiSession session;
            start.ArriveAndWait();
            opened[i] = OpenWmiSessionForReport(session, kWmiAllCachedGroups);
            failures[i] = Collect(session, outputs[i]);
            CloseWmiSession(session);
        });
    }
    for (auto& t : threads) {
        t.join();
    }
    int openers = 0;
    for (int i = 0; i < kThreads; ++i) {
        openers += opened[i] == kWmiOpened;
        EXPECT_TRUE(opened[i] == kWmiOpened || opened[i] == kWmiAlreadyOpened) << opened[i];
        EXPECT_EQ(0, failures[i]) << "thread " << i;
        EXPECT_TRUE(outputs[i]["CPU"].isArray());
        EXPECT_EQ(outputs[0], outputs[i]) << "thread " << i;
    }
    EXPECT_EQ(1, openers);
    // Processor, computer system, physical memory, video controller: once each.
    EXPECT_EQ(4u, GetWmiQueryCount());
}

TEST_F(WmiTest, AThreadWaitsForTheGroupsAnotherThreadOpenedWmiFor) {
    std::mutex m;
    std::condition_variable cv;
    bool opened = false;
    std::atomic<bool> waiterStarted{false};
    Json::Value waiterOut(Json::objectValue);
    int waiterResult = -1;

    std::thread opener([&] {
        WmiSession session;
        EXPECT_EQ(kWmiOpened, OpenWmiSession(session, true));
        {
            std::lock_guard<std::mutex> lock(m);
            opened = true;
        }
        cv.notify_all();
        while (!waiterStarted) {
            std::this_thread::yield();
        }
        // Give the waiter time to block on the promise (the outcome is the same if it doesn't).
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        Json::Value out(Json::objectValue);
        EXPECT_EQ(0, CollectCpu(session, out));
        CloseWmiSession(session);
    });
    std::thread waiter([&] {
        {
            std::unique_lock<std::mutex> lock(m);
            cv.wait(lock, [&] { return opened; });
        }
        WmiSession noServices;
        waiterStarted = true;
        waiterResult = CollectCpu(noServices, waiterOut);
    });
    opener.join();
    waiter.join();
    EXPECT_EQ(0, waiterResult);
    EXPECT_TRUE(waiterOut["CPU"].isArray());
    EXPECT_EQ(1u, GetWmiQueryCount());
}

TEST_F(WmiTest, ClosingWithoutCollectingReleasesWaiters) {
    std::atomic<bool> opened{false};
    std::atomic<bool> waiterStarted{false};
    int waiterResult = -1;
    std::thread opener([&] {
        WmiSession session;
        EXPECT_EQ(kWmiOpened, OpenWmiSessionForReport(session, kWmiGroupCpu));
        opened = true;
        while (!waiterStarted) {
            std::this_thread::yield();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        CloseWmiSession(session);
    });
    std::thread waiter([&] {
        while (!opened) {
            std::this_thread::yield();
        }
        WmiSession noServices;
        waiterStarted = true;
        Json::Value out(Json::objectValue);
        waiterResult = CollectCpu(noServices, out);
    });
    opener.join();
    waiter.join();
    EXPECT_EQ(1, waiterResult);
    EXPECT_EQ(0u, GetWmiQueryCount());
}

TEST_F(WmiTest, ASessionNeverWaitsForItsOwnThread) {
    Open();
    // Another object on the same thread: waiting for this thread's own session would never end.
    WmiSession sameThread;
    Json::Value out(Json::objectValue);
    EXPECT_EQ(1, CollectCpu(sameThread, out));
    EXPECT_EQ(0, CollectCpu(session_, out));
    EXPECT_EQ(0, CollectCpu(sameThread, out));
}
