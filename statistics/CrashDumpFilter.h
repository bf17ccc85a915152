#pragma once
#include <windows.h>

// Unhandled-exception filter that writes a minidump named
// "YYYY-MM-DD-hh-mm-ss-mmm-rr.dmp" (local time, then a random 00-99) into the
// process's current directory and ends the process without the system's
// error dialog. Installed with SetUnhandledExceptionFilter.
LONG WINAPI CrashDumpExceptionFilter(EXCEPTION_POINTERS* exceptionPointers);
