#include <windows.h>

#include "ui/Win32Handles.h"
#include "ui/RendererInternal.h"
#include "ui/RendererUI.h"

#include <algorithm>

namespace SkinUI {

namespace {

struct Box {
    int x;
    int y;
    int cx;
    int cy;

    bool IsEmpty() const { return cx <= 0 || cy <= 0; }
};

// Draws pieces of one selected bitmap onto the target, skipping pieces that
// are empty (corners larger than the image give negative extents, which
// StretchBlt would mirror) or outside the paint rectangle.
class CPieceBlitter {
public:
    CPieceBlitter(HDC hDC, HDC hBitmapDC, const RECT& rcPaint, bool blend, BYTE fade)
        : m_hDC(hDC), m_hBitmapDC(hBitmapDC), m_rcPaint(rcPaint), m_bBlend(blend) {
        m_blend.BlendOp = AC_SRC_OVER;
        m_blend.BlendFlags = 0;
        m_blend.SourceConstantAlpha = fade;
        m_blend.AlphaFormat = AC_SRC_ALPHA;
    }

    bool IsVisible(const Box& dest) const {
        const RECT rc = {dest.x, dest.y, dest.x + dest.cx, dest.y + dest.cy};
        RECT rcTemp;
        return ::IntersectRect(&rcTemp, &rc, &m_rcPaint) != FALSE;
    }

    void Stretch(const Box& dest, const Box& src) const {
        if (dest.IsEmpty() || src.IsEmpty() || !IsVisible(dest)) {
            return;
        }
        if (m_bBlend) {
            RendererAlphaBlend()(m_hDC, dest.x, dest.y, dest.cx, dest.cy, m_hBitmapDC, src.x, src.y,
                                 src.cx, src.cy, m_blend);
        } else {
            ::StretchBlt(m_hDC, dest.x, dest.y, dest.cx, dest.cy, m_hBitmapDC, src.x, src.y, src.cx,
                         src.cy, SRCCOPY);
        }
    }

    // An unscaled piece (dest and src of the same size).
    void Copy(const Box& dest, const Box& src) const {
        if (dest.IsEmpty() || !IsVisible(dest)) {
            return;
        }
        if (m_bBlend) {
            Stretch(dest, src);
        } else {
            ::BitBlt(m_hDC, dest.x, dest.y, dest.cx, dest.cy, m_hBitmapDC, src.x, src.y, SRCCOPY);
        }
    }

    // The part of dest inside the paint rectangle, copied once.
    void CopyVisiblePart(const RECT& rcDest, const RECT& rcSource) const {
        RECT rc;
        if (!::IntersectRect(&rc, &rcDest, &m_rcPaint)) {
            return;
        }
        ::BitBlt(m_hDC, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, m_hBitmapDC,
                 rcSource.left + rc.left - rcDest.left, rcSource.top + rc.top - rcDest.top,
                 SRCCOPY);
    }

    // First tile index whose tile can reach the paint rectangle.
    static int FirstTile(int origin, int paintStart, int tile) {
        return paintStart > origin ? (paintStart - origin) / tile : 0;
    }

