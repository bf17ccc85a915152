#pragma once
#include <windows.h>

#include <string>

namespace TestSupport {

// Sets (or, given null, removes) a variable of this process's environment, and so of the
// threads and children it starts, until the object goes.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        const DWORD n = ::GetEnvironmentVariableW(name, nullptr, 0);
        had_ = n != 0;
        previous_.resize(n);
        if (had_) {
            ::GetEnvironmentVariableW(name, &previous_[0], n);
            previous_.resize(n - 1);
        }
        ::SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { ::SetEnvironmentVariableW(name_, had_ ? previous_.c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
    std::wstring previous_;
    bool had_ = false;
};

} // namespace TestSupport
