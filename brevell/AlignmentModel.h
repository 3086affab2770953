#pragma once
// AlignmentModel: the plan module's model of a scheme, everything the plan
// drawing needs: the base line's IPs, chainage breaks and computed elements,
// the same for the left and the right line (tables of side-line records
// grouped into detour segments), the drawing range, the drawing settings
// copied from the settings dialog and the ids of the layers it keeps.
//
// This is the plan module's own class (brevell/AlignmentModel.h). The
// cross-section module has an alignment model of the same name
// (corvane/AlignmentModel.h: one line with fixed arrays, station lists,
// curve checks) that has nothing in common with this one; each module links
// only its own core library, and the tests of each module include their own
// header by its folder.
//
// Lines are named by a line code: kBaseLine (0), kLeftLine (−1), kRightLine
// (+1). Mileages are continuous mileages along that line; the base line's
// chainages go through its break table (ChainageToMileage, MileageToChainage).
//
// Use:
//   AlignmentModel model;                          // defaults, no lines
//   model.LoadBaseLine(points, n);                 // IPs -> elements, key points
//   model.SetBaseBreakTable(count, breaks);
//   model.SetStartChainage("DK25+000"); ...        // settings (or model.settings.*)
//   model.LoadLeftLine(records, m);                // when the scheme has side lines
//   model.SetSideBreakTable(kLeftLine, breaks, k); // their detour points
//   model.PrepareLines();                          // sections and drawing ranges
//   const PlanLine& base = model.Line(kBaseLine);  // what the drawing reads
//
// Every query tolerates a line that is not loaded (no points, no elements).

#include <vector>

#include "PlanRecords.h"
#include "arx/dbid.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

// Line codes.
enum PlanLineCode { kLeftLine = -1, kBaseLine = 0, kRightLine = 1 };

// Where a mileage lies with respect to a curve (CurveKeyPoints).
enum CurveZone {
  kZoneBeforeCurve = 0,  // at or before ZH
  kZoneEntering = 1,     // after ZH, up to HY
  kZoneArc = 2,          // after HY, up to YH
  kZoneAfterArc = 3,     // after YH
};

// The part of a line that the plan draws.
struct DrawingRange {
  double start = 0.0;  // mileages on the line
  double end = 0.0;
  int startCurve = 0;  // curve index of each end (see AlignmentModel::LocateMileage) ...
  int startZone = 0;   // ... and its CurveZone
  int endCurve = 0;
  int endZone = 0;
  int firstCurve = 0;  // the first and last curve (IP index) to draw
  int lastCurve = 0;
};

// A section of a side line (see AlignmentModel::RebuildSections).
struct PlanSection {
  int number = 0;  // counted from 0 along the line
  int zero = 0;
  double start = 0.0;  // mileages on the side line
  double end = 0.0;
};

// Everything the model keeps of one line.
struct PlanLine {
  static constexpr size_t kPrefixGbk = 20;  // IP name prefix: 19 GBK bytes and the terminator

  std::vector<IntersectionPoint> points;
  PlanElementAreas areas;  // key points (one per IP), raw elements and element records (four per IP)
  int pointCount = 0;
  int elementCount = 0;  // as BuildPlanElements returns it: records 0 .. elementCount hold the list
  // The last curve whose elements were computed: pointCount − 2, or less
  // when a radius of 0 or less ended the computation early.
  int lastComputedCurve = 0;
  char prefix[2 * kPrefixGbk] = {};  // "JD", "ZJD", "YJD"
  DrawingRange range;

  // Side lines only.
  bool loaded = false;                  // the line's table has been loaded and computed
  std::vector<SideLineRecord> records;  // the line's curve table as loaded
  std::vector<PlanBreakRecord> breaks;  // its chainage breaks (detour points)
  std::vector<PlanSection> sections;

