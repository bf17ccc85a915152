#include <windows.h>

#include "ui/UIRect.h"

namespace SkinUI {

CUIRect::CUIRect() {
    left = top = right = bottom = 0;
}

CUIRect::CUIRect(const RECT& src) {
    left = src.left;
    top = src.top;
    right = src.right;
    bottom = src.bottom;
}

CUIRect::CUIRect(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
}

int CUIRect::GetWidth() const {
    return right - left;
}

int CUIRect::GetHeight() const {
    return bottom - top;
}

void CUIRect::Empty() {
    left = top = right = bottom = 0;
}

bool CUIRect::IsNull() const {
    return left == 0 && right == 0 && top == 0 && bottom == 0;
}

void CUIRect::Join(const RECT& rc) {
    if (rc.left < left) {
        left = rc.left;
    }
    if (rc.top < top) {
        top = rc.top;
    }
    if (rc.right > right) {
        right = rc.right;
    }
    if (rc.bottom > bottom) {
        bottom = rc.bottom;
    }
}

void CUIRect::ResetOffset() {
    ::OffsetRect(this, -left, -top);
}

void CUIRect::Normalize() {
    if (left > right) {
        const LONG t = left;
        left = right;
        right = t;
    }
    if (top > bottom) {
        const LONG t = top;
        top = bottom;
        bottom = t;
    }
}

void CUIRect::Offset(int cx, int cy) {
    ::OffsetRect(this, cx, cy);
}

void CUIRect::Inflate(int cx, int cy) {
    ::InflateRect(this, cx, cy);
}

void CUIRect::Deflate(int cx, int cy) {
    ::InflateRect(this, -cx, -cy);
}

void CUIRect::Union(const CUIRect& rc) {
    ::UnionRect(this, this, &rc);
}

CUISize::CUISize() {
    cx = cy = 0;
}

CUISize::CUISize(const SIZE& src) {
    cx = src.cx;
    cy = src.cy;
}

CUISize::CUISize(const RECT& rc) {
    cx = rc.right - rc.left;
    cy = rc.bottom - rc.top;
}

CUISize::CUISize(int x, int y) {
    cx = x;
    cy = y;
}

CUIPoint::CUIPoint() {
    x = y = 0;
}

CUIPoint::CUIPoint(const POINT& src) {
    x = src.x;
    y = src.y;
}

CUIPoint::CUIPoint(int px, int py) {
    x = px;
    y = py;
}

CUIPoint::CUIPoint(LPARAM lParam) {
    x = static_cast<short>(LOWORD(lParam));
    y = static_cast<short>(HIWORD(lParam));
}

} // namespace SkinUI
