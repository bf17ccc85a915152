#include <windows.h>

#include "ui/controls/RichEditUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/TextHost.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>
#include <vector>

namespace SkinUI {

namespace {

// Window style bits of the "vscrollbar" and "hscrollbar" attributes.
const UINT kVScrollStyle = ES_DISABLENOSCROLL | WS_VSCROLL;
const UINT kHScrollStyle = ES_DISABLENOSCROLL | WS_HSCROLL;
// UTF-16, the code page of EM_GETTEXTEX and EM_GETTEXTLENGTHEX.
const UINT kCodePageUtf16 = 1200;
// The longest text GetText reads; far above any limit the engine is given,
// it keeps the buffer's byte count within 32 bits.
const LONG kMaxReadLength = 0x3FFFFFF0;

bool Is(LPCWSTR name, LPCWSTR expected) {
    return std::wcscmp(name, expected) == 0;
}

} // namespace

CRichEditUI::CRichEditUI()
    : m_pTwh(nullptr), m_bVScrollBarFixing(false), m_bWantTab(true), m_bWantReturn(true),
      m_bWantCtrlReturn(true), m_bRich(true), m_bReadOnly(false), m_bWordWrap(false),
      m_dwTextColor(0), m_iFont(-1), m_iLimitText(kDefaultLimitText), m_lTwhStyle(ES_MULTILINE),
      m_bInited(0), m_bEngineStarted(false), m_lEngineStyle(ES_MULTILINE),
      m_pFilterManager(nullptr), m_bSwallowReturnChar(false), m_bInSetPos(false) {}

CRichEditUI::~CRichEditUI() {
    if (m_pTwh != nullptr) {
        CTxtWinHost* host = m_pTwh;
        if (m_bFocused) {
            // The engine drops its caret, which lives on the shared window.
            TxSendMessage(WM_KILLFOCUS, 0, 0, nullptr);
        }
        m_pTwh = nullptr;
        host->Detach();
        host->Release();
    }
    if (m_pFilterManager != nullptr) {
        m_pFilterManager->RemoveMessageFilter(this);
        m_pFilterManager = nullptr;
    }
}

LPCWSTR CRichEditUI::GetClass() const {
    return L"RichEditUI";
}

LPVOID CRichEditUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && Is(name, L"RichEdit")) {
        return static_cast<CRichEditUI*>(this);
    }
    if (name != nullptr && Is(name, L"WantTab")) {
        return static_cast<IWantTabUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

UINT CRichEditUI::GetControlFlags() const {
    return IsEnabled() ? (UIFLAG_TABSTOP | UIFLAG_SETCURSOR) : 0;
}

// ---- Initialisation ----------------------------------------------------------------------

void CRichEditUI::InitSelf() {
    // The engine measures with the window's device and talks to its manager:
    // it waits until the control has one. Creating it costs milliseconds, so
    // a rich edit on a page that is never shown never pays: the engine starts
    // when the control is first placed visibly, focused, or asked for it.
    if (m_bInited != 0 || m_pManager == nullptr) {
        return;
    }
    m_lEngineStyle = m_lTwhStyle;
    m_bInited = 1;
}

void CRichEditUI::StartEngine() {
    if (m_bInited == 0 || m_bEngineStarted || m_pManager == nullptr) {
        return;
    }
    m_bEngineStarted = true;
    CREATESTRUCTW create = {};
    create.style = m_lEngineStyle;
    create.lpszName = m_sText.GetData();
    auto* host = new CTxtWinHost();
    m_pTwh = host;
    // The platform's engine reads the back style only when it is created.
    host->SetTransparent(true);
    if (!host->Init(this, &create)) {
        m_pTwh = nullptr;
        host->Detach();
        host->Release();
    }
    if (m_pTwh != nullptr) {
        m_pTwh->SetTransparent(true);
        TxSendMessage(EM_SETLANGOPTIONS, 0, 0, nullptr);
        m_pTwh->OnTxInPlaceActivate(nullptr);
        if (m_pManager->AddMessageFilter(this)) {
            m_pFilterManager = m_pManager;
        }
    }
}

CTxtWinHost* CRichEditUI::GetTextHost() const {
    return m_pTwh;
}

// ---- Properties --------------------------------------------------------------------------

bool CRichEditUI::IsWantTab() {
    return m_bWantTab;
}

void CRichEditUI::SetWantTab(bool wantTab) {
    m_bWantTab = wantTab;
}

bool CRichEditUI::IsWantReturn() const {
    return m_bWantReturn;
}

void CRichEditUI::SetWantReturn(bool wantReturn) {
    m_bWantReturn = wantReturn;
}

bool CRichEditUI::IsWantCtrlReturn() const {
    return m_bWantCtrlReturn;
}

void CRichEditUI::SetWantCtrlReturn(bool wantCtrlReturn) {
    m_bWantCtrlReturn = wantCtrlReturn;
}

bool CRichEditUI::IsRich() const {
    return m_bRich;
}

void CRichEditUI::SetRich(bool rich) {
    m_bRich = rich;
    if (m_pTwh != nullptr) {
        m_pTwh->SetRichTextFlag(rich);
    }
}

bool CRichEditUI::IsReadOnly() const {
    return m_bReadOnly;
}

int CRichEditUI::GetFont() const {
    return m_iFont;
}

void CRichEditUI::SetFont(int index) {
    m_iFont = index;
    if (m_pTwh != nullptr && m_pManager != nullptr) {
        m_pTwh->SetFont(m_pManager->GetFont(m_iFont));
    }
}

DWORD CRichEditUI::GetTextColor() const {
    return m_dwTextColor;
}

void CRichEditUI::SetTextColor(DWORD color) {
    m_dwTextColor = color;
    if (m_pTwh != nullptr) {
        m_pTwh->SetColor(color);
    }
}

LONG CRichEditUI::GetLimitText() const {
    return m_iLimitText;
}

UINT CRichEditUI::GetTextStyle() const {
    return static_cast<UINT>(m_lTwhStyle);
}

// ---- Text --------------------------------------------------------------------------------

LONG CRichEditUI::GetTextLength(DWORD flags) const {
    GETTEXTLENGTHEX request = {flags, kCodePageUtf16};
    LRESULT length = 0;
    if (TxSendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0, &length) != S_OK) {
        return 0;
    }
    return length > 0 ? static_cast<LONG>(length) : 0;
}

