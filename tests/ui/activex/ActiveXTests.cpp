#include <winsock2.h>
#include <windows.h>
#include <exdisp.h>
#include <mshtmhst.h>

#include "ui/ControlClassTable.h"
#include "ui/ContainerUI.h"
#include "ui/controls/ActiveXCtrl.h"
#include "ui/controls/WebBrowserUI.h"

#include "tests/support/DibSurface.h"
#include "tests/support/FileUtil.h"
#include "tests/ui/activex/TestControl.h"
#include "tests/ui/support/DesktopInput.h"
#include "tests/ui/support/DesktopPump.h"
#include "tests/ui/support/HostWindow.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;
using namespace UiTest;

namespace {

constexpr int kLeft = 80, kTop = 80, kWidth = 400, kHeight = 300;

struct Host : HostWindow {
    Host() : HostWindow(L"ActiveXTestHost") {}
};
SharedHost<Host>& g_host = AddSharedHost<Host>(L"activex test", kLeft, kTop, kWidth, kHeight);

std::wstring TestControlPath() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.rfind(L'\\') + 1) + L"ActiveXTestControl.dll";
}

std::wstring ClsidText(const CLSID& clsid) {
    wchar_t text[40] = {};
    ::StringFromGUID2(clsid, text, 40);
    return text;
}

// The test control's exports, from the copy the host loads.
struct TestDll {
    HMODULE module = ::LoadLibraryW(TestControlPath().c_str());
    template <class F> F Get(const char* name) const {
        return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
    }
    LONG Live() const { return Get<TestControl::LiveObjectsFunc>("TestControlLiveObjects")(); }
    std::string Log() const { return Get<TestControl::LogFunc>("TestControlLog")(); }
    void ClearLog() const { Get<TestControl::ClearLogFunc>("TestControlClearLog")(); }
};

class ActiveXTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ::OleInitialize(nullptr); }

    CWindowManagerUI& pm() { return g_host.Get().pm; }
    HWND hwnd() { return g_host.Get(); }

    // A root holding one ActiveX control of the class, at the window's left.
    template <class T = CActiveXUI>
    T* Show(const CLSID& clsid, bool byModule, LPCWSTR attributes = L"") {
        auto* root = new CContainerUI;
        auto* ax = new T;
        ax->ApplyAttribute(L"float", L"true");
        ax->ApplyAttribute(L"pos", L"0,0,200,100");
        ax->ApplyAttributeList(attributes);
        if (byModule) {
            ax->ApplyAttribute(L"modulename", TestControlPath().c_str());
        }
        ax->ApplyAttribute(L"clsid", ClsidText(clsid).c_str());
        root->Add(ax);
        dll.ClearLog();
        pm().AttachRootControl(root);
        ::InvalidateRect(hwnd(), nullptr, FALSE);
        ::UpdateWindow(hwnd());
        Pump();
        return ax;
    }
    void Clear() {
        pm().AttachRootControl(new CContainerUI);
        PumpFor(20);
    }
    bool Logged(const char* what) const { return dll.Log().find(what) != std::string::npos; }

    TestDll dll;
};

TEST_F(ActiveXTest, TagsNameBothControls) {
    for (LPCWSTR tag : {L"ActiveX", L"WebBrowser"}) {
        CControlUI* control = CreateControlByTag(tag);
        ASSERT_NE(control, nullptr);
        EXPECT_NE(control->QueryInterfaceByName(tag), nullptr);
        delete control;
    }
}

TEST_F(ActiveXTest, ClassTextsThatNameNoClassCreateNothing) {
    CActiveXUI ax;
    void* out = nullptr;
    EXPECT_EQ(ax.GetControl(IID_IOleObject, nullptr), E_POINTER);
    EXPECT_EQ(ax.GetControl(IID_IOleObject, &out), E_PENDING);
    for (LPCWSTR text : {L"No.Such.ProgId", L"{not a class id}", L""}) {
        EXPECT_FALSE(ax.CreateControl(text));
    }
    // Without a window manager nothing is created, even without delay.
    ax.SetDelayCreate(false);
    EXPECT_TRUE(ax.CreateControl(TestControl::kWindowless));
    EXPECT_EQ(ax.GetControl(IID_IOleObject, &out), E_PENDING);
}

