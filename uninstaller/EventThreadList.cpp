#include <windows.h>

#include "uninstaller/EventThreadList.h"

#include <process.h>

bool EventThreadList::Start(ThreadProc proc, void* arg) {
    const uintptr_t h = _beginthreadex(nullptr, 0, proc, arg, 0, nullptr);
    if (h == 0)
        return false;
    std::lock_guard<std::mutex> guard(lock_);
    handles_.push_back(reinterpret_cast<HANDLE>(h));
    return true;
}

void EventThreadList::WaitAll(DWORD timeoutMs) {
    for (;;) {
        HANDLE h;
        {
            std::lock_guard<std::mutex> guard(lock_);
            if (handles_.empty())
                return;
            h = handles_.front();
            handles_.pop_front();
        }
        const bool ended = WaitForSingleObject(h, timeoutMs) == WAIT_OBJECT_0;
        CloseHandle(h);
        if (!ended) {
            std::lock_guard<std::mutex> guard(lock_);
            abandoned_ = true;
        }
    }
}

size_t EventThreadList::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return handles_.size();
}

bool EventThreadList::AllFinished() const {
    std::lock_guard<std::mutex> guard(lock_);
    if (abandoned_)
        return false;
    for (HANDLE h : handles_) {
        if (WaitForSingleObject(h, 0) != WAIT_OBJECT_0)
            return false;
    }
    return true;
}
