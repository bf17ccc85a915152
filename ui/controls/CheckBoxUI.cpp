#include <windows.h>

#include "ui/controls/CheckBoxUI.h"

namespace SkinUI {

LPCWSTR CCheckBoxUI::GetClass() const {
    return L"CheckBoxUI";
}

bool CCheckBoxUI::GetCheck() const {
    return IsSelected();
}

void CCheckBoxUI::SetCheck(bool check) {
    Select(check);
}

} // namespace SkinUI
