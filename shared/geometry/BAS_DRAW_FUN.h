#pragma once
// BAS_DRAW_FUN: the geometry and drawing base class of the model, dialog and
// drawing classes. Each module compiles its own build of it; the members that
// differ between builds are selected by the module's define.
//
// This header holds the geometric members (alignment geometry, chainage texts).
// Drawing members and a module's own members are declared in the marked
// sections below and defined in their own source files.
//
// The class has no data members. Its virtual table by build:
//   plan drawing (BREVELL_BUILD, and any build without a module define):
//     FormatReal, the destructor, PointAtDistance, DistanceOfPointByKeyPoints,
//     SpacingToOtherLine;
//   cross-section (CORVANE_BUILD): the build's own first slot, the destructor;
//   ground-line input (PELLORY_BUILD): the destructor only.
// In the builds where they are not virtual, FormatReal, PointAtDistance,
// DistanceOfPointByKeyPoints and SpacingToOtherLine are ordinary members.
//
// Every member that takes an element list of n records reads records 0 .. n
// (see PlacedElement): the caller's array holds n + 1 records.

#include <cstddef>

#include "arx/acutmath.h"
#include "arx/dbid.h"
#include "arx/gearray.h"
#include "arx/gegeometry.h"
#include "geometry/GeoFunctions.h"
#include "geometry/LineElement.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"

#if defined(CORVANE_BUILD) || defined(PELLORY_BUILD)
#define BAS_DRAW_PLAN_VIRTUAL
#else
#define BAS_DRAW_PLAN_VIRTUAL virtual
#endif

class AcDbEntity;

class BAS_DRAW_FUN {
 public:
  BAS_DRAW_FUN() = default;
  BAS_DRAW_FUN(const BAS_DRAW_FUN&) = default;
  BAS_DRAW_FUN& operator=(const BAS_DRAW_FUN&) = default;

  // ---- Virtual table (order matters) ------------------------------------
#if defined(CORVANE_BUILD)
  // The cross-section build's first slot, before the destructor: the first
  // and second minimum lengths (m) for a design speed (km/h); -1000 for both
  // when the speed has none (at or below 0, or below 40).
  virtual void MinLengthsBySpeed(double speed, double& first, double& second) const;
#endif

  // Writes `value` with `decimals` decimals (0 to 20) into `buffer`, bounded by
  // `size`.
  BAS_DRAW_PLAN_VIRTUAL void FormatReal(double value, int decimals, char* buffer, size_t size) const;
  template <size_t N>
  void FormatReal(double value, int decimals, char (&buffer)[N]) const {
    FormatReal(value, decimals, buffer, N);
  }

  virtual ~BAS_DRAW_FUN();

  // Point at the mileage `point.mileage` on an element list of n records
  // (records 0 .. n must exist). Fills x, y, bearing and radius and returns the
  // type (1 to 6) of the element that holds the mileage; the last element
  // accepts 0.001 m more. -9 when no element holds it (the point is then left
  // as it was).
  BAS_DRAW_PLAN_VIRTUAL int PointAtDistance(const PlacedElement* elements, int n, LinePoint& point) const;

  // Mileage of (x, y) by interpolation between the key points of the list
  // (the start point, then the start of every element and the end of the
  // line). -1, with a note on the command line, when the point is off the line.
  BAS_DRAW_PLAN_VIRTUAL double DistanceOfPointByKeyPoints(double x, double y, const PlacedElement* elements,
                                                          int n) const;

  // Casts the normal of this line at `mileage` (towards bearing + π/2) onto
  // the other line. On a hit: `spacing` the signed distance along that normal
  // (0 below 1e-4), `otherMileage` and `otherPoint` the hit on the other line;
  // returns 1. When the point lies on the other line the spacing is 0 and the
  // result 1. When the normal misses (or the mileage is off this line) the
  // spacing is 0, `otherPoint` is this line's point and the result 0.
  BAS_DRAW_PLAN_VIRTUAL int SpacingToOtherLine(double mileage, const PlacedElement* elements, int n,
                                               const PlacedElement* otherElements, int otherN,
                                               double& spacing, double& otherMileage,
                                               LinePoint& otherPoint) const;

  // ---- Angles and points --------------------------------------------------
  // Adds 2π once when below 0, subtracts 2π once when above 2π.
  static void NormalizeAngle(double& angle);

