#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include "ui/controls/ActiveXUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/ActiveXCtrl.h"
#include "ui/controls/ActiveXWnd.h"
#include "ui/WindowManagerUI.h"

#include <cwchar>

namespace SkinUI {

namespace {

constexpr size_t kMaxClassText = 99;

bool Is(LPCWSTR name, LPCWSTR known) {
    return std::wcscmp(name, known) == 0;
}

// Pixels of the screen to HIMETRIC units, per axis.
SIZEL PixelsToHimetric(int cx, int cy) {
    const HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return SIZEL{::MulDiv(cx, 2540, dpiX), ::MulDiv(cy, 2540, dpiY)};
}

template <class T> void ReleaseAndClear(T*& p) {
    if (p != nullptr) {
        p->Release();
        p = nullptr;
    }
}

typedef HRESULT(__stdcall* DllGetClassObjectFunc)(REFCLSID, REFIID, LPVOID*);

} // namespace

CActiveXUI::CActiveXUI()
    : m_clsid(GUID_NULL), m_bCreated(false), m_bDelayCreate(true), m_pUnk(nullptr),
      m_pControl(nullptr), m_hwndHost(nullptr) {}

CActiveXUI::~CActiveXUI() {
    CActiveXUI::ReleaseControl();
}

LPCWSTR CActiveXUI::GetClass() const {
    return L"ActiveXUI";
}

LPVOID CActiveXUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && Is(name, L"ActiveX")) {
        return static_cast<CActiveXUI*>(this);
    }
    return CControlUI::QueryInterfaceByName(name);
}

HWND CActiveXUI::GetHostWindow() const {
    return m_hwndHost;
}

bool CActiveXUI::IsWindowedObject() const {
    return m_pControl != nullptr && !m_pControl->m_bWindowless;
}

RECT CActiveXUI::ObjectRect() const {
    RECT rc = m_rcItem;
    if (IsWindowedObject()) {
        ::OffsetRect(&rc, -rc.left, -rc.top);
    }
    return rc;
}

void CActiveXUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    if (!m_bCreated) {
        DoCreateControl();
    }
    if (m_pUnk == nullptr || m_pControl == nullptr) {
        return;
    }
    SIZEL extent = PixelsToHimetric(m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top);
    m_pUnk->SetExtent(DVASPECT_CONTENT, &extent);
    if (m_pControl->m_pInPlaceObject != nullptr) {
        const RECT objectRect = ObjectRect();
        m_pControl->m_pInPlaceObject->SetObjectRects(&objectRect, &objectRect);
    }
    if (IsWindowedObject() && m_pControl->m_pWindow != nullptr) {
        ::MoveWindow(m_pControl->m_pWindow->GetHWND(), m_rcItem.left, m_rcItem.top,
                     m_rcItem.right - m_rcItem.left, m_rcItem.bottom - m_rcItem.top, TRUE);
    }
}

void CActiveXUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    if (m_hwndHost != nullptr && IsWindowedObject()) {
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
    }
}

void CActiveXUI::SetVisibleByParent(bool visible) {
    CControlUI::SetVisibleByParent(visible);
    if (m_hwndHost != nullptr && IsWindowedObject()) {
        ::ShowWindow(m_hwndHost, IsVisible() ? SW_SHOW : SW_HIDE);
    }
}

void CActiveXUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name == nullptr) {
        return;
    }
    if (value == nullptr) {
        value = L"";
    }
    if (Is(name, L"clsid")) {
        CreateControl(value);
    } else if (Is(name, L"modulename")) {
        SetModuleName(value);
    } else if (Is(name, L"delaycreate")) {
        SetDelayCreate(ParseBoolValue(value));
    } else {
        CControlUI::ApplyAttribute(name, value);
    }
}

void CActiveXUI::Paint(HDC hDC, const RECT& rcPaint) {
    if (!::IntersectRect(&m_rcPaint, &rcPaint, &m_rcItem)) {
        return;
    }
    if (m_pControl == nullptr || !m_pControl->m_bWindowless ||
        m_pControl->m_pViewObject == nullptr) {
        return;
    }
    const RECTL bounds = {m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
    m_pControl->m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &bounds,
                                    nullptr, nullptr, 0);
}

void CActiveXUI::SetDelayCreate(bool delayCreate) {
    if (m_bDelayCreate == delayCreate) {
        return;
    }
    if (!delayCreate && !m_bCreated && !::IsEqualCLSID(m_clsid, GUID_NULL)) {
        DoCreateControl();
    }
    m_bDelayCreate = delayCreate;
}

