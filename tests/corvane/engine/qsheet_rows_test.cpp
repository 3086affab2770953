// The roadbed quantity sheet: kilometre rows, structure rows and the "合计"
// row as the earthwork summary writes them, read back from the open sheet.
// Volumes are worked by hand from the sections' areas (fill area = base).

#include <cmath>

#include "corvane/engine/earthwork_support.h"

namespace {

using earthwork_test::AddStructure;
using earthwork_test::Section;

sheet::CellValue Cell(int row, int col) { return g_ExcelSheet.GetCell(row, col).GetValue(); }

std::string Text(int row, int col) {
  const sheet::CellValue v = Cell(row, col);
  return v.kind == sheet::CellValue::Kind::Text ? v.text : "<not text>";
}

double Number(int row, int col) {
  const sheet::CellValue v = Cell(row, col);
  return v.kind == sheet::CellValue::Kind::Number ? v.number : std::nan("");
}

class QuantitySheetTest : public earthwork_test::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    earthwork_test::SetDkBreaks(d);
  }
  // Sections 800 (base 10), 1000 (20), 1200 (30), 1400 (40), 2100 (50) and
  // the bridge 一号桥 from 1500 to 1600, which adds sections at 1500 (a copy
  // of 1400) and 1600 (a copy of 2100).
  void KilometreLine() {
    d.sections = {Section(800, 0, 10), Section(1000, 0, 20), Section(1200, 0, 30), Section(1400, 0, 40),
                  Section(2100, 0, 50)};
    AddStructure(d.bridges, 1500, 1600, "一号桥");
  }
  CrossSectionDesigner d;
};

// One expected sheet row: its labels and its fill volume (column 5).
struct Row {
  const char* start;
  const char* end;
  int fill;
};

TEST_F(QuantitySheetTest, KilometreRowsStructureRowAndTotal) {
  KilometreLine();
  ASSERT_EQ(d.WriteEarthworkTable(800, 2100), 1);
  d.SummarizeEarthwork(800, 2100);
  ASSERT_TRUE(QuantitySheetIsOpen());

  // 800 → 1000 (a whole kilometre closes the row with its own volume), then
  // 1000 → 1500 closed by the bridge start, the bridge's row, and 1600 →
  // 2100 starting at the bridge's end text, closed as the last section.
  // Fill volumes: (20+10)/2·200 = 3000; (30+20)/2·200 + (40+30)/2·200 +
  // (40+40)/2·100 = 16000; (50+50)/2·500 = 25000.
  const Row rows[] = {{"DK0+800.000", "DK1+000", 3000},
                      {"DK1+000", "DK1+500.000", 16000},
                      {"DK1+600.000", "DK2+100.000", 25000}};
  const int at[] = {3, 4, 6};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Text(at[i], 1), rows[i].start) << "row " << at[i];
    EXPECT_EQ(Text(at[i], 2), rows[i].end) << "row " << at[i];
    EXPECT_EQ(Number(at[i], 5), rows[i].fill) << "row " << at[i];
  }
  EXPECT_EQ(Text(5, 1), "DK1+500.000");
  EXPECT_EQ(Text(5, 2), "DK1+600.000");
  EXPECT_EQ(Text(5, 3), "一号桥");
  EXPECT_EQ(g_LastMergedRange.GetAddress(), "C5:Q5");

  // The first row in every column: surface layer (base + 3) as a double,
  // improved soil (+2), rock classes (+11 .. +16) whole, ditch earthwork
  // (+6 and +5) whole, lining (+8), turf (+10), wall (+9), shoulder layer
  // (+7), topsoil (+4); each (b + k + b' + k) / 2 × 200 with b = 20, b' = 10.
  const auto v = [](int k) { return (20.0 + k + 10.0 + k) / 2.0 * 200.0; };
  EXPECT_EQ(Number(3, 3), v(3));
  EXPECT_EQ(Number(3, 4), v(2));
  for (int k = 0; k < 6; ++k) EXPECT_EQ(Number(3, 6 + k), v(11 + k)) << "rock class " << k + 1;
  EXPECT_EQ(Number(3, 12), v(6) + v(5));
  EXPECT_EQ(Number(3, 13), v(8));
  EXPECT_EQ(Number(3, 14), v(10));
  EXPECT_EQ(Number(3, 15), v(9));
  EXPECT_EQ(Number(3, 16), v(7));
  EXPECT_EQ(Number(3, 17), v(4));

  // The total of the three kilometre rows, then the counter two rows on.
  EXPECT_EQ(Text(7, 1), "合计");
  EXPECT_EQ(Cell(7, 2).kind, sheet::CellValue::Kind::Empty);
  EXPECT_EQ(Number(7, 5), 3000 + 16000 + 25000);
  EXPECT_EQ(g_ExcelRow, 9);
}

TEST_F(QuantitySheetTest, RangeAfterTheFirstSectionStartsAtItsFirstSection) {
  KilometreLine();
  ASSERT_EQ(d.WriteEarthworkTable(1000, 1400), 1);
  d.SummarizeEarthwork(1000, 1400);
  // 1000 opens the row; 1400 closes it (the next section lies beyond the
  // range): (30+20)/2·200 + (40+30)/2·200.
  EXPECT_EQ(Text(3, 1), "DK1+000");
  EXPECT_EQ(Text(3, 2), "DK1+400.000");
  EXPECT_EQ(Number(3, 5), 12000);
  EXPECT_EQ(Text(4, 1), "合计");
  EXPECT_EQ(Number(4, 5), 12000);
  EXPECT_EQ(Cell(5, 1).kind, sheet::CellValue::Kind::Empty);
}

