#pragma once
#include <windows.h>
#include <docobj.h>
#include <downloadmgr.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <servprov.h>

#include "ui/controls/ActiveXUI.h"
#include "ui/controls/WebBrowserHandlerUI.h"

namespace SkinUI {

// The platform's web browser control hosted through the ActiveX host (tag
// "WebBrowser"): navigates to a home page, sinks the browser's events, acts
// as the document's UI handler and command target (script errors are taken
// over silently), offers a download manager, and passes the keys pressed in
// the browser's window to it as accelerators. Events and UI questions go to
// the application's handler when it set one. The COM interfaces share one
// reference count that never deletes the control: the control tree owns it.
class CWebBrowserUI : public CActiveXUI,
                      public IDocHostUIHandler,
                      public IServiceProvider,
                      public IOleCommandTarget,
                      public IDispatch,
                      public ITranslateAccelerator {
public:
    CWebBrowserUI();
    ~CWebBrowserUI() override;

    LPCWSTR GetClass() const override;
    // "WebBrowser": the control; other names go to the ActiveX host.
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void ReleaseControl() override;
    bool DoCreateControl() override;
    virtual HRESULT Download(IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF,
                             BINDINFO* pBindInfo, LPCOLESTR pszHeaders, LPCOLESTR pszRedir,
                             UINT uiCP);

    void SetHomePage(LPCWSTR url);
    CUIString GetHomePage() const;
    void SetAutoNavigation(bool autoNavigate = true);
    bool IsAutoNavigation() const;
    void SetWebBrowserHandler(IWebBrowserHandlerUI* handler);
    void Navigate2(LPCWSTR url);
    IWebBrowser2* GetWebBrowser2() const;
    HRESULT AdviseEvents(bool advise);

    // ITranslateAccelerator: S_OK when the browser took the key.
    LRESULT TranslateAccelerator(MSG* pMsg) override;

    // IUnknown, shared by every interface.
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;

    // IDispatch: the browser's events.
    STDMETHOD(GetTypeInfoCount)(UINT* iTInfo) override;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHOD(GetIDsOfNames)
    (REFIID riid, OLECHAR** rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
     VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IDocHostUIHandler
    STDMETHOD(ShowContextMenu)
    (DWORD dwID, POINT* pptPosition, IUnknown* pCommandTarget,
     IDispatch* pDispatchObjectHit) override;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* pInfo) override;
    STDMETHOD(ShowUI)
    (DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
     IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
    STDMETHOD(HideUI)() override;
    STDMETHOD(UpdateUI)() override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(OnDocWindowActivate)(BOOL fActivate) override;
    STDMETHOD(OnFrameWindowActivate)(BOOL fActivate) override;
    STDMETHOD(ResizeBorder)
    (LPCRECT prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fFrameWindow) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, const GUID* pguidCmdGroup, DWORD nCmdID) override;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* pchKey, DWORD dwReserved) override;
    STDMETHOD(GetDropTarget)(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
    STDMETHOD(GetExternal)(IDispatch** ppDispatch) override;
    STDMETHOD(TranslateUrl)(DWORD dwTranslate, LPWSTR pchURLIn, LPWSTR* ppchURLOut) override;
    STDMETHOD(FilterDataObject)(IDataObject* pDO, IDataObject** ppDORet) override;

    // IServiceProvider
    STDMETHOD(QueryService)(REFGUID guidService, REFIID riid, void** ppvObject) override;

    // IOleCommandTarget
    STDMETHOD(QueryStatus)
    (const GUID* pguidCmdGroup, ULONG cCmds, OLECMD prgCmds[], OLECMDTEXT* pCmdText) override;
    STDMETHOD(Exec)
    (const GUID* pguidCmdGroup, DWORD nCmdID, DWORD nCmdexecopt, VARIANT* pvaIn,
     VARIANT* pvaOut) override;

protected:
    // The download manager that the browser asks for as a service.
    class CDownloadManager : public IDownloadManager {
    public:
        explicit CDownloadManager(CWebBrowserUI* owner) : m_pOwner(owner) {}
        STDMETHOD_(ULONG, AddRef)() override;
        STDMETHOD_(ULONG, Release)() override;
        STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
        STDMETHOD(Download)
        (IMoniker* pmk, IBindCtx* pbc, DWORD dwBindVerb, LONG grfBINDF, BINDINFO* pBindInfo,
         LPCOLESTR pszHeaders, LPCOLESTR pszRedir, UINT uiCP) override;

    private:
        CWebBrowserUI* m_pOwner;
    };

    void SetDocumentUIHandler();
    HRESULT ReadScriptError(VARIANT* pvaIn);

    IWebBrowser2* m_pWebBrowser2;
    LONG m_dwRef;
    DWORD m_dwCookie;
    CUIString m_sHomePage;
    bool m_bAutoNavi;
    IWebBrowserHandlerUI* m_pWebBrowserEventHandler;
    CDownloadManager m_downloadManager;
};

} // namespace SkinUI
