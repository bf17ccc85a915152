#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"

namespace SkinUI {

// Arranges its visible children in rows of equal cells: a number of columns
// ("columns"), or as many columns of at least the item width ("itemsize") as
// fit. Each row is as high as its tallest child; each child is centred in
// its cell.
class CTileLayoutUI : public CContainerUI {
public:
    CTileLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;

    // Only the width takes part in the layout; a positive width overrides
    // the column count.
    SIZE GetItemSize() const;
    void SetItemSize(SIZE size);
    int GetColumns() const;
    // Values of 0 or less are ignored.
    void SetColumns(int columns);

protected:
    CUISize m_szItem;
    int m_nColumns;

private:
    // The height of the row that starts at child index first.
    long long MeasureRow(int first, int columns, long long cellLeft, long long cellRight) const;
};

} // namespace SkinUI
