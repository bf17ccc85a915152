#pragma once
#include <windows.h>

#include "tests/ui/support/ImportSlotPatch.h"

namespace Bench {

// Counts the running executable's calls of InvalidateRect (every window's
// redraw requests; the framework is linked in statically) by redirecting
// the executable's import slot to a counting stand-in. One at a time.
class RedrawCounter {
public:
    RedrawCounter();
    ~RedrawCounter();
    RedrawCounter(const RedrawCounter&) = delete;
    RedrawCounter& operator=(const RedrawCounter&) = delete;

    bool Hooked() const { return slot_.Found(); }
    int Requests() const;
    // Of them, requests for an empty rectangle (nothing to redraw).
    int EmptyRequests() const;
    void Reset();

private:
    TestSupport::ImportSlotPatch slot_;
};

} // namespace Bench
