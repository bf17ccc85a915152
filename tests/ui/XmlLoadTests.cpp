#include <windows.h>

#include "ui/WindowManagerUI.h"
#include "ui/XmlDocument.h"

#include "tests/support/FileUtil.h"
#include "tests/support/TempDir.h"
#include "tests/ui/SkinSamples.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

using SkinUI::CWindowManagerUI;
using SkinUI::CXmlDocument;
using SkinUI::CXmlNode;
using SkinUI::XMLFILE_ENCODING_ANSI;
using SkinUI::XMLFILE_ENCODING_UNICODE;
using SkinUI::XMLFILE_ENCODING_UTF8;
using TestSupport::TempDir;

namespace {

const BYTE* Bytes(const std::string& s) {
    return reinterpret_cast<const BYTE*>(s.data());
}

std::string Utf16Bytes(const std::wstring& text, bool bigEndian, bool mark) {
    std::string bytes;
    if (mark) {
        bytes += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    }
    for (wchar_t c : text) {
        const char hi = static_cast<char>((c >> 8) & 0xFF);
        const char lo = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
}

// Every name, value, text and attribute of a document, as one flat text.
std::wstring Dump(CXmlNode node) {
    std::wstring out;
    for (; node.IsValid(); node = node.GetSibling()) {
        out += L"<";
        out += node.GetName();
        for (int i = 0; i < node.GetAttributeCount(); ++i) {
            out += L" ";
            out += node.GetAttributeName(i);
            out += L"=[";
            out += node.GetAttributeValue(i);
            out += L"]";
        }
        out += L">";
        out += node.GetValue();
        out += Dump(node.GetChild());
        out += L"</>";
    }
    return out;
}

std::wstring DumpOf(const wchar_t* text) {
    CXmlDocument doc(text);
    EXPECT_TRUE(doc.GetRoot().IsValid()) << doc.GetLastErrorMessage();
    return Dump(doc.GetRoot());
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
    ASSERT_TRUE(TestSupport::WriteFileBytes(path, bytes));
}

} // namespace

TEST(XmlEncodingTest, Utf8WithAndWithoutByteOrderMarkGiveTheSameDocument) {
    const std::wstring expected = DumpOf(SkinSamples::kMainFrame);
    const std::string utf8 = TestSupport::ToUtf8(SkinSamples::kMainFrame);
    CXmlDocument plain;
    ASSERT_TRUE(
        plain.LoadFromMem(Bytes(utf8), static_cast<DWORD>(utf8.size()), XMLFILE_ENCODING_UTF8));
    EXPECT_EQ(expected, Dump(plain.GetRoot()));
    const std::string withMark = "\xEF\xBB\xBF" + utf8;
    CXmlDocument marked;
    ASSERT_TRUE(marked.LoadFromMem(Bytes(withMark), static_cast<DWORD>(withMark.size())));
    EXPECT_EQ(expected, Dump(marked.GetRoot()));
    EXPECT_EQ(L"卸载程序", std::wstring(marked.GetRoot()
                                            .GetChild(L"VerticalLayout")
                                            .GetChild()
                                            .GetChild()
                                            .GetAttributeValue(L"text")));
}

TEST(XmlEncodingTest, Utf16LittleAndBigEndian) {
    const std::wstring expected = DumpOf(SkinSamples::kQuestionnaire);
    const std::string le = Utf16Bytes(SkinSamples::kQuestionnaire, false, true);
    CXmlDocument little;
    ASSERT_TRUE(
        little.LoadFromMem(Bytes(le), static_cast<DWORD>(le.size()), XMLFILE_ENCODING_UNICODE))
        << little.GetLastErrorMessage();
    EXPECT_EQ(expected, Dump(little.GetRoot()));

    const std::string be = Utf16Bytes(SkinSamples::kQuestionnaire, true, true);
    const std::string beCopy = be;
    CXmlDocument big;
    ASSERT_TRUE(big.LoadFromMem(Bytes(be), static_cast<DWORD>(be.size()), XMLFILE_ENCODING_UNICODE))
        << big.GetLastErrorMessage();
    EXPECT_EQ(expected, Dump(big.GetRoot()));
    EXPECT_EQ(beCopy, be); // the caller's bytes are never swapped in place

    // Read-only caller memory must do as well.
    void* page = ::VirtualAlloc(nullptr, be.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    ASSERT_NE(nullptr, page);
    std::memcpy(page, be.data(), be.size());
    DWORD old = 0;
    ASSERT_TRUE(::VirtualProtect(page, be.size(), PAGE_READONLY, &old));
    CXmlDocument readOnly;
    EXPECT_TRUE(readOnly.LoadFromMem(static_cast<const BYTE*>(page), static_cast<DWORD>(be.size()),
                                     XMLFILE_ENCODING_UNICODE));
    EXPECT_EQ(expected, Dump(readOnly.GetRoot()));
    ::VirtualFree(page, 0, MEM_RELEASE);
}

TEST(XmlEncodingTest, Utf16EdgeCases) {
    // No mark: little-endian. An odd last byte is dropped.
    std::string noMark = Utf16Bytes(L"<A x=\"1\"/>", false, false);
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromMem(Bytes(noMark), static_cast<DWORD>(noMark.size()),
                                XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"1", doc.GetRoot().GetAttributeValue(L"x"));
    std::string odd = Utf16Bytes(L"<A/>", true, true) + "\x41";
    ASSERT_TRUE(
        doc.LoadFromMem(Bytes(odd), static_cast<DWORD>(odd.size()), XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"A", doc.GetRoot().GetName());
    // Too short for a character, or a mark alone.
    EXPECT_FALSE(doc.LoadFromMem(Bytes("<"), 1, XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"File is empty", doc.GetLastErrorMessage());
    EXPECT_TRUE(doc.LoadFromMem(Bytes("\xFF\xFE"), 2, XMLFILE_ENCODING_UNICODE));
    EXPECT_FALSE(doc.GetRoot().IsValid());
    // Characters outside the basic plane survive as surrogate pairs.
    std::string astral = Utf16Bytes(L"<A v=\"\xD83D\xDE00\"/>", true, true);
    ASSERT_TRUE(doc.LoadFromMem(Bytes(astral), static_cast<DWORD>(astral.size()),
                                XMLFILE_ENCODING_UNICODE));
    EXPECT_STREQ(L"\xD83D\xDE00", doc.GetRoot().GetAttributeValue(L"v"));
}

TEST(XmlEncodingTest, AnsiCodePage) {
    // Bytes above 127 mean what the system's ANSI code page says: "\xC4\xE3"
    // is one character in code page 936 and two in 1252.
    const std::string ansi = "<A v=\"caf\xC4\xE3\"/>";
    wchar_t expected[8] = {};
    ::MultiByteToWideChar(CP_ACP, 0, "caf\xC4\xE3", -1, expected, 8);
    CXmlDocument doc;
    ASSERT_TRUE(
        doc.LoadFromMem(Bytes(ansi), static_cast<DWORD>(ansi.size()), XMLFILE_ENCODING_ANSI));
    EXPECT_STREQ(expected, doc.GetRoot().GetAttributeValue(L"v"));
    if (::GetACP() == 1252) {
        EXPECT_STREQ(L"caf\x00C4\x00E3", doc.GetRoot().GetAttributeValue(L"v"));
        const std::string latin = "<A v=\"caf\xE9\"/>";
        ASSERT_TRUE(
            doc.LoadFromMem(Bytes(latin), static_cast<DWORD>(latin.size()), XMLFILE_ENCODING_ANSI));
        EXPECT_STREQ(L"caf\x00E9", doc.GetRoot().GetAttributeValue(L"v"));
    }
    if (::GetACP() == 936) {
        EXPECT_STREQ(L"caf你", doc.GetRoot().GetAttributeValue(L"v"));
        const std::string gbk = "<A v=\"\xD0\xB6\xD4\xD8\"/>"; // 卸载 in GBK
        ASSERT_TRUE(
            doc.LoadFromMem(Bytes(gbk), static_cast<DWORD>(gbk.size()), XMLFILE_ENCODING_ANSI));
        EXPECT_STREQ(L"卸载", doc.GetRoot().GetAttributeValue(L"v"));
    }
    const char* expectedAcp = std::getenv("UNINST_EXPECT_ACP");
    if (expectedAcp != nullptr) {
        EXPECT_EQ(static_cast<UINT>(std::atoi(expectedAcp)), ::GetACP());
    }
}

TEST(XmlEncodingTest, BadArgumentsAndBadBytes) {
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadFromMem(nullptr, 10));
    EXPECT_STREQ(L"File is empty", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.LoadFromMem(Bytes("<A/>"), 0));
    EXPECT_STREQ(L"File is empty", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.LoadFromMem(Bytes("<A/>"), 4, 7));
    EXPECT_STREQ(L"Unknown encoding", doc.GetLastErrorMessage());
    // Invalid UTF-8 becomes replacement characters, never a crash.
    const std::string broken = "<A v=\"\xC3\x28\xFF\xE2\x82\"/>";
    ASSERT_TRUE(doc.LoadFromMem(Bytes(broken), static_cast<DWORD>(broken.size())));
    EXPECT_TRUE(doc.GetRoot().IsValid());
    // Bytes after an embedded 0 are not part of the text.
    const std::string embedded("<A/>\0<B", 7);
    ASSERT_TRUE(doc.LoadFromMem(Bytes(embedded), static_cast<DWORD>(embedded.size())));
    EXPECT_FALSE(doc.GetRoot().GetSibling().IsValid());
}

TEST(XmlFileTest, FileErrorsAndTheSizeLimit) {
    TempDir dir(L"xmlsize");
    CXmlDocument doc;
    WriteFile(dir / L"empty.xml", "");
    EXPECT_FALSE(doc.LoadFromPath((dir / L"empty.xml").c_str()));
    EXPECT_STREQ(L"File is empty", doc.GetLastErrorMessage());

    // Exactly 4 MiB loads; one byte more is too large.
    const size_t limit = CXmlDocument::MAX_FILE_SIZE;
    std::string big = "<A>";
    big += std::string(limit - 3 - 4, 'x');
    big += "</A>";
    ASSERT_EQ(limit, big.size());
    WriteFile(dir / L"limit.xml", big);
    ASSERT_TRUE(doc.LoadFromPath((dir / L"limit.xml").c_str())) << doc.GetLastErrorMessage();
    EXPECT_EQ(limit - 7, std::wcslen(doc.GetRoot().GetValue()));
    WriteFile(dir / L"over.xml", big + " ");
    EXPECT_FALSE(doc.LoadFromPath((dir / L"over.xml").c_str()));
    EXPECT_STREQ(L"File too large", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.GetRoot().IsValid());

    WriteFile(dir / L"bad.xml", "<A><B></A>");
    EXPECT_FALSE(doc.LoadFromPath((dir / L"bad.xml").c_str()));
    EXPECT_STREQ(L"Unmatched closing tag", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.LoadFromPath(nullptr));
    EXPECT_STREQ(L"Error opening file", doc.GetLastErrorMessage());
}

TEST(XmlFileTest, SourceThatCannotBeReadWhole) {
    // A pipe opens like a file but has no size to read up to. Its name carries
    // the process id: the code-page run of this program may hold one at once.
    const std::wstring pipe =
        L"\\\\.\\pipe\\skinui_core_xml_test_" + std::to_wstring(::GetCurrentProcessId());
    const wchar_t* name = pipe.c_str();
    HANDLE server =
        ::CreateNamedPipeW(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    CXmlDocument doc;
    EXPECT_FALSE(doc.LoadFromPath(name));
    EXPECT_STREQ(L"Could not read file", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.GetRoot().IsValid());
    ::CloseHandle(server);
}

TEST(XmlResourceTest, LoadsFromAModuleResource) {
    HINSTANCE self = ::GetModuleHandleW(nullptr);
    CXmlDocument doc;
    ASSERT_TRUE(doc.LoadFromResource(self, MAKEINTRESOURCEW(101), L"SKINXML"))
        << doc.GetLastErrorMessage();
    EXPECT_STREQ(L"Window", doc.GetRoot().GetName());
    EXPECT_STREQ(L"卸载程序", doc.GetRoot().GetChild().GetAttributeValue(L"text"));
    EXPECT_FALSE(doc.LoadFromResource(self, MAKEINTRESOURCEW(999), L"SKINXML"));
    EXPECT_STREQ(L"Error opening file", doc.GetLastErrorMessage());
    EXPECT_FALSE(doc.LoadFromResource(self, MAKEINTRESOURCEW(102), L"SKINXML"));
    EXPECT_STREQ(L"Unmatched closing tag", doc.GetLastErrorMessage());
}
