// Linked into the programs registered with HEAPCHECK. Every C++ allocation and every malloc,
// calloc and realloc of the program's own code gets a guard before and after it that is checked
// when the block is freed, so a write past a block ends the program there and then with the
// entry's failure pattern, instead of going unseen until it corrupts something that matters
// (Wine 8 checks the C runtime's blocks but misses overruns of up to 16 bytes past them). After
// every test the platform's heaps are validated as well.
#include <windows.h>

#include "tests/support/CheckingAllocator.h"
#include "tests/support/HeapCheck.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t kMagic = 0x5AFE8EAD;
constexpr std::uint32_t kFreedMagic = 0xF4EED0FF;
constexpr unsigned char kGuardByte = 0xA5;
constexpr std::size_t kGuard = 16;

// Sixteen bytes, so that the caller's block keeps the alignment that malloc gives.
struct Head {
    std::size_t size;
    std::uint32_t magic;
    unsigned char guard[16 - sizeof(std::size_t) - sizeof(std::uint32_t)];
};
static_assert(sizeof(Head) == 16, "the head keeps the alignment");

std::atomic<long> g_live{0};

// The C runtime's own functions: this program's malloc, realloc and free are the ones below. They
// are looked up when first needed, which may be before any static object is set up (racing
// threads store the same values).
struct CrtHeap {
    void*(__cdecl* malloc)(std::size_t);
    void*(__cdecl* realloc)(void*, std::size_t);
    void(__cdecl* free)(void*);
};
CrtHeap g_crt;

template <class Function> void LoadCrtFunction(Function& function, const char* name) {
    // Through the one function type that converts to any other without a warning.
    function = reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(::GetProcAddress(::GetModuleHandleW(L"msvcrt.dll"), name)));
}

const CrtHeap& Crt() {
    if (g_crt.free == nullptr) {
        LoadCrtFunction(g_crt.malloc, "malloc");
        LoadCrtFunction(g_crt.realloc, "realloc");
        LoadCrtFunction(g_crt.free, "free");
    }
    return g_crt;
}

[[noreturn]] void Fail(const char* what, std::size_t size) {
    std::printf("[  FAILED  ] %s (a heap block of %lu bytes)\n", what,
                static_cast<unsigned long>(size));
    std::fflush(stdout);
    std::abort();
}

void* Allocate(std::size_t size) noexcept {
    if (size > SIZE_MAX - sizeof(Head) - kGuard) {
        return nullptr;
    }
    unsigned char* const raw =
        static_cast<unsigned char*>(Crt().malloc(sizeof(Head) + size + kGuard));
    if (raw == nullptr) {
        return nullptr;
    }
    ++g_live;
    Head* const head = reinterpret_cast<Head*>(raw);
    head->size = size;
    head->magic = kMagic;
    std::memset(head->guard, kGuardByte, sizeof head->guard);
    std::memset(raw + sizeof(Head) + size, kGuardByte, kGuard);
    return raw + sizeof(Head);
}

const Head* HeadOf(void* block) {
    return reinterpret_cast<const Head*>(static_cast<unsigned char*>(block) - sizeof(Head));
}

void Release(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    unsigned char* const raw = static_cast<unsigned char*>(block) - sizeof(Head);
    const Head* const head = reinterpret_cast<const Head*>(raw);
    if (head->magic != kMagic) {
        Fail("write before a heap block, or a block freed twice", 0);
    }
    for (const unsigned char byte : head->guard) {
        if (byte != kGuardByte) {
            Fail("write before the start of a heap block", head->size);
        }
    }
    const unsigned char* const tail = raw + sizeof(Head) + head->size;
    for (std::size_t i = 0; i < kGuard; ++i) {
        if (tail[i] != kGuardByte) {
            Fail("write past the end of a heap block", head->size);
        }
    }
    Head* const writable = reinterpret_cast<Head*>(raw);
    writable->magic = kFreedMagic;
    --g_live;
    Crt().free(raw);
}

// A block that free and realloc get may also come from the C runtime itself (its _strdup, its
// calloc inside other runtime functions): those have no head of ours and go back to it.
bool IsOurs(void* block) {
    const std::uint32_t magic = HeadOf(block)->magic;
    if (magic == kFreedMagic) {
        Fail("a heap block freed twice", HeadOf(block)->size);
    }
    return magic == kMagic;
}

void* AllocateOrThrow(std::size_t size) {
    void* const block = Allocate(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

class HeapValidation : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo& test) override {
        if (!TestSupport::HeapsAreSound()) {
            std::printf("[  FAILED  ] heap corrupted by %s.%s\n", test.test_suite_name(),
                        test.name());
            std::fflush(stdout);
        }
    }
};

const bool g_registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new HeapValidation);
    return true;
}();

} // namespace

long TestSupport::LiveCheckedBlocks() {
    return g_live.load();
}

extern "C" {

void* __cdecl malloc(std::size_t size) {
    return Allocate(size == 0 ? 1 : size);
}

void* __cdecl calloc(std::size_t count, std::size_t size) {
    if (size != 0 && count > (SIZE_MAX - sizeof(Head) - kGuard) / size) {
        return nullptr;
    }
    void* const block = Allocate(count * size == 0 ? 1 : count * size);
    if (block != nullptr) {
        std::memset(block, 0, count * size);
    }
    return block;
}

void __cdecl free(void* block) {
    if (block != nullptr && !IsOurs(block)) {
        Crt().free(block);
        return;
    }
    Release(block);
}

void* __cdecl realloc(void* block, std::size_t size) {
    if (block != nullptr && !IsOurs(block)) {
        return Crt().realloc(block, size);
    }
    if (block != nullptr && size == 0) {
        Release(block);
        return nullptr;
    }
    void* const moved = Allocate(size == 0 ? 1 : size);
    if (moved != nullptr && block != nullptr) {
        const std::size_t old = HeadOf(block)->size;
        std::memcpy(moved, block, old < size ? old : size);
        Release(block);
    }
    return moved;
}

} // extern "C"

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size == 0 ? 1 : size);
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
void operator delete(void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    Release(block);
}
