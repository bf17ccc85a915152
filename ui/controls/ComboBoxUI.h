#pragma once
#include <windows.h>

#include "ui/controls/ComboUI.h"

namespace SkinUI {

// A combo with an arrow at its right edge: "arrowimage" names a strip of
// five equally wide pictures (normal, hot, pushed, focused, disabled), of
// which the one for the current state is drawn, and the selected text stops
// short of it.
class CComboBoxUI : public CComboUI {
public:
    CComboBoxUI();
    ~CComboBoxUI() override;

    LPCWSTR GetClass() const override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void PaintStateImages(HDC hDC) override;
    void PaintText(HDC hDC) override;

    // An image description whose "source" covers the whole strip.
    void SetArrowImage(LPCWSTR image);

private:
    // The arrow image's description with the source and destination of the
    // state's picture, or empty when its "source" has no two quotes.
    CUIString ArrowModifier(int picture);

    CUIString m_sArrowImage;
    int m_nArrowWidth;
};

} // namespace SkinUI
