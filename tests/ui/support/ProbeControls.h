#pragma once
#include <windows.h>

#include "ui/ControlUI.h"
#include "ui/WindowManagerUI.h"

#include "tests/ui/support/ChildSearch.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

namespace UiTest {

using SkinUI::CControlUI;
using SkinUI::CWindowManagerUI;
using SkinUI::TInputEventUI;
using SkinUI::TNoticeUI;

inline bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

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
    // The types one control received, mouse moves left out.
    std::vector<int> TypesOf(const std::wstring& control) const {
        std::vector<int> types;
        for (const EventRecord& r : records_) {
            if (r.control == control && r.type != SkinUI::UIEVENT_MOUSEMOVE) {
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

// A leaf control that records what reaches it: events (into a shared log and
// its own list), attributes, paint steps in order, activations and its own
// deletion; it can pose as another class and answer the want-tab question.
class Probe : public CControlUI, public SkinUI::IWantTabUI {
public:
    explicit Probe(const wchar_t* name = L"") { SetName(name); }
    Probe(EventLog* log, const wchar_t* name, RECT place, UINT flags = 0,
          const wchar_t* className = L"ProbeUI")
        : log_(log), place_(place), flags_(flags), className_(className) {
        SetName(name);
    }
    ~Probe() override {
        ++deletions;
        if (deleted_ != nullptr) {
            *deleted_ = true;
        }
        if (onDelete) {
            onDelete();
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
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override {
        applied.push_back(std::wstring(name != nullptr ? name : L"(null)") + L"=" +
                          (value != nullptr ? value : L"(null)"));
        CControlUI::ApplyAttribute(name, value);
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
    void HandleEvent(TInputEventUI& event) override {
        handled.push_back(event.Type);
        CControlUI::HandleEvent(event);
    }
    void Paint(HDC hDC, const RECT& rcPaint) override {
        ++paints_;
        CControlUI::Paint(hDC, rcPaint);
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
        ++overlays_;
        CControlUI::PaintOverlay(hDC, rcPaint);
    }

    const RECT& Place() const { return place_; }
    void SetWantTab(bool answers, bool wants) {
        answersWantTab_ = answers;
        wantTab_ = wants;
    }
    void WatchDeletion(bool* deleted) { deleted_ = deleted; }
    // Sets the update-needed flag as a layout or a change would leave it.
    void SetUpdateNeededFlag(bool needed) { m_bUpdateNeeded = needed; }
    void OnEvent(void (*handler)(Probe*, TInputEventUI&)) { onEvent_ = handler; }
    int Activations() const { return activations_; }
    int Paints() const { return paints_; }
    int Overlays() const { return overlays_; }

    std::vector<std::wstring> applied;
    std::vector<int> handled;
    std::vector<std::wstring> steps;
    // Runs inside the destructor; counted in a static so that a second
    // deletion of the same object still shows.
    std::function<void()> onDelete;
    static inline int deletions = 0;

private:
    EventLog* log_ = nullptr;
    RECT place_ = {};
    UINT flags_ = 0;
    std::wstring className_ = L"ProbeUI";
    bool answersWantTab_ = false;
    bool wantTab_ = false;
    bool* deleted_ = nullptr;
    void (*onEvent_)(Probe*, TInputEventUI&) = nullptr;
    int activations_ = 0;
    int paints_ = 0;
    int overlays_ = 0;
};

// A minimal container: owns its children, attaches them to its manager,
// passes its visibility down, searches them as the flags say, fills its
// background with one colour and places each child that has a place (given
// to Add, or a probe's own) at that rectangle relative to itself.
class Parent : public Probe {
public:
    explicit Parent(const wchar_t* name = L"") : Probe(name) {}
    Parent(EventLog* log, const wchar_t* name, RECT place, DWORD fill = 0)
        : Probe(log, name, place, 0, L"BoxUI"), fill_(fill) {}
    ~Parent() override {
        for (CControlUI* child : children) {
            delete child;
        }
    }

    template <typename T> T* Add(T* child, RECT place = {}) {
        if constexpr (std::is_base_of_v<Probe, T>) {
            if (::IsRectEmpty(&place)) {
                place = child->Place();
            }
        }
        children.push_back(child);
        places_.push_back(place);
        if (GetManager() != nullptr) {
            GetManager()->InitControlTree(child, this);
            if (!::IsRectEmpty(&place)) {
                child->SetPos(Placed(place));
            }
        } else {
            child->AttachManager(nullptr, this, false);
        }
        child->SetVisibleByParent(IsVisible());
        return child;
    }
    // Takes a child out without deleting it.
    void Detach(CControlUI* child) {
        for (size_t i = 0; i < children.size(); ++i) {
            if (children[i] == child) {
                children.erase(children.begin() + i);
                places_.erase(places_.begin() + i);
                return;
            }
        }
    }
    void Delete(CControlUI* child) {
        Detach(child);
        delete child;
    }
    // Lets go of every child without deleting it.
    void ReleaseChildren() {
        children.clear();
        places_.clear();
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
    void SetPos(RECT rc) override {
        CControlUI::SetPos(rc);
        for (size_t i = 0; i < children.size(); ++i) {
            if (!::IsRectEmpty(&places_[i])) {
                children[i]->SetPos(Placed(places_[i]));
            }
        }
    }
    CControlUI* FindControl(SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags) override {
        return FindInChildren(
            *this, static_cast<int>(children.size()), [this](int n) { return children[n]; }, proc,
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
        Probe::Paint(hDC, rcPaint);
        for (CControlUI* child : children) {
            child->Paint(hDC, rcPaint);
        }
    }

    std::vector<CControlUI*> children;

private:
    RECT Placed(RECT place) const {
        ::OffsetRect(&place, m_rcItem.left, m_rcItem.top);
        return place;
    }

    std::vector<RECT> places_;
    DWORD fill_ = 0;
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
    int Count(const wchar_t* type, const CControlUI* sender = nullptr) const {
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

inline TInputEventUI MakeEvent(int type, WPARAM wParam = 0, LPARAM lParam = 0) {
    TInputEventUI event = {};
    event.Type = type;
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

} // namespace UiTest
