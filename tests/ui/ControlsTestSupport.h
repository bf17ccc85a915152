#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/support/ProbeControls.h"

#include "tests/support/ImageFiles.h"
#include "tests/support/ZipWriter.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ControlsTest {

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;
using SkinUI::TNoticeUI;

// Colours of the state images in the skin archive (opaque ARGB).
constexpr uint32_t kNormal = 0xFF808080;
constexpr uint32_t kHot = 0xFFFFD700;
constexpr uint32_t kPushed = 0xFFC00000;
constexpr uint32_t kFocused = 0xFF0000C0;
constexpr uint32_t kDisabled = 0xFF404040;
constexpr uint32_t kFore = 0xFFFF00FF;
constexpr uint32_t kHotFore = 0xFF00FFFF;
constexpr uint32_t kSelected = 0xFF00A000;
constexpr uint32_t kSelectedHot = 0xFF008080;
constexpr uint32_t kThumb = 0xFF000080;
constexpr uint32_t kThumbHot = 0xFFFF8000;
constexpr uint32_t kThumbPushed = 0xFF800080;
constexpr uint32_t kBackground = 0xFFF0F0F0;
// The progress image is 200 x 12 with red = x, green 0x40, blue 0x80.
constexpr int kRampWidth = 200;

inline std::string SolidPng(uint32_t argb, int w = 8, int h = 8) {
    return TestSupport::EncodePng(TestSupport::ArgbImage(w, h, argb));
}

inline std::string RampPng() {
    TestSupport::ArgbImage ramp(kRampWidth, 12);
    for (int y = 0; y < ramp.height; ++y) {
        for (int x = 0; x < ramp.width; ++x) {
            ramp.At(x, y) = 0xFF004080u | (static_cast<uint32_t>(x) << 16);
        }
    }
    return TestSupport::EncodePng(ramp);
}

// Puts the archive of state images in place as the process's skin archive
// (it stays for the life of the process, so every test program calls this
// once before anything draws).
inline void UseStateImageArchive() {
    static const std::string bytes = TestSupport::ZipWriter()
                                         .AddFile("normal.png", SolidPng(kNormal))
                                         .AddFile("hot.png", SolidPng(kHot))
                                         .AddFile("pushed.png", SolidPng(kPushed))
                                         .AddFile("focused.png", SolidPng(kFocused))
                                         .AddFile("disabled.png", SolidPng(kDisabled))
                                         .AddFile("fore.png", SolidPng(kFore))
                                         .AddFile("hotfore.png", SolidPng(kHotFore))
                                         .AddFile("selected.png", SolidPng(kSelected))
                                         .AddFile("selhot.png", SolidPng(kSelectedHot))
                                         .AddFile("thumb.png", SolidPng(kThumb))
                                         .AddFile("thumbhot.png", SolidPng(kThumbHot))
                                         .AddFile("thumbpushed.png", SolidPng(kThumbPushed))
                                         .AddFile("ramp.png", RampPng())
                                         .Bytes();
    CWindowManagerUI::SetResourceZip(const_cast<char*>(bytes.data()),
                                     static_cast<unsigned int>(bytes.size()));
}

using UiTest::NoticeLog;
using UiTest::Parent;

// The root of a desktop test's controls: each child at its own rectangle,
// over the tests' background.
class HostBox : public Parent {
public:
    HostBox() { SetBkColor(kBackground); }
};

inline POINT CenterPoint(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

// A synthetic event for driving a control directly.
inline TInputEventUI MakeEvent(int type, CControlUI* control, POINT pt = POINT{0, 0},
                               WPARAM wParam = 0, wchar_t key = 0) {
    TInputEventUI event = {};
    event.Type = type;
    event.pSender = control;
    event.dwTimestamp = ::GetTickCount();
    event.ptMouse = pt;
    event.chKey = key;
    event.wParam = wParam;
    return event;
}

inline void Fire(CControlUI* control, int type, POINT pt = POINT{0, 0}, WPARAM wParam = 0,
                 wchar_t key = 0) {
    TInputEventUI event = MakeEvent(type, control, pt, wParam, key);
    control->DispatchEvent(event);
}

} // namespace ControlsTest
