#include <windows.h>

#include "ui/DialogBuilder.h"
#include "ui/controls/CheckBoxUI.h"
#include "ui/controls/LabelUI.h"
#include "ui/controls/ListHeaderUI.h"
#include "ui/controls/ListLabelElementUI.h"
#include "ui/controls/TreeNodeUI.h"
#include "ui/controls/TreeViewUI.h"

#include "tests/ui/ControlsDesktop.h"

#include <gtest/gtest.h>

#include <string>

using namespace ControlsTest;
using namespace SkinUI;

namespace {

constexpr uint32_t kExpanded = 0x00C000, kCollapsed = 0xC00000;

// a(b(c), d) e: rows a b c d e.
const wchar_t kSkin[] = LR"(<Window><TreeView name="tree" bkcolor="#FFFFFFFF">
    <TreeNode name="a" text="a" folderattr="bkcolor=&quot;#FF00C000&quot; selectedbkcolor=&quot;#FFC00000&quot;">
      <TreeNode name="b" text="b"><TreeNode name="c" text="c"/></TreeNode>
      <TreeNode name="d" text="d"/>
    </TreeNode>
    <TreeNode name="e" text="e"/></TreeView></Window>)";

class TreeViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = &Host();
        root_ = new HostBox();
        CDialogBuilder builder;
        CControlUI* control = builder.Create(kSkin, nullptr, nullptr, &host_->pm);
        ASSERT_NE(control, nullptr);
        tree_ = static_cast<CTreeViewUI*>(control->QueryInterfaceByName(L"TreeView"));
        root_->Add(control, RECT{20, 20, 320, 320});
        host_->pm.AddNotifyListener(&log_);
        ASSERT_TRUE(host_->pm.AttachRootControl(root_));
        Repaint();
    }
    void TearDown() override {
        host_->pm.RemoveNotifyListener(&log_);
        MoveScreen(5, 5);
        Pump();
    }
    void Repaint() {
        ::InvalidateRect(*host_, nullptr, FALSE);
        ::UpdateWindow(*host_);
        Pump();
    }
    CTreeNodeUI* Node(LPCWSTR name) { return AsTreeNode(host_->pm.FindControl(name)); }
    // The rows by item text, hidden ones in brackets.
    std::wstring Rows() {
        std::wstring rows;
        for (int i = 0; i < tree_->GetCount(); ++i) {
            CTreeNodeUI* node = AsTreeNode(tree_->GetItemAt(i));
            const std::wstring text = node != nullptr ? node->GetItemText().GetData() : L"?";
            rows += node != nullptr && !node->IsVisible() ? L"[" + text + L"]" : text;
        }
        return rows;
    }
    void Click(const RECT& rc, bool twice = false) {
        MoveTo(CenterPoint(rc));
        for (int i = 0; i < (twice ? 2 : 1); ++i) {
            SendMouse(MOUSEEVENTF_LEFTDOWN);
            SendMouse(MOUSEEVENTF_LEFTUP);
        }
        PumpFor(twice ? 40 : ::GetDoubleClickTime() + 60);
    }

    HostWnd* host_ = nullptr;
    HostBox* root_ = nullptr;
    CTreeViewUI* tree_ = nullptr;
    NoticeLog log_;
};

TEST_F(TreeViewTest, SkinBuildsRowsDepthFirstWithTheirIndent) {
    EXPECT_EQ(Rows(), L"abcde");
    EXPECT_FALSE(tree_->GetHeader()->IsVisible());
    const struct {
        LPCWSTR node;
        int indent;
        bool shown;
    } cases[] = {{L"a", 2, false}, {L"b", 18, true}, {L"c", 34, true}, {L"e", 2, false}};
    for (const auto& c : cases) {
        CLabelUI* line = Node(c.node)->GetDottedLine();
        EXPECT_EQ(line->GetFixedWidth(), c.indent) << c.node;
        EXPECT_EQ(line->IsVisible(), c.shown) << c.node;
        // The folder button stands right after the indent.
        EXPECT_EQ(Node(c.node)->GetFolderButton()->GetPos().left - Node(c.node)->GetPos().left,
                  c.shown ? c.indent : 0)
            << c.node;
    }
    EXPECT_EQ(Node(L"c")->GetParentNode(), Node(L"b"));
    EXPECT_EQ(Node(L"c")->GetTreeView(), tree_);
}

