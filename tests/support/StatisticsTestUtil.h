#pragma once
#include <windows.h>

#include <json/json.h>

#include <string>
#include <vector>

// Helpers shared by the tests of the statistics component and of the uninstaller's events.
namespace StatsTest {

// A server list like the embedded one, every URL on base ("http://127.0.0.1:<port>").
std::string StandardServerList(const std::string& base);

// Writes an 8-bit INI text with CRLF line ends (the text's "\n" become "\r\n").
bool WriteServerList(const std::wstring& path, const std::string& text);

// The uninstaller's five always-present members, as a fragment.
std::wstring MinimalFragment(const std::wstring& gversion = L"1.2.3");

// An event report's body taken apart: "code=" + code + "&info=" + encoded info.
struct EventReport {
    bool wellFormedBody = false; // starts with "code=", has "&info=", info only [A-Za-z0-9%XX]
    std::string code;
    std::string encodedInfo;
    std::string text; // the decoded info (UTF-8)
    bool validJson = false;
    bool validUtf8 = false;
    Json::Value root;
    std::vector<std::string> names; // top-level member names in written order
};
EventReport DecodeEventBody(const std::string& body);

// Strict JSON parse (no comments, no trailing text, no duplicate keys).
bool ParseStrictJson(const std::string& text, Json::Value& root);

// Whether the text consists of count characters from the set.
bool IsMadeOf(const std::string& text, const char* set, size_t count);

// "0x" + 8 hex digits + ", 0x" + 8 hex digits, upper case.
bool IsMachineIdAnswer(const std::string& text);

// The names of an event report with the hardware groups of the mask 7, then the fragment's.
std::vector<std::string> ComponentNamesWithHardware();
std::vector<std::string> ComponentNamesWithoutHardware();

// True in the run that asks for the code page 936 (each such program checks once that the
// page is in force).
bool ExpectedCodePage936();

} // namespace StatsTest
