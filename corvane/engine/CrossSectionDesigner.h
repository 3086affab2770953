#pragma once
// CrossSectionDesigner: everything the automatic cross-section design of one
// railway line needs and produces — the line's alignment models, its profile
// and grade table, its structures, track-structure heights, the roadbed
// design standards by chainage range and side, and one SectionRecord per
// cross-section.
//
// One designer serves the baseline of a scheme; every detour section (绕行段)
// of a double-line scheme has a designer of its own (DesignerGlobals.h).
// Tables are owned by the designer; each is a row count and a heap array kept
// together (OwnedRowArray), so an empty table always has count 0 and no
// rows.

#include <cstdio>
#include <vector>

#include "AlignmentModel.h"
#include "DesignRunOptions.h"  // the design run's options
#include "DesignStandardEntries.h"
#include "DoubleLineDesign.h"  // the middle part of double-line sections
#include "DesignerRows.h"
#include "EarthworkRows.h"  // saving and earthwork additions
#include "HoleOutline.h"    // saving and earthwork additions
#include "SchemeDatabase.h"
#include "SectionEntityData.h"  // what the drawn entities of a section carry
#include "SectionGeometry.h"  // side design: section geometry
#include "SectionRecord.h"
#include "SideDesign.h"  // side design: slopes, ditches, areas
#include "SideLineModel.h"
#include "XLDataBase.h"
#include "ado/AdoWrapper.h"
#include "arx/gegeometry.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

// Declared in GroundLines.h (the ground-line and fill/cut commands).
struct StationGroundLine;
struct FillCutCommandOptions;
// Declared in the drawing of the sections (commands/drawing/).
class SectionDrawing;
struct GroundLineRecord;
struct SectionDrawingChoice;

// The standards of one side of a section (left or right tables).
struct SideStandards {
  OwnedRowArray<StandardValueEntry> limitWidth;         // 横断面限制宽度
  OwnedRowArray<LandWideningEntry> landWidening;        // 用地加宽
  OwnedRowArray<StandardValueEntry> topsoil;            // 清表土厚度 (the same rows on both sides)
  OwnedRowArray<StandardValueEntry> groundWidth;        // 地面线内插宽
  OwnedRowArray<SlopeGradesEntry> embankmentSlopes;     // 路堤边坡
  OwnedRowArray<SlopeGradesEntry> cuttingSlopes;        // 路堑边坡
  OwnedRowArray<SideDitchEntry> sideDitch;              // 侧沟
  OwnedRowArray<DrainageDitchEntry> drainageDitch;      // 排水沟
  OwnedRowArray<TopDitchEntry> topDitch;                // 天沟

  // Frees every table of the side.
  void Free();
};

// Structure class codes of a mileage.
enum StructureClass {
  kStructureNone = 0,
  kBridgeStart = -3,
  kBridgeInside = 1,
  kBridgeEnd = 3,
  kTunnelStart = -4,
  kTunnelInside = 2,
  kTunnelEnd = 4,
  kStationStart = -5,
  kStationInside = 6,
  kStationEnd = 5,
};

// Two-digit codes of the result files (tens: 1 bridge, 2 tunnel, 3 station;
// units: 1 start, 2 inside, 3 end; 0 none). Unknown codes give 0.
int StructureCodeToFileCode(int code);
int FileCodeToStructureCode(int fileCode);

// Brings an angle into [0, 2π) by adding or subtracting 2π once.
double NormalizeAngle(double angle);

// The value of the row of a one-value table (横断面限制宽度, 地面线内插宽,
// 清表土厚度, ...) that holds ML: the first row whose end mileage E has
// ML < E or |E − ML| < 0.001, else the last row; 0 for an empty table.
double LookupByEndChainage(double ML, int count, const StandardValueEntry* rows);

// The row of a table ordered by end mileage that holds ML, chosen as above
// (`tolerance` 0.001): -1 for an empty table.
template <class Entry>
int FindRowByEndMileage(double ML, int count, const Entry* rows, double tolerance = 0.001) {
  if (count <= 0 || rows == nullptr) return -1;
  for (int i = 0; i < count; ++i) {
    const double E = rows[i].endMileage;
    if (ML < E || (E - ML < tolerance && ML - E < tolerance)) return i;
  }
  return count - 1;
}

class CrossSectionDesigner : public BAS_DRAW_FUN {
 public:
  static constexpr int kMaxBreaks = 50;
  static constexpr int kMaxGradePoints = 500;
  static constexpr int kMaxBridgeSpans = 100;
  static constexpr int kMaxSections = 100000;

  // An empty designer; sets the global drawing factor to 5.0 and clears the
  // global pointer to the last merged sheet range.
  CrossSectionDesigner();
  // Frees every table and the alignment models.
  ~CrossSectionDesigner() override;
  CrossSectionDesigner(const CrossSectionDesigner&) = delete;
  CrossSectionDesigner& operator=(const CrossSectionDesigner&) = delete;

  // ---- Ownership ------------------------------------------------------------
  // Frees the standard tables (护肩宽度 included), the sections, the earthwork
  // quantities, the fill/cut rows of the table store, the track-structure
  // segments, the bridge, tunnel and station lists and the grade table; each
  // table is left with count 0 and no rows.
  // Safe in any state and twice.
  void FreeTables();
  // FreeTables on this designer and on the detour designers in use, then
  // deletes this designer's left-line, right-line and baseline models.
  void FreeAllLines();
  // Take ownership of a model, deleting the one held before.
  void SetBaselineModel(AlignmentModel* model);
  void SetLeftLine(SideLineModel* model);
  void SetRightLine(SideLineModel* model);

  // ---- Tables of fixed room ---------------------------------------------------
  // Takes the scheme's chainage-break table (断链表). A count outside
  // 0 .. kMaxBreaks is refused with a message; the table stays as it was.
  // Returns 1 or 0.
  int SetBreakTable(int count, const BreakRecord* records);
  // Appends an entry to the bridge span table; 0, with a message, when the
  // table already holds kMaxBridgeSpans entries.
  int AddBridgeSpan(int spanCount, double spanLength);
  // The two half-distances of the second line from the technical
  // parameters: for the line kind "单线" half of each single-line spacing,
  // otherwise each double-line spacing less the reference value, halved.
  void SetHalfSpacings();

  // ---- Sections -------------------------------------------------------------
  int SectionCount() const { return static_cast<int>(sections.size()); }
  // Replaces the sections by `count` empty records. A count outside
  // 0 .. kMaxSections is refused with a message; the sections stay as they
  // were. Returns 1 or 0.
  int AllocateSections(int count);
  // Inserts a copy of `record` before section `index` (0 .. count); the
  // records from there on move up by one. Refused with a message when the
  // index is outside or the designer already holds kMaxSections. 1 or 0.
  int InsertSection(int index, const SectionRecord& record);

  // ---- Profile --------------------------------------------------------------
  // Takes `count` grade-change points in line order. Beyond kMaxGradePoints
  // only the first kMaxGradePoints are taken, with a message naming
  // `tableName`. The point after the last is zeroed. Returns the number taken.
  int SetGradePoints(int count, const GradePoint* points, const char* tableName);
  // Builds the grade table from the grade points: row 0 the first point with
  // grade 0, then one row per further point, then a closing row of zeros.
  // A point whose mileage does not exceed the previous point's is left out
  // with a message naming it. Returns the row count (points kept + 1); 0 and
  // an empty table when there are no points.
  int BuildGradeTable();
  // The correction to add to the straight grade line at ML on segment
  // `segment` (between rows segment − 1 and segment) of a grade table.
  static double VerticalCurveCorrection(int segment, double ML, int rowCount, const GradeTableRow* table);
  // The design elevation at ML for the fill/cut tables, rounded by the
  // rounding mode; the ground elevation, fill height, grade (per mille) and
  // correction are rounded too. Outside the profile (below the first point
  // − 0.001, above the last + 0.01) a message is printed and every output is
  // 0 (the ground is left as given). Returns the rounded design elevation.
  double DesignElevationAt(double ML, double& ground, double& design, double& fillHeight, double& grade,
                           double& spare1, double& spare2, double& correction, double& designCopy) const;
  // The unrounded grade-line elevation at ML with its vertical curves
  // (tangent-length parabolas included); -1 outside the profile.
  double GradeLineElevation(double ML) const;
  // Track-structure height (mm) at ML; 0 without segments.
  double TrackStructureHeightAt(double ML) const;

