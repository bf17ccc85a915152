#pragma once
#include <windows.h>

#include "ui/UIPtrArray.h"
#include "ui/controls/ListLabelElementUI.h"

namespace SkinUI {

// A list row that shows one text per column of its list's header, lined up
// under the header items: the list's text callback supplies the texts, or
// else the element's own column texts. With mark-up on, links in the texts
// are clickable ("link" with the link's number).
class CListTextElementUI : public CListLabelElementUI {
public:
    // Link areas collected across all columns of one paint.
    enum { kMaxLinks = 8 };

    CListTextElementUI();
    ~CListTextElementUI() override;

    LPCWSTR GetClass() const override;
    LPVOID QueryInterfaceByName(LPCWSTR name) override;
    UINT GetControlFlags() const override;
    void HandleEvent(TInputEventUI& event) override;
    SIZE MeasureDesiredSize(SIZE szAvailable) override;

    // Keeps the owner's "IList" interface too (null for a combo owner, so
    // that such an element draws no text).
    void SetOwner(CControlUI* owner) override;
    void DrawItemText(HDC hDC, const RECT& rcItem) override;

    // The element's own text of a column, used when the list has no text
    // callback; null outside the columns set so far.
    LPCWSTR GetColumnText(int column) const;
    // False for a column outside 0 to kMaxListColumns - 1 (never drawn).
    bool SetColumnText(int column, LPCWSTR text);

    // Link areas and names of the last paint.
    int GetLinkCount() const;
    const RECT& GetLinkRect(int link) const;
    LPCWSTR GetLinkName(int link) const;

private:
    int LinkAt(POINT pt) const;
    // True when the event was the link handling's.
    bool HandleLinkEvent(const TInputEventUI& event);

    int m_nLinks;
    RECT m_rcLinks[kMaxLinks];
    CUIString m_sLinks[kMaxLinks];
    int m_nHoverLink;
    IListUI* m_pListOwner;
    CUIPtrArray m_aTexts; // owned CUIString per column
};

} // namespace SkinUI
