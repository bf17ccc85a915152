#pragma once
#include <windows.h>
#include <ole2.h>

#include "ui/WindowWnd.h"

namespace SkinUI {

class CActiveXCtrl;
class CActiveXUI;

// The child window of a windowed object; created by the site, destroyed and
// deleted by it.
class CActiveXWnd : public CWindowWnd {
public:
    explicit CActiveXWnd(CActiveXCtrl* owner);
    // Creates the window as a child of the owner's manager window.
    HWND Init(HWND parent);

    LPCWSTR GetWindowClassName() const override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    void DoVerb(LONG verb);
    LRESULT OnMouseActivate(UINT uMsg, WPARAM wParam, LPARAM lParam);

    CActiveXCtrl* m_pOwner;
};

// The in-place frame handed to the object: the manager's window, no tool
// space, and the object that is active in place.
class CActiveXFrameWnd : public IOleInPlaceFrame {
public:
    explicit CActiveXFrameWnd(CActiveXUI* owner);

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD(InsertMenus)(HMENU hmenuShared, LPOLEMENUGROUPWIDTHS lpMenuWidths) override;
    STDMETHOD(SetMenu)(HMENU hmenuShared, HOLEMENU holemenu, HWND hwndActiveObject) override;
    STDMETHOD(RemoveMenus)(HMENU hmenuShared) override;
    STDMETHOD(SetStatusText)(LPCOLESTR pszStatusText) override;
    STDMETHOD(EnableModeless)(BOOL fEnable) override;
    STDMETHOD(TranslateAccelerator)(LPMSG lpMsg, WORD wID) override;
    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(ContextSensitiveHelp)(BOOL fEnterMode) override;
    STDMETHOD(GetBorder)(LPRECT lprectBorder) override;
    STDMETHOD(RequestBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetBorderSpace)(LPCBORDERWIDTHS pborderwidths) override;
    STDMETHOD(SetActiveObject)
    (IOleInPlaceActiveObject* pActiveObject, LPCOLESTR pszObjName) override;

private:
    virtual ~CActiveXFrameWnd();

    LONG m_dwRef;
    CActiveXUI* m_pOwner;
    IOleInPlaceActiveObject* m_pActiveObject;
};

// The container's objects: only ever the one hosted object.
class CActiveXEnum : public IEnumUnknown {
public:
    explicit CActiveXEnum(IUnknown* unknown);

    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(QueryInterface)(REFIID riid, LPVOID* ppvObject) override;
    STDMETHOD(Next)(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) override;
    STDMETHOD(Skip)(ULONG celt) override;
    STDMETHOD(Reset)() override;
    STDMETHOD(Clone)(IEnumUnknown** ppenum) override;

private:
    virtual ~CActiveXEnum();

    LONG m_iPos;
    LONG m_dwRef;
    IUnknown* m_pUnk;
};

} // namespace SkinUI
