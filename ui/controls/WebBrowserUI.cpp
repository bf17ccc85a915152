#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include "ui/controls/WebBrowserUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

// The platform's WebBrowser control.
const CLSID kWebBrowserClsid = {
    0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

} // namespace

CWebBrowserUI::CWebBrowserUI()
    : m_pWebBrowser2(nullptr), m_dwRef(0), m_dwCookie(0), m_bAutoNavi(false),
      m_pWebBrowserEventHandler(nullptr), m_downloadManager(this) {
    m_clsid = kWebBrowserClsid;
}

CWebBrowserUI::~CWebBrowserUI() {
    CWebBrowserUI::ReleaseControl();
}

LPCWSTR CWebBrowserUI::GetClass() const {
    return L"WebBrowserUI";
}

LPVOID CWebBrowserUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && Is(name, L"WebBrowser")) {
        return static_cast<CWebBrowserUI*>(this);
    }
    return CActiveXUI::QueryInterfaceByName(name);
}

void CWebBrowserUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"homepage")) {
        SetHomePage(value);
    } else if (Is(name, L"autonavi")) {
        SetAutoNavigation(ParseBoolValue(value));
    } else {
        CActiveXUI::ApplyAttribute(name, value);
    }
}

void CWebBrowserUI::SetHomePage(LPCWSTR url) {
    m_sHomePage = url;
}

CUIString CWebBrowserUI::GetHomePage() const {
    return m_sHomePage;
}

void CWebBrowserUI::SetAutoNavigation(bool autoNavigate) {
    m_bAutoNavi = autoNavigate;
}

bool CWebBrowserUI::IsAutoNavigation() const {
    return m_bAutoNavi;
}

void CWebBrowserUI::SetWebBrowserHandler(IWebBrowserHandlerUI* handler) {
    m_pWebBrowserEventHandler = handler;
}

IWebBrowser2* CWebBrowserUI::GetWebBrowser2() const {
    return m_pWebBrowser2;
}

void CWebBrowserUI::Navigate2(LPCWSTR url) {
    if (url == nullptr || m_pWebBrowser2 == nullptr) {
        return;
    }
    VARIANT target;
    ::VariantInit(&target);
    target.vt = VT_BSTR;
    target.bstrVal = ::SysAllocString(url);
    if (target.bstrVal != nullptr) {
        m_pWebBrowser2->Navigate2(&target, nullptr, nullptr, nullptr, nullptr);
    }
    ::VariantClear(&target);
}

bool CWebBrowserUI::DoCreateControl() {
    if (!CActiveXUI::DoCreateControl()) {
        return false;
    }
    m_pManager->AddTranslateAccelerator(this);
    GetControl(IID_IWebBrowser2, reinterpret_cast<LPVOID*>(&m_pWebBrowser2));
    // The home page is asked for before the events are heard, so its first
    // events reach no handler.
    if (m_bAutoNavi && !m_sHomePage.IsEmpty()) {
        Navigate2(m_sHomePage.GetData());
    }
    AdviseEvents(true);
    return true;
}

// Everything that creation obtained goes, the hosted object included: a
// re-created browser must not keep the previous one alive.
void CWebBrowserUI::ReleaseControl() {
    m_bCreated = false;
    if (m_pManager != nullptr) {
        m_pManager->RemoveTranslateAccelerator(this);
    }
    if (m_dwCookie != 0) {
        AdviseEvents(false);
    }
    if (m_pWebBrowser2 != nullptr) {
        m_pWebBrowser2->Release();
        m_pWebBrowser2 = nullptr;
    }
    CActiveXUI::ReleaseControl();
}

HRESULT CWebBrowserUI::AdviseEvents(bool advise) {
    if (m_pUnk == nullptr) {
        return E_PENDING;
    }
    IWebBrowser2* browser = nullptr;
    HRESULT hr = m_pUnk->QueryInterface(IID_IWebBrowser2, reinterpret_cast<LPVOID*>(&browser));
    if (FAILED(hr) || browser == nullptr) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    IConnectionPointContainer* container = nullptr;
    hr = browser->QueryInterface(IID_IConnectionPointContainer,
                                 reinterpret_cast<LPVOID*>(&container));
    browser->Release();
    if (FAILED(hr) || container == nullptr) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    IConnectionPoint* point = nullptr;
    hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point);
    container->Release();
    if (FAILED(hr) || point == nullptr) {
        return FAILED(hr) ? hr : E_NOINTERFACE;
    }
    if (advise) {
        hr = point->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
    } else {
        hr = point->Unadvise(m_dwCookie);
        m_dwCookie = 0;
    }
    point->Release();
    return hr;
}

// Keys typed while the focus is in the browser's window (or one of its
// children) go to the browser first.
LRESULT CWebBrowserUI::TranslateAccelerator(MSG* pMsg) {
    if (pMsg == nullptr || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) {
        return S_FALSE;
    }
    if (m_pWebBrowser2 == nullptr) {
        return E_NOTIMPL;
    }
    bool inBrowser = false;
    for (HWND wnd = ::GetFocus(); wnd != nullptr && !inBrowser; wnd = ::GetParent(wnd)) {
        inBrowser = wnd == m_hwndHost;
    }
    if (!inBrowser) {
        return S_FALSE;
    }
    IOleInPlaceActiveObject* active = nullptr;
    if (FAILED(m_pWebBrowser2->QueryInterface(IID_IOleInPlaceActiveObject,
                                              reinterpret_cast<LPVOID*>(&active))) ||
        active == nullptr) {
        return S_FALSE;
    }
    const HRESULT hr = active->TranslateAccelerator(pMsg);
    active->Release();
    return hr;
}

HRESULT CWebBrowserUI::Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                                BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
                                UINT uiCP) {
    if (m_pWebBrowserEventHandler == nullptr) {
        return S_OK;
    }
    return m_pWebBrowserEventHandler->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo,
                                               pszHeaders, pszRedir, uiCP);
}

// IUnknown

STDMETHODIMP_(ULONG) CWebBrowserUI::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CWebBrowserUI::Release() {
    return static_cast<ULONG>(::InterlockedDecrement(&m_dwRef));
}

STDMETHODIMP CWebBrowserUI::QueryInterface(REFIID riid, LPVOID* ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IDocHostUIHandler) {
        *ppvObject = static_cast<IDocHostUIHandler*>(this);
    } else if (riid == IID_IDispatch) {
        *ppvObject = static_cast<IDispatch*>(this);
    } else if (riid == IID_IServiceProvider) {
        *ppvObject = static_cast<IServiceProvider*>(this);
    } else if (riid == IID_IOleCommandTarget) {
        *ppvObject = static_cast<IOleCommandTarget*>(this);
    }
    if (*ppvObject == nullptr) {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

} // namespace SkinUI
