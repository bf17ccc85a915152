#include <windows.h>

#include "ui/DelegateListUI.h"

namespace SkinUI {

CDelegateListUI::~CDelegateListUI() {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        delete static_cast<CDelegateBase*>(m_aDelegates[i]);
    }
}

void CDelegateListUI::operator+=(const CDelegateBase& d) {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        const auto* listed = static_cast<const CDelegateBase*>(m_aDelegates[i]);
        if (listed != nullptr && listed->Equals(d)) {
            return;
        }
    }
    CDelegateBase* copy = d.Copy();
    if (!m_aDelegates.Add(copy)) {
        delete copy;
    }
}

void CDelegateListUI::operator-=(const CDelegateBase& d) {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* listed = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (listed != nullptr && listed->Equals(d)) {
            m_aDelegates.Remove(i);
            delete listed;
            return;
        }
    }
}

CDelegateListUI::operator bool() const {
    return !m_aDelegates.IsEmpty();
}

bool CDelegateListUI::operator()(void* param) {
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        auto* listed = static_cast<CDelegateBase*>(m_aDelegates[i]);
        if (listed != nullptr && !(*listed)(param)) {
            return false;
        }
    }
    return true;
}

} // namespace SkinUI
