#pragma once
#include <windows.h>

namespace SkinUI {

// The blending and gradient functions the framework draws with, taken from
// gdi32 (GdiAlphaBlend, GdiGradientFill), which every GUI process has loaded
// already: no library is loaded for them.
namespace GdiBlend {

typedef BOOL(WINAPI* AlphaBlendFunc)(HDC, int, int, int, int, HDC, int, int, int, int,
                                     BLENDFUNCTION);
typedef BOOL(WINAPI* GradientFillFunc)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// Null when the export is missing.
AlphaBlendFunc AlphaBlendFunction();
GradientFillFunc GradientFillFunction();

} // namespace GdiBlend

} // namespace SkinUI
