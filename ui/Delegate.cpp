#include <windows.h>

#include "ui/Delegate.h"

namespace SkinUI {

CDelegateBase::CDelegateBase(void* object, void* fn) : m_pObject(object), m_pFn(fn) {}

CDelegateBase::CDelegateBase(const CDelegateBase& rhs)
    : m_pObject(rhs.m_pObject), m_pFn(rhs.m_pFn) {}

CDelegateBase::~CDelegateBase() = default;

bool CDelegateBase::Equals(const CDelegateBase& rhs) const {
    return m_pObject == rhs.m_pObject && m_pFn == rhs.m_pFn;
}

bool CDelegateBase::operator()(void* param) {
    return Invoke(param);
}

CDelegateStatic::CDelegateStatic(Fn fn)
    : CDelegateBase(nullptr, reinterpret_cast<void*>(fn)), m_pFn(fn) {}

CDelegateStatic::CDelegateStatic(const CDelegateStatic& rhs)
    : CDelegateBase(rhs), m_pFn(rhs.m_pFn) {}

CDelegateBase* CDelegateStatic::Copy() const {
    return new CDelegateStatic(*this);
}

bool CDelegateStatic::Invoke(void* param) {
    return m_pFn(param);
}

} // namespace SkinUI
