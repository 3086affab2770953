#pragma once
// Helpers of the painting tests: a picture read back from a PNG file, pixel
// probes and counts of dark pixels.

#include <cairo.h>
#include <gtest/gtest.h>

#include <string>

#include "win/wingdi.h"

namespace gditest {

// Colours of the classic look the painting tests probe for.
constexpr COLORREF kFace = RGB(212, 208, 200);  // COLOR_BTNFACE
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kCell = RGB(255, 255, 200);  // the toy windows' cells

// A PNG file read back with cairo (independently of the DC that wrote it).
class PngPicture {
 public:
  explicit PngPicture(const std::string& path) : m_surface(cairo_image_surface_create_from_png(path.c_str())) {}
  ~PngPicture() { cairo_surface_destroy(m_surface); }
  PngPicture(const PngPicture&) = delete;
  PngPicture& operator=(const PngPicture&) = delete;
  bool ok() const { return cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS; }
  int width() const { return cairo_image_surface_get_width(m_surface); }
  int height() const { return cairo_image_surface_get_height(m_surface); }
  COLORREF pixel(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    int stride = cairo_image_surface_get_stride(m_surface);
    uint32_t v = *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  // Pixels darker than mid grey inside [left, right) x [top, bottom).
  int darkPixels(RECT r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (x >= 0 && y >= 0 && x < width() && y < height() && luminance(pixel(x, y)) < 100) ++n;
    return n;
  }
  static int luminance(COLORREF c) { return (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10; }

 private:
  cairo_surface_t* m_surface;
};

}  // namespace gditest
