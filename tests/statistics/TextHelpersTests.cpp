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

// --- CodePageConverter ------------------------------------------------------

struct Conversion {
    UINT page;
    std::string bytes;
    std::wstring wide;
};

TEST(CodePageConverter, ConvertsBothWays) {
    const Conversion cases[] = {
        {936, "ab\xC4\xE3\xBA\xC3", L"ab\u4F60\u597D"},
        {CP_UTF8, "\xE4\xBD\xA0\xE5\xA5\xBD", L"\u4F60\u597D"},
        {CP_UTF8, "Zeph \xC3\xA9 \xF0\x9F\x98\x80 end", L"Zeph \u00E9 \U0001F600 end"},
        {936, "", L""},
        {CP_UTF8, "", L""},
    };
    for (const Conversion& c : cases) {
        const CodePageConverter converter(c.page);
        EXPECT_EQ(converter.ToWide(c.bytes), c.wide) << c.page << " " << c.bytes;
        EXPECT_EQ(converter.ToMultiByte(c.wide), c.bytes) << c.page << " " << c.bytes;
    }
    // A character that GBK lacks comes out as the replacement character.
    EXPECT_EQ(CodePageConverter(936).ToMultiByte(L"a\u0E01b"), "a?b");
}

TEST(CodePageConverter, NullInvalidAndNulInputs) {
    for (const UINT page : {0u, 936u, 65001u}) {
        const CodePageConverter converter(page);
        EXPECT_EQ(converter.ToWide(static_cast<const char*>(nullptr)), L"");
        EXPECT_EQ(converter.ToMultiByte(static_cast<const wchar_t*>(nullptr)), "");
    }
    const std::wstring wide = CodePageConverter(CP_UTF8).ToWide("a\xFF\xC3z");
    ASSERT_FALSE(wide.empty());
    EXPECT_EQ(wide.front(), L'a');
    EXPECT_EQ(wide.back(), L'z');
    EXPECT_NE(wide.find(L'\uFFFD'), std::wstring::npos);
    // The string forms stop at the first NUL.
    EXPECT_EQ(CodePageConverter(CP_UTF8).ToWide(std::string("ab\0cd", 5)), L"ab");
}

TEST(CodePageConverter, LongTextRoundTrip) {
    std::wstring text;
    for (int i = 0; i < 200000; ++i) {
        text += static_cast<wchar_t>(0x4E00 + (i % 0x5000));
    }
    const CodePageConverter utf8(CP_UTF8);
    EXPECT_EQ(utf8.ToWide(utf8.ToMultiByte(text)), text);
}

// The run registered with CP936 has the Chinese ANSI code page; the default
// run has Western 1252. Code page 0 must follow whichever is active.
TEST(CodePageConverter, AnsiCodePageFollowsTheSystem) {
    const char* expected = std::getenv("UNINST_EXPECT_ACP");
    ASSERT_EQ(::GetACP(), expected != nullptr ? static_cast<UINT>(std::atoi(expected)) : 1252u);
    const CodePageConverter ansi(CP_ACP);
    if (::GetACP() == 936) {
        EXPECT_EQ(ansi.ToWide("\xC4\xE3"), L"\u4F60");
        EXPECT_EQ(ansi.ToMultiByte(L"\u4F60\u597D"), "\xC4\xE3\xBA\xC3");
    } else {
        EXPECT_EQ(ansi.ToWide("\xC4\xE3"), L"\u00C4\u00E3");
        EXPECT_EQ(ansi.ToMultiByte(L"\u00E9"), "\xE9");
    }
}

// --- PercentEncode ----------------------------------------------------------

TEST(PercentEncode, OnlyAsciiLettersAndDigitsStay) {
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
    EXPECT_EQ(PercentEncode("a b-c_d.e~f"), "a%20b%2Dc%5Fd%2Ee%7Ef");
    EXPECT_EQ(PercentEncode(""), "");
}

// --- writeBraceless ---------------------------------------------------------

std::string Braceless(const Json::Value& value) {
    Json::BracelessFastWriter writer;
    return writer.writeBraceless(value);
}

