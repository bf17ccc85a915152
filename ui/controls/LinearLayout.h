#pragma once
#include <windows.h>

#include "ui/ContainerUI.h"

namespace SkinUI {
namespace LayoutMath {

// Places the visible children of a vertical or horizontal layout one after
// the other along its main axis inside the inner rectangle, and reports the
// content's extent along that axis to the scroll bars. Children with a
// measured size keep it (clamped); the stretch children share the rest, the
// last of them taking what the others left. Margins of the stretch children
// and the gaps stay counted in the fixed remainder, which is why a gap leaves
// the last stretch child short of the far edge. Every child's rectangle
// includes its trailing margin along the main axis, not across it.
// How wide a child is across the line: its fixed size there when useFixed
// is set and it has one, else what the line offers less its margins; then at
// least atLeast, within the child's limits.
struct CrossRule {
    bool useFixed = true;
    long long atLeast = 0;
};

void ArrangeLine(CContainerUI& layout, bool vertical, CrossRule crossRule = CrossRule());

} // namespace LayoutMath
} // namespace SkinUI
