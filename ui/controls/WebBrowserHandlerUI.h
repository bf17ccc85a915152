#pragma once
#include <windows.h>
#include <docobj.h>
#include <mshtmhst.h>
#include <ole2.h>
#include <urlmon.h>

namespace SkinUI {

// What an application implements to hear the web browser's events and to
// answer its document's UI questions; every operation's default is what the
// browser control does without a handler.
class IWebBrowserHandlerUI {
public:
    virtual void BeforeNavigate2(IDispatch* /*pDisp*/, VARIANT*& /*url*/, VARIANT*& /*flags*/,
                                 VARIANT*& /*targetFrameName*/, VARIANT*& /*postData*/,
                                 VARIANT*& /*headers*/, VARIANT_BOOL*& /*cancel*/) {}
    virtual void NavigateError(IDispatch* /*pDisp*/, VARIANT*& /*url*/, VARIANT*& /*targetFrame*/,
                               VARIANT*& /*statusCode*/, VARIANT_BOOL*& /*cancel*/) {}
    virtual void NavigateComplete2(IDispatch* /*pDisp*/, VARIANT*& /*url*/) {}
    virtual void ProgressChange(LONG /*progress*/, LONG /*progressMax*/) {}
    virtual void NewWindow3(IDispatch** /*ppDisp*/, VARIANT_BOOL*& /*cancel*/, DWORD /*flags*/,
                            BSTR /*urlContext*/, BSTR /*url*/) {}
    virtual void CommandStateChange(long /*command*/, VARIANT_BOOL /*enable*/) {}

    // IDocHostUIHandler
    virtual HRESULT ShowContextMenu(DWORD, POINT*, IUnknown*, IDispatch*) { return S_FALSE; }
    virtual HRESULT GetHostInfo(DOCHOSTUIINFO*) { return E_NOTIMPL; }
    virtual HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*,
                           IOleInPlaceUIWindow*) {
        return S_OK;
    }
    virtual HRESULT HideUI() { return S_OK; }
    virtual HRESULT UpdateUI() { return S_OK; }
    virtual HRESULT EnableModeless(BOOL) { return E_NOTIMPL; }
    virtual HRESULT OnDocWindowActivate(BOOL) { return E_NOTIMPL; }
    virtual HRESULT OnFrameWindowActivate(BOOL) { return E_NOTIMPL; }
    virtual HRESULT ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return E_NOTIMPL; }
    virtual HRESULT TranslateAccelerator(LPMSG, const GUID*, DWORD) { return S_FALSE; }
    virtual HRESULT GetOptionKeyPath(LPOLESTR*, DWORD) { return E_NOTIMPL; }
    virtual HRESULT GetDropTarget(IDropTarget*, IDropTarget**) { return S_FALSE; }
    virtual HRESULT GetExternal(IDispatch**) { return S_FALSE; }
    virtual HRESULT TranslateUrl(DWORD, LPWSTR, LPWSTR* ppchURLOut) {
        if (ppchURLOut != nullptr) {
            *ppchURLOut = nullptr;
        }
        return E_NOTIMPL;
    }
    virtual HRESULT FilterDataObject(IDataObject*, IDataObject** ppDORet) {
        if (ppDORet != nullptr) {
            *ppDORet = nullptr;
        }
        return E_NOTIMPL;
    }

    // The download manager's request.
    virtual HRESULT Download(IMoniker*, IBindCtx*, DWORD, LONG, BINDINFO*, LPCOLESTR, LPCOLESTR,
                             UINT) {
        return S_OK;
    }

protected:
    ~IWebBrowserHandlerUI() = default;
};

} // namespace SkinUI
