// Drawings that are legal but bare, and drawings whose numbers are not
// finite: the first open as drawings, the second are refused at the line that
// holds the number; no drawing export writes "nan" or "inf".
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <limits>
#include <string>

#include "arx/dxffile.h"
#include "dwg_fixture.h"
#include "win/transcript.h"

namespace {

// An ENTITIES section holding `body` (lines 5 on), and the end of the file.
std::string entities(const std::string& body) { return "0\nSECTION\n2\nENTITIES\n" + body + "0\nENDSEC\n0\nEOF\n"; }

TEST(DxfFaults, BareDrawingsOpenAsDrawings) {
  struct Case {
    const char* name;
    std::string dxf;
    size_t entities;  // in model space after the open
  };
  const Case cases[] = {
      {"only EOF", "  0\r\nEOF\r\n", 0},
      {"a header alone", "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nEOF\n", 0},
      {"no TABLES or BLOCKS", entities("0\nLINE\n8\nWALLS\n10\n1\n20\n2\n11\n3\n21\n4\n"), 1},
      {"an empty ENTITIES section", entities(""), 0},
      {"only OBJECTS", "0\nSECTION\n2\nOBJECTS\n0\nDICTIONARY\n5\nC\n0\nENDSEC\n0\nEOF\n", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* db = new AcDbDatabase(false);
    std::string error;
    ASSERT_EQ(platform::readDxfFromString(*db, c.dxf, error), Acad::eOk) << error;
    EXPECT_EQ(dwgtest::modelSpaceIds(db).size(), c.entities);
    // A drawing like any other: it takes entities and saves.
    dwgtest::addToModelSpace(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0)));
    EXPECT_EQ(dwgtest::modelSpaceIds(db).size(), c.entities + 1);
    EXPECT_NE(platform::writeDxfToString(*db).find("ENTITIES"), std::string::npos);
    delete db;
  }
}

// Every real-valued group must hold a finite number; the message names the
// line of the value (counted from 1) and the group. A polyline whose vertices
// were read when the file is refused is not kept, and not leaked.
TEST(DxfFaults, NumbersThatAreNotFiniteAreRefusedAtTheirLine) {
  struct Case {
    const char* name;
    std::string dxf;
    const char* error;
  };
  const std::string header = "0\nSECTION\n2\nHEADER\n9\n$EXTMIN\n10\n";
  const Case cases[] = {
      {"NaN start point", entities("0\nLINE\n8\n0\n10\nnan\n20\n0\n11\n1\n21\n1\n"),
       "line 10: group 10 holds \"nan\", not a finite number"},
      {"infinite end point", entities("0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n-inf\n"),
       "line 16: group 21 holds \"-inf\", not a finite number"},
      {"beyond a double", entities("0\nPOINT\n10\n1e999\n20\n0\n"),
       "line 8: group 10 holds \"1e999\", not a finite number"},
      {"a word for a radius", entities("0\nCIRCLE\n10\n0\n20\n0\n40\nten\n"),
       "line 12: group 40 holds \"ten\", not a finite number"},
      {"an empty rotation", entities("0\nTEXT\n10\n0\n20\n0\n40\n2.5\n50\n\n1\nA\n"),
       "line 14: group 50 holds \"\", not a finite number"},
      {"NaN in the header", header + "NaN\n0\nENDSEC\n0\nEOF\n", "line 8: group 10 holds \"NaN\", not a finite number"},
      {"a group code beyond the last", entities("0\nLINE\n1072\nx\n"), "line 7: not a group code"},
      {"a group code beyond the last, padded", entities("0\nLINE\n 9999\r\nx\n"), "line 7: not a group code"},
      {"NaN vertex of a polyline", entities("0\nPOLYLINE\n66\n1\n10\n0\n20\n0\n0\nVERTEX\n10\n1\n20\n1\n0\nVERTEX\n10\n2\n20\ninf\n"
                                            "0\nSEQEND\n"),
       "line 24: group 20 holds \"inf\", not a finite number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* db = new AcDbDatabase(false);
    std::string error;
    EXPECT_EQ(platform::readDxfFromString(*db, c.dxf, error), Acad::eBadDxfSequence);
    EXPECT_EQ(error, c.error);
    delete db;
  }
  // Refused while a polyline is being read (the file ends before its SEQEND):
  // the vertices read so far go with the reader.
  auto* db = new AcDbDatabase(false);
  std::string error;
  EXPECT_EQ(platform::readDxfFromString(*db, "0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n66\n1\n0\nVERTEX\n10\n1\n20\n1\n", error),
            Acad::eBadDxfSequence);
  EXPECT_EQ(error, "section ENTITIES is not closed");
  delete db;
}

// Entities whose numbers are not finite (made by code: a file with them is
// refused), or whose coordinates lie beyond 1e15 (no page can place them),
// are left out of the SVG, with a note. The file never holds nan or inf.
TEST(DxfFaults, SvgExportWritesOnlyFiniteNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double huge = std::numeric_limits<double>::max();
  struct Case {
    const char* name;
    AcGePoint3d from, to;
    bool leftOut;
  };
  const Case cases[] = {
      {"NaN end", AcGePoint3d(0, 0, 0), AcGePoint3d(nan, 1, 0), true},
      {"infinite start", AcGePoint3d(-inf, 0, 0), AcGePoint3d(1, 1, 0), true},
      {"extents wider than a double", AcGePoint3d(-huge, 0, 0), AcGePoint3d(huge, 1, 0), true},
      {"beyond 1e15", AcGePoint3d(0, 0, 0), AcGePoint3d(2e15, 1, 0), true},
      {"within 1e15", AcGePoint3d(0, 0, 0), AcGePoint3d(1e15, 1, 0), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* db = new AcDbDatabase(true);
    dwgtest::addToModelSpace(db, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 10, 0)));
    dwgtest::addToModelSpace(db, new AcDbLine(c.from, c.to));
    // Fitted into 1000 px, and plotted at 1:1000 (laid out in pages).
    for (double scale : {0.0, 1000.0}) {
      SCOPED_TRACE(scale);
      platform::TranscriptCapture shown;
      platform::SvgOptions options;
      options.plotScale = scale;
      const std::string svg = platform::svgOfModelSpace(*db, options);
      for (const char* word : {"nan", "NAN", "inf", "INF"})
        EXPECT_EQ(svg.find(word), std::string::npos) << word << "\n" << svg;
      EXPECT_EQ(shown.contains("SVG: 1 shapes with coordinates that are not finite or out of range are left out"),
                c.leftOut)
          << shown.text();
      EXPECT_NE(svg.find("<polyline"), std::string::npos);  // the sound line is drawn
    }
    delete db;
  }
}

