#pragma once
// SectionDrawing: one designed cross-section put on the sheet, on layer
// "Hdm". The section builders (CrossSectionDesigner::BuildDesignLineEntity
// and BuildDesignLineEntityForRange, SectionBuilder.cpp) fill it with the
// section's values and with freshly made, not yet appended entities; then
// BuildSection draws the section:
//
//   flag 1 (DRAWHDM)  the custom entities are appended to model space, each
//                     design line is entered in DesignLineList, and the
//                     outer design lines get a DesignLineReactor each,
//                     recorded in SectionReactorList;
//   flag 0 (PRINTHDM) the entities are drawn as plain polylines and texts in
//                     fixed colours and deleted again: nothing custom and no
//                     reactor is left in the drawing.
//
// Either way the centre line, the second-line marks and the section's texts
// are drawn as plain entities first (DrawFrameAndCentreLine, DrawTexts).
//
// Ownership: the entities given to a SectionDrawing are its own until they
// are appended; from then on the drawing owns them and the SectionDrawing
// only forgets them. What it still holds when BuildSection ends, or when it
// is destroyed, it deletes (a printing run's temporaries, an entity the
// drawing refused). One object serves a whole drawing run: BuildSection
// leaves it empty for the next section.
//
// The design line keeps nothing of its companions: no pointers (they would
// outlive nothing) and no ids. Its companions are named by the ids of its
// reactor and found again through the section entity table
// (SectionEntityTable.h), in which the builder records them.
//
// The sheet of a section (all lengths times the global drawing factor f):
//   - the centre line, at the baseline's centre, 6 f long from 2 f on one
//     side of the ground at the first track's centre (or the second
//     track's, when the ground lines start there) to 4 f on the other,
//     reaching into the cut or up the fill;
//   - a second-line mark for each second-line offset whose magnitude is
//     above 0.001: the same line at that offset with a dimension of the
//     spacing, f above the ground;
//   - under the section, centred on its centre line: the chainage (0.6 f
//     high) 2.5 f below the section's sheet place, the formation width and
//     the centre's design level (0.4 f high) below it, then the note
//     (HdmText: centre fill or cut, fill and cut areas, land-take widths).

#include <vector>

#include "SectionEntityTable.h"
#include "SectionRecord.h"
#include "arx/dbid.h"
#include "arx/gegeometry.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "project/ChainageText.h"

class DesignLine;
class DesignLineReactor;
class EarthLine;
class HdmText;
class JSGOU;
class LTGOU;

// The ground of one ground block of a section seen from a track's centre, as
// a drawing run hands it to the section builders: the block's index in the
// section, its layer number, and the ground outwards on each side
// ((distance, height difference to the ground at the centre) pairs, both
// starting with (0, 0)). The ground's elevation at that centre goes beside
// it, as the block's value.
struct GroundLineRecord {
  int block = 0;
  int layer = 0;
  std::vector<PairXY> left;
  std::vector<PairXY> right;
};

// The values of a section that its drawing reads.
struct SectionDrawingValues {
  char label[kChainageTextSize] = {};  // the chainage text
  double mileage = 0.0;
  double kind = 1.0;  // 1.0 a single-line section, 2.0 a double-line section (two pairs of design lines)
  // The centre-line reference offsets: where the first and the second
  // track's centre lies from the baseline's centre (metres).
  double referenceOffset[2] = {};
  // The track at whose centre the ground lines start (0 first, 1 second).
  int groundTrack = 0;
  // The left and the right second line's offset from the baseline (metres);
  // a magnitude of 0.001 or less is no second line.
  double secondLineOffset[2] = {};
  // The two design values: the fill (+) or cut (-) height at the centre
  // and the ground elevation there. Their sum is the centre's design level.
  double centreFillHeight = 0.0;
  double centreGroundElevation = 0.0;
  int structureCode = 0;        // of the first line
  double formationWidth = 0.0;  // between the outer shoulders (metres)
};

class SectionDrawing : public BAS_DRAW_FUN {
 public:
  // Pairs of design lines and ditches: the first pair are the sides -1 and
  // +1 (the first track), the second pair the sides -2 and +2 (the second
  // track of a double-line section). Index [pair][0] is the left side,
  // [pair][1] the right one.
  static constexpr int kFirstPair = 0;
  static constexpr int kSecondPair = 1;
  static constexpr int kLeft = 0;
  static constexpr int kRight = 1;

  SectionDrawing();
  ~SectionDrawing() override;
  SectionDrawing(const SectionDrawing&) = delete;
  SectionDrawing& operator=(const SectionDrawing&) = delete;

  // The centre line and the dimensioned second-line marks, on `layerId`
  // (sets the drawing's line-type scale to 0.3). Nothing without ground.
  void DrawFrameAndCentreLine(AcDbObjectId layerId);
  // The chainage, the formation width and the centre's design level
  // ("%0.3lf"), in text style "宋体", on `layerId`.
  void DrawTexts(AcDbObjectId layerId);
  // Draws the section as the flag says (1 custom entities with reactors, 0
  // plain entities) and empties the object for the next section.
  void BuildSection(int flag);

  // Where the note of a section placed at `origin` goes, and its text
  // height, for the builders.
  static AcGePoint3d NotePlace(const AcGePoint3d& origin);
  static double NoteTextHeight();

  SectionDrawingValues values;
  AcGePoint3d origin;  // the section's sheet place: the baseline's centre at its lowest level

  EarthLine* earth[2] = {};       // the ground left and right of the ground track's centre
  DesignLine* line[2][2] = {};    // [pair][side]
  JSGOU* jsgou[2][2] = {};        // top ditches, [pair][side]
  LTGOU* ltgou[2][2] = {};        // drainage ditches (or end symbols), [pair][side]
  HdmText* note = nullptr;

  // The ids BuildSection recorded (flag 1), in the same roles.
  AcDbObjectId earthId[2];
  AcDbObjectId lineId[2][2];
  AcDbObjectId jsgouId[2][2];
  AcDbObjectId ltgouId[2][2];
  AcDbObjectId noteId;
  AcDbObjectId widthTextId;  // the "路基面宽" text
  // The reactors BuildSection made: on the left design line, on the right
  // one of a single-line section, on the second pair's right one of a
  // double-line section.
  DesignLineReactor* reactor[3] = {};

  // The rows of a section entity table into which the builder entered the
  // entities (the first pair's left and right design line with their
  // companions); null when they were entered in none.
  SectionEntitySlot* slot[2] = {};

 private:
  void DrawPlainForms();
  void AppendCustomEntities();
  void AttachReactor(int which, int pair, int side);
  // Deletes every entity that is in no drawing, forgets every pointer, id
  // and value. A slot entry that points at a deleted entity is cleared.
  void Release();
};
