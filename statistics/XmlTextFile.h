#pragma once
#include <windows.h>

#include <string>

class CXmlTextDoc;

// Reads an XML file's bytes and turns them into UTF-16: byte-order marks, a declared encoding
// (XML declaration or HTML meta charset), UTF-8 detection, else the ANSI code page. Its steps go
// to the document's result log.
class XmlTextFile {
public:
    explicit XmlTextFile(const CXmlTextDoc& doc) : doc_(doc) {}

    // The whole file; false (logged "file_error") when it cannot be opened or read.
    bool ReadAll(const wchar_t* path, std::string& bytes) const;
    // encodingFlags gets the document's encoding bits (0x1, 0x4, 0x80). False when the text
    // cannot be converted (an encoding no converter knows).
    bool Decode(const std::string& bytes, std::wstring& text, int& encodingFlags) const;

    // Whether every byte of 0x80 or more starts a complete UTF-8 sequence (one cut off by the
    // end of the bytes counts as valid).
    static bool IsUtf8(const std::string& bytes);

private:
    bool DecodeUtf16(const std::string& bytes, bool bigEndian, std::wstring& text) const;
    bool DecodeEightBit(std::string bytes, const std::wstring& encoding, std::wstring& text) const;
    std::wstring DeclaredEncoding(const std::string& bytes) const;

    const CXmlTextDoc& doc_;
};
