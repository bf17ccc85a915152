#include <windows.h>

#include "ui/WindowManagerUI.h"

#include "ui/ImageCacheUI.h"
#include "ui/RendererUI.h"

namespace SkinUI {

bool CWindowManagerUI::SetParentResource(CWindowManagerUI* parent) {
    if (parent == nullptr) {
        m_pParentResourcePM = nullptr;
        return true;
    }
    for (const CWindowManagerUI* manager = parent; manager != nullptr;
         manager = manager->m_pParentResourcePM) {
        if (manager == this) {
            return false;
        }
    }
    m_pParentResourcePM = parent;
    return true;
}

CWindowManagerUI* CWindowManagerUI::GetParentResource() const {
    return m_pParentResourcePM;
}

DWORD CWindowManagerUI::GetDefaultDisabledColor() const {
    return TopResource()->m_dwDefaultDisabledColor;
}

void CWindowManagerUI::SetDefaultDisabledColor(DWORD color) {
    m_dwDefaultDisabledColor = color;
}

DWORD CWindowManagerUI::GetDefaultFontColor() const {
    return TopResource()->m_dwDefaultFontColor;
}

void CWindowManagerUI::SetDefaultFontColor(DWORD color) {
    m_dwDefaultFontColor = color;
}

DWORD CWindowManagerUI::GetDefaultLinkFontColor() const {
    return TopResource()->m_dwDefaultLinkFontColor;
}

void CWindowManagerUI::SetDefaultLinkFontColor(DWORD color) {
    m_dwDefaultLinkFontColor = color;
}

DWORD CWindowManagerUI::GetDefaultLinkHoverFontColor() const {
    return TopResource()->m_dwDefaultLinkHoverFontColor;
}

void CWindowManagerUI::SetDefaultLinkHoverFontColor(DWORD color) {
    m_dwDefaultLinkHoverFontColor = color;
}

DWORD CWindowManagerUI::GetDefaultSelectedBkColor() const {
    return TopResource()->m_dwDefaultSelectedBkColor;
}

void CWindowManagerUI::SetDefaultSelectedBkColor(DWORD color) {
    m_dwDefaultSelectedBkColor = color;
}

TImageRecordUI* CWindowManagerUI::GetImage(LPCWSTR name) {
    return name == nullptr ? nullptr : static_cast<TImageRecordUI*>(m_mImageHash.Find(name));
}

TImageRecordUI* CWindowManagerUI::GetImageOrAdd(LPCWSTR name, LPCWSTR type, DWORD mask) {
    TImageRecordUI* image = GetImage(name);
    return image != nullptr ? image : AddImage(name, type, mask);
}

TImageRecordUI* CWindowManagerUI::AddImage(LPCWSTR name, LPCWSTR type, DWORD mask) {
    // Decoded once for the process; this manager holds a reference.
    TImageRecordUI* image = CImageCacheUI::Acquire(name, type, mask);
    if (image == nullptr) {
        return nullptr;
    }
    if (!m_mImageHash.Insert(name, image)) {
        CImageCacheUI::Release(image);
        return nullptr;
    }
    return image;
}

void CWindowManagerUI::RemoveAllImages() {
    m_mImageHash.RemoveAll(
        [](LPVOID image) { CImageCacheUI::Release(static_cast<TImageRecordUI*>(image)); });
}

void CWindowManagerUI::AddDefaultAttributeList(LPCWSTR controlName, LPCWSTR attrList) {
    if (controlName == nullptr || m_DefaultAttrHash.Find(controlName) != nullptr) {
        return;
    }
    auto* list = new CUIString(attrList != nullptr ? attrList : L"");
    if (!m_DefaultAttrHash.Insert(controlName, list)) {
        delete list;
    }
}

LPCWSTR CWindowManagerUI::GetDefaultAttributeList(LPCWSTR controlName) const {
    if (controlName == nullptr) {
        return nullptr;
    }
    for (const CWindowManagerUI* manager = this; manager != nullptr;
         manager = manager->m_pParentResourcePM) {
        const auto* list = static_cast<CUIString*>(manager->m_DefaultAttrHash.Find(controlName));
        if (list != nullptr) {
            return list->GetData();
        }
    }
    return nullptr;
}

void CWindowManagerUI::RemoveAllDefaultAttributeList() {
    m_DefaultAttrHash.RemoveAll([](LPVOID list) { delete static_cast<CUIString*>(list); });
}

bool CWindowManagerUI::AddToOptionGroup(LPCWSTR groupName, CControlUI* option) {
    if (groupName == nullptr) {
        return false;
    }
    auto* group = static_cast<CUIPtrArray*>(m_mOptionGroup.Find(groupName));
    if (group == nullptr) {
        group = new CUIPtrArray(6);
        group->Add(option);
        if (!m_mOptionGroup.Insert(groupName, group)) {
            delete group;
            return false;
        }
        return true;
    }
    if (group->Find(option) >= 0) {
        return false;
    }
    return group->Add(option);
}

CUIPtrArray* CWindowManagerUI::GetOptionGroup(LPCWSTR groupName) {
    return groupName == nullptr ? nullptr
                                : static_cast<CUIPtrArray*>(m_mOptionGroup.Find(groupName));
}

void CWindowManagerUI::RemoveOptionGroup(LPCWSTR groupName, CControlUI* option) {
    CUIPtrArray* group = GetOptionGroup(groupName);
    if (group == nullptr) {
        return;
    }
    const int index = group->Find(option);
    if (index >= 0) {
        group->Remove(index);
    }
    if (group->IsEmpty()) {
        delete group;
        m_mOptionGroup.Remove(groupName);
    }
}

void CWindowManagerUI::RemoveAllOptionGroups() {
    m_mOptionGroup.RemoveAll([](LPVOID group) { delete static_cast<CUIPtrArray*>(group); });
}

} // namespace SkinUI
