#include <windows.h>

#include <commctrl.h>

#include "ui/controls/DateTimeUI.h"

#include "tests/ui/TextEntryDesktop.h"

#include <gtest/gtest.h>

using namespace TextEntryTest;
using SkinUI::CDateTimeUI;

namespace {

std::wstring Formatted(const SYSTEMTIME& st) {
    wchar_t text[32] = {};
    swprintf(text, 32, L"%4d-%02d-%02d", st.wYear, st.wMonth, st.wDay);
    return text;
}

std::wstring Today() {
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    return Formatted(st);
}

// A date-time control showing 2020-02-29 (or holding it with its text
// cleared), with its picker opened by a click.
CDateTimeUI* OpenPicker(bool cleared = false) {
    Show(L"<DateTime name=\"d\" float=\"true\" pos=\"20,20,240,50\"/>"
         L"<Edit name=\"other\" float=\"true\" pos=\"20,300,240,330\"/>");
    auto* date = Find<CDateTimeUI>(L"d");
    date->SetTime(SYSTEMTIME{2020, 2, 6, 29, 0, 0, 0, 0});
    if (cleared) {
        date->SetText(L"");
    }
    ClickOn(L"d");
    return date;
}

std::wstring PickerDate() {
    SYSTEMTIME held = {};
    ::SendMessageW(Native(L"DateTimeWnd"), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&held));
    return Formatted(held);
}

TEST(DateTime, PickerOpensOnTheShownDateOrTheLocalDateWhenCleared) {
    for (const bool cleared : {false, true}) {
        OpenPicker(cleared);
        EXPECT_EQ(PickerDate(), cleared ? Today() : L"2020-02-29") << cleared;
        ClickOn(L"other");
    }
}

struct KeyCase {
    const wchar_t* what;
    std::wstring keys;
    bool reopen;             // a click on the control afterwards
    const wchar_t* expected; // null: the date the picker holds, once the focus moves on
};

TEST(DateTime, KeysInThePickerSetClearOrKeepTheDate) {
    const KeyCase cases[] = {
        {L"Delete clears", {VK_DELETE}, false, L""},
        {L"Backspace clears", {VK_BACK}, false, L""},
        {L"Escape keeps", {VK_ESCAPE}, false, L"2020-02-29"},
        {L"a changed field shows", {VK_RIGHT, VK_UP}, false, nullptr},
        {L"a cleared control reopens at the local date", {VK_DELETE}, true, nullptr},
    };
    for (const KeyCase& c : cases) {
        CDateTimeUI* date = OpenPicker();
        const HWND picker = Native(L"DateTimeWnd");
        ASSERT_NE(picker, nullptr) << c.what;
        Type(c.keys);
        if (c.reopen) {
            ClickOn(L"d"); // still focused: the click reopens it
        }
        if (c.expected == nullptr) {
            const std::wstring held = PickerDate();
            EXPECT_NE(held, L"2020-02-29") << c.what;
            EXPECT_TRUE(!c.reopen || held == Today()) << c.what;
            ClickOn(L"other");
            EXPECT_EQ(TextOf(date), held) << c.what;
        } else {
            EXPECT_EQ(TextOf(date), c.expected) << c.what;
        }
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(picker); })) << c.what;
    }
}

TEST(DateTime, CalendarPickKeepsThePickerOpenThenSetsTheDate) {
    CDateTimeUI* date = OpenPicker();
    const HWND picker = Native(L"DateTimeWnd");
    ASSERT_NE(picker, nullptr);
    ClickOn(L"d", 6); // the drop-down button
    const auto calendar = reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return calendar != nullptr && ::IsWindowVisible(calendar); }));
    EXPECT_TRUE(::IsWindow(picker));
    RECT cal = {};
    ::GetClientRect(calendar, &cal);
    MCHITTESTINFO hit = {};
    hit.cbSize = sizeof(hit);
    hit.pt = POINT{cal.right / 2, cal.bottom * 2 / 3};
    ::SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    ASSERT_EQ(hit.uHit, static_cast<UINT>(MCHT_CALENDARDATE));
    ::ClientToScreen(calendar, &hit.pt);
    UiTest::MoveScreen(hit.pt.x, hit.pt.y);
    LeftDown();
    LeftUp();
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(picker); }));
    EXPECT_EQ(TextOf(date), Formatted(hit.st));
}

// Building, painting, focusing and typing into controls with malformed
// attribute values must neither crash nor hang.
TEST(TextEntry, MalformedAttributesNeverCrash) {
    const wchar_t* const attributes[] = {
        L"maxchar=\"-1\"",        L"maxchar=\"x\"",      L"maxchar=\"99999999999\"",
        L"nativebkcolor=\"#zz\"", L"nativebkcolor=\"\"", L"normalimage=\"file='missing.png'\"",
        L"hotimage=\"file='\"",   L"password=\"TRUE\"",  L"numberonly=\"1\"",
        L"font=\"77\"",           L"readonly=\"\"",      L"textpadding=\"-50,-50,900,900\"",
    };
    for (const wchar_t* attribute : attributes) {
        for (const std::wstring tag : {L"Edit", L"DateTime"}) {
            Show(L"<" + tag + L" name=\"e\" float=\"true\" pos=\"20,20,220,50\" " + attribute +
                 L"/>");
            ASSERT_NE(Find(L"e"), nullptr) << tag << " " << attribute;
            EXPECT_EQ(Find(L"e")->GetClass(), tag + L"UI");
            // A new date-time control shows the local date.
            EXPECT_TRUE(tag == L"Edit" || TextOf(Find(L"e")) == Today());
            ClickOn(L"e");
            Type(L"7a");
            Capture(Host());
        }
    }
}

} // namespace
