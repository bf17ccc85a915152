#pragma once
#include <cstddef>
#include <string>

// Name and character rules shared by the XML document's tokenizer, tree builder and attribute
// reader.

// Tab, line feed, carriage return, space.
bool IsXmlWhitespace(wchar_t c);
// Length of the name at start: up to the end of the text or a whitespace, "/", ">", "=", "?",
// "[" or "]".
std::size_t XmlNameLength(const std::wstring& text, std::size_t start);
// Exact comparison, or with ASCII letters folded.
bool XmlNamesEqual(const std::wstring& a, const std::wstring& b, bool ignoreCase);
// The name at [start, start + length) as a key that equal names share (see XmlNamesEqual).
std::wstring XmlNameKey(const std::wstring& text, std::size_t start, std::size_t length,
                        bool ignoreCase);
// The charset named in a Content-Type value ("text/html; charset=gb2312"), or the empty text.
std::wstring CharsetOfContentType(const std::wstring& content);
// Reads an element path ("a/b[2]/c[@x='1']/@y" and the like) and gives the name of its first
// step. False for a path with a syntax error and for one that begins with "/" (those find
// nothing).
bool FirstNameOfXmlPath(const std::wstring& path, std::wstring& firstName);
