#pragma once
#include <windows.h>

#include <string>
#include <vector>

// One section of a server list as the reports use it: the keywords every
// report must carry and the URLs to post to, in key order (SubmitUrl,
// SubmitUrl1, ... up to the first empty one).
struct ServerListSection {
    std::vector<std::string> inputKeyWords;  // ANSI code page
    std::vector<std::string> submitKeyWords; // ANSI code page
    std::vector<std::string> submitUrls;     // code page 936
};

// The section as the file holds it now. Parsed sections are kept for the
// process and shared by every statistics object; a file whose write time or
// size changed is read again. Any thread.
ServerListSection ReadServerListSection(const std::wstring& path, const wchar_t* section);
