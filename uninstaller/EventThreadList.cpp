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
        WaitForSingleObject(h, timeoutMs);
        CloseHandle(h);
    }
}

size_t EventThreadList::Count() const {
    std::lock_guard<std::mutex> guard(lock_);
    return handles_.size();
}
