// The test control: one object class for the three class ids. Calls the
// tests do not care about are stubs that only log their name.
#include <windows.h>
#include <ocidl.h>
#include <exdisp.h>
#include <mshtmhst.h>
#include <ole2.h>

#include "tests/ui/activex/TestControl.h"

#include <string>

namespace {

LONG g_live = 0;
const IID kCustomDoc = {
    0x3050F3F0, 0x98B5, 0x11CF, {0xBB, 0x82, 0x00, 0xAA, 0x00, 0xBD, 0xCE, 0x0B}};
std::string g_log;

HRESULT Note(const char* what, HRESULT result = S_OK) {
    g_log += what;
    g_log += ';';
    return result;
}

#define STUB(name, params)                                                                         \
    STDMETHOD(name) params override {                                                              \
        return Note(#name, E_NOTIMPL);                                                             \
    }

class Control : public IOleObject,
                public IOleControl,
                public IOleInPlaceObjectWindowless,
                public IViewObjectEx,
                public IPersistStreamInit {
public:
    explicit Control(const CLSID& clsid) : clsid_(clsid) { ::InterlockedIncrement(&g_live); }

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override {
        *out = nullptr;
        if (riid == IID_IUnknown || riid == IID_IOleObject) {
            *out = static_cast<IOleObject*>(this);
        } else if (riid == IID_IOleControl) {
            *out = static_cast<IOleControl*>(this);
        } else if (riid == IID_IOleInPlaceObject || riid == IID_IOleWindow ||
                   (riid == IID_IOleInPlaceObjectWindowless && Is(TestControl::kWindowless))) {
            *out = static_cast<IOleInPlaceObjectWindowless*>(this);
        } else if (riid == IID_IViewObject || riid == IID_IViewObject2 ||
                   riid == IID_IViewObjectEx) {
            *out = static_cast<IViewObjectEx*>(this);
        } else if (riid == IID_IPersistStreamInit) {
            *out = static_cast<IPersistStreamInit*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        if (--refs_ == 0) {
            delete this;
            return 0;
        }
        return refs_;
    }

    // IOleObject
    STDMETHOD(SetClientSite)(IOleClientSite* site) override {
        if (site != nullptr) {
            site->AddRef();
        }
        if (site_ != nullptr) {
            site_->Release();
        }
        site_ = site;
        return Note(site != nullptr ? "SetClientSite" : "SetClientSite(null)");
    }
    STDMETHOD(GetClientSite)(IOleClientSite** site) override {
        *site = site_;
        return S_OK;
    }
    STDMETHOD(SetHostNames)(LPCOLESTR, LPCOLESTR) override { return Note("SetHostNames"); }
    STDMETHOD(Close)(DWORD) override { return Note("Close"); }
    STDMETHOD(DoVerb)(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
        if (verb != OLEIVERB_INPLACEACTIVATE) {
            return Note("DoVerb(other)");
        }
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        if (FAILED(site->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                        reinterpret_cast<void**>(&inPlace)))) {
            return Note("DoVerb(no site)", E_FAIL);
        }
        HRESULT hr = S_OK;
        if (Is(TestControl::kWindowless) && inPlace->CanWindowlessActivate() == S_OK) {
            BOOL noRedraw = FALSE;
            hr = inPlace->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS);
        } else {
            hr = inPlace->OnInPlaceActivate();
        }
        HWND window = nullptr;
        inPlace->GetWindow(&window);
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT pos, clip;
        OLEINPLACEFRAMEINFO info = {};
        info.cb = sizeof info;
        if (SUCCEEDED(inPlace->GetWindowContext(&frame, &doc, &pos, &clip, &info)) && frame) {
            Note(info.haccel != nullptr ? "frame+accel" : "frame");
            frame->Release();
        }
        inPlace->Release();
        return Note(window != nullptr ? "activated" : "activated(no window)", hr);
    }
    STUB(SetMoniker, (DWORD, IMoniker*))
    STUB(GetMoniker, (DWORD, DWORD, IMoniker**))
    STUB(InitFromData, (IDataObject*, BOOL, DWORD))
    STUB(GetClipboardData, (DWORD, IDataObject**))
    STUB(EnumVerbs, (IEnumOLEVERB**))
    STUB(Update, ())
    STUB(IsUpToDate, ())
    STDMETHOD(GetUserClassID)(CLSID* clsid) override {
        *clsid = clsid_;
        return S_OK;
    }
    STUB(GetUserType, (DWORD, LPOLESTR*))
    STDMETHOD(SetExtent)(DWORD, SIZEL*) override { return Note("SetExtent"); }
    STUB(GetExtent, (DWORD, SIZEL*))
    STUB(Advise, (IAdviseSink*, DWORD*))
    STUB(Unadvise, (DWORD))
    STUB(EnumAdvise, (IEnumSTATDATA**))
    STDMETHOD(GetMiscStatus)(DWORD, DWORD* status) override {
        *status = 0;
        return S_OK;
    }
    STUB(SetColorScheme, (LOGPALETTE*))

    // IOleControl
    STUB(GetControlInfo, (CONTROLINFO*))
    STUB(OnMnemonic, (MSG*))
    STUB(OnAmbientPropertyChange, (DISPID))
    STUB(FreezeEvents, (BOOL))

    // IOleInPlaceObjectWindowless
    STUB(GetWindow, (HWND*))
    STUB(ContextSensitiveHelp, (BOOL))
    STDMETHOD(InPlaceDeactivate)() override { return Note("InPlaceDeactivate"); }
    STUB(UIDeactivate, ())
    STDMETHOD(SetObjectRects)(LPCRECT, LPCRECT) override { return Note("SetObjectRects"); }
    STUB(ReactivateAndUndo, ())
    STDMETHOD(OnWindowMessage)(UINT msg, WPARAM, LPARAM, LRESULT* result) override {
        IOleInPlaceSiteWindowless* inPlace = nullptr;
        if ((msg == WM_LBUTTONDOWN || msg == WM_LBUTTONUP) && site_ != nullptr &&
            SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                            reinterpret_cast<void**>(&inPlace)))) {
            inPlace->SetCapture(msg == WM_LBUTTONDOWN);
            inPlace->Release();
        }
        *result = 0;
        char text[32];
        wsprintfA(text, "msg%04X", msg);
        return Note(text);
    }
    STUB(GetDropTarget, (IDropTarget**))

    // IViewObjectEx
    STDMETHOD(Draw)
    (DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdc, LPCRECTL bounds, LPCRECTL,
     BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override {
        const RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
        const HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0));
        ::FillRect(hdc, &rc, red);
        ::DeleteObject(red);
        return S_OK;
    }
    STUB(GetColorSet, (DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**))
    STUB(Freeze, (DWORD, LONG, void*, DWORD*))
    STUB(Unfreeze, (DWORD))
    STUB(SetAdvise, (DWORD, DWORD, IAdviseSink*))
    STUB(GetAdvise, (DWORD*, DWORD*, IAdviseSink**))
    STUB(GetExtent, (DWORD, LONG, DVTARGETDEVICE*, LPSIZEL))
    STUB(GetRect, (DWORD, LPRECTL))
    STUB(GetViewStatus, (DWORD*))
    STDMETHOD(QueryHitPoint)(DWORD, LPCRECT rc, POINT pt, LONG, DWORD* hit) override {
        *hit = ::PtInRect(rc, pt) && pt.x < (rc->left + rc->right) / 2 ? HITRESULT_HIT
                                                                       : HITRESULT_OUTSIDE;
        return S_OK;
    }
    STUB(QueryHitRect, (DWORD, LPCRECT, LPCRECT, LONG, DWORD*))
    STUB(GetNaturalExtent, (DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL))

    // IPersistStreamInit
    STUB(GetClassID, (CLSID*))
    STUB(IsDirty, ())
    STUB(Load, (LPSTREAM))
    STUB(Save, (LPSTREAM, BOOL))
    STUB(GetSizeMax, (ULARGE_INTEGER*))
    STDMETHOD(InitNew)() override {
        return Note("InitNew", Is(TestControl::kFailsInit) ? E_FAIL : S_OK);
    }

