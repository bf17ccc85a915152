// A stand-in for "msftedit.dll": the platform's text engine behind a thin
// wrapper that, when asked, hides the vertical scroll bar whenever the host
// narrows the view below a width, as some engines do while they lay the text
// out again. A test loads it by its path before any rich edit starts its
// engine; the rich edit's own load by name then finds this module.
#include <windows.h>

#include <richedit.h>
#include <textserv.h>

namespace {

const IID kIIDTextServices = {
    0x8D33F740, 0xCF58, 0x11CE, {0xA8, 0x9D, 0x00, 0xAA, 0x00, 0x6C, 0xAD, 0xC5}};

LONG g_hideBelowWidth = 0;

class StandInServices final : public ITextServices {
public:
    StandInServices(ITextServices* engine, ITextHost* host) : engine_(engine), host_(host) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (::IsEqualIID(riid, IID_IUnknown) || ::IsEqualIID(riid, kIIDTextServices)) {
            AddRef();
            *object = static_cast<ITextServices*>(this);
            return S_OK;
        }
        return engine_->QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG refs = --refs_;
        if (refs == 0) {
            engine_->Release();
            delete this;
        }
        return refs;
    }

    HRESULT TxSendMessage(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT* result) override {
        return engine_->TxSendMessage(msg, wparam, lparam, result);
    }
    HRESULT TxDraw(DWORD aspect, LONG index, void* pvAspect, DVTARGETDEVICE* ptd, HDC draw,
                   HDC target, LPCRECTL bounds, LPCRECTL wbounds, LPRECT update,
                   WINBOOL(CALLBACK* cont)(DWORD), DWORD contArg, LONG view) override {
        return engine_->TxDraw(aspect, index, pvAspect, ptd, draw, target, bounds, wbounds, update,
                               cont, contArg, view);
    }
    HRESULT TxGetHScroll(LONG* min, LONG* max, LONG* pos, LONG* page, WINBOOL* on) override {
        return engine_->TxGetHScroll(min, max, pos, page, on);
    }
    HRESULT TxGetVScroll(LONG* min, LONG* max, LONG* pos, LONG* page, WINBOOL* on) override {
        return engine_->TxGetVScroll(min, max, pos, page, on);
    }
    HRESULT OnTxSetCursor(DWORD aspect, LONG index, void* pvAspect, DVTARGETDEVICE* ptd, HDC draw,
                          HDC target, LPCRECT client, INT x, INT y) override {
        return engine_->OnTxSetCursor(aspect, index, pvAspect, ptd, draw, target, client, x, y);
    }
    HRESULT TxQueryHitPoint(DWORD aspect, LONG index, void* pvAspect, DVTARGETDEVICE* ptd, HDC draw,
                            HDC target, LPCRECT client, INT x, INT y, DWORD* hit) override {
        return engine_->TxQueryHitPoint(aspect, index, pvAspect, ptd, draw, target, client, x, y,
                                        hit);
    }
    HRESULT OnTxInPlaceActivate(LPCRECT client) override {
        return engine_->OnTxInPlaceActivate(client);
    }
    HRESULT OnTxInPlaceDeactivate() override { return engine_->OnTxInPlaceDeactivate(); }
    HRESULT OnTxUIActivate() override { return engine_->OnTxUIActivate(); }
    HRESULT OnTxUIDeactivate() override { return engine_->OnTxUIDeactivate(); }
    HRESULT TxGetText(BSTR* text) override { return engine_->TxGetText(text); }
    HRESULT TxSetText(LPCWSTR text) override { return engine_->TxSetText(text); }
    HRESULT TxGetCurTargetX(LONG* x) override { return engine_->TxGetCurTargetX(x); }
    HRESULT TxGetBaseLinePos(LONG* pos) override { return engine_->TxGetBaseLinePos(pos); }
    HRESULT TxGetNaturalSize(DWORD aspect, HDC draw, HDC target, DVTARGETDEVICE* ptd, DWORD mode,
                             const SIZEL* extent, LONG* width, LONG* height) override {
        return engine_->TxGetNaturalSize(aspect, draw, target, ptd, mode, extent, width, height);
    }
    HRESULT TxGetDropTarget(IDropTarget** target) override {
        return engine_->TxGetDropTarget(target);
    }
    HRESULT TxGetCachedSize(DWORD* width, DWORD* height) override {
        return engine_->TxGetCachedSize(width, height);
    }

    // The view's new size: below the width, the bar goes.
    HRESULT OnTxPropertyBitsChange(DWORD mask, DWORD bits) override {
        const HRESULT hr = engine_->OnTxPropertyBitsChange(mask, bits);
        RECT client = {};
        if ((mask & TXTBIT_VIEWINSETCHANGE) != 0 && g_hideBelowWidth > 0 &&
            SUCCEEDED(host_->TxGetClientRect(&client)) &&
            client.right - client.left < g_hideBelowWidth) {
            host_->TxShowScrollBar(SB_VERT, FALSE);
        }
        return hr;
    }

private:
    ITextServices* engine_;
    ITextHost* host_;
    ULONG refs_ = 1;
};

} // namespace

// 0 leaves the bar to the engine.
extern "C" __declspec(dllexport) void WINAPI HideVerticalBarBelowWidth(LONG width) {
    g_hideBelowWidth = width;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    CreateTextServices(IUnknown* outer, ITextHost* host, IUnknown** result) {
    if (result == nullptr) {
        return E_INVALIDARG;
    }
    *result = nullptr;
    HMODULE module = ::LoadLibraryW(L"riched20.dll");
    const auto create = module != nullptr
                            ? reinterpret_cast<PCreateTextServices>(reinterpret_cast<void*>(
                                  ::GetProcAddress(module, "CreateTextServices")))
                            : nullptr;
    if (create == nullptr) {
        return E_FAIL;
    }
    IUnknown* unknown = nullptr;
    HRESULT hr = create(outer, host, &unknown);
    if (FAILED(hr) || unknown == nullptr) {
        return FAILED(hr) ? hr : E_FAIL;
    }
    void* engine = nullptr;
    hr = unknown->QueryInterface(kIIDTextServices, &engine);
    unknown->Release();
    if (FAILED(hr) || engine == nullptr) {
        return FAILED(hr) ? hr : E_FAIL;
    }
    *result = new StandInServices(static_cast<ITextServices*>(engine), host);
    return S_OK;
}