  // ---- Structures -----------------------------------------------------------
  // The StructureClass code of ML: bridges first, then tunnels, then stations.
  int ClassifyChainage(double ML) const;
  // The row of the bridge, tunnel or station list that holds ML (0.01 m
  // allowance at its ends); -1 when none.
  int FindStructureIndex(double ML) const;
  int FindTunnelIndex(double ML) const;
  int FindStationIndex(double ML) const;
  // True when ML lies inside a station (0.01 m allowance).
  bool IsInStation(double ML) const;
  // The 挖方分类 row for ML (the first whose end mileage exceeds ML or lies
  // within `tolerance` of it, else the last); -1 without rows.
  int FindExcavationClassRow(double ML, double tolerance = 0.001) const;

  // ---- Curves, widening, second lines ---------------------------------------
  // Where ML lies on the curves of a line: -1 not at an inner curve, 0 before
  // the curve, 1 entry transition, 2 circular part, 3 exit transition; the
  // index of the curve record, the fraction of the transition (1.0 on the
  // circular part) and the curve's turn (its side factor, 0 for -1).
  static int GetCurvePosition(double ML, int curveCount, const CurveRecord* curves, int& index, double& fraction,
                              double& sideFactor);
  // Signed curve widening at ML on curve `curveIndex` (its IP record gives
  // R, L1, L2; its curve record the key points and the side factor).
  double CurveWideningAt(double ML, int curveIndex, const IpRecord* ips, const CurveRecord* curves) const;
  // The curve widening for radius R from the 曲线加宽 rows when there are any,
  // else from the step table of the technical parameters.
  double WideningByRadius(double radius) const;
  // Roadbed type, the widening that applies to the section, the widening of
  // the other line and the spacing of the second line at ML.
  void GetLineOffsetsAtChainage(double ML, int& roadbedType, double& widening, double& secondWidening,
                                double& spacing) const;

  // ---- Design standards ---------------------------------------------------------
  // Loads the standards of one line into `target`: "左线" (line -1) or
  // "右线" (line 1) with detour section `detour`, or "一线" with detour -1
  // for the baseline (any other combination keeps the line the scheme
  // database object was last given). Reads the 21 standard tables of the
  // database at `databasePath` through this designer's scheme database
  // object, 清表土厚度 twice (once per side), and replaces every entry table of
  // the target; a line without rows gets one default row. Chainages are
  // converted through the break table of the target's baseline model (its
  // own break table when it has no model).
  void LoadLineDesignStandards(CString databasePath, CString lineName, int detour, CrossSectionDesigner* target);
  // The same for this designer's own line: the baseline (line 0, detour -1)
  // of the database at schemeDatabasePath, through its own break table.
  void LoadBaselineDesignStandards();

  // ---- Standards lookups at ML on one table ---------------------------------
  // 护肩宽度 and 基床表层厚度: the row's value; 0 for an empty table.
  static double GetShoulderWidth(double ML, int count, const StandardValueEntry* rows);
  // 用地加宽: the row's two widenings. Returns the row (-1 empty, outputs 0).
  static int GetLandWidening(double ML, int count, const LandWideningEntry* rows, double& fillWidening,
                             double& cutWidening);
  // 排水沟: the type, then d0, the cross slope as a fraction (per cent × 0.01),
  // depth, bottom width, inner and outer wall ratio, lining thickness.
  // Returns the row (-1 empty: type 0, outputs 0).
  static int GetDrainageDitch(double ML, int count, const DrainageDitchEntry* rows, int& type, double& distance,
                              double& crossSlope, double& depth, double& bottomWidth, double& innerRatio,
                              double& outerRatio, double& liningThickness);
  // 侧沟: its five values a .. e (bottom width, depth, inner ratio, outer
  // ratio, lining) and the top width (d + c) × b + a. The row is the first
  // whose end mileage + 0.001 exceeds ML, else the last. Returns the row
  // (-1 empty, outputs 0).
  static int GetSideDitch(double ML, int count, const SideDitchEntry* rows, double& width, double& a, double& b,
                          double& c, double& d, double& e);
  // 路堤边坡 / 路堑边坡: the row's grade count n (0 .. 30) and its grades,
  // value k of grade i into array k at i; entries from n on are not touched.
  // Each array has room for kMaxSlopeGrades values.
  static int GetSlopeGrades(double ML, int count, const SlopeGradesEntry* rows, double* ratios, double* heights,
                            double* bermWidths, double* bermSlopes);
  // 天沟: the first row with start − 0.001 < ML < end + 0.001; offset, bottom
  // width and depth interpolated between its start and end values (the start
  // values when the range is not longer than 0.001), the constants copied.
  // 1, or 0 with every output 0 when no row holds ML.
  static int GetTopDitch(double ML, int count, const TopDitchEntry* rows, double& offset, double& bottomWidth,
                         double& depth, double& innerRatio, double& outerRatio, double& liningThickness);
  // 填改良土 thickness at ML: the first row with start − 0.001 < ML <
  // end + 0.001; 0 when none.
  double ImprovedFillThicknessAt(double ML) const;
  // The left (side < 0) or right standards.
  SideStandards& Standards(int side) { return side < 0 ? leftStandards : rightStandards; }
  const SideStandards& Standards(int side) const { return side < 0 ? leftStandards : rightStandards; }

  // ---- Side design: section geometry, slopes, ditches, areas ---------------
  // (SectionGeometry.cpp, SectionFrame.cpp, SlopeGrading.cpp, SideDesign.cpp,
  // DrainageDitch.cpp). Points are local (x outwards, y relative to the
  // section's reference elevation); polylines run in increasing x.