protected:
    virtual ~Control() {
        if (site_ != nullptr) {
            site_->Release();
        }
        ::InterlockedDecrement(&g_live);
    }
    bool Is(const CLSID& clsid) const { return ::IsEqualCLSID(clsid_, clsid) != FALSE; }

    CLSID clsid_;
    ULONG refs_ = 1;
    IOleClientSite* site_ = nullptr;
};

class Browser;
Browser* g_browser = nullptr;

// The fake browser: the test control plus the browser's interfaces, its
// connection point (one sink), its document (itself) and its accelerators
// (it takes every key it is offered).
class Browser final : public Control,
                      public IWebBrowser2,
                      public IConnectionPointContainer,
                      public IConnectionPoint,
                      public ICustomDoc,
                      public IOleInPlaceActiveObject {
public:
    Browser() : Control(TestControl::kFakeBrowser) { g_browser = this; }

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override {
        if (riid == IID_IWebBrowser2 || riid == IID_IDispatch) {
            *out = static_cast<IWebBrowser2*>(this);
        } else if (riid == IID_IConnectionPointContainer) {
            *out = static_cast<IConnectionPointContainer*>(this);
        } else if (riid == kCustomDoc) {
            *out = static_cast<ICustomDoc*>(this);
        } else if (riid == IID_IOleInPlaceActiveObject) {
            *out = static_cast<IOleInPlaceActiveObject*>(this);
        } else {
            return Control::QueryInterface(riid, out);
        }
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return Control::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return Control::Release(); }

    HRESULT Fire(DISPID event) {
        if (sink_ == nullptr) {
            return E_FAIL;
        }
        VARIANT url;
        ::VariantInit(&url);
        VARIANT args[2];
        args[1].vt = VT_DISPATCH, args[1].pdispVal = static_cast<IWebBrowser2*>(this);
        args[0].vt = VT_BYREF | VT_VARIANT, args[0].pvarVal = &url;
        DISPPARAMS params = {args, nullptr, 2, 0};
        return sink_->Invoke(event, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                             nullptr);
    }

    // IWebBrowser2: navigation and the document; the rest only logs.
    STDMETHOD(Navigate2)(VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override {
        return Note("Navigate2");
    }
    STDMETHOD(get_Document)(IDispatch** document) override {
        *document = static_cast<IWebBrowser2*>(this);
        AddRef();
        return S_OK;
    }
    STUB(GetTypeInfoCount, (UINT*))
    STUB(GetTypeInfo, (UINT, LCID, ITypeInfo**))
    STUB(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))
    STUB(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
    STUB(GoBack, ())
    STUB(GoForward, ())
    STUB(GoHome, ())
    STUB(GoSearch, ())
    STUB(Navigate, (BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*))
    STUB(Refresh, ())
    STUB(Refresh2, (VARIANT*))
    STUB(Stop, ())
    STUB(get_Application, (IDispatch**))
    STUB(get_Parent, (IDispatch**))
    STUB(get_Container, (IDispatch**))
    STUB(get_TopLevelContainer, (VARIANT_BOOL*))
    STUB(get_Type, (BSTR*))
    STUB(get_Left, (LONG*))
    STUB(put_Left, (LONG))
    STUB(get_Top, (LONG*))
    STUB(put_Top, (LONG))
    STUB(get_Width, (LONG*))
    STUB(put_Width, (LONG))
    STUB(get_Height, (LONG*))
    STUB(put_Height, (LONG))
    STUB(get_LocationName, (BSTR*))
    STUB(get_LocationURL, (BSTR*))
    STUB(get_Busy, (VARIANT_BOOL*))
    STUB(Quit, ())
    STUB(ClientToWindow, (int*, int*))
    STUB(PutProperty, (BSTR, VARIANT))
    STUB(GetProperty, (BSTR, VARIANT*))
    STUB(get_Name, (BSTR*))
    STUB(get_HWND, (SHANDLE_PTR*))
    STUB(get_FullName, (BSTR*))
    STUB(get_Path, (BSTR*))
    STUB(get_Visible, (VARIANT_BOOL*))
    STUB(put_Visible, (VARIANT_BOOL))
    STUB(get_StatusBar, (VARIANT_BOOL*))
    STUB(put_StatusBar, (VARIANT_BOOL))
    STUB(get_StatusText, (BSTR*))
    STUB(put_StatusText, (BSTR))
    STUB(get_ToolBar, (int*))
    STUB(put_ToolBar, (int))
    STUB(get_MenuBar, (VARIANT_BOOL*))
    STUB(put_MenuBar, (VARIANT_BOOL))
    STUB(get_FullScreen, (VARIANT_BOOL*))
    STUB(put_FullScreen, (VARIANT_BOOL))
    STUB(QueryStatusWB, (OLECMDID, OLECMDF*))
    STUB(ExecWB, (OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*))
    STUB(ShowBrowserBar, (VARIANT*, VARIANT*, VARIANT*))
    STUB(get_ReadyState, (READYSTATE*))
    STUB(get_Offline, (VARIANT_BOOL*))
    STUB(put_Offline, (VARIANT_BOOL))
    STUB(get_Silent, (VARIANT_BOOL*))
    STUB(put_Silent, (VARIANT_BOOL))
    STUB(get_RegisterAsBrowser, (VARIANT_BOOL*))
    STUB(put_RegisterAsBrowser, (VARIANT_BOOL))
    STUB(get_RegisterAsDropTarget, (VARIANT_BOOL*))
    STUB(put_RegisterAsDropTarget, (VARIANT_BOOL))
    STUB(get_TheaterMode, (VARIANT_BOOL*))
    STUB(put_TheaterMode, (VARIANT_BOOL))
    STUB(get_AddressBar, (VARIANT_BOOL*))
    STUB(put_AddressBar, (VARIANT_BOOL))
    STUB(get_Resizable, (VARIANT_BOOL*))
    STUB(put_Resizable, (VARIANT_BOOL))

    // The connection point of the browser's events.
    STUB(EnumConnectionPoints, (IEnumConnectionPoints**))
    STDMETHOD(FindConnectionPoint)(REFIID, IConnectionPoint** point) override {
        *point = this;
        AddRef();
        return S_OK;
    }
    STUB(GetConnectionInterface, (IID*))
    STUB(GetConnectionPointContainer, (IConnectionPointContainer**))
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) override {
        sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&sink_));
        *cookie = 7;
        return Note("Advise");
    }
    STDMETHOD(Unadvise)(DWORD cookie) override {
        if (cookie != 7 || sink_ == nullptr) {
            return Note("Unadvise(wrong)", E_FAIL);
        }
        sink_->Release();
        sink_ = nullptr;
        return Note("Unadvise");
    }
    STUB(EnumConnections, (IEnumConnections**))

    // ICustomDoc
    STDMETHOD(SetUIHandler)(IDocHostUIHandler* handler) override {
        return Note(handler != nullptr ? "SetUIHandler" : "SetUIHandler(null)");
    }

    // IOleInPlaceActiveObject (its IOleWindow part is the control's)
    STUB(GetWindow, (HWND*))
    STUB(ContextSensitiveHelp, (BOOL))
    STDMETHOD(TranslateAccelerator)(MSG* msg) override {
        char text[40];
        wsprintfA(text, "TranslateAccelerator(%04X,%02X)", msg->message,
                  static_cast<unsigned>(msg->wParam));
        return Note(text);
    }
    STUB(OnFrameWindowActivate, (BOOL))
    STUB(OnDocWindowActivate, (BOOL))
    STUB(ResizeBorder, (LPCRECT, IOleInPlaceUIWindow*, BOOL))
    STUB(EnableModeless, (BOOL))

