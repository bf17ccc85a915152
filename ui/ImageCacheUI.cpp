#include <windows.h>

#include "ui/ImageCacheUI.h"

#include "ui/RendererUI.h"
#include "ui/SkinSourceUI.h"

#include <cwchar>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>

namespace SkinUI {

namespace {

struct Cache {
    std::mutex lock;
    // The skin archive the records were read with.
    ZipHandle archive = nullptr;
    std::unordered_map<std::wstring, TImageRecordUI*> byKey;
    std::map<TImageRecordUI*, int> references;
};

// Never destroyed: windows may still release records while static objects
// go away at exit; the process's end frees the bitmaps.
Cache& TheCache() {
    static Cache* cache = new Cache();
    return *cache;
}

std::wstring Hex(ULONGLONG value) {
    wchar_t text[24];
    std::swprintf(text, 24, L"%llx", value);
    return text;
}

// Where the bytes of the image come from, as the renderer looks for them.
std::wstring SourceOf(LPCWSTR name, LPCWSTR type) {
    if (type != nullptr) {
        return L"res:" + Hex(reinterpret_cast<UINT_PTR>(CSkinSourceUI::GetResourceInstance())) +
               L":" + type;
    }
    if (!CSkinSourceUI::GetResourceZip().IsEmpty()) {
        return L"zip:" + Hex(reinterpret_cast<UINT_PTR>(CSkinSourceUI::GetResourceZipHandle())) +
               L":" + CSkinSourceUI::GetResourcePath().GetData() +
               CSkinSourceUI::GetResourceZip().GetData();
    }
    // A file: its own write time and size, so a changed file is read again.
    const std::wstring inFolder = std::wstring(CSkinSourceUI::GetResourcePath().GetData()) + name;
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    const bool found = ::GetFileAttributesExW(inFolder.c_str(), GetFileExInfoStandard, &data) ||
                       ::GetFileAttributesExW(name, GetFileExInfoStandard, &data);
    if (!found) {
        return L"file:";
    }
    const ULONGLONG written =
        (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return L"file:" + inFolder + L":" + Hex(written) + L":" + Hex(data.nFileSizeLow);
}

std::wstring KeyOf(LPCWSTR name, LPCWSTR type, DWORD mask) {
    return SourceOf(name, type) + L"|" + Hex(mask) + L"|" + name;
}

TImageRecordUI* Load(LPCWSTR name, LPCWSTR type, DWORD mask) {
    TImageRecordUI* image = nullptr;
    if (type != nullptr) {
        // Resource ids start at 1; MAKEINTRESOURCE(0) would be no name at all.
        if (name[0] < L'0' || name[0] > L'9') {
            return nullptr;
        }
        WORD id = 0;
        for (LPCWSTR digit = name; *digit >= L'0' && *digit <= L'9'; ++digit) {
            id = static_cast<WORD>(id * 10 + (*digit - L'0'));
        }
        if (id == 0) {
            return nullptr;
        }
        image = CRendererUI::LoadImage(MAKEINTRESOURCEW(id), type, mask);
    } else {
        image = CRendererUI::LoadImage(name, nullptr, mask);
    }
    if (image != nullptr) {
        if (type != nullptr) {
            image->sResType = type;
        }
        image->dwMask = mask;
    }
    return image;
}

} // namespace

TImageRecordUI* CImageCacheUI::Acquire(LPCWSTR name, LPCWSTR type, DWORD mask) {
    if (name == nullptr || name[0] == 0) {
        return nullptr;
    }
    Cache& cache = TheCache();
    // Images decoded from another skin are not this one's.
    if (cache.archive != CSkinSourceUI::GetResourceZipHandle()) {
        Clear();
        cache.archive = CSkinSourceUI::GetResourceZipHandle();
    }
    const std::wstring key = KeyOf(name, type, mask);
    std::lock_guard<std::mutex> guard(cache.lock);
    auto found = cache.byKey.find(key);
    if (found != cache.byKey.end()) {
        ++cache.references[found->second];
        return found->second;
    }
    TImageRecordUI* image = Load(name, type, mask);
    if (image != nullptr) {
        cache.byKey.emplace(key, image);
        cache.references[image] = 2; // the cache's and the caller's
    }
    return image;
}

void CImageCacheUI::Release(TImageRecordUI* image) {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    auto found = cache.references.find(image);
    if (found == cache.references.end()) {
        return;
    }
    if (--found->second == 0) {
        cache.references.erase(found);
        CRendererUI::FreeImage(image);
    }
}

void CImageCacheUI::Clear() {
    Cache& cache = TheCache();
    std::unordered_map<std::wstring, TImageRecordUI*> held;
    {
        std::lock_guard<std::mutex> guard(cache.lock);
        held.swap(cache.byKey);
    }
    for (const auto& entry : held) {
        Release(entry.second);
    }
}

int CImageCacheUI::GetCount() {
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> guard(cache.lock);
    return static_cast<int>(cache.byKey.size());
}

} // namespace SkinUI
