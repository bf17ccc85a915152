#include <windows.h>

#include "statistics/XmlTextDoc.h"
#include "tests/support/FileUtil.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "测试" in UTF-8, in code page 936, and what code page 1252 makes of the 936 bytes.
const char kTestUtf8[] = "\xE6\xB5\x8B\xE8\xAF\x95";
const char kTestGb[] = "\xB2\xE2\xCA\xD4";
const wchar_t kTestWide[] = L"测试";

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const wchar_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// What the ANSI code page in force makes of the 936 bytes.
std::wstring AnsiOfGbBytes() {
    return ::GetACP() == 936 ? kTestWide : L"\u00B2\u00E2\u00CA\u00D4";
}

} // namespace

TEST(XmlTextFile, EncodingsOfFiles) {
    const std::string gbDecl = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
    const struct {
        const char* what;
        std::string bytes;
        int flags;
        std::wstring expected; // a part of the text read
    } cases[] = {
        {"UTF-8 mark beats a declaration", "\xEF\xBB\xBF" + gbDecl + "<a v='" + kTestUtf8 + "'/>",
         CXmlTextDoc::kUtf8Bom, kTestWide},
        {"UTF-8 without mark", std::string("<a v='") + kTestUtf8 + "'/>", 0, kTestWide},
        {"UTF-16 LE mark beats a declaration",
         Utf16(L"<?xml version='1.0' encoding='gb2312'?><a v='测试'/>", false),
         CXmlTextDoc::kUtf16LittleEndian, kTestWide},
        {"UTF-16 BE", Utf16(L"<a v='测试'/>", true), CXmlTextDoc::kUtf16BigEndian, kTestWide},
        {"gb2312 declared", gbDecl + "<a v='" + kTestGb + "'/>", 0, kTestWide},
        {"HTML meta charset",
         std::string("<html><head><meta http-equiv=\"content-type\" content=\"text/html; "
                     "charset=GB2312\"/></head><body>") +
             kTestGb + "</body></html>",
         0, kTestWide},
        {"windows-1252 declared", "<?xml version='1.0' encoding='windows-1252'?><a v='\xE9t\xE9'/>",
         0, L"été"},
        {"invalid UTF-8 is ANSI", std::string("<a v='") + kTestGb + "'/>", 0, AnsiOfGbBytes()},
        {"unknown declared name: the bytes decide",
         std::string("<?xml version='1.0' encoding='x-nosuch'?><a v='") + kTestUtf8 + "'/>", 0,
         kTestWide},
        {"zero bytes are dropped", std::string("<a v='x\0y'/>", 12), 0, L"'xy'"},
    };
    TestSupport::TempDir dir(L"xmlenc");
    const std::wstring path = dir / L"f.xml";
    for (const auto& c : cases) {
        ASSERT_TRUE(TestSupport::WriteFileBytes(path, c.bytes));
        CXmlTextDoc doc;
        int flags = CXmlTextDoc::kIgnoreCase | CXmlTextDoc::kUtf16BigEndian;
        ASSERT_TRUE(doc.ReadTextFile(path.c_str(), flags)) << c.what;
        EXPECT_EQ(flags, CXmlTextDoc::kIgnoreCase | c.flags) << c.what;
        EXPECT_NE(doc.GetDocText().find(c.expected), std::wstring::npos)
            << c.what << ": " << TestSupport::ToUtf8(doc.GetDocText());
        EXPECT_TRUE(doc.ParseDocument()) << c.what;
    }
}

TEST(XmlTextFile, FilesThatCannotBeRead) {
    TestSupport::TempDir dir(L"xmlenc");
    CXmlTextDoc doc;
    int flags = 0;
    EXPECT_FALSE(doc.ReadTextFile((dir / L"missing.xml").c_str(), flags));
    EXPECT_NE(doc.GetResult().find(L"<file_error msg="), std::wstring::npos);
    // No converter knows UTF-32 by that name: a failure, not an empty document.
    ASSERT_TRUE(TestSupport::WriteFileBytes(dir / L"u32.xml",
                                            "<?xml version='1.0' encoding='UTF-32'?><a/>"));
    EXPECT_FALSE(doc.ReadTextFile((dir / L"u32.xml").c_str(), flags));
}