TEST(WriteBraceless, WritesTheCompactFormWithoutTheOuterBraces) {
    Json::Value sorted(Json::objectValue);
    sorted["b"] = 1;
    sorted["a"] = "x";
    Json::Value nested(Json::objectValue);
    nested["k"]["n"] = Json::Value();
    Json::Value array(Json::arrayValue);
    array.append(1);
    array.append(2);
    Json::Value withArray(Json::objectValue);
    withArray["list"] = array;
    const std::pair<Json::Value, std::string> cases[] = {
        {sorted, "\"a\":\"x\",\"b\":1\n"},
        {Json::Value(Json::objectValue), "\n"},
        {nested, "\"k\":{\"n\":null}\n"},
        {array, "[1,2]\n"},
        {withArray, "\"list\":[1,2]\n"},
        {Json::Value(), "null\n"},
        {Json::Value(-7), "-7\n"},
        {Json::Value(Json::UInt64(18446744073709551615ull)), "18446744073709551615\n"},
        {Json::Value("q\"\\\n"), "\"q\\\"\\\\\\n\"\n"},
    };
    Json::BracelessFastWriter reused;
    for (const auto& c : cases) {
        EXPECT_EQ(reused.writeBraceless(c.first), c.second);
    }
}

TEST(WriteBraceless, WrappedInBracesEqualsTheCompactWriter) {
    Json::Value object(Json::objectValue);
    object["Sessionid"] = "0A1B2C3D";
    object["CPU"].append("Intel");
    object["Memory_Total_Capacity"] = 8192;
    object["Ratio"] = 0.5;
    object["quote\"name"] = "tab\there";
    object["Z"]["deep"]["deeper"] = Json::Value(Json::arrayValue);
    std::string braceless = Braceless(object);
    ASSERT_EQ(braceless.back(), '\n');
    braceless.pop_back();
    EXPECT_EQ("{" + braceless + "}\n", Json::FastWriter().write(object));
    Json::BracelessFastWriter yaml;
    yaml.enableYAMLCompatibility();
    Json::Value pair(Json::objectValue);
    pair["a"]["b"] = 1;
    EXPECT_EQ(yaml.writeBraceless(pair), "\"a\": {\"b\": 1}\n");
}

// --- paths ------------------------------------------------------------------

TEST(GetDirectoryPart, SlashesBecomeBackslashesAndABareNameIsTheCurrentFolder) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:/game/bin/uninst.exe", L"C:\\game\\bin\\"},
        {L"C:\\game\\x.dll", L"C:\\game\\"},
        {L"C:\\", L"C:\\"},
        {L"uninst.exe", L".\\"},
    };
    for (const auto& c : cases) {
        wchar_t out[MAX_PATH] = {};
        ASSERT_TRUE(GetDirectoryPart(c.first, out)) << c.first;
        EXPECT_STREQ(out, c.second);
    }
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

struct Split {
    std::string text; // may hold NULs
    size_t length;
    bool result;
    std::vector<std::string> items; // after "kept"
};

TEST(SplitBySemicolon, NonEmptyItemsUpToTheLengthOrAnEarlierNul) {
    const Split cases[] = {
        {"Machid;GVersion;", 16, true, {"Machid", "GVersion"}},
        {";;", 2, false, {}},
        {"Mac; OS", 7, true, {"Mac", " OS"}},
        {"ab;cd;ef", 4, true, {"ab", "c"}},
        {std::string("x;y\0;z", 6), 6, true, {"x", "y"}},
        {";;a;;b", 6, true, {"a", "b"}},
        {"a;b", 0, false, {}},
    };
    for (const Split& c : cases) {
        std::vector<std::string> items{"kept"};
        // With an item already there the answer is true unless the text is empty.
        EXPECT_EQ(SplitBySemicolon(c.text.data(), c.length, items), c.length != 0) << c.text;
        std::vector<std::string> expected{"kept"};
        expected.insert(expected.end(), c.items.begin(), c.items.end());
        EXPECT_EQ(items, expected) << c.text;
        std::vector<std::string> fresh;
        EXPECT_EQ(SplitBySemicolon(c.text.data(), c.length, fresh), c.result) << c.text;
    }
    std::vector<std::string> items{"kept"};
    EXPECT_FALSE(SplitBySemicolon(nullptr, 5, items));
    EXPECT_EQ(items.size(), 1u);
}

} // namespace