  const ElementRecord* Elements() const { return areas.elements.empty() ? nullptr : areas.elements.data(); }
  const CurveKeyPoints* KeyPoints() const { return areas.keyPoints.empty() ? nullptr : areas.keyPoints.data(); }
  // The mileage of the line's start and end (0 when nothing is loaded).
  double StartMileage() const { return pointCount > 0 ? areas.keyPoints[0].ZH : 0.0; }
  double EndMileage() const { return pointCount > 0 ? areas.keyPoints[pointCount - 1].ZH : 0.0; }
  bool HasElements() const { return elementCount > 1; }
};

// The settings the plan drawing reads, copied from the settings dialog.
struct PlanSettings {
  static constexpr size_t kChainageTextBytes = 80;  // start and end chainage texts (GBK bytes)

  int direction = -1;              // working drawing direction: −1 从左往右, +1 从右往左
  bool blackAndWhite = false;      // 黑白 (true) or 彩图: the colour set of the plan layers
  double labelFactor = 0.7;        // text height factor of tick lengths and label offsets
  double centerlineWidth = 0.7;    // 中线宽度 (the dialog's width × the scale factor)
  double chainageMarkInterval = 100.0;  // metres between chainage marks; above 4999 kilometres only
  int benchLevelDigits = 3;        // decimals of bench-mark levels
  int chainageDigits = 2;          // 里程精度: decimals of chainage, spacing and curve-label texts
  short deflectionDigits = 0;      // decimals of deflection seconds
  short flagDigits = 2;            // decimals of structure-flag chainages
  int directionSetting = 0;        // ±1 as the direction: the side of the detour labels
  int spare = 1;                   // kept for the settings; nothing reads it
  double textHeight = 5.0;         // 字高 (the dialog's text height × the scale factor)
  char startChainage[2 * kChainageTextBytes] = {};  // 起始里程 of the drawing range ("" the line's start)
  char endChainage[2 * kChainageTextBytes] = {};    // 终止里程 ("" the line's end)
  double tickLength = 18.0;        // the chainage marks' current tick length (work value)
  double scaleFactor = 1.0;        // plot-scale denominator × 0.001
  bool sideLineMode = false;       // three lines: side-line tunnel centre lines are 0.35 × scale factor wide
  int labelSide = 0;               // curve-element label position: −1 曲线左侧, +1 曲线右侧, 0 otherwise
};

class AlignmentModel : public BAS_DRAW_FUN {
 public:
  AlignmentModel();
  ~AlignmentModel() override;
  AlignmentModel(const AlignmentModel&) = delete;
  AlignmentModel& operator=(const AlignmentModel&) = delete;

  // The defaults: settings as PlanSettings, prefixes "JD", "ZJD", "YJD", no
  // lines, no breaks, layer ids null; loads the line type "CONTINUOUS" into
  // the working drawing.
  void InitPlanDefaults();

  // ---- Elements from IPs ------------------------------------------------------
  // Builds the element list and the key points of a line of n IPs into the
  // caller's areas: `keyPoints` n records, `raw` and `records` 4·n each.
  // Returns the element count (also stored in `count`): records 0 .. count of
  // `records` hold the list, the last one the end of the line. Writes the
  // model's lineLength. Curves whose transitions overlap or whose arc is
  // shorter than 20 m are reported on the command line; an inner IP whose
  // radius is 0 or less ends the computation there (reported by its number):
  // the line then ends at the end (HZ) of the last curve before it, and the
  // key points of that IP and every later one hold that end mileage. Fewer
  // than two IPs build nothing (count 0).
  int BuildPlanElements(const IntersectionPoint* points, int n, CurveKeyPoints* keyPoints, LineElement* raw,
                        ElementRecord* records, int& count);
  // The same into areas sized for n IPs here.
  int BuildPlanElements(const IntersectionPoint* points, int n, PlanElementAreas& areas, int& count);

  // ---- Loaders --------------------------------------------------------------
  // Each copies its n records and computes the line; n below 1 changes nothing.
  void LoadBaseLine(const IntersectionPoint* points, int n);
  // Side lines: the IPs are the records' N, E, L1, R, L2 numbered by index;
  // sets the line's `loaded`.
  void LoadLeftLine(const SideLineRecord* records, int n);
  void LoadRightLine(const SideLineRecord* records, int n);
  void LoadSideLine(int line, const SideLineRecord* records, int n);

