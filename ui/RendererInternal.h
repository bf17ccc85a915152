#pragma once
#include <windows.h>

#include "ui/GdiBlend.h"
#include "ui/RendererUI.h"

namespace SkinUI {

// The AlphaBlend the renderer draws with: gdi32's, else the software one.
inline GdiBlend::AlphaBlendFunc RendererAlphaBlend() {
    static const GdiBlend::AlphaBlendFunc function = [] {
        const GdiBlend::AlphaBlendFunc found = GdiBlend::AlphaBlendFunction();
        return found != nullptr ? found : &SoftwareAlphaBlend;
    }();
    return function;
}

// The banded gradient used when gdi32 has no GradientFill: 2..64 bands
// by the step count, the second colour at the right (bottom) edge.
void FillGradientBands(HDC hDC, const RECT& rc, DWORD first, DWORD second, bool vertical,
                       int steps);

} // namespace SkinUI
