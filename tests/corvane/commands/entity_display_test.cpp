// What the drawn-section entities draw, their plain form for printing, the
// design line's grips and the slope table it keeps from its vertices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/gidrawing.h"
#include "entity_support.h"
#include "win/transcript.h"

namespace {

using entity_test::SectionEntityTest;
using platform::GiPrimitive;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0.0); }

// A fill side drawn at factor 5 from origin (1000, 500) with base elevation
// 95: crown at 510.7, the shoulder (slope start) three times at (1017.5, 510),
// then the slope legs `legs` (drawing units) one after the other.
DesignLine* FillLine(const std::vector<AcGeVector3d>& legs) {
  auto* line = new DesignLine();
  DesignLineData& d = line->Edit();
  d.vertices = {P(1000, 510.7), P(1000, 510.7), P(1017.5, 510), P(1017.5, 510), P(1017.5, 510)};
  for (const AcGeVector3d& leg : legs) d.vertices.push_back(d.vertices.back() + leg);
  d.SetFormCode(kFormFill);
  d.TakeSlopeLegGeometryFromVertices();
  d.frameOrigin[0] = 1000.0;
  d.frameOrigin[1] = 500.0;
  d.frameOrigin[2] = 5.0;
  d.frameElevations[0] = 100.0;
  d.frameElevations[1] = 95.0;
  d.embankment.count = 1;
  d.embankment.ratio[0] = 9.0;  // replaced by what the legs say
  d.embankment.height[0] = 9.0;
  d.embankment.bermSlope[0] = 4.0;
  d.side = 1;
  return line;
}

std::vector<GiPrimitive> Drawn(const AcDbEntity* e) {
  platform::GiRecorder recorder(entity_test::Drawing());
  recorder.drawEntity(e);
  return recorder.takePrimitives();
}

class EntityDisplayTest : public SectionEntityTest {};

