#include <windows.h>

#include "statistics/SystemInfoKeyList.h"

bool SystemInfoKeyList::Load(const std::wstring& path) {
    int flags = doc_.GetDocFlags();
    return Parse(doc_.ReadTextFile(path.c_str(), flags));
}

bool SystemInfoKeyList::LoadBytes(const std::string& bytes) {
    int flags = doc_.GetDocFlags();
    return Parse(doc_.ReadTextBytes(bytes, flags));
}

bool SystemInfoKeyList::Parse(bool read) {
    loaded_ = read && doc_.ParseDocument();
    return loaded_;
}

bool SystemInfoKeyList::FindSectionElement(const wchar_t* section, const wchar_t* element) {
    doc_.ResetPos();
    return loaded_ && doc_.FindElement(nullptr) && doc_.EnterElement() &&
           doc_.FindElement(section) && doc_.EnterElement() && doc_.FindElement(element);
}

bool SystemInfoKeyList::IsGroupSubmitted(const wchar_t* group) {
    return FindSectionElement(L"pt_hardware", group) &&
           doc_.GetAttribute(L"SubmitType") == L"Yes" && doc_.EnterElement();
}

bool SystemInfoKeyList::ReadCategoryPatterns(const wchar_t* category,
                                             std::vector<std::wstring>& patterns) {
    if (!FindSectionElement(L"pt_software", category) || !doc_.EnterElement()) {
        return false;
    }
    std::vector<std::wstring> found;
    while (doc_.FindElement(nullptr)) {
        found.push_back(doc_.GetAttribute(L"Regkey"));
    }
    patterns.swap(found);
    return true;
}
