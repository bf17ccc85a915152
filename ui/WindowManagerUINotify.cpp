#include <windows.h>

#include "ui/WindowManagerUI.h"

#include "ui/ControlUI.h"

namespace SkinUI {

namespace {

const UINT kDelayedCleanupMessage = WM_APP + 1;

CControlUI* CALLBACK FindControlFromNameHash(CControlUI* control, LPVOID data) {
    auto* names = static_cast<CUIStringPtrMap*>(data);
    const CUIString name = control->GetName();
    if (!name.IsEmpty()) {
        names->Set(name, control);
    }
    return nullptr;
}

CControlUI* CALLBACK FindControlFromPoint(CControlUI* control, LPVOID data) {
    const auto* pt = static_cast<const POINT*>(data);
    return ::PtInRect(&control->GetPos(), *pt) ? control : nullptr;
}

bool RemoveFirst(CUIPtrArray& list, LPVOID item) {
    const int index = list.Find(item);
    return index >= 0 && list.Remove(index);
}

} // namespace

// ---- Control tree ----------------------------------------------------------

bool CWindowManagerUI::AttachRootControl(CControlUI* control) {
    SetFocus(nullptr);
    m_pEventKey = nullptr;
    m_pEventHover = nullptr;
    m_pEventClick = nullptr;
    if (m_pRoot != nullptr) {
        m_aPostPaintControls.Empty();
        AddDelayedCleanup(m_pRoot);
    }
    m_pRoot = control;
    m_bUpdateNeeded = true;
    m_bFirstLayout = true;
    m_bFocusNeeded = true;
    return InitControlTree(control);
}

CControlUI* CWindowManagerUI::GetRoot() const {
    return m_pRoot;
}

bool CWindowManagerUI::InitControlTree(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) {
        return false;
    }
    control->AttachManager(this, parent != nullptr ? parent : control->GetParent(), true);
    control->FindControl(FindControlFromNameHash, &m_mNameHash, UIFIND_ALL);
    return true;
}

CControlUI* CWindowManagerUI::FindControl(LPCWSTR name) const {
    return name == nullptr ? nullptr : static_cast<CControlUI*>(m_mNameHash.Find(name));
}

CControlUI* CWindowManagerUI::FindControlAt(POINT pt) const {
    if (m_pRoot == nullptr) {
        return nullptr;
    }
    return m_pRoot->FindControl(FindControlFromPoint, &pt,
                                UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

CControlUI* CWindowManagerUI::OwnControlAt(POINT pt) const {
    CControlUI* control = FindControlAt(pt);
    return control != nullptr && control->GetManager() == this ? control : nullptr;
}

void CWindowManagerUI::ForgetControl(CControlUI* control) {
    if (control == nullptr) {
        return;
    }
    if (control == m_pEventKey) {
        m_pEventKey = nullptr;
    }
    if (control == m_pEventHover) {
        m_pEventHover = nullptr;
    }
    if (control == m_pEventClick) {
        m_pEventClick = nullptr;
    }
    if (control == m_pFocus) {
        m_pFocus = nullptr;
    }
    KillTimer(control);
    const CUIString name = control->GetName();
    if (!name.IsEmpty() && m_mNameHash.Find(name) == control) {
        m_mNameHash.Remove(name);
    }
    for (int i = 0; i < m_aAsyncNotify.GetSize(); ++i) {
        auto* notice = static_cast<TNoticeUI*>(m_aAsyncNotify[i]);
        if (notice->pSender == control) {
            notice->pSender = nullptr;
        }
    }
    // A control gone from the tree must not be asked to paint its overlay.
    while (RemoveFirst(m_aPostPaintControls, control)) {
    }
}

void CWindowManagerUI::AddDelayedCleanup(CControlUI* control) {
    if (control == nullptr) {
        return;
    }
    control->AttachManager(this, nullptr, false);
    m_aDelayedCleanup.Add(control);
    if (m_hWndPaint != nullptr) {
        ::PostMessageW(m_hWndPaint, kDelayedCleanupMessage, 0, 0);
    }
}

void CWindowManagerUI::DeleteCleanupControls() {
    // Deleting may queue further controls; they go in the same round.
    while (!m_aDelayedCleanup.IsEmpty()) {
        auto* control = static_cast<CControlUI*>(m_aDelayedCleanup[0]);
        m_aDelayedCleanup.Remove(0);
        delete control;
    }
}

// ---- Notifications -----------------------------------------------------------

bool CWindowManagerUI::AddNotifyListener(INotifyUI* listener) {
    return listener != nullptr && m_aNotifiers.Add(listener);
}

bool CWindowManagerUI::RemoveNotifyListener(INotifyUI* listener) {
    return RemoveFirst(m_aNotifiers, listener);
}

void CWindowManagerUI::SetUsedVirtualWnd(bool used) {
    m_bUsedVirtualWnd = used;
}

void CWindowManagerUI::SendNotify(CControlUI* sender, LPCWSTR type, WPARAM wParam, LPARAM lParam,
                                  bool queued) {
    TNoticeUI msg;
    msg.sType = type;
    msg.pSender = sender;
    msg.dwTimestamp = 0;
    msg.ptMouse = POINT{0, 0};
    msg.wParam = wParam;
    msg.lParam = lParam;
    SendNotify(msg, queued);
}

void CWindowManagerUI::SendNotify(TNoticeUI& msg, bool queued) {
    msg.ptMouse = m_ptLastMousePos;
    msg.dwTimestamp = ::GetTickCount();
    if (m_bUsedVirtualWnd && msg.pSender != nullptr) {
        msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
    }
    if (queued) {
        m_aAsyncNotify.Add(new TNoticeUI(msg));
        return;
    }
    DeliverNotice(msg);
}

void CWindowManagerUI::DeliverNotice(TNoticeUI& msg) {
    if (msg.pSender != nullptr && msg.pSender->NotifyDelegates) {
        msg.pSender->NotifyDelegates(&msg);
    }
    // A listener may remove itself (or others) while being told.
    for (int i = 0; i < m_aNotifiers.GetSize(); ++i) {
        static_cast<INotifyUI*>(m_aNotifiers[i])->Notify(msg);
    }
}

void CWindowManagerUI::DrainNotices() {
    while (!m_aAsyncNotify.IsEmpty()) {
        auto* notice = static_cast<TNoticeUI*>(m_aAsyncNotify[0]);
        m_aAsyncNotify.Remove(0);
        DeliverNotice(*notice);
        delete notice;
    }
}

// ---- Filters, post-paint controls, accelerators -------------------------------

bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
    return filter != nullptr && m_aMessageFilters.Add(filter);
}

bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
    return RemoveFirst(m_aMessageFilters, filter);
}

