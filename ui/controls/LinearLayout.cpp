#include <windows.h>

#include "ui/controls/LinearLayout.h"

#include "ui/controls/LinearLayoutMath.h"

namespace SkinUI {
namespace LayoutMath {
namespace {

// Reads sizes, margins and limits along the main axis of the line ("main")
// or across it ("cross").
struct LineAxis {
    bool vertical;

    long long Main(SIZE size) const { return vertical ? size.cy : size.cx; }
    long long Lead(const RECT& margin) const { return vertical ? margin.top : margin.left; }
    long long Trail(const RECT& margin) const { return vertical ? margin.bottom : margin.right; }
    long long CrossLead(const RECT& margin) const { return vertical ? margin.left : margin.top; }
    long long CrossTrail(const RECT& margin) const {
        return vertical ? margin.right : margin.bottom;
    }
    long long ClampMain(CControlUI* child, long long value) const {
        return vertical ? Clamp(value, child->GetMinHeight(), child->GetMaxHeight())
                        : Clamp(value, child->GetMinWidth(), child->GetMaxWidth());
    }
    long long ClampCross(CControlUI* child, long long value) const {
        return vertical ? Clamp(value, child->GetMinWidth(), child->GetMaxWidth())
                        : Clamp(value, child->GetMinHeight(), child->GetMaxHeight());
    }
    long long FixedCross(CControlUI* child) const {
        return vertical ? child->GetFixedWidth() : child->GetFixedHeight();
    }
    SIZE MakeLineSize(long long main, long long cross) const {
        return vertical ? MakeSize(cross, main) : MakeSize(main, cross);
    }
    RECT MakeLineRect(long long mainStart, long long crossStart, long long mainEnd,
                      long long crossEnd) const {
        return vertical ? MakeRect(crossStart, mainStart, crossEnd, mainEnd)
                        : MakeRect(mainStart, crossStart, mainEnd, crossEnd);
    }
};

} // namespace

void ArrangeLine(CContainerUI& layout, bool vertical) {
    const LineAxis axis{vertical};
    const RECT inner = layout.GetInnerRect();
    const int count = layout.GetCount();
    if (count == 0) {
        layout.UpdateScrollBars(inner, 0, 0);
        return;
    }
    const CScrollBarUI* hBar = layout.GetHorizontalScrollBar();
    const CScrollBarUI* vBar = layout.GetVerticalScrollBar();
    const int padding = layout.GetChildPadding();
    const long long availableWidth =
        static_cast<long long>(inner.right) - inner.left + ShownScrollRange(hBar);
    const long long availableHeight = static_cast<long long>(inner.bottom) - inner.top;
    const SIZE available = MakeSize(availableWidth, availableHeight);
    const long long availableMain = vertical ? availableHeight : availableWidth;
    const long long availableCross = vertical ? availableWidth : availableHeight;

    int stretchCount = 0;
    int placedCount = 0;
    long long fixedTotal = 0;
    for (int i = 0; i < count; ++i) {
        CControlUI* child = layout.GetItemAt(i);
        if (!child->IsVisible() || child->IsFloating()) {
            continue;
        }
        long long size = axis.Main(child->MeasureDesiredSize(available));
        if (size == 0) {
            ++stretchCount;
        } else {
            size = axis.ClampMain(child, size);
        }
        const RECT margin = child->GetPadding();
        fixedTotal += size + axis.Lead(margin) + axis.Trail(margin);
        ++placedCount;
    }
    fixedTotal += static_cast<long long>(placedCount - 1) * padding;
    const long long share =
        stretchCount > 0 ? std::max<long long>(0, (availableMain - fixedTotal) / stretchCount) : 0;

    // The horizontal bar shifts both layouts; the vertical one only the
    // vertical layout, a horizontal one hides it.
    const long long x = inner.left - ShownScrollPos(hBar);
    const long long y = inner.top - (vertical ? ShownScrollPos(vBar) : 0);
    long long pos = vertical ? y : x;
    const long long crossOrigin = vertical ? x : y;
    long long remaining = availableMain;
    long long fixedRemainder = fixedTotal;
    long long needed = 0;
    int stretchSeen = 0;
    for (int i = 0; i < count; ++i) {
        CControlUI* child = layout.GetItemAt(i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloating()) {
            layout.PlaceFloatingChild(i);
            continue;
        }
        const RECT margin = child->GetPadding();
        const long long lead = axis.Lead(margin);
        const long long trail = axis.Trail(margin);
        remaining -= lead;
        long long size =
            axis.Main(child->MeasureDesiredSize(axis.MakeLineSize(remaining, availableCross)));
        if (size == 0) {
            ++stretchSeen;
            size = share;
            if (stretchSeen == stretchCount) {
                size = std::max<long long>(0, remaining - trail - fixedRemainder);
            }
            size = axis.ClampMain(child, size);
        } else {
            size = axis.ClampMain(child, size);
            fixedRemainder -= size;
        }
        long long cross = axis.FixedCross(child);
        if (cross == 0) {
            cross = availableCross - axis.CrossLead(margin) - axis.CrossTrail(margin);
        }
        cross = axis.ClampCross(child, std::max<long long>(cross, 0));

        const long long crossStart = crossOrigin + axis.CrossLead(margin);
        child->SetPos(axis.MakeLineRect(pos + lead, crossStart, pos + lead + size + trail,
                                        crossStart + cross));
        pos += size + padding + lead + trail;
        needed += size + lead + trail;
        remaining -= size + padding + trail;
    }
    needed += static_cast<long long>(placedCount - 1) * padding;
    if (vertical) {
        layout.UpdateScrollBars(inner, 0, SaturateToInt(needed));
    } else {
        layout.UpdateScrollBars(inner, SaturateToInt(needed), 0);
    }
}

} // namespace LayoutMath
} // namespace SkinUI
