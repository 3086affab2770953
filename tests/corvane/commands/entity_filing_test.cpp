// The drawn-section entities in drawing files: every field filed in its
// order, a saved drawing reopening with all five entities whole, and counts
// from a damaged drawing refused before anything is stored.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "arx/dbproxy.h"
#include "entity_support.h"
#include "win/transcript.h"

namespace {

using entity_test::Append;
using entity_test::SectionEntityTest;

AcGePoint3d P(double x, double y, double z = 0.0) { return AcGePoint3d(x, y, z); }

// Distinct values for row i of the eight slope arrays: array a (0 .. 7, the
// four embankment arrays then the four cutting ones) holds 100 a + i + 0.25.
double RowValue(int a, int i) { return 100.0 * a + i + 0.25; }

// A design line with every field set to a value of its own; `extra` points.
DesignLine* FullLine(int vertexCount, int extra) {
  auto* line = new DesignLine();
  DesignLineData& d = line->Edit();
  for (int k = 0; k < vertexCount; ++k) d.vertices.push_back(P(1000.0 + 0.5 * k, 510.0 - 0.125 * k, 0.0));
  d.geometry = {{1000.5, 510.7}, {{1017.5, 510.0}, {1017.25, 510.5}, {1017.125, 510.25}}, 1.0, -7.5};
  d.embankment.count = 3;
  d.cutting.count = 30;
  for (int i = 0; i < kMaxSlopeGrades; ++i) {
    SlopeGradeArrays* arrays[2] = {&d.embankment, &d.cutting};
    for (int t = 0; t < 2; ++t) {
      arrays[t]->ratio[i] = RowValue(4 * t + 0, i);
      arrays[t]->height[i] = RowValue(4 * t + 1, i);
      arrays[t]->bermWidth[i] = RowValue(4 * t + 2, i);
      arrays[t]->bermSlope[i] = RowValue(4 * t + 3, i);
    }
  }
  for (int k = 0; k < extra; ++k) d.extraPoints.push_back(P(1020.0 + k, 505.0 - k, 0.0));
  d.lineCode = 1;
  d.detourIndex = 7;
  d.sectionRow = 42;
  d.entityTable = 8;
  d.chainage = 12345.678;
  d.side = -1;
  d.formCode = 3.0;  // the geometry's flag above is kept apart
  d.frameElevations[0] = 101.25;
  d.frameElevations[1] = 95.5;
  d.frameOrigin[0] = 1000.0;
  d.frameOrigin[1] = 500.0;
  d.frameOrigin[2] = 5.0;
  return line;
}

void ExpectSameLine(const DesignLineData& got, const DesignLineData& want) {
  ASSERT_EQ(got.vertices.size(), want.vertices.size());
  for (size_t k = 0; k < want.vertices.size(); ++k) EXPECT_EQ(got.vertices[k], want.vertices[k]) << "vertex " << k;
  EXPECT_EQ(got.geometry.pointA[0], want.geometry.pointA[0]);
  EXPECT_EQ(got.geometry.pointA[1], want.geometry.pointA[1]);
  for (int c = 0; c < 3; ++c)
    for (int j = 0; j < 2; ++j) EXPECT_EQ(got.geometry.slopeStart[c][j], want.geometry.slopeStart[c][j]);
  EXPECT_EQ(got.geometry.formFlag, want.geometry.formFlag);
  EXPECT_EQ(got.geometry.spare, want.geometry.spare);
  EXPECT_EQ(got.embankment.count, want.embankment.count);
  EXPECT_EQ(got.cutting.count, want.cutting.count);
  for (int i = 0; i < kMaxSlopeGrades; ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    for (auto pair : {std::pair{&got.embankment, &want.embankment}, std::pair{&got.cutting, &want.cutting}}) {
      EXPECT_EQ(pair.first->ratio[i], pair.second->ratio[i]);
      EXPECT_EQ(pair.first->height[i], pair.second->height[i]);
      EXPECT_EQ(pair.first->bermWidth[i], pair.second->bermWidth[i]);
      EXPECT_EQ(pair.first->bermSlope[i], pair.second->bermSlope[i]);
    }
  }
  ASSERT_EQ(got.extraPoints.size(), want.extraPoints.size());
  for (size_t k = 0; k < want.extraPoints.size(); ++k) EXPECT_EQ(got.extraPoints[k], want.extraPoints[k]);
  EXPECT_EQ(got.lineCode, want.lineCode);
  EXPECT_EQ(got.detourIndex, want.detourIndex);
  EXPECT_EQ(got.sectionRow, want.sectionRow);
  EXPECT_EQ(got.entityTable, want.entityTable);
  EXPECT_EQ(got.chainage, want.chainage);
  EXPECT_EQ(got.side, want.side);
  EXPECT_EQ(got.formCode, want.formCode);
  EXPECT_EQ(got.frameElevations[0], want.frameElevations[0]);
  EXPECT_EQ(got.frameElevations[1], want.frameElevations[1]);
  for (int j = 0; j < 3; ++j) EXPECT_EQ(got.frameOrigin[j], want.frameOrigin[j]);
}

// What the line files, as tags.
platform::DxfTags TagsOf(const AcDbEntity* e) {
  platform::TagFiler out;
  e->dwgOutFields(&out);
  return out.takeTags();
}

class EntityFilingTest : public SectionEntityTest {};

// The seventeen fields in their order and widths: n, the n points, ten
// doubles, the two grade counts, thirty rows of eight doubles (row i holding
// element i of each array), m, the m points, four ints, the chainage, the
// side, the side value, two and three doubles.
TEST_F(EntityFilingTest, DesignLineFilesItsSeventeenFieldsInOrder) {
  DesignLine* line = FullLine(2, 1);
  const platform::DxfTags tags = TagsOf(line);
  std::vector<int> codes;
  std::vector<std::string> want;
  auto add = [&](int code, const std::string& value) {
    codes.push_back(code);
    want.push_back(value);
  };
  auto point = [&](const char* x, const char* y) {
    add(10, x);
    add(20, y);
    add(30, "0");
  };
  add(90, "2");
  point("1000", "510");
  point("1000.5", "509.875");
  for (const char* v : {"1000.5", "510.7", "1017.5", "510", "1017.25", "510.5", "1017.125", "510.25", "1", "-7.5"})
    add(40, v);
  add(90, "3");
  add(90, "30");
  for (int i = 0; i < 30; ++i)
    for (int a = 0; a < 8; ++a) add(40, platform::formatDouble(RowValue(a, i)));
  add(90, "1");
  point("1020", "505");
  for (const char* v : {"1", "7", "42", "8"}) add(90, v);
  add(40, "12345.678");
  add(90, "-1");
  add(40, "3");
  for (const char* v : {"101.25", "95.5", "1000", "500", "5"}) add(40, v);
  ASSERT_EQ(tags.size(), want.size());
  for (size_t t = 0; t < tags.size(); ++t) {
    EXPECT_EQ(tags[t].code, codes[t]) << "tag " << t;
    EXPECT_EQ(tags[t].value, want[t]) << "tag " << t;
  }
  delete line;
}

// A drawing holding one entity of each class (and a design line without
// vertices) is saved and opened again: every field comes back, and every
// design line read says its extra-point count on the command line.
TEST_F(EntityFilingTest, SavedDrawingReopensWithEveryEntityWhole) {
  DesignLine* full = FullLine(5, 3);
  const DesignLineData wantFull = full->Data();
  const AcDbObjectId fullId = Append(full);
  DesignLine* empty = FullLine(0, 0);
  const DesignLineData wantEmpty = empty->Data();
  const AcDbObjectId emptyId = Append(empty);

  auto* earth = new EarthLine();
  earth->Edit() = EarthLineData{1, {P(1000, 500), P(1010, 499.5), P(1300, 520.25)}};
  const AcDbObjectId earthId = Append(earth);

  auto* gou = new LTGOU();
  SectionDitchData& g = gou->Edit();
  g.side = -1;
  g.kind = 1;
  g.vertices = {P(960, 498), P(959, 497), P(958.5, 497), P(957.5, 497), P(957, 498)};
  g.labelAnchor = P(958, 497);
  g.bottomElevation = 94.125;
  g.bottomCentre = 8.375;
  for (int k = 0; k < 9; ++k) g.outline.push_back(P(950 + k, 490 - 0.5 * k));
  const SectionDitchData wantGou = g;
  const AcDbObjectId gouId = Append(gou);

  auto* jsgou = new JSGOU();
  jsgou->Edit() = SectionDitchData{1, 2, {P(1040, 505), P(1041, 504), P(1042, 504), P(1043, 505)}, P(1041.5, 504),
                                   99.75, 41.5, {}};
  const SectionDitchData wantJs = jsgou->Data();
  const AcDbObjectId jsId = Append(jsgou);

  auto* note = new HdmText();
  SectionNoteData& n = note->Edit();
  n.kind = 2;
  n.position = P(1000, 560);
  n.textHeight = 1.5;
  n.centreFillHeight = -2.375;
  n.landTake[0] = 12.5;
  n.landTake[1] = 14.25;
  n.fillTotal = 33.5;
  n.cutTotal = 7.125;
  n.areas.fill = 1.5;
  n.areas.rockClass[5] = 2.5;
  n.areas.excavationClass[0] = 3.5;
  n.areas.turfLength = 4.5;
  n.areas.middlePartFlag = 1;
  n.areas.fillParts.middle = 5.5;
  n.areas.turfParts.right = 6.5;
  n.areas.ditchCutRight = 7.5;
  const SectionNoteData wantNote = n;
  const AcDbObjectId noteId = Append(note);

  const std::string file = (std::filesystem::path(::testing::TempDir()) / "section_entities.dxf").string();
  ASSERT_EQ(entity_test::Drawing()->saveAs(file.c_str()), Acad::eOk);

  // The classes as registered: the application name with its quotes, the
  // note's DXF name "0" kept beside the name its entities are filed under.
  std::string bytes;
  {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  EXPECT_NE(bytes.find("CLASS\r\n  1\r\nDESIGNLINE\r\n  2\r\nDesignLine\r\n  3\r\n\"Corvane\"\r\n 90\r\n0\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("  2\r\nHdmText\r\n  3\r\n\"Corvane\"\r\n  4\r\n0\r\n 90\r\n1023\r\n"), std::string::npos);

  platform::TranscriptCapture shown;
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  auto reopened = [back](AcDbObjectId id) {
    AcDbObjectId again;
    EXPECT_EQ(back->getAcDbObjectId(again, false, id.handle()), Acad::eOk);
    return again;
  };
  DesignLine* line = Open<DesignLine>(reopened(fullId));
  ASSERT_NE(line, nullptr);
  ExpectSameLine(line->Data(), wantFull);
  EXPECT_EQ(line->Data().extraPoints.size(), 3u);
  line->close();
  line = Open<DesignLine>(reopened(emptyId));
  ASSERT_NE(line, nullptr);
  EXPECT_TRUE(line->Data().vertices.empty());
  ExpectSameLine(line->Data(), wantEmpty);
  EXPECT_TRUE(line->Data().extraPoints.empty());
  line->close();
  // Reading a drawing prints nothing of the lines' data (each line's count of
  // extra points, checked above, was once printed as "du<n>").
  EXPECT_FALSE(shown.contains("du3\n"));
  EXPECT_FALSE(shown.contains("du0\n"));

  EarthLine* e = Open<EarthLine>(reopened(earthId));
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Data().side, 1);
  ASSERT_EQ(e->Data().vertices.size(), 3u);
  EXPECT_EQ(e->Data().vertices[2], P(1300, 520.25));
  e->close();

  struct Ditch {
    AcDbObjectId id;
    SectionDitchData want;
    const char* className;
  };
  for (const Ditch& d : {Ditch{gouId, wantGou, "LTGOU"}, Ditch{jsId, wantJs, "JSGOU"}}) {
    const SectionDitchData& want = d.want;
    AcDbEntity* ent = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(ent, reopened(d.id), AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(ent->isA()->name(), d.className);
    auto* ditch = dynamic_cast<SectionDitchEntity*>(ent);
    ASSERT_NE(ditch, nullptr);
    const SectionDitchData& got = ditch->Data();
    EXPECT_EQ(got.side, want.side);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.vertices.size(), want.vertices.size());
    for (size_t k = 0; k < want.vertices.size() && k < got.vertices.size(); ++k)
      EXPECT_EQ(got.vertices[k], want.vertices[k]);
    EXPECT_EQ(got.labelAnchor, want.labelAnchor);
    EXPECT_EQ(got.bottomElevation, want.bottomElevation);
    EXPECT_EQ(got.bottomCentre, want.bottomCentre);
    EXPECT_EQ(got.outline.size(), want.outline.size());
    for (size_t k = 0; k < want.outline.size() && k < got.outline.size(); ++k)
      EXPECT_EQ(got.outline[k], want.outline[k]);
    ent->close();
  }

  HdmText* t = Open<HdmText>(reopened(noteId));
  ASSERT_NE(t, nullptr);
  const SectionNoteData& got = t->Data();
  EXPECT_EQ(got.kind, 2);
  EXPECT_EQ(got.position, wantNote.position);
  EXPECT_EQ(got.textHeight, 1.5);
  EXPECT_EQ(got.centreFillHeight, -2.375);
  EXPECT_EQ(got.landTake[0], 12.5);
  EXPECT_EQ(got.landTake[1], 14.25);
  EXPECT_EQ(got.fillTotal, 33.5);
  EXPECT_EQ(got.cutTotal, 7.125);
  EXPECT_EQ(got.areas.fill, 1.5);
  EXPECT_EQ(got.areas.rockClass[5], 2.5);
  EXPECT_EQ(got.areas.excavationClass[0], 3.5);
  EXPECT_EQ(got.areas.turfLength, 4.5);
  EXPECT_EQ(got.areas.middlePartFlag, 1);
  EXPECT_EQ(got.areas.fillParts.middle, 5.5);
  EXPECT_EQ(got.areas.turfParts.right, 6.5);
  EXPECT_EQ(got.areas.ditchCutRight, 7.5);
  EXPECT_EQ(got.areas.cut, 0.0);
  t->close();
  delete back;
}

// Counts read from a damaged or foreign drawing are checked before they size
// or index anything: the filing fails with an error and the entity keeps
// what it held. The tags are those of a line of 2 vertices and 1 extra point
// with one value replaced (positions: 0 the vertex count, 17 and 18 the grade
// counts, 259 the extra count, 264 the detour index).
TEST_F(EntityFilingTest, DesignLineRefusesCountsOutOfRange) {
  struct Case {
    const char* what;
    size_t tag;
    const char* value;
    Acad::ErrorStatus status;
  };
  const std::vector<Case> cases = {
      {"a negative vertex count", 0, "-1", Acad::eFilerError},
      {"more vertices than a drawing line holds", 0, "100001", Acad::eFilerError},
      {"31 embankment grades", 17, "31", Acad::eFilerError},
      {"a negative cutting grade count", 18, "-1", Acad::eFilerError},
      {"30 grades", 17, "30", Acad::eOk},
      {"no grades", 18, "0", Acad::eOk},
      {"19 extra points", 259, "19", Acad::eFilerError},
      {"a negative extra count", 259, "-1", Acad::eFilerError},
      {"detour index 100", 264, "100", Acad::eFilerError},
      {"detour index -2", 264, "-2", Acad::eFilerError},
      {"detour index 99", 264, "99", Acad::eOk},
      {"the baseline's detour index", 264, "-1", Acad::eOk},
      {"a text for the vertex count", 0, "x", Acad::eFilerError},
  };
  DesignLine* source = FullLine(2, 1);
  const platform::DxfTags tags = TagsOf(source);
  delete source;
  ASSERT_EQ(tags.size(), 275u);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::DxfTags damaged = tags;
    damaged[c.tag].value = c.value;
    DesignLine* line = FullLine(4, 0);  // what the entity held before
    platform::TagFiler in(damaged, AcDb::kFileFiler, nullptr);
    EXPECT_EQ(line->dwgInFields(&in), c.status);
    const DesignLineData& d = line->Data();
    if (c.status == Acad::eOk) {
      EXPECT_EQ(d.vertices.size(), 2u);
      EXPECT_EQ(d.extraPoints.size(), 1u);
    } else {
      EXPECT_EQ(d.vertices.size(), 4u);
      EXPECT_EQ(d.extraPoints.size(), 0u);
      EXPECT_EQ(d.detourIndex, 7);
    }
    delete line;
  }
  // A line cut short fails too.
  platform::DxfTags shortTags(tags.begin(), tags.begin() + 100);
  DesignLine* line = FullLine(4, 0);
  platform::TagFiler in(shortTags, AcDb::kFileFiler, nullptr);
  EXPECT_NE(line->dwgInFields(&in), Acad::eOk);
  EXPECT_EQ(line->Data().vertices.size(), 4u);
  delete line;
}