TEST_F(ActiveXTest, WindowlessObjectPaintsIntoTheWindowAndGetsHitMouseMessages) {
    CActiveXUI* ax = Show(TestControl::kWindowless, true);
    EXPECT_TRUE(Logged("InitNew;SetClientSite;SetHostNames;")) << dll.Log();
    EXPECT_TRUE(Logged("frame+accel;activated;")) << dll.Log();
    EXPECT_EQ(ax->GetHostWindow(), hwnd());
    auto shot = CaptureClient(hwnd(), kWidth, kHeight);
    EXPECT_EQ(shot->Rgb(150, 50), 0xFF0000u);
    EXPECT_NE(shot->Rgb(250, 50), 0xFF0000u);

    // Left half: the object is hit; right half: the window keeps the click.
    dll.ClearLog();
    MoveScreen(kLeft + 150, kTop + 50);
    LeftDown();
    LeftUp();
    PumpFor(50);
    MoveScreen(kLeft + 50, kTop + 50);
    LeftDown();
    PumpFor(30);
    // While the object holds the capture it hears the mouse outside its hit.
    MoveScreen(kLeft + 180, kTop + 50);
    PumpFor(30);
    LeftUp();
    PumpFor(30);
    const std::string log = dll.Log();
    EXPECT_EQ(log.find("msg0201"), log.rfind("msg0201")) << log; // one press forwarded
    EXPECT_NE(log.find("msg0200", log.find("msg0201")), std::string::npos) << log;
    EXPECT_NE(log.find("msg0202"), std::string::npos) << log;
    Clear();
    EXPECT_EQ(dll.Live(), 0);
}

TEST_F(ActiveXTest, RegisteredWindowedObjectFollowsTheControlInAChildWindow) {
    const std::wstring key = L"CLSID\\" + ClsidText(TestControl::kWindowed) + L"\\InprocServer32";
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ,
                                TestControlPath().c_str(),
                                static_cast<DWORD>((TestControlPath().size() + 1) * 2)),
              ERROR_SUCCESS);
    CActiveXUI* ax = Show(TestControl::kWindowed, false);
    ::RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClsidText(TestControl::kWindowed)).c_str());
    const HWND child = ax->GetHostWindow();
    ASSERT_NE(child, nullptr);
    ASSERT_NE(child, hwnd());
    RECT rc;
    ::GetWindowRect(child, &rc);
    EXPECT_EQ(rc.right - rc.left, 200);
    EXPECT_EQ(rc.bottom - rc.top, 100);
    ax->SetVisible(false);
    EXPECT_FALSE(::IsWindowVisible(child));

    // The container's enumeration yields the one object once per reset.
    IOleClientSite* site = nullptr;
    IOleObject* object = nullptr;
    ASSERT_EQ(ax->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    object->GetClientSite(&site);
    IOleContainer* container = nullptr;
    ASSERT_EQ(site->GetContainer(&container), S_OK);
    IEnumUnknown* items = nullptr;
    ASSERT_EQ(container->EnumObjects(OLECONTF_EMBEDDINGS, &items), S_OK);
    for (int round = 0; round < 2; ++round) {
        IUnknown* item = nullptr;
        ULONG fetched = 0;
        EXPECT_EQ(items->Next(1, &item, &fetched), S_OK);
        EXPECT_EQ(fetched, 1u);
        item->Release();
        EXPECT_EQ(items->Next(1, &item, &fetched), S_FALSE);
        items->Reset();
    }
    items->Release();
    container->Release();
    object->Release();
    Clear();
    EXPECT_FALSE(::IsWindow(child));
    EXPECT_EQ(dll.Live(), 0);
}

// Away from its window's corner, a windowed object's child window stands at
// the control's place, and what the object draws through its site fills that
// window from its own corner.
TEST_F(ActiveXTest, WindowedObjectAwayFromTheCornerIsDrawnInItsOwnWindow) {
    CActiveXUI* ax = Show(TestControl::kWindowed, true, L"pos=\"60,50,260,150\"");
    const HWND child = ax->GetHostWindow();
    ASSERT_NE(child, nullptr);
    ASSERT_NE(child, hwnd());
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 60);
    EXPECT_EQ(rc.top, 50);
    EXPECT_EQ(rc.right, 260);
    EXPECT_EQ(rc.bottom, 150);
    IOleObject* object = nullptr;
    ASSERT_EQ(ax->GetControl(IID_IOleObject, reinterpret_cast<void**>(&object)), S_OK);
    IOleClientSite* site = nullptr; // the test control lends its site without a reference
    ASSERT_EQ(object->GetClientSite(&site), S_OK);
    EXPECT_EQ(site->ShowObject(), S_OK);
    object->Release();
    const auto shot = CaptureClient(child, 200, 100);
    for (const POINT pt : {POINT{1, 1}, POINT{100, 50}, POINT{198, 98}}) {
        EXPECT_EQ(shot->Rgb(pt.x, pt.y), 0xFF0000u) << pt.x << "," << pt.y;
    }
    Clear();
    EXPECT_EQ(dll.Live(), 0);
}

