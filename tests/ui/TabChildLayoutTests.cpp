#include <windows.h>

#include "ui/controls/ChildLayoutUI.h"
#include "ui/controls/TabLayoutUI.h"

#include "tests/ui/LayoutTestTree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace SkinBuildTest;
using SkinUI::CChildLayoutUI;
using SkinUI::CContainerUI;
using SkinUI::CTabLayoutUI;
using SkinUI::TNoticeUI;

namespace {

class Notices : public SkinUI::INotifyUI {
public:
    void Notify(TNoticeUI& msg) override {
        if (msg.sType == L"tabselect") {
            tabs.push_back(
                {msg.pSender, static_cast<int>(msg.wParam), static_cast<int>(msg.lParam)});
        }
    }
    struct Tab {
        CControlUI* sender;
        int selected;
        int old;
    };
    std::vector<Tab> tabs;
};

const wchar_t* const kThreeTabs = LR"(<TabLayout name="tab" inset="10,10,10,10">
  <Control name="t0"/><Control name="t1" padding="5,5,5,5"/><Control name="t2" width="50"/>
</TabLayout>)";

// ---- Tab layout ---------------------------------------------------------------------

TEST(TabLayout, FirstVisibleChildIsSelectedAndTheOthersHidden) {
    BuiltTree t(kThreeTabs, RECT{0, 0, 200, 100});
    auto* tab = t.As<CTabLayoutUI>(L"tab");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(t[L"t0"]->IsVisible());
    EXPECT_FALSE(t[L"t1"]->IsVisible());
    EXPECT_FALSE(t[L"t2"]->IsVisible());
    EXPECT_EQ(t.Pos(L"t0"), L"10,10,190,90");
}

TEST(TabLayout, SelectedIdFromTheSkinLaysOutOnlyThatChildInsideItsMargins) {
    BuiltTree t(LR"(<TabLayout name="tab" inset="10,10,10,10" selectedid="1">
                     <Control name="t0"/><Control name="t1" padding="5,5,5,5"/>
                     <Control name="t2" width="50"/></TabLayout>)",
                RECT{0, 0, 200, 100});
    auto* tab = t.As<CTabLayoutUI>(L"tab");
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_FALSE(t[L"t0"]->IsVisible());
    EXPECT_TRUE(t[L"t1"]->IsVisible());
    EXPECT_EQ(t.Pos(L"t1"), L"15,15,185,85");
    // Children other than the selection are not moved.
    EXPECT_EQ(t.Pos(L"t0"), L"0,0,0,0");
    EXPECT_EQ(t.Pos(L"t2"), L"0,0,0,0");
}

TEST(TabLayout, SelectItemShowsFocusesLaysOutAndTells) {
    BuiltTree t(kThreeTabs, RECT{0, 0, 200, 100});
    auto* tab = t.As<CTabLayoutUI>(L"tab");
    ASSERT_NE(tab, nullptr);
    Notices notices;
    t.Manager().AddNotifyListener(&notices);

    EXPECT_FALSE(tab->SelectItem(-1));
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_TRUE(tab->SelectItem(0));
    EXPECT_TRUE(notices.tabs.empty());

    ASSERT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_FALSE(t[L"t0"]->IsVisible());
    EXPECT_TRUE(t[L"t2"]->IsVisible());
    EXPECT_EQ(t.Pos(L"t2"), L"10,10,60,90");
    EXPECT_EQ(t.Manager().GetFocus(), t[L"t2"]);
    ASSERT_EQ(notices.tabs.size(), 1u);
    EXPECT_EQ(notices.tabs[0].sender, tab);
    EXPECT_EQ(notices.tabs[0].selected, 2);
    EXPECT_EQ(notices.tabs[0].old, 0);
    t.Manager().RemoveNotifyListener(&notices);
}

TEST(TabLayout, RemovalsAndInsertionsKeepPointingAtTheSameChild) {
    BuiltTree t(kThreeTabs, RECT{0, 0, 200, 100});
    auto* tab = t.As<CTabLayoutUI>(L"tab");
    ASSERT_NE(tab, nullptr);
    tab->SetDelayedDestroy(false);
    ASSERT_TRUE(tab->SelectItem(1));
    CControlUI* t1 = t[L"t1"];

    // Inserting before the selection moves it along; the new child hides.
    auto* early = new CControlUI();
    ASSERT_TRUE(tab->AddAt(early, 0));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_EQ(tab->GetItemAt(2), t1);
    EXPECT_FALSE(early->IsVisible());

    // Removing before the selection moves it back.
    ASSERT_TRUE(tab->Remove(early));
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_EQ(tab->GetItemAt(1), t1);

    // Removing the selected child selects child 0 and shows it.
    ASSERT_TRUE(tab->Remove(t1));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(tab->GetItemAt(0)->IsVisible());

    EXPECT_FALSE(tab->Remove(nullptr));

    // RemoveAt goes through the container's own removal: the selection index
    // is not adjusted.
    ASSERT_EQ(tab->GetCount(), 2);
    ASSERT_TRUE(tab->SelectItem(1));
    ASSERT_TRUE(tab->RemoveAt(0));
    EXPECT_EQ(tab->GetCurSel(), 1);

    tab->RemoveAll();
    EXPECT_EQ(tab->GetCurSel(), -1);
    EXPECT_EQ(tab->GetCount(), 0);

    // The next visible child becomes the selection again.
    auto* again = new CControlUI();
    ASSERT_TRUE(tab->Add(again));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(again->IsVisible());
}