// The slope table follows the legs of an embankment side from vertex 5 on:
// per grade the ratio |dx| / |dy| and the height |dy|, per berm its width,
// lengths in metres (drawing units over the line's factor), the last grade's
// height 100.
TEST_F(EntityDisplayTest, SlopeTableFollowsTheLegsOfAnEmbankmentSide) {
  struct Case {
    const char* what;
    std::vector<AcGeVector3d> legs;
    double formCode;
    double factor;  // the line's own drawing factor
    int count;
    std::vector<double> ratio, height, berm;
  };
  const std::vector<Case> cases = {
      {"one grade 1:1.5 of 2 m", {{15, -10, 0}}, 0.0, 5.0, 1, {1.5}, {100.0}, {0.0}},
      {"two grades with a 2 m berm",
       {{7.5, -5, 0}, {10, 0, 0}, {10, -5, 0}},
       0.0,
       5.0,
       2,
       {1.5, 2.0},
       {1.0, 100.0},
       {2.0, 0.0}},
      {"a leg without fall", {{5, -0.0005, 0}}, 0.0, 5.0, 1, {1000000.0}, {100.0}, {0.0}},
      {"lengths over the line's own factor",
       {{15, -10, 0}, {20, 0, 0}, {10, -10, 0}},
       0.0,
       10.0,
       2,
       {1.5, 1.0},
       {1.0, 100.0},
       {2.0, 0.0}},
      {"a cutting side keeps its table", {{15, 10, 0}}, kFormCut, 5.0, 1, {9.0}, {9.0}, {0.0}},
      {"a line of the formation only", {}, 0.0, 5.0, 1, {9.0}, {9.0}, {0.0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignLine* line = FillLine(c.legs);
    line->Edit().SetFormCode(c.formCode);
    line->Edit().frameOrigin[2] = c.factor;
    line->UpdateSlopeTable();
    const SlopeGradeArrays& e = line->Data().embankment;
    EXPECT_EQ(e.count, c.count);
    for (int i = 0; i < c.count; ++i) {
      EXPECT_NEAR(e.ratio[i], c.ratio[i], 1e-9) << "grade " << i;
      EXPECT_NEAR(e.height[i], c.height[i], 1e-9) << "grade " << i;
      EXPECT_NEAR(e.bermWidth[i], c.berm[i], 1e-9) << "grade " << i;
      EXPECT_EQ(e.bermSlope[i], i == 0 ? 4.0 : 0.0) << "grade " << i;  // berm slopes are kept
    }
    delete line;
  }
}

// Grips are the vertices. The slope start (any of its three vertices)
// carries the outer part of the line with it; another grip moves its vertex
// alone; the slope table and the slope-start copies follow.
TEST_F(EntityDisplayTest, GripsMoveVerticesAndTheSlopeStartCarriesTheSlope) {
  struct Case {
    const char* what;
    std::vector<int> grips;
    AcGeVector3d offset;
    Acad::ErrorStatus status;
    std::vector<AcGePoint3d> vertices;
    double ratio;
  };
  const std::vector<AcGePoint3d> start = {P(1000, 510.7), P(1000, 510.7), P(1017.5, 510),
                                          P(1017.5, 510), P(1017.5, 510), P(1032.5, 500)};
  const std::vector<Case> cases = {
      {"the slope start outwards by 1 m",
       {4},
       {5, 0, 0},
       Acad::eOk,
       {P(1000, 510.7), P(1000, 510.7), P(1022.5, 510), P(1022.5, 510), P(1022.5, 510), P(1037.5, 500)},
       1.5},
      {"the slope start by its first copy", {2}, {-5, 0, 0}, Acad::eOk,
       {P(1000, 510.7), P(1000, 510.7), P(1012.5, 510), P(1012.5, 510), P(1012.5, 510), P(1027.5, 500)}, 1.5},
      {"the toe outwards by 1 m", {5}, {5, 0, 0}, Acad::eOk,
       {P(1000, 510.7), P(1000, 510.7), P(1017.5, 510), P(1017.5, 510), P(1017.5, 510), P(1037.5, 500)}, 2.0},
      {"the toe and the slope start at once move the toe once", {5, 4}, {5, 0, 0}, Acad::eOk,
       {P(1000, 510.7), P(1000, 510.7), P(1022.5, 510), P(1022.5, 510), P(1022.5, 510), P(1037.5, 500)}, 1.5},
      {"the centre vertex alone", {0}, {0, 1, 0}, Acad::eOk,
       {P(1000, 511.7), P(1000, 510.7), P(1017.5, 510), P(1017.5, 510), P(1017.5, 510), P(1032.5, 500)}, 1.5},
      {"a grip that is not there", {6}, {5, 0, 0}, Acad::eInvalidIndex, start, 9.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DesignLine* line = FillLine({{15, -10, 0}});
    AcGePoint3dArray grips;
    AcDbIntArray osnap, geom;
    ASSERT_EQ(line->getGripPoints(grips, osnap, geom), Acad::eOk);
    ASSERT_EQ(grips.length(), 6);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(grips[k], start[static_cast<size_t>(k)]);
    AcDbIntArray moved;
    for (int g : c.grips) moved.append(g);
    EXPECT_EQ(line->moveGripPointsAt(moved, c.offset), c.status);
    const DesignLineData& d = line->Data();
    ASSERT_EQ(d.vertices.size(), c.vertices.size());
    for (size_t k = 0; k < c.vertices.size(); ++k) EXPECT_EQ(d.vertices[k], c.vertices[k]) << "vertex " << k;
    EXPECT_NEAR(d.embankment.ratio[0], c.ratio, 1e-9);
    for (const double* copy : d.geometry.slopeStart) {
      EXPECT_EQ(copy[0], c.vertices[4].x);
      EXPECT_EQ(copy[1], c.vertices[4].y);
    }
    delete line;
  }
}

// The design line: its polyline in colour 3, a filled mark at the fourth
// vertex (0.1 and 0.15 times the factor) with its elevation in colour 2, and
// the side-ditch lining of a cut side.
TEST_F(EntityDisplayTest, DesignLineDrawsItsLineMarkElevationAndLining) {
  DesignLine* line = FillLine({{15, -10, 0}});
  std::vector<GiPrimitive> got = Drawn(line);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].kind, GiPrimitive::kPolyline);
  EXPECT_EQ(got[0].color, 3);
  EXPECT_EQ(got[0].points.size(), 6u);
  EXPECT_EQ(got[1].kind, GiPrimitive::kPolygon);
  EXPECT_TRUE(got[1].filled);
  ASSERT_EQ(got[1].points.size(), 3u);
  EXPECT_EQ(got[1].points[0], P(1017.5, 510));
  EXPECT_EQ(got[1].points[1], P(1017.0, 510.75));
  EXPECT_EQ(got[1].points[2], P(1018.0, 510.75));
  EXPECT_EQ(got[2].kind, GiPrimitive::kText);
  EXPECT_EQ(got[2].color, 2);
  EXPECT_EQ(got[2].text, "97.000");  // (510 - 500) / 5 + 95

  DesignLineData& d = line->Edit();
  d.SetFormCode(kFormSideDitchOnly);
  d.extraPoints = {P(1018, 509), P(1019, 508), P(1020, 509)};
  got = Drawn(line);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[3].color, 3);
  EXPECT_EQ(got[3].points.size(), 3u);
  d.SetFormCode(kFormFill);  // a fill side shows no lining
  EXPECT_EQ(Drawn(line).size(), 3u);
  delete line;
}

