#include <windows.h>

#include "statistics/WmiProcessState.h"
#include "statistics/WmiSession.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace WmiProcessState {

namespace {

// A promise outlives its thread only if a session is leaked; never wait for one forever.
constexpr std::chrono::seconds kPromiseWait(30);

struct CachedGroup {
    bool filled = false;
    bool collecting = false;
    Json::Value value;
};

struct Promise {
    const WmiSession* session;
    DWORD threadId;
    int groups;
};

struct State {
    std::mutex mutex;
    std::condition_variable changed;
    bool opened = false;
    bool opening = false;
    CachedGroup groups[3];
    std::int64_t memoryTotal = 0;
    std::vector<Promise> promises;
    std::uint32_t queryCount = 0;
};

// Event threads may still run while the process exits: the state is never destroyed.
State& TheState() {
    static State* const state = new State;
    return *state;
}

int BitOf(Group group) {
    switch (group) {
    case Group::Cpu:
        return kWmiGroupCpu;
    case Group::Memory:
        return kWmiGroupMemory;
    case Group::Video:
        return kWmiGroupVideo;
    }
    return 0;
}

bool ForeignPromiseFor(const State& state, const WmiSession& session, int bit) {
    const DWORD self = ::GetCurrentThreadId();
    for (const Promise& p : state.promises) {
        // A promise of this very thread would never be kept while we wait.
        if ((p.groups & bit) != 0 && p.session != &session && p.threadId != self) {
            return true;
        }
    }
    return false;
}

void KeepPromise(State& state, const WmiSession& session, int bit) {
    for (Promise& p : state.promises) {
        if (p.session == &session) {
            p.groups &= ~bit;
        }
    }
}

} // namespace

bool BeginOpen(bool force) {
    State& s = TheState();
    std::unique_lock<std::mutex> lock(s.mutex);
    s.changed.wait(lock, [&s] { return !s.opening; });
    if (s.opened && !force) {
        return false;
    }
    s.opening = true;
    return true;
}

void EndOpen(bool setFlag, const WmiSession* session, int promisedGroups) {
    State& s = TheState();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.opening = false;
        s.opened = s.opened || setFlag;
        if (session != nullptr && (promisedGroups & kWmiAllCachedGroups) != 0) {
            s.promises.push_back(
                {session, ::GetCurrentThreadId(), promisedGroups & kWmiAllCachedGroups});
        }
    }
    s.changed.notify_all();
}

void DropPromises(const WmiSession* session) {
    State& s = TheState();
    bool dropped = false;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        for (auto it = s.promises.begin(); it != s.promises.end();) {
            if (it->session == session) {
                it = s.promises.erase(it);
                dropped = true;
            } else {
                ++it;
            }
        }
    }
    if (dropped) {
        s.changed.notify_all();
    }
}

bool IsOpened() {
    State& s = TheState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.opened;
}

Answer AcquireGroup(const WmiSession& session, Group group, Json::Value& value,
                    std::int64_t* total) {
    State& s = TheState();
    CachedGroup& g = s.groups[static_cast<int>(group)];
    const int bit = BitOf(group);
    const bool hasServices = session.Services() != nullptr;
    std::unique_lock<std::mutex> lock(s.mutex);
    for (;;) {
        if (g.filled) {
            value = g.value;
            if (total != nullptr) {
                *total = s.memoryTotal;
            }
            return Answer::Cached;
        }
        if (hasServices && !g.collecting) {
            g.collecting = true;
            return Answer::CollectHere;
        }
        const bool worthWaiting = g.collecting || ForeignPromiseFor(s, session, bit);
        if (!worthWaiting) {
            return Answer::Nothing;
        }
        if (s.changed.wait_for(lock, kPromiseWait) == std::cv_status::timeout && !g.filled &&
            (!hasServices || g.collecting)) {
            return Answer::Nothing;
        }
    }
}

void FinishGroup(const WmiSession& session, Group group, const Json::Value* result,
                 std::int64_t total) {
    State& s = TheState();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        CachedGroup& g = s.groups[static_cast<int>(group)];
        g.collecting = false;
        if (result != nullptr && !g.filled) {
            g.value = *result;
            g.filled = true;
            if (group == Group::Memory) {
                s.memoryTotal = total;
            }
        }
        KeepPromise(s, session, BitOf(group));
    }
    TheState().changed.notify_all();
}

void CountQuery() {
    State& s = TheState();
    std::lock_guard<std::mutex> lock(s.mutex);
    ++s.queryCount;
}

std::uint32_t QueryCount() {
    State& s = TheState();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.queryCount;
}

void Reset() {
    State& s = TheState();
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.opened = false;
        for (CachedGroup& g : s.groups) {
            g = CachedGroup();
        }
        s.memoryTotal = 0;
        s.queryCount = 0;
    }
    s.changed.notify_all();
}

} // namespace WmiProcessState