  // The drawing point at distance d from p in the direction of bearing b
  // (drawing X carries east, Y north): (x + d·sin b, y + d·cos b, 0).
  static void PolarPoint(const ads_point p, double d, double b, ads_point out);
  template <class Point3d>
  static void PolarPoint(const Point3d& p, double d, double b, Point3d& out) {
    const ads_point in = {p.x, p.y, p.z};
    ads_point result;
    PolarPoint(in, d, b, result);
    out.x = result[0];
    out.y = result[1];
    out.z = result[2];
  }

  // ---- Curves and elements ------------------------------------------------
  // Transition angles, shifts, tangent lengths and length of a curve with
  // deflection `deflectionDms` (packed degrees), radius R and transitions L1,
  // L2 (a transition below 0.0001 m counts as none). Returns 1.
  static int CurveTangentsAndLength(double deflectionDms, double R, double L1, double L2, CurveTangents& out);

  // State at distance s along one element from its start state. The result
  // mileage is always start.mileage + s. FALSE when s lies beyond the end of a
  // partial clothoid (types 5 and 6, with 0.01 m allowance) or before the start
  // of a type 6; then only the mileage is written. Unknown types write only the
  // mileage and give TRUE.
  static BOOL PointAtDistanceOnElement(const LinePoint& start, LinePoint& out, double s, const LineElement& element);

  // Mileage of a point lying on arc element i, from its chord to the element's
  // start.
  static double ArcDistanceOfPoint(double x, double y, const PlacedElement* elements, int i);

  // Mileage of the foot of (x, y) on the line, -1 (with a note on the command
  // line) when no element takes the point. A point before the start gives the
  // start mileage; one beyond the end of a closing straight a mileage beyond
  // the end.
  double ProjectPointOnAlignment(const PlacedElement* elements, int n, double x, double y) const;

  // Crossing of the line through (x, y) along `bearing` with the element
  // list: the mileage of the crossing nearest (x, y), its point in hitX, hitY.
  // -1 when the line crosses no element (hitX, hitY are then x, y).
  static double NormalRayIntersection(const PlacedElement* elements, int n, double x, double y, double bearing,
                                      double& hitX, double& hitY);

  // Side of the other line on which `point` lies, seen along the point's
  // bearing: 0 when the point is on the other line (within 0.001 m of its
  // foot), +1 when the foot lies to the right of the bearing (the bearing
  // grows towards it), -1 otherwise.
  int SideOfOtherLine(const LinePoint& point, const PlacedElement* otherElements, int otherN) const;

  // Crossing (X, Y) of the lines through the two segments: -1 when parallel
  // (X, Y untouched), 0 when it lies within both segments (1e-5 allowance),
  // 1 otherwise.
  static int IntersectSegments(double& X, double& Y, double x1, double y1, double x2, double y2, double x3,
                               double y3, double x4, double y4);

  // ---- Chainage texts -----------------------------------------------------
  // "<prefix><km>+<mmm.mm>", the metres with two decimals and three integer
  // digits; a whole kilometre is written "<prefix><km>+000". Negative values
  // are written "<prefix>-<km>+<mmm.mm>".
  static void ChainageToText(const CString& prefix, double value, char* buffer, size_t size);
  template <size_t N>
  static void ChainageToText(const CString& prefix, double value, char (&buffer)[N]) {
    ChainageToText(prefix, value, buffer, N);
  }

  // "<prefix><km>+<mmm>[.<decimals>]" with the metres through FormatReal.
  // Returns `buffer`.
  const char* FormatChainageWithPrecision(const char* prefix, double value, int decimals, char* buffer,
                                          size_t size) const;
  template <size_t N>
  const char* FormatChainageWithPrecision(const char* prefix, double value, int decimals, char (&buffer)[N]) const {
    return FormatChainageWithPrecision(prefix, value, decimals, buffer, N);
  }

  // The same for a value given as text, with the metres through acdbRToS.
  static CString FormatChainageCString(const CString& prefix, const CString& valueText, int decimals);

  // Packed angle d.mmss as "<d>%%d<mm>'<ss.s>\"" (the drawing's degree-sign
  // code), the seconds with `decimals` decimals (0 to 8) and two integer
  // digits; seconds and minutes that reach 60 carry.
  static void FormatDmsAngle(double dms, int decimals, char* buffer, size_t size);
  template <size_t N>
  static void FormatDmsAngle(double dms, int decimals, char (&buffer)[N]) {
    FormatDmsAngle(dms, decimals, buffer, N);
  }

