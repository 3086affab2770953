#pragma once
// What the drawn entities of one cross-section carry: the design line of a
// side with its slope table, the ground line of a side, a ditch, and the
// section's note. The entities of the command layer (DesignLine, EarthLine,
// LTGOU, JSGOU, HdmText) hold these records, file them with the drawing and
// draw them; the re-design of a section after an edit (SectionRedesign.cpp)
// reads and rewrites them through the designer that designed the section.
//
// Points of drawn entities are sheet coordinates (drawing units): the local
// point (x, y) of a section side (x outwards, the left sides negated as in the
// SectionRecord, y relative to the side's reference elevation) is drawn at
// SectionFrame::ToDrawing of the frame the section was drawn with.

#include <vector>

#include "SectionGeometry.h"
#include "SideDesign.h"
#include "arx/gegeometry.h"

// Room of the point lists that the entities file (a count read from a drawing
// beyond it is refused).
inline constexpr int kMaxDesignLineExtraPoints = 18;
inline constexpr int kMaxDitchVertices = 16;
inline constexpr int kMaxDitchOutlinePoints = kLinedDitchPoints;
inline constexpr int kMaxDrawnLinePoints = 100000;

// The ten doubles of a design line that the slope editing works with.
struct SlopeLegGeometry {
  double pointA[2] = {};         // the formation's centre (design vertex 1)
  double slopeStart[3][2] = {};  // three copies of the point where the slope starts (design vertex 4)
  double formFlag = 0.0;         // the side's form code: below 0.01 an embankment side
  double spare = 0.0;            // filed and carried
};

// One side's design line of a drawn section. The numbers in the comments are
// the positions of the fields in the entity's filing.
struct DesignLineData {
  std::vector<AcGePoint3d> vertices;  // 1, 2: the design polyline (vertex k ≥ 1 is design point k)
  SlopeLegGeometry geometry;          // 3
  // 4, 5: the grade counts; 6: thirty rows of the four embankment and the
  // four cutting arrays (ratio 1:m, height, berm width, berm cross slope in
  // per cent), grade i in row i.
  SlopeGradeArrays embankment;
  SlopeGradeArrays cutting;
  std::vector<AcGePoint3d> extraPoints;  // 7, 8: the lined side-ditch outline (at most 18 points)
  int lineCode = 0;                      // 9: 0 baseline, -1 left line, +1 right line
  int detourIndex = -1;                  // 10: the detour designer of that side (-1 for the baseline)
  int sectionRow = 0;                    // 11: the section's row in its designer
  int entityTable = 0;                   // 12: 0 the baseline's drawn-entity table; -n-1 / n+1 left / right detour n
  double chainage = 0.0;                 // 13: the section's mileage
  int side = -1;                         // 14: -1, +1 sides of the first track; -2, +2 of the second
  double formCode = 0.0;                 // 15: 0.0 fill, 1.0 cut, 3.0 side ditch only
  // 16: the reference and the base elevation of the frame the line was drawn
  // with; 17: its origin x, origin y and drawing factor (0 until drawn).
  double frameElevations[2] = {};
  double frameOrigin[3] = {};

  // The frame the line was drawn with; its factor is 0 when none was set.
  SectionFrame Frame() const;
  void SetFrame(const SectionFrame& frame);
  // Sets the form code and the geometry's flag together.
  void SetFormCode(double code) {
    formCode = code;
    geometry.formFlag = code;
  }
  // The embankment table is the one in use (else the cutting table).
  bool IsEmbankmentTable() const { return geometry.formFlag < 0.01; }
  // Points A and the slope start at vertices 1 and 4 (nothing with fewer
  // than 5 vertices).
  void TakeSlopeLegGeometryFromVertices();
};

// The ground line of one side of a drawn section.
struct EarthLineData {
  int side = -1;                      // -1 left, +1 right
  std::vector<AcGePoint3d> vertices;  // from the centre outwards
};

// A ditch of one side: the drainage ditch beyond a fill or the point symbol
// of a side without one (LTGOU, ditch kinds 0 and 1), or the top ditch above
// a cutting (JSGOU, ditch kind 2). Each shows only while the side's ditch kind
// is one of its own; its points stay as they were otherwise.
struct SectionDitchData {
  int side = -1;                      // -1 left, +1 right (away from the line)
  int kind = kDitchNone;              // the side's ditch kind
  std::vector<AcGePoint3d> vertices;  // the ditch (or the point symbol), at most kMaxDitchVertices
  AcGePoint3d labelAnchor;            // where its bottom elevation is written
  double bottomElevation = 0.0;       // elevation of the ditch bottom
  double bottomCentre = 0.0;          // offset of the bottom's middle from the line
  std::vector<AcGePoint3d> outline;   // its lining (at most kMaxDitchOutlinePoints)

  // The ditch kinds this ditch entity shows: 0 and 1 for the drainage ditch,
  // 2 for the top ditch.
  static bool ShowsKind(bool topDitch, int kind) { return topDitch ? kind == kDitchTop : kind == 0 || kind == 1; }
};

// The section's note: its kind, its land take and areas.
struct SectionNoteData {
  int kind = 1;                 // 1 a single-line section, 2 a double-line one (picks the re-design)
  AcGePoint3d position;         // the start of its first text line
  double textHeight = 0.0;      // 0: 0.3 times the drawing factor
  double centreFillHeight = 0.0;  // 中心填挖高度
  double landTake[2] = {};      // the land-take offsets of the left and the right side
  double fillTotal = 0.0;       // the section's fill and cut totals
  double cutTotal = 0.0;
  SectionAreas areas;           // the record's area block
};
