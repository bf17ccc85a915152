// The one translation unit that compiles stb_image's decoder.
#include <windows.h>

#include "ui/RendererUI.h"

#define STBI_MAX_DIMENSIONS SkinUI::kMaxImageSide
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include "stb_image.h"
