#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/support/ChildSearch.h"

#include <string>
#include <vector>

namespace ControlTest {

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;
using SkinUI::TNoticeUI;

// A plain control that records which paint steps ran (in order), which
// events reached HandleEvent and which attributes reached ApplyAttribute.
class Probe : public CControlUI {
public:
    explicit Probe(const wchar_t* name = L"") { SetName(name); }

    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override {
        applied.push_back(std::wstring(name != nullptr ? name : L"(null)") + L"=" +
                          (value != nullptr ? value : L"(null)"));
        CControlUI::ApplyAttribute(name, value);
    }
    void HandleEvent(TInputEventUI& event) override {
        handled.push_back(event.Type);
        CControlUI::HandleEvent(event);
    }
    void PaintBackgroundColor(HDC hDC) override {
        steps.push_back(L"bkcolor");
        CControlUI::PaintBackgroundColor(hDC);
    }
    void PaintBackgroundImage(HDC hDC) override {
        steps.push_back(L"bkimage");
        CControlUI::PaintBackgroundImage(hDC);
    }
    void PaintStateImages(HDC hDC) override {
        steps.push_back(L"state");
        CControlUI::PaintStateImages(hDC);
    }
    void PaintText(HDC hDC) override {
        steps.push_back(L"text");
        CControlUI::PaintText(hDC);
    }
    void PaintBorderLines(HDC hDC) override {
        steps.push_back(L"border");
        CControlUI::PaintBorderLines(hDC);
    }
    void PaintOverlay(HDC hDC, const RECT& rcPaint) override {
        steps.push_back(L"overlay");
        CControlUI::PaintOverlay(hDC, rcPaint);
    }

    std::vector<std::wstring> applied;
    std::vector<int> handled;
    std::vector<std::wstring> steps;
};

// A parent that keeps its children in a list: attaches them to its manager,
// passes its visibility down, deletes them when it goes, and searches them
// as the FindControl flags say.
class Parent : public Probe {
public:
    explicit Parent(const wchar_t* name = L"") : Probe(name) {}
    ~Parent() override {
        for (CControlUI* child : children) {
            delete child;
        }
    }
    template <typename T> T* Add(T* child) {
        children.push_back(child);
        if (GetManager() != nullptr) {
            GetManager()->InitControlTree(child, this);
        } else {
            child->AttachManager(nullptr, this, false);
        }
        child->SetVisibleByParent(IsVisible());
        return child;
    }
    void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) override {
        for (CControlUI* child : children) {
            child->AttachManager(manager, this, init);
        }
        CControlUI::AttachManager(manager, parent, init);
    }
    void SetVisible(bool visible) override {
        if (m_bVisible == visible) {
            return;
        }
        CControlUI::SetVisible(visible);
        for (CControlUI* child : children) {
            child->SetVisibleByParent(IsVisible());
        }
    }
    void SetVisibleByParent(bool visible) override {
        CControlUI::SetVisibleByParent(visible);
        for (CControlUI* child : children) {
            child->SetVisibleByParent(IsVisible());
        }
    }
    CControlUI* FindControl(SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags) override {
        return UiTest::FindInChildren(
            *this, static_cast<int>(children.size()), [this](int n) { return children[n]; }, proc,
            data, flags);
    }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        CControlUI::Paint(hDC, rcPaint);
        for (CControlUI* child : children) {
            child->Paint(hDC, rcPaint);
        }
    }

    std::vector<CControlUI*> children;
};

// Every notice the window's listeners get.
class NoticeLog : public SkinUI::INotifyUI {
public:
    void Notify(TNoticeUI& msg) override {
        types.push_back(msg.sType.GetData());
        senders.push_back(msg.pSender);
        wParams.push_back(msg.wParam);
        lParams.push_back(msg.lParam);
    }
    std::vector<std::wstring> types;
    std::vector<CControlUI*> senders;
    std::vector<WPARAM> wParams;
    std::vector<LPARAM> lParams;
};

inline TInputEventUI MakeEvent(int type, WPARAM wParam = 0, LPARAM lParam = 0) {
    TInputEventUI event = {};
    event.Type = type;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

} // namespace ControlTest
