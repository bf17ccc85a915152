#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/controls/ComboBoxUI.h"

#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <string>

using namespace ControlsTest;
using SkinUI::CComboUI;
using SkinUI::CContainerUI;

namespace {

// count label elements item0.. ("itemN" texts); the one at disabled is disabled.
std::wstring Items(int count, int disabled = -1) {
    std::wstring xml;
    for (int i = 0; i < count; ++i) {
        xml += L"<ListLabelElement text=\"item" + std::to_wstring(i) + L"\"" +
               (i == disabled ? L" enabled=\"false\"/>" : L"/>");
    }
    return xml;
}

RECT ScreenRect(HWND hwnd, RECT rc) {
    ::MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

void ClickAt(HWND hwnd, const RECT& client) {
    const RECT rc = ScreenRect(hwnd, client);
    MoveScreen((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    LeftDown();
    LeftUp();
    PumpFor(60);
}

bool Closed(CComboUI* combo) {
    return PumpUntil([&] { return combo->GetDropDownWindow() == nullptr; });
}

// Every child stands in the combo again, in the combo's window.
bool ChildrenHome(CComboUI* combo, CWindowManagerUI* pm) {
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetParent() != combo || combo->GetItemAt(i)->GetManager() != pm) {
            return false;
        }
    }
    return true;
}

CComboUI* BuildInto(CWindowManagerUI& pm, const std::wstring& controls) {
    const std::wstring skin =
        L"<Window><Container bkcolor=\"#FFF0F0F0\">" + controls + L"</Container></Window>";
    SkinUI::CDialogBuilder builder;
    pm.AttachRootControl(builder.Create(skin.c_str(), nullptr, nullptr, &pm));
    ::InvalidateRect(pm.GetPaintWindow(), nullptr, FALSE);
    PumpFor(60);
    pm.SetFocus(nullptr);
    Pump();
    return dynamic_cast<CComboUI*>(pm.FindControl(L"c"));
}

class ComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::SetForegroundWindow(Host());
        ::SetFocus(Host());
        MoveScreen(5, 5);
        Host().pm.AddNotifyListener(&log_);
    }
    void TearDown() override {
        MoveScreen(5, 5);
        Host().pm.RemoveNotifyListener(&log_);
        Host().pm.SetFocus(nullptr);
        Pump();
    }
    CComboUI* Build(const std::wstring& attributes, const std::wstring& items = Items(5, 2)) {
        CComboUI* combo = BuildInto(Host().pm, L"<Combo name=\"c\" float=\"true\" " + attributes +
                                                   L">" + items + L"</Combo>");
        log_.Clear();
        return combo;
    }
    NoticeLog log_;
};

TEST_F(ComboTest, OpensByClickOrF4AndEscapeGivesTheChildrenBack) {
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "F4" : "click");
        CComboUI* combo = Build(L"pos=\"20,20,220,44\"");
        combo->SelectItem(1);
        log_.Clear();
        if (byKey) {
            Host().pm.SetFocus(combo);
            Press(VK_F4);
            PumpFor(60);
        } else {
            ClickAt(Host(), combo->GetPos());
        }
        const HWND popup = combo->GetDropDownWindow();
        ASSERT_NE(popup, nullptr);
        EXPECT_TRUE(::IsWindowVisible(popup));
        EXPECT_EQ(log_.Count(L"dropdown", combo), 1);
        EXPECT_NE(combo->GetItemAt(0)->GetManager(), &Host().pm);
        Press(VK_ESCAPE);
        EXPECT_TRUE(Closed(combo));
        EXPECT_FALSE(::IsWindow(popup));
        EXPECT_TRUE(ChildrenHome(combo, &Host().pm));
        EXPECT_EQ(combo->GetCurSel(), 1);
        EXPECT_STREQ(combo->GetText().GetData(), L"item1");
        EXPECT_EQ(log_.Count(L"itemselect"), 0);
    }
}

