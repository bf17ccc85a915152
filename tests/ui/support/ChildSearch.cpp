#include <windows.h>

#include "tests/ui/support/ChildSearch.h"

namespace UiTest {

using SkinUI::CControlUI;

CControlUI* FindInChildren(CControlUI& parent, int count,
                           const std::function<CControlUI*(int)>& childAt,
                           SkinUI::FINDCONTROLPROC proc, LPVOID data, UINT flags) {
    if ((flags & SkinUI::UIFIND_VISIBLE) != 0 && !parent.IsVisible()) {
        return nullptr;
    }
    if ((flags & SkinUI::UIFIND_ENABLED) != 0 && !parent.IsEnabled()) {
        return nullptr;
    }
    if ((flags & SkinUI::UIFIND_HITTEST) != 0 &&
        !::PtInRect(&parent.GetPos(), *static_cast<const POINT*>(data))) {
        return nullptr;
    }
    if ((flags & SkinUI::UIFIND_ME_FIRST) != 0) {
        if (CControlUI* found = parent.CControlUI::FindControl(proc, data, flags)) {
            return found;
        }
    }
    const bool topFirst = (flags & SkinUI::UIFIND_TOP_FIRST) != 0;
    for (int n = 0; n < count; ++n) {
        if (CControlUI* found =
                childAt(topFirst ? count - 1 - n : n)->FindControl(proc, data, flags)) {
            return found;
        }
    }
    return (flags & SkinUI::UIFIND_ME_FIRST) == 0
               ? parent.CControlUI::FindControl(proc, data, flags)
               : nullptr;
}

} // namespace UiTest
