#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sheet_support.h"
#include "platform/test_support.h"
#include "sheet/workbook.h"

namespace {

using sheet::CellRange;
using sheet::CellRef;
using sheet::CellValue;
using sheet::WorkbookModel;
using sheet::WorksheetModel;
using sheettest::Parts;
using sheettest::partOf;
using sheettest::readPackage;
using sheettest::templatePath;
using sheettest::writePackage;
using testsupport::readBytes;
using testsupport::TempFolder;
using testsupport::writeBytes;

constexpr const char* kSheet = "路基数量表";

CellRef at(const char* a1) { return *sheet::parseCellRef(a1); }
CellRange span(const char* a1) { return *sheet::parseRange(a1); }

std::unique_ptr<WorkbookModel> openOrFail(const std::string& path) {
  std::string error;
  std::unique_ptr<WorkbookModel> book = WorkbookModel::open(path, &error);
  EXPECT_TRUE(book) << error;
  return book;
}

WorksheetModel* sheetOrFail(WorkbookModel& book, const char* name) {
  std::string error;
  WorksheetModel* ws = book.sheet(name, &error);
  EXPECT_TRUE(ws) << error;
  return ws;
}

size_t countOf(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

class SheetWorkbookTest : public ::testing::Test {
 protected:
  TempFolder m_tmp;
};

// Values set in the template's quantity sheet read back the same before and
// after a save, and cells keep or take the formats of the template.
TEST_F(SheetWorkbookTest, ValuesAndFormatsSurviveSaveAndReopen) {
  enum Kind { kText, kInt, kDouble };
  struct Case {
    const char* cell;
    Kind kind;
    const char* text;
    double number;
    CellValue expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<Case> cases = {
      {"A3", kText, "DK0+000", 0, CellValue::ofText("DK0+000")},
      {"B3", kText, "DK1+000", 0, CellValue::ofText("DK1+000")},
      {"C3", kDouble, nullptr, 12.5, CellValue::ofNumber(12.5)},
      {"D3", kDouble, nullptr, 0.1, CellValue::ofNumber(0.1)},
      {"E3", kInt, nullptr, 1234, CellValue::ofNumber(1234)},
      {"F3", kInt, nullptr, -7, CellValue::ofNumber(-7)},
      {"G3", kInt, nullptr, INT_MAX, CellValue::ofNumber(2147483647.0)},
      {"H3", kInt, nullptr, INT_MIN, CellValue::ofNumber(-2147483648.0)},
      {"I3", kDouble, nullptr, 1e-7, CellValue::ofNumber(1e-7)},
      {"J3", kDouble, nullptr, 123456789.125, CellValue::ofNumber(123456789.125)},
      {"K3", kDouble, nullptr, nan, CellValue::ofError("#NUM!")},  // no number cell holds NaN
      {"L3", kDouble, nullptr, inf, CellValue::ofError("#NUM!")},
      {"A4", kText, "合计", 0, CellValue::ofText("合计")},
      {"B4", kText, "起点", 0, CellValue::ofText("起点")},  // a text the template's table has
      {"C4", kText, " 前后有空格 ", 0, CellValue::ofText(" 前后有空格 ")},
      {"D4", kText, "a\x01" "b\tc", 0, CellValue::ofText("a\x01" "b\tc")},  // XML cannot hold U+0001
      {"E4", kText, "_x0041_", 0, CellValue::ofText("_x0041_")},             // looks like an escape
      {"F4", kText, "<&>\"'", 0, CellValue::ofText("<&>\"'")},
      {"G4", kText, "bad\xff", 0, CellValue::ofText("bad\xEF\xBF\xBD")},    // not UTF-8: U+FFFD
      {"A1", kText, "起止里程", 0, CellValue::ofText("起止里程")},            // a header cell rewritten
  };

  std::unique_ptr<WorkbookModel> book = openOrFail(templatePath());
  ASSERT_TRUE(book);
  WorksheetModel* ws = sheetOrFail(*book, kSheet);
  ASSERT_TRUE(ws);
  for (const Case& c : cases) {
    switch (c.kind) {
      case kText: EXPECT_TRUE(ws->setText(at(c.cell), c.text)); break;
      case kInt: EXPECT_TRUE(ws->setInteger(at(c.cell), static_cast<int>(c.number))); break;
      case kDouble: EXPECT_TRUE(ws->setNumber(at(c.cell), c.number)); break;
    }
  }
  // An empty text empties a cell that held a value.
  ws->setText(at("H4"), "x");
  ws->setText(at("H4"), "");
  for (const Case& c : cases) EXPECT_EQ(ws->value(at(c.cell)), c.expected) << "before saving " << c.cell;

  std::string saved = m_tmp / "路基数量表.A.xlsx";
  std::string error;
  ASSERT_TRUE(book->saveAs(saved, &error)) << error;

  std::unique_ptr<WorkbookModel> again = openOrFail(saved);
  ASSERT_TRUE(again);
  WorksheetModel* back = sheetOrFail(*again, kSheet);
  ASSERT_TRUE(back);
  for (const Case& c : cases) EXPECT_EQ(back->value(at(c.cell)), c.expected) << "after saving " << c.cell;
  EXPECT_EQ(back->value(at("H4")).kind, CellValue::Kind::Empty);
  EXPECT_EQ(back->value(at("Q9")).kind, CellValue::Kind::Empty);
  EXPECT_EQ(back->value(at("A2")), CellValue::ofText("起点"));  // the template's own header

  // Formats of the template: header cells keep theirs (1) when rewritten; a
  // new cell takes its column's: labels 2, two-decimal quantities 3, whole
  // quantities 4.
  struct Format {
    const char* cell;
    int style;
  } formats[] = {{"A1", 1}, {"Q2", 1}, {"A3", 2}, {"B4", 2}, {"C3", 3}, {"D3", 3}, {"E3", 4},
                 {"K3", 4}, {"L3", 4}, {"M3", 3}, {"Q3", 3}, {"H4", 4}};
  for (const Format& f : formats) EXPECT_EQ(back->styleOf(at(f.cell)), f.style) << f.cell;

  // Texts go into the shared-string table; the one it held already is not
  // added again. New distinct texts: DK0+000, DK1+000, 合计, the spaced text,
  // the escaped one, _x0041_, <&>"', bad�, 起止里程 and x (dropped from its
  // cell but still in the table) = 10.
  std::string before = partOf(readPackage(templatePath()), "xl/sharedStrings.xml");
  std::string after = partOf(readPackage(saved), "xl/sharedStrings.xml");
  EXPECT_EQ(countOf(after, "<si>"), countOf(before, "<si>") + 10);
  EXPECT_NE(after.find("<t>_x005F_x0041_</t>"), std::string::npos);
  EXPECT_NE(after.find("<t>a_x0001_b\tc</t>"), std::string::npos);
  EXPECT_NE(after.find("xml:space=\"preserve\"> 前后有空格 </t>"), std::string::npos);
}

// Saving changes the parts that hold what was set and nothing else; a
// template saved as an .xlsx becomes an ordinary workbook.
TEST_F(SheetWorkbookTest, UntouchedPartsAreCopiedByteForByte) {
  std::unique_ptr<WorkbookModel> book = openOrFail(templatePath());
  ASSERT_TRUE(book);
  std::string error;
  std::string copy = m_tmp / "copy.xlt";
  ASSERT_TRUE(book->saveAs(copy, &error)) << error;
  EXPECT_EQ(readPackage(copy), readPackage(templatePath())) << "nothing set, nothing changes";

  WorksheetModel* ws = sheetOrFail(*book, kSheet);
  ASSERT_TRUE(ws);
  ws->setText(at("A3"), "DK0+000");
  ws->merge(span("C4:Q4"));
  std::string saved = m_tmp / "saved.xlsx";
  ASSERT_TRUE(book->saveAs(saved, &error)) << error;

  Parts original = readPackage(templatePath());
  Parts now = readPackage(saved);
  ASSERT_EQ(now.size(), original.size());
  const std::vector<std::string> changed = {"[Content_Types].xml", "xl/worksheets/sheet1.xml",
                                            "xl/sharedStrings.xml"};
  for (size_t i = 0; i < original.size(); ++i) {
    EXPECT_EQ(now[i].first, original[i].first) << "parts keep their order";
    bool isChanged = std::find(changed.begin(), changed.end(), original[i].first) != changed.end();
    if (isChanged)
      EXPECT_NE(now[i].second, original[i].second) << original[i].first;
    else
      EXPECT_EQ(now[i].second, original[i].second) << original[i].first;
  }
  std::string types = partOf(now, "[Content_Types].xml");
  EXPECT_NE(types.find("spreadsheetml.sheet.main+xml"), std::string::npos);
  EXPECT_EQ(types.find("template.main+xml"), std::string::npos);

  // In the rewritten sheet, what was not set stays: widths, frozen header,
  // page setup, header merges; the used range now reaches row 3 (a merge
  // makes no cells).
  std::string sheetXml = partOf(now, "xl/worksheets/sheet1.xml");
  for (const char* kept : {"<col min=\"1\" max=\"1\" width=\"16\" style=\"2\" customWidth=\"1\"/>",
                           "state=\"frozen\"", "<pageSetup paperSize=\"8\" orientation=\"landscape\"",
                           "<mergeCell ref=\"L1:L2\"/>", "<dimension ref=\"A1:Q3\"/>",
                           "<mergeCell ref=\"C4:Q4\"/>"})
    EXPECT_NE(sheetXml.find(kept), std::string::npos) << kept;

  // Saved under a template's extension it stays a template.
  std::string asTemplate = m_tmp / "mine.xltx";
  ASSERT_TRUE(book->saveAs(asTemplate, &error)) << error;
  EXPECT_NE(partOf(readPackage(asTemplate), "[Content_Types].xml").find("template.main+xml"), std::string::npos);
}

TEST_F(SheetWorkbookTest, MergesGrowOverAreasTheyCutAndRememberTheLast) {
  const std::vector<CellRange> header = {span("A1:B1"), span("C1:E1"), span("F1:K1"), span("L1:L2"), span("M1:M2"),
                                         span("N1:N2"), span("O1:O2"), span("P1:P2"), span("Q1:Q2")};
  struct Case {
    const char* name;
    std::vector<const char*> merges;  // in order
    std::vector<CellRange> gone;      // header areas taken into a merge
    std::vector<CellRange> added;
    CellRange last;
  } cases[] = {
      {"structure row", {"c4", "Q4"}, {}, {span("C4:Q4")}, span("C4:Q4")},
      {"corners reversed", {"Q5", "C5"}, {}, {span("C5:Q5")}, span("C5:Q5")},
      {"cuts two header areas", {"L2", "M2"}, {span("L1:L2"), span("M1:M2")}, {span("L1:M2")}, span("L1:M2")},
      {"same area again", {"A1", "B1"}, {}, {}, span("A1:B1")},
      {"inside a header area", {"C1", "D1"}, {}, {}, span("C1:E1")},
      {"one cell merges nothing", {"B6", "B6"}, {}, {}, span("B6")},
      {"two merges, the last counts", {"C4", "Q4", "c5", "Q5"}, {}, {span("C4:Q4"), span("C5:Q5")}, span("C5:Q5")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<WorkbookModel> book = openOrFail(templatePath());
    ASSERT_TRUE(book);
    WorksheetModel* ws = sheetOrFail(*book, kSheet);
    ASSERT_TRUE(ws);
    EXPECT_FALSE(ws->lastMerged());
    for (size_t i = 0; i + 1 < c.merges.size(); i += 2)
      EXPECT_TRUE(ws->merge(sheet::spanOf(at(c.merges[i]), at(c.merges[i + 1]))));

    std::vector<CellRange> expected;
    for (const CellRange& h : header)
      if (std::find(c.gone.begin(), c.gone.end(), h) == c.gone.end()) expected.push_back(h);
    expected.insert(expected.end(), c.added.begin(), c.added.end());
    auto sorted = [](std::vector<CellRange> v) {
      std::sort(v.begin(), v.end(), [](const CellRange& a, const CellRange& b) {
        return std::tie(a.first.row, a.first.col) < std::tie(b.first.row, b.first.col);
      });
      return v;
    };
    EXPECT_EQ(sorted(ws->mergedRanges()), sorted(expected));
    ASSERT_TRUE(ws->lastMerged());
    EXPECT_EQ(*ws->lastMerged(), c.last);

    std::string saved = m_tmp / "merged.xlsx";
    std::string error;
    ASSERT_TRUE(book->saveAs(saved, &error)) << error;
    std::unique_ptr<WorkbookModel> again = openOrFail(saved);
    ASSERT_TRUE(again);
    WorksheetModel* back = sheetOrFail(*again, kSheet);
    ASSERT_TRUE(back);
    EXPECT_EQ(sorted(back->mergedRanges()), sorted(expected));
  }
}

// A structure row: start, end and name, then the name's cell merged to Q.
// Only the top-left value of a merged area stays; formats stay.
TEST_F(SheetWorkbookTest, MergeKeepsOnlyTheTopLeftValue) {
  std::unique_ptr<WorkbookModel> book = openOrFail(templatePath());
  ASSERT_TRUE(book);
  WorksheetModel* ws = sheetOrFail(*book, kSheet);
  ASSERT_TRUE(ws);
  ws->setText(at("A5"), "DK1+200");
  ws->setText(at("B5"), "DK1+350");
  ws->setText(at("C5"), "某某大桥");
  ws->setInteger(at("E5"), 9);
  ws->setNumber(at("Q5"), 2.5);
  ASSERT_TRUE(ws->merge(span("C5:Q5")));
  EXPECT_EQ(ws->value(at("A5")), CellValue::ofText("DK1+200"));
  EXPECT_EQ(ws->value(at("B5")), CellValue::ofText("DK1+350"));
  EXPECT_EQ(ws->value(at("C5")), CellValue::ofText("某某大桥"));
  EXPECT_EQ(ws->value(at("E5")).kind, CellValue::Kind::Empty);
  EXPECT_EQ(ws->value(at("Q5")).kind, CellValue::Kind::Empty);
  EXPECT_EQ(ws->styleOf(at("E5")), 4);
  EXPECT_EQ(ws->styleOf(at("Q5")), 3);
}

// A user's own layout: sheets in another order, element prefixes, no
// shared-string table (texts go inline), rows and cells without numbers,
// formulas with a calculation chain.
TEST_F(SheetWorkbookTest, UsersOwnLayoutIsKept) {
  const std::string main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  const std::string sml = "application/vnd.openxmlformats-officedocument.spreadsheetml.";
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
  const std::string sheet1 = head + "<worksheet xmlns=\"" + main + "\"><sheetData/></worksheet>";
  Parts parts = {
      {"[Content_Types].xml",
       head + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
              "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
              "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
              "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + sml + "sheet.main+xml\"/>"
              "<Override PartName=\"/xl/worksheets/sheet1.xml\" ContentType=\"" + sml + "worksheet+xml\"/>"
              "<Override PartName=\"/xl/worksheets/sheet2.xml\" ContentType=\"" + sml + "worksheet+xml\"/>"
              "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"" + sml + "calcChain+xml\"/></Types>"},
      {"_rels/.rels",
       head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"R1\" Type=\"" + rel + "/officeDocument\" Target=\"/xl/workbook.xml\"/>"
              "</Relationships>"},
      {"xl/workbook.xml",
       head + "<x:workbook xmlns:x=\"" + main + "\" xmlns:r=\"" + rel + "\"><x:sheets>"
              "<x:sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/>"
              "<x:sheet name=\"路基数量表\" sheetId=\"2\" r:id=\"rId2\"/></x:sheets></x:workbook>"},
      {"xl/_rels/workbook.xml.rels",
       head + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
              "<Relationship Id=\"rId1\" Type=\"" + rel + "/worksheet\" Target=\"worksheets/sheet1.xml\"/>"
              "<Relationship Id=\"rId2\" Type=\"" + rel + "/worksheet\" Target=\"./worksheets/../worksheets/sheet2.xml\"/>"
              "<Relationship Id=\"rId3\" Type=\"" + rel + "/calcChain\" Target=\"calcChain.xml\"/></Relationships>"},
      {"xl/worksheets/sheet1.xml", sheet1},
      {"xl/worksheets/sheet2.xml",
       head + "<x:worksheet xmlns:x=\"" + main + "\"><x:sheetData>"
              "<x:row><x:c t=\"inlineStr\"><x:is><x:t>表头</x:t></x:is></x:c><x:c><x:v>7</x:v></x:c></x:row>"
              "<x:row r=\"3\"><x:c r=\"A3\"><x:f>B1*2</x:f><x:v>14</x:v></x:c>"
              "<x:c r=\"B3\"><x:f t=\"shared\" ref=\"B3:B4\" si=\"0\">A3+1</x:f><x:v>15</x:v></x:c></x:row>"
              "<x:row r=\"4\"><x:c r=\"B4\"><x:f t=\"shared\" si=\"0\"/><x:v>16</x:v></x:c></x:row>"
              "</x:sheetData></x:worksheet>"},
      {"xl/calcChain.xml", head + "<calcChain xmlns=\"" + main + "\"><c r=\"A3\" i=\"2\"/><c r=\"B3\"/><c r=\"B4\"/></calcChain>"},
  };
  std::string mine = m_tmp / "mine.xlt";
  writePackage(mine, parts);

  std::unique_ptr<WorkbookModel> book = openOrFail(mine);
  ASSERT_TRUE(book);
  EXPECT_EQ(book->sheetNames(), (std::vector<std::string>{"Sheet1", "路基数量表"}));
  std::string error;
  EXPECT_TRUE(book->sheet("SHEET1", &error)) << "names match without regard to ASCII case";
  WorksheetModel* ws = sheetOrFail(*book, kSheet);
  ASSERT_TRUE(ws);
  EXPECT_EQ(ws->value(at("A1")), CellValue::ofText("表头"));
  EXPECT_EQ(ws->value(at("B1")), CellValue::ofNumber(7));
  ws->setText(at("A2"), "新行");   // a row between two others
  ws->setText(at("C1"), "尾");     // after the cells of an unnumbered row
  ws->setNumber(at("B3"), 1.5);    // the cell that held the shared formula
  std::string saved = m_tmp / "mine.xlsx";
  ASSERT_TRUE(book->saveAs(saved, &error)) << error;

  std::unique_ptr<WorkbookModel> again = openOrFail(saved);
  ASSERT_TRUE(again);
  WorksheetModel* back = sheetOrFail(*again, kSheet);
  ASSERT_TRUE(back);
  struct Expect {
    const char* cell;
    CellValue value;
  } expects[] = {{"A1", CellValue::ofText("表头")}, {"B1", CellValue::ofNumber(7)},  {"C1", CellValue::ofText("尾")},
                 {"A2", CellValue::ofText("新行")}, {"A3", CellValue::ofNumber(14)}, {"B3", CellValue::ofNumber(1.5)},
                 {"B4", CellValue::ofNumber(16)}};
  for (const Expect& e : expects) EXPECT_EQ(back->value(at(e.cell)), e.value) << e.cell;

  Parts now = readPackage(saved);
  std::string xml = partOf(now, "xl/worksheets/sheet2.xml");
  EXPECT_NE(xml.find("<x:c r=\"A2\" t=\"inlineStr\"><x:is><x:t>新行</x:t></x:is></x:c>"), std::string::npos) << xml;
  EXPECT_LT(xml.find("<x:row r=\"1\""), xml.find("<x:row r=\"2\""));
  EXPECT_LT(xml.find("<x:row r=\"2\""), xml.find("<x:row r=\"3\""));
  EXPECT_EQ(xml.find("t=\"shared\""), std::string::npos) << "the shared formula went with its cell";
  EXPECT_NE(xml.find("<x:f>B1*2</x:f>"), std::string::npos);
  EXPECT_EQ(partOf(now, "xl/worksheets/sheet1.xml"), sheet1);
  for (const auto& [name, content] : now) EXPECT_NE(name, "xl/calcChain.xml");
  EXPECT_EQ(partOf(now, "[Content_Types].xml").find("calcChain"), std::string::npos);
  EXPECT_EQ(partOf(now, "xl/_rels/workbook.xml.rels").find("calcChain"), std::string::npos);
  EXPECT_NE(partOf(now, "xl/workbook.xml").find("fullCalcOnLoad=\"1\""), std::string::npos);
}

// The template labels each of the 17 columns of a quantity row in its two
// header rows (a label may span several columns or both rows), and no more.
TEST_F(SheetWorkbookTest, TemplateHeadsTheSeventeenColumns) {
  std::unique_ptr<WorkbookModel> book = openOrFail(templatePath());
  ASSERT_TRUE(book);
  EXPECT_EQ(book->sheetNames(), (std::vector<std::string>{"路基数量表", "说明"}));
  WorksheetModel* ws = sheetOrFail(*book, kSheet);
  ASSERT_TRUE(ws);
  auto label = [&](CellRef c) {
    for (const CellRange& m : ws->mergedRanges())
      if (m.contains(c)) c = m.first;
    return ws->value(c);
  };
  for (int col = 1; col <= 18; ++col) {
    CellValue top = label({1, col}), below = label({2, col});
    bool labelled = top.kind == CellValue::Kind::Text && below.kind == CellValue::Kind::Text;
    EXPECT_EQ(labelled, col <= 17) << sheet::columnName(col);
  }
  EXPECT_EQ(ws->value(at("A3")).kind, CellValue::Kind::Empty) << "rows from 3 on are left to the command";
}

// Files that are not workbooks are refused with a message naming the file;
// nothing crashes.
TEST_F(SheetWorkbookTest, DamagedPackagesAreRefusedWithTheFileNamed) {
  const std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  const std::string templ = readBytes(templatePath());
  Parts good = readPackage(templatePath());
  auto without = [&](const std::string& name) {
    Parts p;
    for (const auto& e : good)
      if (e.first != name) p.push_back(e);
    return p;
  };
  auto replaced = [&](const std::string& name, const std::string& content) {
    Parts p = good;
    for (auto& e : p)
      if (e.first == name) e.second = content;
    return p;
  };
  struct Case {
    const char* name;
    std::string bytes;  // the file's bytes (empty with `parts` set: a package made of them)
    Parts parts;
    const char* message;
    bool failsAtSheet;  // the workbook opens; its sheet does not
  } cases[] = {
      {"empty file", "", {}, "不是可读的 Office Open XML 工作簿", false},
      {"plain text", "起点 终点\n", {}, "不是可读的 Office Open XML 工作簿", false},
      {"old binary workbook", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'), {},
       "旧的二进制格式", false},
      {"truncated package", templ.substr(0, templ.size() / 2), {}, "不是可读的 Office Open XML 工作簿", false},
      {"no content types", "", without("[Content_Types].xml"), "已损坏", false},
      {"no package relationships", "", without("_rels/.rels"), "已损坏", false},
      {"workbook not XML", "", replaced("xl/workbook.xml", "<workbook"), "已损坏: xl/workbook.xml", false},
      {"workbook with a DTD", "",
       replaced("xl/workbook.xml", head + "<!DOCTYPE workbook [<!ENTITY a \"aaaaaaaa\">]><workbook/>"),
       "已损坏: xl/workbook.xml: a document type declaration is not allowed", false},
      {"shared strings not XML", "", replaced("xl/sharedStrings.xml", "<sst><si>"), "已损坏: xl/sharedStrings.xml",
       false},
      {"sheet not XML", "", replaced("xl/worksheets/sheet1.xml", head + "<worksheet><sheetData>"), "已损坏", true},
      {"rows out of order", "",
       replaced("xl/worksheets/sheet1.xml",
                head + "<worksheet><sheetData><row r=\"5\"/><row r=\"2\"/></sheetData></worksheet>"),
       "row 2 out of order", true},
      {"cell of another row", "",
       replaced("xl/worksheets/sheet1.xml",
                head + "<worksheet><sheetData><row r=\"5\"><c r=\"A6\"/></row></sheetData></worksheet>"),
       "cell \"A6\" in row 5", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = m_tmp / "bad.xlt";
    if (c.parts.empty())
      writeBytes(path, c.bytes);
    else
      writePackage(path, c.parts);
    std::string error;
    std::unique_ptr<WorkbookModel> book = WorkbookModel::open(path, &error);
    if (c.failsAtSheet) {
      ASSERT_TRUE(book) << error;
      EXPECT_FALSE(book->sheet(kSheet, &error));
    } else {
      EXPECT_FALSE(book);
    }
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

// A package whose stored data no longer match their checksum.
TEST_F(SheetWorkbookTest, CorruptedPartDataAreFoundWhenOpening) {
  std::string path = m_tmp / "corrupt.xlt";
  int err = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &err);
  ASSERT_TRUE(za);
  Parts good = readPackage(templatePath());
  for (const auto& [name, content] : good) {
    zip_source_t* src = zip_source_buffer(za, content.data(), content.size(), 0);
    zip_int64_t i = zip_file_add(za, name.c_str(), src, ZIP_FL_ENC_UTF_8);
    ASSERT_GE(i, 0);
    zip_set_file_compression(za, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);  // data stored as they are
  }
  ASSERT_EQ(zip_close(za), 0);
  std::string bytes = readBytes(path);
  size_t where = bytes.find("<pageMargins");
  ASSERT_NE(where, std::string::npos);
  bytes[where + 1] = 'P';
  writeBytes(path, bytes);

  std::string error;
  EXPECT_FALSE(WorkbookModel::open(path, &error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_NE(error.find("xl/worksheets/sheet1.xml"), std::string::npos) << error;
}

TEST_F(SheetWorkbookTest, MissingFilesAndSheetsAreNamed) {
  std::string error;
  std::string missing = m_tmp / "lib/路基数量表.xlt";
  EXPECT_FALSE(WorkbookModel::open(missing, &error));
  EXPECT_NE(error.find("找不到工作簿文件"), std::string::npos) << error;
  EXPECT_NE(error.find(missing), std::string::npos) << error;

  std::unique_ptr<WorkbookModel> book = openOrFail(templatePath());
  ASSERT_TRUE(book);
  EXPECT_FALSE(book->sheet("数量表", &error));
  EXPECT_NE(error.find("没有工作表 \"数量表\""), std::string::npos) << error;
  EXPECT_NE(error.find(templatePath()), std::string::npos) << error;

  // A folder is not a workbook.
  EXPECT_FALSE(WorkbookModel::open(m_tmp.path(), &error));
  EXPECT_NE(error.find("无法读取工作簿文件 \"" + m_tmp.path() + "\""), std::string::npos) << error;

  // A save into a folder that does not exist fails and names the file.
  std::string nowhere = m_tmp / "no/such/folder/x.xlsx";
  EXPECT_FALSE(book->saveAs(nowhere, &error));
  EXPECT_NE(error.find("无法保存工作簿"), std::string::npos) << error;
  EXPECT_NE(error.find(nowhere), std::string::npos) << error;
  EXPECT_FALSE(testsupport::exists(nowhere));

  // Cells outside the sheet are refused.
  WorksheetModel* ws = sheetOrFail(*book, kSheet);
  ASSERT_TRUE(ws);
  EXPECT_FALSE(ws->setText({0, 1}, "x"));
  EXPECT_FALSE(ws->setInteger({1, 16385}, 1));
  EXPECT_FALSE(ws->setNumber({1048577, 1}, 1.0));
  EXPECT_FALSE(ws->merge(CellRange{{1, 1}, {1, 0}}));
}

}  // namespace