// Every selection by key or wheel in the open popup closes it; the
// disabled third child is skipped.
TEST_F(ComboTest, KeysAndWheelInThePopupSelectAndClose) {
    struct Case {
        int start;
        WORD key; // 0: one wheel notch towards the user
        int last; // the last child is disabled in this case
        int expected;
    } const cases[] = {
        {1, VK_DOWN, -1, 3}, {3, VK_UP, -1, 1},    {0, VK_UP, -1, 0},  {4, VK_DOWN, -1, 4},
        {4, VK_HOME, -1, 0}, {0, VK_END, -1, 4},   {0, VK_END, 4, -1}, {0, VK_NEXT, -1, 1},
        {1, 0, -1, 3},       {-1, VK_DOWN, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " key " << c.key << " -> " << c.expected);
        CComboUI* combo = Build(L"pos=\"20,20,220,44\"");
        if (c.last >= 0) {
            combo->GetItemAt(c.last)->SetEnabled(false);
        }
        combo->SelectItem(c.start);
        Host().pm.SetFocus(combo);
        Press(VK_F4);
        ASSERT_TRUE(PumpUntil([&] { return combo->GetDropDownWindow() != nullptr; }));
        PumpFor(60);
        log_.Clear();
        if (c.key != 0) {
            Press(c.key);
        } else {
            RECT popup = {};
            ::GetWindowRect(combo->GetDropDownWindow(), &popup);
            MoveScreen(popup.left + 10, popup.top + 10);
            Wheel(-WHEEL_DELTA);
        }
        EXPECT_TRUE(Closed(combo));
        EXPECT_EQ(combo->GetCurSel(), c.expected);
        // Clearing the selection sends nothing.
        EXPECT_EQ(log_.Count(L"itemselect", combo), c.expected >= 0 && c.expected != c.start);
        EXPECT_TRUE(ChildrenHome(combo, &Host().pm));
    }
}

// Escape selects again what was selected when the popup opened, even after
// a key has moved the selection in the popup.
TEST_F(ComboTest, EscapeRestoresTheSelectionOfTheOpening) {
    CComboUI* combo = Build(L"pos=\"20,20,220,44\"");
    combo->SelectItem(1);
    Host().pm.SetFocus(combo);
    Press(VK_F4);
    ASSERT_TRUE(PumpUntil([&] { return combo->GetDropDownWindow() != nullptr; }));
    PumpFor(60);
    log_.Clear();
    Press(VK_DOWN);
    Press(VK_ESCAPE);
    // Both keys reach the popup before the close that the first one posts.
    MSG msg;
    int keys = 0;
    const ULONGLONG end = ::GetTickCount64() + 2000;
    while (keys < 2 && ::GetTickCount64() < end) {
        if (::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
            ++keys;
            ::DispatchMessageW(&msg);
        } else {
            ::Sleep(5);
        }
    }
    ASSERT_EQ(keys, 2);
    EXPECT_TRUE(Closed(combo));
    EXPECT_EQ(combo->GetCurSel(), 1);
    EXPECT_EQ(log_.Trail({L"itemselect"}),
              (std::vector<std::wstring>{L"itemselect@c", L"itemselect@c"}));
}

// An element's own notices go to the popup's listeners while the element
// stands there; the combo's notice goes to the combo's window.
TEST_F(ComboTest, ClickingAnElementInThePopupSelectsItAndCloses) {
    CComboUI* combo = Build(L"pos=\"20,20,220,44\"");
    ClickAt(Host(), combo->GetPos());
    const HWND popup = combo->GetDropDownWindow();
    ASSERT_NE(popup, nullptr);
    ClickAt(popup, combo->GetItemAt(3)->GetPos());
    EXPECT_TRUE(Closed(combo));
    EXPECT_EQ(combo->GetCurSel(), 3);
    EXPECT_EQ(log_.Count(L"itemclick"), 0);
    ASSERT_EQ(log_.Count(L"itemselect", combo), 1);
    EXPECT_EQ(log_.Of({L"itemselect"})[0].wParam, 3u);
    EXPECT_EQ(log_.Of({L"itemselect"})[0].lParam, -1);
}

