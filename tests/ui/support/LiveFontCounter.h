#pragma once
#include <windows.h>

#include "tests/ui/support/ImportSlotPatch.h"

#include <mutex>
#include <set>

namespace TestSupport {

// Counts the fonts this program makes with CreateFontIndirectW (the one call
// the framework makes fonts with) and deletes with DeleteObject while the
// counter lives. Wine reports no GDI object count for a process, so the
// count comes from the program's own import slots. One counter at a time.
class LiveFontCounter {
public:
    LiveFontCounter();
    ~LiveFontCounter();
    LiveFontCounter(const LiveFontCounter&) = delete;
    LiveFontCounter& operator=(const LiveFontCounter&) = delete;

    // False when the calls could not be intercepted: the counts then mean nothing.
    bool Counting() const { return create_.Found() && delete_.Found(); }
    // Fonts made since the counter started and not deleted since.
    int Live() const;
    // Fonts made since the counter started, deleted or not.
    int Made() const;

private:
    static HFONT WINAPI CountingCreateFontIndirectW(const LOGFONTW* lf);
    static BOOL WINAPI CountingDeleteObject(HGDIOBJ object);

    mutable std::mutex lock_;
    std::set<HGDIOBJ> live_;
    int made_ = 0;
    ImportSlotPatch create_;
    ImportSlotPatch delete_;
};

} // namespace TestSupport
