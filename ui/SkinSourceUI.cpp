#include <windows.h>

#include "ui/SkinSourceUI.h"
#include "ui/ZipArchive.h"

#include <vector>

namespace SkinUI {

namespace {

// Lives in a function-local object so that static initialisers of other files
// may already use it; the archive closes when the process ends.
struct SkinSourceState {
    HINSTANCE instance = nullptr;
    CUIString resourcePath;
    CUIString resourceZip;
    bool cachedResourceZip = false;
    ZipHandle resourceZipHandle = nullptr;

    SkinSourceState() = default;
    SkinSourceState(const SkinSourceState&) = delete;
    SkinSourceState& operator=(const SkinSourceState&) = delete;
    ~SkinSourceState() {
        if (resourceZipHandle != nullptr) {
            ZipArchiveClose(resourceZipHandle);
        }
    }
};

SkinSourceState& SourceState() {
    static SkinSourceState state;
    return state;
}

} // namespace

void CSkinSourceUI::SetInstance(HINSTANCE instance) {
    SourceState().instance = instance;
}

HINSTANCE CSkinSourceUI::GetInstance() {
    return SourceState().instance;
}

HINSTANCE CSkinSourceUI::GetResourceInstance() {
    return SourceState().instance;
}

CUIString CSkinSourceUI::GetInstancePath() {
    const HINSTANCE instance = SourceState().instance;
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

void CSkinSourceUI::SetResourcePath(LPCWSTR path) {
    CUIString& stored = SourceState().resourcePath;
    stored = path;
    if (stored.IsEmpty()) {
        return;
    }
    const wchar_t last = stored.GetAt(stored.GetLength() - 1);
    if (last != L'\\' && last != L'/') {
        stored += L'\\';
    }
}

const CUIString& CSkinSourceUI::GetResourcePath() {
    return SourceState().resourcePath;
}

ZipHandle CSkinSourceUI::SetResourceZip(LPVOID bytes, unsigned int length) {
    SkinSourceState& state = SourceState();
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
    return state.resourceZipHandle;
}

const CUIString& CSkinSourceUI::GetResourceZip() {
    return SourceState().resourceZip;
}

bool CSkinSourceUI::IsCachedResourceZip() {
    return SourceState().cachedResourceZip;
}

ZipHandle CSkinSourceUI::GetResourceZipHandle() {
    return SourceState().resourceZipHandle;
}

CSkinSourceUI::ResourceZipReadUI CSkinSourceUI::ReadResourceZipItem(LPCWSTR name, DWORD maxSize,
                                                                    std::vector<BYTE>& bytes) {
    bytes.clear();
    const ZipHandle archive = SourceState().resourceZipHandle;
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