TEST_F(ComboTest, PopupPlacementAndSize) {
    struct Case {
        const wchar_t* attributes;
        int items;
        bool above;
        int width;
        int height; // -1: the children's heights + 4
    } const cases[] = {
        {L"pos=\"20,20,220,44\"", 3, false, 200, -1},
        {L"pos=\"20,20,220,44\"", 0, false, 200, 4},
        {L"pos=\"20,20,120,44\" dropboxsize=\"300,100\"", 30, false, 300, 100},
        {L"pos=\"20,400,220,424\" dropboxsize=\"0,600\"", 30, true, 200, 600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        CComboUI* combo = Build(c.attributes, Items(c.items));
        int needed = 4;
        for (int i = 0; i < c.items; ++i) {
            needed += combo->GetItemAt(i)->MeasureDesiredSize(SIZE{200, 600}).cy;
        }
        ClickAt(Host(), combo->GetPos());
        const HWND popup = combo->GetDropDownWindow();
        ASSERT_NE(popup, nullptr);
        RECT rc = {};
        ::GetWindowRect(popup, &rc);
        const RECT own = ScreenRect(Host(), combo->GetPos());
        EXPECT_EQ(rc.left, own.left);
        EXPECT_EQ(c.above ? rc.bottom : rc.top, c.above ? own.top : own.bottom);
        EXPECT_EQ(rc.right - rc.left, c.width);
        EXPECT_EQ(rc.bottom - rc.top, c.height >= 0 ? c.height : needed);
        ClickAt(Host(), RECT{500, 400, 520, 420}); // elsewhere: the popup loses the focus
        EXPECT_TRUE(Closed(combo));
        EXPECT_TRUE(ChildrenHome(combo, &Host().pm));
    }
}

// The ramp image has red = x: picture i of a 200-pixel strip of five is red
// 40 * i to 40 * i + 39, drawn one to one at the right edge.
TEST_F(ComboTest, ComboBoxArrowStripShowsTheStatePicture) {
    struct Case {
        const wchar_t* arrow;
        const char* state;
        int picture; // -1: nothing drawn in the arrow area
    } const cases[] = {
        {L"file='ramp.png' source='0,0,200,12'", "normal", 0},
        {L"file='ramp.png' source='0,0,200,12'", "hot", 1},
        {L"file='ramp.png' source='0,0,200,12'", "pushed", 2},
        {L"file='ramp.png' source='0,0,200,12'", "focused", 3},
        {L"file='ramp.png' source='0,0,200,12'", "disabled", 4},
        {L"file='ramp.png' source", "normal", -1},
        {L"file='ramp.png' source='0,0,200,12", "hot", -1},
        {L"file='ramp.png' sourc", "normal", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << " " << c.arrow);
        auto* box = static_cast<SkinUI::CComboBoxUI*>(
            BuildInto(Host().pm, std::wstring(L"<ComboBox name=\"c\" float=\"true\" "
                                              L"pos=\"20,20,220,44\" bkcolor=\"#FFFFFFFF\" "
                                              L"arrowimage=\"") +
                                     c.arrow + L"\">" + Items(3) + L"</ComboBox>"));
        ASSERT_NE(box, nullptr);
        const std::string state = c.state;
        if (state == "hot" || state == "pushed") {
            MoveTo(200, 32);
        }
        if (state == "pushed") {
            LeftDown();
            LeftUp();
            ASSERT_TRUE(PumpUntil([&] { return box->GetDropDownWindow() != nullptr; }));
        }
        if (state == "focused") {
            Host().pm.SetFocus(box);
        }
        box->SetEnabled(state != "disabled");
        PumpFor(60);
        const uint32_t pixel = Capture(Host())->Pixel(200, 32);
        if (c.picture < 0) {
            EXPECT_TRUE(Near(pixel, 0xFFFFFFFF)) << std::hex << pixel;
        } else {
            EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 40 * c.picture + 20, 2);
            EXPECT_TRUE(Near(pixel & 0xFFFF, 0x4080)) << std::hex << pixel;
        }
        Press(VK_ESCAPE);
        EXPECT_TRUE(Closed(box));
    }
}

