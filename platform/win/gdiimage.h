#pragma once
// Device contexts that draw into pictures of their own, and pictures saved as
// PNG. A window's DC is an image DC the size of its client area: the window
// keeps one as its picture, and each paint draws through a view of it (a DC of
// its own state on the same picture) clipped to what needs painting.

#include <cstdint>
#include <string>

#include "win/canvas.h"

namespace platform {

// A DC drawing into a new picture of width x height pixels, white at first.
// `recorder`, when given, records what is drawn (and what the memory DCs made
// compatible with it draw); it must outlive the DCs that record into it. NULL for a size that is not positive or too large.
// Freed by DeleteDC.
PLATFORM_API HDC createImageDC(int width, int height, GdiRecorder* recorder = nullptr);
// A DC drawing on the picture of `imageDC` with a state of its own (stock
// objects, no clip, origins at 0) and the same recorder. The picture lives
// while any DC draws on it.
PLATFORM_API HDC createImageView(HDC imageDC);
// A DC of width x height pixels that only records: it has no picture, so
// GetPixel answers CLR_INVALID.
PLATFORM_API HDC createRecordingDC(int width, int height, GdiRecorder& recorder);
// What GdiOp::target holds for what `dc` draws now (its picture; for a
// memory DC the bitmap selected into it); 0 for a handle that is no DC.
PLATFORM_API uintptr_t drawingTarget(HDC dc);
// The picture's size; false for a DC with none.
PLATFORM_API bool imageSize(HDC dc, int& width, int& height);
// Writes the DC's picture (an image DC's, a memory DC's bitmap) or a bitmap
// as a PNG file (through the path resolver). False, with a line on the
// transcript naming the file, when it cannot.
PLATFORM_API bool saveImagePng(HDC dc, const std::string& path);
PLATFORM_API bool saveBitmapPng(HBITMAP bitmap, const std::string& path);

}  // namespace platform
