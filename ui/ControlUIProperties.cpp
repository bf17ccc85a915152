#include <windows.h>

#include "ui/ControlUI.h"

namespace SkinUI {

int CControlUI::GetWidth() const {
    return m_rcItem.right - m_rcItem.left;
}

int CControlUI::GetHeight() const {
    return m_rcItem.bottom - m_rcItem.top;
}

int CControlUI::GetX() const {
    return m_rcItem.left;
}

int CControlUI::GetY() const {
    return m_rcItem.top;
}

RECT CControlUI::GetPadding() const {
    return m_rcPadding;
}

void CControlUI::SetPadding(RECT rcPadding) {
    m_rcPadding = rcPadding;
    MarkParentNeedsUpdate();
}

SIZE CControlUI::GetFixedXY() const {
    return m_cXY;
}

// A floating control is placed by its own fixed values; any other one by
// its parent's layout.
void CControlUI::MarkFixedChanged() {
    if (m_bFloat) {
        MarkNeedsUpdate();
    } else {
        MarkParentNeedsUpdate();
    }
}

void CControlUI::SetFixedXY(SIZE szXY) {
    m_cXY = szXY;
    MarkFixedChanged();
}

int CControlUI::GetFixedWidth() const {
    return m_cxyFixed.cx;
}

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) {
        return;
    }
    m_cxyFixed.cx = cx;
    MarkFixedChanged();
}

int CControlUI::GetFixedHeight() const {
    return m_cxyFixed.cy;
}

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) {
        return;
    }
    m_cxyFixed.cy = cy;
    MarkFixedChanged();
}

// The size limits share one rule: negative or unchanged values are ignored.
void CControlUI::SetSizeLimit(LONG& field, int value) {
    if (value < 0 || field == value) {
        return;
    }
    field = value;
    MarkFixedChanged();
}

int CControlUI::GetMinWidth() const {
    return m_cxyMin.cx;
}

void CControlUI::SetMinWidth(int cx) {
    SetSizeLimit(m_cxyMin.cx, cx);
}

int CControlUI::GetMaxWidth() const {
    return m_cxyMax.cx;
}

void CControlUI::SetMaxWidth(int cx) {
    SetSizeLimit(m_cxyMax.cx, cx);
}

int CControlUI::GetMinHeight() const {
    return m_cxyMin.cy;
}

void CControlUI::SetMinHeight(int cy) {
    SetSizeLimit(m_cxyMin.cy, cy);
}

int CControlUI::GetMaxHeight() const {
    return m_cxyMax.cy;
}

void CControlUI::SetMaxHeight(int cy) {
    SetSizeLimit(m_cxyMax.cy, cy);
}

void CControlUI::SetRelativePos(int moveXPercent, int moveYPercent, int zoomXPercent,
                                int zoomYPercent) {
    m_tRelativePos.bRelative = true;
    m_tRelativePos.nMoveXPercent = moveXPercent;
    m_tRelativePos.nMoveYPercent = moveYPercent;
    m_tRelativePos.nZoomXPercent = zoomXPercent;
    m_tRelativePos.nZoomYPercent = zoomYPercent;
}

void CControlUI::SetRelativeParentSize(SIZE szParent) {
    m_tRelativePos.szParent = szParent;
}

TRelativePosUI CControlUI::GetRelativePos() const {
    return m_tRelativePos;
}

bool CControlUI::IsRelativePos() const {
    return m_tRelativePos.bRelative;
}

bool CControlUI::IsContextMenuUsed() const {
    return m_bMenuUsed;
}

void CControlUI::SetContextMenuUsed(bool menuUsed) {
    m_bMenuUsed = menuUsed;
}

const CUIString& CControlUI::GetUserData() const {
    return m_sUserData;
}

void CControlUI::SetUserData(LPCWSTR text) {
    m_sUserData = text;
}

UINT_PTR CControlUI::GetTag() const {
    return m_pTag;
}

void CControlUI::SetTag(UINT_PTR tag) {
    m_pTag = tag;
}

bool CControlUI::IsKeyboardEnabled() const {
    return m_bKeyboardEnabled;
}

void CControlUI::SetKeyboardEnabled(bool enable) {
    m_bKeyboardEnabled = enable;
}

bool CControlUI::IsFloating() const {
    return m_bFloat;
}

void CControlUI::SetFloating(bool floating) {
    if (m_bFloat == floating) {
        return;
    }
    m_bFloat = floating;
    MarkParentNeedsUpdate();
}

SIZE CControlUI::MeasureDesiredSize(SIZE szAvailable) {
    (void)szAvailable;
    return m_cxyFixed;
}

} // namespace SkinUI
