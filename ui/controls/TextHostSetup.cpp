#include <windows.h>

#include "ui/controls/TextHost.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/RichEditUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

// Bold, italic, underline, size, colour, face, offset and charset.
const DWORD kCharFormatMask = 0xF8000007;
const DWORD kParaFormatMask = 0x8001003F;
const LONG kDefaultTab = 720; // twips
const LONG kTwipsPerInch = 1440;
const LONG kHimetricPerInch = 2540;

typedef HRESULT(WINAPI* CreateTextServicesProc)(IUnknown*, ITextHost*, IUnknown**);

// The engine's library stays loaded for the life of the process, once found.
CreateTextServicesProc TextServicesFactory() {
    static CreateTextServicesProc factory = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        HMODULE module = ::LoadLibraryW(L"msftedit.dll");
        if (module != nullptr) {
            factory = reinterpret_cast<CreateTextServicesProc>(
                reinterpret_cast<void*>(::GetProcAddress(module, "CreateTextServices")));
        }
    }
    return factory;
}

COLORREF ArgbToColorRef(DWORD argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

} // namespace

// ---- The host's own operations -------------------------------------------------------------

void CTxtWinHost::FillCharFormat(HFONT font) {
    LOGFONTW lf = {};
    if (font == nullptr || ::GetObjectW(font, sizeof(lf), &lf) == 0) {
        ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    HDC dc = TxGetDC();
    int ppi = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (ppi <= 0) {
        ppi = 96;
    }
    m_cf.cbSize = sizeof(m_cf);
    m_cf.dwMask = kCharFormatMask;
    // A font given by its cell height (positive) has the same size.
    const LONG height = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    m_cf.yHeight = ::MulDiv(height, kTwipsPerInch, ppi);
    m_cf.dwEffects = 0;
    if (lf.lfWeight >= FW_BOLD) {
        m_cf.dwEffects |= CFE_BOLD;
    }
    if (lf.lfItalic) {
        m_cf.dwEffects |= CFE_ITALIC;
    }
    if (lf.lfUnderline) {
        m_cf.dwEffects |= CFE_UNDERLINE;
    }
    m_cf.bCharSet = lf.lfCharSet;
    m_cf.bPitchAndFamily = lf.lfPitchAndFamily;
    std::wcsncpy(m_cf.szFaceName, lf.lfFaceName, LF_FACESIZE - 1);
    m_cf.szFaceName[LF_FACESIZE - 1] = L'\0';
}

bool CTxtWinHost::Init(CRichEditUI* owner, const CREATESTRUCTW* create) {
    m_pOwner = owner;
    m_cRefs = 1;
    CWindowManagerUI* manager = Manager();
    FillCharFormat(manager != nullptr ? manager->GetFont(owner->GetFont()) : nullptr);
    m_cf.crTextColor = ArgbToColorRef(owner->GetTextColor());

    m_pf.cbSize = sizeof(m_pf);
    m_pf.dwMask = kParaFormatMask;
    m_pf.wAlignment = PFA_LEFT;
    m_pf.cTabCount = 1;
    m_pf.rgxTabs[0] = kDefaultTab;

    m_dwStyle = ES_MULTILINE;
    if (owner->IsRich()) {
        m_dwFlags |= kRich;
    }
    m_cchTextMost = owner->GetLimitText();
    if (create != nullptr) {
        m_dwStyle = static_cast<DWORD>(create->style);
        if ((m_dwStyle & (ES_AUTOHSCROLL | WS_HSCROLL)) == 0) {
            m_dwFlags |= kWordWrap;
        }
        if ((m_dwStyle & ES_CENTER) != 0) {
            m_pf.wAlignment = PFA_CENTER;
        } else if ((m_dwStyle & ES_RIGHT) != 0) {
            m_pf.wAlignment = PFA_RIGHT;
        }
    }
    m_dwFlags |= kInPlaceActive;

    CreateTextServicesProc factory = TextServicesFactory();
    if (factory == nullptr) {
        return false;
    }
    IUnknown* unknown = nullptr;
    if (FAILED(factory(nullptr, this, &unknown)) || unknown == nullptr) {
        return false;
    }
    void* services = nullptr;
    const HRESULT hr = unknown->QueryInterface(kIIDTextServices, &services);
    unknown->Release();
    if (FAILED(hr) || services == nullptr) {
        return false;
    }
    m_pServices = static_cast<ITextServices*>(services);
    if (create != nullptr && create->lpszName != nullptr) {
        return SUCCEEDED(m_pServices->TxSetText(create->lpszName));
    }
    return true;
}

ITextServices* CTxtWinHost::GetTextServices() const {
    return m_pServices;
}

void CTxtWinHost::NotifyEngine(DWORD bits, DWORD value) {
    if (m_pServices != nullptr) {
        m_pServices->OnTxPropertyBitsChange(bits, value);
    }
}

void CTxtWinHost::SetClientRect(const RECT* rc) {
    if (rc == nullptr) {
        return;
    }
    m_rcClient = *rc;
    HDC dc = TxGetDC();
    int ppiX = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSX) : 0;
    int ppiY = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    ppiX = ppiX > 0 ? ppiX : 96;
    ppiY = ppiY > 0 ? ppiY : 96;
    m_sizelExtent.cx = ::MulDiv(m_rcClient.GetWidth(), kHimetricPerInch, ppiX);
    m_sizelExtent.cy = ::MulDiv(m_rcClient.GetHeight(), kHimetricPerInch, ppiY);
    NotifyEngine(TXTBIT_VIEWINSETCHANGE, TXTBIT_VIEWINSETCHANGE);
}

