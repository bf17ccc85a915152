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
void ArrangeLine(CContainerUI& layout, bool vertical);

} // namespace LayoutMath
} // namespace SkinUI
