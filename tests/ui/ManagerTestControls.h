#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/support/ChildSearch.h"

#include <string>
#include <vector>

namespace ManagerTest {

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;
using SkinUI::TNoticeUI;

// One event as a control received it.
struct EventRecord {
    std::wstring control;
    int type;
    CControlUI* sender;
    POINT pt;
    wchar_t key;
    WORD keyState;
    WPARAM wParam;
    LPARAM lParam;
};

// Events of all probes in arrival order.
class EventLog {
public:
    void Add(const EventRecord& record) { records_.push_back(record); }
    void Clear() { records_.clear(); }
    const std::vector<EventRecord>& Records() const { return records_; }
    // The types that one control received, optionally without mouse moves.
    std::vector<int> TypesOf(const std::wstring& control, bool withMoves = false) const {
        std::vector<int> types;
        for (const EventRecord& r : records_) {
            if (r.control == control && (withMoves || r.type != SkinUI::UIEVENT_MOUSEMOVE)) {
                types.push_back(r.type);
            }
        }
        return types;
    }
    const EventRecord* Last(const std::wstring& control, int type) const {
        for (auto it = records_.rbegin(); it != records_.rend(); ++it) {
            if (it->control == control && it->type == type) {
                return &*it;
            }
        }
        return nullptr;
    }
    int Count(const std::wstring& control, int type) const {
        int n = 0;
        for (const EventRecord& r : records_) {
            n += (r.control == control && r.type == type) ? 1 : 0;
        }
        return n;
    }

private:
    std::vector<EventRecord> records_;
};

// A leaf control that records its events and can pose as another class.
class ProbeControl : public CControlUI, public SkinUI::IWantTabUI {
public:
    ProbeControl(EventLog* log, const wchar_t* name, RECT rc, UINT flags = 0,
                 const wchar_t* className = L"ProbeUI")
        : log_(log), place_(rc), flags_(flags), className_(className) {
        SetName(name);
    }
    ~ProbeControl() override {
        if (deleted_ != nullptr) {
            *deleted_ = true;
        }
    }

    LPCWSTR GetClass() const override { return className_.c_str(); }
    UINT GetControlFlags() const override { return flags_; }
    LPVOID QueryInterfaceByName(LPCWSTR name) override {
        if (answersWantTab_ && std::wstring(name) == L"WantTab") {
            return static_cast<SkinUI::IWantTabUI*>(this);
        }
        return CControlUI::QueryInterfaceByName(name);
    }
    bool IsWantTab() override { return wantTab_; }
    bool Activate() override {
        ++activations_;
        return CControlUI::Activate();
    }
    void DispatchEvent(TInputEventUI& event) override {
        if (log_ != nullptr) {
            log_->Add(EventRecord{GetName().GetData(), event.Type, event.pSender, event.ptMouse,
                                  event.chKey, event.wKeyState, event.wParam, event.lParam});
        }
        if (onEvent_ != nullptr) {
            onEvent_(this, event);
        }
        CControlUI::DispatchEvent(event);
    }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        ++paints_;
        CControlUI::Paint(hDC, rcPaint);
    }
    void PaintOverlay(HDC hDC, const RECT& rcPaint) override {
        ++overlays_;
        CControlUI::PaintOverlay(hDC, rcPaint);
    }

    const RECT& Place() const { return place_; }
    void SetWantTab(bool answers, bool wants) {
        answersWantTab_ = answers;
        wantTab_ = wants;
    }
    void WatchDeletion(bool* deleted) { deleted_ = deleted; }
    void OnEvent(void (*handler)(ProbeControl*, TInputEventUI&)) { onEvent_ = handler; }
    int Activations() const { return activations_; }
    int Paints() const { return paints_; }
    int Overlays() const { return overlays_; }

private:
    EventLog* log_;
    RECT place_;
    UINT flags_;
    std::wstring className_;
    bool answersWantTab_ = false;
    bool wantTab_ = false;
    bool* deleted_ = nullptr;
    void (*onEvent_)(ProbeControl*, TInputEventUI&) = nullptr;
    int activations_ = 0;
    int paints_ = 0;
    int overlays_ = 0;
};

// A minimal container: owns its children, places each at its own rectangle
// (relative to the container), visits them as the search flags say, and
// fills its background with one colour.
class BoxControl : public ProbeControl {
public:
    BoxControl(EventLog* log, const wchar_t* name, RECT rc, DWORD fill = 0)
        : ProbeControl(log, name, rc, 0, L"BoxUI"), fill_(fill) {}
    ~BoxControl() override {
        for (CControlUI* child : children_) {
            delete child;
        }
    }

    template <typename T> T* Add(T* child) {
        children_.push_back(child);
        if (GetManager() != nullptr) {
            GetManager()->InitControlTree(child, this);
        }
        return child;
    }
    // Takes a child out without deleting it.
    void Detach(CControlUI* child) {
        for (auto it = children_.begin(); it != children_.end(); ++it) {
            if (*it == child) {
                children_.erase(it);
                return;
            }
        }
    }

    void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) override {
        CControlUI::AttachManager(manager, parent, init);
        for (CControlUI* child : children_) {
            child->AttachManager(manager, this, init);
        }
    }
    void SetPos(RECT rc) override {
        CControlUI::SetPos(rc);
        for (CControlUI* child : children_) {
            RECT place = static_cast<ProbeControl*>(child)->Place();
            ::OffsetRect(&place, rc.left, rc.top);
            child->SetPos(place);
        }
    }
    CControlUI* FindControl(SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags) override {
        return UiTest::FindInChildren(
            *this, static_cast<int>(children_.size()), [this](int n) { return children_[n]; }, proc,
            data, flags);
    }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        RECT paint = {};
        if (!::IntersectRect(&paint, &rcPaint, &m_rcItem)) {
            return;
        }
        if (fill_ != 0) {
            HBRUSH brush = ::CreateSolidBrush(fill_);
            ::FillRect(hDC, &paint, brush);
            ::DeleteObject(brush);
        }
        ProbeControl::Paint(hDC, rcPaint);
        for (CControlUI* child : children_) {
            child->Paint(hDC, rcPaint);
        }
    }

private:
    std::vector<CControlUI*> children_;
    DWORD fill_;
};

} // namespace ManagerTest
