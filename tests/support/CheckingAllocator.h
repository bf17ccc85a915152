#pragma once

namespace TestSupport {

// Blocks of the checking allocator (programs registered with HEAPCHECK) not yet freed: operator
// new and malloc alike. Compare two counts around an operation to see what it left behind.
long LiveCheckedBlocks();

} // namespace TestSupport
