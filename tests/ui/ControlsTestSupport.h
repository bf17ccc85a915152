#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/support/ChildSearch.h"

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

// A container for tests: owns its children and places each at its own
// rectangle relative to itself.
class HostBox : public CControlUI {
public:
    HostBox() { SetBkColor(kBackground); }
    ~HostBox() override {
        for (auto& child : children_) {
            delete child.first;
        }
    }

    template <typename T> T* Add(T* child, RECT place) {
        children_.emplace_back(child, place);
        if (GetManager() != nullptr) {
            GetManager()->InitControlTree(child, this);
            child->SetPos(Placed(place));
        }
        return child;
    }
    // Deletes a child now.
    void Delete(CControlUI* child) {
        for (auto it = children_.begin(); it != children_.end(); ++it) {
            if (it->first == child) {
                children_.erase(it);
                delete child;
                return;
            }
        }
    }

    LPCWSTR GetClass() const override { return L"HostBoxUI"; }
    void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) override {
        CControlUI::AttachManager(manager, parent, init);
        for (auto& child : children_) {
            child.first->AttachManager(manager, this, init);
        }
    }
    void SetPos(RECT rc) override {
        CControlUI::SetPos(rc);
        for (auto& child : children_) {
            child.first->SetPos(Placed(child.second));
        }
    }
    CControlUI* FindControl(SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags) override {
        return UiTest::FindInChildren(
            *this, static_cast<int>(children_.size()), [this](int n) { return children_[n].first; },
            proc, data, flags);
    }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        CControlUI::Paint(hDC, rcPaint);
        for (auto& child : children_) {
            child.first->Paint(hDC, rcPaint);
        }
    }

private:
    RECT Placed(RECT place) const {
        ::OffsetRect(&place, m_rcItem.left, m_rcItem.top);
        return place;
    }

    std::vector<std::pair<CControlUI*, RECT>> children_;
};

// The notices of a window in arrival order.
class NoticeLog : public SkinUI::INotifyUI {
public:
    struct Entry {
        std::wstring type;
        CControlUI* sender;
        std::wstring senderName; // taken at once: the sender may be gone later
        WPARAM wParam;
        LPARAM lParam;
    };

    void Notify(TNoticeUI& msg) override {
        entries.push_back(Entry{msg.sType.GetData(), msg.pSender,
                                msg.pSender != nullptr ? msg.pSender->GetName().GetData() : L"?",
                                msg.wParam, msg.lParam});
        if (onNotice) {
            onNotice(msg);
        }
    }
    // The entries of the given types only (focus notices and timers aside).
    std::vector<Entry> Of(std::initializer_list<const wchar_t*> types) const {
        std::vector<Entry> found;
        for (const Entry& e : entries) {
            for (const wchar_t* t : types) {
                if (e.type == t) {
                    found.push_back(e);
                    break;
                }
            }
        }
        return found;
    }
    int Count(const wchar_t* type, CControlUI* sender = nullptr) const {
        int n = 0;
        for (const Entry& e : entries) {
            n += (e.type == type && (sender == nullptr || e.sender == sender)) ? 1 : 0;
        }
        return n;
    }
    // "type@name" texts of the given types, for order checks.
    std::vector<std::wstring> Trail(std::initializer_list<const wchar_t*> types) const {
        std::vector<std::wstring> trail;
        for (const Entry& e : Of(types)) {
            trail.push_back(e.type + L"@" + e.senderName);
        }
        return trail;
    }
    void Clear() { entries.clear(); }

    std::vector<Entry> entries;
    void (*onNotice)(TNoticeUI&) = nullptr;
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
