#include <windows.h>

#include "ui/DialogBuilder.h"
#include "ui/controls/ListContainerElementUI.h"
#include "ui/controls/ListHeaderItemUI.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListTextElementUI.h"
#include "ui/controls/ListUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/support/FileUtil.h"
#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace ControlsTest;
using namespace SkinUI;

namespace {

using Trail = std::vector<std::wstring>;

const RECT kPlace = {20, 20, 420, 320};
const int kRowHeight = 24;

// Rows from a pattern, one letter per row: e enabled, D disabled, H hidden,
// C a container element.
std::wstring Rows(const std::wstring& pattern) {
    std::wstring xml;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const std::wstring name = L"row" + std::to_wstring(i);
        const wchar_t* tag = pattern[i] == L'C' ? L"ListContainerElement" : L"ListLabelElement";
        xml += L"<" + std::wstring(tag) + L" name=\"" + name + L"\" text=\"" + name +
               L"\" height=\"24\"";
        xml += pattern[i] == L'D' ? L" enabled=\"false\""
                                  : (pattern[i] == L'H' ? L" visible=\"false\"" : L"");
        xml += L"/>";
    }
    return xml;
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = &Host();
        MoveScreen(5, 5);
        ASSERT_TRUE(TakeKeyboard(hwnd()));
    }
    void TearDown() override {
        LeftUp();
        MoveScreen(5, 5);
        Pump();
        pm().RemoveNotifyListener(&log_);
        pm().SetFocus(nullptr);
        Pump();
    }

    CWindowManagerUI& pm() { return host_->pm; }
    HWND hwnd() { return *host_; }

    // Builds a list from skin text (what goes inside <Window>), places it
    // in a new root and paints it once.
    CListUI* Build(const std::wstring& inner, RECT place = kPlace) {
        root_ = new HostBox();
        CDialogBuilder builder;
        const std::wstring skin = L"<Window>" + inner + L"</Window>";
        CControlUI* control = builder.Create(skin.c_str(), nullptr, nullptr, &pm());
        auto* list = control != nullptr
                         ? static_cast<CListUI*>(control->QueryInterfaceByName(L"List"))
                         : nullptr;
        EXPECT_NE(nullptr, list);
        root_->Add(control, place);
        Attach();
        return list;
    }
    CListUI* BuildRows(const std::wstring& pattern, const std::wstring& attributes = L"") {
        return Build(L"<List name=\"list\" header=\"hidden\" " + attributes + L">" + Rows(pattern) +
                     L"</List>");
    }
    void Attach() {
        pm().RemoveNotifyListener(&log_);
        pm().AddNotifyListener(&log_);
        ASSERT_TRUE(pm().AttachRootControl(root_));
        Repaint();
        pm().SetFocus(nullptr);
        Pump();
        log_.Clear();
    }
    void Repaint() {
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        ::UpdateWindow(hwnd());
        Pump();
    }
    static POINT RowPoint(CListUI* list, int row) {
        return CenterPoint(list->GetItemAt(row)->GetPos());
    }
    static IListItemUI* Item(CListUI* list, int row) {
        return static_cast<IListItemUI*>(list->GetItemAt(row)->QueryInterfaceByName(L"ListItem"));
    }
    // The rows whose selected flag is set, as "01001".
    static std::wstring Flags(CListUI* list) {
        std::wstring flags;
        for (int i = 0; i < list->GetCount(); ++i) {
            flags += Item(list, i)->IsSelected() ? L'1' : L'0';
        }
        return flags;
    }
    void Click(POINT pt) {
        MoveTo(pt);
        LeftDown();
        LeftUp();
        PumpFor(30);
    }
    bool Notices(const wchar_t* type, int n) {
        return PumpUntil([&] { return log_.Count(type) >= n; }, 2000) && log_.Count(type) == n;
    }
    uint32_t PixelAt(POINT pt) { return Capture(hwnd())->Pixel(pt.x, pt.y); }
    bool Shows(POINT pt, uint32_t color) {
        return PumpUntil([&] { return Near(PixelAt(pt), color); }, 2000);
    }

    HostWnd* host_ = nullptr;
    HostBox* root_ = nullptr;
    NoticeLog log_;
};

// ---- Building and interfaces --------------------------------------------------------------

