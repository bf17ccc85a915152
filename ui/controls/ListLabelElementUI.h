#pragma once
#include <windows.h>

#include "ui/controls/ListElementUI.h"

namespace SkinUI {

// A list row that shows one text in the owner's look. A press on it sends
// "itemclick" and selects it; the mouse makes it hot.
class CListLabelElementUI : public CListElementUI {
public:
    CListLabelElementUI();
    ~CListLabelElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void HandleEvent(TInputEventUI& event) override;
    // Without a fixed size: the look's font height and the text's width,
    // both with the look's text padding; (0, 0) without an owner.
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    // The row's background and text only: no background, state images or
    // border of the control base.
    void Paint(HDC hDC, const RECT& rcPaint) override;

    void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

} // namespace SkinUI
