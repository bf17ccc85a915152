#pragma once
#include <string>

// Copies the running executable to the local application-data folder as
// "uninst.exe" and starts the copy with the installation directory as its
// whole command line; ends the process.
[[noreturn]] void RelaunchFromLocalAppData();

// The folder part of a module path, without the trailing separator (the
// whole path when it has no separator).
std::wstring DirectoryOfPath(const std::wstring& path);

// The full path of the running executable; empty when it cannot be had whole.
std::wstring GetRunningModulePath();
