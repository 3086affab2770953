// PNG files of pictures: read back by cairo's own PNG reader (libpng), every
// pixel as it was; the header by hand; images that cannot be encoded refused.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "win/pngfile.h"

namespace {

using platform::PixelImage;

struct PngStream {
  const std::string* data;
  size_t at = 0;
};

cairo_status_t readPng(void* closure, unsigned char* out, unsigned int length) {
  auto* s = static_cast<PngStream*>(closure);
  if (s->data->size() - s->at < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, s->data->data() + s->at, length);
  s->at += length;
  return CAIRO_STATUS_SUCCESS;
}

// The pixels of a PNG as cairo reads it (0x00RRGGBB, one row after another);
// empty when it does not read.
std::vector<uint32_t> decoded(const std::string& png, int& width, int& height) {
  PngStream stream{&png};
  cairo_surface_t* s = cairo_image_surface_create_from_png_stream(readPng, &stream);
  std::vector<uint32_t> pixels;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    width = cairo_image_surface_get_width(s);
    height = cairo_image_surface_get_height(s);
    int stride = cairo_image_surface_get_stride(s) / 4;
    auto* data = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(s));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) pixels.push_back(data[y * stride + x] & 0xFFFFFFu);
  }
  cairo_surface_destroy(s);
  return pixels;
}

enum class Fill { Random, Uniform, RowsRepeat, Gradient };

struct ImageCase {
  const char* name;
  int width, height, stride;
  Fill fill;
};

std::vector<uint32_t> pixelsFor(const ImageCase& c) {
  std::vector<uint32_t> p(static_cast<size_t>(c.stride) * c.height, 0xAB000000u);  // padding and top bytes set
  std::mt19937 random(7);
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) {
      uint32_t v = 0;
      switch (c.fill) {
        case Fill::Random: v = random() & 0xFFFFFFu; break;
        case Fill::Uniform: v = 0xD4D0C8u; break;
        case Fill::RowsRepeat: v = (x % 7 == 0) ? 0x0000FFu : 0xFFFFFFu; break;
        case Fill::Gradient: v = (static_cast<uint32_t>(x & 0xFF) << 16) | (static_cast<uint32_t>(y & 0xFF) << 8) | 0x80u; break;
      }
      p[static_cast<size_t>(y) * c.stride + x] |= v;  // the top byte is not a colour: it must be ignored
    }
  return p;
}

TEST(PngFile, EveryPixelReadsBackAsItWas) {
  const ImageCase cases[] = {
      {"one pixel", 1, 1, 1, Fill::Random},
      {"rows with padding", 3, 2, 5, Fill::Random},
      {"noise", 257, 100, 257, Fill::Random},
      {"one colour", 640, 480, 640, Fill::Uniform},
      {"repeated rows", 1920, 40, 1920, Fill::RowsRepeat},
      {"gradient, bytes wrapping in the filter", 300, 300, 301, Fill::Gradient},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> source = pixelsFor(c);
    std::string png = platform::encodeRgbPng(PixelImage{c.width, c.height, c.stride, source.data()});
    ASSERT_FALSE(png.empty());
    int width = 0, height = 0;
    std::vector<uint32_t> back = decoded(png, width, height);
    ASSERT_EQ(width, c.width);
    ASSERT_EQ(height, c.height);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        ASSERT_EQ(back[static_cast<size_t>(y) * c.width + x], source[static_cast<size_t>(y) * c.stride + x] & 0xFFFFFFu)
            << "pixel " << x << "," << y;
  }
}

TEST(PngFile, HeaderSaysAnEightBitRgbImageOfItsSize) {
  std::vector<uint32_t> pixels(300 * 2, 0xFFFFFFu);
  std::string png = platform::encodeRgbPng(PixelImage{300, 2, 300, pixels.data()});
  ASSERT_GE(png.size(), 8u + 25u + 12u);
  // Signature, then IHDR: length 13, "IHDR", width 300 (0x12C), height 2, depth 8, colour type 2 (RGB),
  // compression 0, filter method 0, no interlace.
  const unsigned char expected[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                                    0,    0,   1,   0x2C, 0,   0,    0,    2,   8, 2, 0, 0,  0};
  EXPECT_EQ(png.compare(0, sizeof expected, reinterpret_cast<const char*>(expected), sizeof expected), 0);
  // The file ends with an empty IEND chunk and its CRC (AE 42 60 82, the same in every PNG).
  EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
}

TEST(PngFile, AnImageThatCannotBeEncodedGivesNothing) {
  std::vector<uint32_t> pixels(16, 0);
  const struct {
    const char* name;
    PixelImage image;
  } cases[] = {
      {"no pixels", PixelImage{2, 2, 2, nullptr}},
      {"no width", PixelImage{0, 2, 2, pixels.data()}},
      {"no height", PixelImage{2, 0, 2, pixels.data()}},
      {"rows closer than their width", PixelImage{4, 2, 3, pixels.data()}},
      {"more rows than one chunk can hold", PixelImage{4, 1 << 30, 4, pixels.data()}},
  };
  for (const auto& c : cases) EXPECT_TRUE(platform::encodeRgbPng(c.image).empty()) << c.name;
}

}  // namespace
