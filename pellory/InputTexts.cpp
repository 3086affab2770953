// The station text and the detour label of the ground-line input.

#include "InputTexts.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "geometry/GeoFunctions.h"
#include "project/ChainageText.h"
#include "project/SchemeValues.h"

CString StationText(const CString& prefix, double chainage) {
  CString text;
  const double centimetres = std::nearbyint(std::fabs(chainage) * 100.0);
  if (!std::isfinite(centimetres) || centimetres > 9e15) {
    text.Format("%s%.2f", prefix.GetString(), chainage);
    return text;
  }
  const long long cents = static_cast<long long>(centimetres);
  const long long kilometres = cents / 100000;
  const long long rest = cents % 100000;
  const char* sign = (chainage < 0.0 && cents != 0) ? "-" : "";
  text.Format("%s%s%lld+%03lld.%02lld", prefix.GetString(), sign, kilometres, rest / 100, rest % 100);
  return text;
}

bool ReadStationText(const char* text, CString& prefix, double& chainage) {
  if (text == nullptr) return false;
  // The number as ParseChainageText joins it: the blanks and the last "+"
  // after the prefix left out.
  const char* rest = text + FindLastCharNoCase(text, 'K');
  const char* plus = std::strrchr(rest, '+');
  std::string number;
  for (const char* c = rest; *c != '\0'; ++c) {
    if (plus != nullptr && (c == plus || *c == ' ' || *c == '\t')) continue;
    number += *c;
  }
  double value = 0.0;
  if (!ReadsAsNumber(number.c_str(), value)) return false;
  char parsedPrefix[kChainPrefixSize] = {};
  double parsed = 0.0;
  ParseChainageText(text, parsed, parsedPrefix);
  if (!std::isfinite(parsed)) return false;  // too large to cut to millimetres
  prefix = parsedPrefix;
  chainage = parsed;
  return true;
}

bool DetourNumberOfLabel(const CString& lineName, int& number) {
  CString trimmed = lineName;
  trimmed.Trim();
  const std::string name = trimmed.str();
  static const char kOrdinal[] = "第";
  static const char kDetour[] = "绕行段";
  const size_t at = name.find(kOrdinal);
  if (at == std::string::npos) return false;
  size_t pos = at + std::strlen(kOrdinal);
  long long value = 0;
  size_t digits = 0;
  while (pos < name.size() && name[pos] >= '0' && name[pos] <= '9') {
    value = value * 10 + (name[pos] - '0');
    if (value > 2147483647LL) return false;
    ++pos;
    ++digits;
  }
  if (digits == 0 || name.compare(pos, std::strlen(kDetour), kDetour) != 0) return false;
  number = static_cast<int>(value);
  return true;
}

CString DetourText(int number) {
  CString text;
  text.Format("%d", number);
  return text;
}
