#include <windows.h>

#include "statistics/BracelessFastWriter.h"
#include "statistics/CodePageConverter.h"
#include "statistics/TextHelpers.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t kNi[] = L"\u4F60"; // 你

// --- CodePageConverter ------------------------------------------------------

TEST(CodePageConverter, Gbk936ToWide) {
    EXPECT_EQ(CodePageConverter(936).ToWide("\xC4\xE3"), kNi);
    EXPECT_EQ(CodePageConverter(936).ToWide("ab\xC4\xE3\xBA\xC3"), L"ab\u4F60\u597D");
}

TEST(CodePageConverter, WideToUtf8) {
    EXPECT_EQ(CodePageConverter(CP_UTF8).ToMultiByte(kNi), "\xE4\xBD\xA0");
    EXPECT_EQ(CodePageConverter(65001).ToMultiByte(L"\u4F60\u597D"), "\xE4\xBD\xA0\xE5\xA5\xBD");
}

TEST(CodePageConverter, WideTo936) {
    EXPECT_EQ(CodePageConverter(936).ToMultiByte(L"\u4F60\u597D"), "\xC4\xE3\xBA\xC3");
    // A character that GBK lacks comes out as the replacement character.
    EXPECT_EQ(CodePageConverter(936).ToMultiByte(L"a\u0E01b"), "a?b");
}

TEST(CodePageConverter, NullAndEmptyGiveEmpty) {
    for (const UINT page : {0u, 936u, 65001u}) {
        const CodePageConverter converter(page);
        EXPECT_EQ(converter.ToWide(static_cast<const char*>(nullptr)), L"");
        EXPECT_EQ(converter.ToWide(""), L"");
        EXPECT_EQ(converter.ToMultiByte(static_cast<const wchar_t*>(nullptr)), "");
        EXPECT_EQ(converter.ToMultiByte(L""), "");
    }
}

TEST(CodePageConverter, Utf8RoundTripIncludingSurrogatePairs) {
    const std::wstring text = L"Zeph \u4F60\u597D \u00E9 \U0001F600 end";
    const CodePageConverter utf8(CP_UTF8);
    const std::string bytes = utf8.ToMultiByte(text);
    EXPECT_EQ(bytes, "Zeph \xE4\xBD\xA0\xE5\xA5\xBD \xC3\xA9 \xF0\x9F\x98\x80 end");
    EXPECT_EQ(utf8.ToWide(bytes), text);
}

TEST(CodePageConverter, InvalidUtf8BecomesReplacementCharacters) {
    const std::wstring wide = CodePageConverter(CP_UTF8).ToWide("a\xFF\xC3z");
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.front(), L'a');
    EXPECT_EQ(wide.back(), L'z');
    EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos);
}

TEST(CodePageConverter, StringFormsStopAtTheFirstNul) {
    const std::string withNul("ab\0cd", 5);
    EXPECT_EQ(CodePageConverter(CP_UTF8).ToWide(withNul), L"ab");
}

TEST(CodePageConverter, LongTextRoundTrip) {
    std::wstring text;
    for (int i = 0; i < 200000; ++i) {
        text += static_cast<wchar_t>(0x4E00 + (i % 0x5000));
    }
    const CodePageConverter utf8(CP_UTF8);
    EXPECT_EQ(utf8.ToWide(utf8.ToMultiByte(text)), text);
    const CodePageConverter gbk(936);
    EXPECT_EQ(gbk.ToWide(gbk.ToMultiByte(L"\u4F60\u597D\u4E16\u754C")),
              L"\u4F60\u597D\u4E16\u754C");
}