TEST_F(ActiveXTest, AFailedInitialisationLeavesNoObject) {
    CActiveXUI* ax = Show(TestControl::kFailsInit, true);
    void* out = nullptr;
    EXPECT_EQ(ax->GetControl(IID_IOleObject, &out), E_PENDING);
    EXPECT_FALSE(Logged("activated"));
    EXPECT_NE(CaptureClient(hwnd(), kWidth, kHeight)->Rgb(50, 50), 0xFF0000u);
    Clear();
    EXPECT_EQ(dll.Live(), 0);
}

// ---- Web browser ------------------------------------------------------------------

struct Recorder : IWebBrowserHandlerUI {
    std::string events;
    bool cancel = false;
    void BeforeNavigate2(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT*&,
                         VARIANT_BOOL*& c) override {
        events += "before;";
        *c = cancel ? VARIANT_TRUE : VARIANT_FALSE;
    }
    void NavigateError(IDispatch*, VARIANT*&, VARIANT*&, VARIANT*&, VARIANT_BOOL*&) override {
        events += "error;";
    }
    void NavigateComplete2(IDispatch*, VARIANT*&) override { events += "complete;"; }
    void NewWindow3(IDispatch**, VARIANT_BOOL*& c, DWORD flags, BSTR, BSTR url) override {
        events += "new " + std::to_string(flags) + " " + std::string(url, url + 2) + ";";
        *c = VARIANT_TRUE;
    }
};

// A loopback port that nothing listens on: one the system just handed out.
std::wstring ClosedPortUrl() {
    WSADATA wsa;
    ::WSAStartup(MAKEWORD(2, 2), &wsa);
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof addr;
    ::bind(s, reinterpret_cast<sockaddr*>(&addr), size);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &size);
    ::closesocket(s);
    return L"http://127.0.0.1:" + std::to_wstring(ntohs(addr.sin_port)) + L"/";
}

TEST_F(ActiveXTest, PlatformBrowserNavigatesThroughItsEvents) {
    for (const bool cancel : {false, true}) {
        Recorder recorder;
        recorder.cancel = cancel;
        auto* web = Show<CWebBrowserUI>(CLSID_WebBrowser, false);
        web->SetWebBrowserHandler(&recorder);
        ASSERT_NE(web->GetWebBrowser2(), nullptr);
        web->Navigate2(ClosedPortUrl().c_str());
        PumpUntil([&] { return recorder.events.find("error") != std::string::npos; },
                  cancel ? 1000 : 5000);
        PumpFor(200);
        EXPECT_EQ(recorder.events, cancel ? "before;" : "before;error;");
        Clear();
    }
}

