#pragma once
#include <windows.h>

#include "ui/controls/ProgressUI.h"

namespace SkinUI {

// A progress bar with a draggable thumb. The value follows the mouse (drag,
// click on the track) and the wheel; "valuechanged" (wParam: the new value)
// follows a release and each wheel step. A disabled slider keeps its value.
class CSliderUI : public CProgressUI {
public:
    CSliderUI();
    ~CSliderUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enable = true) override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImages(HDC hDC) override;

    int GetChangeStep() const;
    void SetChangeStep(int step);
    SIZE GetThumbSize() const;
    void SetThumbSize(SIZE size);
    // In window client coordinates.
    RECT GetThumbRect() const;
    LPCWSTR GetThumbImage() const;
    void SetThumbImage(LPCWSTR image);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR image);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR image);
    // ButtonStateUI bits (hot, captured).
    UINT GetButtonState() const;

protected:
    // The value under a point of the track; the current value when the
    // track leaves no room to move.
    int ValueAtPoint(POINT pt) const;
    // Clamps into the range, stores and returns the stored value.
    int StoreClampedValue(long long value);
    void NotifyValueChanged();

    CUISize m_szThumb;
    UINT m_uButtonState;
    int m_nStep;
    CUIString m_sThumbImage;
    CUIString m_sThumbHotImage;
    CUIString m_sThumbPushedImage;
    CUIString m_sThumbImageModify;
};

} // namespace SkinUI
