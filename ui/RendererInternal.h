#pragma once
#include <windows.h>

#include "ui/Msimg32.h"
#include "ui/RendererUI.h"

namespace SkinUI {

// The AlphaBlend the renderer draws with: msimg32's, else the software one.
inline Msimg32::AlphaBlendFunc RendererAlphaBlend() {
    static const Msimg32::AlphaBlendFunc function = [] {
        const Msimg32::AlphaBlendFunc found = Msimg32::AlphaBlendFunction();
        return found != nullptr ? found : &SoftwareAlphaBlend;
    }();
    return function;
}

// The banded gradient used when msimg32 has no GradientFill: 2..64 bands
// by the step count, the second colour at the right (bottom) edge.
void FillGradientBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                       int steps);

} // namespace SkinUI
