#pragma once
#include "tests/support/Process.h"

#include <string>
#include <vector>

// What only the Linux side of Wine can do for a test: links as players' file systems have them (a
// game moved to another drive and linked back), which Wine 8 makes none of itself, and starts
// that keep the spelling of a program's path.
namespace TestSupport {

// Running under Wine (whose Unix links the platform cannot remove without following them).
bool IsWine();
// The Linux path of a Windows path, empty outside Wine.
std::string UnixPathOf(const std::wstring& windowsPath);
// Starts a Linux program through Wine's "start /unix"; the process ends when the program does
// (its exit code is not passed on).
ChildProcess StartUnixProgram(const std::string& program, const std::vector<std::string>& args);
// Runs a Linux program through Wine's "start /unix" and waits for it; true when it ran.
bool RunUnixProgram(const std::string& program, const std::vector<std::string>& args);
// Starts a Windows program as `wine PATH` does from a shell. A program started by another Windows
// program learns its own path from Wine in long names, whatever spelling started it; started so,
// it learns the path as spelled, as on Windows (an 8.3 path stays one). Its environment is made
// anew from the Linux one and the registry's. The process ends when the program does.
ChildProcess StartThroughWineLoader(const std::wstring& exe);
// A Unix symbolic link at linkPath to target (both Windows paths); true once it shows as a link.
bool MakeUnixLink(const std::wstring& target, const std::wstring& linkPath);
// Removes a Unix link (never its target).
void RemoveUnixLink(const std::wstring& linkPath);

} // namespace TestSupport
