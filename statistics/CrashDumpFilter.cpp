#include <windows.h>
#include <dbghelp.h>

#include "statistics/CrashDumpFilter.h"

#include <cstdio>
#include <cstdlib>

namespace {

void MakeDumpFileName(char (&name)[64]) {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    const int random = std::rand() % 100;
    std::snprintf(name, sizeof(name), "%04d-%02d-%02d-%02d-%02d-%02d-%02d-%02d.dmp", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds,
                  random);
}

} // namespace

LONG WINAPI CrashDumpExceptionFilter(EXCEPTION_POINTERS* exceptionPointers) {
    char name[64] = {};
    MakeDumpFileName(name);
    const HANDLE file = ::CreateFileA(name, GENERIC_ALL, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return EXCEPTION_EXECUTE_HANDLER;
    }
    MINIDUMP_EXCEPTION_INFORMATION info = {};
    info.ThreadId = ::GetCurrentThreadId();
    info.ExceptionPointers = exceptionPointers;
    info.ClientPointers = FALSE;
    ::MiniDumpWriteDump(::GetCurrentProcess(), ::GetCurrentProcessId(), file, MiniDumpNormal,
                        exceptionPointers != nullptr ? &info : nullptr, nullptr, nullptr);
    ::CloseHandle(file);
    return EXCEPTION_EXECUTE_HANDLER;
}
