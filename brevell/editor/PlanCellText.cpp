// How the plan module's table editor shows and saves a cell (PlanCellText.h).

#include "PlanCellText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kTunnelKinds[] = {"0-明洞", "1-一般隧道"};
const char* const kCulvertKinds[] = {"0-普通",       "1-上立交",     "2-下立交",     "3-无看守平交",
                                     "4-左看守平交", "5-右看守平交", "6-双看守平交", "7-自动化平交"};

bool Contains(const CString& text, const char* word) { return text.Find(word) >= 0; }

// The item of `items` whose code is the one-digit text `value`, or null.
const char* CodedItem(const CString& value, const char* const* items, int count) {
  if (value.GetLength() != 1) return nullptr;
  const int code = value[0] - '0';
  return code >= 0 && code < count ? items[code] : nullptr;
}

// True when the whole text (blanks around it allowed) reads as a number.
bool ReadsAsNumber(const CString& text, double& value) {
  const char* s = text.GetString();
  char* end = nullptr;
  value = std::strtod(s, &end);
  if (end == s) return false;
  while (*end == ' ' || *end == '\t') ++end;
  return *end == '\0' && std::isfinite(value);
}

}  // namespace

CString CutDecimals(const CString& text, int digits) {
  const int point = text.Find('.');
  if (point < 1) return text;
  // Characters, not bytes: a cut never splits a character.
  const char* s = text.GetString();
  int at = point + 1;
  for (int kept = 0; kept < digits && s[at] != '\0'; ++kept) {
    ++at;
    while ((static_cast<unsigned char>(s[at]) & 0xC0) == 0x80) ++at;
  }
  return text.Left(at);
}

CString PlanCellText(const CString& table, const CString& field, const CString& value) {
  if (value.IsEmpty() || value == "NULL") return CString();
  if (field == "偏角" || field == "方位角" || field == "右角") return CutDecimals(value, 4);
  if (Contains(table, "隧道") && field == "插旗方式") {
    const char* item = CodedItem(value, kTunnelKinds, 2);
    return item ? CString(item) : value;
  }
  if (Contains(table, "小桥涵") && field == "插旗方式") {
    const char* item = CodedItem(value, kCulvertKinds, 8);
    return item ? CString(item) : CString();
  }
  double number = 0.0;
  if (!ReadsAsNumber(value, number) || std::fabs(number) <= 0.00001) return value;
  if (Contains(table, "小桥涵") && field == "孔跨式样") return value;
  return CutDecimals(value, 3);
}

CString PlanCellCode(const CString& table, const CString& text) {
  auto codeOf = [&text](const char* const* items, int count) -> CString {
    for (int i = 0; i < count; ++i) {
      if (text == items[i]) return CString(static_cast<char>('0' + i));
    }
    return text;
  };
  if (Contains(table, "隧道")) return codeOf(kTunnelKinds, 2);
  if (Contains(table, "小桥涵")) return codeOf(kCulvertKinds, 8);
  return text;
}
