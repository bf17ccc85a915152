#pragma once
#include <windows.h>

#include "ui/Delegate.h"
#include "ui/UIPtrArray.h"

namespace SkinUI {

// Ordered hooks of one kind (a control's init, destroy, size, event and
// notify lists). The list owns heap copies of the delegates given to it.
class CDelegateListUI {
public:
    CDelegateListUI() = default;
    ~CDelegateListUI();
    CDelegateListUI(const CDelegateListUI&) = delete;
    CDelegateListUI& operator=(const CDelegateListUI&) = delete;

    // Adds a copy unless an equal delegate is listed already.
    void operator+=(const CDelegateBase& d);
    // Removes and frees the listed delegate equal to d, if any.
    void operator-=(const CDelegateBase& d);
    explicit operator bool() const;
    // Calls the delegates in order; stops at the first that returns false.
    bool operator()(void* param);

private:
    CUIPtrArray m_aDelegates;
};

} // namespace SkinUI
