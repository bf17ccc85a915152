#pragma once
#include <string>

// The application's text conversions (UTF-16 inside, UTF-8 at the edges).
// Null or unconvertible input gives an empty string.
std::string WideToUtf8(const wchar_t* text);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const char* text);

// The questionnaire's free text as the final event carries it: each line end (CR LF, or the lone
// CR that the rich edit gives) becomes a blank, then every run of blanks a single blank.
std::wstring CleanOtherReasonText(const std::wstring& text);