// Found by fuzzing: a block holding inserts of itself drew itself again at
// every level, two inserts making 2^17 drawings before the nesting limit, so
// exporting the drawing hung. A block is not drawn again inside itself.
TEST(DxfFaults, ABlockThatInsertsItselfIsDrawnOnce) {
  const std::string insert = "0\nINSERT\n8\n0\n2\nB1\n10\n1\n20\n1\n";
  const std::string dxf = "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nB1\n10\n0\n20\n0\n"
                          "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n" +
                          insert + insert + insert + "0\nENDBLK\n0\nENDSEC\n" + entities(insert);
  auto* db = new AcDbDatabase(false);
  std::string error;
  ASSERT_EQ(platform::readDxfFromString(*db, dxf, error), Acad::eOk) << error;
  const std::string svg = platform::svgOfModelSpace(*db);
  size_t lines = 0;
  for (size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1)) ++lines;
  EXPECT_EQ(lines, 1u);  // the block's line, once
  delete db;
}

// A number in a real-valued group reads as the double nearest its decimal
// value, whatever its form (the C library's strtod is the reference), and a
// group code reads the same padded or not.
TEST(DxfFaults, NumbersReadAsTheNearestDouble) {
  std::vector<std::string> texts = {"1.25", "-3.5", "0", "-0", "-0.0", "0.1", "0.35", "123456789012345",
                                    "1234567890123456", "9007199254740993", "0.30000000000000004", " 2.5", "2.5 ",
                                    "+3", "1e3", "1.", ".5", "-.5", "00012.50", "521403.2516", "3412987.0049999999",
                                    "99999.99999999999", "1E-7", "0.000000000000001", "-999999999999999"};
  std::mt19937_64 random(1211);
  for (int i = 0; i < 2000; ++i) {
    std::string digits = std::to_string(random() % 1000000000000000ULL);
    size_t dot = random() % (digits.size() + 1);
    std::string t = random() % 2 ? "-" : "";
    t.append(digits, 0, dot);
    if (dot == 0) t += '0';
    if (dot < digits.size()) {
      t += '.';
      t.append(digits, dot, std::string::npos);
    }
    texts.push_back(t);
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    auto* db = new AcDbDatabase(false);
    std::string error;
    std::string body = "0\nLINE\n8\n0\n 10\r\n";
    body += text;
    body += "\r\n020\n0\n11\n1\n21\n1\n";
    const std::string dxf = entities(body);
    ASSERT_EQ(platform::readDxfFromString(*db, dxf, error), Acad::eOk) << error;
    std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(db);
    ASSERT_EQ(ids.size(), 1u);
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, ids[0], AcDb::kForRead), Acad::eOk);
    const double expected = std::strtod(text.c_str(), nullptr);
    EXPECT_EQ(std::signbit(line->startPoint().x), std::signbit(expected));
    EXPECT_EQ(line->startPoint().x, expected);
    EXPECT_EQ(line->startPoint().y, 0.0);
    line->close();
    delete db;
  }
}

// An entity's handle as the file gives it: hex digits, padded or not, in
// either case; one that is no hex number, or 2^56 and beyond, is not taken
// (the entity gets a handle of the drawing's own, the file still opens).
TEST(DxfFaults, HandlesReadAsHexOrNotAtAll) {
  struct Row {
    std::string text;
    uint64_t expected;  // 0: not taken
  };
  const Row rows[] = {
      {"1A", 0x1A},
      {" 1a\t", 0x1A},
      {"7FFF", 0x7FFF},
      {"FFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFULL},
      {std::string("2B\0", 3), 0x2B},  // a NUL ends the text
      {"100000000000000", 0},            // 2^56
      {"1G", 0},
      {"-5", 0},
      {"", 0},
      {"1234567890ABCDEF", 0},  // more than 15 digits
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    auto* db = new AcDbDatabase(false);
    std::string error;
    std::string body = "0\nLINE\n5\n";
    body += row.text;
    body += "\n8\n0\n10\n0\n20\n0\n11\n1\n21\n1\n";
    const std::string dxf = entities(body);
    ASSERT_EQ(platform::readDxfFromString(*db, dxf, error), Acad::eOk) << error;
    std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(db);
    ASSERT_EQ(ids.size(), 1u);
    const uint64_t handle = ids[0].handle().value();
    if (row.expected) {
      EXPECT_EQ(handle, row.expected);
    } else {
      EXPECT_NE(handle, 0u);
      EXPECT_LT(handle, uint64_t{1} << 56);
      EXPECT_NE(handle, 0x1u);  // "1G" is not read as 1
    }
    delete db;
  }
}

}  // namespace
