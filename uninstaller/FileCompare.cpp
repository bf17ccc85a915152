#include <windows.h>

#include "uninstaller/FileCompare.h"

#include <cstring>
#include <vector>

namespace {

const DWORD kChunk = 1 << 16;

bool ReadChunk(HANDLE file, std::vector<char>& buffer, DWORD& got) {
    return ::ReadFile(file, buffer.data(), kChunk, &got, nullptr) != FALSE;
}

} // namespace

bool SameBytes(HANDLE a, HANDLE b) {
    LARGE_INTEGER sizeA, sizeB;
    if (!::GetFileSizeEx(a, &sizeA) || !::GetFileSizeEx(b, &sizeB) ||
        sizeA.QuadPart != sizeB.QuadPart)
        return false;
    std::vector<char> bufA(kChunk), bufB(kChunk);
    for (;;) {
        DWORD gotA = 0, gotB = 0;
        if (!ReadChunk(a, bufA, gotA) || !ReadChunk(b, bufB, gotB) || gotA != gotB)
            return false;
        if (gotA == 0)
            return true;
        if (std::memcmp(bufA.data(), bufB.data(), gotA) != 0)
            return false;
    }
}
