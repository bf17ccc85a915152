#pragma once
#include <windows.h>

// Seconds on the performance counter since an arbitrary start; only
// differences mean anything.
inline double BenchSeconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

inline double BenchMilliseconds() {
    return BenchSeconds() * 1000.0;
}
