#include <windows.h>

#include "ui/ImageCacheUI.h"
#include "ui/WindowManagerState.h"
#include "ui/WindowManagerUI.h"

#include <vector>

namespace SkinUI {

WindowManagerState::~WindowManagerState() {
    if (resourceZipHandle != nullptr) {
        ZipArchiveClose(resourceZipHandle);
    }
    if (updateRectPen != nullptr) {
        ::DeleteObject(updateRectPen);
    }
}

WindowManagerState& ManagerState() {
    static WindowManagerState state;
    return state;
}

void CWindowManagerUI::SetInstance(HINSTANCE instance) {
    ManagerState().instance = instance;
}

HINSTANCE CWindowManagerUI::GetInstance() {
    return ManagerState().instance;
}

HINSTANCE CWindowManagerUI::GetResourceInstance() {
    return ManagerState().instance;
}

CUIString CWindowManagerUI::GetInstancePath() {
    const HINSTANCE instance = ManagerState().instance;
    if (instance == nullptr) {
        return CUIString();
    }
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(instance, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return CUIString();
        }
        if (length < name.size()) {
            break;
        }
        if (name.size() >= 32768) {
            return CUIString();
        }
        name.resize(name.size() * 2);
    }
    CUIString path(name.data());
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CUIString() : path.Left(slash + 1);
}

void CWindowManagerUI::SetResourcePath(LPCWSTR path) {
    CUIString& stored = ManagerState().resourcePath;
    stored = path;
    if (stored.IsEmpty()) {
        return;
    }
    const wchar_t last = stored.GetAt(stored.GetLength() - 1);
    if (last != L'\\' && last != L'/') {
        stored += L'\\';
    }
}

const CUIString& CWindowManagerUI::GetResourcePath() {
    return ManagerState().resourcePath;
}

ZipHandle CWindowManagerUI::SetResourceZip(LPVOID bytes, unsigned int length) {
    WindowManagerState& state = ManagerState();
    if (state.resourceZip == L"membuffer") {
        return state.resourceZipHandle;
    }
    if (state.cachedResourceZip && state.resourceZipHandle != nullptr) {
        ZipArchiveClose(state.resourceZipHandle);
        state.resourceZipHandle = nullptr;
    }
    state.resourceZip = L"membuffer";
    state.cachedResourceZip = true;
    state.resourceZipHandle = ZipArchiveOpen(bytes, length, ZIP_MEMORY);
    // Images decoded from another skin are not this one's.
    CImageCacheUI::Clear();
    return state.resourceZipHandle;
}

const CUIString& CWindowManagerUI::GetResourceZip() {
    return ManagerState().resourceZip;
}

bool CWindowManagerUI::IsCachedResourceZip() {
    return ManagerState().cachedResourceZip;
}

ZipHandle CWindowManagerUI::GetResourceZipHandle() {
    return ManagerState().resourceZipHandle;
}

void CWindowManagerUI::GetHSL(int* hue, int* saturation, int* lightness) {
    const WindowManagerState& state = ManagerState();
    if (hue != nullptr) {
        *hue = state.hue;
    }
    if (saturation != nullptr) {
        *saturation = state.saturation;
    }
    if (lightness != nullptr) {
        *lightness = state.lightness;
    }
}

CWindowManagerUI::ResourceZipReadUI
CWindowManagerUI::ReadResourceZipItem(LPCWSTR name, DWORD maxSize, std::vector<BYTE>& bytes) {
    bytes.clear();
    const ZipHandle archive = ManagerState().resourceZipHandle;
    if (archive == nullptr) {
        return ZIPREAD_NO_ARCHIVE;
    }
    int index = -1;
    ZipEntry entry = {};
    if (name == nullptr || ZipArchiveFindItem(archive, name, true, index, entry) != ZR_OK) {
        return ZIPREAD_NOT_FOUND;
    }
    if (entry.uncompressedSize == 0) {
        return ZIPREAD_EMPTY;
    }
    if (entry.uncompressedSize < 0 || static_cast<DWORD>(entry.uncompressedSize) > maxSize) {
        return ZIPREAD_TOO_LARGE;
    }
    const auto size = static_cast<unsigned int>(entry.uncompressedSize);
    bytes.resize(size);
    const int result = ZipArchiveUnzipItem(archive, index, bytes.data(), size, ZIP_MEMORY);
    if (result != ZR_OK && result != ZR_MORE) {
        bytes.clear();
        return ZIPREAD_UNZIP_FAILED;
    }
    return ZIPREAD_OK;
}

} // namespace SkinUI
