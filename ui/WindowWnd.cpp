#include <windows.h>

#include "ui/WindowWnd.h"

#include "ui/SkinSourceUI.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace SkinUI {

namespace {

const wchar_t kObjectProperty[] = L"WndX";

bool Registered(ATOM atom) {
    return atom != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The classes this process has registered through Create, by module
// instance and name, with the procedure their windows pass unhandled
// messages to: a class is registered with the system once, however many
// windows of it follow. Windows may be created on several threads.
class RegisteredClasses {
public:
    bool Find(HINSTANCE instance, LPCWSTR name, WNDPROC& previous) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        const auto found = m_classes.find(Key{instance, name});
        if (found == m_classes.end()) {
            return false;
        }
        previous = found->second;
        return true;
    }

    void Add(HINSTANCE instance, LPCWSTR name, WNDPROC previous) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_classes[Key{instance, name}] = previous;
    }

private:
    using Key = std::pair<HINSTANCE, std::wstring>;
    std::mutex m_mutex;
    std::map<Key, WNDPROC> m_classes;
};

// Lives until the process ends: windows may still be made while static
// objects are destroyed.
RegisteredClasses& ProcessClasses() {
    static RegisteredClasses* const classes = new RegisteredClasses();
    return *classes;
}

} // namespace

CWindowWnd::CWindowWnd() : m_hWnd(nullptr), m_OldWndProc(::DefWindowProcW), m_bSubclassed(false) {}

CWindowWnd::~CWindowWnd() {
    Detach();
}

void CWindowWnd::Detach() {
    HWND hWnd = m_hWnd;
    m_hWnd = nullptr;
    if (hWnd == nullptr || !::IsWindow(hWnd)) {
        return;
    }
    if (m_bSubclassed) {
        m_hWnd = hWnd;
        Unsubclass();
        m_hWnd = nullptr;
    } else if (::GetPropW(hWnd, kObjectProperty) == this) {
        // A superclassed window goes on as a window of the system class.
        ::RemovePropW(hWnd, kObjectProperty);
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    } else if (::GetWindowLongPtrW(hWnd, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this)) {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
    }
}

HWND CWindowWnd::GetHWND() const {
    return m_hWnd;
}

CWindowWnd::operator HWND() const {
    return m_hWnd;
}

LPCWSTR CWindowWnd::GetSuperclassName() const {
    return nullptr;
}

UINT CWindowWnd::GetClassStyle() const {
    return 0;
}

LRESULT CWindowWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(m_OldWndProc, m_hWnd, message, wParam, lParam);
}

void CWindowWnd::OnWindowDestroyed(HWND) {}

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSW wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = CWindowWnd::WindowProc;
    wc.hInstance = CSkinSourceUI::GetInstance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    return Registered(::RegisterClassW(&wc));
}

bool CWindowWnd::RegisterSuperclass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    HINSTANCE instance = CSkinSourceUI::GetInstance();
    if (!::GetClassInfoExW(nullptr, GetSuperclassName(), &wc) &&
        !::GetClassInfoExW(instance, GetSuperclassName(), &wc)) {
        return false;
    }
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = CWindowWnd::ControlProc;
    wc.hInstance = instance;
    wc.lpszClassName = GetWindowClassName();
    return Registered(::RegisterClassExW(&wc));
}

bool CWindowWnd::EnsureClassRegistered() {
    const bool superclass = GetSuperclassName() != nullptr;
    const HINSTANCE instance = CSkinSourceUI::GetInstance();
    const LPCWSTR name = GetWindowClassName();
    // A class named by an atom is registered every time.
    const bool byName = name != nullptr && !IS_INTRESOURCE(name);
    WNDPROC previous = nullptr;
    if (byName && ProcessClasses().Find(instance, name, previous)) {
        m_OldWndProc = previous;
        return true;
    }
    if (!(superclass ? RegisterSuperclass() : RegisterWindowClass())) {
        return false;
    }
    if (byName) {
        ProcessClasses().Add(instance, name, m_OldWndProc);
    }
    return true;
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR caption, DWORD style, DWORD exStyle, const RECT& rc,
                        HMENU menu) {
    return Create(parent, caption, style, exStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, menu);
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR caption, DWORD style, DWORD exStyle, int x, int y,
                        int cx, int cy, HMENU menu) {
    // One object, one window.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        return nullptr;
    }
    if (!EnsureClassRegistered()) {
        return nullptr;
    }
    // The handle is stored on WM_NCCREATE. The object is not touched after
    // the call: a window whose creation fails is destroyed inside it, and an
    // object that owns its lifetime may be gone by then.
    return ::CreateWindowExW(exStyle, GetWindowClassName(), caption, style, x, y, cx, cy, parent,
                             menu, CSkinSourceUI::GetInstance(), this);
}

