// Skins that end a build level early, and skins that repeat their fonts, under the checking
// allocator: what a build makes, the manager's destruction frees, and the fonts a manager holds
// stay few.
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/DialogBuilder.h"
#include "ui/WindowManagerUI.h"

#include "tests/support/CheckingAllocator.h"
#include "tests/support/FileUtil.h"
#include "tests/support/TempDir.h"
#include "tests/ui/support/LiveFontCounter.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

namespace {

// Skin files of the resource folder, for includes and child layouts.
class SkinFolder {
public:
    SkinFolder() {
        TestSupport::WriteFileBytes(dir_ / L"root_tree.xml",
                                    "<Part><HorizontalLayout><Label text=\"x\"/></HorizontalLayout>"
                                    "<TreeNode/></Part>");
        TestSupport::WriteFileBytes(dir_ / L"fonts.xml",
                                    "<Part><Font name=\"DejaVu Sans\" size=\"13\"/>"
                                    "<Font name=\"no such face\" size=\"9\" italic=\"true\"/>"
                                    "<Label font=\"0\"/></Part>");
        CWindowManagerUI::SetResourcePath((dir_.Path() + L"\\").c_str());
    }

private:
    TestSupport::TempDir dir_{L"skins"};
};

// Builds the skin into a manager of its own, which goes with what was built.
bool BuildAndDestroy(const wchar_t* skin) {
    CWindowManagerUI manager;
    CDialogBuilder builder;
    CControlUI* const root = builder.Create(skin, nullptr, nullptr, &manager);
    if (root != nullptr) {
        manager.AttachRootControl(root);
    }
    return root != nullptr;
}

} // namespace

// A tree node at a level without parent ends that level with no result: the controls the level
// built before it are deleted, not dropped.
TEST(BuilderLeaks, LevelEndedByATreeNodeLeavesNoLiveBlock) {
    const SkinFolder folder;
    const struct {
        const wchar_t* skin;
        bool built;
    } cases[] = {
        {L"<Window><Control/><TreeNode/></Window>", false},
        {L"<Window><VerticalLayout><Label text=\"a\"/><Button/></VerticalLayout><Label/>"
         L"<TreeNode/></Window>",
         false},
        {L"<Window><Include source=\"root_tree.xml\"/></Window>", false},
        {L"<Window><VerticalLayout><ChildLayout xmlfile=\"root_tree.xml\"/></VerticalLayout>"
         L"</Window>",
         true},
        {L"<Window><TreeView><TreeNode><TreeNode/></TreeNode></TreeView></Window>", true},
        {L"<Window><VerticalLayout><Label text=\"a\"/></VerticalLayout></Window>", true},
    };
    for (const auto& c : cases) {
        BuildAndDestroy(c.skin); // first use of process-wide caches
        const long before = TestSupport::LiveCheckedBlocks();
        EXPECT_EQ(BuildAndDestroy(c.skin), c.built) << c.skin;
        EXPECT_EQ(TestSupport::LiveCheckedBlocks(), before) << c.skin;
    }
}

// An include repeated until the build budget is spent used to add two fonts per repetition.
// The fonts past the bound are refused before they are made: the fonts alive are the ones held.
TEST(BuilderLeaks, RepeatedIncludeAddsABoundedNumberOfFonts) {
    const int cap = CWindowManagerUI::MAX_CUSTOM_FONTS;
    const SkinFolder folder;
    const TestSupport::LiveFontCounter fonts;
    ASSERT_TRUE(fonts.Counting());
    {
        CWindowManagerUI manager;
        const int own = fonts.Live(); // the default font
        CDialogBuilder builder;
        CControlUI* const root =
            builder.Create(L"<Window><Font name=\"DejaVu Sans\" size=\"12\"/>"
                           L"<Font name=\"DejaVu Sans\" size=\"14\" bold=\"true\"/><VerticalLayout>"
                           L"<Include source=\"fonts.xml\" count=\"99999999999\"/></VerticalLayout>"
                           L"</Window>",
                           nullptr, nullptr, &manager);
        ASSERT_NE(root, nullptr);
        manager.AttachRootControl(root);
        // The skin's own fonts keep their numbers; the last number of the bound is a font too.
        EXPECT_EQ(manager.GetFontInfo(0)->iSize, 12);
        EXPECT_TRUE(manager.GetFontInfo(1)->bBold);
        EXPECT_EQ(manager.GetFontInfo(2)->iSize, 13);
        EXPECT_NE(manager.GetFontInfo(cap - 1), manager.GetDefaultFontInfo());
        EXPECT_EQ(fonts.Live(), own + cap);
        // Past the bound nothing is added, and the index falls back to the default font.
        EXPECT_EQ(manager.AddFont(L"DejaVu Sans", 20, false, false, false), nullptr);
        EXPECT_EQ(manager.GetFont(cap), manager.GetDefaultFontInfo()->hFont);
        EXPECT_EQ(fonts.Live(), own + cap);
    }
    EXPECT_EQ(fonts.Live(), 0);
}
