#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/controls/LayoutSplitter.h"

namespace SkinUI {

// Places its visible children left to right inside its inner rectangle:
// children with a fixed (measured) width keep it, the others share what is
// left. Optionally a splitter band at its left or right edge ("sepwidth")
// lets the user drag its width.
class CHorizontalLayoutUI : public CContainerUI {
public:
    CHorizontalLayoutUI();
    ~CHorizontalLayoutUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintOverlay(HDC hDC, const RECT& rcPaint) override;

    // > 0: band at the right edge, < 0: at the left edge, 0: no splitter.
    void SetSepWidth(int width);
    int GetSepWidth() const;
    // Immediate mode resizes the layout while dragging instead of previewing.
    void SetSepImmMode(bool immediate);
    bool IsSepImmMode() const;
    // The separator band; with useNewPos, where the drag has moved it so far.
    RECT GetThumbRect(bool useNewPos = false) const;

protected:
    CLayoutSplitter m_splitter;
};

} // namespace SkinUI
