#pragma once
#include <cstddef>

// The test program's own operator new: it can count the allocations of the calling thread and
// make one of them fail with std::bad_alloc, as memory exhaustion would.
namespace FailingAllocator {

// The next allocations on this thread succeed until 'succeeding' of them have been made; the one
// after throws std::bad_alloc, and later ones succeed again.
void FailAfter(long succeeding);
// Starts counting this thread's allocations; Count() reads the number.
void StartCounting();
long Count();
// Back to plain allocation on this thread.
void Disarm();

} // namespace FailingAllocator
