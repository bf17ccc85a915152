#include <windows.h>

#include "ui/controls/TileLayoutUI.h"

#include "ui/UIAttributeValue.h"
#include "ui/controls/LinearLayoutMath.h"

#include <cwchar>

namespace SkinUI {

using namespace LayoutMath;

namespace {

// Height offered to a child when a row is measured.
const int kRowMeasureHeight = 9999;

} // namespace

CTileLayoutUI::CTileLayoutUI() : m_nColumns(1) {}

LPCWSTR CTileLayoutUI::GetClass() const {
    return L"TileLayoutUI";
}

LPVOID CTileLayoutUI::QueryInterfaceByName(LPCWSTR name) {
    if (name != nullptr && std::wcscmp(name, L"TileLayout") == 0) {
        return static_cast<CTileLayoutUI*>(this);
    }
    return CContainerUI::QueryInterfaceByName(name);
}

SIZE CTileLayoutUI::GetItemSize() const {
    return m_szItem;
}

void CTileLayoutUI::SetItemSize(SIZE size) {
    if (m_szItem.cx == size.cx && m_szItem.cy == size.cy) {
        return;
    }
    m_szItem = size;
    MarkNeedsUpdate();
}

int CTileLayoutUI::GetColumns() const {
    return m_nColumns;
}

void CTileLayoutUI::SetColumns(int columns) {
    if (columns <= 0) {
        return;
    }
    m_nColumns = columns;
    MarkNeedsUpdate();
}

void CTileLayoutUI::ApplyAttribute(LPCWSTR name, LPCWSTR value) {
    if (name != nullptr && std::wcscmp(name, L"itemsize") == 0) {
        SetItemSize(ParseSizeValue(value));
    } else if (name != nullptr && std::wcscmp(name, L"columns") == 0) {
        SetColumns(ParseDecimalValue(value));
    } else {
        CContainerUI::ApplyAttribute(name, value);
    }
}

// The children of one row, from the first onward, are measured in the
// current cell's width less their margins and the gap (half of it at the
// row's outer cells); the row is as high as the tallest with its margins.
long long CTileLayoutUI::MeasureRow(int first, int columns, long long cellLeft,
                                    long long cellRight) const {
    const long long halfGap = m_iChildPadding / 2;
    long long rowHeight = 0;
    int measured = 0;
    for (int i = first; i < m_items.GetSize() && measured < columns; ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible() || child->IsFloating()) {
            continue;
        }
        const RECT margin = child->GetPadding();
        const bool outerCell = measured == 0 || measured == columns - 1;
        long long width = cellRight - margin.right - margin.left - cellLeft -
                          (outerCell ? halfGap : m_iChildPadding);
        width = Clamp(width, child->GetMinWidth(), child->GetMaxWidth());
        SIZE sz = child->MeasureDesiredSize(MakeSize(width, kRowMeasureHeight));
        const long long height = Clamp(sz.cy, child->GetMinHeight(), child->GetMaxHeight());
        rowHeight = std::max(rowHeight, height + margin.top + margin.bottom);
        ++measured;
    }
    return rowHeight;
}

void CTileLayoutUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    const RECT inner = GetInnerRect();
    if (m_items.IsEmpty()) {
        UpdateScrollBars(inner, 0, 0);
        return;
    }
    const long long innerWidth = static_cast<long long>(inner.right) - inner.left;
    long long columns = m_nColumns;
    if (m_szItem.cx > 0) {
        columns = innerWidth / m_szItem.cx;
        if (columns == 0) {
            columns = 1;
        }
    }
    if (columns <= 0) {
        // A width below 0 left no column at all.
        columns = 1;
    }
    long long cellWidth = innerWidth / columns;
    if (IsShown(m_pHorizontalScrollBar)) {
        cellWidth = (m_pHorizontalScrollBar->GetScrollRange() + innerWidth) / columns;
    }
    const int columnCount = static_cast<int>(std::min<long long>(columns, INT_MAX));
    const long long x0 = inner.left - ShownScrollPos(m_pHorizontalScrollBar);
    const long long halfGap = m_iChildPadding / 2;
    long long tileX = x0;
    long long tileY = inner.top - ShownScrollPos(m_pVerticalScrollBar);
    long long rowHeight = 0;
    long long count = 0;
    long long neededHeight = 0;
    for (int i = 0; i < m_items.GetSize(); ++i) {
        CControlUI* child = GetItemAt(i);
        if (!child->IsVisible()) {
            continue;
        }
        if (child->IsFloating()) {
            PlaceFloatingChild(i);
            continue;
        }
        const long long cellRight = tileX + cellWidth;
        if (count % columns == 0) {
            rowHeight = MeasureRow(i, columnCount, tileX, cellRight);
        }
        const RECT margin = child->GetPadding();
        long long left = tileX + halfGap + margin.left;
        long long right = cellRight - halfGap - margin.right;
        if (count % columns == 0) {
            left -= halfGap;
        }
        if ((count + 1) % columns == 0) {
            right += halfGap;
        }
        const long long top = tileY + margin.top;
        const long long bottom = tileY + rowHeight;

        const SIZE tile = MakeSize(right - left, bottom - top);
        SIZE sz = child->MeasureDesiredSize(tile);
        long long cx = sz.cx == 0 ? tile.cx : sz.cx;
        long long cy = sz.cy == 0 ? tile.cy : sz.cy;
        cx = Clamp(cx, child->GetMinWidth(), child->GetMaxWidth());
        cy = Clamp(cy, child->GetMinHeight(), child->GetMaxHeight());
        const long long childLeft = (left + right - cx) / 2;
        const long long childTop = (top + bottom - cy) / 2;
        child->SetPos(MakeRect(childLeft, childTop, childLeft + cx, childTop + cy));

        ++count;
        if (count % columns == 0) {
            tileX = x0;
            tileY += rowHeight + m_iChildPadding;
            rowHeight = 0;
        } else {
            tileX = cellRight;
        }
        neededHeight = bottom - inner.top + ShownScrollPos(m_pVerticalScrollBar);
    }
    UpdateScrollBars(inner, 0, SaturateToInt(neededHeight));
}

} // namespace SkinUI
