#pragma once
#include <windows.h>

#include "ui/controls/OptionUI.h"

namespace SkinUI {

// An option that reads its selection as a check state.
class CCheckBoxUI : public COptionUI {
public:
    LPCWSTR GetClass() const override;

    bool GetCheck() const;
    void SetCheck(bool check);
};

} // namespace SkinUI
