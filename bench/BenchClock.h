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

// One core for the whole run, child processes included (they inherit it): the sides compared
// share that core alike.
inline void PinToOneCore() {
    DWORD_PTR process = 0, system = 0;
    if (::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system) && process != 0) {
        ::SetProcessAffinityMask(::GetCurrentProcess(), process & (~process + 1));
    }
}
