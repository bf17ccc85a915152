#include <windows.h>

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/support/UnixSide.h"

namespace TestSupport {

namespace {

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

bool IsWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::string UnixPathOf(const std::wstring& windowsPath) {
    typedef char*(CDECL * UnixNameFn)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixNameFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr) {
        return std::string();
    }
    char* name = unixName(windowsPath.c_str());
    if (name == nullptr) {
        return std::string();
    }
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

ChildProcess StartUnixProgram(const std::string& program, const std::vector<std::string>& args) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring start = std::wstring(system) + L"\\start.exe";
    std::string line = "start.exe /wait /unix " + Quoted(program);
    for (const std::string& arg : args) {
        line += " " + Quoted(arg);
    }
    return StartProcess(start, FromUtf8(line), L"");
}

bool RunUnixProgram(const std::string& program, const std::vector<std::string>& args) {
    ChildProcess child = StartUnixProgram(program, args);
    DWORD code = 1;
    return child && child.Wait(30000, &code) && code == 0;
}

ChildProcess StartThroughWineLoader(const std::wstring& exe) {
    return StartUnixProgram("/usr/bin/wine", {ToUtf8(exe)});
}

bool MakeUnixLink(const std::wstring& target, const std::wstring& linkPath) {
    const std::string unixTarget = UnixPathOf(target);
    const std::string unixLink = UnixPathOf(linkPath);
    if (unixTarget.empty() || unixLink.empty() ||
        !RunUnixProgram("/bin/ln", {"-s", unixTarget, unixLink})) {
        return false;
    }
    return WaitUntil(
        [&] {
            const DWORD attributes = ::GetFileAttributesW(linkPath.c_str());
            return attributes != INVALID_FILE_ATTRIBUTES &&
                   (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        },
        10000);
}

void RemoveUnixLink(const std::wstring& linkPath) {
    const std::string unixLink = UnixPathOf(linkPath);
    if (!unixLink.empty()) {
        // rm without -r removes the link, never what it points to.
        RunUnixProgram("/bin/rm", {"-f", unixLink});
    }
}

} // namespace TestSupport
