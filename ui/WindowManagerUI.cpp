#include <windows.h>

#include <commctrl.h>

#include "ui/WindowManagerUI.h"

#include "ui/ControlUI.h"
#include "ui/WindowManagerState.h"

namespace SkinUI {

namespace {

// The first manager of the process prepares what every window's painting
// needs once: the update-rectangle pen.
void PrepareProcessOnce() {
    WindowManagerState& state = ManagerState();
    if (state.firstManagerMade) {
        return;
    }
    state.firstManagerMade = true;
    state.updateRectPen = ::CreatePen(PS_SOLID, 1, RGB(220, 0, 0));
}

// The stock GUI font with the default character set.
LOGFONTW DefaultGuiLogFont() {
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    return lf;
}

} // namespace

void CWindowManagerUI::PrepareCommonControls() {
    static const bool prepared = (::InitCommonControls(), true);
    (void)prepared;
}

CWindowManagerUI::CWindowManagerUI()
    : m_hWndPaint(nullptr), m_nOpacity(255), m_hDcPaint(nullptr), m_hDcOffscreen(nullptr),
      m_hDcBackground(nullptr), m_hbmpOffscreen(nullptr), m_hbmpBackground(nullptr),
      m_hwndTooltip(nullptr), m_ToolTip(), m_bShowUpdateRect(false), m_pRoot(nullptr),
      m_pFocus(nullptr), m_pEventHover(nullptr), m_pEventClick(nullptr),
      m_pEventKey(nullptr), m_ptLastMousePos{-1, -1}, m_szMinWindow{0, 0}, m_szMaxWindow{0, 0},
      m_szInitWindowSize{0, 0}, m_rcSizeBox{0, 0, 0, 0}, m_szRoundCorner{0, 0}, m_rcCaption{0, 0, 0,
                                                                                            0},
      m_uTimerID(0x1000), m_dwLayoutThread(0), m_rcLayoutInvalid{0, 0, 0, 0}, m_bFirstLayout(true),
      m_bUpdateNeeded(false), m_bFocusNeeded(false), m_bOffscreenPaint(true),
      m_bAlphaBackground(false), m_bMouseTracking(false), m_bMouseCapture(false),
      m_bUsedVirtualWnd(false), m_mNameHash(83), m_mOptionGroup(83), m_pParentResourcePM(nullptr),
      m_dwDefaultDisabledColor(0xFFA7A6AA), m_dwDefaultFontColor(0xFF000000),
      m_dwDefaultLinkFontColor(0xFF0000FF), m_dwDefaultLinkHoverFontColor(0xFFD3215F),
      m_dwDefaultSelectedBkColor(0xFFBAE4FF), m_DefaultFontInfo(), m_mImageHash(83),
      m_DefaultAttrHash(83) {
    PrepareProcessOnce();
    const LOGFONTW lf = DefaultGuiLogFont();
    m_DefaultFontInfo.hFont = ::CreateFontIndirectW(&lf);
    m_DefaultFontInfo.sFontName = lf.lfFaceName;
    m_DefaultFontInfo.iSize = -lf.lfHeight;
    m_DefaultFontInfo.bBold = lf.lfWeight >= FW_BOLD;
    m_DefaultFontInfo.bUnderline = lf.lfUnderline != 0;
    m_DefaultFontInfo.bItalic = lf.lfItalic != 0;
}

CWindowManagerUI::~CWindowManagerUI() {
    DeleteCleanupControls();
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        delete static_cast<TNoticeUI*>(m_aAsyncNotify[i]);
    }
    m_aAsyncNotify.Empty();
    m_mNameHash.RemoveAll();
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    delete root;
    if (m_DefaultFontInfo.hFont != nullptr) {
        ::DeleteObject(m_DefaultFontInfo.hFont);
        m_DefaultFontInfo.hFont = nullptr;
    }
    RemoveAllFonts();
    RemoveAllImages();
    RemoveAllDefaultAttributeList();
    RemoveAllOptionGroups();
    RemoveAllTimers();
    if (m_hwndTooltip != nullptr) {
        ::DestroyWindow(m_hwndTooltip);
        m_hwndTooltip = nullptr;
    }
    DeleteOffscreen();
    DeleteBackground();
    if (m_hDcPaint != nullptr) {
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
        m_hDcPaint = nullptr;
    }
    CUIPtrArray& managers = ManagerState().managers;
    const int index = managers.Find(this);
    if (index >= 0) {
        managers.Remove(index);
    }
}

void CWindowManagerUI::Init(HWND hWnd) {
    if (hWnd == nullptr) {
        return;
    }
    if (m_hDcPaint != nullptr) {
        ::ReleaseDC(m_hWndPaint, m_hDcPaint);
    }
    m_hWndPaint = hWnd;
    m_hDcPaint = ::GetDC(hWnd);
    CUIPtrArray& managers = ManagerState().managers;
    if (managers.Find(this) < 0) {
        managers.Add(this);
    }
}

