#pragma once
#include <windows.h>

#include <richedit.h>
#include <textserv.h>

#include "ui/UIRect.h"

namespace SkinUI {

class CRichEditUI;
class CScrollBarUI;
class CWindowManagerUI;

// The platform's text-host interface. Its operations (past those of
// IUnknown) use the member-function calling convention of the platform's
// engine, which is also the compiler's default for member functions.
using ITextHost = ::ITextHost;

// The engine's interface ids; the import libraries don't define them, and
// names of our own keep them clear of any library that might.
extern const IID kIIDTextServices;
extern const IID kIIDTextHost;

// The rich edit's side of the windowless rich-text engine: the engine asks
// it for the device context, client rectangle, formats and properties, and
// through it shows scroll bars, moves the caret, sets timers and captures the
// mouse; each request is mapped onto the owning control, its container scroll
// bars and its window manager. Reference counted: the owner holds the first
// reference and the host deletes itself when the last one goes.
class CTxtWinHost : public ITextHost {
public:
    // Flag bits.
    enum : DWORD {
        kAutoWordSelection = 0x001,
        kWordWrap = 0x002,
        kAllowBeep = 0x004,
        kRich = 0x008,
        kSaveSelection = 0x010,
        kInPlaceActive = 0x020,
        kTransparent = 0x040,
        kTimerRunning = 0x080,
        kCaptured = 0x100,
    };
    enum : LONG { kDefaultMaxLength = 32767 };

    CTxtWinHost();
    CTxtWinHost(const CTxtWinHost&) = delete;
    CTxtWinHost& operator=(const CTxtWinHost&) = delete;

    // IUnknown.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // ITextHost, in the platform's order.
    HDC TxGetDC() override;
    INT TxReleaseDC(HDC hdc) override;
    WINBOOL TxShowScrollBar(INT fnBar, WINBOOL fShow) override;
    WINBOOL TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) override;
    WINBOOL TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL fRedraw) override;
    WINBOOL TxSetScrollPos(INT fnBar, INT nPos, WINBOOL fRedraw) override;
    void TxInvalidateRect(LPCRECT prc, WINBOOL fMode) override;
    void TxViewChange(WINBOOL fUpdate) override;
    WINBOOL TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) override;
    WINBOOL TxShowCaret(WINBOOL fShow) override;
    WINBOOL TxSetCaretPos(INT x, INT y) override;
    WINBOOL TxSetTimer(UINT idTimer, UINT uTimeout) override;
    void TxKillTimer(UINT idTimer) override;
    void TxScrollWindowEx(INT dx, INT dy, LPCRECT lprcScroll, LPCRECT lprcClip, HRGN hrgnUpdate,
                          LPRECT lprcUpdate, UINT fuScroll) override;
    void TxSetCapture(WINBOOL fCapture) override;
    void TxSetFocus() override;
    void TxSetCursor(HCURSOR hcur, WINBOOL fText) override;
    WINBOOL TxScreenToClient(LPPOINT lppt) override;
    WINBOOL TxClientToScreen(LPPOINT lppt) override;
    HRESULT TxActivate(LONG* plOldState) override;
    HRESULT TxDeactivate(LONG lNewState) override;
    HRESULT TxGetClientRect(LPRECT prc) override;
    HRESULT TxGetViewInset(LPRECT prc) override;
    HRESULT TxGetCharFormat(const CHARFORMATW** ppCF) override;
    HRESULT TxGetParaFormat(const PARAFORMAT** ppPF) override;
    COLORREF TxGetSysColor(int nIndex) override;
    HRESULT TxGetBackStyle(TXTBACKSTYLE* pstyle) override;
    HRESULT TxGetMaxLength(DWORD* plength) override;
    HRESULT TxGetScrollBars(DWORD* pdwScrollBar) override;
    HRESULT TxGetPasswordChar(TCHAR* pch) override;
    HRESULT TxGetAcceleratorPos(LONG* pcp) override;
    HRESULT TxGetExtent(LPSIZEL lpExtent) override;
    HRESULT OnTxCharFormatChange(const CHARFORMATW* pcf) override;
    HRESULT OnTxParaFormatChange(const PARAFORMAT* ppf) override;
    HRESULT TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) override;
    HRESULT TxNotify(DWORD iNotify, void* pv) override;
    HIMC TxImmGetContext() override;
    void TxImmReleaseContext(HIMC himc) override;
    HRESULT TxGetSelectionBarWidth(LONG* lSelBarWidth) override;

    // The host's own operations.
    // Creates the engine for the owner; create (may be null) gives the style
    // and the first text. False when the engine can't be had.
    bool Init(CRichEditUI* owner, const CREATESTRUCTW* create);
    ITextServices* GetTextServices() const;
    void SetClientRect(const RECT* rc);
    RECT GetControlRect() const;
    void SetFont(HFONT font);
    void SetColor(DWORD argb);
    void SetRichTextFlag(bool rich);
    void SetTransparent(bool transparent);
    // Lets the engine set the cursor when pt lies in the client rectangle.
    bool DoSetCursor(const RECT* rc, const POINT* pt);
    bool OnTxInPlaceActivate(LPCRECT rcClient);
    bool IsCaptured() const;
    DWORD GetPropertyBits() const;
    // The owner is going: the engine is released and nothing reaches the
    // owner any more, even while someone still holds a reference.
    void Detach();

private:
    virtual ~CTxtWinHost();

    CWindowManagerUI* Manager() const;
    HWND Window() const;
    void FillCharFormat(HFONT font);
    void NotifyEngine(DWORD bits, DWORD value);
    void ApplyCharFormat();
    void ShowBar(CScrollBarUI* bar, bool show);

    CRichEditUI* m_pOwner;
    ULONG m_cRefs;
    ITextServices* m_pServices;
    DWORD m_dwStyle;
    DWORD m_dwFlags;
    LONG m_lSelBarWidth;
    LONG m_cchTextMost;
    CUIRect m_rcClient;
    SIZEL m_sizelExtent;
    CHARFORMAT2W m_cf;
    PARAFORMAT2 m_pf;
    LONG m_laccelpos;
    wchar_t m_chPasswordChar;
    // Measuring device for an owner without a window yet.
    HDC m_hdcFallback;
};

} // namespace SkinUI