private:
    ~Browser() override { g_browser = nullptr; }

    IDispatch* sink_ = nullptr;
};

class Factory final : public IClassFactory {
public:
    explicit Factory(const CLSID& clsid) : clsid_(clsid) {}
    STDMETHOD(QueryInterface)(REFIID riid, void** out) override {
        *out = riid == IID_IUnknown || riid == IID_IClassFactory ? this : nullptr;
        return *out != nullptr ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        if (--refs_ == 0) {
            delete this;
            return 0;
        }
        return refs_;
    }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        Control* control = ::IsEqualCLSID(clsid_, TestControl::kFakeBrowser)
                               ? static_cast<Control*>(new Browser)
                               : new Control(clsid_);
        const HRESULT hr = control->QueryInterface(riid, out);
        control->Release();
        return hr;
    }
    STDMETHOD(LockServer)(BOOL) override { return S_OK; }

private:
    CLSID clsid_;
    ULONG refs_ = 1;
};

} // namespace

extern "C" {

__declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    *out = nullptr;
    if (!::IsEqualCLSID(clsid, TestControl::kWindowless) &&
        !::IsEqualCLSID(clsid, TestControl::kWindowed) &&
        !::IsEqualCLSID(clsid, TestControl::kFailsInit) &&
        !::IsEqualCLSID(clsid, TestControl::kFakeBrowser)) {
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    Factory* factory = new Factory(clsid);
    const HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
}

__declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return g_live == 0 ? S_OK : S_FALSE;
}

__declspec(dllexport) LONG WINAPI TestControlLiveObjects() {
    return g_live;
}

__declspec(dllexport) const char* WINAPI TestControlLog() {
    return g_log.c_str();
}

__declspec(dllexport) HRESULT WINAPI TestControlFire(DISPID event) {
    return g_browser != nullptr ? g_browser->Fire(event) : E_FAIL;
}

__declspec(dllexport) void WINAPI TestControlClearLog() {
    g_log.clear();
}
}
