// Linked into a program, replaces operator new and delete (the other forms
// call these). With UNINST_GUARD_PAGES=1 every block ends where a page that
// cannot be touched begins, so a read or write past its end faults at once.
// Blocks of up to a page take slots of one committed and one reserved page
// from one region, reused through a free list kept in the freed pages.
// Every committed page between reserved ones is a kernel mapping of its own
// under Wine, and a process gets about 65,000: so only a bounded number of
// slots exists, and beyond them blocks come from the heap, counted.
#include <windows.h>

#include "tests/ui/support/GuardPageNew.h"

#include <cstdlib>
#include <new>

namespace {

const SIZE_T kPage = 4096, kAlign = 16;
BYTE* g_base = nullptr;
SIZE_T g_slots = 0, g_used = 0;
// Regions of larger guarded blocks (each holds 64 KB of address space):
// beyond the limit blocks come from the heap, so that the platform itself
// still finds address space and mappings.
LONG g_regions = 0;
const LONG kMaxRegions = 1024;
BYTE* g_free = nullptr;
CRITICAL_SECTION g_lock;
LONG g_unguarded = 0;

bool Guarded() {
    static const bool on = [] {
        char value[2] = {};
        if (::GetEnvironmentVariableA("UNINST_GUARD_PAGES", value, 2) != 1 || value[0] != '1')
            return false;
        ::InitializeCriticalSection(&g_lock);
        for (SIZE_T slots = GuardPages::kMaxGuardedSmallBlocks; g_base == nullptr && slots >= 2048;
             slots /= 2) {
            g_base = static_cast<BYTE*>(
                ::VirtualAlloc(nullptr, slots * 2 * kPage, MEM_RESERVE, PAGE_NOACCESS));
            g_slots = g_base != nullptr ? slots : 0;
        }
        return true;
    }();
    return on;
}

BYTE* TakeSlot() {
    ::EnterCriticalSection(&g_lock);
    BYTE* page = g_free;
    if (page != nullptr)
        g_free = *reinterpret_cast<BYTE**>(page);
    else if (g_used < g_slots &&
             ::VirtualAlloc(g_base + g_used * 2 * kPage, kPage, MEM_COMMIT, PAGE_READWRITE))
        page = g_base + g_used++ * 2 * kPage;
    ::LeaveCriticalSection(&g_lock);
    return page;
}

// Blocks outside the slots carry what frees them just before them: the
// region of a guarded large block, or the heap block when the slots are used
// up (the largest damaged skins hold more blocks at once than there are
// slots; those blocks go unguarded).
struct Header {
    void* region;
    bool heap;
    char pad[16 - sizeof(void*) - sizeof(bool)];
};

void* GuardedAlloc(SIZE_T size) {
    const SIZE_T rounded = (size + kAlign - 1) / kAlign * kAlign;
    if (rounded <= kPage) {
        if (BYTE* slot = TakeSlot())
            return slot + kPage - rounded;
    }
    const SIZE_T pages = (rounded + sizeof(Header) + kPage - 1) / kPage;
    auto* region = ::InterlockedIncrement(&g_regions) <= kMaxRegions
                       ? static_cast<BYTE*>(::VirtualAlloc(nullptr, (pages + 1) * kPage, MEM_COMMIT,
                                                           PAGE_READWRITE))
                       : nullptr;
    DWORD old = 0;
    BYTE* block = region + pages * kPage - rounded;
    bool heap = false;
    if (region == nullptr ||
        !::VirtualProtect(region + pages * kPage, kPage, PAGE_NOACCESS, &old)) {
        if (region != nullptr)
            ::VirtualFree(region, 0, MEM_RELEASE);
        ::InterlockedDecrement(&g_regions);
        region = static_cast<BYTE*>(std::malloc(rounded + sizeof(Header)));
        block = region + sizeof(Header);
        heap = true;
        if (region == nullptr)
            return nullptr;
        ::InterlockedIncrement(&g_unguarded);
    }
    reinterpret_cast<Header*>(block)[-1] = Header{region, heap, {}};
    return block;
}

void GuardedFree(void* block) {
    auto* p = static_cast<BYTE*>(block);
    if (p >= g_base && p < g_base + g_slots * 2 * kPage) {
        BYTE* page = g_base + (p - g_base) / (2 * kPage) * (2 * kPage);
        ::EnterCriticalSection(&g_lock);
        *reinterpret_cast<BYTE**>(page) = g_free;
        g_free = page;
        ::LeaveCriticalSection(&g_lock);
        return;
    }
    const Header header = static_cast<Header*>(block)[-1];
    if (header.heap)
        std::free(header.region);
    else if (::VirtualFree(header.region, 0, MEM_RELEASE))
        ::InterlockedDecrement(&g_regions);
}

} // namespace

unsigned long GuardPages::UnguardedBlocks() {
    return static_cast<unsigned long>(g_unguarded);
}

void* operator new(std::size_t size) {
    void* block = Guarded() ? GuardedAlloc(size ? size : 1) : std::malloc(size ? size : 1);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr && Guarded())
        GuardedFree(block);
    else
        std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
