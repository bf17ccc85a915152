#include <windows.h>

#include "ui/ControlUI.h"

namespace SkinUI {

DWORD CControlUI::GetBkColor() const {
    return m_dwBackColor;
}

void CControlUI::SetBkColor(DWORD color) {
    if (m_dwBackColor == color) {
        return;
    }
    m_dwBackColor = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor2() const {
    return m_dwBackColor2;
}

void CControlUI::SetBkColor2(DWORD color) {
    if (m_dwBackColor2 == color) {
        return;
    }
    m_dwBackColor2 = color;
    Invalidate();
}

DWORD CControlUI::GetBkColor3() const {
    return m_dwBackColor3;
}

void CControlUI::SetBkColor3(DWORD color) {
    if (m_dwBackColor3 == color) {
        return;
    }
    m_dwBackColor3 = color;
    Invalidate();
}

LPCWSTR CControlUI::GetBkImage() const {
    return m_sBkImage;
}

void CControlUI::SetBkImage(LPCWSTR image) {
    if (m_sBkImage == (image != nullptr ? image : L"")) {
        return;
    }
    m_sBkImage = image;
    Invalidate();
}

DWORD CControlUI::GetBorderColor() const {
    return m_dwBorderColor;
}

void CControlUI::SetBorderColor(DWORD color) {
    if (m_dwBorderColor == color) {
        return;
    }
    m_dwBorderColor = color;
    Invalidate();
}

DWORD CControlUI::GetFocusBorderColor() const {
    return m_dwFocusBorderColor;
}

void CControlUI::SetFocusBorderColor(DWORD color) {
    if (m_dwFocusBorderColor == color) {
        return;
    }
    m_dwFocusBorderColor = color;
    Invalidate();
}

bool CControlUI::IsColorHSL() const {
    return m_bColorHSL;
}

void CControlUI::SetColorHSL(bool colorHSL) {
    if (m_bColorHSL == colorHSL) {
        return;
    }
    m_bColorHSL = colorHSL;
    Invalidate();
}

int CControlUI::GetBorderSize() const {
    return m_nBorderSize;
}

void CControlUI::SetBorderSize(int size) {
    if (m_nBorderSize == size) {
        return;
    }
    m_nBorderSize = size;
    Invalidate();
}

void CControlUI::SetBorderSizes(int left, int top, int right, int bottom) {
    m_rcBorderSize = CUIRect(left, top, right, bottom);
    Invalidate();
}

void CControlUI::SetLeftBorderSize(int size) {
    m_rcBorderSize.left = size;
    Invalidate();
}

void CControlUI::SetTopBorderSize(int size) {
    m_rcBorderSize.top = size;
    Invalidate();
}

void CControlUI::SetRightBorderSize(int size) {
    m_rcBorderSize.right = size;
    Invalidate();
}

void CControlUI::SetBottomBorderSize(int size) {
    m_rcBorderSize.bottom = size;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style) {
    m_nBorderStyle = style;
    Invalidate();
}

SIZE CControlUI::GetBorderRound() const {
    return m_cxyBorderRound;
}

void CControlUI::SetBorderRound(int cx, int cy) {
    m_cxyBorderRound = CUISize(cx, cy);
    Invalidate();
}

} // namespace SkinUI
