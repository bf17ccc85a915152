#include <windows.h>

#include "tests/ui/support/ImportSlotPatch.h"

#include <cstring>

namespace TestSupport {

namespace {

template <typename T> T* At(BYTE* base, DWORD offset) {
    return reinterpret_cast<T*>(base + offset);
}

// The slots that the loader filled with the function's address. The names
// are in the lookup table beside the slots (without one the loader has
// overwritten them); an import by ordinal has no name to match.
void FindSlots(BYTE* base, const IMAGE_IMPORT_DESCRIPTOR& dll, const char* function,
               std::vector<void**>& slots) {
    if (dll.OriginalFirstThunk == 0) {
        return;
    }
    auto* name = At<IMAGE_THUNK_DATA>(base, dll.OriginalFirstThunk);
    auto* slot = At<IMAGE_THUNK_DATA>(base, dll.FirstThunk);
    for (; name->u1.AddressOfData != 0; ++name, ++slot) {
        if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) {
            continue;
        }
        const auto* byName = At<IMAGE_IMPORT_BY_NAME>(base, name->u1.AddressOfData);
        if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0) {
            slots.push_back(reinterpret_cast<void**>(&slot->u1.Function));
        }
    }
}

// A DLL may have several import descriptors (one per import library that named it).
std::vector<void**> ImportSlots(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = At<IMAGE_NT_HEADERS>(base, dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<void**> slots;
    if (imports.VirtualAddress == 0) {
        return slots;
    }
    for (auto* d = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); d->Name != 0; ++d) {
        if (::lstrcmpiA(At<char>(base, d->Name), dll) == 0) {
            FindSlots(base, *d, function, slots);
        }
    }
    return slots;
}

// The loader may have left the slots read-only.
void Store(void** slot, void* value) {
    DWORD old = 0;
    if (::VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &old)) {
        *slot = value;
        ::VirtualProtect(slot, sizeof(*slot), old, &old);
    }
}

} // namespace

ImportSlotPatch::ImportSlotPatch(const char* dll, const char* function)
    : slots_(ImportSlots(dll, function)) {
    if (!slots_.empty()) {
        original_ = *slots_.front();
    }
}

ImportSlotPatch::~ImportSlotPatch() {
    Restore();
}

void ImportSlotPatch::Redirect(void* replacement) {
    for (void** slot : slots_) {
        Store(slot, replacement);
    }
}

void ImportSlotPatch::Restore() {
    Redirect(original_);
}

} // namespace TestSupport
