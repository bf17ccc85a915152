#include <windows.h>

#include "ui/XmlDocument.h"

namespace SkinUI {

// Loading a skin file from the skin archive that the window manager holds in
// memory. Until the window manager opens that archive there is none to read:
// the window manager's side replaces this body with the archive lookup
// ("Could not find ziped file", "File is empty", "File too large",
// "Could not unzip file", then LoadFromMem of the item's bytes).
bool CXmlDocument::LoadFromSkinArchive(LPCWSTR itemName, int encoding) {
    (void)itemName;
    (void)encoding;
    return Fail(L"Error opening zip file", nullptr);
}

} // namespace SkinUI
