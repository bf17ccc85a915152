#pragma once
#include <windows.h>

#include <string>

// The OS code of every report: major and minor version, service-pack number, "32" or "64", and
// the code-page class digit, without separators (Windows 7 SP1 64-bit with code page 936 is
// "611640").
void BuildOsCode(std::string& osCode);

// The platform's own version numbers from ntdll's RtlGetNtVersionNumbers, looked up at run time
// (GetVersionEx lies to programs without a compatibility manifest). The build keeps its low 16
// bits. When ntdll cannot be loaded, major and minor become 9 and the result is false; when the
// function is missing the numbers are left as they were and the result is false.
bool GetNtVersionNumbers(DWORD& major, DWORD& minor, DWORD& build);

// The major service-pack number in decimal; "0" when the version query fails.
void GetServicePackText(std::string& text);

// "0" for the Chinese, Japanese and Korean code pages of the list, "1" for 1252, else "2",
// from the ANSI code page.
void GetCodePageClass(std::string& text);
const char* CodePageClassOf(UINT ansiCodePage);

// "%d%d%s%s%s" of the five pieces; the empty text if formatting fails.
std::string FormatOsCode(DWORD major, DWORD minor, const std::string& servicePack,
                         const std::string& bits, const std::string& codePageClass);
