#pragma once
#include <windows.h>

#include <vector>

namespace TestSupport {

// The import slots of this program for one function of one DLL, pointed at a
// replacement on request and back at the original at the latest when the
// patch goes. The framework is linked into the test program, so its calls to
// the platform go through these slots: a test sees them without any hook in
// the framework.
class ImportSlotPatch {
public:
    ImportSlotPatch(const char* dll, const char* function);
    ~ImportSlotPatch();
    ImportSlotPatch(const ImportSlotPatch&) = delete;
    ImportSlotPatch& operator=(const ImportSlotPatch&) = delete;

    // False when the program imports no such function by name.
    bool Found() const { return !slots_.empty(); }
    // What the slots held at first: what a replacement calls on to.
    void* Original() const { return original_; }
    void Redirect(void* replacement);
    void Restore();

private:
    std::vector<void**> slots_;
    void* original_ = nullptr;
};

} // namespace TestSupport
