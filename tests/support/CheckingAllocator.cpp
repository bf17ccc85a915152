// Linked into the programs registered with HEAPCHECK. Every C++ allocation gets a guard before
// and after it that is checked when the block is freed, so a write past a block ends the program
// there and then with the entry's failure pattern, instead of going unseen until it corrupts
// something that matters. After every test the platform's heaps are validated as well (under
// Wine's heap warnings each C runtime block carries a checked tail too).
#include <windows.h>

#include "tests/support/HeapCheck.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t kMagic = 0x5AFE8EAD;
constexpr unsigned char kGuardByte = 0xA5;
constexpr std::size_t kGuard = 16;

// Sixteen bytes, so that the caller's block keeps the alignment that malloc gives.
struct Head {
    std::size_t size;
    std::uint32_t magic;
    unsigned char guard[16 - sizeof(std::size_t) - sizeof(std::uint32_t)];
};
static_assert(sizeof(Head) == 16, "the head keeps the alignment");

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
        static_cast<unsigned char*>(std::malloc(sizeof(Head) + size + kGuard));
    if (raw == nullptr) {
        return nullptr;
    }
    Head* const head = reinterpret_cast<Head*>(raw);
    head->size = size;
    head->magic = kMagic;
    std::memset(head->guard, kGuardByte, sizeof head->guard);
    std::memset(raw + sizeof(Head) + size, kGuardByte, kGuard);
    return raw + sizeof(Head);
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
    writable->magic = 0;
    std::free(raw);
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