  // Value of the polyline at x. Returns 1 with the interpolated value and
  // index = the segment's first point; -1 when x lies at or before the first
  // point (value = first y, index 0); 0 when x lies beyond the last point
  // (value = last y, index = count - 1) or there are no points (value 0,
  // index 0).
  static int InterpolateOnPolyline(double x, int count, const PairXY* points, double& value, int& index);
  // With h the height difference of the ground pairs (distance, height
  // difference) at |offset|: centreElevation − h − base (given the design
  // elevation and the centre ground elevation, the fill height there);
  // -10000.0 beyond the last pair.
  static double GroundHeightAbove(double offset, int count, const PairXY* pairs, double centreElevation,
                                  double base);
  // First crossing, trying the ground segments from startIndex outwards, of
  // the leg from `start` to start + 1.1 × run × (dirX, side). 0 with the
  // crossing in `hit`; 100 without a segment to try; else the last segment
  // test's result (-1 or 1).
  static int IntersectSlopeWithGround(int startIndex, int count, const PairXY* ground, double side, double dirX,
                                      const PairXY& start, double run, PairXY& hit);
  // The same with the segment a → b as the leg.
  static int IntersectSegmentWithGround(int startIndex, int count, const PairXY* ground, const PairXY& a,
                                        const PairXY& b, PairXY& hit);
  // Fill (design above ground) and cut (below) between a design polyline and
  // the ground, both set (not added). Stops at the first design point beyond
  // the ground line.
  static void FillCutAreas(int designCount, const PairXY* design, int groundCount, const PairXY* ground,
                           double& fill, double& cut);
  // Appends `count` slope points to `out`; firstX = ML + the first appended x,
  // endX = ML + the last; the legs from the fifth appended point on are
  // summed into steep (|dx| <= 0.001 or |dy|/|dx| >= 0.5) and gentle lengths.
  static void MergeSlopePoints(int count, const PairXY* points, std::vector<PairXY>& out, double ML, double& firstX,
                               double& endX, double& steepLength, double& gentleLength);
  // Where a quantity that is va at a and vb at b changes sign (its ratio
  // |vb|/|va|, 1.0 when it does not change sign).
  static void ZeroCrossing(double a, double b, double va, double vb, double& ratio, double& position);
  // Crossing of the segment (x0 + dx1, y0 + dy1) → (x0 + dx2, y0 + dy2) with
  // the polyline: the one of least x beyond the segment's second x. 0 none;
  // 2 when it is not below the segment's first point; 1 otherwise.
  static int IntersectLineWithPolyline(double x0, double y0, double dx1, double dy1, double dx2, double dy2,
                                       const PairXY* points, int count, PairXY& point);
  // The 9-point outline of a lined ditch in drawing units from its inner
  // bottom corner, outer bottom corner and the point capping its outer face
  // (side -1 / +1 pointing away from the centre line; depth and lining in
  // metres, scaled by the drawing factor).
  static void BuildLinedDitch(int side, double lining, double ratio1, double ratio2, double depth,
                              const PairXY corners[3], int& count, PairXY outline[kLinedDitchPoints]);
  // The side ditch of a design line (points 5, 6, 7), drawn through `frame`;
  // count 0 when the line has fewer than 8 points.
  static void BuildDitchFromSideBlock(int side, double lining, double ratio1, double ratio2, double depth,
                                      int designCount, const PairXY* design, const SectionFrame& frame, int& count,
                                      PairXY outline[kLinedDitchPoints]);
  // A drainage ditch of 5 points (corners 2, 3, 4) or 6 points (3, 4, 5);
  // count 0 for any other point count.
  static void BuildDitchByType(int side, double lining, double ratio1, double ratio2, double depth, int ditchCount,
                               const PairXY* ditch, const SectionFrame& frame, int& count,
                               PairXY outline[kLinedDitchPoints]);
  // A top ditch (inner top, inner bottom, outer bottom, outer top); the outer
  // lining top is carried along its face to the ground; count 0 with fewer
  // than 4 ditch points.
  static void BuildDitchOnGround(int side, double lining, double ratio1, double ratio2, double depth, int ditchCount,
                                 const PairXY* ditch, int groundCount, const PairXY* ground, const SectionFrame& frame,
                                 int& count, PairXY outline[kLinedDitchPoints]);
  // The 7-point symbol of a section end without a ditch, in drawing units.
  static void BuildPointSymbol(int side, double x, double y, const PairXY& other, int& count,
                               PairXY outline[kPointSymbolPoints]);
  // Drawing frame of section `index` (kind 1 / kind 2) from the ends of its
  // ground lines, in sheet coordinates; nothing for an index out of range.
  void ComputeSectionFrame(int index);
  void ComputeSectionFrameDouble(int index);
  // Places every section on the sheet (sheet position, the place of a
  // structure label after it, least and greatest elevation of each record).
  void LayoutSections();

  // Grades a slope from `start` in `direction` (-1 down, +1 up) until it
  // meets the ground, appending the slope points to `out` (emptied first).
  // 1 met within the soft limit; -1 met beyond it; 0 grades used up; -2
  // clipped at the search width or start not usable.
  static int GradeSlope(int direction, const PairXY& start, const SlopeGradeArrays& grades, int groundStart,
                        int groundCount, const PairXY* ground, double softLimit, std::vector<PairXY>& out,
                        double searchWidth);
  // Side ditch, platform and cutting graded up from the foot, appended after
  // the shoulder (design point 4). The result of the grading.
  static int BuildCutWithSideDitch(const SideDitchStandard& ditch, const PairXY& foot, const SlopeGradeArrays& cutting,
                                   int groundStart, int groundCount, const PairXY* ground, double softLimit,
                                   std::vector<PairXY>& design, double& formCode, double searchWidth,
                                   double& retainingWallLength, double& turfLength);
  // A top ditch beyond the last design point: 1 with count 4 (or 2 when its
  // outer wall does not rise more than half its depth), -1 not placed (count 0).
  static int PlaceTopDitch(const TopDitchStandard& ditch, int designCount, const PairXY* design, int groundCount,
                           const PairXY* ground, int& count, PairXY out[kDrainageDitchPoints]);
  // Least-squares cross slope of the ground between start.x and endX; -1
  // when the start lies beyond the last-but-one ground point; 0 (flat) when
  // too few points remain for a fit.
  static double GroundCrossSlope(const PairXY& start, double endX, int groundCount, const PairXY* ground);
  // The design line with its formation lowered by `thickness` (4 % fall).
  static int LowerFormation(int direction, int designCount, const PairXY* design, double thickness,
                            std::vector<PairXY>& out);
  // Fill and cut below the formation lowered by `thickness` (set, not added).
  static void FillCutAreas(int direction, int designCount, const PairXY* design, int groundCount,
                           const PairXY* ground, double thickness, double& fill, double& cut);
  // 填改良土 area: the fill between the formation lowered by the surface layer
  // and lowered by surface layer + improved soil; not below 0.
  static double ImprovedSoilArea(int direction, int designCount, const PairXY* design, int groundCount,
                                 const PairXY* ground, double surfaceThickness, double improvedThickness);
  // Fill, cut, topsoil, improved-soil and shoulder-layer areas of a side.
  static SideAreaResult SideAreas(int designCount, const PairXY* design, int groundCount, const PairXY* ground,
                                  double surfaceThickness, double topsoilThickness, double improvedThickness,
                                  double protectionWidth, double searchWidth, int direction, const PairXY& start,
                                  const SlopeGradeArrays& grades);
  // The design line followed by every ground point beyond its last x.
  static void SurfaceBeyondToe(int groundCount, const PairXY* ground, int designCount, const PairXY* design,
                               std::vector<PairXY>& out);
  // Fill and cut between a ditch polyline and a surface; both untouched when
  // the ditch's first x is below 0.01.
  static void DitchAreas(int surfaceCount, const PairXY* surface, int ditchCount, const PairXY* ditch,
                         double& fill, double& cut);
  // The outline of a drainage ditch whose outer top is `outerTop`, joined to
  // the surface segment first → second by a berm rising inwards at `rise`
  // per unit length. Returns its point count (5 or 6).
  static int DrainageDitchOutline(const PairXY& outerTop, double depth, double bottomWidth, double innerRatio,
                                  double outerRatio, double rise, const PairXY& first, const PairXY& second,
                                  PairXY out[kDrainageDitchPoints]);
  // Places the drainage ditch beyond the toe of a fill side. 1 placed; 0 the
  // ground is not met; 3 no room (lay the side out with a side ditch only);
  // 4 the ground falls away too steeply for a ditch.
  static int PlaceDrainageDitch(double ditchLevel, double referenceElevation, const DrainageDitchStandard& ditch,
                                int designCount, const PairXY* design, int groundCount, const PairXY* ground,
                                int& count, PairXY out[kDrainageDitchPoints]);

  // The standards of side `side` (-1 left, +1 right) at ML.
  SideStandardsAt LookupSideStandards(int side, double ML) const;
  // Designs one side of a section: 1 designed to the ground, -1 the ground
  // line was not met or ended too early (out holds what was built).
  int DesignSide(int side, double ML, double searchWidth, double referenceElevation, int groundCount,
                 const PairXY* ground, const PairXY roadbedTop[4], SideDesign& out) const;
  // The same with the standards given.
  static int DesignSideWith(const SideStandardsAt& standards, double searchWidth, double referenceElevation,
                            int groundCount, const PairXY* ground, const PairXY roadbedTop[4], SideDesign& out);
  // ---- end of side design -------------------------------------------------

