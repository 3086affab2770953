// PNG files of pictures: signature, IHDR, one IDAT of deflated filtered rows,
// IEND; each chunk with its length and CRC.
#include "win/pngfile.h"

#include <zlib.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace platform {

namespace {

void appendBigEndian(std::string& out, uint32_t value) {
  out.push_back(static_cast<char>(value >> 24));
  out.push_back(static_cast<char>(value >> 16));
  out.push_back(static_cast<char>(value >> 8));
  out.push_back(static_cast<char>(value));
}

void appendChunk(std::string& out, const char (&type)[5], const unsigned char* data, size_t length) {
  appendBigEndian(out, static_cast<uint32_t>(length));
  out.append(type, 4);
  if (length) out.append(reinterpret_cast<const char*>(data), length);
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(type), 4);
  if (length) crc = crc32(crc, data, static_cast<uInt>(length));
  appendBigEndian(out, static_cast<uint32_t>(crc));
}

}  // namespace

std::string encodeRgbPng(const PixelImage& image) {
  if (!image.pixels || image.width <= 0 || image.height <= 0 || image.stride < image.width) return {};
  const size_t rowBytes = 1 + 3 * static_cast<size_t>(image.width);
  const size_t height = static_cast<size_t>(image.height);
  // One IDAT chunk holds the whole stream: its length must fit 31 bits.
  if (rowBytes > (std::numeric_limits<int32_t>::max() / 2) / height) return {};

  // Rows filtered by "Up": each byte less the byte above it (the first row
  // less zeros).
  std::vector<unsigned char> rows(rowBytes * height);
  std::vector<unsigned char> above(rowBytes - 1, 0);
  std::vector<unsigned char> current(rowBytes - 1);
  unsigned char* out = rows.data();
  for (size_t y = 0; y < height; ++y) {
    const uint32_t* source = image.pixels + y * static_cast<size_t>(image.stride);
    for (int x = 0; x < image.width; ++x) {
      uint32_t p = source[x];
      current[3 * x] = static_cast<unsigned char>(p >> 16);
      current[3 * x + 1] = static_cast<unsigned char>(p >> 8);
      current[3 * x + 2] = static_cast<unsigned char>(p);
    }
    *out++ = 2;
    for (size_t i = 0; i < current.size(); ++i) *out++ = static_cast<unsigned char>(current[i] - above[i]);
    above.swap(current);
  }

  uLongf deflatedLength = compressBound(static_cast<uLong>(rows.size()));
  std::vector<unsigned char> deflated(deflatedLength);
  if (compress2(deflated.data(), &deflatedLength, rows.data(), static_cast<uLong>(rows.size()), Z_BEST_SPEED) !=
      Z_OK)
    return {};

  std::string png("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  appendBigEndian(header, static_cast<uint32_t>(image.width));
  appendBigEndian(header, static_cast<uint32_t>(image.height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
  appendChunk(png, "IHDR", reinterpret_cast<const unsigned char*>(header.data()), header.size());
  appendChunk(png, "IDAT", deflated.data(), deflatedLength);
  appendChunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace platform