CUIString CRichEditUI::GetText() const {
    // The text of an engine not started yet is the text it will start with.
    if (!m_sText.IsEmpty()) {
        const_cast<CRichEditUI*>(this)->StartEngine();
    }
    if (m_pTwh == nullptr) {
        return CUIString();
    }
    LONG length = GetTextLength(GTL_DEFAULT);
    if (length > kMaxReadLength) {
        length = kMaxReadLength;
    }
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX request = {};
    request.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    request.flags = GT_DEFAULT;
    request.codepage = kCodePageUtf16;
    LRESULT copied = 0;
    TxSendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                  reinterpret_cast<LPARAM>(buffer.data()), &copied);
    // Whatever the engine wrote, the text ends inside the buffer.
    buffer.back() = L'\0';
    return CUIString(buffer.data(), static_cast<int>(std::wcslen(buffer.data())));
}

void CRichEditUI::SetText(LPCWSTR text) {
    m_sText = text;
    if (m_pTwh == nullptr) {
        return;
    }
    SetSel(0, -1);
    ReplaceSel(text, false);
}

void CRichEditUI::SetSel(LONG start, LONG end) {
    CHARRANGE range = {start, end};
    TxSendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range), nullptr);
}

void CRichEditUI::ReplaceSel(LPCWSTR text, bool canUndo) {
    TxSendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE,
                  reinterpret_cast<LPARAM>(text != nullptr ? text : L""), nullptr);
}

// ---- Attributes --------------------------------------------------------------------------

void CRichEditUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    // The scroll-bar attributes set the engine's style here and reach the
    // container too, which creates the bars.
    if (Is(name, L"vscrollbar") && ParseBoolValue(value)) {
        m_lTwhStyle |= kVScrollStyle;
    }
    if (Is(name, L"autovscroll")) {
        if (ParseBoolValue(value)) {
            m_lTwhStyle |= ES_AUTOVSCROLL;
        }
    } else if (Is(name, L"hscrollbar")) {
        if (ParseBoolValue(value)) {
            m_lTwhStyle |= kHScrollStyle;
        }
    }
    ApplyStyleAttribute(name, value);
}

void CRichEditUI::ApplyStyleAttribute(LPCWSTR name, LPCWSTR value) {
    if (Is(name, L"autohscroll")) {
        if (ParseBoolValue(value)) {
            m_lTwhStyle |= ES_AUTOHSCROLL;
        }
    } else if (Is(name, L"wanttab")) {
        SetWantTab(ParseBoolValue(value));
    } else if (Is(name, L"wantreturn")) {
        SetWantReturn(ParseBoolValue(value));
    } else if (Is(name, L"wantctrlreturn")) {
        SetWantCtrlReturn(ParseBoolValue(value));
    } else if (Is(name, L"rich")) {
        SetRich(ParseBoolValue(value));
    } else if (Is(name, L"multiline")) {
        if (Is(value, L"false")) {
            m_lTwhStyle &= ~ES_MULTILINE;
        }
    } else if (Is(name, L"readonly")) {
        if (ParseBoolValue(value)) {
            m_lTwhStyle |= ES_READONLY;
            m_bReadOnly = true;
        }
    } else if (Is(name, L"password")) {
        if (ParseBoolValue(value)) {
            m_lTwhStyle |= ES_PASSWORD;
        }
    } else if (Is(name, L"align")) {
        if (std::wcsstr(value, L"left") != nullptr) {
            m_lTwhStyle &= ~(ES_CENTER | ES_RIGHT);
        }
        if (std::wcsstr(value, L"center") != nullptr) {
            m_lTwhStyle |= ES_CENTER;
        }
        if (std::wcsstr(value, L"right") != nullptr) {
            m_lTwhStyle |= ES_RIGHT;
        }
    } else if (Is(name, L"font")) {
        SetFont(ParseDecimalValue(value));
    } else if (Is(name, L"textcolor")) {
        SetTextColor(ParseColorValue(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

SIZE CRichEditUI::MeasureDesiredSize(SIZE szAvailable) {
    return CContainerUI::MeasureDesiredSize(szAvailable);
}

} // namespace SkinUI
