// Reading a cell's number strictly (CellNumber.h).
#include "controls/CellNumber.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the run of digits at `at`.
size_t Digits(std::string_view s, size_t at) {
  size_t n = 0;
  while (at + n < s.size() && IsDigit(s[at + n])) ++n;
  return n;
}

}  // namespace

bool ReadsAsCellNumber(const CString& text, double& value) {
  value = 0.0;
  std::string_view s(text.GetString(), static_cast<size_t>(text.GetLength()));
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  if (s.size() > static_cast<size_t>(kMostCellNumberChars)) return false;
  // sign, digits, point, digits, exponent: nothing else may be there.
  size_t at = 0;
  const bool negative = at < s.size() && s[at] == '-';
  if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
  const size_t body = at;
  const size_t whole = Digits(s, at);
  at += whole;
  size_t fraction = 0;
  if (at < s.size() && s[at] == '.') {
    ++at;
    fraction = Digits(s, at);
    at += fraction;
  }
  if (whole + fraction == 0) return false;
  if (at < s.size() && (s[at] == 'e' || s[at] == 'E')) {
    ++at;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) ++at;
    const size_t exponent = Digits(s, at);
    if (exponent == 0) return false;
    at += exponent;
  }
  if (at != s.size()) return false;
  // from_chars takes no '+' and reads the same in every locale.
  double read = 0.0;
  const char* first = s.data() + body;
  const char* last = s.data() + s.size();
  const auto [end, error] = std::from_chars(first, last, read, std::chars_format::general);
  if (error != std::errc() || end != last || !std::isfinite(read)) return false;
  value = negative ? -read : read;
  return true;
}