  // ==== Added with the scheme import, the section tables and the section
  // preparation (SchemeImport.cpp, DetourImport.cpp, FillCutTables.cpp,
  // GroundLineTables.cpp, RockLayerTables.cpp, SectionPreparation.cpp) =====

  // ---- Scheme import ------------------------------------------------------
  // Imports the scheme database at `databasePath` (it becomes
  // schemeDatabasePath) into this designer: the baseline model from 曲线表,
  // its break table (and this designer's own copy) from 断链表, the grade
  // points and grade table from 坡度表 (its first row, the line's start point,
  // is taken without a vertical curve), the bridges, tunnels and stations,
  // the track structure, the half-distances and the baseline standards. Unless
  // lineKind is "单线", it then builds the left and right side lines and runs
  // ReadDetourAlignment for every detour section of each side into the global
  // detour designers (their counts in use become the sections of each side),
  // reading the detours' fill/cut tables too when readDetourSectionTables is
  // set. With readSectionTables set it ends with ReadBaselineSectionTables.
  // Returns 1; 0 with a message on the command line when 曲线表 (or a line
  // that cannot be built from it), 断链表 or 坡度表 cannot be read, when a side
  // has more than kMaxDetourDesigners detour sections, or when a detour import
  // or the section tables fail.
  int ReadSchemeAlignment(CString databasePath, int readDetourSectionTables, int readSectionTables);
  // Fills `target`, the designer of detour section `section` (from 0) of the
  // left line (side -1) or the right line (any other side), from this line
  // designer's side-line model and the detour tables of the scheme: its line
  // kind "单线" and half-distances, its own alignment model (the section's
  // IPs, its start and end points as break records 0 and 1), its track
  // structure, grade points, bridges, tunnels, stations and standards; with
  // readFillCutTables set also its sections (ReadDetourFillCutTables).
  // `label` is "左线" or "右线". Returns 1; 0 when the sections were asked for
  // and cannot be read, or when the side line or the section cannot give an
  // alignment (with a message).
  int ReadDetourAlignment(int side, int readFillCutTables, CString label, int section, CrossSectionDesigner* target);

  // ---- Scheme-table openers (connection and recordSet of this designer) -----
  // Opens recordSet on the rows of a baseline table of the scheme database
  // (schemeDatabasePath): all rows, or, for 横断面岩层线表 with
  // firstLayerLeftOnly set, the layer-0 left rows by ID (each measured station
  // once). 1 when the record set is on its first row; 0 otherwise (missing
  // table or no rows: "没有<table>记录" on the command line; connection and
  // record set are then closed).
  int OpenSchemeTable(CString tableName, bool firstLayerLeftOnly);
  // The same for the rows of detour section `detourNumber` of a detour table,
  // by ID (for 左线绕行段横断面岩层线表 / 右线绕行段横断面岩层线表 with the flag
  // set, the section's layer-0 left rows).
  int OpenDetourTable(CString tableName, int detourNumber, bool firstLayerLeftOnly);

  // ---- Ground-line tables (on the open connection) ---------------------------
  // Creates 横断面地面线表 (lineName + 绕行段横断面地面线表) unless the scheme
  // database already has it; the table-name list of xlDataBase is refreshed
  // from the connection first. True when the table exists afterwards; false
  // when the connection is not open or the table could not be created.
  bool CreateGroundLineTable();
  bool CreateDetourGroundLineTable(CString lineName);

  // ---- Fill/cut tables ------------------------------------------------------
  // Builds the sections of this designer from 填挖表 (one per row, in the
  // database's order), then reads their ground lines from 横断面地面线表 and
  // their rock layers from 横断面岩层线表, matching each row to its section by
  // station (prefix and chainage within 0.001 m), side and layer, and sets
  // every section's structure code. 1; 0 when 填挖表 or 横断面地面线表 cannot
  // be read (the fill/cut values then stay in the sections).
  int ReadBaselineSectionTables();
  // The same for detour section `detourNumber` of line `lineName` ("左线",
  // "右线") into the sections of `target`, with the detour tables and target's
  // break table; a section at a bridge or tunnel start or end is doubled, the
  // inner one of the pair coded as inside. 0 when the detour's fill/cut table
  // or ground-line table (fewer than two rows) cannot be read.
  int ReadDetourFillCutTables(CString lineName, int detourNumber, CrossSectionDesigner* target);

  // ---- Section preparation -----------------------------------------------------
  // Sets the bridge land-take margin to 8.0 and resets every section record:
  // empty, kind 1, ditch kinds -1, one empty ground block.
  void InitSectionRecords();
  // Empties the ditch lists of section `index` (ditch kinds -1) and the design
  // line of side code `side` (-1, +1, -2, +2; 0 all four). Nothing for an
  // index or side code outside.
  void ClearSideLines(int side, int index);
  // Design elevations at ML: the baseline's (DesignElevationAt), and those of
  // the left and right lines: the baseline's when `baselineOnly` is set,
  // otherwise the grade-line elevation of the detour designer whose section
  // holds ML, at the baseline point projected onto that side line (the
  // baseline's where no detour holds ML or the detour has no grade there).
  void DesignElevationsAt(bool baselineOnly, double ML, double& baselineElevation, double& leftElevation,
                          double& rightElevation) const;
  // Roadbed top of a single-line section at ML: the shoulders at the cutting
  // distance Wa (halfDistance1) or the embankment distance Wb
  // (halfDistance2) by the fill height at their test points, the crown where
  // the 4 % falls of both halves meet. Templates: the crown (0, elevation +
  // 0.04 × half width), then the shoulder (half width, elevation) three times.
  // Flags 1.0 for Wa, 0.0 for Wb; fill heights -10000 for a test point beyond
  // the ground line. Ground points are (distance, height difference) pairs.
  void SingleLineRoadbedTop(double ML, double centreGround, double leftOffset, double rightOffset, double widening,
                            int leftCount, const PairXY* leftGround, int rightCount, const PairXY* rightGround,
                            double leftElevation, double rightElevation, double& crownOffset, PairXY leftTop[4],
                            PairXY rightTop[4], double& leftFlag, double& rightFlag, double& leftFillHeight,
                            double& rightFillHeight) const;
  // Roadbed top of a double-line section: the templates, flags and fill
  // heights by side index (0 the left line's outer side, 1 its inner side, 2
  // the right line's inner side, 3 its outer side); fill heights of the outer
  // shoulders (left, right). The line offsets are handed back as given.
  void DoubleLineRoadbedTop(double ML, double centreGround, double leftLineOffset, double rightLineOffset,
                            double leftWidening, double rightWidening, int leftCount, const PairXY* leftGround,
                            int rightCount, const PairXY* rightGround, double leftElevation, double rightElevation,
                            double& leftLineOut, double& rightLineOut, PairXY tops[kSectionSides][4],
                            double flags[kSectionSides], double fillHeights[2]) const;
  // The ground of a section seen from a line at `lineOffset`: both profiles
  // start with (0, 0); points left of the line go to the left profile
  // (distances outwards, positive), the others to the right profile; heights
  // relative to the ground at the line, whose elevation is returned.
  static void GroundProfileFrom(double lineOffset, double centreGround, int leftCount, const PairXY* leftGround,
                                int rightCount, const PairXY* rightGround, double& referenceElevation,
                                std::vector<PairXY>& leftProfile, std::vector<PairXY>& rightProfile);
  // Rebuilds planBoundary from the designed sections: one record per section
  // (outer points of the design lines in plan), tunnel portals pulled 0.1 m
  // in and raised 8 m above the left shoulder, and a record inserted where a
  // side changes between fill and cut. Nothing without sections or without a
  // built baseline model.
  void BuildPointRecord();
  // ==== end of the import and section-preparation additions ================

