#pragma once
#include <windows.h>

namespace SkinUI {

// Binds one object to one native window: registers the class (or a
// superclass of a system class) named by the derived class, creates the
// window with the object as creation parameter and routes every message to
// HandleMessage. A plain class keeps the object in the window's user-data
// slot; a superclassed or subclassed window in the property "WndX".
class CWindowWnd {
public:
    CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const;
    operator HWND() const;

    bool RegisterWindowClass();
    bool RegisterSuperclass();

    HWND Create(HWND parent, LPCWSTR caption, DWORD style, DWORD exStyle, const RECT& rc,
                HMENU menu = nullptr);
    HWND Create(HWND parent, LPCWSTR caption, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT,
                HMENU menu = nullptr);
    // Takes over an existing window by replacing its procedure; null when
    // this object already has a window or the window belongs to another
    // object.
    HWND Subclass(HWND hWnd);
    void Unsubclass();
    void ShowWindow(bool show = true, bool takeFocus = true);
    void CenterWindow();
    void Close(UINT result = IDOK);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    virtual LPCWSTR GetWindowClassName() const = 0;
    virtual LPCWSTR GetSuperclassName() const;
    virtual UINT GetClassStyle() const;
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once after the window has processed its last message; objects
    // that own their lifetime delete themselves here.
    virtual void OnWindowDestroyed(HWND hWnd);

    // An object deleted while its window lives detaches from the window
    // first: later messages go to the previous procedure.
    virtual ~CWindowWnd();

protected:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;
    WNDPROC m_OldWndProc;
    bool m_bSubclassed;

private:
    // Registers the class (or superclass) unless this process has already
    // done so, and sets the procedure unhandled messages go to.
    bool EnsureClassRegistered();
    void Detach();
};

} // namespace SkinUI