TEST_F(ListTest, SkinTagsBuildTheListClasses) {
    CListUI* list = Build(LR"(<List name="list"><ListHeader name="head">
        <ListHeaderItem text="a" width="100"/><ListHeaderItem text="b" width="100"/></ListHeader>
        <ListLabelElement name="label" text="x"/><ListTextElement name="text"/>
        <ListContainerElement name="box" height="30"><Button name="inner"/></ListContainerElement>
        </List>)");
    ASSERT_NE(nullptr, list);
    EXPECT_STREQ(L"ListHeaderUI", list->GetHeader()->GetClass());
    EXPECT_EQ(pm().FindControl(L"head"), list->GetHeader());
    EXPECT_STREQ(L"ListHeaderItemUI", list->GetHeader()->GetItemAt(1)->GetClass());
    EXPECT_EQ(2, list->GetListLook()->nColumns);
    const wchar_t* const classes[] = {L"ListLabelElementUI", L"ListTextElementUI",
                                      L"ListContainerElementUI"};
    ASSERT_EQ(3, list->GetCount());
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(classes[i], list->GetItemAt(i)->GetClass());
        EXPECT_EQ(i, Item(list, i)->GetIndex());
        EXPECT_EQ(static_cast<IListOwnerUI*>(list), Item(list, i)->GetOwner());
    }
    EXPECT_EQ(list->GetItemAt(2), pm().FindControl(L"inner")->GetParent());
}

// Interfaces of classes with several bases are the right sub-objects: each
// call through them reaches the object's own state.
TEST_F(ListTest, InterfaceLookupsGiveTheRightSubObject) {
    CListUI* list = BuildRows(L"ee");
    auto* owner = static_cast<IListOwnerUI*>(list->QueryInterfaceByName(L"IListOwner"));
    auto* ilist = static_cast<IListUI*>(list->QueryInterfaceByName(L"IList"));
    auto* container = static_cast<IContainerUI*>(list->QueryInterfaceByName(L"IContainer"));
    ASSERT_TRUE(owner->SelectItem(1));
    EXPECT_EQ(1, ilist->GetCurSel());
    EXPECT_EQ(list->GetListLook(), owner->GetListLook());
    EXPECT_EQ(2, container->GetCount());
    CListContainerElementUI box;
    CListTextElementUI text;
    for (CControlUI* element : {static_cast<CControlUI*>(&box), static_cast<CControlUI*>(&text)}) {
        auto* item = static_cast<IListItemUI*>(element->QueryInterfaceByName(L"ListItem"));
        item->SetIndex(7);
        item->SetOwner(list);
        EXPECT_EQ(7, item->GetIndex());
        EXPECT_EQ(owner, item->GetOwner());
    }
    EXPECT_EQ(static_cast<IContainerUI*>(&box), box.QueryInterfaceByName(L"IContainer"));
}

// ---- Selection -------------------------------------------------------------------------------

struct KeyCase {
    const wchar_t* rows;
    int start;
    WORD key;
    int expected;
};

