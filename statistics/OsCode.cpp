#include <windows.h>

#include "statistics/OsCode.h"

#include <cstdio>
#include <vector>

namespace {

using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);

const UINT kFarEastCodePages[] = {936,   950,   10002, 10008, 20000, 20002, 20936, 50227,
                                  50229, 50935, 50936, 51936, 51950, 52936, 54936};

std::string BitsText() {
    SYSTEM_INFO info = {};
    ::GetNativeSystemInfo(&info);
    const WORD arch = info.wProcessorArchitecture;
    return arch == PROCESSOR_ARCHITECTURE_AMD64 || arch == PROCESSOR_ARCHITECTURE_IA64 ? "64"
                                                                                       : "32";
}

} // namespace

bool GetNtVersionNumbers(DWORD& major, DWORD& minor, DWORD& build) {
    HMODULE ntdll = ::LoadLibraryW(L"ntdll.dll");
    if (ntdll == nullptr) {
        major = 9;
        minor = 9;
        return false;
    }
    bool found = false;
    const auto fn = reinterpret_cast<RtlGetNtVersionNumbersFn>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll, "RtlGetNtVersionNumbers")));
    if (fn != nullptr) {
        fn(&major, &minor, &build);
        // The high bits carry the checked/free flag, not the build.
        build &= 0xFFFF;
        found = true;
    }
    ::FreeLibrary(ntdll);
    return found;
}

void GetServicePackText(std::string& text) {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
        text = "0";
        return;
    }
    text = std::to_string(static_cast<int>(info.wServicePackMajor));
}

const char* CodePageClassOf(UINT ansiCodePage) {
    for (UINT cp : kFarEastCodePages) {
        if (cp == ansiCodePage) {
            return "0";
        }
    }
    return ansiCodePage == 1252 ? "1" : "2";
}

void GetCodePageClass(std::string& text) {
    text = CodePageClassOf(::GetACP());
}

std::string FormatOsCode(DWORD major, DWORD minor, const std::string& servicePack,
                         const std::string& bits, const std::string& codePageClass) {
    const char* const format = "%d%d%s%s%s";
    const int length =
        std::snprintf(nullptr, 0, format, static_cast<int>(major), static_cast<int>(minor),
                      servicePack.c_str(), bits.c_str(), codePageClass.c_str());
    if (length <= 0) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    std::snprintf(buffer.data(), buffer.size(), format, static_cast<int>(major),
                  static_cast<int>(minor), servicePack.c_str(), bits.c_str(),
                  codePageClass.c_str());
    return std::string(buffer.data(), static_cast<size_t>(length));
}

void BuildOsCode(std::string& osCode) {
    osCode.clear();
    const std::string bits = BitsText();
    std::string codePageClass;
    GetCodePageClass(codePageClass);
    std::string servicePack;
    GetServicePackText(servicePack);
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    if (!GetNtVersionNumbers(major, minor, build)) {
        servicePack = "9";
    }
    osCode = FormatOsCode(major, minor, servicePack, bits, codePageClass);
}
