#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "statistics/XmlTextDoc.h"

// The information-item list "SystemInfoKeys.xml", read and parsed once per device-information
// report: which hardware groups to submit and which program names to look for per software
// category. A list that cannot be read or parsed answers every question with false.
class SystemInfoKeyList {
public:
    bool Load(const std::wstring& path);
    bool LoadBytes(const std::string& bytes);

    // Whether pt_hardware holds the group with SubmitType exactly "Yes".
    bool IsGroupSubmitted(const wchar_t* group);
    // The Regkey values of the category's items under pt_software, in file order; false (patterns
    // untouched) when the category cannot be read.
    bool ReadCategoryPatterns(const wchar_t* category, std::vector<std::wstring>& patterns);

private:
    bool Parse(bool read);
    // Puts the cursor on root/section/element.
    bool FindSectionElement(const wchar_t* section, const wchar_t* element);

    CXmlTextDoc doc_;
    bool loaded_ = false;
};
