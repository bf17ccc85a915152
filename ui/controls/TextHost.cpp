#include <windows.h>

#include "ui/controls/TextHost.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/RichEditUI.h"
#include "ui/controls/ScrollBarUI.h"

#include <climits>

namespace SkinUI {

const IID kIIDTextServices = {
    0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};
const IID kIIDTextHost = {
    0x13E670F4, 0x1A5A, 0x11CF, {0xAB, 0xEB, 0x00, 0xAA, 0x00, 0xB6, 0x5E, 0xA1}};

namespace {

const DWORD kScrollBarStyles =
    WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL;

} // namespace

CTxtWinHost::CTxtWinHost()
    : m_pOwner(nullptr), m_cRefs(0), m_pServices(nullptr), m_dwStyle(0), m_dwFlags(0),
      m_lSelBarWidth(0), m_cchTextMost(kDefaultMaxLength), m_sizelExtent{0, 0}, m_cf{}, m_pf{},
      m_laccelpos(-1), m_chPasswordChar(0), m_hdcFallback(nullptr) {}

CTxtWinHost::~CTxtWinHost() {
    if (m_pServices != nullptr) {
        ITextServices* services = m_pServices;
        m_pServices = nullptr;
        services->Release();
    }
    if (m_hdcFallback != nullptr) {
        ::DeleteDC(m_hdcFallback);
    }
}

// ---- IUnknown ----------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE CTxtWinHost::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, kIIDTextHost)) {
        AddRef();
        *object = static_cast<ITextHost*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::AddRef() {
    return ++m_cRefs;
}

ULONG STDMETHODCALLTYPE CTxtWinHost::Release() {
    const ULONG refs = --m_cRefs;
    if (refs == 0) {
        delete this;
    }
    return refs;
}

// ---- Device, scroll bars, invalidation ----------------------------------------------------

CWindowManagerUI* CTxtWinHost::Manager() const {
    return m_pOwner != nullptr ? m_pOwner->GetManager() : nullptr;
}

HWND CTxtWinHost::Window() const {
    CWindowManagerUI* manager = Manager();
    return manager != nullptr ? manager->GetPaintWindow() : nullptr;
}

HDC CTxtWinHost::TxGetDC() {
    CWindowManagerUI* manager = Manager();
    if (manager != nullptr && manager->GetPaintDC() != nullptr) {
        return manager->GetPaintDC();
    }
    if (m_hdcFallback == nullptr) {
        m_hdcFallback = ::CreateCompatibleDC(nullptr);
    }
    return m_hdcFallback;
}

INT CTxtWinHost::TxReleaseDC(HDC) {
    return 1;
}

void CTxtWinHost::ShowBar(CScrollBarUI* bar, bool show) {
    if (bar == nullptr || bar->IsVisible() == show) {
        return;
    }
    bar->SetVisible(show);
    m_pOwner->OnScrollBarShown();
}

WINBOOL CTxtWinHost::TxShowScrollBar(INT fnBar, WINBOOL fShow) {
    if (m_pOwner == nullptr) {
        return FALSE;
    }
    // A bar with nothing to scroll stays hidden (its thumb would fill the
    // whole track); the range setter shows it once the text outgrows the view.
    const auto wanted = [fShow](const CScrollBarUI* bar) {
        return fShow != FALSE && bar != nullptr && bar->GetScrollRange() > 0;
    };
    if (fnBar == SB_HORZ || fnBar == SB_BOTH) {
        ShowBar(m_pOwner->GetHorizontalScrollBar(), wanted(m_pOwner->GetHorizontalScrollBar()));
    }
    if (fnBar == SB_VERT || fnBar == SB_BOTH) {
        ShowBar(m_pOwner->GetVerticalScrollBar(), wanted(m_pOwner->GetVerticalScrollBar()));
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxEnableScrollBar(INT fuSBFlags, INT fuArrowflags) {
    if (m_pOwner == nullptr) {
        return FALSE;
    }
    const bool vertical = fuSBFlags == SB_VERT || fuSBFlags == SB_BOTH;
    const bool horizontal = fuSBFlags == SB_HORZ || fuSBFlags == SB_BOTH;
    const bool wantV = vertical || m_pOwner->GetVerticalScrollBar() != nullptr;
    const bool wantH = horizontal || m_pOwner->GetHorizontalScrollBar() != nullptr;
    // Creating an existing bar again would only lay the control out again.
    if ((wantV && m_pOwner->GetVerticalScrollBar() == nullptr) ||
        (wantH && m_pOwner->GetHorizontalScrollBar() == nullptr)) {
        m_pOwner->EnableScrollBar(wantV, wantH);
    }
    const bool show = fuArrowflags != ESB_DISABLE_BOTH;
    if (vertical) {
        ShowBar(m_pOwner->GetVerticalScrollBar(), show);
    }
    if (horizontal) {
        ShowBar(m_pOwner->GetHorizontalScrollBar(), show);
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollRange(INT fnBar, LONG nMinPos, INT nMaxPos, WINBOOL) {
    if (m_pOwner == nullptr) {
        return FALSE;
    }
    CScrollBarUI* bar =
        fnBar == SB_VERT ? m_pOwner->GetVerticalScrollBar() : m_pOwner->GetHorizontalScrollBar();
    if (bar == nullptr || (fnBar != SB_VERT && fnBar != SB_HORZ)) {
        return TRUE;
    }
    const long long view = fnBar == SB_VERT ? m_rcClient.GetHeight() : m_rcClient.GetWidth();
    const long long range = static_cast<long long>(nMaxPos) - nMinPos - view;
    if (range > 0) {
        ShowBar(bar, true);
        bar->SetScrollRange(range > INT_MAX ? INT_MAX : static_cast<int>(range));
    } else {
        ShowBar(bar, false);
    }
    return TRUE;
}

WINBOOL CTxtWinHost::TxSetScrollPos(INT fnBar, INT nPos, WINBOOL) {
    if (m_pOwner == nullptr) {
        return FALSE;
    }
    CScrollBarUI* bar = nullptr;
    if (fnBar == SB_VERT) {
        bar = m_pOwner->GetVerticalScrollBar();
    } else if (fnBar == SB_HORZ) {
        bar = m_pOwner->GetHorizontalScrollBar();
    }
    if (bar != nullptr) {
        bar->SetScrollPos(nPos);
    }
    return TRUE;
}

void CTxtWinHost::TxInvalidateRect(LPCRECT prc, WINBOOL) {
    CWindowManagerUI* manager = Manager();
    if (manager != nullptr) {
        manager->Invalidate(prc != nullptr ? *prc : static_cast<const RECT&>(m_rcClient));
    }
}

void CTxtWinHost::TxViewChange(WINBOOL) {
    if (m_pOwner != nullptr) {
        m_pOwner->Invalidate();
    }
}

// ---- Caret, timers, capture, focus, cursor ------------------------------------------------

WINBOOL CTxtWinHost::TxCreateCaret(HBITMAP hbmp, INT xWidth, INT yHeight) {
    HWND hwnd = Window();
    return hwnd != nullptr && ::CreateCaret(hwnd, hbmp, xWidth, yHeight);
}

WINBOOL CTxtWinHost::TxShowCaret(WINBOOL fShow) {
    HWND hwnd = Window();
    if (hwnd == nullptr) {
        return FALSE;
    }
    return fShow ? ::ShowCaret(hwnd) : ::HideCaret(hwnd);
}

WINBOOL CTxtWinHost::TxSetCaretPos(INT x, INT y) {
    return ::SetCaretPos(x, y);
}

WINBOOL CTxtWinHost::TxSetTimer(UINT idTimer, UINT uTimeout) {
    CWindowManagerUI* manager = Manager();
    if (manager == nullptr) {
        return FALSE;
    }
    m_dwFlags |= kTimerRunning;
    return manager->SetTimer(m_pOwner, idTimer, uTimeout);
}

void CTxtWinHost::TxKillTimer(UINT idTimer) {
    CWindowManagerUI* manager = Manager();
    if (manager != nullptr) {
        manager->KillTimer(m_pOwner, idTimer);
    }
    m_dwFlags &= ~kTimerRunning;
}

void CTxtWinHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {}

void CTxtWinHost::TxSetCapture(WINBOOL fCapture) {
    CWindowManagerUI* manager = Manager();
    if (manager == nullptr) {
        return;
    }
    if (fCapture) {
        manager->SetCapture();
        m_dwFlags |= kCaptured;
    } else {
        manager->ReleaseCapture();
        m_dwFlags &= ~kCaptured;
    }
}

void CTxtWinHost::TxSetFocus() {
    if (m_pOwner != nullptr) {
        m_pOwner->SetFocus();
    }
}

void CTxtWinHost::TxSetCursor(HCURSOR hcur, WINBOOL) {
    ::SetCursor(hcur);
}

WINBOOL CTxtWinHost::TxScreenToClient(LPPOINT lppt) {
    HWND hwnd = Window();
    return hwnd != nullptr && lppt != nullptr && ::ScreenToClient(hwnd, lppt);
}

WINBOOL CTxtWinHost::TxClientToScreen(LPPOINT lppt) {
    HWND hwnd = Window();
    return hwnd != nullptr && lppt != nullptr && ::ClientToScreen(hwnd, lppt);
}

HRESULT CTxtWinHost::TxActivate(LONG*) {
    return S_OK;
}

HRESULT CTxtWinHost::TxDeactivate(LONG) {
    return S_OK;
}

// ---- Geometry, formats, properties --------------------------------------------------------

HRESULT CTxtWinHost::TxGetClientRect(LPRECT prc) {
    if (prc == nullptr) {
        return E_INVALIDARG;
    }
    *prc = m_rcClient;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetViewInset(LPRECT prc) {
    if (prc == nullptr) {
        return E_INVALIDARG;
    }
    *prc = RECT{0, 0, 0, 0};
    return S_OK;
}

HRESULT CTxtWinHost::TxGetCharFormat(const CHARFORMATW** ppCF) {
    if (ppCF == nullptr) {
        return E_INVALIDARG;
    }
    *ppCF = reinterpret_cast<const CHARFORMATW*>(&m_cf);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetParaFormat(const PARAFORMAT** ppPF) {
    if (ppPF == nullptr) {
        return E_INVALIDARG;
    }
    *ppPF = reinterpret_cast<const PARAFORMAT*>(&m_pf);
    return S_OK;
}

COLORREF CTxtWinHost::TxGetSysColor(int nIndex) {
    return ::GetSysColor(nIndex);
}

HRESULT CTxtWinHost::TxGetBackStyle(TXTBACKSTYLE* pstyle) {
    if (pstyle == nullptr) {
        return E_INVALIDARG;
    }
    *pstyle = (m_dwFlags & kTransparent) != 0 ? TXTBACK_TRANSPARENT : TXTBACK_OPAQUE;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetMaxLength(DWORD* plength) {
    if (plength == nullptr) {
        return E_INVALIDARG;
    }
    *plength = static_cast<DWORD>(m_cchTextMost);
    return S_OK;
}

HRESULT CTxtWinHost::TxGetScrollBars(DWORD* pdwScrollBar) {
    if (pdwScrollBar == nullptr) {
        return E_INVALIDARG;
    }
    *pdwScrollBar = m_dwStyle & kScrollBarStyles;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetPasswordChar(TCHAR* pch) {
    if (pch == nullptr) {
        return E_INVALIDARG;
    }
    *pch = m_chPasswordChar;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetAcceleratorPos(LONG* pcp) {
    if (pcp == nullptr) {
        return E_INVALIDARG;
    }
    *pcp = m_laccelpos;
    return S_OK;
}

HRESULT CTxtWinHost::TxGetExtent(LPSIZEL lpExtent) {
    if (lpExtent == nullptr) {
        return E_INVALIDARG;
    }
    *lpExtent = m_sizelExtent;
    return S_OK;
}

HRESULT CTxtWinHost::OnTxCharFormatChange(const CHARFORMATW*) {
    return S_OK;
}

HRESULT CTxtWinHost::OnTxParaFormatChange(const PARAFORMAT*) {
    return S_OK;
}

DWORD CTxtWinHost::GetPropertyBits() const {
    DWORD bits = 0;
    if ((m_dwStyle & ES_MULTILINE) != 0) {
        bits |= TXTBIT_MULTILINE;
    }
    if ((m_dwFlags & kRich) != 0) {
        bits |= TXTBIT_RICHTEXT;
    }
    if ((m_dwStyle & ES_READONLY) != 0) {
        bits |= TXTBIT_READONLY;
    }
    if ((m_dwStyle & ES_PASSWORD) != 0) {
        bits |= TXTBIT_USEPASSWORD;
    }
    if ((m_dwStyle & ES_NOHIDESEL) == 0) {
        bits |= TXTBIT_HIDESELECTION;
    }
    if ((m_dwFlags & kAutoWordSelection) != 0) {
        bits |= TXTBIT_AUTOWORDSEL;
    }
    if ((m_dwFlags & kWordWrap) != 0) {
        bits |= TXTBIT_WORDWRAP;
    }
    if ((m_dwFlags & kAllowBeep) != 0) {
        bits |= TXTBIT_ALLOWBEEP;
    }
    if ((m_dwFlags & kSaveSelection) != 0) {
        bits |= TXTBIT_SAVESELECTION;
    }
    return bits;
}

HRESULT CTxtWinHost::TxGetPropertyBits(DWORD dwMask, DWORD* pdwBits) {
    if (pdwBits == nullptr) {
        return E_INVALIDARG;
    }
    *pdwBits = GetPropertyBits() & dwMask;
    return S_OK;
}

HRESULT CTxtWinHost::TxNotify(DWORD iNotify, void* pv) {
    if (iNotify == EN_REQUESTRESIZE && pv != nullptr) {
        const RECT& requested = static_cast<const REQRESIZE*>(pv)->rc;
        const RECT rc = {m_rcClient.left, m_rcClient.top,
                         m_rcClient.left + (requested.right - requested.left),
                         m_rcClient.top + (requested.bottom - requested.top)};
        SetClientRect(&rc);
    }
    if (m_pOwner != nullptr) {
        m_pOwner->OnTxNotify(iNotify, pv);
    }
    return S_OK;
}

HIMC CTxtWinHost::TxImmGetContext() {
    return nullptr;
}

void CTxtWinHost::TxImmReleaseContext(HIMC) {}

HRESULT CTxtWinHost::TxGetSelectionBarWidth(LONG* lSelBarWidth) {
    if (lSelBarWidth == nullptr) {
        return E_INVALIDARG;
    }
    *lSelBarWidth = m_lSelBarWidth;
    return S_OK;
}

} // namespace SkinUI
