#include <gtest/gtest.h>

#include "sheet/cellref.h"

namespace {

using sheet::CellRange;
using sheet::CellRef;

TEST(SheetCellRef, ParsesA1Addresses) {
  struct Case {
    const char* text;
    int row, col;  // row 0: not an address
  } cases[] = {
      {"A1", 1, 1},          {"c5", 5, 3},   // the lower-case column of "c%d"
      {"$Q$5", 5, 17},       {"Q$5", 5, 17},  {"Z9", 9, 26},    {"AA10", 10, 27},
      {"AZ1", 1, 52},        {"BA1", 1, 53},  {"ZZ1", 1, 702},  {"AAA1", 1, 703},
      {"XFD1048576", 1048576, 16384},
      {"", 0, 0},            {"A", 0, 0},     {"1", 0, 0},      {"A0", 0, 0},
      {"A01", 0, 0},         {"XFE1", 0, 0},  {"AAAA1", 0, 0},  {"A1048577", 0, 0},
      {"A-1", 0, 0},         {"A1B", 0, 0},   {"A 1", 0, 0},    {"$$A1", 0, 0},
      {"A99999999999", 0, 0},
  };
  for (const Case& c : cases) {
    std::optional<CellRef> ref = sheet::parseCellRef(c.text);
    if (c.row == 0) {
      EXPECT_FALSE(ref) << c.text;
    } else {
      ASSERT_TRUE(ref) << c.text;
      EXPECT_EQ(ref->row, c.row) << c.text;
      EXPECT_EQ(ref->col, c.col) << c.text;
    }
  }
}

TEST(SheetCellRef, ColumnNamesAndRanges) {
  struct Case {
    int col;
    const char* name;
  } names[] = {{1, "A"}, {17, "Q"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {702, "ZZ"}, {703, "AAA"},
               {16384, "XFD"}, {0, ""}, {16385, ""}};
  for (const Case& c : names) EXPECT_EQ(sheet::columnName(c.col), c.name) << c.col;

  // Corners in any order give the same rectangle; one cell is a range too.
  std::optional<CellRange> r = sheet::parseRange("Q5:c4");
  ASSERT_TRUE(r);
  EXPECT_EQ(*r, (CellRange{{4, 3}, {5, 17}}));
  EXPECT_EQ(sheet::rangeName(*r), "C4:Q5");
  EXPECT_EQ(r->cellCount(), 30);
  ASSERT_TRUE(sheet::parseRange("B2"));
  EXPECT_EQ(sheet::rangeName(*sheet::parseRange("B2")), "B2");
  EXPECT_FALSE(sheet::parseRange("B2:"));
  EXPECT_FALSE(sheet::parseRange("B2:C3:D4"));

  CellRange header{{1, 12}, {2, 12}};  // L1:L2
  EXPECT_TRUE(header.overlaps(CellRange{{2, 1}, {2, 17}}));
  EXPECT_FALSE(header.overlaps(CellRange{{3, 1}, {3, 17}}));
  EXPECT_FALSE(header.overlaps(CellRange{{1, 13}, {2, 17}}));
}

}  // namespace