  // ==== Added with the saving of the results, the point files and the
  // earthwork quantities (SaveResults.cpp, PointFiles.cpp,
  // EarthworkQuantities.cpp, QuantitySheet.cpp, EarthworkCommand.cpp) =======
  // ---- Saving the design (SAVEFILE) -------------------------------------------
  // The save run of this (the baseline) designer: "没有设计横断面" and 0 when
  // it has no baseline model, no sections or sectionsDesigned is not set.
  // Otherwise the main-line result files (SaveResultFiles), for a "双线"
  // design the detour result files (SaveDetourResultFiles; not when a detour
  // designer in use has lost its sections: an alert, and the files on disk
  // stay), then the point files (SavePointFiles; a failure ends the run with
  // 0), the 3D section files and the bridge-base file, and "3D OK!".
  // Returns 1 when the run reached its end.
  int SaveDesignResults();

  // ---- Point files (BJPT, RXDBJPT, 3DFW, Hole) -----------------------------
  // Writes BJPT of this designer, RXDBJPT of the detour designers (a "双线"
  // design only), 3DFW with the plan extents and, when the point files give
  // any, the Hole outlines. 0 when a file cannot be opened (alert
  // "无法打开BJPT文件!", "无法打开RXDBJPT文件!", "无法打开3DFW文件!" or
  // "无法打开HOLE文件!"); 1 when all were written.
  int SavePointFiles();
  // Empties the hole outlines and reads those of BJPT. 0 when BJPT cannot be
  // opened (message box "Cannot open <path> file").
  int LoadPointFile();
  // Reads the point records of RXDBJPT (left detours, then right ones) and
  // appends their hole outlines. 0 when it cannot be opened (no message).
  int LoadDetourPointFile();
  // Empties the hole outlines.
  void FreeHoles();
  // Reads one point record and appends the outlines of the stretches of
  // roadbed between bridges and tunnels that run more than 1 m (at most
  // kMaxHoles in all). The count read is trusted only as far as the records
  // that follow it.
  void ReadPointRecords(FILE* file);

  // ---- Earthwork quantities (CALTSF) --------------------------------------------
  // Inserts a section at the start and at the end of every bridge, tunnel and
  // station that lies within the sections (none where a section is within
  // 0.001 of that mileage): a copy of the neighbouring section outside the
  // structure, with the structure's chainage text and its start or end code.
  void AddStructureEndSections();
  // Restores every section's chainage label from its mileage through the
  // line's break table (the alignment model's, else the designer's own).
  void RestoreSectionLabels();
  // Sets the excavation-class areas of every section (ApplyExcavationClasses).
  void SetAllExcavationClassAreas();
  // tsfjsb: the quantities of the sections within [start − 0.01, end + 0.01]
  // by average end areas. 0 after "写文件出错!" when the file cannot be
  // written; 1 otherwise. The quantities stay in `quantities` for the sheet.
  int WriteEarthworkTable(double start, double end);
  // The block of this detour designer (side code, index) in the open
  // rxdtsfjsb file, with the 挖方分类 percentages beside the rock-class
  // volumes. 1, or 0 when the file is not open.
  int WriteEarthworkRows(FILE* file, int side, int detourIndex, double start, double end);
  // Fills the quantity sheet from the quantities of the last file writer:
  // a row per kilometre, a row per structure, and the row "合计".
  void SummarizeEarthwork(double start, double end);
  // The body of CALTSF on a designer built for it: reads the scheme's
  // alignment, structures and standards and the design results back, writes
  // tsfjsb and rxdtsfjsb and the quantity sheet, and frees every line.
  // 1 when it ran to its end; 0 when it stopped with a message.
  int CmdEarthworkToExcel(const EarthworkChoice& choice);

  // Set by the design run when every section was designed (SAVEFILE needs it).
  int sectionsDesigned = 0;
  // The hole outlines read back from the point files (at most kMaxHoles).
  std::vector<HoleOutline> holes;
  // ==== end of the saving and earthwork additions ===========================
  // ==== Added with the ground-line interpolation and the fill/cut commands
  // (GroundLineInterpolation.cpp, DetourFillCut.cpp, GroundCommands.cpp) ====

  // ---- Ground lines from the terrain model ---------------------------------
  // For every station of 填挖表 whose mileage (through this designer's break
  // table) lies within startMileage − 0.01 .. endMileage + 0.01: a section
  // square to the baseline, as wide on each side as 左/右地面线内插宽, is laid
  // over the terrain model (g_TerrainModel; without a loaded model each side
  // is (0, 0), (width, 0)) and stored as a left and a right row of
  // 横断面地面线表: (offset, height difference to the station's 地面高程)
  // pairs from the centre (0, 0), at most 100 a side (a longer profile is
  // thinned, keeping its ends and its sharpest breaks). The rows of stations
  // outside the range are kept as they were; the table is rewritten in the
  // order of 填挖表 in one transaction, so a failure leaves it unchanged.
  // With `collected` given, the interpolated stations are appended to it.
  // Returns 1 when the table was rewritten, 0 when it was left as it was (a
  // message says why).
  int InterpolateBaselineGroundLines(double startMileage, double endMileage,
                                     std::vector<StationGroundLine>* collected = nullptr);
  // The same for detour section `detourNumber` of line `lineName` ("左线",
  // "右线"): stations from lineName + 绕行段填挖表, alignment, break table and
  // widths from detourDesigner, rows to lineName + 绕行段横断面地面线表 (the
  // rows of other detour sections stay). Runs on the designer it is called on
  // (its connection and scheme database path). 1 or 0 as above.
  int InterpolateDetourGroundLines(double startMileage, double endMileage, CString lineName, int detourNumber,
                                   CrossSectionDesigner* detourDesigner);

  // ---- Fill/cut tables -------------------------------------------------------
  // Computes the fill/cut rows of detour section `detourNumber` of line
  // `lineName` from stationSource (0 the measured stations of its rock-layer
  // table, 1 the stations of its fill/cut table, 2 stations every `interval`
  // metres with the curve and structure points) on detourDesigner's line data,
  // writes them to lineName + 绕行段填挖表 and, when interpolateGroundLines is
  // set, interpolates the detour's ground lines. Another source, or an
  // interval not above 0 for source 2, is refused with a message; nothing is
  // written when the stations cannot be listed. 1 when the table (and the
  // ground lines asked for) were written; 0 otherwise.
  int ComputeDetourFillCutTables(int interpolateGroundLines, int stationSource, double interval, CString lineName,
                                 int detourNumber, CrossSectionDesigner* detourDesigner);
  // One fill/cut row at mileage ML of this designer's line: design elevation,
  // grade, vertical-curve ordinate, fill height against row.groundElevation
  // (brought to the design precision), roadbed type (started from
  // `roadbedType`), curve widenings and separation width; the construction
  // width and the line spacings are 0.
  void ComputeFillCutRow(double ML, int roadbedType, FillCutRow& row) const;

  // ---- Command bodies ----------------------------------------------------------
  // CALTWB: imports the scheme, computes 填挖表 from the chosen stations
  // (whole line), writes it, interpolates the baseline ground lines over the
  // chosen range, then computes the fill/cut tables (and ground lines) of
  // every detour section. 1 when done ("填挖表计算完毕"); 0 with a message.
  int CmdFillCutTables(const FillCutCommandOptions& options);
  // CALHDMDMX: interpolates the ground lines of the 填挖表 stations between
  // the two chainages (empty: the start or end of the line) into
  // 横断面地面线表 and writes them to the ground-line file `dmxPath` (empty:
  // "<project>\data\<scheme>.dmx") in the ground-line palette's import layout.
  // 1 when done; 0 with a message.
  int CmdInterpolateGroundLines(CString startChainage, CString endChainage, CString dmxPath);
  // ==== end of the ground-line and fill/cut additions =======================

