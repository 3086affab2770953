#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "mfc/cstring.h"
#include "platform/sheet_support.h"
#include "platform/test_support.h"
#include "sheet/automation.h"
#include "win/transcript.h"

namespace {

using sheet::CellValue;
using testsupport::readBytes;
using testsupport::ScopedEnv;
using testsupport::TempFolder;
using testsupport::writeBytes;

constexpr const char* kTemplate = "D:\\suite\\lib\\路基数量表.xlt";
constexpr const char* kSaveAs = "D:\\proj\\data\\路基数量表.方案一.xlsx";

using Value = std::variant<const char*, int, double>;

// A run of the quantity sheet as the earthwork command makes it: the install
// folder and the project on drive D:, the template copied from the build.
class SheetAutomationTest : public ::testing::Test {
 protected:
  SheetAutomationTest() : m_env("CADHOST_DRIVE_ROOT", m_tmp / "drives") {
    writeBytes(drive("suite/lib/路基数量表.xlt"), readBytes(sheettest::templatePath()));
    std::filesystem::create_directories(drive("proj/data"));
  }
  std::string drive(const std::string& rel) const { return m_tmp / ("drives/D/" + rel); }

  static void put(sheet::Worksheet& ws, int row, const std::vector<Value>& cells) {
    int col = 1;
    for (const Value& v : cells) {
      sheet::Range cell = ws.GetCell(row, col++);
      bool set = std::visit([&](auto x) { return cell.SetValue(x); }, v);
      EXPECT_TRUE(set) << "row " << row << " col " << col - 1;
    }
  }
  static CellValue expected(const Value& v) {
    if (const char* const* text = std::get_if<const char*>(&v))
      return **text ? CellValue::ofText(*text) : CellValue{};
    if (const int* n = std::get_if<int>(&v)) return CellValue::ofNumber(*n);
    return CellValue::ofNumber(std::get<double>(v));
  }