bool CActiveXUI::IsDelayCreate() const {
    return m_bDelayCreate;
}

void CActiveXUI::SetModuleName(LPCWSTR moduleName) {
    m_sModuleName = moduleName;
}

CUIString CActiveXUI::GetModuleName() const {
    return m_sModuleName;
}

CLSID CActiveXUI::GetClsid() const {
    return m_clsid;
}

bool CActiveXUI::CreateControl(LPCWSTR clsidOrProgId) {
    if (clsidOrProgId == nullptr) {
        return false;
    }
    wchar_t text[kMaxClassText + 1] = {};
    std::wcsncpy(text, clsidOrProgId, kMaxClassText);
    CLSID clsid = GUID_NULL;
    const HRESULT hr =
        text[0] == L'{' ? ::CLSIDFromString(text, &clsid) : ::CLSIDFromProgID(text, &clsid);
    if (FAILED(hr)) {
        clsid = GUID_NULL;
    }
    return CreateControl(clsid);
}

bool CActiveXUI::CreateControl(const CLSID& clsid) {
    if (::IsEqualCLSID(clsid, GUID_NULL)) {
        return false;
    }
    m_clsid = clsid;
    m_bCreated = false;
    if (!m_bDelayCreate) {
        DoCreateControl();
    }
    return true;
}

HRESULT CActiveXUI::GetControl(const IID& iid, LPVOID* ppRet) {
    if (ppRet == nullptr) {
        return E_POINTER;
    }
    if (m_pUnk == nullptr) {
        return E_PENDING;
    }
    return m_pUnk->QueryInterface(iid, ppRet);
}

void CActiveXUI::ReleaseControl() {
    m_hwndHost = nullptr;
    if (m_pUnk != nullptr) {
        IObjectWithSite* withSite = nullptr;
        if (SUCCEEDED(m_pUnk->QueryInterface(IID_IObjectWithSite,
                                             reinterpret_cast<LPVOID*>(&withSite)))) {
            withSite->SetSite(nullptr);
            withSite->Release();
        }
        m_pUnk->Close(OLECLOSE_NOSAVE);
        m_pUnk->SetClientSite(nullptr);
        ReleaseAndClear(m_pUnk);
    }
    if (m_pControl != nullptr) {
        m_pControl->m_pOwner = nullptr;
        m_pControl->Release();
        m_pControl = nullptr;
    }
    if (m_pManager != nullptr) {
        m_pManager->RemoveMessageFilter(this);
    }
}

// From the named module without registration when it offers the class,
// else through the registration.
IOleObject* CActiveXUI::CreateObject() const {
    IOleControl* control = nullptr;
    if (!m_sModuleName.IsEmpty()) {
        const HMODULE module = ::LoadLibraryW(m_sModuleName.GetData());
        const auto getClassObject =
            module != nullptr ? reinterpret_cast<DllGetClassObjectFunc>(reinterpret_cast<void*>(
                                    ::GetProcAddress(module, "DllGetClassObject")))
                              : nullptr;
        IClassFactory* factory = nullptr;
        if (getClassObject != nullptr &&
            SUCCEEDED(
                getClassObject(m_clsid, IID_IClassFactory, reinterpret_cast<LPVOID*>(&factory))) &&
            factory != nullptr) {
            factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<LPVOID*>(&control));
            factory->Release();
        }
    }
    if (control == nullptr &&
        FAILED(::CoCreateInstance(m_clsid, nullptr, CLSCTX_ALL, IID_IOleControl,
                                  reinterpret_cast<LPVOID*>(&control)))) {
        return nullptr;
    }
    if (control == nullptr) {
        return nullptr;
    }
    IOleObject* object = nullptr;
    control->QueryInterface(IID_IOleObject, reinterpret_cast<LPVOID*>(&object));
    control->Release();
    return object;
}

