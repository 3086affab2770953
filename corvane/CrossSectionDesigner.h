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

#include <vector>

#include "AlignmentModel.h"
#include "DesignStandardEntries.h"
#include "DesignerRows.h"
#include "SchemeDatabase.h"
#include "SectionRecord.h"
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

 private:
  void DeleteModels();
  void ReadStandardsInto(CrossSectionDesigner& target, int tableCount, const BreakRecord* breakTable);
};