// Real keys on a focused list; the selection rules as the list keeps them,
// including Down and End past the last selectable item clearing it.
TEST_F(ListTest, KeysMoveTheSelection) {
    const KeyCase cases[] = {
        {L"eee", -1, VK_DOWN, 0}, {L"eee", 2, VK_DOWN, 2}, {L"eee", 0, VK_UP, 0},
        {L"eDe", 0, VK_DOWN, 2},  {L"eHe", 2, VK_UP, 0},   {L"DDe", -1, VK_HOME, 2},
        {L"eeD", 1, VK_DOWN, -1}, {L"eeD", 0, VK_END, -1}, {L"eee", 0, VK_END, 2},
        {L"eeDe", 3, VK_HOME, 0}, {L"eDD", -1, VK_UP, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(std::wstring(c.rows) + L" from " + std::to_wstring(c.start));
        CListUI* list = BuildRows(c.rows);
        list->SelectItem(c.start);
        pm().SetFocus(list);
        log_.Clear();
        Press(c.key);
        PumpFor(60);
        EXPECT_EQ(c.expected, list->GetCurSel());
        const int notices = c.expected != c.start && c.expected >= 0 ? 1 : 0;
        EXPECT_EQ(notices, log_.Count(L"itemselect"));
        EXPECT_EQ(c.expected, static_cast<int>(Flags(list).find(L'1')));
    }
}

TEST_F(ListTest, ClicksSelectAndDoubleClickOrReturnActivates) {
    CListUI* list = BuildRows(L"eeeDC");
    Click(RowPoint(list, 4));
    ASSERT_TRUE(Notices(L"itemselect", 1));
    EXPECT_EQ((Trail{L"itemclick@row4", L"itemselect@list"}),
              log_.Trail({L"itemclick", L"itemselect", L"itemactivate"}));
    log_.Clear();
    Click(RowPoint(list, 1));
    ASSERT_TRUE(Notices(L"itemselect", 1));
    EXPECT_EQ((Trail{L"itemclick@row1", L"itemselect@list"}),
              log_.Trail({L"itemclick", L"itemselect", L"itemactivate"}));
    EXPECT_EQ(1u, log_.Of({L"itemselect"}).back().wParam);
    EXPECT_EQ(4, static_cast<int>(log_.Of({L"itemselect"}).back().lParam));

    Click(RowPoint(list, 3)); // disabled: nothing
    MoveTo(RowPoint(list, 2));
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(Notices(L"itemactivate", 1));
    Press(VK_RETURN);
    ASSERT_TRUE(Notices(L"itemactivate", 2));
    EXPECT_EQ((Trail{L"itemclick@row1", L"itemselect@list", L"itemclick@row2", L"itemselect@list",
                     L"itemactivate@row2", L"itemactivate@row2"}),
              log_.Trail({L"itemclick", L"itemselect", L"itemactivate"}));
    EXPECT_EQ(L"00100", Flags(list));
}

struct WheelCase {
    bool scrollSelect;
    int selection;       // after two notches down from row 0 selected
    bool scrolledByLine; // the scroll position is a multiple of the line step
};

TEST_F(ListTest, WheelScrollsOrMovesTheSelection) {
    for (const WheelCase& c : {WheelCase{false, 0, true}, WheelCase{true, 2, false}}) {
        SCOPED_TRACE(c.scrollSelect);
        CListUI* list = BuildRows(std::wstring(40, L'e'),
                                  c.scrollSelect ? L"vscrollbar=\"true\" scrollselect=\"true\""
                                                 : L"vscrollbar=\"true\"");
        list->SelectItem(0);
        MoveTo(RowPoint(list, 0));
        Wheel(-WHEEL_DELTA);
        PumpFor(60);
        Wheel(-WHEEL_DELTA);
        PumpFor(60);
        EXPECT_EQ(c.selection, list->GetCurSel());
        const int step = pm().GetDefaultFontInfo()->tm.tmHeight + 8;
        EXPECT_EQ(c.scrolledByLine ? 2 * step : 0, list->GetScrollPos().cy);
    }
}

// The selected row is scrolled just into view, from above or below.
TEST_F(ListTest, SelectionScrollsItsRowIntoView) {
    CListUI* list = BuildRows(std::wstring(40, L'e'), L"vscrollbar=\"true\"");
    const int height = kPlace.bottom - kPlace.top;
    const int cases[][2] = {{20, 21 * kRowHeight - height},
                            {5, 5 * kRowHeight},
                            {12, 5 * kRowHeight},
                            {17, 18 * kRowHeight - height}};
    for (const auto& c : cases) {
        list->SelectItem(c[0]);
        EXPECT_EQ(c[1], list->GetScrollPos().cy) << c[0];
    }
}

struct ChangeCase {
    const wchar_t* name;
    const wchar_t* rows;
    int start;
    std::function<void(CListUI*)> change;
    int selection;
    const wchar_t* flags;
    int notices;
};

// Adding, removing and moving items keep the list's selection, the
// elements' flags and the row shown selected in step.
TEST_F(ListTest, SelectionFollowsItsItem) {
    const uint32_t kSelBk = 0xFF00A000;
    const auto label = [](const wchar_t* text) {
        auto* element = new CListLabelElementUI();
        element->SetText(text);
        return element;
    };
    const ChangeCase cases[] = {
        {L"insert before", L"eee", 1, [&](CListUI* l) { l->AddAt(label(L"n"), 0); }, 2, L"0010", 0},
        {L"insert at", L"eee", 1, [&](CListUI* l) { l->AddAt(label(L"n"), 1); }, 2, L"0010", 0},
        {L"remove just before", L"eee", 1, [](CListUI* l) { l->RemoveAt(0); }, 0, L"10", 0},
        {L"insert after", L"eee", 1, [&](CListUI* l) { l->AddAt(label(L"n"), 2); }, 1, L"0100", 0},
        {L"remove before", L"eee", 2, [](CListUI* l) { l->RemoveAt(0); }, 1, L"01", 0},
        {L"remove selected", L"eee", 1, [](CListUI* l) { l->RemoveAt(1); }, 1, L"01", 1},
        {L"remove last selected", L"eDe", 2, [](CListUI* l) { l->RemoveAt(2); }, 0, L"10", 1},
        {L"rest disabled", L"eDD", 0, [](CListUI* l) { l->Remove(l->GetItemAt(0)); }, -1, L"00", 0},
        {L"remove all", L"eee", 1, [](CListUI* l) { l->RemoveAll(); }, -1, L"", 0},
        {L"move selected", L"eee", 0, [](CListUI* l) { l->SetItemIndex(l->GetItemAt(0), 2); }, 2,
         L"001", 0},
        {L"move other", L"eee", 2, [](CListUI* l) { l->SetItemIndex(l->GetItemAt(0), 2); }, 1,
         L"010", 0},
        {L"hide selected", L"eee", 1, [](CListUI* l) { l->GetItemAt(1)->SetVisible(false); }, -1,
         L"000", 0},
        {L"disable selected", L"eee", 1, [](CListUI* l) { l->GetItemAt(1)->SetEnabled(false); }, 1,
         L"010", 0},
        {L"select -1", L"eee", 1, [](CListUI* l) { EXPECT_FALSE(l->SelectItem(-1)); }, -1, L"000",
         0},
        {L"select again", L"eee", 1, [](CListUI* l) { EXPECT_TRUE(l->SelectItem(1)); }, 1, L"010",
         0},
        {L"select disabled", L"eDe", 0, [](CListUI* l) { EXPECT_FALSE(l->SelectItem(1)); }, -1,
         L"000", 0},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.name);
        CListUI* list = BuildRows(c.rows, L"itemselectedbkcolor=\"#FF00A000\"");
        ASSERT_TRUE(list->SelectItem(c.start));
        log_.Clear();
        c.change(list);
        EXPECT_EQ(c.selection, list->GetCurSel());
        EXPECT_EQ(c.flags, Flags(list));
        EXPECT_EQ(c.notices, log_.Count(L"itemselect"));
        Repaint();
        const auto shot = Capture(hwnd());
        for (int i = 0; i < list->GetCount(); ++i) {
            EXPECT_EQ(i, Item(list, i)->GetIndex());
            if (list->GetItemAt(i)->IsVisible() && list->GetItemAt(i)->IsEnabled()) {
                const POINT pt = RowPoint(list, i);
                EXPECT_EQ(i == c.selection, Near(shot->Pixel(pt.x, pt.y), kSelBk)) << i;
            }
        }
    }
}