bool CWindowManagerUI::AddPostPaint(CControlUI* control) {
    return control != nullptr && m_aPostPaintControls.Add(control);
}

bool CWindowManagerUI::RemovePostPaint(CControlUI* control) {
    return RemoveFirst(m_aPostPaintControls, control);
}

int CWindowManagerUI::GetPostPaintCount() const {
    return m_aPostPaintControls.GetSize();
}

bool CWindowManagerUI::AddTranslateAccelerator(ITranslateAccelerator* translator) {
    return translator != nullptr && m_aTranslateAccelerator.Add(translator);
}

bool CWindowManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* translator) {
    return RemoveFirst(m_aTranslateAccelerator, translator);
}

bool CWindowManagerUI::TranslateAccelerator(LPMSG pMsg) {
    for (int i = 0; i < m_aTranslateAccelerator.GetSize(); ++i) {
        auto* translator = static_cast<ITranslateAccelerator*>(m_aTranslateAccelerator[i]);
        if (translator->TranslateAccelerator(pMsg) == 0) {
            return true;
        }
    }
    return false;
}

// ---- Timers --------------------------------------------------------------------

bool CWindowManagerUI::WindowTimerIdInUse(UINT id) const {
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        const auto* timer = static_cast<const TTimerRecordUI*>(m_aTimers[i]);
        if (timer->hWnd == m_hWndPaint && timer->uWinTimer == id) {
            return true;
        }
    }
    return false;
}

bool CWindowManagerUI::SetTimer(CControlUI* control, UINT timerID, UINT elapse) {
    // Without a window SetTimer would make a thread timer that never
    // reaches this manager.
    if (m_hWndPaint == nullptr) {
        return false;
    }
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<TTimerRecordUI*>(m_aTimers[i]);
        if (timer->pSender == control && timer->hWnd == m_hWndPaint && timer->nLocalID == timerID) {
            if (!timer->bKilled) {
                return false;
            }
            if (::SetTimer(m_hWndPaint, timer->uWinTimer, elapse, nullptr) == 0) {
                return false;
            }
            timer->bKilled = false;
            return true;
        }
    }
    // Ids cycle through 0..254; an id that a timer of this window still
    // holds (running, or killed and kept for a restart) is passed over, so
    // two timers never share one.
    UINT id = (m_uTimerID + 1) % 0xFF;
    int tries = 0;
    while (WindowTimerIdInUse(id)) {
        if (++tries >= 0xFF) {
            return false;
        }
        id = (id + 1) % 0xFF;
    }
    m_uTimerID = id;
    if (::SetTimer(m_hWndPaint, id, elapse, nullptr) == 0) {
        return false;
    }
    auto* timer = new TTimerRecordUI{control, timerID, m_hWndPaint, id, false};
    if (!m_aTimers.Add(timer)) {
        ::KillTimer(m_hWndPaint, id);
        delete timer;
        return false;
    }
    return true;
}

bool CWindowManagerUI::KillTimer(CControlUI* control, UINT timerID) {
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        auto* timer = static_cast<TTimerRecordUI*>(m_aTimers[i]);
        if (timer->pSender == control && timer->hWnd == m_hWndPaint && timer->nLocalID == timerID &&
            !timer->bKilled) {
            if (::IsWindow(m_hWndPaint)) {
                ::KillTimer(timer->hWnd, timer->uWinTimer);
            }
            timer->bKilled = true;
            return true;
        }
    }
    return false;
}

void CWindowManagerUI::FreeTimers(CControlUI* control, bool all) {
    const bool windowAlive = ::IsWindow(m_hWndPaint) != FALSE;
    for (int i = m_aTimers.GetSize() - 1; i >= 0; --i) {
        auto* timer = static_cast<TTimerRecordUI*>(m_aTimers[i]);
        if (timer->hWnd != m_hWndPaint || (!all && timer->pSender != control)) {
            continue;
        }
        if (!timer->bKilled && windowAlive) {
            ::KillTimer(timer->hWnd, timer->uWinTimer);
        }
        delete timer;
        m_aTimers.Remove(i);
    }
}

void CWindowManagerUI::KillTimer(CControlUI* control) {
    FreeTimers(control, false);
}

void CWindowManagerUI::RemoveAllTimers() {
    FreeTimers(nullptr, true);
    // Records of an earlier window of this manager can no longer fire.
    for (int i = 0; i < m_aTimers.GetSize(); ++i) {
        delete static_cast<TTimerRecordUI*>(m_aTimers[i]);
    }
    m_aTimers.Empty();
}

} // namespace SkinUI
