#include <windows.h>

#include <commctrl.h>

#include "ui/controls/DateTimeUI.h"
#include "ui/controls/EditUI.h"

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

SYSTEMTIME Today() {
    SYSTEMTIME st = {};
    ::GetLocalTime(&st);
    return st;
}

const wchar_t kPickerSkin[] = L"<DateTime name=\"d\" float=\"true\" pos=\"20,20,240,50\"/>"
                              L"<Edit name=\"other\" float=\"true\" pos=\"20,300,240,330\"/>";

// A date-time control showing 2020-02-29, with its picker opened by a click.
CDateTimeUI* OpenPicker() {
    Show(kPickerSkin);
    auto* date = Find<CDateTimeUI>(L"d");
    SYSTEMTIME leap = {};
    leap.wYear = 2020;
    leap.wMonth = 2;
    leap.wDay = 29;
    date->SetTime(leap);
    Click(CenterPoint(date->GetPos()));
    return date;
}

TEST(DateTime, NewControlShowsTheLocalDate) {
    const CDateTimeUI date;
    EXPECT_EQ(TextOf(&date), Formatted(Today()));
}

struct KeyCase {
    const wchar_t* what;
    WORD first; // 0: none
    WORD key;
    const wchar_t* expected; // null: the date the picker holds
};

TEST(DateTime, KeysInThePickerSetClearOrKeepTheDate) {
    const KeyCase cases[] = {
        {L"Delete clears", 0, VK_DELETE, L""},
        {L"Backspace clears", 0, VK_BACK, L""},
        {L"Escape keeps", 0, VK_ESCAPE, L"2020-02-29"},
        {L"a changed field shows when the focus moves on", VK_RIGHT, VK_UP, nullptr},
    };
    for (const KeyCase& c : cases) {
        CDateTimeUI* date = OpenPicker();
        const HWND picker = Native(L"DateTimeWnd");
        ASSERT_NE(picker, nullptr) << c.what;
        RECT rc = {};
        ::GetWindowRect(picker, &rc);
        EXPECT_EQ(rc.right - rc.left, 220) << c.what; // the control's full rectangle
        if (c.first != 0) {
            Tap(c.first);
        }
        Tap(c.key);
        if (c.expected == nullptr) {
            SYSTEMTIME held = {};
            ::SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&held));
            EXPECT_NE(Formatted(held), L"2020-02-29") << c.what;
            Click(CenterPoint(Find<CControlUI>(L"other")->GetPos()));
            EXPECT_EQ(TextOf(date), Formatted(held)) << c.what;
        } else {
            EXPECT_EQ(TextOf(date), c.expected) << c.what;
        }
        EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(picker); })) << c.what;
    }
}

TEST(DateTime, ClearedControlReopensAtTheLocalDate) {
    CDateTimeUI* date = OpenPicker();
    Tap(VK_DELETE);
    ASSERT_EQ(TextOf(date), L"");
    Click(CenterPoint(date->GetPos())); // still focused: the click reopens it
    ASSERT_NE(Native(L"DateTimeWnd"), nullptr);
    Click(CenterPoint(Find<CControlUI>(L"other")->GetPos()));
    EXPECT_EQ(TextOf(date), Formatted(Today()));
}

// A point of the calendar that shows the given day of the shown month.
bool FindDay(HWND calendar, WORD day, POINT& found) {
    RECT rc = {};
    ::GetClientRect(calendar, &rc);
    for (int y = rc.top; y < rc.bottom; y += 2) {
        for (int x = rc.left; x < rc.right; x += 2) {
            MCHITTESTINFO hit = {};
            hit.cbSize = sizeof(hit);
            hit.pt = POINT{x, y};
            ::SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == day && hit.st.wMonth == 2) {
                found = hit.pt;
                ::ClientToScreen(calendar, &found);
                return true;
            }
        }
    }
    return false;
}

TEST(DateTime, CalendarPickKeepsThePickerOpenThenSetsTheDate) {
    CDateTimeUI* date = OpenPicker();
    const HWND picker = Native(L"DateTimeWnd");
    ASSERT_NE(picker, nullptr);
    const RECT rc = date->GetPos();
    Click(POINT{rc.right - 6, (rc.top + rc.bottom) / 2}); // the drop-down button
    const auto calendar = reinterpret_cast<HWND>(::SendMessageW(picker, DTM_GETMONTHCAL, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return calendar != nullptr && ::IsWindowVisible(calendar); }));
    EXPECT_TRUE(::IsWindow(picker));
    EXPECT_EQ(TextOf(date), L"2020-02-29");
    POINT day = {};
    ASSERT_TRUE(FindDay(calendar, 12, day));
    UiTest::MoveScreen(day.x, day.y);
    LeftDown();
    LeftUp();
    EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(picker); }));
    EXPECT_EQ(TextOf(date), L"2020-02-12");
}

// Attribute values of every malformed kind: building, painting, focusing and
// typing into the controls must neither crash nor hang.
TEST(TextEntry, MalformedAttributesNeverCrash) {
    const wchar_t* const attributes[] = {
        L"maxchar=\"-1\"",
        L"maxchar=\"x\"",
        L"maxchar=\"99999999999\"",
        L"nativebkcolor=\"#zz\"",
        L"nativebkcolor=\"\"",
        L"normalimage=\"file='missing.png'\"",
        L"hotimage=\"file='\"",
        L"password=\"TRUE\"",
        L"numberonly=\"1\"",
        L"font=\"77\"",
        L"textpadding=\"-50,-50,900,900\"",
        L"readonly=\"\"",
    };
    for (const wchar_t* attribute : attributes) {
        for (const wchar_t* tag : {L"Edit", L"DateTime"}) {
            Show(std::wstring(L"<") + tag + L" name=\"e\" float=\"true\" pos=\"20,20,220,50\" " +
                 attribute + L"/>");
            CControlUI* control = Find<CControlUI>(L"e");
            ASSERT_NE(control, nullptr) << tag << " " << attribute;
            EXPECT_EQ(control->GetClass(), std::wstring(tag) + L"UI");
            Click(CenterPoint(control->GetPos()));
            Type(L"7a");
            Capture(Host());
        }
    }
}

} // namespace
