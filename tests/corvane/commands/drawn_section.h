#pragma once
// A cross-section designed by the engine and drawn by hand as the section
// drawing will draw it: its nine entities in the drawing, a reactor on each
// design line, the reactor and design-line lists and the drawn-entity table
// filled. The designer is a level-ground designer (drivers_support.h) with a
// side ditch on both sides, a drainage ditch on the right and a top ditch on
// both sides; the section lies at mileage 500.

#include <cstdio>
#include <string>
#include <vector>

#include "corvane/engine/drivers_support.h"
#include "corvane/engine/sidedesign_support.h"
#include "entity_support.h"

namespace entity_test {

inline constexpr double kSectionML = 500.0;  // within the ditch tables' rows (sidedesign::kEnd)

// The frame the tests draw with: origin (1000, 500), factor 5, base 95.
inline SectionFrame TestFrame(double reference) {
  SectionFrame f;
  f.originX = 1000.0;
  f.originY = 500.0;
  f.factor = 5.0;
  f.baseElevation = 95.0;
  f.referenceElevation = reference;
  return f;
}

inline AcGePoint3d DrawnAt(const SectionFrame& f, double x, double y) {
  return AcGePoint3d(f.originX + f.factor * x, (f.referenceElevation + y - f.baseElevation) * f.factor + f.originY,
                     0.0);
}

// A designer with one section at kSectionML over level ground at 100 (a
// point every 5 m, so that the ground's cross slope can be fitted where the
// ditches go) and the grade line at `elevation` (102: both sides in fill, a
// drainage ditch on the right; 98: in cut, top ditches), designed.
inline void MakeDesignedSection(CrossSectionDesigner& d, double elevation) {
  drivers_test::MakeLevelDesigner(d, "单线", elevation, {kSectionML});
  sidedesign::DitchTables(d.Standards(-1), 0, true);
  sidedesign::DitchTables(d.Standards(1), 1, true);
  GroundBlock& ground = d.sections[0].groundBlocks[0];
  ground.leftCount = ground.rightCount = 13;
  for (int j = 0; j < 13; ++j) ground.left[j] = ground.right[j] = PairXY{5.0 * j, 0.0};
  d.DesignSingleSection(0, 1, 0.0, 0.0);
}

struct DrawnSection {
  AcDbObjectId line[2], earth[2], gou[2], jsgou[2], note;  // [0] left, [1] right
  DesignLineReactor* reactor[2] = {};
  SectionFrame frame;
};

// Draws section `row` of `d` (a single-line section) into the working
// drawing; `lineCode`, `detourIndex` and `table` go into the design lines;
// the slots go into the table that `table` names.
inline DrawnSection DrawSection(CrossSectionDesigner& d, int row, int lineCode, int detourIndex, int table) {
  const SectionRecord& r = d.sections[static_cast<size_t>(row)];
  DrawnSection out;
  out.frame = TestFrame(r.referenceElevation[0]);
  const SectionFrame& f = out.frame;

  std::vector<PairXY> leftGround, rightGround;
  double reference = 0.0;
  CrossSectionDesigner::GroundProfileFrom(r.crownOffset[0], r.groundElevation, r.groundBlocks[0].leftCount,
                                          r.groundBlocks[0].left, r.groundBlocks[0].rightCount,
                                          r.groundBlocks[0].right, reference, leftGround, rightGround);
  AcDbEntity* made[2][6] = {};
  auto* note = new HdmText();
  SectionNoteData& n = note->Edit();
  n.kind = 1;
  n.position = AcGePoint3d(1000.0, 580.0, 0.0);
  n.landTake[0] = r.LeftLandWidth();  // as the drawing run fills the note
  n.landTake[1] = r.RightLandWidth();
  n.fillTotal = r.fillTotal;
  n.cutTotal = r.cutTotal;
  n.areas = r.areas;
  for (int s = 0; s < 2; ++s) {
    const int side = s == 0 ? -1 : 1;
    const int k = SideIndex(side);
    const double sign = side;
    auto* earth = new EarthLine();
    earth->Edit().side = side;
    for (const PairXY& p : s == 0 ? leftGround : rightGround)
      earth->Edit().vertices.push_back(DrawnAt(f, sign * p.x, p.y));
    made[s][kRoleLeftEarth + s] = earth;

    auto* line = new DesignLine();
    DesignLineData& data = line->Edit();
    for (int j = 0; j < r.designLines[k].length(); ++j)
      data.vertices.push_back(DrawnAt(f, r.designLines[k][j].x, r.designLines[k][j].y));
    data.vertices[0] = AcGePoint3d(f.originX, data.vertices[1].y, 0.0);
    data.SetFrame(f);
    data.SetFormCode(r.formCode[k]);
    data.TakeSlopeLegGeometryFromVertices();
    const SideStandardsAt st = d.LookupSideStandards(side, r.mileage);
    data.embankment = st.embankment;
    data.cutting = st.cutting;
    data.lineCode = lineCode;
    data.detourIndex = detourIndex;
    data.sectionRow = row;
    data.entityTable = table;
    data.chainage = r.mileage;
    data.side = side;
    made[s][kRoleDesignLine] = line;

    auto* gou = new LTGOU();
    gou->Edit().side = side;
    gou->Edit().kind = r.ditchKind[k];
    for (int j = 0; j < r.drainageDitchCount[k]; ++j)
      gou->Edit().vertices.push_back(DrawnAt(f, r.drainageDitch[k][j].x, r.drainageDitch[k][j].y));
    made[s][kRoleDitch] = gou;
    auto* jsgou = new JSGOU();
    jsgou->Edit().side = side;
    jsgou->Edit().kind = r.ditchKind[k];
    for (int j = 0; j < r.topDitchCount[k]; ++j)
      jsgou->Edit().vertices.push_back(DrawnAt(f, r.topDitch[k][j].x, r.topDitch[k][j].y));
    made[s][kRoleTopDitch] = jsgou;
  }
  for (int s = 0; s < 2; ++s) {
    out.line[s] = Append(made[s][kRoleDesignLine]);
    out.earth[s] = Append(made[s][kRoleLeftEarth + s]);
    out.gou[s] = Append(made[s][kRoleDitch]);
    out.jsgou[s] = Append(made[s][kRoleTopDitch]);
  }
  out.note = Append(note);

  // The slots: the design line with its companions, as the drawing records them.
  SectionEntitySlot slots[2];
  for (int s = 0; s < 2; ++s) {
    slots[s].entity[kRoleDesignLine] = made[s][kRoleDesignLine];
    slots[s].entity[kRoleLeftEarth] = made[0][kRoleLeftEarth];
    slots[s].entity[kRoleRightEarth] = made[1][kRoleRightEarth];
    slots[s].entity[kRoleDitch] = made[s][kRoleDitch];
    slots[s].entity[kRoleTopDitch] = made[s][kRoleTopDitch];
    slots[s].entity[kRoleNote] = note;
  }
  std::vector<SectionEntitySlot>* target = &SectionEntityTable;
  if (table != 0) {
    std::vector<DetourEntityEntry>& list = table < 0 ? LeftDetourEntityList : RightDetourEntityList;
    const int detour = table < 0 ? -table - 1 : table - 1;
    list.resize(static_cast<size_t>(detour + 1));
    list[static_cast<size_t>(detour)].detourIndex = detour;
    target = &list[static_cast<size_t>(detour)].slots;
  }
  target->resize(static_cast<size_t>(2 * d.SectionCount()));
  (*target)[static_cast<size_t>(2 * row)] = slots[0];
  (*target)[static_cast<size_t>(2 * row + 1)] = slots[1];

  // A reactor on each design line, recorded with it.
  for (int s = 0; s < 2; ++s) {
    auto* reactor = new DesignLineReactor(out.earth[0], out.earth[1], out.gou[s], out.jsgou[s], out.note);
    AcDbEntity* line = nullptr;
    EXPECT_EQ(acdbOpenAcDbEntity(line, out.line[s], AcDb::kForWrite), Acad::eOk);
    line->addReactor(reactor);
    line->close();
    out.reactor[s] = reactor;
    SectionReactorList.push_back({out.line[s], reactor});
    DesignLineList.push_back({out.line[s], r.mileage, s == 0 ? -1 : 1, lineCode, detourIndex});
  }
  return out;
}

// The script line that drags the slope start of a drawn design line by
// (dx, 0) drawing units.
inline std::string DragSlopeStart(AcDbObjectId lineId, double dx) {
  DesignLine* line = nullptr;
  EXPECT_EQ(acdbOpenObject(line, lineId, AcDb::kForRead), Acad::eOk);
  const AcGePoint3d at = line->Data().vertices[4];
  line->close();
  char text[160];
  std::snprintf(text, sizeof text, "GRIPMOVE %s %.6f,%.6f @%.6f,0\n", Pick(lineId).c_str(), at.x, at.y, dx);
  return text;
}

}  // namespace entity_test
