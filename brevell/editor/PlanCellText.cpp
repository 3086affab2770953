// How the plan module's table editor shows and saves a cell (PlanCellText.h).

#include "PlanCellText.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "controls/TableCodes.h"
#include "project/SchemeValues.h"

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