// Only selecting a disabled element is refused; deselecting always clears
// its flag. An element whose owner refuses its index stays unselected.
TEST_F(ListTest, ElementSelectFlagStaysInStepWithTheList) {
    CListUI* list = BuildRows(L"eeD");
    IListItemUI* first = Item(list, 0);
    ASSERT_TRUE(first->Select(true));
    EXPECT_EQ(0, list->GetCurSel());
    EXPECT_EQ(1, log_.Count(L"itemselect"));

    list->GetItemAt(0)->SetEnabled(false);
    EXPECT_TRUE(first->Select(false));
    EXPECT_FALSE(first->IsSelected());
    EXPECT_FALSE(Item(list, 2)->Select(true));
    EXPECT_FALSE(Item(list, 2)->IsSelected());

    list->GetItemAt(1)->SetVisible(false);
    EXPECT_FALSE(Item(list, 1)->Select(true));
    EXPECT_EQ(L"000", Flags(list));
}

// ---- Header and columns --------------------------------------------------------------------

struct DragCase {
    const wchar_t* item; // "a" has its separator at the right edge, "b" at the left
    int steps[5][2];     // pointer from the press point, column width afterwards
};

// A drag stops at the last width above the minimum (16) and goes on from
// the last accepted point; a press on the separator sends no "headerclick".
TEST_F(ListTest, DraggingTheSeparatorResizesAboveTheMinimumWidth) {
    const DragCase cases[] = {
        {L"a", {{-50, 50}, {-84, 50}, {-83, 17}, {-150, 17}, {10, 110}}},
        {L"b", {{30, 50}, {64, 50}, {63, 17}, {150, 17}, {-10, 90}}},
    };
    for (const DragCase& c : cases) {
        SCOPED_TRACE(c.item);
        CListUI* list = Build(LR"(<List name="list"><ListHeader height="24">
            <ListHeaderItem name="a" text="a" width="100"/>
            <ListHeaderItem name="b" text="b" width="80" sepwidth="-4"/></ListHeader>
            <ListTextElement/></List>)");
        auto* item = static_cast<CListHeaderItemUI*>(pm().FindControl(c.item));
        const int column = list->GetItemIndex(item);
        const RECT thumb = item->GetThumbRect();
        const POINT press = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        MoveTo(press);
        EXPECT_TRUE(PumpUntil([] { return ::GetCursor() == ::LoadCursorW(nullptr, IDC_SIZEWE); }));
        LeftDown();
        PumpFor(30);
        for (const auto& step : c.steps) {
            SCOPED_TRACE(step[0]);
            MoveTo(press.x + step[0], press.y);
            PumpFor(30);
            Repaint();
            EXPECT_EQ(step[1], item->GetWidth());
            EXPECT_EQ(item->GetPos().left, list->GetListLook()->rcColumn[column].left);
            EXPECT_EQ(item->GetPos().right, list->GetListLook()->rcColumn[column].right);
        }
        LeftUp();
        PumpFor(30);
        EXPECT_EQ(0, log_.Count(L"headerclick"));
        Click(CenterPoint(item->GetPos()));
        EXPECT_TRUE(Notices(L"headerclick", 1));
        EXPECT_EQ((Trail{L"headerclick@" + std::wstring(c.item)}), log_.Trail({L"headerclick"}));
    }
}