HWND CWindowManagerUI::GetPaintWindow() const {
    return m_hWndPaint;
}

HDC CWindowManagerUI::GetPaintDC() const {
    return m_hDcPaint;
}

HWND CWindowManagerUI::GetTooltipWindow() const {
    return m_hwndTooltip;
}

POINT CWindowManagerUI::GetMousePos() const {
    return m_ptLastMousePos;
}

SIZE CWindowManagerUI::GetClientSize() const {
    RECT rc = {};
    if (m_hWndPaint != nullptr) {
        ::GetClientRect(m_hWndPaint, &rc);
    }
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

SIZE CWindowManagerUI::GetInitSize() const {
    return m_szInitWindowSize;
}

void CWindowManagerUI::SetInitSize(int cx, int cy) {
    m_szInitWindowSize = SIZE{cx, cy};
    if (m_pRoot == nullptr && m_hWndPaint != nullptr) {
        ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy,
                       SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

RECT CWindowManagerUI::GetSizeBox() const {
    return m_rcSizeBox;
}

void CWindowManagerUI::SetSizeBox(const RECT& rcSizeBox) {
    m_rcSizeBox = rcSizeBox;
}

RECT CWindowManagerUI::GetCaptionRect() const {
    return m_rcCaption;
}

void CWindowManagerUI::SetCaptionRect(const RECT& rcCaption) {
    m_rcCaption = rcCaption;
}

SIZE CWindowManagerUI::GetRoundCorner() const {
    return m_szRoundCorner;
}

void CWindowManagerUI::SetRoundCorner(int cx, int cy) {
    m_szRoundCorner = SIZE{cx, cy};
}

SIZE CWindowManagerUI::GetMinInfo() const {
    return m_szMinWindow;
}

void CWindowManagerUI::SetMinInfo(int cx, int cy) {
    m_szMinWindow = SIZE{cx, cy};
}

SIZE CWindowManagerUI::GetMaxInfo() const {
    return m_szMaxWindow;
}

void CWindowManagerUI::SetMaxInfo(int cx, int cy) {
    m_szMaxWindow = SIZE{cx, cy};
}

int CWindowManagerUI::GetWindowOpacity() const {
    return m_nOpacity;
}

void CWindowManagerUI::SetWindowOpacity(int opacity) {
    m_nOpacity = opacity < 0 ? 0 : (opacity > 255 ? 255 : opacity);
    if (m_hWndPaint == nullptr) {
        return;
    }
    typedef BOOL(WINAPI * SetLayeredFn)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = ::GetModuleHandleW(L"User32.dll");
    const auto setLayered = user32 == nullptr
                                ? nullptr
                                : reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                      ::GetProcAddress(user32, "SetLayeredWindowAttributes")));
    if (setLayered == nullptr) {
        return;
    }
    const LONG style = ::GetWindowLongW(m_hWndPaint, GWL_EXSTYLE);
    const LONG wanted =
        (opacity >= 0 && opacity <= 255) ? (style | WS_EX_LAYERED) : (style & ~WS_EX_LAYERED);
    if (wanted != style) {
        ::SetWindowLongW(m_hWndPaint, GWL_EXSTYLE, wanted);
    }
    setLayered(m_hWndPaint, 0, static_cast<BYTE>(m_nOpacity), LWA_ALPHA);
}

bool CWindowManagerUI::IsBackgroundTransparent() const {
    return m_bAlphaBackground;
}

void CWindowManagerUI::SetBackgroundTransparent(bool transparent) {
    m_bAlphaBackground = transparent;
}

bool CWindowManagerUI::IsShowUpdateRect() const {
    return m_bShowUpdateRect;
}

void CWindowManagerUI::SetShowUpdateRect(bool show) {
    m_bShowUpdateRect = show;
}

void CWindowManagerUI::DeleteOffscreen() {
    if (m_hDcOffscreen != nullptr) {
        ::DeleteDC(m_hDcOffscreen);
        m_hDcOffscreen = nullptr;
    }
    if (m_hbmpOffscreen != nullptr) {
        ::DeleteObject(m_hbmpOffscreen);
        m_hbmpOffscreen = nullptr;
    }
}

void CWindowManagerUI::DeleteBackground() {
    if (m_hDcBackground != nullptr) {
        ::DeleteDC(m_hDcBackground);
        m_hDcBackground = nullptr;
    }
    if (m_hbmpBackground != nullptr) {
        ::DeleteObject(m_hbmpBackground);
        m_hbmpBackground = nullptr;
    }
}

} // namespace SkinUI
