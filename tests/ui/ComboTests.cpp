#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"
#include "ui/controls/ComboUI.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListTextElementUI.h"
#include "ui/controls/ListUI.h"

#include "tests/support/FileUtil.h"
#include "tests/support/Process.h"
#include "tests/ui/support/ColourCount.h"
#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

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
    bool home = true;
    for (int i = 0; i < combo->GetCount(); ++i) {
        home &=
            combo->GetItemAt(i)->GetParent() == combo && combo->GetItemAt(i)->GetManager() == pm;
    }
    return home;
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
        MoveScreen(5, 5);
        Host().pm.AddNotifyListener(&log_);
        ASSERT_TRUE(TakeKeyboard(Host()));
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

// F4 opens; every selection by key or wheel in the open popup closes it and
// gives the children back; the disabled third child is skipped. Escape
// selects again what was selected at the opening: the key-downs are handled
// before anything else, so that Escape comes before the close that Down posts.
TEST_F(ComboTest, KeysAndWheelInThePopup) {
    struct Case {
        int start;
        std::vector<WORD> keys; // none: one wheel notch towards the user
        bool lastOff;           // the last child is disabled
        int expected;
        int notices; // clearing the selection sends nothing
    } const cases[] = {
        {1, {VK_DOWN}, false, 3, 1},   {3, {VK_UP}, false, 1, 1},
        {0, {VK_UP}, false, 0, 0},     {4, {VK_DOWN}, false, 4, 0},
        {4, {VK_HOME}, false, 0, 1},   {0, {VK_END}, false, 4, 1},
        {0, {VK_END}, true, -1, 0},    {0, {VK_NEXT}, false, 1, 1},
        {1, {}, false, 3, 1},          {-1, {VK_DOWN}, false, 0, 1},
        {1, {VK_ESCAPE}, false, 1, 0}, {1, {VK_DOWN, VK_ESCAPE}, false, 1, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.start << " keys " << c.keys.size() << " -> " << c.expected);
        CComboUI* combo = Build(L"pos=\"20,20,220,44\"");
        combo->GetItemAt(4)->SetEnabled(!c.lastOff);
        combo->SelectItem(c.start);
        // The previous case's popup gave the keyboard back to the window.
        ASSERT_TRUE(HasKeyboard(Host()));
        Host().pm.SetFocus(combo);
        Press(VK_F4);
        ASSERT_TRUE(PumpUntil([&] { return combo->GetDropDownWindow() != nullptr; }));
        PumpFor(60);
        log_.Clear();
        RECT popup = {};
        ::GetWindowRect(combo->GetDropDownWindow(), &popup);
        MoveScreen(popup.left + 10, popup.top + 10);
        if (c.keys.empty()) {
            Wheel(-WHEEL_DELTA);
        }
        for (WORD key : c.keys) {
            Press(key);
        }
        MSG msg;
        for (size_t keys = 0, tries = 0; keys < c.keys.size() && tries < 400; ++tries) {
            if (!::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {
                ::Sleep(5);
            } else if (++keys > 0) {
                ::DispatchMessageW(&msg);
            }
        }
        EXPECT_TRUE(Closed(combo));
        EXPECT_EQ(combo->GetCurSel(), c.expected);
        EXPECT_EQ(log_.Count(L"itemselect", combo), c.notices);
        EXPECT_TRUE(ChildrenHome(combo, &Host().pm));
    }
}

// A click opens the popup; a click on an element selects it and closes the
// popup, a click elsewhere only closes it. The element's own notices go to
// the popup's listeners while it stands there.
TEST_F(ComboTest, PopupPlacementSizeAndClicks) {
    struct Case {
        const wchar_t* attributes;
        int items;
        int hidden; // the last ones
        bool above;
        int width;
        int height; // -1: the shown children's heights + 4
    } const cases[] = {
        {L"pos=\"20,20,220,44\"", 3, 0, false, 200, -1},
        {L"pos=\"20,20,220,44\"", 0, 0, false, 200, 4},
        {L"pos=\"20,20,120,44\" dropboxsize=\"300,100\"", 30, 0, false, 300, 100},
        {L"pos=\"20,456,220,480\" dropboxsize=\"0,490\"", 30, 0, true, 200, 490},
        {L"pos=\"20,20,220,44\"", 5, 3, false, 200, -1},
        // Hidden children take no room: two shown ones fit below.
        {L"pos=\"20,456,220,480\" dropboxsize=\"0,490\"", 30, 28, false, 200, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.attributes << " hidden " << c.hidden);
        CComboUI* combo = Build(c.attributes, Items(c.items));
        int needed = 4;
        for (int i = 0; i < c.items; ++i) {
            if (i >= c.items - c.hidden) {
                combo->GetItemAt(i)->SetVisible(false);
            } else {
                needed += combo->GetItemAt(i)->MeasureDesiredSize(SIZE{200, 600}).cy;
            }
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
        EXPECT_EQ(log_.Count(L"dropdown", combo), 1);
        if (c.items > 0) {
            EXPECT_NE(combo->GetItemAt(0)->GetManager(), &Host().pm);
            ClickAt(popup, combo->GetItemAt(0)->GetPos());
        } else {
            ClickAt(Host(), RECT{500, 400, 520, 420});
        }
        EXPECT_TRUE(Closed(combo));
        EXPECT_TRUE(ChildrenHome(combo, &Host().pm));
        EXPECT_EQ(combo->GetCurSel(), c.items > 0 ? 0 : -1);
        EXPECT_EQ(log_.Trail({L"itemclick", L"itemselect"}),
                  std::vector<std::wstring>(c.items > 0 ? 1 : 0, L"itemselect@c"));
    }
}

// The ramp image has red = x: picture i of a 200-pixel strip of five is red
// 40 * i to 40 * i + 39, drawn one to one at the right edge.
TEST_F(ComboTest, ComboBoxArrowStripShowsTheStatePicture) {
    const wchar_t* strip = L"file='ramp.png' source='0,0,200,12'";
    struct Case {
        const wchar_t* arrow;
        char state;  // normal, hot, pushed, focused, disabled
        int picture; // -1: nothing drawn in the arrow area
    } const cases[] = {
        {strip, 'n', 0},
        {strip, 'h', 1},
        {strip, 'p', 2},
        {strip, 'f', 3},
        {strip, 'd', 4},
        {L"file='ramp.png' source", 'n', -1},
        {L"file='ramp.png' source='0,0,200,12", 'h', -1},
        {L"file='ramp.png' sourc", 'n', -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.state << " " << c.arrow);
        auto* box = BuildInto(Host().pm, std::wstring(L"<ComboBox name=\"c\" float=\"true\" "
                                                      L"pos=\"20,20,220,44\" bkcolor=\"#FFFFFFFF\" "
                                                      L"arrowimage=\"") +
                                             c.arrow + L"\">" + Items(3) + L"</ComboBox>");
        ASSERT_NE(box, nullptr);
        if (c.state == 'h' || c.state == 'p') {
            MoveTo(200, 32);
        }
        if (c.state == 'p') {
            LeftDown();
            LeftUp();
        }
        if (c.state == 'f') {
            Host().pm.SetFocus(box);
        }
        box->SetEnabled(c.state != 'd');
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

TEST_F(ComboTest, MalformedAttributesDoNotBreakIt) {
    for (const wchar_t* attributes : {
             L"textpadding=\"\" dropboxsize=\"x\"",
             L"dropboxsize=\"-5,-5\" itemfont=\"-99\" itemalign=\"\"",
             L"dropboxsize=\"2147483647,2147483647\" textpadding=\"-9999,3\"",
             L"itemtextpadding=\"1\" itemshowhtml=\"true\" dropbox=\"inset=&quot;\"",
             L"normalimage=\"file='missing.png'\" pushedimage=\"file='\" itembkimage=\"x\"",
             L"itemtextcolor=\"#zz\" itemselectedimage=\"source='1,2'\" dropbox=\"vscrollbar=\"",
         }) {
        SCOPED_TRACE(attributes);
        CComboUI* combo = Build(std::wstring(L"pos=\"20,20,220,44\" ") + attributes, Items(3));
        ASSERT_NE(combo, nullptr);
        combo->SelectItem(0);
        ClickAt(Host(), combo->GetPos());
        Press(VK_ESCAPE);
        EXPECT_TRUE(Closed(combo));
        Capture(Host());
        EXPECT_EQ(combo->GetCurSel(), 0);
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
        }
        ::DestroyWindow(*host);
        delete host; // the manager deletes what is left of the tree
    }
}

CControlUI* CALLBACK CollectClass(CControlUI* control, LPVOID data) {
    static_cast<std::set<std::wstring>*>(data)->insert(control->GetClass());
    return nullptr;
}

// The sample skin builds every tag into its class, and a picture of the
// window in several states (framework_sample.png in the test's working
// folder, with the combo's popup open) is there for a person to look at.
TEST(FrameworkSample, EveryTagBuildsAndShows) {
    const std::wstring skin = TestSupport::FromUtf8(TestSupport::ReadFileBytes(
        TestSupport::WinePathOf(UNINST_SOURCE_DIR "/tests/ui/samples/framework_sample.xml")));
    SkinUI::CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &Host().pm);
    ASSERT_NE(root, nullptr);
    Host().pm.AttachRootControl(root);
    // The text row shows one text per header column: its own column texts here.
    auto* textRow = static_cast<SkinUI::CListTextElementUI*>(Host().pm.FindControl(L"textrow"));
    ASSERT_NE(textRow, nullptr);
    ASSERT_TRUE(textRow->SetColumnText(0, L"Text row: column 1"));
    ASSERT_TRUE(textRow->SetColumnText(1, L"column 2"));
    ::InvalidateRect(Host(), nullptr, FALSE);
    PumpFor(100);
    std::set<std::wstring> classes;
    root->FindControl(CollectClass, &classes, SkinUI::UIFIND_ALL);
    std::wistringstream expected(
        L"LabelUI TextUI ButtonUI OptionUI CheckBoxUI ProgressUI SliderUI "
        L"ScrollBarUI RichEditUI EditUI DateTimeUI ComboUI ComboBoxUI ListUI "
        L"ListHeaderUI ListHeaderItemUI ListLabelElementUI ListTextElementUI "
        L"ListContainerElementUI TabLayoutUI TileLayoutUI ContainerUI "
        L"HorizontalLayoutUI VerticalLayoutUI TreeViewUI TreeNodeUI");
    for (std::wstring name; expected >> name;) {
        EXPECT_EQ(classes.count(name), 1u) << name;
    }
    auto* combo = static_cast<SkinUI::CComboUI*>(Host().pm.FindControl(L"combo"));
    EXPECT_EQ(combo->GetCurSel(), 1); // its element's "selected" attribute
    auto* list = static_cast<SkinUI::CListUI*>(Host().pm.FindControl(L"list"));
    list->SelectItem(3);
    MoveTo(CenterPoint(Host().pm.FindControl(L"hotrow")->GetPos()));
    ASSERT_TRUE(combo->Activate());
    PumpFor(150);
    const HWND popup = combo->GetDropDownWindow();
    ASSERT_NE(popup, nullptr);
    // The window's place on the screen, so that the popup shows too; the
    // popup lies wholly inside it.
    RECT window = {}, dropped = {}, inside = {};
    ::GetWindowRect(Host(), &window);
    ::GetWindowRect(popup, &dropped);
    ::IntersectRect(&inside, &window, &dropped);
    EXPECT_TRUE(::EqualRect(&inside, &dropped));
    const auto shot = UiTest::CaptureScreen(window);
    EXPECT_TRUE(TestSupport::WriteFileBytes(L"framework_sample.png",
                                            TestSupport::EncodePng(shot->Snapshot())));
    // Both columns of the text row hold text: dark pixels, every channel
    // below 0x80, on either side of the first header item's right edge.
    const auto ink = [&](const RECT& rc) {
        return TestSupport::CountDominant(*shot, rc, 0x000000, 0x80);
    };
    const RECT row = textRow->GetPos();
    const int split = list->GetHeader()->GetItemAt(0)->GetPos().right;
    EXPECT_GT(ink(RECT{row.left, row.top, split, row.bottom}), 20);
    EXPECT_GT(ink(RECT{split, row.top, row.right, row.bottom}), 20);
    Press(VK_ESCAPE);
    EXPECT_TRUE(PumpUntil([&] { return combo->GetDropDownWindow() == nullptr; }));
}

} // namespace
