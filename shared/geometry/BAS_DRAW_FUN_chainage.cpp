// Chainage and angle texts of BAS_DRAW_FUN, and the conversion of a chainage
// text into continuous mileage through a break table.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "arx/rtos.h"
#include "crt/gbk.h"
#include "geometry/BAS_DRAW_FUN.h"

namespace {

// A value this close to a whole kilometre is written "<km>+000".
constexpr double kWholeKilometre = 5e-6;

bool HasNonZeroDigit(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= '1' && c <= '9'; });
}

// "<prefix>[-]<km>+<mmm>[.<fraction>]" from the magnitude of a value already
// rounded to the text's decimals ("1999.95"): the kilometre and the metres
// both come from that rounded text, the metres padded to three digits.
std::string ComposeChainage(const char* prefix, bool negative, const std::string& rounded) {
  std::string text = prefix != nullptr ? prefix : "";
  const size_t dot = rounded.find('.');
  const std::string whole = rounded.substr(0, dot);
  const std::string fraction = dot == std::string::npos ? "" : rounded.substr(dot);
  if (whole.empty() || !std::all_of(whole.begin(), whole.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return text + (negative ? "-" : "") + rounded;  // not a finite number
  }
  if (negative && HasNonZeroDigit(rounded)) text += '-';
  if (whole.size() <= 3) {
    text += '0';
    text += '+';
    text.append(3 - whole.size(), '0');
    text += whole;
  } else {
    text.append(whole, 0, whole.size() - 3);
    text += '+';
    text.append(whole, whole.size() - 3, 3);
  }
  return text + fraction;
}

std::string Printed(const char* format, int decimals, double value) {
  const int length = std::snprintf(nullptr, 0, format, decimals, value);
  std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, decimals, value);
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

}  // namespace

void BAS_DRAW_FUN::ChainageToText(const CString& prefix, double value, char* buffer, size_t size) {
  const double magnitude = std::fabs(value);
  const double kilometres = std::nearbyint(magnitude / 1000.0);
  std::string text;
  if (std::fabs(magnitude - kilometres * 1000.0) <= kWholeKilometre) {
    text = prefix.str();
    if (value < 0.0 && kilometres > 0.0) text += '-';
    text += Printed("%.*f", 0, kilometres) + "+000";
  } else {
    text = ComposeChainage(prefix.GetString(), value < 0.0, Printed("%.*f", 2, magnitude));
  }
  platform::copyTextBounded(buffer, size, text.c_str());
}

const char* BAS_DRAW_FUN::FormatChainageWithPrecision(const char* prefix, double value, int decimals, char* buffer,
                                                      size_t size) const {
  decimals = std::clamp(decimals, 0, 20);
  // Room for every digit of the largest double and 20 decimals.
  char rounded[400];
  FormatReal(std::fabs(value), decimals, rounded);
  platform::copyTextBounded(buffer, size, ComposeChainage(prefix, value < 0.0, rounded).c_str());
  return buffer;
}

CString BAS_DRAW_FUN::FormatChainageCString(const CString& prefix, const CString& valueText, int decimals) {
  const double value = std::atof(valueText.GetString());
  char rounded[400];
  acdbRToS(std::fabs(value), 2, decimals < 0 ? 0 : decimals, rounded);
  return CString(ComposeChainage(prefix.GetString(), value < 0.0, rounded));
}

void BAS_DRAW_FUN::FormatDmsAngle(double dms, int decimals, char* buffer, size_t size) {
  decimals = std::clamp(decimals, 0, 8);
  long long unit = 1;
  for (int i = 0; i < decimals; ++i) unit *= 10;

  const double seconds = DmsToDegrees(std::fabs(dms)) * 3600.0;
  if (!std::isfinite(seconds) || seconds * static_cast<double>(unit) > 9e15) {
    platform::copyTextBounded(buffer, size, Printed("%.*f", decimals, dms).c_str());
    return;
  }
  // Rounded once to the seconds' decimals, so that 59.996" with one decimal
  // becomes a whole minute rather than 60.0".
  const long long units = std::llround(seconds * static_cast<double>(unit));
  const long long perMinute = 60 * unit;
  const long long secondUnits = units % perMinute;
  const long long minutes = units / perMinute;

  char degrees[64];
  acdbRToS(static_cast<double>(minutes / 60), 2, 0, degrees);
  std::string text = (dms < 0.0 && units != 0) ? "-" : "";
  text += degrees;
  text += "%%d";
  char part[64];
  std::snprintf(part, sizeof part, "%02lld'%02lld", minutes % 60, secondUnits / unit);
  text += part;
  if (decimals > 0) {
    std::snprintf(part, sizeof part, ".%0*lld", decimals, secondUnits % unit);
    text += part;
  }
  text += '"';
  platform::copyTextBounded(buffer, size, text.c_str());
}

double BAS_DRAW_FUN::ChainageTextToMileage(const char* text, int count, const BreakRecord* breaks) {
  return BreakChainageToMileage(text, count, breaks, kAlignmentModelRules);
}
