#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/UIPtrArray.h"
#include "ui/UIRect.h"

namespace SkinUI {

class CScrollBarUI;

// The child list of a container, for code that doesn't know the container's
// class (the skin builder, lists, combos, the application). Reached through
// QueryInterfaceByName(L"IContainer").
class IContainerUI {
public:
    virtual CControlUI* GetItemAt(int index) const = 0;
    virtual int GetItemIndex(CControlUI* control) const = 0;
    virtual bool SetItemIndex(CControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

// A control that owns child controls: it keeps them in order, attaches them
// to its manager, passes its visibility down, stacks them inside its inset
// (the layouts derive from it and arrange them instead), places floating
// children, scrolls them with optional scroll bars, searches them and paints
// them clipped to itself.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    // IContainerUI.
    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    // False, leaving the child where it was, when the control is not a child
    // or the index is not that of a child.
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    // Removes through this class's own Remove, whatever a derived class does.
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    // CControlUI.
    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init = true) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetVisibleByParent(bool visible) override;
    void SetMouseEnabled(bool enable = true) override;
    CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

    // Virtual operations of containers, after those of CControlUI.
    virtual RECT GetInset() const;
    virtual void SetInset(RECT rcInset);
    virtual int GetChildPadding() const;
    virtual void SetChildPadding(int padding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool autoDestroy);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool delayed);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enable = true);
    // The next visible, enabled list item from index (clamped) in a direction;
    // -1 when there is none.
    virtual int FindSelectable(int index, bool forward = true) const;
    // cx horizontal, cy vertical; an absent or hidden bar counts 0.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE szPos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    virtual void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;
    // Places a visible floating child by its fixed offset and size (and its
    // relative rules) against the item rectangle.
    virtual void PlaceFloatingChild(int index);
    // Layouts call it at the end of their SetPos with the inner rectangle
    // they used (inset and visible bars taken off) and the content's size.
    virtual void UpdateScrollBars(RECT rcInner, int cxRequired, int cyRequired);

    // The item rectangle less the inset.
    RECT GetInsetRect() const;
    // The item rectangle less the inset and the visible scroll bars.
    RECT GetInnerRect() const;

protected:
    // The container's own traversals (attaching, visibility, layout, search,
    // painting) walk these children directly, not through the IContainerUI
    // getters, which a derived class may route elsewhere (a list routes them
    // to its body).
    CUIPtrArray m_items;
    CUIRect m_rcInset;
    int m_iChildPadding;
    bool m_bAutoDestroy;
    bool m_bDelayedDestroy;
    bool m_bMouseChildEnabled;
    bool m_bScrollProcess;
    CScrollBarUI* m_pVerticalScrollBar;
    CScrollBarUI* m_pHorizontalScrollBar;

    // Paints the visible children that meet rcPaint: ordinary ones clipped to
    // the inner rectangle, floating ones only to the item rectangle.
    void PaintChildren(HDC hDC, const RECT& rcPaint);

private:
    bool InsertChild(CControlUI* control, int index);
    void DisposeChild(CControlUI* control);
    CScrollBarUI* CreateScrollBar(bool horizontal);
    void DeleteScrollBar(CScrollBarUI*& bar);
    bool IsActiveBar(const CScrollBarUI* bar) const;
    int VerticalLineStep() const;
};

} // namespace SkinUI