  TempFolder m_tmp;
  ScopedEnv m_env;
};

TEST_F(SheetAutomationTest, RowsMergeAndHandOverSaveBesideTheProjectData) {
  // A kilometre row, a bridge row, the next kilometre row and the total row.
  const std::vector<Value> km1 = {"DK0+000", "DK1+000", 120.25, 35.5, 1235, 10, 20, 30, 40, 50, 60, 15,
                                  3.75, 88.5, 12.25, 6.5, 240.75};
  const std::vector<Value> km2 = {"DK1+350", "DK2+000", 0.5, 0.0, 7, 0, 0, 0, 0, 0, 1, 2, 0.25, 1.0, 0.0, 0.0, 4.5};
  const std::vector<Value> total = {"合计", "", 120.75, 35.5, 1242, 10, 20, 30, 40, 50, 61, 17,
                                    4.0, 89.5, 12.25, 6.5, 245.25};

  platform::TranscriptCapture transcript;
  sheet::Application app;
  ASSERT_TRUE(app.Start());
  sheet::Workbooks books = app.GetWorkbooks();
  sheet::Workbook book = books.Add(kTemplate);
  ASSERT_TRUE(book.IsValid()) << transcript.text();
  EXPECT_EQ(book.GetName(), "路基数量表");
  EXPECT_EQ(books.GetCount(), 1);
  sheet::Worksheets sheets = book.GetWorksheets();
  EXPECT_EQ(sheets.GetCount(), 2);
  sheet::Worksheet ws = sheets.GetItem("路基数量表");
  ASSERT_TRUE(ws.IsValid()) << transcript.text();

  int row = 3;  // the rows start below the two header rows
  put(ws, row++, km1);
  put(ws, row, {"DK1+000", "DK1+350", "某某大桥"});
  CString from, to;
  from.Format("c%d", row);
  to.Format("Q%d", row);
  sheet::Range range = ws.GetRange(from, to);
  EXPECT_EQ(range.GetAddress(), "C4:Q4");
  EXPECT_TRUE(range.Merge());
  EXPECT_EQ(ws.GetLastMerged().GetAddress(), "C4:Q4");
  ++row;
  put(ws, row++, km2);
  put(ws, row, total);
  EXPECT_EQ(ws.GetCell(row, 1).GetValue(), CellValue::ofText("合计"));

  EXPECT_TRUE(app.HandToUser(kSaveAs));
  std::string saved = drive("proj/data/路基数量表.方案一.xlsx");
  EXPECT_TRUE(transcript.contains("工作簿 路基数量表 已保存到 \"D:\\proj\\data\\路基数量表.方案一.xlsx\" (" + saved + ")"))
      << transcript.text();
  // The run is over: every handle is empty and does nothing.
  EXPECT_FALSE(app.IsValid());
  EXPECT_FALSE(ws.IsValid());
  EXPECT_FALSE(range.SetValue(1));
  EXPECT_FALSE(book.IsValid());
  EXPECT_EQ(readBytes(drive("suite/lib/路基数量表.xlt")), readBytes(sheettest::templatePath())) << "only read";

  std::string error;
  std::unique_ptr<sheet::WorkbookModel> back = sheet::WorkbookModel::open(saved, &error);
  ASSERT_TRUE(back) << error;
  sheet::WorksheetModel* sheetBack = back->sheet("路基数量表", &error);
  ASSERT_TRUE(sheetBack) << error;
  const std::vector<std::pair<int, const std::vector<Value>*>> rows = {{3, &km1}, {5, &km2}, {6, &total}};
  for (const auto& [r, cells] : rows)
    for (size_t c = 0; c < cells->size(); ++c)
      EXPECT_EQ(sheetBack->value({r, static_cast<int>(c) + 1}), expected((*cells)[c])) << "row " << r << " col " << c + 1;
  EXPECT_EQ(sheetBack->value({4, 1}), CellValue::ofText("DK1+000"));
  EXPECT_EQ(sheetBack->value({4, 3}), CellValue::ofText("某某大桥"));
  std::vector<sheet::CellRange> merged = sheetBack->mergedRanges();
  EXPECT_NE(std::find(merged.begin(), merged.end(), sheet::CellRange{{4, 3}, {4, 17}}), merged.end());
}

TEST_F(SheetAutomationTest, QuitClosesWithoutSaving) {
  platform::TranscriptCapture transcript;
  sheet::Application app;
  app.Start();
  sheet::Workbook book = app.GetWorkbooks().Add(kTemplate);
  sheet::Worksheet ws = book.GetWorksheets().GetItem("路基数量表");
  ASSERT_TRUE(ws.IsValid());
  ws.GetCell(3, 1).SetValue("DK0+000");
  app.Quit();
  EXPECT_FALSE(ws.IsValid());
  EXPECT_FALSE(ws.GetCell(3, 2).SetValue(1.5));
  EXPECT_TRUE(std::filesystem::is_empty(drive("proj/data")));
  EXPECT_EQ(transcript.text(), "");

  // The application can be started again for the next run.
  EXPECT_TRUE(app.Start());
  EXPECT_EQ(app.GetWorkbooks().GetCount(), 0);
  EXPECT_TRUE(app.GetWorkbooks().Add(kTemplate).IsValid());
}

// Whatever fails, one message names the file and the calls that follow do
// nothing. A workbook without the sheet is still handed over as it is.
TEST_F(SheetAutomationTest, FailuresAreReportedOnceAndTheRunGoesOn) {
  struct Case {
    const char* name;
    const char* templ;
    const char* sheetName;
    const char* saveAs;
    const char* message;
    bool saved;
  } cases[] = {
      {"missing template", "D:\\suite\\lib\\无此模板.xlt", "路基数量表", kSaveAs,
       "找不到工作簿文件 \"D:\\suite\\lib\\无此模板.xlt\"", false},
      {"missing sheet", kTemplate, "数量表", kSaveAs, "中没有工作表 \"数量表\"", true},
      {"save into a missing folder", kTemplate, "路基数量表", "D:\\proj\\无此文件夹\\路基数量表.方案一.xlsx",
       "无法保存工作簿 \"D:\\proj\\无此文件夹\\路基数量表.方案一.xlsx\"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::TranscriptCapture transcript;
    sheet::Application app;
    app.Start();
    sheet::Worksheet ws = app.GetWorkbooks().Add(c.templ).GetWorksheets().GetItem(c.sheetName);
    ws.GetCell(3, 1).SetValue("DK0+000");
    ws.GetRange("c4", "Q4").Merge();
    EXPECT_EQ(app.HandToUser(c.saveAs), c.saved);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_EQ(transcript.contains("已保存到"), c.saved) << transcript.text();
    EXPECT_EQ(std::filesystem::is_empty(drive("proj/data")), !c.saved);
    EXPECT_FALSE(app.IsValid());
    std::filesystem::remove_all(drive("proj/data"));
    std::filesystem::create_directories(drive("proj/data"));
  }

  // Addresses that are not cells are refused with a message.
  platform::TranscriptCapture transcript;
  sheet::Application app;
  app.Start();
  sheet::Worksheet ws = app.GetWorkbooks().Add(kTemplate).GetWorksheets().GetItem("路基数量表");
  EXPECT_FALSE(ws.GetRange("c0", "Q4").IsValid());
  EXPECT_FALSE(ws.GetRange("C4:").IsValid());
  EXPECT_FALSE(ws.GetCell(0, 1).IsValid());
  EXPECT_FALSE(ws.GetCell(3, 16385).IsValid());
  EXPECT_TRUE(transcript.contains("无效的单元格区域 \"c0\", \"Q4\"")) << transcript.text();
  EXPECT_TRUE(transcript.contains("单元格 (0, 1) 在表外")) << transcript.text();
  // A range too large to be meant is not filled.
  EXPECT_FALSE(ws.GetRange("A1:XFD1048576").SetValue(0));
  EXPECT_TRUE(transcript.contains("区域 A1:XFD1048576 过大")) << transcript.text();
  app.Quit();
}

}  // namespace
