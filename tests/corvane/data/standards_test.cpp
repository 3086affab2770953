// The 21 design-standard tables read per line, with the default row of each
// table for a line that has none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <functional>
#include <string>
#include <vector>

#include "fixtures/run_command.h"
#include "SchemeDatabase.h"
#include "fixtures/scheme_db.h"
#include "fixtures/standards_db.h"
#include "corvane/data/schemedb_support.h"
#include "win/transcript.h"

namespace {

using schemedb_test::MessageCount;
using Strings = std::vector<std::string>;

std::string G(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

std::string Join(const Strings& parts) {
  std::string out;
  for (const std::string& p : parts) out += (out.empty() ? "" : " ") + p;
  return out;
}

// The rows the object holds for `table`, one text per row: its fields in
// record order, chainage keys by their texts, numbers as %g.
Strings RowsOf(const SchemeDatabase& s, const std::string& table) {
  const int side = table.rfind("右", 0) == 0 ? kRightSide : kLeftSide;
  std::string base = table;
  if (table.rfind("左", 0) == 0 || table.rfind("右", 0) == 0) base = table.substr(std::string("左").size());
  Strings out;
  auto values = [&out](const auto& rows) {
    for (int i = 0; i < rows.count; ++i) out.push_back(Join({rows.rows[i].end.text, G(rows.rows[i].value)}));
  };
  if (base == "基床表层厚度") values(s.subgradeSurface);
  else if (base == "护肩宽度") values(s.shoulderProtection);
  else if (base == "清表土厚度") values(s.topsoilStripping);
  else if (base == "地面线内插宽") values(s.groundLineWidth[side]);
  else if (base == "横断面限制宽度") values(s.sectionWidthLimit[side]);
  else if (base == "用地加宽") {
    const auto& t = s.landWidening[side];
    for (int i = 0; i < t.count; ++i)
      out.push_back(Join({t.rows[i].end.text, G(t.rows[i].firstWidening), G(t.rows[i].secondWidening)}));
  } else if (base == "路堤边坡" || base == "路堑边坡") {
    const auto& t = base == "路堤边坡" ? s.embankmentSlopes[side] : s.cuttingSlopes[side];
    for (int i = 0; i < t.count; ++i) {
      Strings p = {t.rows[i].end.text, G(t.rows[i].gradeCount)};
      for (int k = 0; k < t.rows[i].gradeCount; ++k) {
        const SlopeGrade& g = t.rows[i].grades[k];
        p.insert(p.end(), {G(g.ratio), G(g.height), G(g.bermWidth), G(g.fourth)});
      }
      out.push_back(Join(p));
    }
  } else if (base == "排水沟") {
    const auto& t = s.drainageDitches[side];
    for (int i = 0; i < t.count; ++i) {
      Strings p = {t.rows[i].end.text, G(t.rows[i].ditchType), G(t.rows[i].at12)};
      for (double v : t.rows[i].at6to11) p.push_back(G(v));
      out.push_back(Join(p));
    }
  } else if (base == "侧沟") {
    const auto& t = s.sideDitches[side];
    for (int i = 0; i < t.count; ++i) {
      Strings p = {t.rows[i].end.text, G(t.rows[i].at9)};
      for (double v : t.rows[i].at5to8) p.push_back(G(v));
      out.push_back(Join(p));
    }
  } else if (base == "天沟") {
    const auto& t = s.topDitches[side];
    for (int i = 0; i < t.count; ++i) {
      const TopDitchRow& r = t.rows[i];
      Strings p = {r.start.text, r.end.text};
      for (const double* a : {r.startValues, r.endValues, r.extra})
        for (int k = 0; k < 3; ++k) p.push_back(G(a[k]));
      out.push_back(Join(p));
    }
  } else if (base == "填改良土") {
    const auto& t = s.improvedFill;
    for (int i = 0; i < t.count; ++i) out.push_back(Join({G(t.rows[i].value), t.rows[i].start.text, t.rows[i].end.text}));
  } else if (base == "挖方分类") {
    const auto& t = s.excavationClasses;
    for (int i = 0; i < t.count; ++i) {
      Strings p = {t.rows[i].end.text};
      for (double v : t.rows[i].percent) p.push_back(G(v));
      out.push_back(Join(p));
    }
  }
  return out;
}

// How rows of one kind of table are written and how they read back: the
// cells from position 3 on for a row keyed at (prefix, number) with base value
// b, and the row as RowsOf shows it, given the key's chainage text.
struct Kind {
  std::function<Strings(const std::string& prefix, const std::string& number, double b)> cells;
  std::function<std::string(const std::string& text, double b)> row;
};

Strings Numbers(std::initializer_list<double> values) {
  Strings out;
  for (double v : values) out.push_back(G(v));
  return out;
}

Strings Cat(Strings a, const Strings& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Kind kValue = {[](const std::string& p, const std::string& n, double b) { return Cat({p, n}, Numbers({b})); },
                     [](const std::string& t, double b) { return t + " " + G(b); }};
const Kind kWidening = {
    [](const std::string& p, const std::string& n, double b) { return Cat({p, n}, Numbers({b, b + 0.5})); },
    [](const std::string& t, double b) { return Join({t, G(b), G(b + 0.5)}); }};
// Two grades; a third grade's columns hold numbers that must not be read.
const Kind kSlopes = {[](const std::string& p, const std::string& n, double b) {
                        return Cat({p, n, "2"}, Numbers({b, 6, 2, 0.5, b + 0.25, 12, 0, 0, 77, 77, 77, 77}));
                      },
                      [](const std::string& t, double b) { return Join({t, "2", G(b), "6 2 0.5", G(b + 0.25), "12 0 0"}); }};
// Positions 6 .. 12 hold b .. b + 6; the row shows 12 first, then 6 .. 11.
const Kind kDrainage = {
    [](const std::string& p, const std::string& n, double b) {
      return Cat({p, n, "2"}, Numbers({b, b + 1, b + 2, b + 3, b + 4, b + 5, b + 6}));
    },
    [](const std::string& t, double b) {
      return Join({t, "2", G(b + 6), G(b), G(b + 1), G(b + 2), G(b + 3), G(b + 4), G(b + 5)});
    }};
// Positions 5 .. 9 hold b .. b + 4; the row shows 9 first, then 5 .. 8.
const Kind kSideDitch = {
    [](const std::string& p, const std::string& n, double b) { return Cat({p, n}, Numbers({b, b + 1, b + 2, b + 3, b + 4})); },
    [](const std::string& t, double b) { return Join({t, G(b + 4), G(b), G(b + 1), G(b + 2), G(b + 3)}); }};
// Start key, three start values, end key EK3+000, three end values, three more.
const Kind kTopDitch = {
    [](const std::string& p, const std::string& n, double b) {
      return Cat(Cat(Cat({p, n}, Numbers({b, b + 1, b + 2})), {"EK", "3000"}),
                 Numbers({b + 3, b + 4, b + 5, b + 6, b + 7, b + 8}));
    },
    [](const std::string& t, double b) {
      return Join({t, "EK3+000", G(b), G(b + 1), G(b + 2), G(b + 3), G(b + 4), G(b + 5), G(b + 6), G(b + 7), G(b + 8)});
    }};
const Kind kImprovedFill = {
    [](const std::string& p, const std::string& n, double b) { return Cat({p, n, "EK", "3000"}, Numbers({b})); },
    [](const std::string& t, double b) { return Join({G(b), t, "EK3+000"}); }};
const Kind kExcavation = {
    [](const std::string& p, const std::string& n, double b) {
      return Cat({p, n}, Numbers({b, b + 1, b + 2, b + 3, b + 4, b + 5}));
    },
    [](const std::string& t, double b) { return Join({t, G(b), G(b + 1), G(b + 2), G(b + 3), G(b + 4), G(b + 5)}); }};

struct TableKind {
  const char* name;
  const Kind* kind;
};
const TableKind kTables[] = {
    {"填改良土", &kImprovedFill}, {"挖方分类", &kExcavation},   {"基床表层厚度", &kValue},   {"护肩宽度", &kValue},
    {"清表土厚度", &kValue},      {"左地面线内插宽", &kValue}, {"左横断面限制宽度", &kValue}, {"左用地加宽", &kWidening},
    {"左路堤边坡", &kSlopes},     {"左路堑边坡", &kSlopes},    {"左排水沟", &kDrainage},     {"左侧沟", &kSideDitch},
    {"左天沟", &kTopDitch},       {"右地面线内插宽", &kValue}, {"右横断面限制宽度", &kValue}, {"右用地加宽", &kWidening},
    {"右路堤边坡", &kSlopes},     {"右路堑边坡", &kSlopes},    {"右排水沟", &kDrainage},     {"右侧沟", &kSideDitch},
    {"右天沟", &kTopDitch},
};

// Rows of the fixture: the line, the detour, the key and the base value's
// offset from the table's own base (10 × (table index + 1)).
struct Slot {
  const char* line;
  const char* detour;
  const char* prefix;
  const char* number;
  const char* text;  // the key as a chainage text
  int offset;
};
const Slot kSlots[] = {
    {"0", "-1", "DK", "2500.5", "DK2+500.500", 0},  // baseline, not in chainage order
    {"0", "-1", "DK", "1200", "DK1+200.000", 1},
    {"-1", "0", "ZK", "1500", "ZK1+500.000", 2},    // left line, detour 0
    {"1", "0", "YK", "900.25", "YK0+900.250", 3},   // right line, detour 0
    {"0", "0", "XK", "1", "XK0+001.000", 8},        // rows no read below selects
    {"-1", "2", "XK", "2", "XK0+002.000", 9},
};

double BaseOf(int tableIndex) { return 10.0 * (tableIndex + 1); }

class StandardsTest : public schemedb_test::SchemeProject {
 protected:
  void FillAllTables() {
    for (int t = 0; t < static_cast<int>(std::size(kTables)); ++t) {
      std::vector<Strings> texts;
      for (const Slot& s : kSlots)
        texts.push_back(Cat({s.line, s.detour}, kTables[t].kind->cells(s.prefix, s.number, BaseOf(t) + s.offset)));
      std::vector<fixtures::Row> rows;
      for (const Strings& r : texts) {
        rows.emplace_back();
        for (const std::string& c : r) rows.back().push_back(c.c_str());
      }
      std::string error;
      ASSERT_TRUE(fixtures::FillTable(m_db, kTables[t].name, rows, &error)) << error;
    }
  }
  void CreateTables() {
    std::string error;
    ASSERT_TRUE(fixtures::CreateDesignStandardTables(m_db, 32, &error)) << error;
  }
  // A fresh object on the line, reading one table.
  Strings Read(int line, int detour, const char* table, std::string* transcript = nullptr) {
    SchemeDatabase scheme;
    scheme.databasePath = m_db.c_str();
    scheme.currentLine = line;
    scheme.detourNumber = detour;
    platform::TranscriptCapture capture;
    EXPECT_EQ(scheme.ReadDesignStandards(table), 1);
    if (transcript) *transcript = capture.text();
    return RowsOf(scheme, table);
  }
};

TEST_F(StandardsTest, EveryTableReadsTheRowsOfItsLine) {
  CreateTables();
  FillAllTables();
  struct Line {
    int line, detour;
    std::vector<int> slots;
  };
  const Line lines[] = {{0, -1, {0, 1}}, {-1, 0, {2}}, {1, 0, {3}}};
  for (int t = 0; t < static_cast<int>(std::size(kTables)); ++t) {
    for (const Line& l : lines) {
      SCOPED_TRACE(testing::Message() << kTables[t].name << " line " << l.line << " detour " << l.detour);
      Strings expected;
      for (int s : l.slots) expected.push_back(kTables[t].kind->row(kSlots[s].text, BaseOf(t) + kSlots[s].offset));
      std::string transcript;
      EXPECT_EQ(Read(l.line, l.detour, kTables[t].name, &transcript), expected);
      EXPECT_EQ(MessageCount(transcript), 0u) << transcript;
    }
  }
}

// The default row of every table, for a line that runs from S to E.
Strings DefaultRow(const std::string& table, const std::string& S, const std::string& E) {
  std::string base = table;
  if (table.rfind("左", 0) == 0 || table.rfind("右", 0) == 0) base = table.substr(std::string("左").size());
  std::string row;
  if (base == "填改良土") row = "0 " + S + " " + E;
  else if (base == "挖方分类") row = E + " 0 0 100 0 0 0";
  else if (base == "基床表层厚度") row = E + " 0.65";  // the technical parameter
  else if (base == "护肩宽度") row = E + " 0.4";
  else if (base == "清表土厚度") row = E + " 0";
  else if (base == "地面线内插宽" || base == "横断面限制宽度") row = E + " 60";
  else if (base == "用地加宽") row = E + " 1 1";
  else if (base == "路堤边坡") row = E + " 3 1.5 8 1 0 1.75 10 1 0 2 100 1 0";
  else if (base == "路堑边坡") row = E + " 3 1 8 1 0 1.25 10 1 0 1.5 100 1 0";
  else if (base == "排水沟") row = E + " 1 0.3 2 4 0.4 0.6 1 1";
  else if (base == "侧沟") row = E + " 0.3 0.4 0.85 1 1";  // depth 0.65 + 0.2
  else if (table == "左天沟") row = S + " " + E + " 2 0.4 0.6 2 0.4 0.6 1 1 0.3";
  else if (table == "右天沟") row = S + " " + E + " 2 0.6 0.4 2 0.6 0.4 1 1 0.3";
  return {row};
}

TEST_F(StandardsTest, LinesWithoutRowsGetOneDefaultRowOverTheirRange) {
  CreateTables();
  FillAllTables();  // rows for other lines only
  struct Line {
    int line, detour;
    const char* start;
    const char* end;
  };
  const Line lines[] = {
      {-1, 1, "ZK3+000", "ZK4+100.000"},  // a detour with breaks
      {1, 1, "k0+000", "k10+000"},        // a detour without breaks
  };
  for (const TableKind& t : kTables) {
    for (const Line& l : lines) {
      SCOPED_TRACE(testing::Message() << t.name << " line " << l.line << " detour " << l.detour);
      std::string transcript;
      EXPECT_EQ(Read(l.line, l.detour, t.name, &transcript), DefaultRow(t.name, l.start, l.end));
      EXPECT_EQ(MessageCount(transcript), 0u) << transcript;
    }
  }
}

TEST_F(StandardsTest, BaselineDefaultsForEmptyAndMissingTables) {
  for (bool withTables : {true, false}) {
    if (withTables) CreateTables();
    for (const TableKind& t : kTables) {
      SCOPED_TRACE(testing::Message() << t.name << (withTables ? " empty" : " missing"));
      std::string transcript;
      EXPECT_EQ(Read(0, -1, t.name, &transcript), DefaultRow(t.name, "DK0+100.000", "DK5+123.400"));
      EXPECT_EQ(MessageCount(transcript), 0u) << transcript;
    }
    if (withTables) {
      for (const TableKind& t : kTables) ASSERT_TRUE(fixtures::ExecuteSql(m_db, std::string("drop table ") + t.name));
    }
  }
}

TEST_F(StandardsTest, SideDitchDepthFollowsTheSubgradeSurfaceLayer) {
  CreateTables();
  struct Case {
    float techValue;         // jishucanshu.dat
    const char* tableValue;  // 基床表层厚度 of the baseline, or none
    double depth;
  };
  const Case cases[] = {
      {0.65f, nullptr, 0.85},   // the float 0.6499999762 is the typed 0.65
      {0.655f, nullptr, 0.85},  // truncated, not rounded
      {0.7f, nullptr, 0.9},     // 0.7 + 0.2 is 0.8999999999999999 in binary
      {0.649f, nullptr, 0.84},
      {0.65f, "0.7", 0.9},      // a table row wins over the file
      {0.65f, "0.35", 0.55},
      {0.65f, "0.5", 0.7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.techValue << " " << (c.tableValue ? c.tableValue : "-"));
    WriteTechParams(c.techValue);
    ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 基床表层厚度"));
    if (c.tableValue) {
      ASSERT_TRUE(fixtures::FillTable(m_db, "基床表层厚度", {{"0", "-1", "DK", "3000", c.tableValue}}));
    }
    for (const char* ditch : {"左侧沟", "右侧沟"}) {
      // In the designer's order (the layer first) and on its own.
      for (bool layerFirst : {true, false}) {
        SchemeDatabase scheme;
        scheme.databasePath = m_db.c_str();
        scheme.currentLine = 0;
        scheme.detourNumber = -1;
        if (layerFirst) scheme.ReadDesignStandards("基床表层厚度");
        scheme.ReadDesignStandards(ditch);
        const auto& rows = scheme.sideDitches[ditch == std::string("左侧沟") ? kLeftSide : kRightSide];
        ASSERT_EQ(rows.count, 1);
        EXPECT_DOUBLE_EQ(rows.rows[0].At(6), c.depth) << ditch;
        EXPECT_DOUBLE_EQ(rows.rows[0].at5to8[1], c.depth) << ditch;
      }
    }
  }
}

TEST_F(StandardsTest, TechParamsAreKeptAsTyped) {
  WriteTechParams(0.65f);
  SchemeDatabase scheme;
  EXPECT_TRUE(scheme.LoadTechParams());
  EXPECT_EQ(scheme.techSubgradeThickness, 0.65);
  EXPECT_EQ(scheme.techDesignSpeed, 200.0);
  EXPECT_EQ(scheme.subgradeSurface.count, 0);  // no row to set
}

TEST_F(StandardsTest, SlopeGradeCounts) {
  CreateTables();
  // Count, then the cells of grades from position 6 on.
  Strings grades;
  for (int k = 0; k < 32; ++k) grades = Cat(grades, Numbers({1.0 + k, 10.0 + k, 0.5, 0}));
  ASSERT_TRUE(fixtures::FillTable(m_db, "左路堤边坡",
                                       {{"0", "-1", "DK", "100", "0", "9", "9", "9", "9"},
                                        {"0", "-1", "DK", "200", "2", "1.5", "8", "1", "0", "1.75", "10", "1", "0", "9"},
                                        {"0", "-1", "DK", "300", "NaN"}}));
  std::vector<fixtures::Row> wide;
  for (const char* count : {"31", "-1"}) {
    wide.push_back({"-1", "0", "ZK", "1000", count});
    for (const std::string& g : grades) wide.back().push_back(g.c_str());
  }
  ASSERT_TRUE(fixtures::FillTable(m_db, "左路堤边坡", wide));

  std::string transcript;
  EXPECT_EQ(Read(0, -1, "左路堤边坡", &transcript),
            (Strings{"DK0+100.000 0", "DK0+200.000 2 1.5 8 1 0 1.75 10 1 0", "DK0+300.000 0"}));

  // 31 grades are cut to 30, -1 to none, each with a note naming the table.
  SchemeDatabase scheme;
  scheme.databasePath = m_db.c_str();
  scheme.currentLine = -1;
  scheme.detourNumber = 0;
  platform::TranscriptCapture capture;
  scheme.ReadDesignStandards("左路堤边坡");
  const auto& rows = scheme.embankmentSlopes[kLeftSide];
  ASSERT_EQ(rows.count, 2);
  EXPECT_EQ(rows.rows[0].gradeCount, 30);
  EXPECT_EQ(rows.rows[0].grades[29].ratio, 30.0);
  EXPECT_EQ(rows.rows[0].grades[29].height, 39.0);
  EXPECT_EQ(rows.rows[1].gradeCount, 0);
  EXPECT_TRUE(capture.contains("左路堤边坡第1行的边坡级数31超出0~30的范围,按30级读入!")) << capture.text();
  EXPECT_TRUE(capture.contains("左路堤边坡第2行的边坡级数-1超出0~30的范围,按0级读入!")) << capture.text();
}

TEST_F(StandardsTest, NullCellsAndUnknownNames) {
  CreateTables();
  ASSERT_TRUE(fixtures::FillTable(m_db, "护肩宽度", {{"0", "-1", nullptr, nullptr, nullptr}}));
  // A NULL prefix is the text "NULL"; NULL numbers read as 0.
  EXPECT_EQ(Read(0, -1, "护肩宽度"), Strings{"NULL0+000 0"});

  SchemeDatabase scheme;
  scheme.databasePath = m_db.c_str();
  scheme.ReadDesignStandards("护肩宽度");
  EXPECT_EQ(scheme.ReadDesignStandards("路肩宽度"), 1);  // none of the 21
  EXPECT_EQ(RowsOf(scheme, "护肩宽度"), Strings{"NULL0+000 0"});
  // A second read of a table replaces its rows.
  ASSERT_TRUE(fixtures::ExecuteSql(m_db, "delete from 护肩宽度"));
  scheme.ReadDesignStandards("护肩宽度");
  EXPECT_EQ(RowsOf(scheme, "护肩宽度"), Strings{"DK5+123.400 0.4"});
}

// A cell that is no finite number (stored by another program) refuses the
// table with a message naming table, row and column; the line then gets its
// default row, as a line without rows does.
TEST_F(StandardsTest, ACellThatIsNoNumberRefusesTheTable) {
  CreateTables();
  ASSERT_TRUE(fixtures::FillTable(m_db, "护肩宽度", {{"0", "-1", "DK", "100", "0.6"}}));
  std::string out;
  ASSERT_EQ(fixtures::RunCommand("sqlite3 '" + m_db + "' \"insert into 护肩宽度 values(2, 0, -1, 'DK', 200, 'wide')\"",
                                 &out),
            0)
      << out;
  std::string transcript;
  EXPECT_EQ(Read(0, -1, "护肩宽度", &transcript), Strings{"DK5+123.400 0.4"});
  EXPECT_NE(transcript.find("表护肩宽度第2行"), std::string::npos) << transcript;
  EXPECT_NE(transcript.find("的\"wide\"不是有限的数, 该表不能读入!"), std::string::npos) << transcript;
}

TEST_F(StandardsTest, MissingDatabaseGivesDefaultsAfterTheMessages) {
  SchemeDatabase scheme;
  scheme.databasePath = (m_db + ".none").c_str();
  scheme.currentLine = -1;
  scheme.detourNumber = 0;
  platform::TranscriptCapture capture;
  EXPECT_EQ(scheme.ReadDesignStandards("左用地加宽"), 1);
  EXPECT_EQ(RowsOf(scheme, "左用地加宽"), Strings{"k10+000 1 1"});
  EXPECT_TRUE(capture.contains("连接数据库失败!")) << capture.text();
}

TEST(StandardsNames, RequestOrderReadsEveryTableOnceAndTheTopsoilTwice) {
  std::vector<std::string> seen;
  for (const char* name : kDesignStandardRequestOrder) seen.push_back(name);
  ASSERT_EQ(seen.size(), 22u);
  EXPECT_EQ(seen[4], "清表土厚度");
  EXPECT_EQ(seen[13], "清表土厚度");
  seen.erase(seen.begin() + 13);
  std::vector<std::string> tables(std::begin(kDesignStandardTables), std::end(kDesignStandardTables));
  EXPECT_EQ(seen, tables);
  for (const TableKind& t : kTables) EXPECT_NE(std::find(tables.begin(), tables.end(), t.name), tables.end()) << t.name;
}

}  // namespace
