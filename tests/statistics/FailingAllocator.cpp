#include "tests/statistics/FailingAllocator.h"

#include <cstdlib>
#include <new>

namespace {

// -1: plain allocation. Plain variables (not objects with constructors) so that they are usable
// however early an allocation happens.
thread_local long t_remaining = -1;
thread_local bool t_counting = false;
thread_local long t_count = 0;

void* Allocate(std::size_t size) {
    if (t_counting) {
        ++t_count;
    }
    if (t_remaining == 0) {
        t_remaining = -1;
        throw std::bad_alloc();
    }
    if (t_remaining > 0) {
        --t_remaining;
    }
    void* const memory = std::malloc(size != 0 ? size : 1);
    if (memory == nullptr) {
        throw std::bad_alloc();
    }
    return memory;
}

} // namespace

namespace FailingAllocator {

void FailAfter(long succeeding) {
    t_remaining = succeeding;
}

void StartCounting() {
    t_count = 0;
    t_counting = true;
}

long Count() {
    return t_count;
}

void Disarm() {
    t_remaining = -1;
    t_counting = false;
}

} // namespace FailingAllocator

void* operator new(std::size_t size) {
    return Allocate(size);
}

void* operator new[](std::size_t size) {
    return Allocate(size);
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
