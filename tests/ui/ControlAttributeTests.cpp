#include <windows.h>

#include "tests/ui/support/ProbeControls.h"
#include "ui/UIAttributeValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

using SkinUI::CWindowManagerUI;
using SkinUI::ParseBoolValue;
using SkinUI::ParseColorValue;
using SkinUI::ParseDecimalValue;
using SkinUI::ParseIntListValue;
using SkinUI::ParseRectValue;
using SkinUI::ParseSizeValue;
using UiTest::Probe;
using UiTest::SameRect;

namespace {

// A text placed so that its terminator is the last character of a readable
// page, followed by a page that can't be read: reading one character past
// the text faults.
class TextAtPageEnd {
public:
    explicit TextAtPageEnd(const wchar_t* text) {
        SYSTEM_INFO info = {};
        ::GetSystemInfo(&info);
        page_ = info.dwPageSize;
        base_ = static_cast<BYTE*>(
            ::VirtualAlloc(nullptr, page_ * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        ::VirtualProtect(base_ + page_, page_, PAGE_NOACCESS, &old);
        const size_t bytes = (std::wcslen(text) + 1) * sizeof(wchar_t);
        text_ = reinterpret_cast<wchar_t*>(base_ + page_ - bytes);
        std::memcpy(text_, text, bytes);
    }
    ~TextAtPageEnd() { ::VirtualFree(base_, 0, MEM_RELEASE); }
    TextAtPageEnd(const TextAtPageEnd&) = delete;
    TextAtPageEnd& operator=(const TextAtPageEnd&) = delete;
    const wchar_t* Text() const { return text_; }

private:
    DWORD page_ = 0;
    BYTE* base_ = nullptr;
    wchar_t* text_ = nullptr;
};

} // namespace

// ---- Value readers -------------------------------------------------------------------

TEST(AttributeValueTest, DecimalReadsAsFarAsItIsANumber) {
    LPCWSTR end = nullptr;
    const wchar_t* text = L"  -42px";
    EXPECT_EQ(-42, ParseDecimalValue(text, &end));
    EXPECT_EQ(text + 5, end);
    EXPECT_EQ(17, ParseDecimalValue(L"+17"));
    EXPECT_EQ(0, ParseDecimalValue(L"abc", &end));
    EXPECT_STREQ(L"abc", end);
    EXPECT_EQ(0, ParseDecimalValue(L""));
    EXPECT_EQ(0, ParseDecimalValue(nullptr, &end));
    EXPECT_EQ(nullptr, end);
    EXPECT_EQ(0, ParseDecimalValue(L"-"));
    EXPECT_EQ(12, ParseDecimalValue(L"12.9"));
    // Hexadecimal is not decimal: "0x10" reads 0.
    EXPECT_EQ(0, ParseDecimalValue(L"0x10"));
}

TEST(AttributeValueTest, DecimalIsLimitedToTheIntRange) {
    EXPECT_EQ(INT_MAX, ParseDecimalValue(L"2147483647"));
    EXPECT_EQ(INT_MAX, ParseDecimalValue(L"2147483648"));
    EXPECT_EQ(INT_MAX, ParseDecimalValue(L"99999999999999999999999999"));
    EXPECT_EQ(INT_MIN, ParseDecimalValue(L"-2147483648"));
    EXPECT_EQ(INT_MIN, ParseDecimalValue(L"-99999999999999999999999999"));
}

TEST(AttributeValueTest, ListsTakeAnySingleSeparatorAndMissingNumbersAreZero) {
    EXPECT_TRUE(SameRect(RECT{1, 2, 3, 4}, ParseRectValue(L"1,2,3,4")));
    EXPECT_TRUE(SameRect(RECT{1, 2, 3, 4}, ParseRectValue(L"1;2 3x4")));
    EXPECT_TRUE(SameRect(RECT{10, 20, 0, 0}, ParseRectValue(L"10,20")));
    EXPECT_TRUE(SameRect(RECT{10, 0, 30, 40}, ParseRectValue(L"10,,30,40")));
    // Two separators: the second is where the next number is read.
    EXPECT_TRUE(SameRect(RECT{1, 0, 2, 0}, ParseRectValue(L"1,,2")));
    // A blank after the comma is white space before the number.
    EXPECT_TRUE(SameRect(RECT{1, 2, 3, 4}, ParseRectValue(L"1, 2, 3, 4")));
    EXPECT_TRUE(SameRect(RECT{-5, -6, 7, 8}, ParseRectValue(L"-5,-6,7,8,9,10")));
    EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, ParseRectValue(L"")));
    EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, ParseRectValue(nullptr)));
    EXPECT_TRUE(SameRect(RECT{0, 0, 0, 0}, ParseRectValue(L"a,b,c,d")));
    const SIZE sz = ParseSizeValue(L"6,7,8");
    EXPECT_EQ(6, sz.cx);
    EXPECT_EQ(7, sz.cy);
    int one[1] = {99};
    ParseIntListValue(L"5", one, 1);
    EXPECT_EQ(5, one[0]);
}