  // ==== Added with the drawing of the sections (commands/drawing/:
  // DrawSections.cpp, SectionBuilder.cpp, DetourSections.cpp,
  // DrawingRun.cpp). Everything is drawn on layer "Hdm" of the working
  // drawing, every length times the global drawing factor; `flag` 1 draws
  // custom entities with reactors (DRAWHDM), 0 plain entities (PRINTHDM). ===

  // ---- The baseline's sections ----------------------------------------------------------
  // Loads the centre lines' line type "DASHDOTX2" from "acadiso.lin" (a
  // drawing that holds it keeps it; a failure prints
  // "加载DASHDOTX2线形失败!" and the drawing goes on) and makes layer "Hdm".
  static void PrepareSectionSheet();
  // PrepareSectionSheet, every section of this (baseline) designer, and for
  // a "双线" design every left, then every right detour's sections. 1.
  int DrawAllSections(int flag);
  // Lays this designer's sections out on the sheet (from sheetOrigin) and
  // draws those with start − 0.01 < ML < end + 0.01. A section inside a
  // bridge or tunnel is not drawn: the first one after a drawn section gets
  // the structure's label instead (not sections 0 and 1). The section
  // entity table is sized to two rows per section of this designer on every
  // call. The second-line offsets are drawn from a copy: zeroed on the sheet
  // (a single-line section within 0.1 of a detour's separated stretch, a
  // "单线" design), never in the records.
  void DrawBaseSections(double start, double end, int flag);
  // The label "<start>-<end><name>" of the first bridge, else tunnel, else
  // station whose range holds section `index`'s ML (start − 0.001 < ML <
  // end + 0.001), centred at `at` on layer "Hdm" in style "宋体". False when
  // no structure holds it (nothing is drawn).
  bool DrawStructureLabel(int index, const AcGePoint3d& at) const;

  // ---- The section builders ---------------------------------------------------------------
  // Makes, without appending, the entities of section `index` into
  // `drawing`: the first pair of design lines (sides -1 and +1) with their
  // ditches, the two ground lines from `groundLines`' first record (whose
  // track centre `blockValues[0]`, the ground elevation there, places), and
  // the note; sets the drawing's values and sheet place, and enters the
  // entities in the section entity table (two rows of six per section).
  // `lineSelector` 0 a single-line baseline section, 2 a double-line one
  // (its ground seen from the second track), -1 / +1 a section of the left /
  // right detour `detourNumber` − 1 (detours numbered from 1 here). 1 when
  // made; 0 for a row outside or without ground records.
  int BuildDesignLineEntity(SectionDrawing& drawing, int index, const std::vector<double>& blockValues,
                            const std::vector<GroundLineRecord>& groundLines, int lineSelector, int detourNumber);
  // The second pair of a double-line section (sides -2 and +2) with their
  // ditches, from the section's record through the second track's frame
  // (`referenceElevation` the ground at its centre), their slope tables
  // those of the designer that designed the second track. 1; 0 for a row
  // outside or a section that is not double-line.
  int BuildDesignLineEntityForRange(SectionDrawing& drawing, int index, double referenceElevation);

  // ---- The detour sections ----------------------------------------------------------------
  // The sections of detour `index` of `designers` (the left array for label
  // "左", else the right one) whose ML (on the detour's line) lies within
  // start − 0.01 .. end + 0.01 and within its own stretch detourStart −
  // 0.01 .. detourEnd + 0.01, on a sheet from (x, y). The side's
  // DetourEntityList is emptied first and holds only this detour's entry.
  // Every section within start .. end gets the side code (-1 for label
  // "左", else +1) and the detour index `index`, drawn or not; the others
  // keep theirs.
  void DrawDetourSectionsInRange(CrossSectionDesigner* designers, int index, double start, double end,
                                 double detourStart, double detourEnd, const char* label, double x, double y,
                                 int flag);
  // Every detour of `designers` (count of them), each on a sheet 500 × the
  // drawing factor above (label "左") or below (else) the baseline section
  // at its separated stretch's start, within its separated stretch. Every
  // section of every detour gets the side code and its detour index.
  void DrawAllDetourSections(CrossSectionDesigner* designers, int count, const char* label, int flag);
  // The mileages on the left and on the right line of this (baseline)
  // designer's mileage ML: within a left (right) detour the foot of the
  // baseline point on the left (right) line, otherwise ML itself.
  void MileagesOnSideLines(double ML, double& leftML, double& rightML) const;

  // ---- The drawing run of DRAWHDM (flag 1) and PRINTHDM (flag 0) ------------------------------
  // Draws the design held by this (baseline) designer, or, when it holds
  // none, the last design read back from the scheme and its result files;
  // the choices are those of the drawing dialog. 1 when drawn; 0 after a
  // message when there is nothing to draw.
  int CmdDrawSections(const SectionDrawingChoice& choice, int flag);
  // ==== end of the drawing additions ==========================================

  // ---- 1. The scheme's chainage-break table (断链表) -----------------------
  int breakCount = 0;
  BreakRecord breaks[kMaxBreaks];

  // ---- 2. Working state of the design and drawing runs --------------------
  unsigned char sectionsDrawn = 0;  // the sections were drawn
  int drawRequest = 1;              // draw after the design (the design dialog)
  int drawLineChoice = 0;           // the line choice of the drawing dialog
  int drawnByDesignRun = 0;
  int drawnByDrawCommand = 0;
  int runCounter = 0;               // drawing runs of the baseline
  int flags[12] = {};               // further dialog flags; "flag k" is flags[k - 1]
  int threeDData = 0;               // write the 3D line data ("生成线路三维数据")

  // ---- 3. Alignment models (owned) ----------------------------------------
  AlignmentModel* baseline = nullptr;
  SideLineModel* leftLine = nullptr;
  SideLineModel* rightLine = nullptr;

  // ---- 4. -----------------------------------------------------------------
  int reservedLineChoice = 0;  // 1 "按单线设计", 2 "按双线设计" for a reserved second line
  CString spareText;           // not read by the design
  CString schemeDatabasePath;  // the scheme database file

  // ---- 5. Profile -----------------------------------------------------------
  int gradePointCount = 0;
  GradePoint gradePoints[kMaxGradePoints];

  // ---- 6. Design standards --------------------------------------------------
  OwnedRowArray<StandardValueEntry> surfaceLayer;        // 基床表层厚度
  OwnedRowArray<StandardValueEntry> shoulderProtection;  // 护肩宽度
  SideStandards leftStandards;   // the left-side tables (左...)
  SideStandards rightStandards;  // the right-side tables (右...)
  OwnedRowArray<ImprovedFillEntry> improvedFill;         // 填改良土
  OwnedRowArray<ExcavationClassEntry> excavationClass;   // 挖方分类

  // ---- 7. Sections ----------------------------------------------------------
  std::vector<SectionRecord> sections;
  OwnedRowArray<EarthworkQuantityRecord> quantities;  // rebuilt by the earthwork writers
  double bridgeLandTakeMargin = 8.0;              // added to the land take inside a bridge

  // ---- 8. Grade table ------------------------------------------------------
  OwnedRowArray<GradeTableRow> gradeTable;

  // ---- 9 .. 12. Structures and track structure ----------------------------
  OwnedRowArray<StructureRow> bridges;  // 大中桥
  BridgeSpan bridgeSpans[kMaxBridgeSpans];
  int bridgeSpanCount = 0;
  OwnedRowArray<StructureRow> stations;  // 车站
  OwnedRowArray<StructureRow> tunnels;   // 隧道
  OwnedRowArray<TrackSegment> trackSegments;

  // ---- 13. Half-distances of the second line -------------------------------
  // From the technical parameters. The first is also the shoulder distance Wa
  // of cuttings and low fills, the second the shoulder distance Wb of
  // embankments; the second line's spacing is derived from the second.
  double halfDistance1 = 0.0;
  double halfDistance2 = 0.0;