// Removing the current header leaves the list without header and columns;
// a header with items is never replaced by a later one.
TEST_F(ListTest, HeaderRemovalClearsTheColumns) {
    CListUI* list = Build(LR"(<List name="list"><ListHeader name="first">
        <ListHeaderItem width="50"/><ListHeaderItem width="50"/><ListHeaderItem width="50"/></ListHeader>
        <ListTextElement/></List>)");
    CListHeaderUI* first = list->GetHeader();
    EXPECT_EQ(3, list->GetListLook()->nColumns);
    auto* later = new CListHeaderUI();
    ASSERT_TRUE(list->Add(later));
    EXPECT_EQ(first, list->GetHeader());
    EXPECT_EQ(0, list->GetItemIndex(later));

    ASSERT_TRUE(list->Remove(first));
    EXPECT_EQ(nullptr, list->GetHeader());
    EXPECT_EQ(0, list->GetListLook()->nColumns);
    auto* orphan = new CListHeaderItemUI();
    EXPECT_FALSE(list->Add(orphan));
    delete orphan;
    Repaint();
    EXPECT_EQ(0, list->GetListLook()->nColumns);

    auto* next = new CListHeaderUI();
    ASSERT_TRUE(list->Add(next));
    EXPECT_EQ(next, list->GetHeader());
}

struct ColumnCase {
    const wchar_t* header; // attribute of the list
    int items;             // header items, 30 pixels wide
    int columns;
};

TEST_F(ListTest, ColumnsComeFromTheHeaderItems) {
    const ColumnCase cases[] = {{L"shown", 3, 3}, {L"hidden", 3, 3}, {L"shown", 40, 32}};
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(std::wstring(c.header) + L" " + std::to_wstring(c.items));
        std::wstring items;
        for (int i = 0; i < c.items; ++i) {
            items += L"<ListHeaderItem width=\"30\"/>";
        }
        CListUI* list = Build(L"<List header=\"" + std::wstring(c.header) + L"\"><ListHeader>" +
                              items + L"</ListHeader></List>");
        const TListLookUI& look = *list->GetListLook();
        ASSERT_EQ(c.columns, look.nColumns);
        for (int i = 0; i < c.columns; ++i) {
            EXPECT_EQ(kPlace.left + 30 * i, look.rcColumn[i].left);
            EXPECT_EQ(30, look.rcColumn[i].right - look.rcColumn[i].left);
        }
    }
}

