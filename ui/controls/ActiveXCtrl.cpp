#include <windows.h>
#include <ocidl.h>
#include <ole2.h>

#include "ui/controls/ActiveXCtrl.h"

#include "ui/WindowManagerUI.h"
#include "ui/controls/ActiveXUI.h"
#include "ui/controls/ActiveXWnd.h"

#include <new>

namespace SkinUI {

CActiveXCtrl::CActiveXCtrl()
    : m_dwRef(1), m_pOwner(nullptr), m_pWindow(nullptr), m_pUnkSite(nullptr),
      m_pViewObject(nullptr), m_pInPlaceObject(nullptr), m_hAccel(nullptr), m_bLocked(false),
      m_bFocused(false), m_bCaptured(false), m_bUIActivated(false), m_bInPlaceActive(false),
      m_bWindowless(true) {}

CActiveXCtrl::~CActiveXCtrl() {
    DestroyActiveXWnd();
    if (m_pUnkSite != nullptr) {
        m_pUnkSite->Release();
    }
    if (m_pViewObject != nullptr) {
        m_pViewObject->Release();
    }
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
    }
    if (m_hAccel != nullptr) {
        ::DestroyAcceleratorTable(m_hAccel);
    }
}

void CActiveXCtrl::DestroyActiveXWnd() {
    if (m_pWindow == nullptr) {
        return;
    }
    if (m_pWindow->GetHWND() != nullptr) {
        ::DestroyWindow(m_pWindow->GetHWND());
    }
    delete m_pWindow;
    m_pWindow = nullptr;
}

STDMETHODIMP_(ULONG) CActiveXCtrl::AddRef() {
    return static_cast<ULONG>(::InterlockedIncrement(&m_dwRef));
}

STDMETHODIMP_(ULONG) CActiveXCtrl::Release() {
    const LONG count = ::InterlockedDecrement(&m_dwRef);
    if (count == 0) {
        delete this;
    }
    return static_cast<ULONG>(count);
}

