#pragma once
#include <winsock2.h>
#include <windows.h>

#include <chrono>

namespace HttpTestUtil {

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