// A header wider than the body: the rows are as wide as the header and
// scroll sideways with its columns.
TEST_F(ListTest, WideHeaderScrollsSidewaysWithTheRows) {
    CListUI* list = Build(LR"(<List hscrollbar="true"><ListHeader>
        <ListHeaderItem width="300"/><ListHeaderItem width="300"/></ListHeader>
        <ListTextElement/><ListTextElement/></List>)");
    CScrollBarUI* bar = list->GetHorizontalScrollBar();
    ASSERT_TRUE(bar->IsVisible());
    EXPECT_EQ(600 - (kPlace.right - kPlace.left), bar->GetScrollRange());
    EXPECT_EQ(600, list->GetItemAt(1)->GetWidth());

    list->SetScrollPos(SIZE{50, 0});
    const TListLookUI& look = *list->GetListLook();
    EXPECT_EQ(kPlace.left - 50, look.rcColumn[0].left);
    EXPECT_EQ(kPlace.left + 250, look.rcColumn[1].left);
    EXPECT_EQ(kPlace.left - 50, list->GetItemAt(0)->GetPos().left);
    EXPECT_EQ(kPlace.left - 50, list->GetHeader()->GetItemAt(0)->GetPos().left);
    list->SetPos(list->GetPos()); // a full layout keeps the sideways position
    EXPECT_EQ(kPlace.left - 50, look.rcColumn[0].left);
    EXPECT_EQ(kPlace.left - 50, list->GetItemAt(1)->GetPos().left);
}

// ---- Painting --------------------------------------------------------------------------------

struct RowColour {
    int row;
    uint32_t color;
};

TEST_F(ListTest, RowsPaintTheirStateColours) {
    const uint32_t kBk = 0xFF3060A0, kHotBk = 0xFFA0A000, kSelBk = 0xFF00A000, kOff = 0xFF602020,
                   kLine = 0xFFFF0000, kList = 0xFF101010;
    CListUI* list =
        BuildRows(L"eeeeee", LR"(bkcolor="#FF101010" itemaltbk="true" itembkcolor="#FF3060A0"
        itemhotbkcolor="#FFA0A000" itemselectedbkcolor="#FF00A000" itemdisabledbkcolor="#FF602020"
        itemlinecolor="#FFFF0000")");
    // A disabled selected row shows disabled.
    list->SelectItem(5);
    list->GetItemAt(5)->SetEnabled(false);
    list->GetItemAt(4)->SetEnabled(false);
    MoveTo(RowPoint(list, 1));
    const RowColour rows[] = {{0, kBk}, {1, kHotBk}, {2, kBk}, {3, kList}, {4, kOff}, {5, kOff}};
    for (const RowColour& r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_TRUE(Shows(RowPoint(list, r.row), r.color));
    }
    list->SelectItem(2);
    EXPECT_TRUE(Shows(RowPoint(list, 2), kSelBk));
    // For a person to look at: alternate, hot, selected and disabled rows.
    EXPECT_TRUE(TestSupport::WriteFileBytes(L"list_sample.png",
                                            TestSupport::EncodePng(Capture(hwnd())->Snapshot())));
    const RECT& first = list->GetItemAt(0)->GetPos();
    EXPECT_TRUE(Near(kLine, PixelAt(POINT{first.left + 5, first.bottom - 1})));
    EXPECT_TRUE(Near(kBk, PixelAt(POINT{first.left + 5, first.bottom - 2})));
    MoveTo(300, 400);
    EXPECT_TRUE(Shows(RowPoint(list, 1), kList));
}

// A look image that can't be drawn is dropped from the look; the row's
// colour shows instead, and a drawable one covers the colour.
TEST_F(ListTest, LookImagesCoverColoursAndMissingOnesAreDropped) {
    CListUI* list = BuildRows(L"ee", LR"(itemhotimage="missing.png" itemhotbkcolor="#FFA0A000"
        itemselectedimage="selected.png")");
    list->SelectItem(0);
    MoveTo(RowPoint(list, 1));
    EXPECT_TRUE(Shows(RowPoint(list, 1), 0xFFA0A000));
    EXPECT_TRUE(Shows(RowPoint(list, 0), kSelected));
    EXPECT_STREQ(L"", list->GetListLook()->sHotImage);
}