// ---- Child layout -------------------------------------------------------------------

TEST(ChildLayout, BuildsItsFileWhenAttachedAndTheTreeFillsIt) {
    BuiltTree t(LR"(<VerticalLayout><Control name="top" height="10"/>
                   <ChildLayout name="cl" xmlfile="page.xml" inset="2,2,2,2"/></VerticalLayout>)",
                RECT{0, 0, 200, 300});
    auto* cl = t.As<CChildLayoutUI>(L"cl");
    ASSERT_NE(cl, nullptr);
    EXPECT_EQ(cl->GetChildLayoutXML(), L"page.xml");
    ASSERT_EQ(cl->GetCount(), 1);
    EXPECT_EQ(cl->GetItemAt(0)->GetName(), L"pageRoot");
    EXPECT_EQ(cl->GetItemAt(0)->GetParent(), cl);
    // The page's names are known to the window.
    EXPECT_EQ(t.Manager().FindControl(L"pageLabel"), t[L"pageLabel"]);
    EXPECT_EQ(t.Pos(L"cl"), L"0,10,200,300");
    EXPECT_EQ(t.Pos(L"pageRoot"), L"2,12,198,298");
    EXPECT_EQ(t.Pos(L"pageLabel"), L"2,12,198,32");
    EXPECT_EQ(t.Pos(L"pageFill"), L"2,32,198,298");
}

// Tags nested in the skin are not its children: it is no "IContainer" to
// the builder, and only the tree of its file shows.
TEST(ChildLayout, NestedSkinTagsAreNotItsChildren) {
    BuiltTree t(LR"(<VerticalLayout><ChildLayout name="cl" xmlfile="page.xml">
                     <Button name="nested"/><Label name="nested2"/></ChildLayout></VerticalLayout>)");
    auto* cl = t.As<CChildLayoutUI>(L"cl");
    ASSERT_NE(cl, nullptr);
    EXPECT_EQ(Find(t.Root(), L"nested"), nullptr);
    EXPECT_EQ(Find(t.Root(), L"nested2"), nullptr);
    ASSERT_EQ(cl->GetCount(), 1);
    EXPECT_EQ(cl->GetItemAt(0)->GetName(), L"pageRoot");
    EXPECT_EQ(cl->QueryInterfaceByName(L"IContainer"), nullptr);
}

TEST(ChildLayout, IncludesInsideTheChildFileBuild) {
    BuiltTree t(LR"(<VerticalLayout><ChildLayout name="cl" xmlfile="child_include.xml"/>
                   </VerticalLayout>)");
    auto* cl = t.As<CChildLayoutUI>(L"cl");
    ASSERT_NE(cl, nullptr);
    ASSERT_EQ(cl->GetCount(), 1);
    auto* page = dynamic_cast<CContainerUI*>(cl->GetItemAt(0));
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->GetCount(), 2);
    EXPECT_EQ(page->GetItemAt(0)->GetName(), L"row");
    EXPECT_EQ(page->GetItemAt(1)->GetName(), L"row");
}

// A page that contains itself stops at the nesting limit: a finite tree,
// no stack overflow.
TEST(ChildLayout, FileThatContainsItselfStopsAtTheNestingLimit) {
    BuiltTree t(LR"(<VerticalLayout><ChildLayout name="cl" xmlfile="child_self.xml"/>
                   </VerticalLayout>)",
                RECT{0, 0, 400, 4000});
    auto* cl = t.As<CChildLayoutUI>(L"cl");
    ASSERT_NE(cl, nullptr);
    ASSERT_EQ(cl->GetCount(), 1);
    int pages = 0;
    for (CControlUI* at = t.Root(); at != nullptr;) {
        CControlUI* next = nullptr;
        if (at->GetName() == L"selfPage") {
            ++pages;
        }
        if (auto* container = dynamic_cast<CContainerUI*>(at)) {
            for (int i = 0; i < container->GetCount(); ++i) {
                if (dynamic_cast<CContainerUI*>(container->GetItemAt(i)) != nullptr) {
                    next = container->GetItemAt(i);
                }
            }
        }
        at = next;
    }
    EXPECT_GE(pages, 2);
    EXPECT_LE(pages, 10);

    BuiltTree pair(LR"(<VerticalLayout><ChildLayout name="cl" xmlfile="child_a.xml"/>
                      </VerticalLayout>)");
    EXPECT_GT(TreeDepth(pair.Root()), 4);
    EXPECT_LT(TreeDepth(pair.Root()), 40);

    // Two self-references per page: without a bound the tree would double
    // at every level.
    BuiltTree doubled(LR"(<VerticalLayout><ChildLayout name="cl" xmlfile="child_double.xml"/>
                         </VerticalLayout>)");
    EXPECT_GT(CountControls(doubled.Root()), 10);
    EXPECT_LT(CountControls(doubled.Root()), 40000);
}

} // namespace