  // Continuous mileage of a chainage text through a break table of `count`
  // records, checking the prefixes round each break (the walk and messages of
  // the alignment model's conversion: 0.00005 m at both ends of the table).
  // Inconsistent prefixes, a chainage found at several places and one found
  // at none are shown in message boxes; the mileage is returned in every case
  // (the chainage value itself when it is found nowhere).
  static double ChainageTextToMileage(const char* text, int count, const BreakRecord* breaks);
  static double CheckChainageBreakPrefixes(const char* text, int count, const BreakRecord* breaks) {
    return ChainageTextToMileage(text, count, breaks);
  }

  // ---- Drawing members (model-space helpers) are declared here -----------
  // Every maker appends its new entity to model space of the working drawing
  // and returns the entity's id, null when the drawing refuses it. A colour
  // index below 0 leaves the entity's colour by layer; a line weight is in
  // hundredths of a millimetre (-1 by layer). A null layer name is layer "0";
  // a layer that does not exist yet is created with default properties. A
  // null line type name sets no line type. Texts are UTF-8.

  // Appends a new entity (not in a database yet) to "*Model_Space" and
  // closes it. Takes ownership: an entity that cannot be appended is deleted
  // and the id is null.
  static AcDbObjectId AddToModelSpace(AcDbEntity* entity);

#if !defined(CORVANE_BUILD)
  // ---- Model-space helpers of the plan drawing (also the ground-line build) --
  // A line; a named line type is loaded from "acadiso.lin" first.
  static AcDbObjectId MakeLine(const AcGePoint3d& p1, const AcGePoint3d& p2, int colour, int lineWeight,
                               const char* layer, const char* linetype);
  // A lightweight polyline through the points (straight segments, no widths);
  // a named line type is loaded from "acadiso.lin" first. Null id for fewer
  // than two points.
  static AcDbObjectId MakePolyline(const AcGePoint2dArray& points, int colour, int lineWeight, const char* layer,
                                   const char* linetype);
  // A lightweight polyline with `width` at every vertex, its line type
  // (loaded from "acadiso.lin", else from "lib\rail.lin" of the install
  // folder) and line-type scale. Null id for fewer than two points.
  static AcDbObjectId MakeWidePolyline(const AcGePoint2dArray& points, double width, int colour, const char* layer,
                                       const char* linetype, double linetypeScale);
  // MakeWidePolyline from x, y of two points.
  static AcDbObjectId MakeTwoPointPolyline(const AcGePoint3d& p1, const AcGePoint3d& p2, double width, int colour,
                                           const char* layer, const char* linetype, double linetypeScale);
  // A text in style "PMBZ" with width factor 0.7. Mode 1 left (the position is
  // the insertion point), 2 centre, 3 middle, any other right (the position is
  // the alignment point).
  static AcDbObjectId MakeText(const AcGePoint3d& position, const char* text, double rotation, double height,
                               int colour, int mode, const char* layer);
  static AcDbObjectId MakeTextFromCString(const AcGePoint3d& position, const CString& text, double rotation,
                                          double height, int colour, int mode, const char* layer);
  // The text style "PMBZ", added when missing: typeface "宋体", character set
  // 134, pitch and family 2, x scale 0.7.
  static AcDbObjectId GetPlanTextStyle();
  // Gets or creates a layer and sets its colour (1 to 255; other values leave
  // it) and line weight, on a new and on an existing layer; with a line type
  // name also its line type (loaded from "acadiso.lin" when missing).
  static AcDbObjectId AddLayerRecord(const char* name, int colour, int lineWeight, const char* linetype = nullptr);
  static AcDbObjectId AddLayerWithColor(const CString& name, int colour, int lineWeight,
                                        const char* linetype = nullptr);
  // At each end of p1-p2 a line of length `size` pointing outward along the
  // segment and one of 0.3·size turned from it by 0.1·π (towards growing
  // bearing), both starting at the end point.
  static void DrawEndTicks(const AcGePoint3d& p1, const AcGePoint3d& p2, double size, int colour, int lineWeight,
                           const char* layer, const char* linetype);
  // One line per consecutive pair of points. Every inner point is cut out:
  // its two lines stop where they meet the circle of `radius` round it; with
  // `cutEnds` the first and the last point are cut out as well. A segment
  // that lies wholly inside its circles draws nothing.
  static void DrawPolylineClipped(const AcGePoint2dArray& points, double radius, int colour, int lineWeight,
                                  const char* layer, const char* linetype, bool cutEnds);
  // A group of that name in the group dictionary (replacing one of the same
  // name) holding the entities of `ids`; ids that are no entity of the
  // drawing are left out. Null id when the group cannot be made.
  static AcDbObjectId MakeGroup(const char* name, const AcDbObjectIdArray& ids);
  // Reads the drawing file folder + name and makes it the block definition
  // `name` of the working drawing; null id when the file cannot be read.
  static AcDbObjectId InsertDwgAsBlock(const char* folder, const char* name);
  // Erases every entity on the layer (and nothing else), under the status-bar
  // progress meter; a layer without entities shows nothing.
  static void EraseLayerEntities(const char* layer);
  static void DeleteLayerContents(const CString& layer);
  // Turns each entity about `base` by `angle` (radians, counter-clockwise)
  // round the z axis; entities that cannot be opened are skipped.
  static void RotateEntities(const AcDbObjectIdArray& ids, const AcGePoint3d& base, double angle);
  // Zooms the view to the box of the two corners widened by 50 drawing units
  // on every side (the host's ZOOM WINDOW).
  static void ZoomWindow(const AcGePoint2d& p1, const AcGePoint2d& p2);
#endif

#if defined(CORVANE_BUILD)
  // ---- Members of the cross-section build --------------------------------
  // Clothoid coordinates by the closed four-term polynomials (A > 0).
  static double SpiralX(double A, double l);
  static double SpiralY(double A, double l);
  // As PointAtDistanceOnElement, with SpiralX and SpiralY.
  static BOOL PointOnElementAtDistance(const LinePoint& start, LinePoint& out, double s, const LineElement& element);
  // As PointAtDistance, walking the elements with PointOnElementAtDistance.
  static int PointAtMileage(const PlacedElement* elements, int n, LinePoint& point);
  // Mileage of the foot of (x, y) on the line, never below the start
  // mileage; -1, without a message, when no span of the line takes the point.
  static double MileageOfPointOnElements(const PlacedElement* elements, int n, double x, double y);
  // As NormalRayIntersection, the trial points on arcs and clothoids walking
  // until one lies within 0.0001 m of the ray's line; trial points that walk
  // off their element or do not settle give no crossing there.
  static double RayElementsIntersection(const PlacedElement* elements, int n, double x, double y, double bearing,
                                        double& hitX, double& hitY);
  // As SideOfOtherLine, with MileageOfPointOnElements and PointAtMileage.
  static int NormalHitsOtherLine(const LinePoint& point, const PlacedElement* otherElements, int otherN);
  // Carries a mileage of this line onto the other line along its normal
  // (towards bearing + π/2): `offset` the signed distance to the crossing (0
  // below 0.0006), `otherMileage` and (x, y) the crossing; returns 1. A point
  // that lies on the other line gives offset 0, its foot's mileage and the
  // point itself. A normal that misses the other line (or a mileage off this
  // line) gives offset 0, the point itself and 0.
  static int MileageOnOtherLine(double mileage, const PlacedElement* elements, int n,
                                const PlacedElement* otherElements, int otherN, double& offset, double& otherMileage,
                                double& x, double& y);
  // ln Γ(x), P(a, x), Q(a, x) (with ln Γ(a) in gln when given) and Q(a, x).
  static double LnGamma(double x);
  static double IncompleteGammaSeries(double a, double x, double* gln = nullptr);
  static double IncompleteGammaFraction(double a, double x, double* gln = nullptr);
  static double GammaQ(double a, double x);
  // "<prefix><km>+<mmm>[.<decimals>]" through acdbRToS (decimals 0 to 8; -1
  // the drawing's default, 4); the kilometres and metres are those of the
  // value rounded to the decimals.
  static CString FormatChainageRToS(const char* prefix, double mileage, int decimals);