TEST_F(QuantitySheetTest, RowRunningBackwardsAcrossALongChainCarriesOn) {
  // A long chain: DK1+100 = DK0+900, so DK0+900 .. DK1+100 occurs twice and a
  // chainage there is read at its later place.
  d.breakCount = 3;
  SetBreakPrefixes(d.breaks[1], "DK", "DK");
  SetBreakPrefixes(d.breaks[2], "DK", "DK");
  d.breaks[1].before = 1100.0;
  d.breaks[1].length = -200.0;
  d.breaks[2].before = 10000.0;
  d.sections = {Section(1050, 0, 10), Section(1200, 0, 20), Section(1300, 0, 30), Section(2300, 0, 40)};
  d.RestoreSectionLabels();
  ASSERT_STREQ(d.sections[1].label, "DK1+000");
  ASSERT_EQ(d.WriteEarthworkTable(1050, 2300), 1);
  d.SummarizeEarthwork(1050, 2300);
  // DK1+000 (a whole kilometre) would end a row that starts at DK1+050,
  // read at mileage 1250 > 1200: not written; its volume goes on into the
  // row that DK2+100 closes: (20+10)/2·150 + (30+20)/2·100 + (40+30)/2·1000.
  EXPECT_EQ(Text(3, 1), "DK1+050.000");
  EXPECT_EQ(Text(3, 2), "DK2+100.000");
  EXPECT_EQ(Number(3, 5), 2250 + 2500 + 35000);
  EXPECT_EQ(Text(4, 1), "合计");
}

// The kilometre row's cells: texts, whole cubic metres rounded half up, and
// doubles as they are.
TEST_F(QuantitySheetTest, KilometreRowRoundsTheWholeColumns) {
  ASSERT_EQ(OpenQuantitySheet(), 1);
  EarthworkSums s;
  s.fill = 10.5;
  s.rockClass[0] = 2.49;
  s.rockClass[5] = 0.5;
  s.ditchCut = -3.2;
  s.ditchFill = 1.1;
  s.surfaceLayer = 1.25;
  s.topsoil = 7.125;
  s.rockClass[2] = 1.0e12;  // beyond a cell's 32-bit whole number
  s.rockClass[3] = -0.5;
  g_ExcelRow = 10;
  FillExcelQuantityRow("K1+000", "K2+000", s);
  EXPECT_EQ(Number(10, 5), 11);
  EXPECT_EQ(Number(10, 6), 2);
  EXPECT_EQ(Number(10, 11), 1);
  EXPECT_EQ(Number(10, 8), 2147483647);
  EXPECT_EQ(Number(10, 9), 0);
  EXPECT_EQ(Number(10, 12), 4);  // |−3.2| + 1.1 = 4.3
  EXPECT_EQ(Number(10, 3), 1.25);
  EXPECT_EQ(Number(10, 17), 7.125);
  EXPECT_EQ(Text(10, 2), "K2+000");
  EXPECT_EQ(g_ExcelRow, 10);  // the caller advances it
}

TEST_F(QuantitySheetTest, MissingTemplateLeavesTheSheetOutAndTheFileWritten) {
  std::filesystem::remove(m_install.linuxPath("lib/路基数量表.xlt"));
  KilometreLine();
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.WriteEarthworkTable(800, 2100), 1);
  d.SummarizeEarthwork(800, 2100);
  d.SummarizeEarthwork(800, 2100);  // a second line of the same run
  EXPECT_FALSE(QuantitySheetIsOpen());
  const std::string& text = transcript.text();
  const size_t first = text.find("路基数量表模板");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.find("路基数量表模板", first + 1), std::string::npos);  // said once a run
  EXPECT_EQ(g_ExcelRow, 3);
  EXPECT_EQ(SetExcelInteractive(1), 1);
  EXPECT_FALSE(std::filesystem::exists(DataFile("路基数量表") + ".xlsx"));
  EXPECT_NE(earthwork_test::ReadText(DataFile("tsfjsb")), "<missing>");
}

TEST_F(QuantitySheetTest, SheetThatCannotBeSavedIsReportedAndTheFilesStay) {
  KilometreLine();
  ASSERT_EQ(d.WriteEarthworkTable(800, 2100), 1);
  d.SummarizeEarthwork(800, 2100);
  // A folder where the workbook should go.
  std::filesystem::create_directories(DataFile("路基数量表") + ".xlsx");
  platform::TranscriptCapture transcript;
  EXPECT_EQ(SetExcelInteractive(1), 0);
  EXPECT_TRUE(transcript.contains("路基数量表未能保存"));
  EXPECT_FALSE(QuantitySheetIsOpen());
  EXPECT_NE(earthwork_test::ReadText(DataFile("tsfjsb")), "<missing>");
}

TEST_F(QuantitySheetTest, HandedOverSheetIsSavedBesideTheData) {
  KilometreLine();
  ASSERT_EQ(d.WriteEarthworkTable(800, 2100), 1);
  d.SummarizeEarthwork(800, 2100);
  platform::TranscriptCapture transcript;
  EXPECT_EQ(SetExcelInteractive(1), 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(DataFile("路基数量表") + ".xlsx"));
  EXPECT_TRUE(transcript.contains("路基数量表.S1.xlsx"));
  EXPECT_FALSE(QuantitySheetIsOpen());
  EXPECT_FALSE(g_ExcelApp.IsValid());
}

}  // namespace
