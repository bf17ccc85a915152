// The web browser control's answers to the browser: its event sink, the
// document's UI handler, the services it offers and the commands it takes.
#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include "ui/controls/WebBrowserUI.h"

namespace SkinUI {

namespace {

// The browser's event numbers.
constexpr DISPID kStatusTextChange = 102;
constexpr DISPID kCommandStateChange = 105;
constexpr DISPID kBeforeNavigate2 = 250;
constexpr DISPID kNavigateComplete2 = 252;
constexpr DISPID kNavigateError = 271;
constexpr DISPID kNewWindow3 = 273;

constexpr DWORD kShowScriptError = 40;
const GUID kDocHostCommandHandler = {
    0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0x00, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
const IID kCustomDoc = {
    0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
const GUID kDownloadManager = {
    0x988934A4, 0x064B, 0x11D3, {0xBB, 0x80, 0x00, 0x10, 0x4B, 0x35, 0xE7, 0xF9}};

// The event's arguments arrive last first; an event with fewer arguments
// than its kind has is not one the browser sends, and is refused.
bool HasArgs(const DISPPARAMS* params, UINT count) {
    return params != nullptr && params->rgvarg != nullptr && params->cArgs >= count;
}

template <class T> HRESULT Ask(IUnknown* from, REFIID iid, T*& to) {
    to = nullptr;
    if (from == nullptr) {
        return E_POINTER;
    }
    const HRESULT hr = from->QueryInterface(iid, reinterpret_cast<LPVOID*>(&to));
    return SUCCEEDED(hr) && to == nullptr ? E_NOINTERFACE : hr;
}

// Reads one property of the error event, as the browser's own dialog would.
HRESULT ReadProperty(IDispatch* event, LPCWSTR name) {
    DISPID id = 0;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    HRESULT hr = event->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
    if (FAILED(hr)) {
        return hr;
    }
    DISPPARAMS none = {};
    VARIANT value;
    ::VariantInit(&value);
    hr = event->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                       nullptr, nullptr);
    ::VariantClear(&value);
    return hr;
}

} // namespace

// IDispatch

STDMETHODIMP CWebBrowserUI::GetTypeInfoCount(UINT* iTInfo) {
    if (iTInfo != nullptr) {
        *iTInfo = 0;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetIDsOfNames(REFIID, OLECHAR**, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::Invoke(DISPID dispIdMember, REFIID riid, LCID, WORD,
                                   DISPPARAMS* pDispParams, VARIANT*, EXCEPINFO*, UINT*) {
    if (riid != IID_NULL) {
        return E_INVALIDARG;
    }
    IWebBrowserHandlerUI* const handler = m_pWebBrowserEventHandler;
    VARIANTARG* const a = pDispParams != nullptr ? pDispParams->rgvarg : nullptr;
    switch (dispIdMember) {
    case kStatusTextChange:
        return S_OK;
    case kCommandStateChange:
        if (!HasArgs(pDispParams, 2)) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (handler != nullptr) {
            handler->CommandStateChange(a[1].lVal, a[0].boolVal);
        }
        return S_OK;
    case kBeforeNavigate2:
        if (!HasArgs(pDispParams, 7)) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (handler != nullptr) {
            handler->BeforeNavigate2(a[6].pdispVal, a[5].pvarVal, a[4].pvarVal, a[3].pvarVal,
                                     a[2].pvarVal, a[1].pvarVal, a[0].pboolVal);
        }
        return S_OK;
    case kNavigateComplete2:
        if (!HasArgs(pDispParams, 2)) {
            return DISP_E_BADPARAMCOUNT;
        }
        SetDocumentUIHandler();
        if (handler != nullptr) {
            handler->NavigateComplete2(a[1].pdispVal, a[0].pvarVal);
        }
        return S_OK;
    case kNavigateError:
        if (!HasArgs(pDispParams, 5)) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (handler != nullptr) {
            handler->NavigateError(a[4].pdispVal, a[3].pvarVal, a[2].pvarVal, a[1].pvarVal,
                                   a[0].pboolVal);
        }
        return S_OK;
    case kNewWindow3:
        if (!HasArgs(pDispParams, 5)) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (handler != nullptr) {
            handler->NewWindow3(a[4].ppdispVal, a[3].pboolVal, a[2].ulVal, a[1].bstrVal,
                                a[0].bstrVal);
        }
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

// After each completed navigation the new document asks this control about
// its UI.
void CWebBrowserUI::SetDocumentUIHandler() {
    if (m_pWebBrowser2 == nullptr) {
        return;
    }
    IDispatch* document = nullptr;
    if (FAILED(m_pWebBrowser2->get_Document(&document)) || document == nullptr) {
        return;
    }
    ICustomDoc* custom = nullptr;
    if (SUCCEEDED(Ask(document, kCustomDoc, custom))) {
        custom->SetUIHandler(static_cast<IDocHostUIHandler*>(this));
        custom->Release();
    }
    document->Release();
}

// IDocHostUIHandler: the handler's answer, or the browser's own behaviour.

STDMETHODIMP CWebBrowserUI::ShowContextMenu(DWORD dwID, POINT* ppt, IUnknown* target,
                                            IDispatch* hit) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->ShowContextMenu(dwID, ppt, target, hit)
               : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetHostInfo(DOCHOSTUIINFO* pInfo) {
    return m_pWebBrowserEventHandler != nullptr ? m_pWebBrowserEventHandler->GetHostInfo(pInfo)
                                                : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                   IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                   IOleInPlaceUIWindow* pDoc) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->ShowUI(dwID, pActiveObject, pCommandTarget, pFrame,
                                                   pDoc)
               : S_OK;
}

STDMETHODIMP CWebBrowserUI::HideUI() {
    return m_pWebBrowserEventHandler != nullptr ? m_pWebBrowserEventHandler->HideUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::UpdateUI() {
    return m_pWebBrowserEventHandler != nullptr ? m_pWebBrowserEventHandler->UpdateUI() : S_OK;
}

STDMETHODIMP CWebBrowserUI::EnableModeless(BOOL fEnable) {
    return m_pWebBrowserEventHandler != nullptr ? m_pWebBrowserEventHandler->EnableModeless(fEnable)
                                                : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnDocWindowActivate(BOOL fActivate) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->OnDocWindowActivate(fActivate)
               : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::OnFrameWindowActivate(BOOL fActivate) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->OnFrameWindowActivate(fActivate)
               : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::ResizeBorder(LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow,
                                         BOOL fFrameWindow) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->ResizeBorder(prcBorder, pUIWindow, fFrameWindow)
               : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::TranslateAccelerator(LPMSG lpMsg, const GUID* pguidCmdGroup,
                                                 DWORD nCmdID) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->TranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID)
               : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetOptionKeyPath(LPOLESTR* pchKey, DWORD dw) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->GetOptionKeyPath(pchKey, dw)
               : E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) {
    return m_pWebBrowserEventHandler != nullptr
               ? m_pWebBrowserEventHandler->GetDropTarget(pDropTarget, ppDropTarget)
               : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::GetExternal(IDispatch** ppDispatch) {
    return m_pWebBrowserEventHandler != nullptr ? m_pWebBrowserEventHandler->GetExternal(ppDispatch)
                                                : S_FALSE;
}

STDMETHODIMP CWebBrowserUI::TranslateUrl(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) {
    if (m_pWebBrowserEventHandler != nullptr) {
        return m_pWebBrowserEventHandler->TranslateUrl(dwTranslate, pchURLIn, ppchURLOut);
    }
    if (ppchURLOut != nullptr) {
        *ppchURLOut = nullptr;
    }
    return E_NOTIMPL;
}

STDMETHODIMP CWebBrowserUI::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) {
    if (m_pWebBrowserEventHandler != nullptr) {
        return m_pWebBrowserEventHandler->FilterDataObject(pDO, ppDORet);
    }
    if (ppDORet != nullptr) {
        *ppDORet = nullptr;
    }
    return E_NOTIMPL;
}

// IServiceProvider

STDMETHODIMP CWebBrowserUI::QueryService(REFGUID guidService, REFIID riid, void** ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    *ppvObject = nullptr;
    if (guidService == kDownloadManager && riid == kDownloadManager) {
        *ppvObject = static_cast<IDownloadManager*>(&m_downloadManager);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

// The download manager shares the control's count.

STDMETHODIMP_(ULONG) CWebBrowserUI::CDownloadManager::AddRef() {
    return m_pOwner->AddRef();
}

STDMETHODIMP_(ULONG) CWebBrowserUI::CDownloadManager::Release() {
    return m_pOwner->Release();
}

STDMETHODIMP CWebBrowserUI::CDownloadManager::QueryInterface(REFIID riid, LPVOID* ppvObject) {
    if (ppvObject == nullptr) {
        return E_POINTER;
    }
    if (riid == IID_IUnknown || riid == kDownloadManager) {
        *ppvObject = static_cast<IDownloadManager*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP CWebBrowserUI::CDownloadManager::Download(IMoniker* pmk, IBindCtx* pbc,
                                                       DWORD dwBindVerb, LONG grfBINDF,
                                                       BINDINFO* pBindInfo, LPCOLESTR pszHeaders,
                                                       LPCOLESTR pszRedir, UINT uiCP) {
    return m_pOwner->Download(pmk, pbc, dwBindVerb, grfBINDF, pBindInfo, pszHeaders, pszRedir,
                              uiCP);
}

// IOleCommandTarget

STDMETHODIMP CWebBrowserUI::QueryStatus(const GUID*, ULONG, OLECMD[], OLECMDTEXT*) {
    return OLECMDERR_E_NOTSUPPORTED;
}

STDMETHODIMP CWebBrowserUI::Exec(const GUID* pguidCmdGroup, DWORD nCmdID, DWORD, VARIANT* pvaIn,
                                 VARIANT* pvaOut) {
    if (pguidCmdGroup == nullptr || *pguidCmdGroup != kDocHostCommandHandler) {
        return OLECMDERR_E_UNKNOWNGROUP;
    }
    if (nCmdID != kShowScriptError) {
        return OLECMDERR_E_NOTSUPPORTED;
    }
    const HRESULT hr = ReadScriptError(pvaIn);
    // Scripts keep running and no dialog is shown.
    if (pvaOut != nullptr) {
        ::VariantClear(pvaOut);
        pvaOut->vt = VT_BOOL;
        pvaOut->boolVal = VARIANT_TRUE;
    }
    return hr;
}

// The script error's details, read from the event of the document's window
// that the browser hands over; each step may be missing.
HRESULT CWebBrowserUI::ReadScriptError(VARIANT* pvaIn) {
    if (pvaIn == nullptr || (pvaIn->vt != VT_UNKNOWN && pvaIn->vt != VT_DISPATCH)) {
        return E_INVALIDARG;
    }
    IHTMLDocument2* document = nullptr;
    HRESULT hr = Ask(pvaIn->punkVal, IID_IHTMLDocument2, document);
    if (FAILED(hr)) {
        return hr;
    }
    IHTMLWindow2* window = nullptr;
    hr = document->get_parentWindow(&window);
    document->Release();
    if (FAILED(hr) || window == nullptr) {
        return FAILED(hr) ? hr : E_POINTER;
    }
    IHTMLEventObj* event = nullptr;
    hr = window->get_event(&event);
    window->Release();
    if (FAILED(hr) || event == nullptr) {
        return FAILED(hr) ? hr : E_POINTER;
    }
    IDispatch* dispatch = nullptr;
    hr = Ask(event, IID_IDispatch, dispatch);
    event->Release();
    if (FAILED(hr)) {
        return hr;
    }
    for (LPCWSTR name :
         {L"errorLine", L"errorCharacter", L"errorCode", L"errorMessage", L"errorUrl"}) {
        hr = ReadProperty(dispatch, name);
    }
    dispatch->Release();
    return hr;
}

} // namespace SkinUI
