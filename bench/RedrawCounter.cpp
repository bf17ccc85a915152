#include <windows.h>

#include "bench/RedrawCounter.h"

namespace Bench {

namespace {

typedef BOOL(WINAPI* InvalidateRectProc)(HWND, const RECT*, BOOL);

InvalidateRectProc g_original = nullptr;
int g_requests = 0;
int g_empty = 0;

BOOL WINAPI CountingInvalidateRect(HWND hWnd, const RECT* rc, BOOL erase) {
    ++g_requests;
    if (rc != nullptr && ::IsRectEmpty(rc)) {
        ++g_empty;
    }
    return g_original(hWnd, rc, erase);
}

} // namespace

RedrawCounter::RedrawCounter() : slot_("user32.dll", "InvalidateRect") {
    g_original = reinterpret_cast<InvalidateRectProc>(slot_.Original());
    slot_.Redirect(reinterpret_cast<void*>(&CountingInvalidateRect));
    Reset();
}

RedrawCounter::~RedrawCounter() = default;

int RedrawCounter::Requests() const {
    return g_requests;
}

int RedrawCounter::EmptyRequests() const {
    return g_empty;
}

void RedrawCounter::Reset() {
    g_requests = 0;
    g_empty = 0;
}

} // namespace Bench
