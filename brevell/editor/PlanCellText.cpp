// How the plan module's table editor shows and saves a cell (PlanCellText.h).

#include "PlanCellText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "controls/TableCodes.h"

namespace {

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
  CString coded;
  if (CodedFieldText(EditorBuild::Plan, table, field, value, coded)) return coded;
  double number = 0.0;
  if (!ReadsAsNumber(value, number) || std::fabs(number) <= 0.00001) return value;
  if (IsCulvertTable(table) && field == "孔跨式样") return value;
  return CutDecimals(value, 3);
}
