// Linked into a program, replaces operator new and delete. With the
// environment variable UNINST_GUARD_PAGES=1 every block is placed so that it
// ends where a no-access page begins: a write or read past its end faults at
// once instead of damaging a neighbour. Without it the usual heap is used.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

const SIZE_T kPage = 4096;
const SIZE_T kAlign = 16;

bool GuardPages() {
    static const bool on = [] {
        char value[4] = {};
        return ::GetEnvironmentVariableA("UNINST_GUARD_PAGES", value, sizeof value) == 1 &&
               value[0] == '1';
    }();
    return on;
}

void* GuardedAlloc(SIZE_T size) {
    const SIZE_T rounded = (size + kAlign - 1) / kAlign * kAlign;
    const SIZE_T pages = (rounded + kPage - 1) / kPage;
    auto* base = static_cast<BYTE*>(
        ::VirtualAlloc(nullptr, (pages + 1) * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (base == nullptr) {
        return nullptr;
    }
    DWORD old = 0;
    ::VirtualProtect(base + pages * kPage, kPage, PAGE_NOACCESS, &old);
    return base + pages * kPage - rounded;
}

void* Allocate(SIZE_T size) {
    void* block = GuardPages() ? GuardedAlloc(size == 0 ? 1 : size) : std::malloc(size ? size : 1);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

void Release(void* block) {
    if (block == nullptr) {
        return;
    }
    if (!GuardPages()) {
        std::free(block);
        return;
    }
    MEMORY_BASIC_INFORMATION info = {};
    ::VirtualQuery(block, &info, sizeof info);
    ::VirtualFree(info.AllocationBase, 0, MEM_RELEASE);
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete[](void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    Release(block);
}