// The run registered with CP936 has the Chinese ANSI code page; the default
// run has Western 1252. Code page 0 must follow whichever is active.
TEST(CodePageConverter, AnsiCodePageFollowsTheSystem) {
    const char* expected = std::getenv("UNINST_EXPECT_ACP");
    if (expected != nullptr) {
        ASSERT_EQ(::GetACP(), static_cast<UINT>(std::atoi(expected)));
    }
    const CodePageConverter ansi(CP_ACP);
    if (::GetACP() == 936) {
        EXPECT_EQ(ansi.ToWide("\xC4\xE3"), kNi);
        EXPECT_EQ(ansi.ToMultiByte(L"\u4F60\u597D"), "\xC4\xE3\xBA\xC3");
    } else if (::GetACP() == 1252) {
        EXPECT_EQ(ansi.ToWide("\xC4\xE3"), L"\u00C4\u00E3");
        EXPECT_EQ(ansi.ToMultiByte(L"\u00E9"), "\xE9");
    }
    EXPECT_EQ(ansi.ToWide("Serverlist;SubmitUrl"), L"Serverlist;SubmitUrl");
}

// --- PercentEncode ----------------------------------------------------------

TEST(PercentEncode, PunctuationIsEncoded) {
    EXPECT_EQ(PercentEncode("a b-c_d.e~f"), "a%20b%2Dc%5Fd%2Ee%7Ef");
    EXPECT_EQ(PercentEncode("*+&=%/{}\":,"), "%2A%2B%26%3D%25%2F%7B%7D%22%3A%2C");
}

TEST(PercentEncode, LettersAndDigitsStay) {
    EXPECT_EQ(PercentEncode("Az09"), "Az09");
    EXPECT_EQ(PercentEncode(""), "");
}

TEST(PercentEncode, HighBytesAreEncodedUpperCase) {
    EXPECT_EQ(PercentEncode("\xE4\xB8\xAD"), "%E4%B8%AD");
    EXPECT_EQ(PercentEncode("\xC3\xA9"), "%C3%A9");
}

TEST(PercentEncode, EmbeddedNulIsEncoded) {
    EXPECT_EQ(PercentEncode(std::string("a\0b", 3)), "a%00b");
}

TEST(PercentEncode, EveryByteValue) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    const std::string encoded = PercentEncode(all);
    size_t pos = 0;
    for (int i = 0; i < 256; ++i) {
        const bool plain =
            (i >= '0' && i <= '9') || (i >= 'A' && i <= 'Z') || (i >= 'a' && i <= 'z');
        if (plain) {
            ASSERT_EQ(encoded[pos], static_cast<char>(i)) << i;
            pos += 1;
        } else {
            char expected[4];
            std::snprintf(expected, sizeof(expected), "%%%02X", i);
            ASSERT_EQ(encoded.substr(pos, 3), expected) << i;
            pos += 3;
        }
    }
    EXPECT_EQ(pos, encoded.size());
}

// --- writeBraceless ---------------------------------------------------------

std::string Braceless(const Json::Value& value) {
    Json::BracelessFastWriter writer;
    return writer.writeBraceless(value);
}

TEST(WriteBraceless, MembersInNameOrderWithoutBraces) {
    Json::Value object(Json::objectValue);
    object["b"] = 1;
    object["a"] = "x";
    EXPECT_EQ(Braceless(object), "\"a\":\"x\",\"b\":1\n");
}

TEST(WriteBraceless, EmptyObjectIsJustALineFeed) {
    EXPECT_EQ(Braceless(Json::Value(Json::objectValue)), "\n");
}

TEST(WriteBraceless, NestedObjectsKeepTheirBraces) {
    Json::Value object(Json::objectValue);
    object["k"]["n"] = Json::Value();
    EXPECT_EQ(Braceless(object), "\"k\":{\"n\":null}\n");
}

TEST(WriteBraceless, ArraysKeepTheirBrackets) {
    Json::Value array(Json::arrayValue);
    array.append(1);
    array.append(2);
    EXPECT_EQ(Braceless(array), "[1,2]\n");
    Json::Value object(Json::objectValue);
    object["list"] = array;
    EXPECT_EQ(Braceless(object), "\"list\":[1,2]\n");
}

TEST(WriteBraceless, ScalarsAsTheCompactWriterWritesThem) {
    EXPECT_EQ(Braceless(Json::Value()), "null\n");
    EXPECT_EQ(Braceless(Json::Value(-7)), "-7\n");
    EXPECT_EQ(Braceless(Json::Value(Json::UInt64(18446744073709551615ull))),
              "18446744073709551615\n");
    EXPECT_EQ(Braceless(Json::Value(true)), "true\n");
    EXPECT_EQ(Braceless(Json::Value("q\"\\\n")), "\"q\\\"\\\\\\n\"\n");
}

