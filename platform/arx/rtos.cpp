#include "arx/rtos.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kDefaultPrecision = 4;  // the drawing's LUPREC default
constexpr int kMaxPrecision = 8;

// True when every digit of the number text is '0' (so "-0.00" is zero).
bool allDigitsZero(const std::string& text) {
  for (char c : text) {
    if (c >= '1' && c <= '9') return false;
    if (c == 'E' || c == 'e') break;  // the exponent does not count
  }
  return true;
}

}  // namespace

int acdbRToS(ads_real value, int unit, int precision, char* buffer, size_t size) {
  if (buffer == nullptr || size == 0) return RTERROR;
  buffer[0] = '\0';
  if (unit == -1) unit = 2;
  if (unit != 1 && unit != 2) return RTERROR;
  if (precision < 0) precision = kDefaultPrecision;
  if (precision > kMaxPrecision) precision = kMaxPrecision;

  std::string text;
  if (!std::isfinite(value)) {
    text = std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
  } else {
    const char* format = unit == 1 ? "%.*E" : "%.*f";
    const int length = std::snprintf(nullptr, 0, format, precision, value);
    text.resize(static_cast<size_t>(length) + 1);
    std::snprintf(text.data(), text.size(), format, precision, value);
    text.resize(static_cast<size_t>(length));
    if (!text.empty() && text[0] == '-' && allDigitsZero(text)) text.erase(0, 1);
  }

  const size_t copied = text.size() < size ? text.size() : size - 1;
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = '\0';
  return copied == text.size() ? RTNORM : RTERROR;
}
