// The station text and the detour label of the ground-line input.

#include "InputTexts.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

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