TEST(AttributeValueTest, ListsNeverReadPastTheText) {
    // Each of these ends where the next number would be read.
    for (const wchar_t* text : {L"10,20", L"10,", L"1,2,3,", L"7", L"", L"1,2,3,4", L"-"}) {
        TextAtPageEnd guarded(text);
        const RECT rc = ParseRectValue(guarded.Text());
        const RECT expected = ParseRectValue(std::wstring(text).c_str());
        EXPECT_TRUE(SameRect(expected, rc)) << std::wstring(text).c_str();
        ParseSizeValue(guarded.Text());
        ParseDecimalValue(guarded.Text());
        ParseColorValue(guarded.Text(), true);
        ParseColorValue(guarded.Text(), false);
        ParseBoolValue(guarded.Text());
    }
    TextAtPageEnd half(L"10,20");
    EXPECT_TRUE(SameRect(RECT{10, 20, 0, 0}, ParseRectValue(half.Text())));
    for (const wchar_t* text : {L"#", L"0x", L" ", L"#FF00", L"true"}) {
        TextAtPageEnd guarded(text);
        ParseColorValue(guarded.Text(), true);
        ParseColorValue(guarded.Text(), false);
    }
}

TEST(AttributeValueTest, ColoursAreHexWithOptionalHash) {
    EXPECT_EQ(0xFF112233u, ParseColorValue(L"#FF112233"));
    EXPECT_EQ(0xFF112233u, ParseColorValue(L"FF112233"));
    EXPECT_EQ(0xff0a0b0cu, ParseColorValue(L"ff0a0b0c"));
    // Six digits: no alpha.
    EXPECT_EQ(0x00FF0000u, ParseColorValue(L"FF0000"));
    EXPECT_EQ(0xFF00FF00u, ParseColorValue(L"0xFF00FF00"));
    // Stops at the first character that is no hexadecimal digit.
    EXPECT_EQ(0xABu, ParseColorValue(L"#ABG123"));
    EXPECT_EQ(0u, ParseColorValue(L"#"));
    EXPECT_EQ(0u, ParseColorValue(L"red"));
    EXPECT_EQ(0u, ParseColorValue(L"##FF"));
    EXPECT_EQ(0u, ParseColorValue(nullptr));
    // More than eight digits saturate instead of wrapping.
    EXPECT_EQ(0xFFFFFFFFu, ParseColorValue(L"123456789"));
    // Leading blanks count only where they are skipped.
    EXPECT_EQ(0xFF0000FFu, ParseColorValue(L" \t#FF0000FF", true));
    EXPECT_EQ(0u, ParseColorValue(L" #FF0000FF", false));
    EXPECT_EQ(0u, ParseColorValue(L" FF0000FF", false));
}

TEST(AttributeValueTest, OnlyExactlyTrueIsTrue) {
    EXPECT_TRUE(ParseBoolValue(L"true"));
    EXPECT_FALSE(ParseBoolValue(L"True"));
    EXPECT_FALSE(ParseBoolValue(L"TRUE"));
    EXPECT_FALSE(ParseBoolValue(L"1"));
    EXPECT_FALSE(ParseBoolValue(L"true "));
    EXPECT_FALSE(ParseBoolValue(L" true"));
    EXPECT_FALSE(ParseBoolValue(L""));
    EXPECT_FALSE(ParseBoolValue(nullptr));
}

// ---- Attributes ------------------------------------------------------------------------

TEST(ControlAttributeTest, PosWithNegativeEdgesCountsFromTheFarSide) {
    Probe c;
    c.SetFloating(true);
    c.ApplyAttribute(L"pos", L"-60,10,-10,40");
    EXPECT_EQ(-10, c.GetFixedXY().cx);
    EXPECT_EQ(10, c.GetFixedXY().cy);
    EXPECT_EQ(50, c.GetFixedWidth());
    EXPECT_EQ(30, c.GetFixedHeight());
    c.ApplyAttribute(L"pos", L"5,-40,25,-8");
    EXPECT_EQ(5, c.GetFixedXY().cx);
    EXPECT_EQ(-8, c.GetFixedXY().cy);
    EXPECT_EQ(20, c.GetFixedWidth());
    EXPECT_EQ(32, c.GetFixedHeight());
}

