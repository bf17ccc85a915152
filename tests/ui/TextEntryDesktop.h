#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/DialogBuilder.h"

#include "tests/ui/ControlsDesktop.h"

#include <string>

// The edit and date-time tests: skins built into the controls' test window,
// real input, and the platform windows laid over the controls, found by class.
namespace TextEntryTest {

using namespace ControlsTest;

inline NoticeLog Log;

// Builds the controls into a fresh root container of the window, lays them
// out and leaves nothing focused (the first paint focuses the first edit).
inline SkinUI::CContainerUI* Show(const std::wstring& controls) {
    [[maybe_unused]] static const bool listening = Host().pm.AddNotifyListener(&Log);
    Log.Clear();
    Log.onNotice = nullptr;
    const std::wstring skin =
        L"<Window><Container bkcolor=\"#FFF0F0F0\">" + controls + L"</Container></Window>";
    SkinUI::CDialogBuilder builder;
    CControlUI* root = builder.Create(skin.c_str(), nullptr, nullptr, &Host().pm);
    Host().pm.AttachRootControl(root);
    ::InvalidateRect(Host(), nullptr, FALSE);
    PumpFor(60);
    Host().pm.SetFocus(nullptr);
    PumpFor(30);
    EXPECT_TRUE(TakeKeyboard(Host()));
    return static_cast<SkinUI::CContainerUI*>(root);
}

template <typename T = CControlUI> T* Find(LPCWSTR name) {
    return dynamic_cast<T*>(Host().pm.FindControl(name));
}

inline HWND Native(LPCWSTR className) {
    return ::FindWindowExW(Host(), nullptr, className, nullptr);
}

// A click in the middle of the control, or fromRight pixels left of its right edge.
inline void ClickOn(LPCWSTR name, int fromRight = -1) {
    const RECT rc = Find(name)->GetPos();
    MoveTo(fromRight < 0 ? (rc.left + rc.right) / 2 : rc.right - fromRight,
           (rc.top + rc.bottom) / 2);
    LeftDown();
    LeftUp();
    PumpFor(60);
}

// Keys, or letters and digits as the keys a person presses.
inline void Type(const std::wstring& keys) {
    for (wchar_t key : keys) {
        Press(static_cast<WORD>(::towupper(key)));
        PumpFor(30);
    }
}

inline std::wstring TextOf(const CControlUI* control) {
    return control->GetText().GetData();
}

} // namespace TextEntryTest