bool CActiveXUI::DoCreateControl() {
    ReleaseControl();
    // Without a manager there is no window to activate in: the first
    // layout after the control is attached creates the object.
    if (m_pManager == nullptr) {
        return false;
    }
    m_bCreated = true;
    m_pUnk = CreateObject();
    if (m_pUnk == nullptr) {
        return false;
    }
    m_pControl = new CActiveXCtrl;
    m_pControl->m_pOwner = this;
    DWORD misc = 0;
    m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &misc);
    IOleClientSite* clientSite = nullptr;
    m_pControl->QueryInterface(IID_IOleClientSite, reinterpret_cast<LPVOID*>(&clientSite));
    if ((misc & OLEMISC_SETCLIENTSITEFIRST) != 0) {
        m_pUnk->SetClientSite(clientSite);
    }
    HRESULT hr = S_OK;
    IPersistStreamInit* persist = nullptr;
    if (SUCCEEDED(
            m_pUnk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<LPVOID*>(&persist)))) {
        hr = persist->InitNew();
        persist->Release();
        if (FAILED(hr)) {
            // A failed creation leaves no object behind; it is not retried
            // until the class changes.
            clientSite->Release();
            CActiveXUI::ReleaseControl();
            return false;
        }
    }
    if ((misc & OLEMISC_SETCLIENTSITEFIRST) == 0) {
        m_pUnk->SetClientSite(clientSite);
    }
    auto** view = reinterpret_cast<LPVOID*>(&m_pControl->m_pViewObject);
    hr = m_pUnk->QueryInterface(IID_IViewObjectEx, view);
    if (FAILED(hr)) {
        hr = m_pUnk->QueryInterface(IID_IViewObject2, view);
    }
    if (FAILED(hr)) {
        hr = m_pUnk->QueryInterface(IID_IViewObject, view);
    }
    m_pUnk->SetHostNames(OLESTR("UIActiveX"), nullptr);
    m_pManager->SendNotify(this, L"showactivex", 0, 0, false);
    if (m_pUnk == nullptr) { // released by a listener of the notice
        clientSite->Release();
        return false;
    }
    if ((misc & OLEMISC_INVISIBLEATRUNTIME) == 0) {
        hr = m_pUnk->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, clientSite, 0,
                            m_pManager->GetPaintWindow(), &m_rcItem);
    }
    IObjectWithSite* withSite = nullptr;
    if (m_pUnk != nullptr && SUCCEEDED(m_pUnk->QueryInterface(
                                 IID_IObjectWithSite, reinterpret_cast<LPVOID*>(&withSite)))) {
        withSite->SetSite(static_cast<IOleClientSite*>(m_pControl));
        withSite->Release();
    }
    clientSite->Release();
    return SUCCEEDED(hr);
}

// Windowless objects get the window's messages that concern them: mouse
// messages where they are hit (or while they hold the capture), keys while
// the control has the focus.
LRESULT CActiveXUI::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    if (m_pControl == nullptr || !m_pControl->m_bInPlaceActive ||
        m_pControl->m_pInPlaceObject == nullptr || !m_pControl->m_bWindowless) {
        return 0;
    }
    const bool mouse = uMsg >= WM_MOUSEFIRST && uMsg < 0x20E;
    if (mouse && !IsMouseEnabled()) {
        return 0;
    }
    bool keepUnhandled = false;
    if (mouse || uMsg == WM_SETCURSOR) {
        if (!m_pControl->m_bCaptured) {
            POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            // These two carry no client point: ask where the cursor is.
            if (uMsg == WM_SETCURSOR || uMsg == WM_MOUSEWHEEL) {
                ::GetCursorPos(&pt);
                ::ScreenToClient(m_pManager->GetPaintWindow(), &pt);
            }
            IViewObjectEx* viewEx = nullptr;
            if (m_pControl->m_pViewObject == nullptr ||
                FAILED(m_pControl->m_pViewObject->QueryInterface(
                    IID_IViewObjectEx, reinterpret_cast<LPVOID*>(&viewEx)))) {
                return 0;
            }
            DWORD hit = HITRESULT_OUTSIDE;
            viewEx->QueryHitPoint(DVASPECT_CONTENT, &m_rcItem, pt, 0, &hit);
            viewEx->Release();
            if (hit != HITRESULT_HIT) {
                return 0;
            }
        }
        keepUnhandled = uMsg == WM_SETCURSOR;
    } else if (uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST) {
        if (!IsFocused()) {
            return 0;
        }
    } else if (uMsg == WM_HELP || uMsg == WM_CONTEXTMENU) {
        keepUnhandled = true;
    } else {
        return 0;
    }
    LRESULT result = 0;
    auto* windowless = static_cast<IOleInPlaceObjectWindowless*>(m_pControl->m_pInPlaceObject);
    const HRESULT hr = windowless->OnWindowMessage(uMsg, wParam, lParam, &result);
    if (hr == S_OK && !keepUnhandled) {
        bHandled = true;
    }
    return result;
}

} // namespace SkinUI
