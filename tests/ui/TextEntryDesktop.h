#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"

#include "tests/ui/ControlsDesktop.h"

#include <string>

// The edit and date-time tests: skins built into the controls' test window,
// real input, the platform windows laid over the controls found by class.
namespace TextEntryTest {

using namespace ControlsTest;

inline NoticeLog& Log() {
    static NoticeLog* log = nullptr;
    if (log == nullptr) {
        log = new NoticeLog();
        Host().pm.AddNotifyListener(log);
    }
    return *log;
}

// Builds "<Window><Container name='box'>body</Container></Window>" as the
// window's new root and paints it.
inline SkinUI::CContainerUI* Show(const std::wstring& body) {
    Log().Clear();
    Log().onNotice = nullptr;
    const std::wstring skin =
        L"<Window><Container name=\"box\" bkcolor=\"#FFF0F0F0\">" + body + L"</Container></Window>";
    SkinUI::CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &Host().pm);
    Host().pm.AttachRootControl(root);
    ::InvalidateRect(Host(), nullptr, FALSE);
    PumpFor(60);
    // The first paint focused the first edit; each test starts with none.
    Host().pm.SetFocus(nullptr);
    PumpFor(30);
    ::UpdateWindow(Host());
    return static_cast<SkinUI::CContainerUI*>(root);
}

template <typename T> T* Find(LPCWSTR name) {
    return dynamic_cast<T*>(Host().pm.FindControl(name));
}

// The platform window of the given class over the host, or null.
inline HWND Native(LPCWSTR className) {
    return ::FindWindowExW(Host(), nullptr, className, nullptr);
}

inline void Click(POINT client) {
    MoveTo(client);
    LeftDown();
    LeftUp();
    PumpFor(60);
}

inline void Tap(WORD vk) {
    Press(vk);
    PumpFor(30);
}

// Letters and digits as the keys a person presses.
inline void Type(const wchar_t* text) {
    for (; *text != L'\0'; ++text) {
        Tap(static_cast<WORD>(::towupper(*text)));
    }
}

inline std::wstring TextOf(const CControlUI* control) {
    return control->GetText().GetData();
}

} // namespace TextEntryTest
