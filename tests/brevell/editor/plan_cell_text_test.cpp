// How the plan module's table editor shows what it reads and saves coded
// cells: one row per case, expected texts written by hand.

#include <gtest/gtest.h>

#include "brevell/editor/PlanCellText.h"
#include "controls/TableCodes.h"

namespace {

struct ShowCase {
  const char* table;
  const char* field;
  const char* value;
  const char* shown;
};

TEST(PlanCellText, ShowsEachValueByTheFirstRuleThatApplies) {
  const ShowCase cases[] = {
      // Angles: cut (not rounded) to 4 digits after the point.
      {"曲线表", "偏角", "12.3456789", "12.3456"},
      {"导线表", "方位角", "123.45678", "123.4567"},
      {"导线表", "右角", "179.99999", "179.9999"},
      {"导线表", "右角", "90", "90"},
      {"导线表", "右角", ".5", ".5"},  // a point at position 0 is left
      {"导线表", "方位角", "12.3", "12.3"},
      // Tunnel kinds.
      {"隧道", "插旗方式", "1", "1-一般隧道"},
      {"左线绕行段隧道", "插旗方式", "0", "0-明洞"},
      {"隧道", "插旗方式", "9", "9"},
      {"隧道", "插旗方式", "1-一般隧道", "1-一般隧道"},
      // Culvert kinds: an unknown code is shown empty.
      {"小桥涵", "插旗方式", "0", "0-普通"},
      {"小桥涵", "插旗方式", "3", "3-无看守平交"},
      {"右线绕行段小桥涵", "插旗方式", "7", "7-自动化平交"},
      {"小桥涵", "插旗方式", "9", ""},
      {"小桥涵", "插旗方式", "12", ""},
      // Other numbers: cut to 3 digits, the culverts' span arrangement unchanged.
      {"大中桥", "桥全长", "123.45678", "123.456"},
      {"大中桥", "中心里程数", "1.50000000", "1.500"},
      {"大中桥", "桥全长", "-2.71828", "-2.718"},
      {"大中桥", "线数", "2", "2"},
      {"小桥涵", "孔跨式样", "1.5000", "1.5000"},
      {"大中桥", "孔跨式样", "1.5000", "1.500"},
      {"小桥涵", "中心里程数", "305.12345", "305.123"},
      // Zero within 0.00001 stays as read.
      {"大中桥", "桥全长", "0", "0"},
      {"大中桥", "桥全长", "0.00000000", "0.00000000"},
      {"大中桥", "桥全长", "0.000009", "0.000009"},
      {"大中桥", "桥全长", "0.0000200", "0.000"},
      // Texts that are no numbers stay, also those beginning with digits.
      {"大中桥", "桥梁名称", "1.25号桥", "1.25号桥"},
      {"大中桥", "中心里程冠号", "DK", "DK"},
      // NULL and empty become an empty cell.
      {"大中桥", "附注", "NULL", ""},
      {"导线表", "右角", "NULL", ""},
      {"隧道", "插旗方式", "", ""},
  };
  for (const ShowCase& c : cases) {
    EXPECT_EQ(PlanCellText(c.table, c.field, c.value), c.shown) << c.table << " " << c.field << " " << c.value;
  }
}

TEST(PlanCellText, CodedCellsAreSavedAsTheirCodes) {
  const ShowCase cases[] = {
      {"隧道", "", "1-一般隧道", "1"},
      {"左线绕行段隧道", "", "0-明洞", "0"},
      {"隧道", "", "9", "9"},
      {"小桥涵", "", "0-普通", "0"},
      {"小桥涵", "", "6-双看守平交", "6"},
      {"右线绕行段小桥涵", "", "7-自动化平交", "7"},
      {"小桥涵", "", "1-一般隧道", "1-一般隧道"},  // a tunnel's item is no culvert code
      {"大中桥", "", "0-普通", "0-普通"},
      {"车站", "", "中间站01", "中间站01"},
  };
  for (const ShowCase& c : cases)
    EXPECT_EQ(StoredCellText(EditorBuild::Plan, c.table, c.value), c.shown) << c.table << " " << c.value;
}

TEST(PlanCellText, CutsCountCharactersNotBytes) {
  EXPECT_EQ(CutDecimals("1.2号桥名", 3), "1.2号桥");
  EXPECT_EQ(CutDecimals("7", 3), "7");
  EXPECT_EQ(CutDecimals("7.", 3), "7.");
}

}  // namespace