  // ---- 14. The scheme table store -------------------------------------------
  XLDataBase xlDataBase;

  // ---- 15. Drawing ---------------------------------------------------------
  double scaleDenominator = 200.0;
  AcGePoint3d workPoint;
  AcGePoint3d sheetOrigin;  // x, y of the first section column's origin
  AcGePoint3d workPoints[2];

  // ---- 16. ------------------------------------------------------------------
  CString lineKind;  // "单线", "双线" or "预留二线"
  CAdoConnection connection;
  CString sqlText;
  CString spareText2;
  CAdoRecordSet recordSet;
  SchemeDatabase schemeDb;  // reads the design standards
  AcGePoint3d workPoints2[4];

  // ---- 17. Detour stretches (detour designers) ------------------------------
  DetourMileages segment;           // on the baseline
  DetourMileages segmentOnDetour;   // the same points on the detour line
  int sml2Section = 0;              // sections at which sml2 and eml2 were found
  int eml2Section = 0;

  // ---- 18. -------------------------------------------------------------------
  int roundingMode = 2;    // design elevations: 1 → 0.1, 2 → 0.01, 3 → 0.001, else 1 m
  int addTrackHeight = 0;  // 1: the track-structure height is taken off the design elevation

  // ---- 19. Plan boundary points of the BJPT file ---------------------------
  std::vector<PlanBoundaryRecord> planBoundary;
  double planMinX = 0.0;
  double planMinY = 0.0;
  double planMaxX = 0.0;
  double planMaxY = 0.0;

  // ==== Added with the section drivers, the double-line and detour design,
  // the design run and the result files (SectionDrivers.cpp,
  // DoubleLineDesign.cpp, DetourSegments.cpp, DesignRun.cpp,
  // ResultFiles.cpp, ResultFileSets.cpp, ResultFiles3D.cpp) ===============

  // ---- Detour stretches and line relations -------------------------------------
  // Splits every detour of both detour arrays into its stretches on the
  // baseline (sml1, sml2, eml2, eml1) and the same points on the detour's own
  // line, from this (baseline) designer's sections.
  void ComputeDetourSegments();
  // The line relation of ML (LineRelation: 0 single-line scheme, 1 no detour,
  // 2 a detour's transition stretch, 3 its separated stretch) and the detour
  // that holds it; left detours are searched before right ones.
  void FindDetourAtChainage(double ML, int& relation, int& leftIndex, int& rightIndex, int& leftFlag,
                            int& rightFlag) const;
  // Walks this designer's sections from the first at or after ML − 0.001,
  // forwards or backwards, until the next section passes `limit`, a section
  // has either line inside a bridge, tunnel or station, or the lines have
  // separated: by the spacings against the section's separation width, or by
  // trial inner slopes that no longer overlap. Gives the section reached (its
  // mileage and index, -1 without sections) and that mileage on the line of
  // detour `detour` of side `lineCode` (-1 left, +1 right; any other code:
  // the mileage itself).
  void FindSeparationBySpacing(int detour, double ML, double limit, int forwards, int lineCode, double& mileage,
                               int& index, double& onLine) const;
  void FindSeparationBySlopes(int detour, double ML, double limit, int forwards, int lineCode, double& mileage,
                              int& index, double& onLine) const;
  // The mileage on the line of detour `detour` of side `lineCode` of the
  // baseline point at ML (the detour designer's own line; the side line when
  // that has none). ML itself when there is no such line.
  double MileageOnDetourLine(int lineCode, int detour, double ML) const;

  // ---- Section drivers --------------------------------------------------------------
  // Designs section `index` as one track (singleLine is 1 from every caller)
  // with the left-line and right-line offsets a and b.
  void DesignSingleSection(int index, unsigned char singleLine, double a, double b);
  // Designs section `index` as two tracks on one roadbed, with the middle
  // part between them.
  void DesignDoubleSection(int index, unsigned char singleLine, double leftOffset, double rightOffset, int leftFlag,
                           int rightFlag, int leftIndex, int rightIndex);
  // The designer and the mileage of the left (side < 0) or the right track of
  // a double-line section at ML: the detour's own designer on its own line
  // when `flag` is set and that detour is in use, else this designer at ML.
  const CrossSectionDesigner* TrackDesignerAt(int side, int flag, int detour, double ML, double& trackML) const;
  // Designs the one track (side -1 left, +1 right) of a double-line section
  // that is not inside a structure, as a single line.
  void DesignDoubleSide(int index, int leftFlag, int rightFlag, int leftIndex, int rightIndex, int side);
  // Designs section `index` with the driver and the line offsets that the
  // design run takes for line relation `relation` (0 .. 3) and the detour
  // that holds the section (FindDetourAtChainage's flags and indices).
  void DesignSectionByRelation(int index, int relation, int leftFlag, int rightFlag, int leftIndex, int rightIndex);

  // ---- The middle part of a double-line section ---------------------------------------
  // The inner lines of the two tracks and the middle quantities between
  // them: both inner shoulders at the embankment distance, both at the
  // cutting distance, or one of each (DoubleLineDesign.h).
  void DesignDoubleVariantZeroGap(const DoubleLineContext& context, DoubleMiddle& middle) const;
  void DesignDoubleVariantBothGaps(const DoubleLineContext& context, DoubleMiddle& middle) const;
  void DesignDoubleVariantOneGap(const DoubleLineContext& context, DoubleMiddle& middle) const;
  // Where the two inner slopes meet: the other track's slope points brought
  // into this track's frame as (spacing − |x| − shift, y + c − b), its first
  // point with its own x. 1 with the first crossing, 0 when they do not meet.
  static int IntersectInnerSlopes(double shift, double spacing, int count, const PairXY* points, int otherCount,
                                  const PairXY* otherPoints, double b, double c, PairXY& crossing);

  // ---- Re-design of one side after an edit --------------------------------------------
  // DesignSide with the embankment and cutting grades given (the slopes of
  // the edited design line) instead of the slope tables, and without the
  // station test and the improved soil. The land take carries the land
  // widening (用地加宽) at ML, as the design's does.
  int RedesignSide(int side, double ML, double searchWidth, double referenceElevation, int groundCount,
                   const PairXY* ground, const PairXY roadbedTop[4], const SlopeGradeArrays& embankment,
                   const SlopeGradeArrays& cutting, SideDesign& out) const;

  // ---- Re-design of one section after an edit of its drawn design line ------------------------
  // (SectionRedesign.cpp). The drawn entities' records (SectionEntityData.h)
  // are read and rewritten here; the caller closes the entities.

