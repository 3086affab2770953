#pragma once
// The design of the sample project: a double-track line of about 20 km at
// 120 km/h through rolling ground, as an engineer would lay it out. Everything
// else the sample project holds (coordinates, chainages of key points, grade
// elevations, structure ranges, the terrain) is worked out from these values
// by the generator; the tests check the generated tables against them.
//
// Coordinates are plane survey coordinates in metres, x (N) north and y (E)
// east; angles are packed degrees d.mmss; deflections are positive to the
// right. Chainages are "DK" up to the long chain and "D1K" after it.

namespace sample {

// The technical parameters (jishucanshu.dat).
inline constexpr const char* kLineName = "青山至柳河铁路";
inline constexpr int kDesignSpeed = 120;         // km/h
inline constexpr int kLineKind = 2;              // double line
inline constexpr double kLineSpacing = 4.0;      // spacing of the two tracks (the reference value)
inline constexpr double kSingleRoadbed = 7.7;    // single-line roadbed width
inline constexpr double kDoubleRoadbed = 11.7;   // double-line roadbed width: single + spacing
inline constexpr double kSurfaceLayer = 0.6;     // subgrade surface-layer thickness
// Curve widening of the roadbed by radius: value[i] for radii below key[i].
inline constexpr int kWideningKeys[5] = {1000, 2000, 3000, 5000, 10000};
inline constexpr double kWideningValues[6] = {0.4, 0.3, 0.2, 0.15, 0.1, 0.0};

// The baseline: its start point and the bearing of the first leg, then per
// intersection point the leg that leads to it, its deflection, radius and
// transition length (the same before and after the curve).
inline constexpr double kStartN = 3385420.0;
inline constexpr double kStartE = 506180.0;
inline constexpr double kStartBearingDms = 52.1830;
inline constexpr double kStartChainage = 25000.0;  // DK25+000, also the start mileage
struct CurveDesign {
  double legBefore;      // distance from the previous intersection point
  double deflectionDms;  // signed: + right, - left
  double R;
  double L;  // transition length
};
inline constexpr CurveDesign kCurves[] = {
    {2050.0, -18.2410, 2000.0, 50.0},  {2500.0, 26.3740, 1200.0, 80.0}, {1800.0, -12.0520, 5000.0, 20.0},
    {3300.0, 34.1200, 800.0, 110.0},   {1500.0, -22.4830, 1600.0, 60.0}, {3000.0, 9.3615, 3000.0, 30.0},
    {2200.0, -15.2045, 2500.0, 40.0},  {2000.0, 20.0210, 1200.0, 80.0},
};
inline constexpr int kCurveCount = static_cast<int>(sizeof(kCurves) / sizeof(kCurves[0]));
inline constexpr double kLastLeg = 1850.0;  // from the last curve's point to the end point

// The chainage breaks: a short chain on the second straight and a long chain
// on the seventh, where the chainage takes the prefix D1K.
struct BreakDesign {
  double before;  // chainage before the break
  double after;   // chainage after it
  const char* prefixBefore;
  const char* prefixAfter;
};
inline constexpr BreakDesign kShortChain = {28356.42, 28500.0, "DK", "DK"};
inline constexpr BreakDesign kLongChain = {40318.55, 40250.0, "DK", "D1K"};

// The side lines. The left line is the second track, kLineSpacing to the left
// of the baseline; the right line runs on the baseline. Each leaves it once in
// a detour section on a straight of the baseline: the left line for a tunnel
// of its own through the hill, the right line for a bridge of its own across
// the valley. A detour turns out by two reverse curves of kDetourR and
// kDetourL through kDetourDeflectionDms, runs parallel to the baseline at
// `detourOffset`, and turns back the same way.
struct DetourDesign {
  int side;              // -1 left line, +1 right line
  int leg;               // the baseline leg it lies on (from intersection point `leg`)
  double baseOffset;     // the side line's offset outside the detour (negative: left)
  double detourOffset;   // its offset in the detour's parallel stretch
  double startChainage;  // baseline chainage (DK) of the detour's start
  double endChainage;    // baseline chainage (DK) of its end
  const char* prefix;    // the detour's own chainage prefix
};
inline constexpr double kDetourR = 1600.0;
inline constexpr double kDetourL = 60.0;
inline constexpr double kDetourDeflectionDms = 5.0;
inline constexpr double kDetourLeadIn = 150.0;  // from a detour end to its nearest intersection point
inline constexpr DetourDesign kLeftDetour = {-1, 3, -kLineSpacing, -30.0, 32100.0, 34400.0, "ZDK"};
inline constexpr DetourDesign kRightDetour = {+1, 5, 0.0, 30.0, 36700.0, 38900.0, "YDK"};

// The ground features along the baseline (baseline chainages of their
// centres): the hill of the long tunnel, a smaller hill with a short
// double-track tunnel, the valley of the long bridge and a creek with a
// medium bridge. All are "DK" chainages.
inline constexpr double kHillAChainage = 33250.0;    // DK, in the left detour
inline constexpr double kHillBChainage = 27850.0;    // DK
inline constexpr double kValleyAChainage = 37800.0;  // DK, in the right detour
inline constexpr double kCreekBChainage = 35650.0;   // DK

// The stations: name, flag block, baseline chainages of the centre, start and
// end, and the prefix.
struct StationDesign {
  const char* name;
  const char* flagBlock;
  const char* type;
  double centre;
  double start;
  double end;
  const char* prefix;
};
inline constexpr StationDesign kStations[] = {
    {"青山", "区段站01", "1", 25750.0, 25200.0, 26300.0, "DK"},
    {"柳河", "中间站03", "0", 42400.0, 41850.0, 42950.0, "D1K"},
};

// The grade-change points of the baseline after the start point (chainages);
// the grade through each station is level.
struct GradePointDesign {
  double chainage;
  const char* prefix;
};
inline constexpr GradePointDesign kGradePoints[] = {
    {26400.0, "DK"}, {29300.0, "DK"}, {31200.0, "DK"}, {33300.0, "DK"},   {35500.0, "DK"},
    {37600.0, "DK"}, {39700.0, "DK"}, {41750.0, "D1K"}, {43050.0, "D1K"},
};
inline constexpr double kVerticalCurveR = 10000.0;
inline constexpr double kGradeClearance = 1.0;  // the grade runs this much above the smoothed ground

// Settings carried by the first row of a grade table: decimals of the design
// elevations, the grade design type (0: grade at the formation shoulder) and
// decimals of the grades.
inline constexpr int kElevationDecimals = 2;
inline constexpr int kGradeDesignType = 0;
inline constexpr int kGradeDecimals = 1;

// Track structure heights (mm): ballasted track, and slab track in tunnels.
inline constexpr double kBallastTrackHeight = 766.0;
inline constexpr double kSlabTrackHeight = 580.0;

// Cross-sections every kStationInterval metres of chainage by default.
inline constexpr double kStationInterval = 20.0;

}  // namespace sample
