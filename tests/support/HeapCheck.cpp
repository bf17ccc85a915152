#include <windows.h>
#include <malloc.h>

#include "tests/support/HeapCheck.h"

namespace TestSupport {

bool HeapsAreSound() {
    const int crt = _heapchk();
    return (crt == _HEAPOK || crt == _HEAPEMPTY) && ::HeapValidate(::GetProcessHeap(), 0, nullptr);
}

} // namespace TestSupport
