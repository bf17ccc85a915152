#pragma once
#include <windows.h>

namespace SkinUI {

// Bounds on building control trees from skin files, so that a skin that
// includes itself (directly, in a cycle, or through child layouts), nests
// without end or repeats without end stops instead of exhausting the stack,
// the memory or the time.
//
// Every nested step of a build enters a scope: each skin loaded by the
// builder and each level of elements costs one level, each child layout
// building its file kChildLayoutLevels. Past kMaxLevels nothing deeper is
// built. All builds that run while an outermost scope is open share one
// budget of kMaxBuildSteps steps (controls made, skins loaded, and fonts,
// images and default lists added); once it is spent nothing more is built
// until that scope closes.
class CSkinBuildScope {
public:
    enum {
        kMaxLevels = 100,
        kChildLayoutLevels = 10,
        kMaxBuildSteps = 20000,
    };

    explicit CSkinBuildScope(int levels = 1);
    ~CSkinBuildScope();
    CSkinBuildScope(const CSkinBuildScope&) = delete;
    CSkinBuildScope& operator=(const CSkinBuildScope&) = delete;

    // False when this scope lies past the nesting limit.
    bool IsAllowed() const { return m_bAllowed; }

    // Takes one step of the budget; false (and nothing taken) when it is
    // spent.
    static bool TakeStep();
    static bool IsBudgetSpent();

private:
    int m_nLevels;
    bool m_bAllowed;
};

} // namespace SkinUI