  // Entry from the design-line reactor: re-designs the edited side of section
  // `row` (its design line `line`) and rewrites the line, the side's drainage
  // ditch (`ditch`, LTGOU) and top ditch (`topDitch`, JSGOU) and the note.
  // The ground lines are passed for their roles; the ground of the section's
  // record is designed against. A section inside a bridge, a tunnel or a
  // station (both lines of a double-line section; the line of a single-line
  // section) is left alone, and so is a row outside the sections. The note's
  // kind picks the variant: 1 RedesignSectionA, else RedesignSectionB.
  // 1 when re-designed; 0 when left alone.
  int RedesignEditedSection(int row, DesignLineData& line, const EarthLineData* leftGround, SectionDitchData& ditch,
                            SectionDitchData& topDitch, const EarthLineData* rightGround, SectionNoteData& note);
  // The single-line variant (sides -1 and +1) and its double-line twin (the
  // outer sides -1 and +2; a section's inner sides are not redone): the
  // section's design is run again as the design run ran it, with the edited
  // side designed by RedesignSide from the line's vertices (its crown and
  // the shoulder at the slope start give the formation) and its slope table
  // in every layer pass. The record takes of it the edited side's design
  // line, ditches, land take and area parts, the totals of the parts and the
  // rock-class split of the layer passes, in which the other parts keep the
  // cuts of their own design (layerCuts); the excavation classes follow the
  // new cut. The side is then carried into the entities
  // (UpdateLeftSideEntities and its two twins). 0 for another side, a line
  // of fewer than 5 vertices, a section without ground or a side that the
  // design does not design (its track inside a structure).
  int RedesignSectionA(int row, DesignLineData& line, SectionDitchData& ditch, SectionDitchData& topDitch,
                       SectionNoteData& note);
  int RedesignSectionB(int row, DesignLineData& line, SectionDitchData& ditch, SectionDitchData& topDitch,
                       SectionNoteData& note);
  // Carry the record's side -1 (+1 of a single-line section, +2 of a
  // double-line one) into the drawn entities through `frame`: the design
  // line's vertices (vertex 0 on the frame's origin x at vertex 1's height),
  // form code and side-ditch lining when the line is of that side; the ditch
  // kind into both ditches and the ditch points with their label into the one
  // that shows it (a point symbol at the line's end for kind 0); the note's
  // land take of that side, totals and area block. The section builder fills
  // a side's entities with the same calls. Returns 1 (0 for a row outside).
  int UpdateLeftSideEntities(int index, double referenceElevation, DesignLineData& line, SectionDitchData& ditch,
                             SectionDitchData& topDitch, const SectionFrame& frame, SectionNoteData& note) const;
  int UpdateRightSideEntities(int index, double referenceElevation, DesignLineData& line, SectionDitchData& ditch,
                              SectionDitchData& topDitch, const SectionFrame& frame, SectionNoteData& note) const;
  int UpdateOuterRightEntities(int index, double referenceElevation, DesignLineData& line, SectionDitchData& ditch,
                               SectionDitchData& topDitch, const SectionFrame& frame, SectionNoteData& note) const;
  // The same for any side code (-1, +1, -2, +2), with the ditch linings of
  // the standards of `standards` at `standardsML` (the designer and mileage
  // that designed the side's track). 0 for a row or side code outside.
  int UpdateSideEntities(int side, const CrossSectionDesigner& standards, double standardsML, int index,
                         double referenceElevation, DesignLineData& line, SectionDitchData& ditch,
                         SectionDitchData& topDitch, const SectionFrame& frame, SectionNoteData& note) const;

  // ---- The design run (HDMDES) ----------------------------------------------------------
  // Runs the automatic design with the given options: import, detour
  // stretches, every section, the detour sections of a double line, the land
  // files, the 3D files when asked. 1 when the run completed, 0 when a step
  // failed (nothing more is done after it).
  // With the draw option set, the sections are drawn at the end of the run
  // (DrawAllSections with `drawingFlag`: 1 custom entities with reactors, 0
  // plain entities) and the section browser is opened anew.
  int CmdAutoDesign(const AutoDesignOptions& options, int drawingFlag = 1);
  // Takes the options and imports the scheme; writes ylex once the import
  // has succeeded. False when the project or the scheme cannot be read.
  bool ImportDesignData(const AutoDesignOptions& options);
  // Designs every section of this (baseline) designer and writes HdmResultData
  // and HdmDetailArea as it goes. 5100; 0 when a file cannot be opened.
  int DesignAllSections();
  // Designs the separated stretch of every left and right detour and writes
  // HdmRXDResultData and HdmRXDDetailArea. 1; 0 when a file cannot be opened.
  int DesignDetourSections();
  // The six excavation-class areas of section `index`: the 挖方分类 shares
  // at its ML times its cut area. Returns the sum of the shares (fractions).
  double ApplyExcavationClasses(int index);
  // The sum of the 挖方分类 shares (fractions) of row `row`; 0 for a row
  // outside the table.
  double ExcavationShareSum(int row) const;
  // Whether a sum of 挖方分类 shares (fractions) exceeds 101 %, the limit of
  // the design run's and the save run's warnings. Shares that add up to
  // exactly 101 % pass: their sum is allowed the rounding of its additions.
  static bool ExcavationSharesOverLimit(double shareSum);

  // ---- Result files ------------------------------------------------------------------------
  // One record of HdmResultData / HdmRXDResultData, and its reader (1; 0 when
  // the record is short or a count in it is out of range).
  void WriteSectionResult(int index, FILE* fp) const;
  int ReadSectionResult(int index, FILE* fp);
  // One record of HdmDetailArea / HdmRXDDetailArea, and its reader.
  void WriteAreaRecord(int index, FILE* fp) const;
  int ReadDataFile(int index, FILE* fp);
  // The whole ZdkData and PMZTT content of this designer.
  void WriteLandWidthLine(FILE* fp) const;
  void WriteLandUseLine(FILE* fp) const;
  // The BJPT point record of this designer (BuildPointRecord first); widens
  // the plan extents. Returns 5100.
  int WritePointRecord(FILE* fp);
  // One section of Zx3d (tunnel == false: 8 points a side) or Yx3d (10
  // points a side, the arc of a tunnel's vault).
  void Write3DSectionLine(FILE* fp, const PlanPoint& point, double bearing, int index, bool tunnel) const;
  // The pier lines of this line's bridge span table from `startMileage`;
  // `lines` counts the lines written.
  void WriteBridgeBaseLines(double startMileage, FILE* fp, int& lines, int lineFlag) const;

  // ---- Result file groups ------------------------------------------------------------------
  // The main-line group: HdmResultData, HdmDetailArea (excavation classes
  // recomputed), the quantity table, ZdkData and PMZTT.
  void SaveResultFiles();
  // The detour group from both detour arrays: HdmRXDResultData,
  // HdmRXDDetailArea, RXDZdkData, RXDPMZTT.
  void SaveDetourResultFiles();
  // Replaces 横断面数量表 by one row per section.
  void SaveQuantityTable();
  // Reads HdmResultData (and, for a double line, HdmRXDResultData into the
  // detour designers) back. 1; 0 with a message when a file is missing or
  // damaged.
  int ReadSectionResults();
  // Reads HdmDetailArea (and HdmRXDDetailArea) back into the sections read
  // by ReadSectionResults. 1; 0 with a message.
  int ReadSectionAreas();
  // Zx3d and Yx3d of the baseline's sections; bribase of the baseline and
  // every detour designer. 1; 0 with a message when a file cannot be opened.
  int Save3DSectionFiles();
  int SaveBridgeBaseFile();
  // The 3D line data of a design run: the point files (SavePointFiles),
  // Zx3d and Yx3d, bribase. 1; 0 when a file cannot be opened.
  int SaveThreeDData();

  // Detour designers: which detour of which side this designer designs.
  int detourIndex = -1;
  int detourSide = 0;
  // ==== end of the drivers, run and result-file additions ===================

 private:
  // One side (side code -1, +1, -2, +2) of layer pass `block` of a section
  // driver, designed by `designer`: DesignSide, or RedesignSide with the
  // edit when a re-design is redoing that side (m_sideEdit).
  int DesignSideOfPass(const CrossSectionDesigner& designer, int sideCode, int block, double ML,
                       double referenceElevation, const std::vector<PairXY>& ground, const PairXY roadbedTop[4],
                       SideDesign& out);
  // Set while a re-design runs the section drivers.
  SideEdit* m_sideEdit = nullptr;
  // Re-designs side `side` of section `row` from the edited line (the two
  // variants' common part); `standards` at `trackML` give the ditch linings.
  int RedesignOneSide(const CrossSectionDesigner& standards, double trackML, int row, int side, DesignLineData& line,
                      SectionDitchData& ditch, SectionDitchData& topDitch, SectionNoteData& note);

  void DeleteModels();
  void ReadStandardsInto(CrossSectionDesigner& target, int tableCount, const BreakRecord* breakTable);
};
