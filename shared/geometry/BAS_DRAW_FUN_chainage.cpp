// Chainage and angle texts of BAS_DRAW_FUN, and the conversion of a chainage
// text into continuous mileage through a break table.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "arx/rtos.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/app.h"
#include "win/msgbox.h"

namespace {

// Break values match within this distance.
constexpr double kBreakTolerance = 0.00005;
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

// A prefix of a break record: at most its 8 bytes, lower-cased.
CString TablePrefix(const char (&stored)[8]) {
  CString prefix(stored, static_cast<int>(strnlen(stored, sizeof stored)));
  return prefix.MakeLower();
}

CString StoredPrefix(const char (&stored)[8]) {
  return CString(stored, static_cast<int>(strnlen(stored, sizeof stored)));
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
  CopyTextBounded(buffer, size, text.c_str());
}

const char* BAS_DRAW_FUN::FormatChainageWithPrecision(const char* prefix, double value, int decimals, char* buffer,
                                                      size_t size) const {
  decimals = std::clamp(decimals, 0, 20);
  // Room for every digit of the largest double and 20 decimals.
  char rounded[400];
  FormatReal(std::fabs(value), decimals, rounded);
  CopyTextBounded(buffer, size, ComposeChainage(prefix, value < 0.0, rounded).c_str());
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
    CopyTextBounded(buffer, size, Printed("%.*f", decimals, dms).c_str());
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
  CopyTextBounded(buffer, size, text.c_str());
}

double BAS_DRAW_FUN::ChainageTextToMileage(const char* text, int count, const BreakRecord* breaks) {
  if (text == nullptr) text = "";
  double value;
  char prefixBuffer[64];
  ParseChainageText(text, value, prefixBuffer);
  CString prefix(prefixBuffer);
  prefix.Trim();
  prefix.MakeLower();

  double result = value;
  int hits = 0;
  if (breaks != nullptr && count >= 1) {
    double running = breaks[0].before + breaks[0].length;
    for (int i = 1; i < count; ++i) {
      const BreakRecord& previous = breaks[i - 1];
      const BreakRecord& current = breaks[i];
      const double stretchStart = previous.before + previous.length;
      if (stretchStart - kBreakTolerance < value && value < current.before + kBreakTolerance) {
        if (prefix == TablePrefix(previous.prefixAfter)) {
          ++hits;
          result = running + value - stretchStart;
        } else if (prefix == TablePrefix(current.prefixBefore)) {
          ++hits;
          result = running + value - stretchStart;
          CString message;
          message.Format("第%d个断链的断后里程冠号%s与第%d个断链的断前里程冠号%s不一致,\n\n他将导致%s的计算不可靠", i - 1,
                         StoredPrefix(previous.prefixAfter).GetString(), i,
                         StoredPrefix(current.prefixBefore).GetString(), text);
          MessageBoxA(nullptr, message, "系统发现", MB_OK);
        }
      }
      running += current.before - stretchStart;
    }

    if (count < 2 || hits == 0) {
      const BreakRecord& first = breaks[0];
      const BreakRecord& last = breaks[count - 1];
      if (value < first.before + kBreakTolerance && prefix == TablePrefix(first.prefixBefore)) {
        result = value + first.length;
        ++hits;
      } else if (value > last.before + last.length - kBreakTolerance && prefix == TablePrefix(last.prefixAfter)) {
        result = running + value - last.before - last.length;
        ++hits;
      }
    }
  }

  if (hits >= 2) {
    AfxMessageBox(CString("系统发现") + text + "在线路上有多个位置，可能是断链表数据有问题");
  } else if (hits == 0) {
    AfxMessageBox(CString("系统发现") + text + "在线路上没有其位置，可能是短链或断链表数据有问题");
  }
  return result;
}
