#pragma once
// PNG files of pictures: an opaque RGB image encoded for speed.
//
// The pictures of windows and dialogs are written many times a run, so they
// are compressed with zlib's fastest level over rows filtered by the row
// above (a window's rows mostly repeat), which costs a third of a general PNG
// writer's adaptive filtering at its default level, for files about a quarter
// larger. Every pixel is kept exactly.

#include <string>

#include "win/canvas.h"

namespace platform {

// The PNG file of `image` (pixels 0x00RRGGBB, rows `stride` pixels apart), as
// 8-bit RGB. Empty when the image has no pixels or is too large to encode.
std::string encodeRgbPng(const PixelImage& image);

}  // namespace platform
