// The rich edit over a stand-in engine that hides the vertical scroll bar
// whenever the view narrows, as an engine may while it lays the text out
// again: the bar must stay while the text is taller than the view.
#include <windows.h>

#include "tests/support/Process.h"
#include "tests/ui/RichEditDesktop.h"
#include "ui/controls/TextHost.h"

using namespace RichEditTest;

namespace {

const RECT kEditRect = {40, 40, 340, 160};

using HideBarBelowWidth = void(WINAPI*)(LONG);

// Loaded before any rich edit starts its engine, so that the rich edits'
// own load by name finds it.
HideBarBelowWidth StandInEngine() {
    static const HideBarBelowWidth hide = [] {
        const HMODULE module =
            ::LoadLibraryW(TestSupport::WinePathOf(UNINST_TEXT_ENGINE_STANDIN).c_str());
        return module == nullptr ? nullptr
                                 : reinterpret_cast<HideBarBelowWidth>(reinterpret_cast<void*>(
                                       ::GetProcAddress(module, "HideVerticalBarBelowWidth")));
    }();
    return hide;
}

// Reads the fixing flag and counts the control's paints.
class FixingProbe : public CRichEditUI {
public:
    bool Fixing() const { return m_bVScrollBarFixing; }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        ++paints;
        CRichEditUI::Paint(hDC, rcPaint);
    }
    int paints = 0;
};

// Paints of the control while the window is left alone.
int PaintsAtRest(FixingProbe* edit) {
    Settle();
    edit->paints = 0;
    PumpFor(300);
    return edit->paints;
}

} // namespace

TEST(RichEditFixing, TheBarStaysWhileTheTextIsTallerThanTheView) {
    const HideBarBelowWidth hide = StandInEngine();
    ASSERT_NE(nullptr, hide);
    auto* edit = NewRichEdit<FixingProbe>(kEditRect, L"vscrollbar=\"true\" autovscroll=\"true\"");
    NewRoot({edit});
    edit->SetText(Lines(60).c_str());
    Settle();
    ASSERT_TRUE(VerticalShown(edit));
    EXPECT_FALSE(edit->Fixing());
    const int barWidth = edit->GetVerticalScrollBar()->GetFixedWidth();

    // From now on every view narrower than the control loses the bar.
    hide(kEditRect.right - kEditRect.left);
    edit->SetScrollPos(SIZE{0, 40});
    edit->MarkNeedsUpdate();
    Settle();
    EXPECT_TRUE(VerticalShown(edit));
    EXPECT_TRUE(edit->Fixing());
    EXPECT_EQ(0, VerticalPos(edit));
    EXPECT_EQ(kEditRect.right - barWidth, edit->GetTextHost()->GetControlRect().right);
    EXPECT_EQ(kEditRect.right - barWidth, edit->GetVerticalScrollBar()->GetPos().left);
    EXPECT_EQ(0, PaintsAtRest(edit));

    // Text that fits ends the rule: the bar goes, the view takes the whole
    // width, and the window comes to rest.
    edit->SetText(L"short");
    Settle();
    EXPECT_FALSE(VerticalShown(edit));
    EXPECT_FALSE(edit->Fixing());
    EXPECT_EQ(kEditRect.right, edit->GetTextHost()->GetControlRect().right);
    EXPECT_EQ(0, PaintsAtRest(edit));
    hide(0);
}