STDMETHODIMP CActiveXCtrl::QueryInterface(REFIID riid, LPVOID* ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleWindow || riid == IID_IOleInPlaceSite ||
        riid == IID_IOleInPlaceSiteEx || riid == IID_IOleInPlaceSiteWindowless) {
        *ppvObject = static_cast<IOleInPlaceSiteWindowless*>(this);
    } else if (riid == IID_IOleClientSite) {
        *ppvObject = static_cast<IOleClientSite*>(this);
    } else if (riid == IID_IOleControlSite) {
        *ppvObject = static_cast<IOleControlSite*>(this);
    } else if (riid == IID_IObjectWithSite) {
        *ppvObject = static_cast<IObjectWithSite*>(this);
    } else if (riid == IID_IOleContainer) {
        *ppvObject = static_cast<IOleContainer*>(this);
    }
    if (*ppvObject == nullptr) {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// IObjectWithSite

STDMETHODIMP CActiveXCtrl::SetSite(IUnknown* pUnkSite) {
    if (m_pUnkSite != nullptr) {
        m_pUnkSite->Release();
    }
    m_pUnkSite = pUnkSite;
    if (m_pUnkSite != nullptr) {
        m_pUnkSite->AddRef();
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetSite(REFIID riid, LPVOID* ppvSite) {
    if (ppvSite == nullptr) {
        return E_POINTER;
    }
    *ppvSite = nullptr;
    if (m_pUnkSite == nullptr) {
        return E_FAIL;
    }
    return m_pUnkSite->QueryInterface(riid, ppvSite);
}

// IOleClientSite

STDMETHODIMP CActiveXCtrl::SaveObject() {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetMoniker(DWORD, DWORD, IMoniker** ppmk) {
    if (ppmk != nullptr) {
        *ppmk = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::GetContainer(IOleContainer** ppContainer) {
    if (ppContainer == nullptr) {
        return E_POINTER;
    }
    *ppContainer = nullptr;
    HRESULT hr = E_NOTIMPL;
    if (m_pUnkSite != nullptr) {
        hr = m_pUnkSite->QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    }
    if (FAILED(hr)) {
        hr = QueryInterface(IID_IOleContainer, reinterpret_cast<LPVOID*>(ppContainer));
    }
    return hr;
}

STDMETHODIMP CActiveXCtrl::ShowObject() {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    // An object without a view draws itself: nothing to show here.
    if (m_pViewObject == nullptr) {
        return S_OK;
    }
    const HDC hDC = ::GetDC(m_pOwner->m_hwndHost);
    if (hDC == nullptr) {
        return E_FAIL;
    }
    // A windowed object draws into its own window, whose corner is the object's.
    const RECT item = m_pOwner->ObjectRect();
    const RECTL bounds = {item.left, item.top, item.right, item.bottom};
    m_pViewObject->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &bounds, nullptr,
                        nullptr, 0);
    ::ReleaseDC(m_pOwner->m_hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnShowWindow(BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::RequestNewObjectLayout() {
    return E_NOTIMPL;
}

// IOleInPlaceSiteWindowless

STDMETHODIMP CActiveXCtrl::CanWindowlessActivate() {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetCapture() {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    return m_bCaptured ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetCapture(BOOL fCapture) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    m_bCaptured = fCapture == TRUE;
    if (m_bCaptured) {
        ::SetCapture(m_pOwner->m_hwndHost);
    } else {
        ::ReleaseCapture();
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetFocus() {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    return m_bFocused ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXCtrl::SetFocus(BOOL fFocus) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (fFocus) {
        m_pOwner->SetFocus();
    }
    m_bFocused = fFocus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetDC(LPCRECT, DWORD grfFlags, HDC* phDC) {
    if (phDC == nullptr) {
        return E_POINTER;
    }
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    *phDC = ::GetDC(m_pOwner->m_hwndHost);
    if ((grfFlags & OLEDC_PAINTBKGND) != 0) {
        RECT rc = m_pOwner->m_rcItem;
        if (!m_bWindowless) {
            ::OffsetRect(&rc, -rc.left, -rc.top);
        }
        ::FillRect(*phDC, &rc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ReleaseDC(HDC hDC) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    ::ReleaseDC(m_pOwner->m_hwndHost, hDC);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::InvalidateRect(LPCRECT pRect, BOOL fErase) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (m_pOwner->m_hwndHost == nullptr) {
        return E_FAIL;
    }
    return ::InvalidateRect(m_pOwner->m_hwndHost, pRect, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::InvalidateRgn(HRGN hRGN, BOOL fErase) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (m_pOwner->m_hwndHost == nullptr) {
        return E_FAIL;
    }
    return ::InvalidateRgn(m_pOwner->m_hwndHost, hRGN, fErase) ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXCtrl::ScrollRect(INT, INT, LPCRECT, LPCRECT) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::AdjustRect(LPRECT) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnDefWindowMessage(UINT msg, WPARAM wParam, LPARAM lParam,
                                              LRESULT* plResult) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    const LRESULT result = ::DefWindowProcW(m_pOwner->m_hwndHost, msg, wParam, lParam);
    if (plResult != nullptr) {
        *plResult = result;
    }
    return S_OK;
}

// IOleInPlaceSiteEx

STDMETHODIMP CActiveXCtrl::OnInPlaceActivateEx(BOOL*, DWORD dwFlags) {
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr) {
        return E_UNEXPECTED;
    }
    IOleObject* const object = m_pOwner->m_pUnk;
    ::OleLockRunning(object, TRUE, FALSE);
    HRESULT hr = E_FAIL;
    if ((dwFlags & ACTIVATE_WINDOWLESS) != 0) {
        m_bWindowless = true;
        hr = object->QueryInterface(IID_IOleInPlaceObjectWindowless,
                                    reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
        CWindowManagerUI* const manager = m_pOwner->GetManager();
        m_pOwner->m_hwndHost = manager != nullptr ? manager->GetPaintWindow() : nullptr;
        if (manager != nullptr) {
            manager->AddMessageFilter(m_pOwner);
        }
    }
    if (FAILED(hr)) {
        m_bWindowless = false;
        hr = CreateActiveXWnd();
        if (FAILED(hr)) {
            return hr;
        }
        hr = object->QueryInterface(IID_IOleInPlaceObject,
                                    reinterpret_cast<LPVOID*>(&m_pInPlaceObject));
    }
    if (m_pInPlaceObject != nullptr) {
        const RECT rc = m_pOwner->ObjectRect();
        m_pInPlaceObject->SetObjectRects(&rc, &rc);
    }
    m_bInPlaceActive = SUCCEEDED(hr);
    return hr;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivateEx(BOOL) {
    m_bInPlaceActive = false;
    if (m_pInPlaceObject != nullptr) {
        m_pInPlaceObject->Release();
        m_pInPlaceObject = nullptr;
    }
    DestroyActiveXWnd();
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::RequestUIActivate() {
    return S_OK;
}

// IOleInPlaceSite

STDMETHODIMP CActiveXCtrl::CanInPlaceActivate() {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceActivate() {
    BOOL noRedraw = FALSE;
    return OnInPlaceActivateEx(&noRedraw, 0);
}

STDMETHODIMP CActiveXCtrl::OnUIActivate() {
    m_bUIActivated = true;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetWindowContext(IOleInPlaceFrame** ppFrame, IOleInPlaceUIWindow** ppDoc,
                                            LPRECT lprcPosRect, LPRECT lprcClipRect,
                                            LPOLEINPLACEFRAMEINFO lpFrameInfo) {
    if (ppDoc == nullptr || ppFrame == nullptr || lprcPosRect == nullptr ||
        lprcClipRect == nullptr) {
        return E_POINTER;
    }
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (m_pWindow != nullptr) {
        ::GetClientRect(m_pWindow->GetHWND(), lprcPosRect);
        ::GetClientRect(m_pWindow->GetHWND(), lprcClipRect);
    }
    *ppFrame = new CActiveXFrameWnd(m_pOwner);
    *ppDoc = nullptr;
    if (lpFrameInfo != nullptr) {
        if (m_hAccel == nullptr) {
            ACCEL accel = {};
            m_hAccel = ::CreateAcceleratorTableW(&accel, 1);
        }
        CWindowManagerUI* const manager = m_pOwner->GetManager();
        lpFrameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
        lpFrameInfo->fMDIApp = FALSE;
        lpFrameInfo->hwndFrame = manager != nullptr ? manager->GetPaintWindow() : nullptr;
        lpFrameInfo->haccel = m_hAccel;
        lpFrameInfo->cAccelEntries = 1;
    }
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::Scroll(SIZE) {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnUIDeactivate(BOOL) {
    m_bUIActivated = false;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::OnInPlaceDeactivate() {
    return OnInPlaceDeactivateEx(TRUE);
}

STDMETHODIMP CActiveXCtrl::DiscardUndoState() {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::DeactivateAndUndo() {
    return E_NOTIMPL;
}

STDMETHODIMP CActiveXCtrl::OnPosRectChange(LPCRECT) {
    return E_NOTIMPL;
}

// IOleWindow

STDMETHODIMP CActiveXCtrl::GetWindow(HWND* phwnd) {
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    if (m_pOwner->m_hwndHost == nullptr) {
        CreateActiveXWnd();
    }
    if (m_pOwner->m_hwndHost == nullptr) {
        return E_FAIL;
    }
    if (phwnd == nullptr) {
        return E_POINTER;
    }
    *phwnd = m_pOwner->m_hwndHost;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ContextSensitiveHelp(BOOL) {
    return S_OK;
}

// IOleControlSite

STDMETHODIMP CActiveXCtrl::OnControlInfoChanged() {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockInPlaceActive(BOOL) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::GetExtendedControl(IDispatch** ppDisp) {
    if (ppDisp == nullptr) {
        return E_POINTER;
    }
    if (m_pOwner == nullptr || m_pOwner->m_pUnk == nullptr) {
        return E_UNEXPECTED;
    }
    return m_pOwner->m_pUnk->QueryInterface(IID_IDispatch, reinterpret_cast<LPVOID*>(ppDisp));
}

STDMETHODIMP CActiveXCtrl::TransformCoords(POINTL*, POINTF*, DWORD) {
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::TranslateAccelerator(MSG*, DWORD) {
    return S_FALSE;
}

STDMETHODIMP CActiveXCtrl::OnFocus(BOOL fGotFocus) {
    m_bFocused = fGotFocus == TRUE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ShowPropertyFrame() {
    return E_NOTIMPL;
}

// IOleContainer

STDMETHODIMP CActiveXCtrl::EnumObjects(DWORD, IEnumUnknown** ppenum) {
    if (ppenum == nullptr) {
        return E_POINTER;
    }
    if (m_pOwner == nullptr) {
        return E_UNEXPECTED;
    }
    *ppenum = new CActiveXEnum(m_pOwner->m_pUnk);
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::LockContainer(BOOL fLock) {
    m_bLocked = fLock != FALSE;
    return S_OK;
}

STDMETHODIMP CActiveXCtrl::ParseDisplayName(IBindCtx*, LPOLESTR, ULONG*, IMoniker**) {
    return E_NOTIMPL;
}

HRESULT CActiveXCtrl::CreateActiveXWnd() {
    if (m_pWindow != nullptr) {
        return S_OK;
    }
    if (m_pOwner == nullptr || m_pOwner->GetManager() == nullptr) {
        return E_UNEXPECTED;
    }
    m_pWindow = new (std::nothrow) CActiveXWnd(this);
    if (m_pWindow == nullptr) {
        return E_OUTOFMEMORY;
    }
    m_pOwner->m_hwndHost = m_pWindow->Init(m_pOwner->GetManager()->GetPaintWindow());
    return m_pOwner->m_hwndHost != nullptr ? S_OK : E_FAIL;
}

} // namespace SkinUI