TEST(WriteBraceless, WrappedInBracesEqualsTheCompactWriter) {
    Json::Value object(Json::objectValue);
    object["Sessionid"] = "0A1B2C3D";
    object["CPU"].append("Intel");
    object["Memory_Total_Capacity"] = 8192;
    object["Mac"] = "00-11-22-33-44-55;66-77-88-99-AA-BB";
    object["Ratio"] = 0.5;
    object["quote\"name"] = "tab\there";
    object["Z"]["deep"]["deeper"] = Json::Value(Json::arrayValue);
    std::string braceless = Braceless(object);
    ASSERT_EQ(braceless.back(), '\n');
    braceless.pop_back();
    Json::FastWriter stock;
    EXPECT_EQ("{" + braceless + "}\n", stock.write(object));
    // Names come in ascending byte order.
    EXPECT_LT(braceless.find("\"CPU\""), braceless.find("\"Mac\""));
    EXPECT_LT(braceless.find("\"Mac\""), braceless.find("\"Memory_Total_Capacity\""));
    EXPECT_LT(braceless.find("\"Sessionid\""), braceless.find("\"Z\""));
}

TEST(WriteBraceless, YamlCompatibleSeparator) {
    Json::Value object(Json::objectValue);
    object["a"]["b"] = 1;
    Json::BracelessFastWriter writer;
    writer.enableYAMLCompatibility();
    EXPECT_EQ(writer.writeBraceless(object), "\"a\": {\"b\": 1}\n");
}

TEST(WriteBraceless, WriterIsReusable) {
    Json::BracelessFastWriter writer;
    Json::Value first(Json::objectValue);
    first["x"] = 1;
    Json::Value second(Json::objectValue);
    second["y"] = 2;
    EXPECT_EQ(writer.writeBraceless(first), "\"x\":1\n");
    EXPECT_EQ(writer.writeBraceless(second), "\"y\":2\n");
}

// --- paths ------------------------------------------------------------------

TEST(GetDirectoryPart, ForwardSlashesBecomeBackslashes) {
    wchar_t out[MAX_PATH] = {};
    ASSERT_TRUE(GetDirectoryPart(L"C:/game/bin/uninst.exe", out));
    EXPECT_STREQ(out, L"C:\\game\\bin\\");
    ASSERT_TRUE(GetDirectoryPart(L"C:\\game\\x.dll", out));
    EXPECT_STREQ(out, L"C:\\game\\");
    ASSERT_TRUE(GetDirectoryPart(L"C:\\", out));
    EXPECT_STREQ(out, L"C:\\");
}

TEST(GetDirectoryPart, BareFileNameGivesCurrentFolder) {
    wchar_t out[MAX_PATH] = {};
    ASSERT_TRUE(GetDirectoryPart(L"uninst.exe", out));
    EXPECT_STREQ(out, L".\\");
}

TEST(GetDirectoryPart, EmptyOrNullGivesFalse) {
    wchar_t out[MAX_PATH] = L"unchanged";
    EXPECT_FALSE(GetDirectoryPart(L"", out));
    EXPECT_FALSE(GetDirectoryPart(nullptr, out));
    EXPECT_STREQ(out, L"unchanged");
}

TEST(GetDirectoryPart, OverlongDirectoryIsRefusedWithoutOverflow) {
    struct Guarded {
        wchar_t out[MAX_PATH];
        wchar_t canary[8];
    } guarded;
    std::wmemset(guarded.canary, L'#', 8);
    const std::wstring path = L"C:\\" + std::wstring(400, L'd') + L"\\file.txt";
    EXPECT_FALSE(GetDirectoryPart(path.c_str(), guarded.out));
    EXPECT_EQ(std::wstring(guarded.canary, 8), std::wstring(8, L'#'));
}

