#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

// Owns a BSTR.
class ComBstr {
public:
    ComBstr() = default;
    explicit ComBstr(const wchar_t* text) : bstr_(::SysAllocString(text)) {}
    ComBstr(const ComBstr&) = delete;
    ComBstr& operator=(const ComBstr&) = delete;
    ~ComBstr() { ::SysFreeString(bstr_); }

    BSTR Get() const { return bstr_; }
    BSTR* Receive() {
        ::SysFreeString(std::exchange(bstr_, nullptr));
        return &bstr_;
    }
    std::wstring Text() const { return bstr_ ? std::wstring(bstr_, ::SysStringLen(bstr_)) : L""; }

private:
    BSTR bstr_ = nullptr;
};

// Owns a VARIANT and clears it when it goes.
class ComVariant {
public:
    ComVariant() { ::VariantInit(&value_); }
    ComVariant(const ComVariant&) = delete;
    ComVariant& operator=(const ComVariant&) = delete;
    ~ComVariant() { ::VariantClear(&value_); }

    void Clear() { ::VariantClear(&value_); }
    VARIANT* Receive() {
        Clear();
        return &value_;
    }
    const VARIANT& Get() const { return value_; }
    VARTYPE Type() const { return V_VT(&value_); }

private:
    VARIANT value_;
};
