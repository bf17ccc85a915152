#include <windows.h>

#include "ui/XmlDocument.h"

#include "ui/SkinSourceUI.h"

#include <vector>

namespace SkinUI {

// Skin files by name: from the process-wide skin archive when one is set, else
// from the resource folder.
bool CXmlDocument::LoadFromFile(LPCWSTR fileName, int encoding) {
    Release();
    ClearError();
    if (fileName == nullptr) {
        return Fail(L"Error opening file", nullptr);
    }
    if (!CSkinSourceUI::GetResourceZip().IsEmpty()) {
        return LoadFromSkinArchive(fileName, encoding);
    }
    CUIString path(CSkinSourceUI::GetResourcePath());
    path += fileName;
    return LoadFromPath(path, encoding);
}

// The archive stays open for the next file.
bool CXmlDocument::LoadFromSkinArchive(LPCWSTR itemName, int encoding) {
    std::vector<BYTE> bytes;
    switch (CSkinSourceUI::ReadResourceZipItem(itemName, MAX_FILE_SIZE, bytes)) {
    case CSkinSourceUI::ZIPREAD_OK:
        break;
    case CSkinSourceUI::ZIPREAD_NO_ARCHIVE:
        return Fail(L"Error opening zip file", nullptr);
    case CSkinSourceUI::ZIPREAD_NOT_FOUND:
        return Fail(L"Could not find ziped file", nullptr);
    case CSkinSourceUI::ZIPREAD_EMPTY:
        return Fail(L"File is empty", nullptr);
    case CSkinSourceUI::ZIPREAD_TOO_LARGE:
        return Fail(L"File too large", nullptr);
    default:
        return Fail(L"Could not unzip file", nullptr);
    }
    return LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), encoding);
}

} // namespace SkinUI