  // ---- Setters --------------------------------------------------------------
  // Copies `count` break records of the base line; a count below 1 (or no
  // records) leaves the table as it was.
  void SetBaseBreakTable(int count, const BreakRecord* records);
  // Copies the chainage breaks of a side line (all fields); a count below 1
  // leaves them as they were. The break mileages are taken as given: the
  // segment queries and the sections read them, so they must be worked out
  // (from the breaks' chainages) before PrepareLines.
  void SetSideBreakTable(int line, const PlanBreakRecord* records, int count);
  // The IP name prefix of a line, cut to 19 GBK bytes at a character boundary.
  void SetIpPrefix(int line, const char* prefix);
  // The chainage texts of the drawing range, cut to 79 GBK bytes.
  void SetStartChainage(const char* text);
  void SetEndChainage(const char* text);
  // The direction setting (the detour label side); resets the working
  // direction to −1, which SetDirection then sets.
  void SetDirectionSetting(int value);
  void SetDirection(int value) { settings.direction = value; }
  double ScaleFactor() const { return settings.scaleFactor; }
  int ChainageDigits() const { return settings.chainageDigits; }

  // ---- The lines --------------------------------------------------------------
  // The line of a code (any code but −1 and +1 is the base line).
  const PlanLine& Line(int line) const { return m_lines[LineSlot(line)]; }
  // 0 base, 1 left, 2 right: the index of a line in the per-line arrays.
  static int LineSlot(int line) { return line < 0 ? 1 : line > 0 ? 2 : 0; }
  const std::vector<BreakRecord>& BaseBreaks() const { return m_baseBreaks; }
  int BaseBreakCount() const { return static_cast<int>(m_baseBreaks.size()); }

  // ---- Base-line chainage and mileage --------------------------------------------
  // The mileage of a chainage text through the base break table; prefixes that
  // disagree round a break, and a chainage found at several places or at none,
  // are shown in message boxes (the value itself comes back when the table is
  // empty or the chainage is nowhere).
  double ChainageToMileage(const char* chainageText) const;
  // The chainage value of a base-line mileage; its prefix goes to `prefixOut`
  // (room for `prefixOutSize` bytes, at most 7 GBK bytes are written).
  double MileageToChainage(double mileage, char* prefixOut, size_t prefixOutSize = kChainPrefixSize) const;

  // ---- Drawing range -------------------------------------------------------------
  // Run before every drawing: rebuilds the section lists of the loaded side
  // lines, then CheckLineChainageBreaks.
  void PrepareLines();
  // Fixes the drawing range of every line: the start and end chainage texts
  // through the base break table (an empty text stands for the line's start or
  // end), clamped to the base line and located on it; then each loaded side
  // line's range, mapped from the base range along the base line's normals
  // (the right line's start 0.1 m later and end 0.1 m earlier), clamped to the
  // side line and located on it.
  void CheckLineChainageBreaks();
  // The curve of a line that a mileage lies at: the highest IP index i whose
  // previous curve ends (HZ of i − 1) at or before the mileage (0 when none),
  // and the CurveZone of the mileage against curve i's key points.
  void LocateMileage(int line, double mileage, int& curve, int& zone) const;

