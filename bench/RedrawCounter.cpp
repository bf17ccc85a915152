#include <windows.h>

#include "bench/RedrawCounter.h"

#include <cstring>

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

// The executable's import slot of user32's InvalidateRect, or null.
void** FindSlot() {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         dir.VirtualAddress != 0 && desc->Name != 0; ++desc) {
        if (_stricmp(reinterpret_cast<char*>(base + desc->Name), "user32.dll") != 0) {
            continue;
        }
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "InvalidateRect") == 0) {
                return reinterpret_cast<void**>(&slots->u1.Function);
            }
        }
    }
    return nullptr;
}

void WriteSlot(void** slot, void* value) {
    DWORD old = 0;
    ::VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old);
    *slot = value;
    ::VirtualProtect(slot, sizeof(void*), old, &old);
}

} // namespace

RedrawCounter::RedrawCounter() : slot_(FindSlot()) {
    if (slot_ != nullptr) {
        g_original = reinterpret_cast<InvalidateRectProc>(*slot_);
        WriteSlot(slot_, reinterpret_cast<void*>(&CountingInvalidateRect));
    }
    Reset();
}

RedrawCounter::~RedrawCounter() {
    if (slot_ != nullptr) {
        WriteSlot(slot_, reinterpret_cast<void*>(g_original));
    }
}

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
