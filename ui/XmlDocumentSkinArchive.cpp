#include <windows.h>

#include "ui/XmlDocument.h"

#include "ui/WindowManagerUI.h"

#include <vector>

namespace SkinUI {

// Loading a skin file from the skin archive that the window manager holds in
// memory. The archive stays open for the next file.
bool CXmlDocument::LoadFromSkinArchive(LPCWSTR itemName, int encoding) {
    std::vector<BYTE> bytes;
    switch (CWindowManagerUI::ReadResourceZipItem(itemName, MAX_FILE_SIZE, bytes)) {
    case CWindowManagerUI::ZIPREAD_OK:
        break;
    case CWindowManagerUI::ZIPREAD_NO_ARCHIVE:
        return Fail(L"Error opening zip file", nullptr);
    case CWindowManagerUI::ZIPREAD_NOT_FOUND:
        return Fail(L"Could not find ziped file", nullptr);
    case CWindowManagerUI::ZIPREAD_EMPTY:
        return Fail(L"File is empty", nullptr);
    case CWindowManagerUI::ZIPREAD_TOO_LARGE:
        return Fail(L"File too large", nullptr);
    default:
        return Fail(L"Could not unzip file", nullptr);
    }
    return LoadFromMem(bytes.data(), static_cast<DWORD>(bytes.size()), encoding);
}

} // namespace SkinUI