TEST(ControlAttributeTest, PosZeroMeansStretchAndShortOrInvertedPosIsSafe) {
    Probe c;
    c.ApplyAttribute(L"pos", L"1,2,30,40");
    c.ApplyAttribute(L"pos", L"0,0,0,0");
    EXPECT_EQ(0, c.GetFixedXY().cx);
    EXPECT_EQ(0, c.GetFixedWidth());
    EXPECT_EQ(0, c.GetFixedHeight());
    // Missing numbers read 0: width 0 - 10 is negative and ignored.
    c.ApplyAttribute(L"pos", L"1,2,30,40");
    c.ApplyAttribute(L"pos", L"10,20");
    EXPECT_EQ(10, c.GetFixedXY().cx);
    EXPECT_EQ(20, c.GetFixedXY().cy);
    EXPECT_EQ(29, c.GetFixedWidth());
    EXPECT_EQ(38, c.GetFixedHeight());
    // Absurd numbers neither overflow nor turn into a huge negative size.
    c.ApplyAttribute(L"pos", L"-2147483648,0,2147483647,5");
    EXPECT_EQ(INT_MAX, c.GetFixedWidth());
    c.ApplyAttribute(L"pos", L"garbage");
    EXPECT_EQ(0, c.GetFixedWidth());
}

TEST(ControlAttributeTest, SizesAndLimits) {
    Probe c;
    EXPECT_EQ(0, c.GetMinWidth());
    EXPECT_EQ(9999, c.GetMaxWidth());
    EXPECT_EQ(0, c.GetMinHeight());
    EXPECT_EQ(9999, c.GetMaxHeight());
    c.ApplyAttribute(L"width", L"120");
    c.ApplyAttribute(L"height", L"34");
    c.ApplyAttribute(L"minwidth", L"10");
    c.ApplyAttribute(L"minheight", L"11");
    c.ApplyAttribute(L"maxwidth", L"500");
    c.ApplyAttribute(L"maxheight", L"501");
    EXPECT_EQ(120, c.GetFixedWidth());
    EXPECT_EQ(34, c.GetFixedHeight());
    EXPECT_EQ(10, c.GetMinWidth());
    EXPECT_EQ(11, c.GetMinHeight());
    EXPECT_EQ(500, c.GetMaxWidth());
    EXPECT_EQ(501, c.GetMaxHeight());
    // Negative values are ignored; malformed ones read as far as numbers.
    c.ApplyAttribute(L"width", L"-5");
    c.ApplyAttribute(L"minwidth", L"-1");
    c.ApplyAttribute(L"maxheight", L"-1");
    EXPECT_EQ(120, c.GetFixedWidth());
    EXPECT_EQ(10, c.GetMinWidth());
    EXPECT_EQ(501, c.GetMaxHeight());
    c.ApplyAttribute(L"height", L"7px");
    EXPECT_EQ(7, c.GetFixedHeight());
    c.ApplyAttribute(L"maxwidth", L"wide");
    EXPECT_EQ(0, c.GetMaxWidth());
}

TEST(ControlAttributeTest, ToolTipLineBreaks) {
    Probe c;
    c.ApplyAttribute(L"tooltip", L"a<n>b");
    EXPECT_EQ(L"a\r\nb", c.GetToolTip());
    c.SetToolTip(L"<n>x<n><n>");
    EXPECT_EQ(L"\r\nx\r\n\r\n", c.GetToolTip());
    c.SetToolTip(L"<N>a<n");
    EXPECT_EQ(L"<N>a<n", c.GetToolTip());
    c.SetToolTip(nullptr);
    EXPECT_EQ(L"", c.GetToolTip());
    // A long tip with many breaks.
    std::wstring longTip;
    std::wstring expected;
    for (int i = 0; i < 200; ++i) {
        longTip += L"line<n>";
        expected += L"line\r\n";
    }
    c.SetToolTip(longTip.c_str());
    EXPECT_EQ(expected.c_str(), c.GetToolTip());
}

