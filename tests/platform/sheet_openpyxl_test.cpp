// A workbook filled through the automation handles and saved, checked with
// openpyxl (Debian's python3-openpyxl) by tests/platform/sheet_openpyxl_check.py.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "fixtures/run_command.h"
#include "platform/sheet_support.h"
#include "platform/test_support.h"
#include "sheet/automation.h"
#include "win/transcript.h"

namespace {

using testsupport::TempFolder;
using testsupport::writeBytes;

using Value = std::variant<std::monostate, const char*, int, double>;

std::string jsonString(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string jsonValue(const Value& v) {
  if (std::holds_alternative<std::monostate>(v)) return "null";
  if (const char* const* t = std::get_if<const char*>(&v)) return jsonString(*t);
  if (const int* n = std::get_if<int>(&v)) return std::to_string(*n);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.17g", std::get<double>(v));
  return buf;
}

TEST(SheetOpenpyxl, SavedWorkbookReadsBackInOpenpyxl) {
  TempFolder tmp;
  std::string saved = tmp / "路基数量表.方案一.xlsx";
  struct Cell {
    const char* ref;
    Value value;
  };
  // A kilometre row, a bridge row merged from C to Q, the total row.
  const std::vector<Cell> cells = {
      {"A3", "DK0+000"}, {"B3", "DK1+000"}, {"C3", 120.25}, {"D3", 35.5}, {"E3", 1235},  {"F3", 10},
      {"K3", 60},        {"L3", 15},        {"M3", 3.75},   {"Q3", 240.75},
      {"A4", "DK1+000"}, {"B4", "DK1+350"}, {"C4", "某某大桥"},
      {"A5", "合计"},    {"B5", ""},        {"C5", 120.25}, {"E5", 1235},  {"Q5", 240.75},
  };

  platform::TranscriptCapture transcript;
  sheet::Application app;
  app.Start();
  sheet::Worksheet ws =
      app.GetWorkbooks().Add(sheettest::templatePath().c_str()).GetWorksheets().GetItem("路基数量表");
  ASSERT_TRUE(ws.IsValid()) << transcript.text();
  for (const Cell& c : cells) {
    sheet::Range r = ws.GetRange(c.ref);
    if (const char* const* t = std::get_if<const char*>(&c.value)) r.SetValue(*t);
    if (const int* n = std::get_if<int>(&c.value)) r.SetValue(*n);
    if (const double* d = std::get_if<double>(&c.value)) r.SetValue(*d);
  }
  ws.GetRange("C4", "Q4").Merge();
  ASSERT_TRUE(app.HandToUser(saved.c_str())) << transcript.text();

  std::string json = "{\"template\": " + jsonString(sheettest::templatePath()) + ", \"saved\": " + jsonString(saved) +
                     ", \"sheet\": \"路基数量表\", \"merged\": [\"C4:Q4\"],"
                     " \"changed_parts\": [\"[Content_Types].xml\", \"xl/worksheets/sheet1.xml\","
                     " \"xl/sharedStrings.xml\"],"
                     " \"formats\": {\"A3\": \"@\", \"C3\": \"0.00\", \"E3\": \"0\", \"K3\": \"0\", \"M3\": \"0.00\"},"
                     " \"cells\": {";
  for (const Cell& c : cells) {
    const char* const* t = std::get_if<const char*>(&c.value);
    Value expected = t && !**t ? Value() : c.value;  // an empty text leaves the cell empty
    json += jsonString(c.ref) + ": " + jsonValue(expected) + ", ";
  }
  json += "\"D4\": null, \"Q4\": null}}";
  std::string expectations = tmp / "expectations.json";
  writeBytes(expectations, json);

  std::string output;
  int status = fixtures::RunCommand(
      "/usr/bin/python3 " + std::string(RAIL_SOURCE_DIR) + "/tests/platform/sheet_openpyxl_check.py '" + expectations + "'",
      &output);
  EXPECT_EQ(status, 0) << output;
}

}  // namespace
