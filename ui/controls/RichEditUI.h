#pragma once
#include <windows.h>

#include <richedit.h>

#include "ui/ContainerUI.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

class CTxtWinHost;

// The skin's multi-line text entry (tag "RichEdit"): a container with no
// native window of its own, inside which the platform's windowless rich-text
// engine edits, lays out and draws the text. Window messages reach the
// engine through the control's message filter, registered with the manager
// when the control is initialised. Sends the notification "return" when
// Enter is not wanted in the text.
class CRichEditUI : public CContainerUI, public IMessageFilterUI, public IWantTabUI {
public:
    enum : LONG { kDefaultLimitText = 32767 };

    CRichEditUI();
    ~CRichEditUI() override;

    // CControlUI and CContainerUI.
    LPCWSTR GetClass() const override;
    // "RichEdit": the control; "WantTab": its IWantTabUI; others: the container's.
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    // The engine's text; line ends come back as a lone carriage return.
    CUIString GetText() const override;
    void SetText(LPCWSTR text) override;
    void SetPos(RECT rc) override;
    void InitSelf() override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;
    void SetScrollPos(SIZE szPos) override;
    void LineUp() override;
    void LineDown() override;
    void PageUp() override;
    void PageDown() override;
    void HomeUp() override;
    void EndDown() override;
    void LineLeft() override;
    void LineRight() override;
    void PageLeft() override;
    void PageRight() override;
    void HomeLeft() override;
    void EndRight() override;

    // Virtual operations of the rich edit, after the container's.
    // S_FALSE without an engine.
    virtual HRESULT TxSendMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* plresult) const;
    virtual bool OnTxViewChanged();
    virtual void OnTxNotify(DWORD iNotify, void* pv);

    // IMessageFilterUI: every message of the window passes here first.
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);

    // IWantTabUI: whether a focused rich edit keeps the Tab key.
    bool IsWantTab() override;
    void SetWantTab(bool wantTab = true);
    bool IsWantReturn() const;
    void SetWantReturn(bool wantReturn = true);
    bool IsWantCtrlReturn() const;
    void SetWantCtrlReturn(bool wantCtrlReturn = true);
    bool IsRich() const;
    void SetRich(bool rich = true);
    bool IsReadOnly() const;
    int GetFont() const;
    void SetFont(int index);
    DWORD GetTextColor() const;
    void SetTextColor(DWORD color);
    LONG GetLimitText() const;
    // The window and edit style bits the engine is created with.
    UINT GetTextStyle() const;
    // Length in UTF-16 units (EM_GETTEXTLENGTHEX flags); 0 without an engine.
    LONG GetTextLength(DWORD flags = GTL_DEFAULT) const;
    void SetSel(LONG start, LONG end);
    void ReplaceSel(LPCWSTR text, bool canUndo);
    // The engine's host, or null until the engine has started (first visible
    // placement, focus or engine request) or when it could not be created.
    CTxtWinHost* GetTextHost() const;

    // Called by the host when the engine shows or hides a scroll bar.
    void OnScrollBarShown();

protected:
    CTxtWinHost* m_pTwh;
    bool m_bVScrollBarFixing;
    bool m_bWantTab;
    bool m_bWantReturn;
    bool m_bWantCtrlReturn;
    bool m_bRich;
    bool m_bReadOnly;
    bool m_bWordWrap;
    DWORD m_dwTextColor;
    int m_iFont;
    LONG m_iLimitText;
    LONG m_lTwhStyle;
    UINT m_bInited;

private:
    bool MouseInside(UINT uMsg, LPARAM lParam) const;
    bool UnderPoint(POINT pt) const;
    RECT TextRect() const;
    LONG NaturalHeight(LONG width) const;
    void LayoutText(RECT& rcText);
    void PlaceChildren(const RECT& rcText);
    void SendScroll(UINT msg, WORD code, int pos = 0);
    void ScrollTo(bool vertical, int pos);
    void ApplyStyleAttribute(LPCWSTR name, LPCWSTR value);
    // Creates the host and its engine once, after initialisation.
    void StartEngine();

    bool m_bEngineStarted;
    // The text style as it was at initialisation: the engine starts with it
    // whenever it starts, so style attributes given later never count.
    LONG m_lEngineStyle;
    // The manager the filter is registered with.
    CWindowManagerUI* m_pFilterManager;
    // The keydown of the last Enter went to the "return" notification; its
    // character must not reach the text either.
    bool m_bSwallowReturnChar;
    bool m_bInSetPos;
};

} // namespace SkinUI
