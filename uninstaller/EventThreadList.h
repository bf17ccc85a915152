#pragma once
#include <windows.h>

#include <deque>
#include <mutex>

// The statistics-event threads of one run. Threads are started from the UI
// thread and from the removal worker; the orderly close waits for them in
// the order they were started.
class EventThreadList {
public:
    typedef unsigned(__stdcall* ThreadProc)(void*);

    EventThreadList() = default;
    EventThreadList(const EventThreadList&) = delete;
    EventThreadList& operator=(const EventThreadList&) = delete;

    // Starts proc(arg) on a thread of its own. False when the thread could
    // not be started: then nothing is kept and arg still belongs to the caller.
    bool Start(ThreadProc proc, void* arg);

    // Waits for each thread, at most timeoutMs per thread, and closes its
    // handle after the wait. Threads started during the wait are waited for too.
    void WaitAll(DWORD timeoutMs);

    size_t Count() const;

    // True when every thread started has ended (none was given up by a timed-out wait).
    bool AllFinished() const;

private:
    mutable std::mutex lock_;
    std::deque<HANDLE> handles_;
    bool abandoned_ = false;
};