RECT CTxtWinHost::GetControlRect() const {
    return m_rcClient;
}

void CTxtWinHost::ApplyCharFormat() {
    NotifyEngine(TXTBIT_CHARFORMATCHANGE, TXTBIT_CHARFORMATCHANGE);
    if (m_pServices == nullptr) {
        return;
    }
    // The platform's engine reads the host's format only when it is created:
    // the new one goes to the text and to what is typed next as well.
    LRESULT result = 0;
    m_pServices->TxSendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&m_cf),
                               &result);
    m_pServices->TxSendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&m_cf), &result);
}

void CTxtWinHost::SetFont(HFONT font) {
    if (font == nullptr) {
        return;
    }
    FillCharFormat(font);
    ApplyCharFormat();
}

void CTxtWinHost::SetColor(DWORD argb) {
    m_cf.crTextColor = ArgbToColorRef(argb);
    ApplyCharFormat();
}

void CTxtWinHost::SetRichTextFlag(bool rich) {
    if (rich) {
        m_dwFlags |= kRich;
    } else {
        m_dwFlags &= ~kRich;
    }
    NotifyEngine(TXTBIT_RICHTEXT, rich ? TXTBIT_RICHTEXT : 0);
}

void CTxtWinHost::SetTransparent(bool transparent) {
    if (transparent) {
        m_dwFlags |= kTransparent;
    } else {
        m_dwFlags &= ~kTransparent;
    }
    NotifyEngine(TXTBIT_BACKSTYLECHANGE, 0);
}

bool CTxtWinHost::DoSetCursor(const RECT* rc, const POINT* pt) {
    if (pt == nullptr || m_pServices == nullptr) {
        return false;
    }
    const RECT client = rc != nullptr ? *rc : static_cast<const RECT&>(m_rcClient);
    if (!::PtInRect(&client, *pt)) {
        return false;
    }
    m_pServices->OnTxSetCursor(DVASPECT_CONTENT, 0, nullptr, nullptr, TxGetDC(), nullptr, &client,
                               pt->x, pt->y);
    return true;
}

bool CTxtWinHost::OnTxInPlaceActivate(LPCRECT rcClient) {
    if (m_pServices == nullptr) {
        return false;
    }
    m_dwFlags |= kInPlaceActive;
    if (FAILED(m_pServices->OnTxInPlaceActivate(rcClient))) {
        m_dwFlags &= ~kInPlaceActive;
        return false;
    }
    return true;
}

bool CTxtWinHost::IsCaptured() const {
    return (m_dwFlags & kCaptured) != 0;
}

void CTxtWinHost::Detach() {
    ITextServices* services = m_pServices;
    m_pServices = nullptr;
    if (services != nullptr) {
        services->Release();
    }
    m_pOwner = nullptr;
}

} // namespace SkinUI
