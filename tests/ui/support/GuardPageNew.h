#pragma once

// What the guard-page allocator (GuardPageNew.cpp) did so far.
namespace GuardPages {

// The most small blocks that are guarded at once: each takes a page of its own between pages that
// cannot be touched, and every such page is a kernel mapping of its own under Wine, which allows
// a process about 65,000 of them.
constexpr unsigned long kMaxGuardedSmallBlocks = 16384;

// Blocks that went to the heap without a guard page because the guarded slots or regions were
// all in use.
unsigned long UnguardedBlocks();

} // namespace GuardPages
