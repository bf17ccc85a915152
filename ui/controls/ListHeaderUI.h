#pragma once
#include <windows.h>

#include "ui/controls/HorizontalLayoutUI.h"

namespace SkinUI {

// The column header of a list: its items (CListHeaderItemUI) stand left to
// right, and the list copies their rectangles into its look as the column
// rectangles after every layout.
class CListHeaderUI : public CHorizontalLayoutUI {
public:
    CListHeaderUI();
    ~CListHeaderUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    // Height: the fixed height, else the tallest item but at least the
    // default font's height + 6. Width: the sum of all items' widths, hidden
    // ones included (the width the list's rows need).
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
};

} // namespace SkinUI
