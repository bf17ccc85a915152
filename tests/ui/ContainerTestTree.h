#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"
#include "ui/ControlUI.h"
#include "ui/controls/ScrollBarUI.h"

#include "tests/ui/support/ProbeControls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cwchar>
#include <string>
#include <vector>

namespace ContainerTest {

using SkinUI::CContainerUI;
using SkinUI::CControlUI;
using SkinUI::CScrollBarUI;
using SkinUI::TInputEventUI;

// A probe leaf for container trees that also counts its SetPos calls,
// answers "ListItem" when asked to, and can be given a fixed height for the
// stacking layout below.
class Leaf : public UiTest::Probe {
public:
    explicit Leaf(const wchar_t* name = L"", int height = 0) : Probe(name) {
        if (height > 0) {
            SetFixedHeight(height);
        }
    }
    LPVOID QueryInterfaceByName(LPCWSTR name) override {
        if (listItem && std::wcscmp(name, L"ListItem") == 0) {
            return this;
        }
        return Probe::QueryInterfaceByName(name);
    }
    void SetPos(RECT rc) override {
        ++setPosCalls;
        Probe::SetPos(rc);
    }
    bool VisibleByParent() const { return m_bInternVisible; }

    bool listItem = false;
    int setPosCalls = 0;
};

// A container that records how it is driven: Remove calls, SetPos calls and
// the events that reached it.
class WatchedContainer : public CContainerUI {
public:
    explicit WatchedContainer(const wchar_t* name = L"") { SetName(name); }
    ~WatchedContainer() override {
        if (deleted != nullptr) {
            *deleted = true;
        }
    }
    bool Remove(CControlUI* control) override {
        ++removeCalls;
        return CContainerUI::Remove(control);
    }
    void SetPos(RECT rc) override {
        ++setPosCalls;
        CContainerUI::SetPos(rc);
    }
    void HandleEvent(TInputEventUI& event) override {
        events.push_back(event.Type);
        CContainerUI::HandleEvent(event);
    }
    RECT Inset() const { return m_rcInset; }

    bool* deleted = nullptr;
    int removeCalls = 0;
    int setPosCalls = 0;
    std::vector<int> events;
};

// The least a scrolling layout does: children one under the other at their
// fixed heights (scrolled by the bars' positions), then the bars updated with
// the content's height. The real layouts are tested on their own.
class StackLayout : public WatchedContainer {
public:
    explicit StackLayout(const wchar_t* name = L"") : WatchedContainer(name) {}

    void SetPos(RECT rc) override {
        ++setPosCalls;
        CControlUI::SetPos(rc);
        const RECT inner = GetInnerRect();
        const SIZE scroll = GetScrollPos();
        long long y = static_cast<long long>(inner.top) - scroll.cy;
        long long needed = 0;
        for (int i = 0; i < GetCount(); ++i) {
            CControlUI* child = GetItemAt(i);
            if (!child->IsVisible()) {
                continue;
            }
            if (child->IsFloating()) {
                PlaceFloatingChild(i);
                continue;
            }
            const int h = child->GetFixedHeight();
            const auto clamp = [](long long v) {
                return static_cast<LONG>(
                    std::min<long long>(std::max<long long>(v, INT_MIN), INT_MAX));
            };
            child->SetPos(
                RECT{inner.left - scroll.cx, clamp(y), inner.right - scroll.cx, clamp(y + h)});
            y += h;
            needed += h;
        }
        UpdateScrollBars(inner, 0, static_cast<int>(std::min<long long>(needed, INT_MAX)));
    }
};

inline RECT Rect(int left, int top, int right, int bottom) {
    return RECT{left, top, right, bottom};
}

using UiTest::SameRect;

inline std::string Show(const RECT& rc) {
    return "(" + std::to_string(rc.left) + "," + std::to_string(rc.top) + "," +
           std::to_string(rc.right) + "," + std::to_string(rc.bottom) + ")";
}

// An input event as the manager would hand it over.
inline TInputEventUI Event(int type, POINT pt = POINT{0, 0}, WPARAM wParam = 0, wchar_t key = 0) {
    TInputEventUI event = {};
    event.Type = type;
    event.ptMouse = pt;
    event.wParam = wParam;
    event.chKey = key;
    return event;
}

inline ::testing::AssertionResult RectEq(const char* expectedText, const char* actualText,
                                         const RECT& expected, const RECT& actual) {
    if (SameRect(expected, actual)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actualText << " is " << Show(actual) << ", expected "
                                         << expectedText << " = " << Show(expected);
}

} // namespace ContainerTest

#define EXPECT_RECT(expected, actual) EXPECT_PRED_FORMAT2(ContainerTest::RectEq, expected, actual)