TEST(ReplaceWideChar, ReplacesEveryOccurrence) {
    wchar_t text[] = L"a/b/c/";
    EXPECT_TRUE(ReplaceWideChar(text, L'/', L'\\'));
    EXPECT_STREQ(text, L"a\\b\\c\\");
    wchar_t empty[] = L"";
    EXPECT_FALSE(ReplaceWideChar(empty, L'/', L'\\'));
    EXPECT_FALSE(ReplaceWideChar(nullptr, L'/', L'\\'));
}

TEST(GetModuleDirectory, IsTheExecutablesFolderNotTheCurrentOne) {
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    std::wstring expected(exe);
    expected.erase(expected.rfind(L'\\') + 1);

    TestSupport::TempDir temp(L"moddir");
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryW(temp.Path().c_str()));
    std::wstring dir = L"old";
    const bool found = GetModuleDirectory(dir);
    ::SetCurrentDirectoryW(previous);

    ASSERT_TRUE(found);
    EXPECT_EQ(dir, expected);
    EXPECT_EQ(dir.back(), L'\\');
}

// --- time, session id, lists ------------------------------------------------

TEST(GetLocalTimeText, DateAndTimeOfNow) {
    SYSTEMTIME before = {};
    ::GetLocalTime(&before);
    std::string text = "stale";
    GetLocalTimeText(text);
    SYSTEMTIME after = {};
    ::GetLocalTime(&after);
    ASSERT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")))
        << text;
    const int year = std::atoi(text.substr(0, 4).c_str());
    EXPECT_TRUE(year == before.wYear || year == after.wYear);
    const int month = std::atoi(text.substr(5, 2).c_str());
    EXPECT_TRUE(month == before.wMonth || month == after.wMonth);
}

TEST(NewSessionIdText, EightUpperCaseHexDigits) {
    std::set<std::string> seen;
    for (int i = 0; i < 20; ++i) {
        std::string id;
        ASSERT_TRUE(NewSessionIdText(id));
        ASSERT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}"))) << id;
        seen.insert(id);
    }
    EXPECT_GT(seen.size(), 1u);
}

TEST(SplitBySemicolon, TrailingSeparatorGivesTwoItems) {
    std::vector<std::string> items;
    const char text[] = "Machid;GVersion;";
    EXPECT_TRUE(SplitBySemicolon(text, sizeof(text) - 1, items));
    EXPECT_EQ(items, (std::vector<std::string>{"Machid", "GVersion"}));
}

TEST(SplitBySemicolon, SeparatorsAloneGiveNothing) {
    std::vector<std::string> items;
    EXPECT_FALSE(SplitBySemicolon(";;", 2, items));
    EXPECT_TRUE(items.empty());
}

TEST(SplitBySemicolon, SpacesStayPartOfItems) {
    std::vector<std::string> items;
    const char text[] = "Mac; OS";
    EXPECT_TRUE(SplitBySemicolon(text, sizeof(text) - 1, items));
    EXPECT_EQ(items, (std::vector<std::string>{"Mac", " OS"}));
}

TEST(SplitBySemicolon, LengthAndNulLimitTheText) {
    std::vector<std::string> items;
    EXPECT_TRUE(SplitBySemicolon("ab;cd;ef", 4, items));
    EXPECT_EQ(items, (std::vector<std::string>{"ab", "c"}));
    items.clear();
    const char withNul[] = {'x', ';', 'y', '\0', ';', 'z'};
    EXPECT_TRUE(SplitBySemicolon(withNul, sizeof(withNul), items));
    EXPECT_EQ(items, (std::vector<std::string>{"x", "y"}));
}

TEST(SplitBySemicolon, AppendsToTheList) {
    std::vector<std::string> items{"kept"};
    EXPECT_TRUE(SplitBySemicolon(";;;", 3, items));
    EXPECT_TRUE(SplitBySemicolon(";;a;;b", 6, items));
    EXPECT_EQ(items, (std::vector<std::string>{"kept", "a", "b"}));
}

TEST(SplitBySemicolon, NullOrZeroLengthAppendsNothing) {
    std::vector<std::string> items{"kept"};
    EXPECT_FALSE(SplitBySemicolon(nullptr, 5, items));
    EXPECT_FALSE(SplitBySemicolon("a;b", 0, items));
    EXPECT_EQ(items.size(), 1u);
}

} // namespace
