#pragma once
#include <winsock2.h>
#include <windows.h>

#include "statistics/HttpTestHooks.h"
#include "statistics/HttpTransport.h"

#include <chrono>

namespace HttpTestUtil {

// Short transport time-outs for one test; the normal ones come back after it.
class ShortTimeouts {
public:
    ShortTimeouts(long connectMs, long totalMs) { SetHttpTimeoutsForTesting(connectMs, totalMs); }
    ~ShortTimeouts() { SetHttpTimeoutsForTesting(0, 0); }
    ShortTimeouts(const ShortTimeouts&) = delete;
    ShortTimeouts& operator=(const ShortTimeouts&) = delete;
};

class Stopwatch {
public:
    long long ElapsedMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start_)
            .count();
    }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// A loopback port with no listener: bound once, then released.
unsigned short UnusedPort();

} // namespace HttpTestUtil
