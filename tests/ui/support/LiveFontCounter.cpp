#include <windows.h>

#include "tests/ui/support/LiveFontCounter.h"

namespace TestSupport {

namespace {

using CreateFontIndirectFn = HFONT(WINAPI*)(const LOGFONTW*);
using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);

// The replacements are plain functions: they find the running counter here.
LiveFontCounter* g_counter = nullptr;

} // namespace

LiveFontCounter::LiveFontCounter()
    : create_("gdi32.dll", "CreateFontIndirectW"), delete_("gdi32.dll", "DeleteObject") {
    if (!Counting()) {
        return;
    }
    g_counter = this;
    create_.Redirect(reinterpret_cast<void*>(&CountingCreateFontIndirectW));
    delete_.Redirect(reinterpret_cast<void*>(&CountingDeleteObject));
}

// The slots go back before the counter they lead to.
LiveFontCounter::~LiveFontCounter() {
    create_.Restore();
    delete_.Restore();
    g_counter = nullptr;
}

int LiveFontCounter::Live() const {
    const std::lock_guard<std::mutex> guard(lock_);
    return static_cast<int>(live_.size());
}

int LiveFontCounter::Made() const {
    const std::lock_guard<std::mutex> guard(lock_);
    return made_;
}

HFONT WINAPI LiveFontCounter::CountingCreateFontIndirectW(const LOGFONTW* lf) {
    const auto create = reinterpret_cast<CreateFontIndirectFn>(g_counter->create_.Original());
    const HFONT font = create(lf);
    if (font != nullptr) {
        const std::lock_guard<std::mutex> guard(g_counter->lock_);
        g_counter->live_.insert(font);
        ++g_counter->made_;
    }
    return font;
}

// Bitmaps, brushes and fonts made before the counter go through the same
// call: only the fonts it saw made count.
BOOL WINAPI LiveFontCounter::CountingDeleteObject(HGDIOBJ object) {
    const auto remove = reinterpret_cast<DeleteObjectFn>(g_counter->delete_.Original());
    const BOOL deleted = remove(object);
    if (deleted) {
        const std::lock_guard<std::mutex> guard(g_counter->lock_);
        g_counter->live_.erase(object);
    }
    return deleted;
}

} // namespace TestSupport