  // ---- Drawing members of the cross-section build ------------------------
  // Erases every entity on the layer through a selection and the host's
  // ERASE command; "\nfail to run ads_ssget function." when nothing is
  // selected.
  static void EraseLayerByCommand(const char* layer);
  // The layer's id, created as a plain layer when missing.
  static AcDbObjectId GetOrAddLayer(const char* layer);
  // A simple 2d polyline (open, elevation 0) through x, y of the points with
  // default start and end widths. Null id for fewer than two points.
  static AcDbObjectId AddPolyline2d(const AcGePoint3dArray& points, double startWidth, double endWidth, int colour,
                                    const char* layer);
  // A filled triangle standing on its apex P: corners P, (x - 0.1s, y + 0.15s),
  // (x + 0.1s, y + 0.15s), P. On the current layer.
  static AcDbObjectId AddMarkTriangle(const AcGePoint3d& p, double size, int colour);
  // A line; a named line type is loaded from "acadiso.lin" first.
  static AcDbObjectId AddLineEntity(const AcGePoint3d& p1, const AcGePoint3d& p2, int colour, int lineWeight,
                                    const char* layer, const char* linetype);
  // A text on the current layer in the text style `style` (the current style
  // when null), which is created when missing with that name as font file
  // and typeface, character set 134, pitch and family 2 and x scale 0.7; the
  // big-font variant also gives a new style the big font "gbcbig.shx", the
  // wide one x scale 0.8. Mode 1 left (the position is the insertion point),
  // 2 centre, any other right (the position is the alignment point).
  static AcDbObjectId AddTextEntity(const AcGePoint3d& position, const char* text, double rotation, double height,
                                    int colour, int mode, const char* style);
  static AcDbObjectId AddTextEntityBigFont(const AcGePoint3d& position, const char* text, double rotation,
                                           double height, int colour, int mode, const char* style);
  static AcDbObjectId AddTextEntityWide(const AcGePoint3d& position, const char* text, double rotation,
                                        double height, int colour, int mode, const char* style);
  // A level mark: AddMarkTriangle at the point and the text, left-aligned in
  // style "romanc" with height 0.2·size, 0.25·size above the point.
  static void DrawLevelMark(const AcGePoint3d& p, double size, int colour, const char* text);
  // A dimension line from p1 to p2 on the layer, taken as horizontal when the
  // two y differ by less than 0.01 and as vertical otherwise: at both ends a
  // bar of ±1 across it and a tick 1 across and 0.5 along it; the value text
  // centred at its middle, 0.25·height above it (to its left when vertical,
  // turned by π/2), in style "宋体" (the wide text maker), on the same layer.
  static void DrawDimensionLine(const AcGePoint3d& p1, const AcGePoint3d& p2, double textHeight, int colour,
                                const char* layer, const char* valueText);
  static void DrawDimensionLine(const AcGePoint3d& p1, const AcGePoint3d& p2, double textHeight, int colour,
                                AcDbObjectId layerId, const char* valueText);
#endif
#if defined(PELLORY_BUILD)
  // ---- Members of the ground-line input build ----------------------------
  // A text on the current layer in the text style `style`, which is made when
  // missing with that name as font file and typeface, character set 134,
  // pitch and family 2 and x scale 0.8. Mode 1 left (the position is the
  // insertion point), 2 centre, any other right (the position is the
  // alignment point).
  static AcDbObjectId MakeTextWithStyle(const AcGePoint3d& position, const char* text, double rotation,
                                        double height, int colour, int mode, const char* style);
  // A filled triangle standing on its apex p, 0.2·size wide and 0.15·size
  // high: corners p, (x − 0.1·size, y + 0.15·size), (x + 0.1·size,
  // y + 0.15·size), p. On the current layer.
  static AcDbObjectId MakeElevationTriangle(const AcGePoint3d& p, double size, int colour);
  // An elevation mark: MakeElevationTriangle at p (`size`, `triangleColour`)
  // and the text at (x, y + 0.25·size) by MakeTextWithStyle in style "宋体",
  // rotation 0, `textHeight`, `textColour` and `mode`. Returns the text's id.
  static AcDbObjectId DrawElevationMark(const AcGePoint3d& p, double textHeight, const char* text,
                                        int triangleColour, int textColour, double size, int mode);
  // A simple open 2d polyline (no bulges, elevation 0) through x, y of the
  // vertices with default start and end widths, its colour and the layer
  // `layerId` (null: the current layer). Null id for fewer than two vertices.
  static AcDbObjectId MakePolyline2d(AcGePoint3dArray vertices, int colour, double startWidth, double endWidth,
                                     AcDbObjectId layerId);
#endif
#if defined(BREVELL_BUILD)
  // ---- Members of the plan-drawing build ---------------------------------
#endif
};

#if !defined(CORVANE_BUILD)
// The lower-left and upper-right corners of the box round four points.
void BoundingBoxOf4Points(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c, const AcGePoint2d& d,
                          AcGePoint2d& lowerLeft, AcGePoint2d& upperRight);
#endif
