#pragma once
#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace SkinUI {

// A label that shows a value between a minimum and a maximum by drawing its
// fore image over the covered part (horizontal from the left, vertical from
// the bottom), stretched or revealed unscaled. SetValue and the label's
// SetText only store and invalidate: painting happens on the window's
// thread.
class CProgressUI : public CLabelUI {
public:
    CProgressUI();
    ~CProgressUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImages(HDC hDC) override;

    bool IsHorizontal() const;
    void SetHorizontal(bool horizontal = true);
    bool IsStretchForeImage() const;
    void SetStretchForeImage(bool stretch = true);
    // Stored as given; the range is repaired and the value clamped at paint.
    int GetMinValue() const;
    void SetMinValue(int min);
    int GetMaxValue() const;
    void SetMaxValue(int max);
    int GetValue() const;
    void SetValue(int value);
    LPCWSTR GetForeImage() const;
    void SetForeImage(LPCWSTR image);

protected:
    // Makes maximum > minimum and the value lie between them (stored).
    void NormalizeRange();
    // The part of the item (relative to its top-left) that the value
    // covers, for the range as stored now.
    RECT GetCoveredRect() const;

    bool m_bHorizontal;
    bool m_bStretchForeImage;
    int m_nMax;
    int m_nMin;
    int m_nValue;
    CUIString m_sForeImage;
    CUIString m_sForeImageModify;
};

} // namespace SkinUI
