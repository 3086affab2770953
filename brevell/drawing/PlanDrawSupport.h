#pragma once
// What the plan's drawing routines share: drawing points of line points,
// moves along bearings, the texts of numbers, and the line, text and
// polyline makers of the plan (colour by layer) that refuse a point that is
// not a finite number, so that a drawing never holds one whatever the tables
// say.
//
// Bearings run from north (drawing +Y) towards east (drawing +X); a text
// rotation is a drawing angle (from +X counter-clockwise).

#include <cmath>
#include <numbers>

#include "arx/dbid.h"
#include "arx/gegeometry.h"
#include "geometry/LineElement.h"
#include "mfc/cstring.h"

namespace plandraw {

inline constexpr double kPi = std::numbers::pi;

// Alignment modes of the plan's text maker.
enum TextMode { kLeft = 1, kCentre = 2, kMiddle = 3, kRight = 4 };

// The drawing point of a line point (X carries E, Y carries N).
inline AcGePoint3d At(const LinePoint& p) { return AcGePoint3d(p.y, p.x, 0.0); }

// p moved d along bearing b.
inline AcGePoint3d Polar(const AcGePoint3d& p, double d, double b) {
  return AcGePoint3d(p.x + d * std::sin(b), p.y + d * std::cos(b), 0.0);
}

// A line point moved d along bearing b (its state kept).
inline LinePoint Moved(LinePoint p, double d, double b) {
  p.x += d * std::cos(b);
  p.y += d * std::sin(b);
  return p;
}

// The middle of two points.
inline AcGePoint3d Middle(const AcGePoint3d& a, const AcGePoint3d& b) {
  return AcGePoint3d((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, 0.0);
}

// An angle brought into [0, 2π).
double Normalized(double angle);

// GBK width of a text (an ASCII character 1, any other 2): the character
// count the label geometry reckons with.
int Width(const CString& text);

// A number with `decimals` decimals ("%0.<decimals>lf").
CString Fixed(double value, int decimals);
// A number as the host writes it in decimal units (acdbRToS, unit 2).
CString RToS(double value, int decimals);

bool Finite(const AcGePoint3d& p);

// A line (colour by layer, no line type).
AcDbObjectId Line(const AcGePoint3d& a, const AcGePoint3d& b, int lineWeight, const char* layer);
// A text in style "PMBZ", colour by layer.
AcDbObjectId Text(const AcGePoint3d& at, const CString& text, double rotation, double height, int mode,
                  const char* layer);
// A polyline of two points with a constant width, colour by layer, no line
// type, line-type scale 1.
AcDbObjectId WideSegment(const AcGePoint3d& a, const AcGePoint3d& b, double width, const char* layer);

}  // namespace plandraw
