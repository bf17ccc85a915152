#pragma once
#include <windows.h>

#include "tests/support/DibSurface.h"
#include "tests/support/ImageFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace RendererTest {

// 0xAARRGGBB with the colour channels scaled by alpha (integer division).
uint32_t Premultiply(uint32_t argb);

// A 32-bit top-down DIB holding the image premultiplied, as the renderer's
// loaded bitmaps are. The caller deletes it.
HBITMAP MakeBitmap(const TestSupport::ArgbImage& image);

// The pixels of a 32-bit DIB section (0xAARRGGBB each).
std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);

// Colour channels within tolerance of the expected RGB (alpha ignored).
::testing::AssertionResult NearRgb(uint32_t actual, uint32_t expected, int tolerance = 2);

// Every pixel of the rectangle near the colour.
::testing::AssertionResult AreaIs(const TestSupport::DibSurface& surface, const RECT& rc,
                                  uint32_t expected, int tolerance = 2);

// Number of pixels in rc whose colour differs from background by more than 2.
int CountChanged(const TestSupport::DibSurface& surface, const RECT& rc, uint32_t background);

} // namespace RendererTest