// Each ditch shows while the side's ditch kind is its own; the note writes
// its lines of values.
TEST_F(EntityDisplayTest, DitchesShowTheirOwnKindAndTheNoteItsValues) {
  struct Case {
    const char* what;
    bool top;
    int kind;
    size_t pieces;
  };
  const std::vector<Case> cases = {
      {"drainage ditch", false, 1, 3},       {"point symbol", false, 0, 1},
      {"no ditch on the side", false, -1, 0}, {"a top ditch is not the drainage ditch's", false, 2, 0},
      {"top ditch", true, 2, 3},             {"a drainage ditch is not the top ditch's", true, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SectionDitchEntity* ditch = c.top ? static_cast<SectionDitchEntity*>(new JSGOU()) : new LTGOU();
    std::vector<AcGePoint3d> lining;
    if (c.kind != 0) lining = {P(0, 0), P(1, 1)};
    ditch->Edit() =
        SectionDitchData{1, c.kind, {P(0, 0), P(1, -1), P(2, -1), P(3, 0)}, P(1.5, -1), 94.125, 1.5, lining};
    const std::vector<GiPrimitive> got = Drawn(ditch);
    EXPECT_EQ(got.size(), c.pieces);
    if (c.pieces == 3) {
      EXPECT_EQ(got[2].text, "94.125");
    }
    delete ditch;
  }
  auto* note = new HdmText();
  SectionNoteData& n = note->Edit();
  n.position = P(10, 20);
  n.centreFillHeight = -2.375;
  n.fillTotal = 12.245;
  n.cutTotal = 0.5;
  n.landTake[0] = 6.5;
  n.landTake[1] = 7.5;
  const std::vector<GiPrimitive> got = Drawn(note);
  ASSERT_EQ(got.size(), 5u);
  const char* lines[] = {"中心填挖 -2.375", "填方面积 12.245", "挖方面积 0.500", "左占地宽 6.500", "右占地宽 7.500"};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(got[i].text, lines[i]);
    EXPECT_NEAR(got[i].height, 1.5, 1e-12);  // 0.3 times the drawing factor
    EXPECT_NEAR(got[i].position.y, 20 - 2.4 * static_cast<double>(i), 1e-9);
  }
  delete note;
}

// For printing, each entity draws itself as plain polylines and texts in the
// colour given, on the layer given.
TEST_F(EntityDisplayTest, PlainFormsArePolylinesAndTextsInOneColour) {
  DesignLine* line = FillLine({{15, -10, 0}});
  auto* earth = new EarthLine();
  earth->Edit() = EarthLineData{1, {P(1000, 500), P(1100, 500)}};
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(entity_test::Drawing()->getLayerTable(layers, AcDb::kForWrite), Acad::eOk);
  auto* hdm = new AcDbLayerTableRecord();
  hdm->setName("Hdm");
  AcDbObjectId hdmId;
  ASSERT_EQ(layers->add(hdmId, hdm), Acad::eOk);
  hdm->close();
  layers->close();

  line->DrawPlain(1, hdmId);
  earth->DrawPlain(0, hdmId);
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(acdbOpenObject(ms, entity_test::Drawing()->modelSpaceId(), AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  std::vector<std::string> kinds;
  for (; !it->done(); it->step()) {
    AcDbEntity* e = nullptr;
    ASSERT_EQ(it->getEntity(e, AcDb::kForRead), Acad::eOk);
    kinds.push_back(e->isA()->name());
    EXPECT_EQ(e->colorIndex(), kinds.size() <= 3 ? 1 : 0);
    EXPECT_STREQ(e->layer(), "Hdm");
    if (auto* pl = AcDbPolyline::cast(e)) {
      if (kinds.size() == 1) {
        EXPECT_EQ(pl->numVerts(), 6u);
      }
      if (kinds.size() == 2) {
        EXPECT_TRUE(pl->isClosed());  // the elevation mark
      }
    }
    if (auto* t = AcDbText::cast(e)) {
      EXPECT_STREQ(t->textString(), "97.000");
    }
    e->close();
  }
  delete it;
  ms->close();
  EXPECT_EQ(kinds, (std::vector<std::string>{"AcDbPolyline", "AcDbPolyline", "AcDbText", "AcDbPolyline"}));
  delete line;
  delete earth;
}

TEST_F(EntityDisplayTest, ListPrintsTheLinesData) {
  DesignLine* line = FillLine({{15, -10, 0}});
  line->Edit().chainage = 12345.5;
  platform::TranscriptCapture shown;
  line->list();
  EXPECT_EQ(shown.text().rfind("\n\t\t自定义横断面设计线实体", 0), 0u);
  EXPECT_TRUE(shown.contains("12345.500"));
  EXPECT_TRUE(shown.contains("\t\t1:9.000  9.000  0.000  4.000"));
  delete line;
}

}  // namespace
