#pragma once
#include <windows.h>

#include "ui/controls/LabelUI.h"

namespace SkinUI {

// Word-wrapped text whose mark-up links are hot under the mouse and send
// "link" (wParam: the link's index) when clicked.
class CTextUI : public CLabelUI {
public:
    enum { MAX_LINK = 8 };

    CTextUI();
    ~CTextUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void HandleEvent(TInputEventUI& event) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;
    void PaintText(HDC hDC) override;

    // The links found by the last paint.
    int GetLinkCount() const;
    // Null past the link count.
    const CUIString* GetLinkContent(int index) const;
    RECT GetLinkRect(int index) const;
    // -1 when the mouse is over no link.
    int GetHotLink() const;

protected:
    // The link under the point, or -1.
    int LinkAt(POINT pt) const;

    int m_nLinks;
    RECT m_rcLinks[MAX_LINK];
    CUIString m_sLinks[MAX_LINK];
    int m_nHoverLink;
};

} // namespace SkinUI
