// The section builders: the entities of one designed section made from its
// record, ready for SectionDrawing::BuildSection.
//
// Each track of a section is drawn through its own frame: its centre at the
// section's sheet x plus the factor times its crown offset, its reference
// elevation (the ground at its centre) at the sheet y plus the factor times
// its height above the section's lowest level. The design lines, ditches and
// their linings come from the record as the design left them (the same
// routines carry a re-design after an edit into the entities); each design
// line carries the slope tables of the designer that designed its track, at
// that track's mileage, and the frame it was drawn with.

#include <cstring>

#include "CrossSectionDesigner.h"
#include "DesignLine.h"
#include "DesignerGlobals.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"
#include "SectionDrawing.h"
#include "SectionEntityTable.h"

namespace {

// Which line, detour and drawn-entity table the entities of a section
// belong to.
struct LineIdentity {
  int lineCode = 0;      // 0 baseline, -1 left line, +1 right line
  int detourIndex = -1;  // the detour designer of that side (-1 for the baseline)
  int table = 0;         // 0 the baseline's table; -n-1 / n+1 that of left / right detour n
};

LineIdentity IdentityOf(int lineSelector, int detourNumber) {
  LineIdentity id;
  if ((lineSelector == -1 || lineSelector == 1) && detourNumber >= 1) {
    id.lineCode = lineSelector;
    id.detourIndex = detourNumber - 1;
    id.table = lineSelector * detourNumber;
  }
  return id;
}

// The frame of track `track` of a section: its centre and the ground there.
SectionFrame TrackFrame(const SectionRecord& r, int track, double referenceElevation) {
  return SectionFrame::Current(r.sheetX + g_DrawingFactor * r.crownOffset[track], r.sheetY, referenceElevation,
                               r.minElevation);
}

// The ground line of one side, outwards from the frame's centre.
void FillEarthLine(EarthLine& earth, int side, const std::vector<PairXY>& ground, const SectionFrame& frame) {
  EarthLineData& d = earth.Edit();
  d.side = side;
  d.vertices.clear();
  d.vertices.reserve(ground.size());
  for (const PairXY& p : ground) d.vertices.emplace_back(frame.ToDrawingX(side * p.x), frame.ToDrawingY(p.y), 0.0);
}

// Puts a new entity of type T in `held`; one held before that no drawing
// took (a builder run twice for a section) is deleted.
template <class T>
T* Renew(T*& held) {
  if (held != nullptr && held->isNewObject()) delete held;
  held = new T();
  return held;
}

// The designer that designed one track of a section of `owner` and the
// track's mileage on its line (a double-line section's tracks may stand on
// detours; any other section is its owner's at its own mileage).
const CrossSectionDesigner& TrackDesigner(const CrossSectionDesigner& owner, const SectionRecord& r, int side,
                                          double& trackML) {
  trackML = r.mileage;
  if (r.kind != 2) return owner;
  int relation = 0, leftIndex = -1, rightIndex = -1, leftFlag = 0, rightFlag = 0;
  owner.FindDetourAtChainage(r.mileage, relation, leftIndex, rightIndex, leftFlag, rightFlag);
  return *owner.TrackDesignerAt(side < 0 ? -1 : 1, side < 0 ? leftFlag : rightFlag, side < 0 ? leftIndex : rightIndex,
                                r.mileage, trackML);
}

// Makes the design line and the two ditches of side `side` into
// `drawing`'s pair `pair`, filled from section `index` of `owner`.
void MakeSide(const CrossSectionDesigner& owner, int index, int side, int pair, const SectionFrame& frame,
              const LineIdentity& identity, SectionDrawing& drawing, SectionNoteData& note) {
  const SectionRecord& r = owner.sections[static_cast<size_t>(index)];
  const int s = side < 0 ? SectionDrawing::kLeft : SectionDrawing::kRight;
  // The track of sides -2 and +2 is the second one.
  double trackML = r.mileage;
  const CrossSectionDesigner& standards = TrackDesigner(owner, r, pair == SectionDrawing::kFirstPair ? -1 : 1, trackML);

  DesignLine* line = Renew(drawing.line[pair][s]);
  LTGOU* ditch = Renew(drawing.ltgou[pair][s]);
  JSGOU* topDitch = Renew(drawing.jsgou[pair][s]);

  DesignLineData& d = line->Edit();
  d.side = side;
  d.lineCode = identity.lineCode;
  d.detourIndex = identity.detourIndex;
  d.entityTable = identity.table;
  d.sectionRow = index;
  d.chainage = r.mileage;
  d.SetFrame(frame);
  const SideStandardsAt st = standards.LookupSideStandards(side < 0 ? -1 : 1, trackML);
  d.embankment = st.embankment;
  d.cutting = st.cutting;
  owner.UpdateSideEntities(side, standards, trackML, index, frame.referenceElevation, d, ditch->Edit(),
                           topDitch->Edit(), frame, note);
}

}  // namespace

