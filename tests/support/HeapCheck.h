#pragma once

namespace TestSupport {

// Whether the C runtime's heap and the process heap pass the platform's own validation. Under
// Wine with heap warnings on (WINEDEBUG=warn+heap) every block carries a checked tail, so a
// write even one byte past a block shows here, and Wine names the block on its error channel.
bool HeapsAreSound();

} // namespace TestSupport