struct HeaderState {
    std::function<void(POINT)> input;
    uint32_t color;
};

// Header items draw their state image (a state without one falls back to
// the normal image) and their separator image at the separator's edge.
TEST_F(ListTest, HeaderItemsPaintStateAndSeparatorImages) {
    Build(LR"(<List><ListHeader height="30">
        <ListHeaderItem name="a" width="100" normalimage="normal.png" hotimage="hot.png"
          pushedimage="pushed.png" sepimage="fore.png"/>
        <ListHeaderItem name="b" width="100" normalimage="normal.png" sepwidth="-6"
          sepimage="fore.png"/></ListHeader></List>)");
    const RECT a = pm().FindControl(L"a")->GetPos();
    const RECT b = pm().FindControl(L"b")->GetPos();
    const POINT mid = {(a.left + a.right) / 2, (a.top + a.bottom) / 2};
    const POINT bMid = {(b.left + b.right) / 2, mid.y};
    const HeaderState states[] = {
        {[](POINT) {}, kNormal},
        {[](POINT pt) { MoveTo(pt); }, kHot},
        {[](POINT) { LeftDown(); }, kPushed},
        {[](POINT) { LeftUp(); }, kHot},
    };
    for (const HeaderState& state : states) {
        state.input(mid);
        EXPECT_TRUE(Shows(mid, state.color));
    }
    MoveTo(bMid);
    LeftDown(); // no pushed image: the normal one
    EXPECT_TRUE(Shows(bMid, kNormal));
    LeftUp();
    EXPECT_TRUE(Shows(POINT{a.right - 2, mid.y}, kFore));
    EXPECT_TRUE(Shows(POINT{b.left + 4, mid.y}, kFore));
    EXPECT_TRUE(Near(kNormal, PixelAt(POINT{b.right - 2, mid.y})));
}

struct MeasureCase {
    const wchar_t* row;
    int extraHeight; // beyond the font's height
};

// Rows without a fixed height take the look font's height, 8 pixels and
// the look's vertical text padding.
TEST_F(ListTest, RowsWithoutHeightFollowTheLookFont) {
    const MeasureCase cases[] = {{L"<ListLabelElement text=\"x\"/>", 8 + 5},
                                 {L"<ListTextElement/>", 8 + 5},
                                 {L"<ListLabelElement text=\"x\" height=\"40\"/>", -1}};
    for (const MeasureCase& c : cases) {
        SCOPED_TRACE(c.row);
        CListUI* list = Build(L"<List header=\"hidden\" itemtextpadding=\"0,2,0,3\">" +
                              std::wstring(c.row) + L"</List>");
        const int font = pm().GetDefaultFontInfo()->tm.tmHeight;
        EXPECT_EQ(c.extraHeight < 0 ? 40 : font + c.extraHeight, list->GetItemAt(0)->GetHeight());
    }
}

// ---- Text elements ---------------------------------------------------------------------------

class Texts : public IListTextCallbackUI {
public:
    LPCWSTR GetItemText(CControlUI*, int index, int column) override {
        text_ = L"<a>r" + std::to_wstring(index) + L"c" + std::to_wstring(column) + L"</a>";
        return text_.c_str();
    }

private:
    std::wstring text_;
};

