#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/controls/LayoutSplitter.h"

namespace SkinUI {

// Stacks its visible children top to bottom inside its inner rectangle:
// children with a fixed (measured) height keep it, the others share what is
// left. Optionally a splitter band at its top or bottom edge ("sepheight")
// lets the user drag its height.
class CVerticalLayoutUI : public CContainerUI {
public:
    CVerticalLayoutUI();
    ~CVerticalLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintOverlay(HDC hDC, const RECT& rcPaint) override;

    // > 0: band at the bottom edge, < 0: at the top edge, 0: no splitter.
    void SetSepHeight(int height);
    int GetSepHeight() const;
    // Immediate mode resizes the layout while dragging instead of previewing.
    void SetSepImmMode(bool immediate);
    bool IsSepImmMode() const;
    // The separator band; with useNewPos, where the drag has moved it so far.
    RECT GetThumbRect(bool useNewPos = false) const;

protected:
    CLayoutSplitter m_splitter;
};

} // namespace SkinUI