TEST_F(ComboTest, MalformedAttributesAndEmptyCombosDoNotBreakIt) {
    for (const wchar_t* attributes : {
             L"textpadding=\"\" dropboxsize=\"x\"",
             L"dropboxsize=\"-5,-5\" itemfont=\"-99\" itemalign=\"\"",
             L"dropboxsize=\"2147483647,2147483647\" textpadding=\"-9999,3\"",
             L"itemtextpadding=\"1\" itemshowhtml=\"true\" dropbox=\"inset=&quot;\"",
             L"normalimage=\"file='missing.png'\" pushedimage=\"file='\" itembkimage=\"x\"",
             L"itemtextcolor=\"#zz\" itemselectedimage=\"source='1,2'\" dropbox=\"vscrollbar=\"",
         }) {
        for (const bool empty : {false, true}) {
            SCOPED_TRACE(testing::Message() << (empty ? "empty " : "") << attributes);
            CComboUI* combo =
                Build(std::wstring(L"pos=\"20,20,220,44\" ") + attributes, empty ? L"" : Items(3));
            ASSERT_NE(combo, nullptr);
            combo->SelectItem(0);
            ClickAt(Host(), combo->GetPos());
            PumpFor(60);
            Press(VK_ESCAPE);
            EXPECT_TRUE(Closed(combo));
            Capture(Host());
            EXPECT_EQ(combo->GetCurSel(), empty ? -1 : 0);
        }
    }
}

// A window of its own that can be destroyed under an open popup; it keeps
// the last activation state it was told to show.
class OwnHost : public UiTest::HostWindow {
public:
    OwnHost() : UiTest::HostWindow(L"ComboTestOwnHost") {}
    WPARAM lastNcActivate = 0;

protected:
    void Seen(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_NCACTIVATE) {
            lastNcActivate = wParam;
        }
    }
};

TEST(ComboLifetime, PopupOutlivesNeitherItsComboNorItsWindow) {
    for (const bool destroyWindow : {false, true}) {
        SCOPED_TRACE(destroyWindow ? "window destroyed" : "combo deleted");
        auto* host = new OwnHost();
        host->Open(L"combo owner", 720, 60, 300, 200);
        CComboUI* combo = BuildInto(host->pm, L"<Combo name=\"c\" float=\"true\" "
                                              L"pos=\"20,20,220,44\">" +
                                                  Items(4) + L"</Combo>");
        ClickAt(*host, combo->GetPos());
        const HWND popup = combo->GetDropDownWindow();
        ASSERT_NE(popup, nullptr);
        // The owner's window keeps its active look while the popup has the focus.
        EXPECT_EQ(::GetFocus(), popup);
        EXPECT_EQ(host->lastNcActivate, static_cast<WPARAM>(TRUE));
        if (destroyWindow) {
            ::DestroyWindow(*host);
            EXPECT_FALSE(::IsWindow(popup));
            EXPECT_EQ(combo->GetDropDownWindow(), nullptr);
            EXPECT_TRUE(ChildrenHome(combo, &host->pm));
        } else {
            static_cast<CContainerUI*>(host->pm.GetRoot())->Remove(combo);
            PumpFor(60);
            EXPECT_FALSE(::IsWindow(popup));
            Pump();
            ::DestroyWindow(*host);
        }
        delete host; // the manager deletes what is left of the tree
        Pump();
    }
}

} // namespace