    void Tile(const Box& dest, const Box& src, bool xtiled, bool ytiled) const {
        if (dest.IsEmpty() || src.IsEmpty()) {
            return;
        }
        if (!xtiled && !ytiled) {
            Stretch(dest, src);
            return;
        }
        const int stepX = xtiled ? src.cx : dest.cx;
        const int stepY = ytiled ? src.cy : dest.cy;
        const int firstY = ytiled ? FirstTile(dest.y, m_rcPaint.top, stepY) : 0;
        const int firstX = xtiled ? FirstTile(dest.x, m_rcPaint.left, stepX) : 0;
        for (int y = firstY * stepY; y < dest.cy && dest.y + y < m_rcPaint.bottom; y += stepY) {
            const int cy = std::min(stepY, dest.cy - y);
            for (int x = firstX * stepX; x < dest.cx && dest.x + x < m_rcPaint.right; x += stepX) {
                const int cx = std::min(stepX, dest.cx - x);
                const Box tile = {dest.x + x, dest.y + y, cx, cy};
                // A tile is cut at the far edges, never scaled along its
                // tiled direction; along the other one it spans the middle.
                const Box part = {src.x, src.y, xtiled ? cx : src.cx, ytiled ? cy : src.cy};
                if (xtiled && ytiled) {
                    Copy(tile, part);
                } else {
                    Stretch(tile, part);
                }
            }
        }
    }

private:
    HDC m_hDC;
    HDC m_hBitmapDC;
    const RECT& m_rcPaint;
    bool m_bBlend;
    BLENDFUNCTION m_blend;
};

} // namespace

void CRendererUI::DrawImage(HDC hDC, HBITMAP hBitmap, const RECT& rc, const RECT& rcPaint,
                            const RECT& rcBmpPart, const RECT& rcCorners, bool alphaChannel,
                            BYTE fade, bool hole, bool xtiled, bool ytiled) {
    if (hDC == nullptr || hBitmap == nullptr) {
        return;
    }
    CMemoryDC bitmapDC(hDC);
    if (!bitmapDC) {
        return;
    }
    CSelectObject selectBitmap(bitmapDC.Get(), hBitmap);
    const int oldMode = ::SetStretchBltMode(hDC, HALFTONE);
    POINT oldOrigin;
    ::SetBrushOrgEx(hDC, 0, 0, &oldOrigin);

    const bool blend = alphaChannel || fade < 255;
    const CPieceBlitter blitter(hDC, bitmapDC.Get(), rcPaint, blend, fade);

    const int l = rcCorners.left, t = rcCorners.top, r = rcCorners.right, b = rcCorners.bottom;
    const int dw = rc.right - rc.left, dh = rc.bottom - rc.top;
    const int sw = rcBmpPart.right - rcBmpPart.left, sh = rcBmpPart.bottom - rcBmpPart.top;
    const bool noCorners = l == 0 && t == 0 && r == 0 && b == 0;

    // An opaque image that fits exactly is copied once, hole or not.
    if (!blend && noCorners && dw == sw && dh == sh) {
        blitter.CopyVisiblePart(rc, rcBmpPart);
    } else {
        const RECT& D = rc;
        const RECT& S = rcBmpPart;
        if (!hole) {
            blitter.Tile({D.left + l, D.top + t, dw - l - r, dh - t - b},
                         {S.left + l, S.top + t, sw - l - r, sh - t - b}, xtiled, ytiled);
        }
        if (l > 0 && t > 0) {
            blitter.Stretch({D.left, D.top, l, t}, {S.left, S.top, l, t});
        }
        if (t > 0) {
            blitter.Stretch({D.left + l, D.top, dw - l - r, t}, {S.left + l, S.top, sw - l - r, t});
        }
        if (r > 0 && t > 0) {
            blitter.Stretch({D.right - r, D.top, r, t}, {S.right - r, S.top, r, t});
        }
        if (l > 0) {
            blitter.Stretch({D.left, D.top + t, l, dh - t - b}, {S.left, S.top + t, l, sh - t - b});
        }
        if (r > 0) {
            blitter.Stretch({D.right - r, D.top + t, r, dh - t - b},
                            {S.right - r, S.top + t, r, sh - t - b});
        }
        if (l > 0 && b > 0) {
            blitter.Stretch({D.left, D.bottom - b, l, b}, {S.left, S.bottom - b, l, b});
        }
        if (b > 0) {
            blitter.Stretch({D.left + l, D.bottom - b, dw - l - r, b},
                            {S.left + l, S.bottom - b, sw - l - r, b});
        }
        if (r > 0 && b > 0) {
            blitter.Stretch({D.right - r, D.bottom - b, r, b}, {S.right - r, S.bottom - b, r, b});
        }
    }

    ::SetBrushOrgEx(hDC, oldOrigin.x, oldOrigin.y, nullptr);
    if (oldMode != 0) {
        ::SetStretchBltMode(hDC, oldMode);
    }
}

} // namespace SkinUI
