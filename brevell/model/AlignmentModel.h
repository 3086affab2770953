#pragma once
// AlignmentModel: the plan module's model of a scheme, everything the plan
// drawing needs: the base line's IPs, chainage breaks and computed elements,
// the same for the left and the right line (tables of side-line records
// grouped into detour segments), the drawing range, the drawing settings
// copied from the settings dialog and the ids of the layers it keeps.
//
// This is the plan module's own class (brevell/AlignmentModel.h). The
// cross-section module has an alignment model of the same name
// (corvane/data/AlignmentModel.h: one line with fixed arrays, station lists,
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
#include "PlanStructures.h"
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
  // The three-line flag (the technical parameters' line kind is 3): side-line
  // tunnel centre lines are 0.35 × scale factor wide, the side lines' centre
  // lines are drawn as tunnel lines and the tunnels leave them alone.
  bool sideLineMode = false;
  int labelSide = 0;               // curve-element label position: −1 曲线左侧, +1 曲线右侧, 0 otherwise
  // The detour offset s (the technical parameters' value after the line
  // kind): above a scale factor of 9.9 the side lines are drawn s × k × 0.5
  // beside where they lie, so that they stand clear of the base line.
  double detourOffset = 0.0;
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
  // (from the breaks' chainages) before PrepareLines; SetLeftBreakTable and
  // SetRightBreakTable copy and work them out.
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
  // The chainage text of a base-line mileage, in the settings' decimals.
  CString BaseChainageText(double mileage) const;

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
  // What the last CheckLineChainageBreaks cut of the base range: a start
  // before the line's start or an end beyond its end (its chainage-break
  // table's last row) is drawn from or to the line's end instead. Empty when
  // the range lies on the line; otherwise one line for the command line.
  const CString& RangeCutNote() const { return m_rangeCutNote; }
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

  // ---- Side lines: break tables and chainages (DetourChainage.cpp) -------------------
  // Copies the break table of the left (right) line as the scheme loader
  // read it (count ≤ 0: nothing happens) and works out every break's mileage
  // on that line (ResolveBreakDistances). The line's curve table and the
  // base line with its breaks must be loaded first.
  void SetLeftBreakTable(const PlanBreakRecord* records, int count);
  void SetRightBreakTable(const PlanBreakRecord* records, int count);
  // The mileage of every break of a side line: the first break of a detour
  // segment is its chainage before (with its prefix before) carried from the
  // base line onto the side line along the base line's normal; each next one
  // follows by the chained distance (its before − the previous one's after);
  // the segment's last break is then set where its chainage after (a base
  // line chainage) meets the side line, its chainage before taking up the
  // difference, so that the closing break holds whatever the segment's true
  // length differs from its chained length. Returns the break count.
  int ResolveLeftBreakDistances() { return ResolveBreakDistances(kLeftLine); }
  int ResolveRightBreakDistances() { return ResolveBreakDistances(kRightLine); }
  int ResolveBreakDistances(int line);
  // The chainage of a mileage on the left (right) line, its prefix written to
  // `prefixOut` (room for `prefixOutSize` bytes): within a detour segment by
  // the segment's own breaks (prefix after of the break before it); outside,
  // the base line's chainage at the foot of the point on the base line.
  double PointToChainage(double distance, char* prefixOut, size_t prefixOutSize = kChainPrefixSize) const;
  double PointToChainageRight(double distance, char* prefixOut, size_t prefixOutSize = kChainPrefixSize) const;
  // The same for any line code (the base line through its break table).
  double LineChainage(int line, double distance, char* prefixOut, size_t prefixOutSize = kChainPrefixSize) const;
  // The mileage on the left (right) line of a chainage text: searched in the
  // stretches between the breaks of detour segment `segment` (below 0: of
  // every segment, the first that holds it); a chainage no stretch holds is
  // taken on the base line and carried onto the side line along its normal.
  double ChainageToLeftDistance(const char* text, int segment) const;
  double ChainageToRightDistance(const char* text, int segment) const;
  double ChainageToSideDistance(int line, const char* text, int segment) const;
  // The base line's mileage of a chainage text (ChainageToMileage).
  double ChainageCStringToDistance(const CString& text) const { return ChainageToMileage(text.GetString()); }
  // The mileage of a chainage text on any line (a side line: of `segment`).
  double ChainageToLineDistance(int line, const char* text, int segment) const;

  // ---- The plan drawing ----------------------------------------------------------------
  // Scale factors at which the plan drawing changes its level of detail;
  // each routine compares as it says (some with <, some with ≤).
  static constexpr double kSideLinesApart = 9.9;     // above: side lines drawn s·k/2 aside; below: spacing marks
  static constexpr double kNoArcKeyPoints = 10.0;    // from here: no HY and YH key-point labels
  static constexpr double kShortCurveLabels = 29.0;  // from here: curve labels cut to the radius, no key points
  static constexpr double kNoCurveLabels = 199.0;    // from here: no curve-element labels
  // Bridges and tunnels: the outline's half-width on each side (× k), and
  // the spacing below which a side line beside the structure widens it.
  static constexpr double kStructureHalfWidth = 1.5;
  static constexpr double kBesideSpacing = 5.5;

  // Every routine draws into model space of the working drawing on the plan
  // layers (PlanLayers.h), in text style "PMBZ", with the settings: scale
  // factor k, text height h, direction d, label factor f, chainage digits,
  // the detour label side (settings.directionSetting) and the detour offset.
  // Nothing here reports an error by its result; an item whose data cannot be
  // placed (off its line, a break table too short for it, a zero interval)
  // is left out, with a note on the command line where the data are at fault.

  // The whole plan in one pass (PlanDrawing.cpp): the lines prepared, the
  // centre lines, the IPs with their tangent lines, the curve-element labels
  // (k < 199), the chainage marks of the base line and of every detour
  // segment, the key-point labels (k < 29) and the spacing marks (k < 9.9).
  // Sets the detour label side as the side lines present decide. Structures
  // are drawn by their own routines below.
  void DrawPlan();
  // Per detour segment of the left (right) line: its own elements from its
  // IPs and its chainage marks.
  void BuildLineSegments() { BuildSideLineSegments(kLeftLine); }
  void BuildRightLineSegments() { BuildSideLineSegments(kRightLine); }
  void BuildSideLineSegments(int line);
  // Ticks and names of the key points (ZH, HY, YH, HZ, ZY, YZ ...) of a line
  // with the metres of their chainage: `side` the tick side (0: by each
  // element's turn), `flip` the negated drawing direction. Above k = 10 the
  // HY and YH are left out.
  void DrawKeyPointLabels(int side, int flip, int line);

  // Chainage marks (ChainageMarks.cpp). The base line: a tick and a label
  // every `interval` metres of chainage (above 4999 kilometre ticks between
  // the labelled marks), the texts of every inner break with its tick, the
  // box of the hectometre that a break shortens or lengthens (k < 29), and
  // the start and end labels. `side` is the side of the marks (+1 right of
  // the line looking forward, −1 left); a `labelMode` of 1 or less turns the
  // labels to read along the line; `reserved` is not read.
  void DrawMainChainageMarks(double interval, int side, int labelMode, int reserved);
  // The same along one detour segment of a side line (`line`): its own
  // element list (count + 1 records, starting at mileage 0 at its first
  // break) and its break records, with the leave and join labels at its ends.
  void DrawDetourChainageMarks(double interval, int side, int labelMode, int reserved, const ElementRecord* elements,
                               int& count, const PlanBreakRecord* breaks, int breakCount, int line);

  // Centre lines (Centerline.cpp). One wide polyline of a line from mileage
  // `from` to `to`, sampled every 5·k m (kind 1, an ordinary line) or every
  // 5 m (any other kind, a tunnel: line type "TUNNELMIDLINE", made a 2D
  // polyline with line-type generation on). Side lines above k = 9.9 are
  // drawn s·k/2 to their outer side.
  void DrawCenterline(double from, double to, int kind, int line);
  // Empties the line's centre-line layer and draws its drawing range again,
  // tunnel pieces over the `count` ranges (in order of midpoints) and
  // ordinary pieces between them. With no ranges it does nothing.
  void DrawTunnelCenterline(const MileageRange* ranges, int count, int line);
  // Empties the line's centre-line layer and draws its drawing range as an
  // ordinary centre line.
  void RedrawPlainCenterline(int line);

  // The element labels of every curve of a line's drawing range, one group
  // per curve named as its IP (CurveLabels.cpp).
  void DrawCurveElementLabels(int line);
  // Spacing marks between the base line and a side line (−1 left, +1
  // right; any other value draws nothing), their texts moved back along the
  // line by sign × h × f (LineSpacing.cpp).
  void DrawLineSpacing(int which, int sign);
  // The traverse of a line: `count` points (N, E) with their names and
  // values (elevations), joined by lines, with the value of each leg (a
  // packed bearing; leg i runs from point i to point i + 1) (Traverse.cpp).
  void DrawTraverse(int count, const double* N, const double* E, const CString* names, const double* values,
                    const double* legValues, int line);

  // Structures (Tunnels.cpp, Bridges.cpp, Stations.cpp). Each draws one
  // row; a row whose chainages do not lie on the drawn part of its line is
  // skipped without a message.
  void DrawTunnel(const TunnelCall& tunnel);
  // Reads the three tunnel tables of the scheme database (a connection
  // string) and draws the centre lines again with their tunnel stretches:
  // the base line always, the side lines unless the three-line flag is set.
  // A line without tunnels gets its plain centre line back.
  void PrepareTunnels(const CString& connection);
  void DrawBridge(const BridgeCall& bridge);
  void DrawCulverts(const CulvertCall& culvert);
  // A station: its flag block (<install>\DWG\<flag block name>.dwg; a
  // missing file is reported as "%s%s不存在!" and nothing is drawn) at its
  // chainage, turned to the line, with the chainage and the station name.
  void DrawStations(const char* chainageText, const char* stationName, const char* blockName, int line,
                    int segment);
  // A bench mark: block "31014.dwg" at its coordinates (or its chainage and
  // offset), its number and elevation beside it, turned to the line.
  void DrawBenchMarks(const BenchMarkCall& benchMark);
  // The rows the Draw calls above left out since the last TakeLeftOutOfRange
  // because they lie outside their line's drawing range (the range the
  // settings chose, at most the line's own ends): each as its name and
  // chainage ("一号桥(DK12+300.00)"). Taking them empties the list.
  std::vector<CString> TakeLeftOutOfRange();
  // The folder of the block drawings: the install folder and "\DWG\".
  static CString BlockFolder();

  // ---- State -----------------------------------------------------------------------
  PlanSettings settings;
  double lineLength = 0.0;  // end mileage − start mileage of the line built last

 private:
  PlanLine& LineRef(int line) { return m_lines[LineSlot(line)]; }
  // The point at a mileage of a line; false when it is off the line.
  bool PointAt(int line, double mileage, LinePoint& point) const;
  // The point at a mileage on the line or, beyond its ends, on its end tangent.
  LinePoint PointNear(int line, double mileage) const;
  // s · k / 2: how far the side lines are drawn beside where they lie above
  // k = 9.9.
  double DetourShift() const { return settings.detourOffset * settings.scaleFactor * 0.5; }
  // A side-line point moved to where the side line is drawn above k = 9.9
  // (the left line to its left, the right line to its right).
  LinePoint DrawnPoint(int line, const LinePoint& point) const;
  // The detour label side, −1 when it is 0.
  int LabelSideOrLeft() const { return settings.directionSetting == 0 ? -1 : settings.directionSetting; }
  // The IPs of a line's drawing range: a circle of radius k at each and the
  // tangent lines to it from its curve's ZH and HZ (a side line: the IPs of
  // its sections; from k = 9.9 on where its tangents drawn aside cross).
  void DrawIntersectionPoints(int line);
  // Widens the half-widths (left, right) of a structure at a base-line
  // mileage by the spacing of each side line that runs beside it (nearer
  // than kBesideSpacing, or at any spacing for a double-track structure).
  void WidenByBesideLines(double baseMileage, int lineCount, double halfWidth[2]) const;
  // The outline of a structure from `start` to `end` of a line (where the
  // line is drawn): the two end lines, with `sides` the two sides through the
  // points that divide it into `parts`, with `wings` a wing at each corner.
  // False when an end is off the line.
  bool DrawStructureOutline(int line, double start, double end, const double halfWidth[2], int parts, bool sides,
                            bool wings, const char* layer);
  // A tick of `length` across the line at the detour label side from `at`,
  // with `ahead` and `behind` middle-aligned `offset` forward and back along
  // the line from its middle.
  void DrawStructureLabel(const LinePoint& at, double length, const CString& ahead, const CString& behind,
                          double rotation, double offset, const char* layer) const;
  void ComputeLine(PlanLine& line);
  void LocateRange(int line, double start, double end, DrawingRange& range) const;

  int m_lastCurveBuilt = 0;  // the last curve of the line built last (see PlanLine::lastComputedCurve)
  PlanLine m_lines[3];       // base, left, right (LineSlot)
  std::vector<BreakRecord> m_baseBreaks;
  CString m_rangeCutNote;
  std::vector<CString> m_leftOutOfRange;
  AcDbObjectId m_ipLayerIds[3];
  AcDbObjectId m_centerlineLayerIds[3];
  AcDbObjectId m_traverseLayerIds[3];
};