TEST_F(TreeViewTest, FolderButtonAndDoubleClickCollapseAndExpand) {
    CCheckBoxUI* folder = Node(L"a")->GetFolderButton();
    const POINT pt = CenterPoint(folder->GetPos());
    EXPECT_EQ(Capture(*host_)->Rgb(pt.x, pt.y), kExpanded);
    Click(folder->GetPos());
    EXPECT_EQ(Rows(), L"a[b][c][d]e");
    Repaint();
    EXPECT_EQ(Capture(*host_)->Rgb(pt.x, pt.y), kCollapsed);

    // b collapsed while a is: expanding a shows b and d, not c.
    Node(L"b")->GetFolderButton()->Select(true);
    Click(folder->GetPos());
    EXPECT_EQ(Rows(), L"ab[c]de");

    // A double click toggles the folder once and tells the window.
    Click(Node(L"b")->GetItemButton()->GetPos(), true);
    EXPECT_EQ(Rows(), L"abcde");
    EXPECT_EQ(log_.Count(L"itemdbclick"), 1);
}

TEST_F(TreeViewTest, CheckBoxesShowOnRequestAndCascade) {
    tree_->ApplyAttribute(L"visiblecheckbtn", L"true");
    Repaint();
    for (LPCWSTR name : {L"a", L"c", L"e"}) {
        EXPECT_TRUE(Node(name)->GetCheckBox()->IsVisible()) << name;
    }
    Click(Node(L"a")->GetCheckBox()->GetPos());
    for (LPCWSTR name : {L"a", L"b", L"c", L"d"}) {
        EXPECT_TRUE(Node(name)->GetCheckBox()->IsSelected()) << name;
    }
    EXPECT_FALSE(Node(L"e")->GetCheckBox()->IsSelected());
}

TEST_F(TreeViewTest, NodesJoinAndLeaveAtAnyDepth) {
    // A node with two children inserted at a row takes three rows.
    auto* f = new CTreeNodeUI;
    f->ApplyAttribute(L"text", L"f");
    for (LPCWSTR text : {L"g", L"h"}) {
        auto* child = new CTreeNodeUI;
        child->ApplyAttribute(L"text", text);
        f->Add(child);
    }
    EXPECT_EQ(tree_->AddAt(f, 1), 4);
    EXPECT_EQ(Rows(), L"afghbcde");
    // Every node of the inserted subtree is linked: a child added later to
    // a grandchild becomes a row at once, right after it.
    auto* i = new CTreeNodeUI;
    i->ApplyAttribute(L"text", L"i");
    ASSERT_TRUE(f->GetChildNode(1)->Add(i));
    EXPECT_EQ(Rows(), L"afghibcde");
    // A child of the node whose subtree ends the view is the last row.
    auto* j = new CTreeNodeUI;
    j->ApplyAttribute(L"text", L"j");
    ASSERT_TRUE(Node(L"e")->Add(j));
    EXPECT_EQ(Rows(), L"afghibcdej");

    // Removing through the view takes the subtree and leaves the parent's list.
    EXPECT_TRUE(tree_->Remove(Node(L"b")));
    EXPECT_EQ(Rows(), L"afghidej");
    EXPECT_EQ(Node(L"a")->GetCountChild(), 1);
    EXPECT_TRUE(tree_->Remove(f));
    EXPECT_EQ(Rows(), L"adej");
    EXPECT_FALSE(Node(L"a")->Remove(Node(L"e")));
    // Rows that hold no node are refused; foreign controls are never added.
    tree_->CListUI::Add(new CListLabelElementUI);
    EXPECT_FALSE(tree_->RemoveAt(tree_->GetCount() - 1));
    CListLabelElementUI foreign;
    CTreeNodeUI outside;
    EXPECT_EQ(tree_->AddAt(reinterpret_cast<CTreeNodeUI*>(&foreign), 0), -1);
    EXPECT_EQ(tree_->AddAt(&outside, 99), -1);
}

TEST_F(TreeViewTest, DamagedAttributesNeverCrash) {
    const LPCWSTR values[] = {L"", L"#", L"-1", L"99999999999", L"true\"", L"&", L"a=\"", L"a=\"b"};
    const LPCWSTR names[] = {L"itemminwidth", L"itemtextcolor", L"visiblefolderbtn",
                             L"folderattr",   L"itemattr",      L"horizattr",
                             L"text"};
    for (LPCWSTR name : names) {
        for (LPCWSTR value : values) {
            tree_->ApplyAttribute(name, value);
            Node(L"c")->ApplyAttribute(name, value);
        }
    }
    Repaint();
    EXPECT_EQ(tree_->GetCount(), 5);
}

} // namespace
