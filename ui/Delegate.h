#pragma once
#include <windows.h>

#include <cstring>

namespace SkinUI {

// A callable hook: an object and the identity of the operation to call on it.
// Controls keep lists of heap copies (CDelegateListUI) made through Copy.
class CDelegateBase {
public:
    CDelegateBase(void* object, void* fn);
    CDelegateBase(const CDelegateBase& rhs);
    CDelegateBase& operator=(const CDelegateBase&) = delete;
    virtual ~CDelegateBase();
    virtual CDelegateBase* Copy() const = 0;
    virtual bool Invoke(void* param) = 0;

    bool Equals(const CDelegateBase& rhs) const;
    bool operator()(void* param);

protected:
    void* GetFn() const { return m_pFn; }
    void* GetTarget() const { return m_pObject; }

private:
    void* m_pObject;
    void* m_pFn;
};

// A plain function as delegate (no object).
class CDelegateStatic : public CDelegateBase {
public:
    typedef bool (*Fn)(void*);
    explicit CDelegateStatic(Fn fn);
    CDelegateStatic(const CDelegateStatic& rhs);
    CDelegateBase* Copy() const override;
    bool Invoke(void* param) override;

private:
    Fn m_pFn;
};

// A member operation of T called on an object of O (O derives from T or is T).
template <class O, class T> class CDelegate : public CDelegateBase {
public:
    typedef bool (T::*Fn)(void*);
    CDelegate(O* object, Fn fn) : CDelegateBase(object, Identity(fn)), m_pFn(fn) {}
    CDelegate(const CDelegate& rhs) : CDelegateBase(rhs), m_pFn(rhs.m_pFn) {}
    CDelegateBase* Copy() const override { return new CDelegate(*this); }
    bool Invoke(void* param) override {
        O* object = static_cast<O*>(GetTarget());
        return (object->*m_pFn)(param);
    }

private:
    // A member-operation pointer is no data pointer; its first word (the
    // code address or virtual slot) serves as the operation's identity.
    static void* Identity(Fn fn) {
        void* identity = nullptr;
        std::memcpy(&identity, &fn, sizeof(identity) < sizeof(fn) ? sizeof(identity) : sizeof(fn));
        return identity;
    }

    Fn m_pFn;
};

template <class O, class T> CDelegate<O, T> MakeDelegate(O* object, bool (T::*fn)(void*)) {
    return CDelegate<O, T>(object, fn);
}

inline CDelegateStatic MakeDelegate(bool (*fn)(void*)) {
    return CDelegateStatic(fn);
}

} // namespace SkinUI