TEST_F(EntityFilingTest, CompanionsRefuseCountsOutOfRange) {
  struct Case {
    const char* what;
    AcDbEntity* (*make)();
    size_t tag;  // a count among the filed tags
    const char* value;
  };
  auto earth = []() -> AcDbEntity* {
    auto* e = new EarthLine();
    e->Edit() = EarthLineData{-1, {P(0, 0), P(1, 1)}};
    return e;
  };
  auto ditch = []() -> AcDbEntity* {
    auto* e = new LTGOU();
    e->Edit() = SectionDitchData{1, 1, {P(0, 0), P(1, 1)}, P(0.5, 0.5), 1.0, 2.0, {P(0, 0), P(1, 0), P(1, 1)}};
    return e;
  };
  // EarthLine: side, count (1). LTGOU: side, kind, count (2), 6 point tags,
  // anchor 3, two doubles, outline count (14).
  const std::vector<Case> cases = {
      {"a negative ground point count", earth, 1, "-1"},
      {"more ground points than a line holds", earth, 1, "100001"},
      {"17 ditch points", ditch, 2, "17"},
      {"a negative ditch point count", ditch, 2, "-1"},
      {"10 lining points", ditch, 14, "10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    AcDbEntity* source = c.make();
    platform::DxfTags tags = TagsOf(source);
    delete source;
    ASSERT_GT(tags.size(), c.tag);
    ASSERT_EQ(tags[c.tag].code, 90);
    tags[c.tag].value = c.value;
    AcDbEntity* target = c.make();
    platform::TagFiler in(tags, AcDb::kFileFiler, nullptr);
    EXPECT_EQ(target->dwgInFields(&in), Acad::eFilerError);
    // What it held is kept.
    if (auto* e = EarthLine::cast(target)) {
      EXPECT_EQ(e->Data().vertices.size(), 2u);
    }
    if (auto* g = LTGOU::cast(target)) {
      EXPECT_EQ(g->Data().vertices.size(), 2u);
      EXPECT_EQ(g->Data().outline.size(), 3u);
    }
    delete target;
  }
  // A note cut short.
  auto* note = new HdmText();
  platform::DxfTags tags = TagsOf(note);
  tags.resize(tags.size() - 3);
  platform::TagFiler in(tags, AcDb::kFileFiler, nullptr);
  EXPECT_NE(note->dwgInFields(&in), Acad::eOk);
  delete note;
}

// A drawing whose design line does not read (19 extra points) opens with the
// line kept as a proxy: its data is not lost, and it is saved again as read.
TEST_F(EntityFilingTest, ALineThatDoesNotReadStaysAProxyWithItsData) {
  DesignLine* line = FullLine(2, 19);
  const AcDbObjectId id = Append(line);
  const std::string file = (std::filesystem::path(::testing::TempDir()) / "damaged_line.dxf").string();
  ASSERT_EQ(entity_test::Drawing()->saveAs(file.c_str()), Acad::eOk);
  platform::TranscriptCapture shown;
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  AcDbObjectId again;
  ASSERT_EQ(back->getAcDbObjectId(again, false, id.handle()), Acad::eOk);
  DesignLine* notRead = nullptr;
  EXPECT_EQ(acdbOpenObject(notRead, again, AcDb::kForRead), Acad::eNotThatKindOfClass);
  EXPECT_FALSE(shown.contains("du19\n"));  // the count refused is kept in the proxy's data (below), not printed
  EXPECT_TRUE(shown.contains("The data of DesignLine entities does not fit the loaded class; they stay proxies."));
  AcDbProxyEntity* proxy = nullptr;
  ASSERT_EQ(acdbOpenObject(proxy, again, AcDb::kForRead), Acad::eOk);
  ASSERT_GT(proxy->filedData().size(), 259u);
  EXPECT_EQ(proxy->filedData()[259].value, "19");
  proxy->close();
  delete back;
}

}  // namespace