TEST_F(ActiveXTest, BrowserAnswersItsDocumentAndServiceQuestions) {
    CWebBrowserUI web;
    Recorder recorder;
    void* out = nullptr;
    EXPECT_EQ(web.QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(web.QueryInterface(IID_IOleWindow, &out), E_NOINTERFACE);
    const GUID download = {
        0x988934A4, 0x064B, 0x11D3, {0xBB, 0x80, 0, 0x10, 0x4B, 0x35, 0xE7, 0xF9}};
    EXPECT_EQ(web.QueryService(download, download, &out), S_OK);
    EXPECT_EQ(web.QueryService(download, IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);

    // Script errors are taken over silently, whatever arrives.
    const GUID handler = {
        0xF38BC242, 0xB950, 0x11D1, {0x89, 0x18, 0, 0xC0, 0x4F, 0xC2, 0xC8, 0x36}};
    VARIANT in, result;
    ::VariantInit(&in);
    ::VariantInit(&result);
    EXPECT_EQ(web.Exec(&handler, OLECMDID_SHOWSCRIPTERROR, 0, nullptr, &result), E_INVALIDARG);
    EXPECT_EQ(result.vt, VT_BOOL);
    EXPECT_EQ(result.boolVal, VARIANT_TRUE);
    in.vt = VT_UNKNOWN;
    in.punkVal = static_cast<IDispatch*>(&web); // not a document
    EXPECT_EQ(web.Exec(&handler, OLECMDID_SHOWSCRIPTERROR, 0, &in, nullptr), E_NOINTERFACE);
    EXPECT_EQ(web.Exec(&handler, 41, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(web.Exec(nullptr, 40, 0, nullptr, nullptr), OLECMDERR_E_UNKNOWNGROUP);

    // New windows reach the handler, which may refuse them; short argument
    // lists are refused without reading past them.
    web.SetWebBrowserHandler(&recorder);
    VARIANT args[5];
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* newWindow = nullptr;
    BSTR url = ::SysAllocString(L"ab");
    args[4].vt = VT_BYREF | VT_DISPATCH, args[4].ppdispVal = &newWindow;
    args[3].vt = VT_BYREF | VT_BOOL, args[3].pboolVal = &cancel;
    args[2].vt = VT_I4, args[2].lVal = 6;
    args[1].vt = args[0].vt = VT_BSTR, args[1].bstrVal = args[0].bstrVal = url;
    DISPPARAMS params = {args, nullptr, 5, 0};
    EXPECT_EQ(web.Invoke(273, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(recorder.events, "new 6 ab;");
    EXPECT_EQ(cancel, VARIANT_TRUE);
    params.cArgs = 2;
    EXPECT_EQ(web.Invoke(273, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(web.Invoke(999, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    ::SysFreeString(url);
}

// What needs an HTML engine, against the test control's stand-in browser: the
// home page is asked for before the events are heard, each completed
// navigation makes the control the document's UI handler, and a re-created
// browser lets the previous one go.
TEST_F(ActiveXTest, BrowserBecomesTheUiHandlerOfEachDocument) {
    Recorder recorder;
    auto* web = Show<CWebBrowserUI>(TestControl::kFakeBrowser, true,
                                    L"homepage=\"about:home\" autonavi=\"true\"");
    web->SetWebBrowserHandler(&recorder);
    EXPECT_TRUE(Logged("Navigate2;Advise;")) << dll.Log();
    const auto fire = dll.Get<TestControl::FireFunc>("TestControlFire");
    ASSERT_EQ(fire(252), S_OK);
    EXPECT_TRUE(Logged("SetUIHandler;")) << dll.Log();
    EXPECT_EQ(recorder.events, "complete;");

    dll.ClearLog();
    ASSERT_TRUE(web->CreateControl(TestControl::kFakeBrowser));
    web->SetPos(web->GetPos());
    EXPECT_TRUE(Logged("Unadvise;")) << dll.Log();
    EXPECT_EQ(dll.Live(), 1);
    Clear();
    EXPECT_EQ(dll.Live(), 0);
}

// The home page is asked for only with "autonavi" and a page to go to.
TEST_F(ActiveXTest, BrowserGoesHomeOnlyWithAutoNavigateAndAPage) {
    const struct {
        LPCWSTR attributes;
        bool navigates;
    } cases[] = {
        {L"autonavi=\"true\"", false},
        {L"homepage=\"\" autonavi=\"true\"", false},
        {L"homepage=\"about:home\"", false},
        {L"homepage=\"about:home\" autonavi=\"true\"", true},
    };
    for (const auto& c : cases) {
        Show<CWebBrowserUI>(TestControl::kFakeBrowser, true, c.attributes);
        EXPECT_TRUE(Logged("Advise;")) << dll.Log();
        EXPECT_EQ(Logged("Navigate2;"), c.navigates) << TestSupport::ToUtf8(c.attributes);
        Clear();
    }
}

// Keys reach the browser first only while the focus is in its window; a
// browser that takes a key keeps it from the window.
TEST_F(ActiveXTest, BrowserTranslatesKeysOnlyWithTheFocusInItsWindow) {
    auto* web = Show<CWebBrowserUI>(TestControl::kFakeBrowser, true);
    const HWND browserWindow = web->GetHostWindow();
    ASSERT_NE(browserWindow, nullptr);
    MSG key = {hwnd(), WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    const struct {
        HWND focus;
        LRESULT result;
    } cases[] = {{hwnd(), S_FALSE}, {browserWindow, S_OK}};
    for (const auto& c : cases) {
        ::SetForegroundWindow(hwnd());
        ::SetFocus(c.focus);
        dll.ClearLog();
        Press('A');
        PumpFor(50);
        EXPECT_EQ(Logged("TranslateAccelerator(0100,41);"), c.result == S_OK) << dll.Log();
        EXPECT_EQ(web->TranslateAccelerator(&key), c.result);
    }
    MSG click = {hwnd(), WM_LBUTTONDOWN, 0, 0, 0, {0, 0}};
    EXPECT_EQ(web->TranslateAccelerator(&click), S_FALSE);
    ::SetFocus(hwnd());
    Clear();
    CWebBrowserUI unborn; // no browser yet
    EXPECT_EQ(unborn.TranslateAccelerator(&key), E_NOTIMPL);
}

} // namespace
