#pragma once
#include <windows.h>

namespace SkinUI {

// The two msimg32.dll functions the framework draws with. The library is
// loaded on first use (not only found among the loaded modules) and kept
// for the life of the process, so a renderer call made before any window
// manager exists still gets the real functions. The window manager uses
// the same loader.
namespace Msimg32 {

typedef BOOL(WINAPI* AlphaBlendFunc)(HDC, int, int, int, int, HDC, int, int, int, int,
                                     BLENDFUNCTION);
typedef BOOL(WINAPI* GradientFillFunc)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// The library's module handle, or null when it cannot be loaded.
HMODULE Load();

// Null when the library or the export is missing.
AlphaBlendFunc AlphaBlendFunction();
GradientFillFunc GradientFillFunction();

} // namespace Msimg32

} // namespace SkinUI
