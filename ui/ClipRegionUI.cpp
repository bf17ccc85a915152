#include <windows.h>

#include "ui/ClipRegionUI.h"

namespace SkinUI {

namespace {

// Regions are selected in device coordinates while rectangles arrive in
// logical ones; they differ when the caller moved the origin (printing of
// child windows does).
HRGN CreateDeviceRectRgn(HDC hDC, const RECT& rc) {
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::LPtoDP(hDC, corners, 2);
    return ::CreateRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y);
}

HRGN CreateDeviceRoundRectRgn(HDC hDC, const RECT& rc, int width, int height) {
    POINT corners[2] = {{rc.left, rc.top}, {rc.right, rc.bottom}};
    ::LPtoDP(hDC, corners, 2);
    return ::CreateRoundRectRgn(corners[0].x, corners[0].y, corners[1].x, corners[1].y, width,
                                height);
}

} // namespace

CClipRegionUI::~CClipRegionUI() {
    Restore();
}

void CClipRegionUI::SaveClip(HDC hDC, const RECT& rc) {
    Restore();
    m_hDC = hDC;
    m_rcItem = rc;
    // The exact previous clip, so that restoring it changes nothing else.
    m_hOldRgn = ::CreateRectRgn(0, 0, 0, 0);
    if (m_hOldRgn != nullptr && ::GetClipRgn(hDC, m_hOldRgn) != 1) {
        ::DeleteObject(m_hOldRgn);
        m_hOldRgn = nullptr;
    }
    m_bActive = true;
}

void CClipRegionUI::Restore() {
    if (!m_bActive) {
        return;
    }
    ::SelectClipRgn(m_hDC, m_hOldRgn);
    if (m_hOldRgn != nullptr) {
        ::DeleteObject(m_hOldRgn);
    }
    if (m_hRgn != nullptr) {
        ::DeleteObject(m_hRgn);
    }
    m_hOldRgn = nullptr;
    m_hRgn = nullptr;
    m_hDC = nullptr;
    m_bActive = false;
}

void CClipRegionUI::Narrow() {
    if (m_hRgn == nullptr) {
        return;
    }
    ::ExtSelectClipRgn(m_hDC, m_hRgn, RGN_AND);
    // Keep the clip now in force, not just the new shape, so that going back
    // from the outer clip keeps the outer limits too.
    ::GetClipRgn(m_hDC, m_hRgn);
}

void CClipRegionUI::ClipToRect(HDC hDC, RECT rc, CClipRegionUI& clip) {
    clip.SaveClip(hDC, rc);
    clip.m_hRgn = CreateDeviceRectRgn(hDC, rc);
    clip.Narrow();
}

void CClipRegionUI::ClipToRoundRect(HDC hDC, RECT rc, RECT rcItem, int width, int height,
                                    CClipRegionUI& clip) {
    clip.SaveClip(hDC, rc);
    clip.m_hRgn = CreateDeviceRectRgn(hDC, rc);
    // The round region's right and bottom edges are exclusive; one more
    // pixel keeps the item's last column and row inside it.
    const RECT rcRound = {rcItem.left, rcItem.top, rcItem.right + 1, rcItem.bottom + 1};
    const HRGN hRound = CreateDeviceRoundRectRgn(hDC, rcRound, width, height);
    if (clip.m_hRgn != nullptr && hRound != nullptr) {
        ::CombineRgn(clip.m_hRgn, clip.m_hRgn, hRound, RGN_AND);
    }
    if (hRound != nullptr) {
        ::DeleteObject(hRound);
    }
    clip.Narrow();
}

void CClipRegionUI::UseOuterClipBegin(HDC hDC, CClipRegionUI& clip) {
    ::SelectClipRgn(hDC, clip.m_hOldRgn);
}

void CClipRegionUI::UseOuterClipEnd(HDC hDC, CClipRegionUI& clip) {
    ::SelectClipRgn(hDC, clip.m_hRgn);
}

} // namespace SkinUI
