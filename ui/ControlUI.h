#pragma once
#include <windows.h>

#include "ui/DelegateListUI.h"
#include "ui/UIRect.h"
#include "ui/UIString.h"
#include "ui/UIEventTypes.h"

namespace SkinUI {

class CControlUI;
class CWindowManagerUI;

// The test operation of CControlUI::FindControl: a control that matches, or
// null to go on searching.
typedef CControlUI*(CALLBACK* FINDCONTROLPROC)(CControlUI* control, LPVOID data);

// How a floating control follows its parent's size.
struct TRelativePosUI {
    bool bRelative;
    SIZE szParent;
    int nMoveXPercent;
    int nMoveYPercent;
    int nZoomXPercent;
    int nZoomYPercent;
};

// Base of every element of the retained control tree. The window manager
// of the control's window owns the tree, delivers events to it and asks it
// to paint; a control has no native window of its own.
class CControlUI {
public:
    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    // Virtual operations: derived classes keep this order and append theirs.
    virtual ~CControlUI();
    virtual CUIString GetName() const;
    virtual void SetName(LPCWSTR name);
    virtual LPCWSTR GetClass() const;
    virtual LPVOID QueryInterfaceByName(LPCWSTR name);
    virtual UINT GetControlFlags() const;
    virtual bool Activate();
    virtual CWindowManagerUI* GetManager() const;
    virtual void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;
    virtual CUIString GetText() const;
    virtual void SetText(LPCWSTR text);
    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT rcPadding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE szXY);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(int moveXPercent, int moveYPercent, int zoomXPercent,
                                int zoomYPercent);
    virtual void SetRelativeParentSize(SIZE szParent);
    virtual TRelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;
    virtual CUIString GetToolTip() const;
    virtual void SetToolTip(LPCWSTR text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool menuUsed);
    virtual const CUIString& GetUserData() const;
    virtual void SetUserData(LPCWSTR text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);
    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetVisibleByParent(bool visible);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enable = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enable = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enable = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloating() const;
    virtual void SetFloating(bool floating = true);
    // flags: FindControlFlag bits. With UIFIND_HITTEST, data points to a POINT.
    virtual CControlUI* FindControl(FINDCONTROLPROC proc, LPVOID data, UINT flags);
    virtual void Init();
    virtual void InitSelf();
    virtual void DispatchEvent(TInputEventUI& event);
    virtual void HandleEvent(TInputEventUI& event);
    // Skin attributes by name; names a class doesn't know go to its base.
    virtual void ApplyAttribute(LPCWSTR name, LPCWSTR value);
    virtual SIZE MeasureDesiredSize(SIZE szAvailable);
    virtual void Paint(HDC hDC, const RECT& rcPaint);
    virtual void PaintBackgroundColor(HDC hDC);
    virtual void PaintBackgroundImage(HDC hDC);
    virtual void PaintStateImages(HDC hDC);
    virtual void PaintText(HDC hDC);
    virtual void PaintBorderLines(HDC hDC);
    virtual void PaintOverlay(HDC hDC, const RECT& rcPaint);

    // Non-virtual operations.
    void Invalidate();
    void MarkNeedsUpdate();
    void MarkParentNeedsUpdate();
    bool IsUpdateNeeded() const;
    // name="value" pairs separated by one blank, as in the skin's defaults.
    void ApplyAttributeList(LPCWSTR list);
    CUIString GetVirtualWnd() const;
    void SetVirtualWnd(LPCWSTR name);
    bool DrawImage(HDC hDC, LPCWSTR image, LPCWSTR modify = nullptr);
    DWORD GetAdjustedColor(DWORD color) const;

    DWORD GetBkColor() const;
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const;
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const;
    void SetBkColor3(DWORD color);
    LPCWSTR GetBkImage() const;
    void SetBkImage(LPCWSTR image);
    DWORD GetBorderColor() const;
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const;
    void SetFocusBorderColor(DWORD color);
    bool IsColorHSL() const;
    void SetColorHSL(bool colorHSL);
    int GetBorderSize() const;
    void SetBorderSize(int size);
    void SetBorderSizes(int left, int top, int right, int bottom);
    void SetLeftBorderSize(int size);
    void SetTopBorderSize(int size);
    void SetRightBorderSize(int size);
    void SetBottomBorderSize(int size);
    void SetBorderStyle(int style);
    SIZE GetBorderRound() const;
    void SetBorderRound(int cx, int cy);

    CDelegateListUI InitDelegates;
    CDelegateListUI DestroyDelegates;
    CDelegateListUI SizeDelegates;
    CDelegateListUI EventDelegates;
    CDelegateListUI NotifyDelegates;

protected:
    // A control that ignores the mouse hands its mouse events on: IsIgnoredMouseEvent tells
    // such an event, PassEventToParent gives it to the parent (false without one, when the
    // caller's base class takes it instead).
    bool IsIgnoredMouseEvent(const TInputEventUI& event) const;
    bool PassEventToParent(TInputEventUI& event);

    CWindowManagerUI* m_pManager;
    CControlUI* m_pParent;
    CUIString m_sVirtualWnd;
    CUIString m_sName;
    bool m_bUpdateNeeded;
    bool m_bMenuUsed;
    CUIRect m_rcItem;
    CUIRect m_rcPadding;
    CUISize m_cXY;
    CUISize m_cxyFixed;
    CUISize m_cxyMin;
    CUISize m_cxyMax;
    bool m_bVisible;
    bool m_bInternVisible;
    bool m_bEnabled;
    bool m_bMouseEnabled;
    bool m_bKeyboardEnabled;
    bool m_bFocused;
    bool m_bFloat;
    bool m_bSetPos;
    TRelativePosUI m_tRelativePos;
    CUIString m_sText;
    CUIString m_sToolTip;
    wchar_t m_chShortcut;
    CUIString m_sUserData;
    UINT_PTR m_pTag;
    DWORD m_dwBackColor;
    DWORD m_dwBackColor2;
    DWORD m_dwBackColor3;
    CUIString m_sBkImage;
    DWORD m_dwBorderColor;
    DWORD m_dwFocusBorderColor;
    bool m_bColorHSL;
    int m_nBorderSize;
    int m_nBorderStyle;
    int m_nTooltipWidth;
    CUISize m_cxyBorderRound;
    CUIRect m_rcPaint;
    CUIRect m_rcBorderSize;

private:
    void PaintSideLines(HDC hDC, DWORD color);
    void MarkFixedChanged();
    void SetSizeLimit(LONG& field, int value);
};

} // namespace SkinUI