// A derived control's setter override is the one the attribute reaches.
class WidthWatcher : public Probe {
public:
    void SetFixedWidth(int cx) override {
        ++calls;
        Probe::SetFixedWidth(cx * 2);
    }
    void SetText(LPCWSTR text) override {
        Probe::SetText((std::wstring(L"[") + text + L"]").c_str());
    }
    int calls = 0;
};

TEST(ControlAttributeTest, AttributesGoThroughTheVirtualSetters) {
    WidthWatcher c;
    c.ApplyAttribute(L"width", L"10");
    c.ApplyAttribute(L"pos", L"0,0,7,7");
    c.ApplyAttributeList(L"text=\"t\"");
    EXPECT_EQ(2, c.calls);
    EXPECT_EQ(14, c.GetFixedWidth());
    EXPECT_EQ(L"[t]", c.GetText());
}

// ---- Attribute lists --------------------------------------------------------------------

// Pairs are separated by exactly one blank; a fault stops the list and keeps
// the pairs before it.
TEST(ControlAttributeListTest, PairsReachTheControlUntilTheFirstFault) {
    const struct {
        const wchar_t* list;
        std::vector<std::wstring> applied;
    } cases[] = {
        {L"name=\"a\" text=\"hello world\" width=\"30\" bkcolor=\"#FF010203\"",
         {L"name=a", L"text=hello world", L"width=30", L"bkcolor=#FF010203"}},
        {L"text=\"\" bkimage=\"file='a=b.png'\"", {L"text=", L"bkimage=file='a=b.png'"}},
        {L"name=\"a\"  text=\"b\" width=\"3\"", {L"name=a"}}, // two blanks end it
        {L"name=\"a\" text", {L"name=a"}},                    // no '='
        {L"name=\"a\" text=b\" width=\"3\"", {L"name=a"}},    // no opening quote
        {L"name=\"a\" text=\"unfinished", {L"name=a"}},       // no closing quote
        {L"name=\"a\",text=\"b\"", {L"name=a"}},              // no blank after a pair
        {L"name=\"a\" ", {L"name=a"}},                        // trailing blank
        {L"", {}},
        {nullptr, {}},
        {L"=", {}},
        {L"=\"", {}},
        {L"\"\"", {}},
    };
    for (const auto& c : cases) {
        Probe probe;
        probe.ApplyAttributeList(c.list);
        EXPECT_EQ(c.applied, probe.applied) << (c.list != nullptr ? c.list : L"(null)");
    }
    Probe c;
    c.ApplyAttributeList(cases[0].list);
    EXPECT_EQ(L"hello world", c.GetText());
    EXPECT_EQ(30, c.GetFixedWidth());
    EXPECT_EQ(0xFF010203u, c.GetBkColor());
    c.ApplyAttributeList(cases[1].list);
    EXPECT_STREQ(L"file='a=b.png'", c.GetBkImage());
}

TEST(ControlAttributeListTest, NeverReadsPastTheText) {
    for (const wchar_t* text : {L"name=\"a\"", L"name=\"a\" ", L"name=\"a", L"name=", L"name",
                                L"a=\"b\" c=\"", L"a=\"b\" c=", L"\xD83D\xDE00=\"\xD83D\xDE00\""}) {
        TextAtPageEnd guarded(text);
        Probe c;
        c.ApplyAttributeList(guarded.Text());
    }
    TextAtPageEnd pos(L"pos=\"10,20\"");
    Probe c;
    c.ApplyAttributeList(pos.Text());
    EXPECT_EQ(10, c.GetFixedXY().cx);
}

TEST(ControlAttributeListTest, SurrogatePairsStayWhole) {
    Probe c;
    c.ApplyAttributeList(L"text=\"\xD83D\xDE00 smile\" userdata=\"\xD840\xDC00\"");
    EXPECT_EQ(L"\xD83D\xDE00 smile", c.GetText());
    EXPECT_STREQ(L"\xD840\xDC00", c.GetUserData());
}

TEST(ControlAttributeListTest, LongListsAndValues) {
    std::wstring list;
    std::wstring text(5000, L'x');
    for (int i = 0; i < 300; ++i) {
        list += L"width=\"" + std::to_wstring(i) + L"\" ";
    }
    list += L"text=\"" + text + L"\"";
    Probe c;
    c.ApplyAttributeList(list.c_str());
    EXPECT_EQ(299, c.GetFixedWidth());
    EXPECT_EQ(text.c_str(), c.GetText());
    EXPECT_EQ(301u, c.applied.size());
}
