#pragma once
#include <windows.h>

#include "ui/controls/VerticalLayoutUI.h"

namespace SkinUI {

class CListUI;

// The scrolling part of a list, in which its items stand one under the
// other. Its rows are as wide as the list's header (or, without header
// items, as the widest row), and sideways scrolling moves the header's
// columns with them. Every event goes to the owner list.
class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner);
    ~CListBodyUI() override;

    void SetPos(RECT rc) override;
    void HandleEvent(TInputEventUI& event) override;
    void SetScrollPos(SIZE szPos) override;

private:
    // The width the rows need: the header's, else the widest row's.
    long long NeededWidth(const RECT& rcInner);
    // Shows the horizontal bar with the overhang as its range when the rows
    // are wider than the body, hides it otherwise.
    void FitHorizontalBar(long long needed);

    CListUI* m_pOwner;
};

} // namespace SkinUI