// Link areas stand in their columns; a click on one sends "link" with its
// number.
TEST_F(ListTest, TextElementLinksLineUpWithTheColumns) {
    CListUI* list = Build(LR"(<List itemshowhtml="true"><ListHeader>
        <ListHeaderItem width="100"/><ListHeaderItem width="100"/></ListHeader>
        <ListTextElement name="own" height="24"/><ListTextElement name="called" height="24"/></List>)");
    auto* own = static_cast<CListTextElementUI*>(list->GetItemAt(0));
    EXPECT_TRUE(own->SetColumnText(1, L"<a>x</a> <a>y</a>"));
    EXPECT_FALSE(own->SetColumnText(kMaxListColumns, L"never drawn"));
    EXPECT_FALSE(own->SetColumnText(-1, L"never drawn"));
    Texts texts;
    Repaint();
    ASSERT_EQ(2, own->GetLinkCount());
    list->SetTextCallback(&texts);
    Repaint();
    auto* called = static_cast<CListTextElementUI*>(list->GetItemAt(1));
    ASSERT_EQ(2, called->GetLinkCount());
    const TListLookUI& look = *list->GetListLook();
    for (int i = 0; i < 2; ++i) {
        EXPECT_GE(called->GetLinkRect(i).left, look.rcColumn[i].left);
        EXPECT_LE(called->GetLinkRect(i).right, look.rcColumn[i].right);
    }
    Click(CenterPoint(called->GetLinkRect(1)));
    ASSERT_TRUE(Notices(L"link", 1));
    EXPECT_EQ(1u, log_.Of({L"link"}).back().wParam);
}

// ---- Robustness ------------------------------------------------------------------------------

// Attribute values a damaged skin may hold, on every list class, then a
// layout, a paint and input on an empty list.
TEST_F(ListTest, MalformedAttributesAndEmptyListsNeverCrash) {
    const wchar_t* const names[] = {
        L"header",          L"headerbkimage", L"scrollselect", L"itemfont",     L"itemalign",
        L"itemtextpadding", L"itemtextcolor", L"itembkimage",  L"itemshowhtml", L"vscrollbarstyle",
        L"childpadding",    L"dragable",      L"sepwidth",     L"align",        L"textpadding",
        L"sepimage",        L"selected",      L"inset",        L"pos",          L"width",
        L"height",          L"font",          L"normalimage"};
    const wchar_t* const values[] = {L"",
                                     L"#",
                                     L"-99999999999",
                                     L"1,",
                                     L",,,",
                                     L"file='missing.png' dest='9,9'",
                                     L"\x4E2D\xFFFF",
                                     L"true",
                                     L"2147483647,2147483647,-2147483648,-2147483648",
                                     nullptr};
    CListUI* list = Build(L"<List/>");
    EXPECT_FALSE(list->SelectItem(0));
    Press(VK_DOWN);
    list->SetFocus();
    for (WORD key : {VK_DOWN, VK_UP, VK_HOME, VK_END, VK_RETURN, VK_NEXT}) {
        Press(key);
    }
    MoveTo(CenterPoint(kPlace));
    Wheel(-WHEEL_DELTA);
    PumpFor(60);
    list->EnsureVisible(5);
    EXPECT_FALSE(list->RemoveAt(0));
    EXPECT_FALSE(list->ExpandItem(0));
    EXPECT_EQ(-1, list->GetCurSel());

    auto* header = new CListHeaderUI();
    auto* item = new CListHeaderItemUI();
    header->Add(item);
    list->Add(header);
    std::vector<CControlUI*> controls = {list, header, item};
    for (CControlUI* row : {static_cast<CControlUI*>(new CListLabelElementUI()),
                            static_cast<CControlUI*>(new CListTextElementUI()),
                            static_cast<CControlUI*>(new CListContainerElementUI())}) {
        list->Add(row);
        controls.push_back(row);
    }
    for (CControlUI* control : controls) {
        for (const wchar_t* name : names) {
            for (const wchar_t* value : values) {
                control->ApplyAttribute(name, value);
            }
        }
    }
    Repaint();
    Press(VK_END);
    PumpFor(60);
    SUCCEED();
}

struct AlignCase {
    const wchar_t* value;
    UINT style; // from DT_VCENTER
};

TEST_F(ListTest, ItemAlignLastMatchingWordWins) {
    const AlignCase cases[] = {{L"center", DT_VCENTER | DT_CENTER},
                               {L"right", DT_VCENTER | DT_RIGHT},
                               {L"left right", DT_VCENTER | DT_RIGHT},
                               {L"right center", DT_VCENTER | DT_RIGHT},
                               {L"nowhere", DT_VCENTER}};
    for (const AlignCase& c : cases) {
        CListUI list;
        list.ApplyAttribute(L"itemalign", c.value);
        EXPECT_EQ(c.style, list.GetListLook()->uTextStyle) << c.value;
    }
}

} // namespace
