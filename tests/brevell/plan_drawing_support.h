#pragma once
// The plan drawing's tests: lines laid out by hand for the plan model, and
// what the drawing routines made, read back from model space by layer.
//
// The lines of these tests run due north or east from round coordinates,
// so that a point at a mileage, and any offset from it, is worked out by
// hand: on a line due north from (N0, E0) with start mileage m0 the point at
// mileage m is drawn at (E0, N0 + m − m0), its right (side +1) is +X.

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "shared/drawbase_support.h"

namespace plantest {

inline constexpr double kPi = std::numbers::pi;

// An IP (N, E) with L1 (the start mileage in the first IP), R and L2.
inline IntersectionPoint Ip(double number, double N, double E, double L1 = 0.0, double R = 0.0, double L2 = 0.0) {
  return IntersectionPoint{number, N, E, L1, R, L2};
}

// A base-line break record.
inline BreakRecord Break(double before, double length, const char* prefixBefore, const char* prefixAfter) {
  BreakRecord r;
  r.before = before;
  r.length = length;
  SetBreakPrefixes(r, prefixBefore, prefixAfter);
  return r;
}

// A side-line break record.
inline PlanBreakRecord SideBreak(int segment, const char* prefixBefore, double before, const char* prefixAfter,
                                 double after, const char* text = "") {
  PlanBreakRecord r;
  r.segment = segment;
  r.prefixBefore = prefixBefore;
  r.before = before;
  r.prefixAfter = prefixAfter;
  r.after = after;
  r.text = text;
  return r;
}

// The drawing settings of the tests: scale factor k, text height h, the
// direction and detour label side d, chainage digits 2, label factor 0.7.
inline void Settings(AlignmentModel& model, double k, double h, int d) {
  model.settings.scaleFactor = k;
  model.settings.textHeight = h;
  model.SetDirectionSetting(d);
  model.SetDirection(d);
  model.settings.centerlineWidth = 0.7 * k;
}

// A base line due north from (0, 0), its start at mileage (and chainage)
// `start`, `length` metres long, with the break table given (a start and an
// end record "K" when none is).
inline void StraightBaseLine(AlignmentModel& model, double start, double length, std::vector<BreakRecord> breaks = {}) {
  const IntersectionPoint ips[] = {Ip(0, 0, 0, start), Ip(1, length, 0)};
  model.LoadBaseLine(ips, 2);
  if (breaks.empty()) breaks = {Break(start, 0, "K", "K"), Break(start + length, 0, "K", "K")};
  model.SetBaseBreakTable(static_cast<int>(breaks.size()), breaks.data());
}

// A side line due north `E` metres east of the base line (west when
// negative) and `length` metres long from N = 0, its mileage from `start`,
// its two records of `kind` at that spacing: line `line` of the model.
inline void StraightSideLine(AlignmentModel& model, int line, double E, double length, int kind = kSideParallel,
                             double start = 0.0) {
  SideLineRecord records[2];
  for (int i = 0; i < 2; ++i) {
    records[i].N = i * length;
    records[i].E = E;
    records[i].kind = kind;
    records[i].spacing = E;
  }
  records[0].L1 = start;
  model.LoadSideLine(line, records, 2);
}

inline double Normalized(double a) {
  a = std::fmod(a, 2.0 * kPi);
  return a < 0 ? a + 2.0 * kPi : a;
}
// Two angles that are the same direction.
inline bool SameAngle(double a, double b, double tol = 1e-6) {
  const double d = std::fabs(Normalized(a) - Normalized(b));
  return d < tol || std::fabs(d - 2.0 * kPi) < tol;
}

// ---- What model space holds ---------------------------------------------------------

struct TextItem {
  std::string text;
  AcGePoint3d anchor;  // the insertion point when left-aligned, else the alignment point
  double rotation = 0.0;
  double height = 0.0;
  AcDb::TextHorzMode mode = AcDb::kTextLeft;
};

struct LineItem {
  AcGePoint3d from;
  AcGePoint3d to;
  int lineWeight = 0;
};

struct PolylineItem {
  std::vector<AcGePoint3d> points;
  double width = 0.0;    // the first vertex's start width
  std::string linetype;  // upper-case
  double linetypeScale = 1.0;
  bool heavy = false;  // a 2D polyline (else a lightweight one)
  bool linetypeGeneration = false;
  bool closed = false;
};

struct InsertItem {
  std::string block;
  AcGePoint3d position;
  double rotation = 0.0;
  AcGeScale3d scale;
};

struct CircleItem {
  AcGePoint3d centre;
  double radius = 0.0;
};

// The entities of a layer (every layer for a null name), by kind.
struct LayerContents {
  std::vector<TextItem> texts;
  std::vector<LineItem> lines;
  std::vector<PolylineItem> polylines;
  std::vector<InsertItem> inserts;
  std::vector<CircleItem> circles;
  size_t count = 0;  // entities of the layer

  // The texts that read exactly `text`.
  std::vector<TextItem> TextsReading(const std::string& text) const {
    std::vector<TextItem> found;
    for (const TextItem& t : texts) {
      if (t.text == text) found.push_back(t);
    }
    return found;
  }
};

LayerContents Contents(const char* layer);

// The point of a line at a mileage (the model's element walk).
inline AcGePoint3d PointOf(const AlignmentModel& model, int line, double mileage) {
  LinePoint p{};
  p.mileage = mileage;
  model.PointOnLine(line, p);
  return AcGePoint3d(p.y, p.x, 0.0);
}

inline bool Near(const AcGePoint3d& a, const AcGePoint3d& b, double tol = 1e-6) {
  return std::fabs(a.x - b.x) < tol && std::fabs(a.y - b.y) < tol;
}

inline std::string Str(const AcGePoint3d& p) { return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")"; }

}  // namespace plantest