HWND CWindowWnd::Subclass(HWND hWnd) {
    if ((m_hWnd != nullptr && ::IsWindow(m_hWnd)) || !::IsWindow(hWnd) ||
        ::GetPropW(hWnd, kObjectProperty) != nullptr) {
        return nullptr;
    }
    if (!::SetPropW(hWnd, kObjectProperty, this)) {
        return nullptr;
    }
    const LONG_PTR previous = ::SetWindowLongPtrW(
        hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CWindowWnd::ControlProc));
    if (previous == 0) {
        ::RemovePropW(hWnd, kObjectProperty);
        return nullptr;
    }
    m_OldWndProc = reinterpret_cast<WNDPROC>(previous);
    m_bSubclassed = true;
    m_hWnd = hWnd;
    return hWnd;
}

void CWindowWnd::Unsubclass() {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd) || !m_bSubclassed) {
        return;
    }
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
    if (::GetPropW(m_hWnd, kObjectProperty) == this) {
        ::RemovePropW(m_hWnd, kObjectProperty);
    }
    m_OldWndProc = ::DefWindowProcW;
    m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return;
    }
    ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

void CWindowWnd::CenterWindow() {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return;
    }
    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(
        ::MonitorFromWindow(owner != nullptr ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT area = monitor.rcWork;
    RECT reference = area;
    if (owner != nullptr) {
        ::GetWindowRect(owner, &reference);
    }
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    int left = (reference.left + reference.right) / 2 - width / 2;
    int top = (reference.top + reference.bottom) / 2 - height / 2;
    if (left < area.left) {
        left = area.left;
    } else if (left + width > area.right) {
        left = area.right - width;
    }
    if (top < area.top) {
        top = area.top;
    } else if (top + height > area.bottom) {
        top = area.bottom - height;
    }
    ::SetWindowPos(m_hWnd, nullptr, left, top, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::Close(UINT result) {
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) {
        return;
    }
    ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(result), 0);
}

LRESULT CWindowWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

// Procedure of the classes registered by RegisterWindowClass.
LRESULT CALLBACK CWindowWnd::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = hWnd;
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (message == WM_NCDESTROY && self != nullptr) {
            const LRESULT result =
                ::CallWindowProcW(self->m_OldWndProc, hWnd, message, wParam, lParam);
            ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
            if (self->m_bSubclassed) {
                self->Unsubclass();
            }
            self->m_hWnd = nullptr;
            self->OnWindowDestroyed(hWnd);
            return result;
        }
    }
    if (self != nullptr) {
        return self->HandleMessage(message, wParam, lParam);
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

// Procedure of superclassed and subclassed windows.
LRESULT CALLBACK CWindowWnd::ControlProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (self != nullptr) {
            self->m_hWnd = hWnd;
            ::SetPropW(hWnd, kObjectProperty, self);
        }
    } else {
        self = static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty));
        if (message == WM_NCDESTROY && self != nullptr) {
            const LRESULT result =
                ::CallWindowProcW(self->m_OldWndProc, hWnd, message, wParam, lParam);
            if (self->m_bSubclassed) {
                self->Unsubclass();
            }
            ::RemovePropW(hWnd, kObjectProperty);
            self->m_hWnd = nullptr;
            self->OnWindowDestroyed(hWnd);
            return result;
        }
    }
    if (self != nullptr) {
        return self->HandleMessage(message, wParam, lParam);
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

} // namespace SkinUI
