#pragma once
#include <windows.h>

#include "ui/ControlUI.h"

namespace SkinUI {

class CContainerUI;

// A skinned scroll bar drawn from images: background, two arrow buttons, a
// thumb and a rail (a grip centred on the thumb). It either scrolls an owner
// container through the owner's line, page and position operations, or
// stands alone, keeping its own position and sending "scroll".
class CScrollBarUI : public CControlUI {
public:
    // The bar's local timer id; while a button, the track or the thumb is
    // pressed it ticks every kRepeatElapse milliseconds.
    enum { kRepeatTimerId = 10, kRepeatElapse = 50, kDefaultThickness = 16 };
    // Steps repeat from this tick on (the sixth tick, 300 ms after a press).
    enum { kFirstRepeatTick = 6 };
    // State bits of the buttons and the thumb, as the other controls keep them.
    enum : UINT {
        kStateDisabled = 0x04,
        kStateHot = 0x08,
        kStatePushed = 0x10,
        kStateCaptured = 0x40,
    };

    CScrollBarUI();
    ~CScrollBarUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetEnabled(bool enable = true) override;
    void SetFocus() override;
    void HandleEvent(TInputEventUI& event) override;
    void ApplyAttribute(LPCWSTR name, LPCWSTR value) override;
    void Paint(HDC hDC, const RECT& rcPaint) override;

    CContainerUI* GetOwner() const;
    void SetOwner(CContainerUI* owner);

    bool IsHorizontal() const;
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const;
    void SetScrollRange(int range);
    int GetScrollPos() const;
    void SetScrollPos(int pos);
    int GetLineSize() const;
    void SetLineSize(int size);

    bool GetShowButton1() const;
    void SetShowButton1(bool show);
    bool GetShowButton2() const;
    void SetShowButton2(bool show);

    // Geometry of the last SetPos, in window client coordinates.
    const RECT& GetButton1Rect() const;
    const RECT& GetButton2Rect() const;
    const RECT& GetThumbRect() const;
    // kState* bits.
    UINT GetButton1State() const;
    UINT GetButton2State() const;
    UINT GetThumbState() const;

    LPCWSTR GetButton1NormalImage() const;
    void SetButton1NormalImage(LPCWSTR image);
    LPCWSTR GetButton1HotImage() const;
    void SetButton1HotImage(LPCWSTR image);
    LPCWSTR GetButton1PushedImage() const;
    void SetButton1PushedImage(LPCWSTR image);
    LPCWSTR GetButton1DisabledImage() const;
    void SetButton1DisabledImage(LPCWSTR image);

    LPCWSTR GetButton2NormalImage() const;
    void SetButton2NormalImage(LPCWSTR image);
    LPCWSTR GetButton2HotImage() const;
    void SetButton2HotImage(LPCWSTR image);
    LPCWSTR GetButton2PushedImage() const;
    void SetButton2PushedImage(LPCWSTR image);
    LPCWSTR GetButton2DisabledImage() const;
    void SetButton2DisabledImage(LPCWSTR image);

    LPCWSTR GetThumbNormalImage() const;
    void SetThumbNormalImage(LPCWSTR image);
    LPCWSTR GetThumbHotImage() const;
    void SetThumbHotImage(LPCWSTR image);
    LPCWSTR GetThumbPushedImage() const;
    void SetThumbPushedImage(LPCWSTR image);
    LPCWSTR GetThumbDisabledImage() const;
    void SetThumbDisabledImage(LPCWSTR image);

    LPCWSTR GetRailNormalImage() const;
    void SetRailNormalImage(LPCWSTR image);
    LPCWSTR GetRailHotImage() const;
    void SetRailHotImage(LPCWSTR image);
    LPCWSTR GetRailPushedImage() const;
    void SetRailPushedImage(LPCWSTR image);
    LPCWSTR GetRailDisabledImage() const;
    void SetRailDisabledImage(LPCWSTR image);

    LPCWSTR GetBkNormalImage() const;
    void SetBkNormalImage(LPCWSTR image);
    LPCWSTR GetBkHotImage() const;
    void SetBkHotImage(LPCWSTR image);
    LPCWSTR GetBkPushedImage() const;
    void SetBkPushedImage(LPCWSTR image);
    LPCWSTR GetBkDisabledImage() const;
    void SetBkDisabledImage(LPCWSTR image);

private:
    // Four images of one part, by state.
    struct StateImages {
        CUIString normal;
        CUIString hot;
        CUIString pushed;
        CUIString disabled;
    };

    void SetImage(CUIString& slot, LPCWSTR image);
    int Thickness() const;
    int Extent() const;
    void ComputeGeometry();

    // Events.
    void OnButtonDown(const TInputEventUI& event);
    void OnButtonUp();
    void OnMouseMove(const TInputEventUI& event);
    void OnTimer();
    void OnMouseEnter(const TInputEventUI& event);
    void OnMouseLeave();
    void PassOn(TInputEventUI& event);
    void LineBack();
    void LineForward();
    void PageBack();
    void PageForward();
    void MoveTo(long long pos);
    void NotifyScroll();
    bool BeforeThumb(POINT pt) const;
    bool AfterThumb(POINT pt) const;

    // Painting.
    void PaintBackground(HDC hDC);
    void PaintPart(HDC hDC, const RECT& rcPart, UINT& state, StateImages& images);
    void PaintRail(HDC hDC);
    bool DrawState(HDC hDC, UINT state, StateImages& images, LPCWSTR modify);
    bool DrawOne(HDC hDC, CUIString& image, LPCWSTR modify);
    void SetModifier(const RECT& rcPart);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;

    StateImages m_bkImages;

    bool m_bShowButton1;
    CUIRect m_rcButton1;
    UINT m_uButton1State;
    StateImages m_button1Images;

    bool m_bShowButton2;
    CUIRect m_rcButton2;
    UINT m_uButton2State;
    StateImages m_button2Images;

    CUIRect m_rcThumb;
    UINT m_uThumbState;
    StateImages m_thumbImages;

    StateImages m_railImages;

    CUIString m_sImageModify;
};

} // namespace SkinUI
