#pragma once
#include <windows.h>
#include <ole2.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

namespace SkinUI {

class CActiveXCtrl;

// Places an OLE control (ActiveX) in the control tree (tag "ActiveX"): made
// from a class id or programmatic id, optionally straight from a named DLL,
// with this control as its container and site, and activated in place either
// windowless (it draws into the window's surface and gets the window's
// messages through the message filter) or windowed (in a child window that
// follows the control's rectangle). Creation waits for the first layout
// unless "delaycreate" is off.
class CActiveXUI : public CControlUI, public IMessageFilterUI {
    friend class CActiveXCtrl;
    friend class CActiveXWnd;

public:
    CActiveXUI();
    ~CActiveXUI() override;

    LPCWSTR GetClass() const override;
    // "ActiveX": the control; other names go to the control base.
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetVisibleByParent(bool visible) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

    // Virtual operations of the host, after the control base's.
    virtual void ReleaseControl();
    virtual bool DoCreateControl();

    // Windowless objects see the window's messages here.
    LRESULT FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // A class id in braces, or a programmatic id.
    bool CreateControl(LPCWSTR clsidOrProgId);
    bool CreateControl(const CLSID& clsid);
    void SetDelayCreate(bool delayCreate = true);
    bool IsDelayCreate() const;
    void SetModuleName(LPCWSTR moduleName);
    CUIString GetModuleName() const;
    CLSID GetClsid() const;
    HWND GetHostWindow() const;
    // E_POINTER for a null out pointer, E_PENDING before the object exists.
    HRESULT GetControl(const IID& iid, LPVOID* ppRet);

protected:
    // The item rectangle as the object sees it: window coordinates when
    // windowless, its own window's client coordinates when windowed.
    RECT ObjectRect() const;
    bool IsWindowedObject() const;
    IOleObject* CreateObject() const;

    CLSID m_clsid;
    CUIString m_sModuleName;
    bool m_bCreated;
    bool m_bDelayCreate;
    IOleObject* m_pUnk;
    CActiveXCtrl* m_pControl;
    HWND m_hwndHost;
};

} // namespace SkinUI
