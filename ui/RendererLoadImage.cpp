#include <windows.h>

#include "ui/Win32Handles.h"
#include "ui/RenderResourcesUI.h"
#include "ui/RendererUI.h"
#include "ui/SkinSourceUI.h"
#include "ui/ZipArchive.h"

#include "stb_image.h"

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

namespace SkinUI {

namespace {

typedef std::vector<BYTE> Bytes;

const DWORD kMaxFileBytes = CSkinSourceUI::MAX_IMAGE_FILE_SIZE;

bool ReadWholeFile(const CUIString& path, Bytes& bytes) {
    const CFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > kMaxFileBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return ::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

bool ReadResource(LPCWSTR name, LPCWSTR type, Bytes& bytes) {
    const HINSTANCE instance = CSkinSourceUI::GetResourceInstance();
    const HRSRC resource = ::FindResourceW(instance, name, type);
    if (resource == nullptr) {
        return false;
    }
    const DWORD size = ::SizeofResource(instance, resource);
    const HGLOBAL loaded = ::LoadResource(instance, resource);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0 || size > kMaxFileBytes) {
        return false;
    }
    const BYTE* begin = static_cast<const BYTE*>(data);
    bytes.assign(begin, begin + size);
    return true;
}

bool ReadArchiveItem(ZipHandle archive, LPCWSTR name, Bytes& bytes) {
    int index = -1;
    ZipEntry entry = {};
    if (ZipArchiveFindItem(archive, name, true, index, entry) != ZR_OK || index < 0) {
        return false;
    }
    // The declared size comes from the archive, so it is checked before it
    // decides an allocation.
    if (entry.uncompressedSize <= 0 || static_cast<DWORD>(entry.uncompressedSize) > kMaxFileBytes) {
        return false;
    }
    bytes.resize(static_cast<size_t>(entry.uncompressedSize));
    const int result = ZipArchiveUnzipItem(archive, index, bytes.data(),
                                           static_cast<unsigned int>(bytes.size()), ZIP_MEMORY);
    return result == ZR_OK || result == ZR_MORE;
}

// The only skin archive is the one held in memory: a zip name is set only
// together with it.
bool ReadFromSkinArchive(LPCWSTR name, Bytes& bytes) {
    const ZipHandle archive = CSkinSourceUI::GetResourceZipHandle();
    return archive != nullptr && ReadArchiveItem(archive, name, bytes);
}

bool ReadImageBytes(LPCWSTR bitmap, LPCWSTR type, Bytes& bytes) {
    if (type != nullptr && ReadResource(bitmap, type, bytes)) {
        return true;
    }
    if (IS_INTRESOURCE(bitmap)) {
        return false; // a resource id is no name of a file
    }
    if (type == nullptr) {
        const bool found = CSkinSourceUI::GetResourceZip().IsEmpty()
                               ? ReadWholeFile(CSkinSourceUI::GetResourcePath() + bitmap, bytes)
                               : ReadFromSkinArchive(bitmap, bytes);
        if (found) {
            return true;
        }
    }
    bytes.clear();
    return ReadWholeFile(CUIString(bitmap), bytes);
}

struct StbFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

// Decoded RGBA pixels, or null when the data is no image or too large.
std::unique_ptr<stbi_uc, StbFree> Decode(const Bytes& bytes, int& width, int& height) {
    int components = 0;
    const int length = static_cast<int>(bytes.size());
    if (!stbi_info_from_memory(bytes.data(), length, &width, &height, &components) || width <= 0 ||
        height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
        static_cast<int64_t>(width) * height > kMaxImagePixels) {
        return nullptr;
    }
    std::unique_ptr<stbi_uc, StbFree> pixels(
        stbi_load_from_memory(bytes.data(), length, &width, &height, &components, 4));
    if (pixels && (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide ||
                   static_cast<int64_t>(width) * height > kMaxImagePixels)) {
        pixels.reset();
    }
    return pixels;
}

// RGBA into premultiplied BGRA; pixels equal to the mask become empty.
bool ConvertPixels(const stbi_uc* rgba, DWORD* target, size_t count, DWORD mask) {
    bool alpha = false;
    for (size_t i = 0; i < count; ++i, rgba += 4) {
        const DWORD a = rgba[3];
        DWORD r = rgba[0], g = rgba[1], b = rgba[2];
        if (a < 255) {
            r = r * a / 255;
            g = g * a / 255;
            b = b * a / 255;
            alpha = true;
        }
        DWORD pixel = (a << 24) | (r << 16) | (g << 8) | b;
        if (pixel == mask) {
            pixel = 0;
            alpha = true;
        }
        target[i] = pixel;
    }
    return alpha;
}

TImageRecordUI* LoadImageUnchecked(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
    Bytes bytes;
    if (!ReadImageBytes(bitmap, type, bytes)) {
        return nullptr;
    }
    int width = 0;
    int height = 0;
    const std::unique_ptr<stbi_uc, StbFree> pixels = Decode(bytes, width, height);
    Bytes().swap(bytes);
    if (!pixels) {
        return nullptr;
    }
    void* bits = nullptr;
    CGdiObject<HBITMAP> dib(CreateDib32(nullptr, width, height, &bits));
    if (!dib) {
        return nullptr;
    }
    const bool alpha = ConvertPixels(pixels.get(), static_cast<DWORD*>(bits),
                                     static_cast<size_t>(width) * height, mask);
    TImageRecordUI* image = new TImageRecordUI();
    image->nX = width;
    image->nY = height;
    image->alphaChannel = alpha;
    image->dwMask = 0;
    image->hBitmap = dib.Release();
    return image;
}

} // namespace

TImageRecordUI* CRendererUI::LoadImage(LPCWSTR bitmap, LPCWSTR type, DWORD mask) {
    if (bitmap == nullptr || (!IS_INTRESOURCE(bitmap) && *bitmap == L'\0')) {
        return nullptr;
    }
    try {
        return LoadImageUnchecked(bitmap, type, mask);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void CRendererUI::FreeImage(TImageRecordUI* image) {
    if (image == nullptr) {
        return;
    }
    if (image->hBitmap != nullptr) {
        ::DeleteObject(image->hBitmap);
    }
    delete image;
}

} // namespace SkinUI