  // ---- Side lines: detour segments and sections ------------------------------------
  // A detour segment is a maximal run of consecutive records of kind 1,
  // numbered from 0 in table order.
  int SegmentCount(int line) const;
  // First and last record index of segment k; false (both −1) when there is none.
  bool SegmentRange(int line, int k, int& first, int& last) const;
  // First and last index of the break records of segment k (they lie
  // together); false (both −1) when there is none.
  bool BreakRange(int line, int k, int& first, int& last) const;
  // The segment whose record range holds record i, or −1.
  int SegmentOfRecord(int line, int i) const;
  // The IPs of segment k for a segment's own element computation: m + 2
  // records for m records of the segment: a start {0, the side line's point
  // at the segment's first break mileage, no radius and transitions}, its IPs
  // numbered 1 .. m, and an end {m + 1, the point at the last break mileage
  // + 0.1 m}; a mileage beyond an end of the side line is taken on its
  // tangent there. Returns m + 2; −1 (points emptied) when the segment or its
  // breaks do not exist or the side line has no elements.
  int SegmentPoints(int line, int k, std::vector<IntersectionPoint>& points) const;
  // Rebuilds a side line's section list and the records' visited flags. A
  // section is a stretch drawn as a line of its own: records of kind 0 with
  // no spacing lie on the base line and belong to none; a section ends at the
  // last record, before a record on the base line, and where the records
  // change between detour IPs (kind 1) and others, so a detour segment is a
  // section by itself. Its records are marked visited. It runs from the ZH of
  // its first record to the HZ of its last, a detour section from its
  // segment's first to its last break mileage.
  void RebuildSections(int line);

  // ---- Points and mileages -----------------------------------------------------------
  // The point at `point.mileage` on a line (BAS_DRAW_FUN::PointAtDistance):
  // the element type 1 .. 6 that holds it, −9 when it is off the line.
  int PointOnLine(int line, LinePoint& point) const;
  // Carries a base-line mileage onto a side line along the base line's normal
  // (BAS_DRAW_FUN::SpacingToOtherLine): 1 with the side line's mileage, the
  // signed spacing and the point there; 0 when the normal misses (the
  // mileage −1, the spacing 0).
  int MapMileageToSideLine(int line, double baseMileage, double& sideMileage, double& spacing,
                           LinePoint& point) const;
  // The mileage of the foot of (N, E) on the base line; −1 (with a note on
  // the command line) when it is off the line.
  double ProjectOnBaseLine(double N, double E) const;
  // The first curve (inner IP) of a line whose middle ((ZH + HZ) / 2) lies at
  // or beyond the mileage; with `before` the index before it. −1 when there
  // is none.
  int FindCurveByMiddle(int line, double mileage, bool before) const;
  // Inserts (start, end) into a list kept in order of midpoints (after the
  // entries of an equal midpoint).
  static void InsertRangeByMiddle(std::vector<MileageRange>& ranges, double start, double end);
  // Removes `count` entries from `first` on (bounded to the list).
  static void RemoveRanges(std::vector<MileageRange>& ranges, int first, int count);

  // ---- Layers ---------------------------------------------------------------------
  // Empties the plan layers and creates or updates them with their colour and
  // line weight (PlanLayers.h); keeps the ids of the IP, centre-line and
  // traverse layers of the three lines.
  void CreatePlanLayers();
  // The kept layer ids of a line (null before CreatePlanLayers).
  AcDbObjectId IpLayerId(int line) const { return m_ipLayerIds[LineSlot(line)]; }
  AcDbObjectId CenterlineLayerId(int line) const { return m_centerlineLayerIds[LineSlot(line)]; }
  AcDbObjectId TraverseLayerId(int line) const { return m_traverseLayerIds[LineSlot(line)]; }

  // ---- State -----------------------------------------------------------------------
  PlanSettings settings;
  double lineLength = 0.0;  // end mileage − start mileage of the line built last

 private:
  PlanLine& LineRef(int line) { return m_lines[LineSlot(line)]; }
  void ComputeLine(PlanLine& line);
  void LocateRange(int line, double start, double end, DrawingRange& range) const;

  int m_lastCurveBuilt = 0;  // the last curve of the line built last (see PlanLine::lastComputedCurve)
  PlanLine m_lines[3];       // base, left, right (LineSlot)
  std::vector<BreakRecord> m_baseBreaks;
  AcDbObjectId m_ipLayerIds[3];
  AcDbObjectId m_centerlineLayerIds[3];
  AcDbObjectId m_traverseLayerIds[3];
};
