#include <windows.h>

#include "ui/SkinBuildLimits.h"

namespace SkinUI {

namespace {

// Builds run on the window's thread; other threads building their own
// windows keep their own counts.
thread_local int t_levels = 0;
thread_local int t_steps = 0;

} // namespace

CSkinBuildScope::CSkinBuildScope(int levels) : m_nLevels(levels > 0 ? levels : 1) {
    if (t_levels == 0) {
        t_steps = 0;
    }
    t_levels += m_nLevels;
    m_bAllowed = t_levels <= kMaxLevels;
}

CSkinBuildScope::~CSkinBuildScope() {
    t_levels -= m_nLevels;
}

bool CSkinBuildScope::TakeStep() {
    if (t_steps >= kMaxBuildSteps) {
        return false;
    }
    ++t_steps;
    return true;
}

bool CSkinBuildScope::IsBudgetSpent() {
    return t_steps >= kMaxBuildSteps;
}

} // namespace SkinUI
