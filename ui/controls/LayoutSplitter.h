#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/UIRect.h"

namespace SkinUI {

// The splitter of a vertical or horizontal layout: a band at one edge of the
// layout that the user drags to resize it. A positive size puts the band at
// the bottom (right) edge, a negative one at the top (left) edge, 0 switches
// the splitter off. Without immediate mode the layout keeps its size while
// dragging and a translucent bar previews the new edge; the layout is in its
// manager's post-paint list exactly while such a preview shows.
class CLayoutSplitter {
public:
    explicit CLayoutSplitter(bool vertical);

    int GetSize() const { return m_iSepSize; }
    void SetSize(int size) { m_iSepSize = size; }
    bool IsImmediate() const { return m_bImmMode; }
    void SetImmediate(CControlUI& layout, bool immediate);
    bool IsDragging() const;

    // The band against the item rectangle, or against the rectangle the drag
    // has moved so far when useNewPos is set and a drag is in progress.
    RECT GetThumbRect(const RECT& rcItem, bool useNewPos) const;

    // The splitter's part of the layout's event handling; false when the
    // event is not the splitter's (the container handles it then). rcItem is
    // the layout's own item rectangle, which immediate mode moves.
    bool HandleEvent(CControlUI& layout, RECT& rcItem, const TInputEventUI& event);

    // The preview bar, while a drag without immediate mode is in progress.
    void PaintOverlay(HDC hDC, const RECT& rcItem) const;

    // The layout is going: it must not stay in its manager's post-paint list.
    void Abandon(CControlUI& layout);

private:
    enum : UINT { kDragging = 0x40 };

    bool BeginDrag(CControlUI& layout, const RECT& rcItem, POINT pt);
    void EndDrag(CControlUI& layout, RECT& rcItem);
    void Drag(CControlUI& layout, RECT& rcItem, POINT pt);
    // The dragged rectangle after a move of delta; false when the move is
    // ignored.
    bool MovedRect(CControlUI& layout, POINT pt, int delta, RECT& moved) const;
    bool ShowsPreview() const;

    bool m_bVertical;
    int m_iSepSize;
    UINT m_uButtonState;
    CUIPoint m_ptLastMouse;
    CUIRect m_rcNewPos;
    bool m_bImmMode;
};

} // namespace SkinUI
