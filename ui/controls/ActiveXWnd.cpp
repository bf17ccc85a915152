#include <windows.h>
#include <ole2.h>

#include "ui/controls/ActiveXWnd.h"

#include "ui/controls/ActiveXCtrl.h"
#include "ui/controls/ActiveXUI.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

CActiveXWnd::CActiveXWnd(CActiveXCtrl* owner) : m_pOwner(owner) {}

HWND CActiveXWnd::Init(HWND parent) {
    return Create(parent, L"UIActiveX", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  0, 0, 0, 0, 0, nullptr);
}

LPCWSTR CActiveXWnd::GetWindowClassName() const {
    return L"ActiveXWnd";
}

void CActiveXWnd::DoVerb(LONG verb) {
    CActiveXUI* const owner = m_pOwner->m_pOwner;
    if (owner == nullptr || owner->m_pUnk == nullptr) {
        return;
    }
    IOleClientSite* site = nullptr;
    m_pOwner->QueryInterface(IID_IOleClientSite, reinterpret_cast<LPVOID*>(&site));
    owner->m_pUnk->DoVerb(verb, nullptr, site, 0, m_hWnd, &owner->m_rcItem);
    if (site != nullptr) {
        site->Release();
    }
}

LRESULT CActiveXWnd::OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CActiveXUI* const owner = m_pOwner->m_pOwner;
    DWORD misc = 0;
    if (owner != nullptr && owner->m_pUnk != nullptr) {
        owner->m_pUnk->GetMiscStatus(DVASPECT_CONTENT, &misc);
    }
    if ((misc & OLEMISC_NOUIACTIVATE) != 0) {
        return 0;
    }
    if (!m_pOwner->m_bInPlaceActive) {
        DoVerb(OLEIVERB_INPLACEACTIVATE);
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CActiveXWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_SETFOCUS:
        m_pOwner->m_bFocused = true;
        if (!m_pOwner->m_bUIActivated) {
            DoVerb(OLEIVERB_UIACTIVATE);
        }
        break;
    case WM_KILLFOCUS:
        m_pOwner->m_bFocused = false;
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        ::BeginPaint(m_hWnd, &ps);
        ::EndPaint(m_hWnd, &ps);
        return 1;
    }
    case WM_ERASEBKGND:
        if (m_pOwner->m_pViewObject != nullptr) {
            return 1;
        }
        break;
    case WM_MOUSEACTIVATE:
        return OnMouseActivate(uMsg, wParam, lParam);
    case WM_MOUSEWHEEL:
        return 0;
    default:
        break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// The frame

CActiveXFrameWnd::CActiveXFrameWnd(CActiveXUI* owner)
    : m_dwRef(1), m_pOwner(owner), m_pActiveObject(nullptr) {}

CActiveXFrameWnd::~CActiveXFrameWnd() {
    if (m_pActiveObject != nullptr) {
        m_pActiveObject->Release();
    }
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXFrameWnd::Release() {
    const LONG count = ::InterlockedDecrement(&m_dwRef);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CActiveXFrameWnd::QueryInterface(REFIID riid, LPVOID* ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceUIWindow ||
        riid == IID_IOleInPlaceFrame) {
        *ppvObject = static_cast<IOleInPlaceFrame*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXFrameWnd::InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetMenu(HMENU, HOLEMENU, HWND) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RemoveMenus(HMENU) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetStatusText(LPCOLESTR) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::EnableModeless(BOOL) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::TranslateAccelerator(LPMSG, WORD) {
    return S_FALSE;
}

STDMETHODIMP CActiveXFrameWnd::GetWindow(HWND* phwnd) {
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) {
        return E_UNEXPECTED;
    }
    if (phwnd == nullptr) {
        return E_POINTER;
    }
    *phwnd = m_pOwner->GetManager()->GetPaintWindow();
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::ContextSensitiveHelp(BOOL) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::GetBorder(LPRECT) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::RequestBorderSpace(LPCBORDERWIDTHS) {
    return INPLACE_E_NOTOOLSPACE;
}

STDMETHODIMP CActiveXFrameWnd::SetBorderSpace(LPCBORDERWIDTHS) {
    return S_OK;
}

STDMETHODIMP CActiveXFrameWnd::SetActiveObject(IOleInPlaceActiveObject* pActiveObject, LPCOLESTR) {
    if (pActiveObject != nullptr) {
        pActiveObject->AddRef();
    }
    if (m_pActiveObject != nullptr) {
        m_pActiveObject->Release();
    }
    m_pActiveObject = pActiveObject;
    return S_OK;
}

// The enumerator

CActiveXEnum::CActiveXEnum(IUnknown* unknown) : m_iPos(0), m_dwRef(1), m_pUnk(unknown) {
    if (m_pUnk != nullptr) {
        m_pUnk->AddRef();
    }
}

CActiveXEnum::~CActiveXEnum() {
    if (m_pUnk != nullptr) {
        m_pUnk->Release();
    }
}

STDMETHODIMP_(ULONG) CActiveXEnum::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXEnum::Release() {
    const LONG count = ::InterlockedDecrement(&m_dwRef);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CActiveXEnum::QueryInterface(REFIID riid, LPVOID* ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IEnumUnknown) {
        *ppvObject = static_cast<IEnumUnknown*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP CActiveXEnum::Next(ULONG, IUnknown** rgelt, ULONG* pceltFetched) {
    if (pceltFetched != nullptr) {
        *pceltFetched = 0;
    }
    if (++m_iPos > 1 || m_pUnk == nullptr) {
        return S_FALSE;
    }
    if (rgelt == nullptr) {
        return E_POINTER;
    }
    *rgelt = m_pUnk;
    m_pUnk->AddRef();
    if (pceltFetched != nullptr) {
        *pceltFetched = 1;
    }
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Skip(ULONG celt) {
    m_iPos += static_cast<LONG>(celt);
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Reset() {
    m_iPos = 0;
    return S_OK;
}

STDMETHODIMP CActiveXEnum::Clone(IEnumUnknown**) {
    return E_NOTIMPL;
}

} // namespace SkinUI