int CrossSectionDesigner::BuildDesignLineEntity(SectionDrawing& drawing, int index,
                                                const std::vector<double>& blockValues,
                                                const std::vector<GroundLineRecord>& groundLines, int lineSelector,
                                                int detourNumber) {
  if (index < 0 || index >= SectionCount() || groundLines.empty() || blockValues.empty()) return 0;
  const SectionRecord& r = sections[static_cast<size_t>(index)];
  const LineIdentity identity = IdentityOf(lineSelector, detourNumber);
  const bool doubleLine = lineSelector == 2 && r.kind == 2;
  const int groundTrack = doubleLine ? 1 : 0;

  // The values of the section.
  SectionDrawingValues& v = drawing.values;
  std::memcpy(v.label, r.label, sizeof v.label);
  v.label[sizeof v.label - 1] = '\0';
  v.mileage = r.mileage;
  v.kind = doubleLine ? 2.0 : 1.0;
  v.referenceOffset[0] = r.crownOffset[0];
  v.referenceOffset[1] = r.crownOffset[1];
  v.groundTrack = groundTrack;
  // Between the outer shoulders: the first track's left, the last track's right.
  v.formationWidth = r.FormationWidth(doubleLine);
  drawing.origin = AcGePoint3d(r.sheetX, r.sheetY, 0.0);

  // The ground lines, from the centre of the track the records are seen from.
  const GroundLineRecord& ground = groundLines.front();
  const SectionFrame groundFrame = TrackFrame(r, groundTrack, blockValues.front());
  for (int s : {SectionDrawing::kLeft, SectionDrawing::kRight})
    FillEarthLine(*Renew(drawing.earth[s]), s == SectionDrawing::kLeft ? -1 : 1,
                  s == SectionDrawing::kLeft ? ground.left : ground.right, groundFrame);

  // The note, then the first pair of sides.
  HdmText* note = Renew(drawing.note);
  SectionNoteData& n = note->Edit();
  n.kind = doubleLine ? 2 : 1;
  n.position = SectionDrawing::NotePlace(drawing.origin);
  n.textHeight = SectionDrawing::NoteTextHeight();
  n.centreFillHeight = r.centreFillHeight;
  const SectionFrame first = TrackFrame(r, 0, r.referenceElevation[0]);
  MakeSide(*this, index, -1, SectionDrawing::kFirstPair, first, identity, drawing, n);
  MakeSide(*this, index, 1, SectionDrawing::kFirstPair, first, identity, drawing, n);

  // The section's two rows of the drawn-entity table: each design line of
  // the first pair with its side's ditches and the section's other entities.
  for (int s : {SectionDrawing::kLeft, SectionDrawing::kRight}) {
    // A table not sized for this designer's sections has no row for it.
    if (SectionEntitySlot* row = FindSectionEntitySlot(identity.table, index, s == SectionDrawing::kLeft ? -1 : 1)) {
      row->entity[kRoleDesignLine] = drawing.line[SectionDrawing::kFirstPair][s];
      row->entity[kRoleLeftEarth] = drawing.earth[SectionDrawing::kLeft];
      row->entity[kRoleRightEarth] = drawing.earth[SectionDrawing::kRight];
      row->entity[kRoleDitch] = drawing.ltgou[SectionDrawing::kFirstPair][s];
      row->entity[kRoleTopDitch] = drawing.jsgou[SectionDrawing::kFirstPair][s];
      row->entity[kRoleNote] = note;
      drawing.slot[s] = row;
    }
  }
  return 1;
}

int CrossSectionDesigner::BuildDesignLineEntityForRange(SectionDrawing& drawing, int index,
                                                        double referenceElevation) {
  if (index < 0 || index >= SectionCount()) return 0;
  const SectionRecord& r = sections[static_cast<size_t>(index)];
  if (r.kind != 2) return 0;
  SectionDrawingValues& v = drawing.values;
  std::memcpy(v.label, r.label, sizeof v.label);
  v.label[sizeof v.label - 1] = '\0';
  v.mileage = r.mileage;
  v.referenceOffset[0] = r.crownOffset[0];
  v.referenceOffset[1] = r.crownOffset[1];

  // The section's note takes the land take and areas too; without one (the
  // first pair not built) they go nowhere.
  SectionNoteData unused;
  SectionNoteData& note = drawing.note != nullptr ? drawing.note->Edit() : unused;
  const SectionFrame second = TrackFrame(r, 1, referenceElevation);
  const LineIdentity baseline;
  for (int side : {-2, 2}) {
    MakeSide(*this, index, side, SectionDrawing::kSecondPair, second, baseline, drawing, note);
  }
  return 1;
}
