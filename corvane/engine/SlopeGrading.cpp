// The construction steps of one side of a section: grading a slope in steps
// with berms until it meets the ground, the side ditch and platform at the
// foot of a cutting, the top ditch above it, the cross slope of the ground,
// the lining of a ditch and the areas of fill, cut, improved soil, topsoil
// and the shoulder layer.

#include <algorithm>
#include <cmath>

#include "CrossSectionDesigner.h"
#include "LineFit.h"
#include "arx/edoutput.h"

namespace {

constexpr int kMaxFitPoints = 200;

// Rounding of the computed crossings: a slope that meets the ground at the
// search width counts as meeting it there, not as clipped.
constexpr double kWidthTolerance = 1e-6;

// The point where a slope of ratio m from `from` in `direction` reaches x.
PairXY ClipSlopeAt(const PairXY& from, double ratio, int direction, double x, double fallbackY) {
  if (ratio <= 1e-12) return {x, fallbackY};
  return {x, from.y + direction * (x - from.x) / ratio};
}

}  // namespace

SlopeGradeArrays ShiftedCuttingGrades(const SlopeGradeArrays& cutting) {
  SlopeGradeArrays shifted = cutting;
  const int n = std::clamp(cutting.count, 0, kMaxSlopeGrades);
  for (int i = 0; i < n; ++i) {
    shifted.bermWidth[i] = i + 1 < n ? cutting.bermWidth[i + 1] : 0.0;
    shifted.bermSlope[i] = i + 1 < n ? cutting.bermSlope[i + 1] : 0.0;
  }
  return shifted;
}

double DitchLiningArea(double depth, double bottomWidth, double ratio1, double ratio2, double thickness) {
  const double h = depth, w = bottomWidth, t = thickness;
  const double k1 = std::sqrt(1 + ratio1 * ratio1);
  const double k2 = std::sqrt(1 + ratio2 * ratio2);
  auto corner = [t](double m) { return m > 0.001 ? t * std::tan(std::atan(1 / m) / 2) : 0.0; };
  return t / 2 * (h * k2 + h * k1 + w + w + (h + t) * k1 + (h + t) * k2 + corner(ratio1) + corner(ratio2));
}

double ShoulderLayerArea(double protectionWidth, double surfaceThickness, double slopeRatio) {
  const double k = std::sqrt(10016.0) / 100;
  const double p = protectionWidth, d = surfaceThickness;
  return d * ((d * slopeRatio + p) * k + p * k) / 2;
}

void SideDesign::Reset() {
  const double keep = formCode;
  *this = SideDesign();
  formCode = keep;
}

int CrossSectionDesigner::GradeSlope(int direction, const PairXY& start, const SlopeGradeArrays& grades,
                                     int groundStart, int groundCount, const PairXY* ground, double softLimit,
                                     std::vector<PairXY>& out, double searchWidth) {
  out.clear();
  if (start.x > searchWidth) return -2;
  if (ground == nullptr || groundCount < 1 || start.x > ground[groundCount - 1].x) {
    acutPrintf("\n路面超过地面线");
    return -2;
  }
  const int n = std::min(grades.count, kMaxSlopeGrades);
  if (n < 1) return 0;
  PairXY current = start;
  for (int i = 0; i < n; ++i) {
    const double m = grades.ratio[i];
    const double h = grades.height[i];
    PairXY hit;
    if (IntersectSlopeWithGround(groundStart, groundCount, ground, direction, m, current, h, hit) == 0) {
      if (hit.x > searchWidth + kWidthTolerance) {
        out.push_back(ClipSlopeAt(current, m, direction, searchWidth, hit.y));
        return -2;
      }
      out.push_back(hit);
      return hit.x > softLimit ? -1 : 1;
    }
    if (i == n - 1) return 0;
    const PairXY gradeEnd{current.x + m * h, current.y + direction * h};
    if (gradeEnd.x > searchWidth + kWidthTolerance) {
      out.push_back(ClipSlopeAt(current, m, direction, searchWidth, gradeEnd.y));
      return -2;
    }
    const double w = grades.bermWidth[i];
    const PairXY bermEnd{gradeEnd.x + w, gradeEnd.y + direction * w * grades.bermSlope[i] / 100};
    out.push_back(gradeEnd);
    if (bermEnd.x > searchWidth + kWidthTolerance) {
      out.push_back({searchWidth, gradeEnd.y});
      return -2;
    }
    if (IntersectSegmentWithGround(groundStart, groundCount, ground, gradeEnd, bermEnd, hit) == 0) {
      out.push_back(hit);
      return 1;
    }
    out.push_back(bermEnd);
    current = bermEnd;
  }
  return 0;
}

void AddSlopeLengths(const std::vector<PairXY>& points, size_t from, double& retainingWall, double& turf) {
  for (size_t i = from + 1; i < points.size(); ++i) {
    const double dx = std::fabs(points[i].x - points[i - 1].x);
    const double dy = std::fabs(points[i].y - points[i - 1].y);
    const double length = std::hypot(dx, dy);
    if (dy <= 0.001 || dx >= 0.5 * dy) turf += length;
    else retainingWall += length;
  }
}


int CrossSectionDesigner::BuildCutWithSideDitch(const SideDitchStandard& ditch, const PairXY& foot,
                                                const SlopeGradeArrays& cutting, int groundStart, int groundCount,
                                                const PairXY* ground, double softLimit, std::vector<PairXY>& design,
                                                double& formCode, double searchWidth, double& retainingWallLength,
                                                double& turfLength) {
  if (design.size() < 5) return -2;  // no roadbed template to start from
  design.resize(5);
  const PairXY shoulder = design[4];
  const PairXY p5{shoulder.x + ditch.depth * ditch.innerRatio, shoulder.y - ditch.depth};
  const PairXY p6{p5.x + ditch.bottomWidth, p5.y};
  const PairXY p7{p6.x + ditch.depth * ditch.outerRatio, shoulder.y};
  design.push_back(p5);
  design.push_back(p6);
  design.push_back(p7);
  design.push_back(foot);
  std::vector<PairXY> graded;
  const int result = GradeSlope(+1, foot, ShiftedCuttingGrades(cutting), groundStart, groundCount, ground,
                                softLimit, graded, searchWidth);
  design.insert(design.end(), graded.begin(), graded.end());
  AddSlopeLengths(design, 8, retainingWallLength, turfLength);
  formCode = kFormCut;
  return result;
}

int CrossSectionDesigner::PlaceTopDitch(const TopDitchStandard& ditch, int designCount, const PairXY* design,
                                        int groundCount, const PairXY* ground, int& count,
                                        PairXY out[kDrainageDitchPoints]) {
  count = 0;
  if (design == nullptr || designCount < 1) return -1;
  const double innerX = design[designCount - 1].x + ditch.offset;
  double innerY = 0.0;
  int index = 0;
  if (InterpolateOnPolyline(innerX, groundCount, ground, innerY, index) == 0) return -1;
  const PairXY innerBottom{innerX + ditch.depth * ditch.innerRatio, innerY - ditch.depth};
  const PairXY outerBottom{innerBottom.x + ditch.bottomWidth, innerBottom.y};
  double groundThere = 0.0;
  int outerIndex = 0;
  if (InterpolateOnPolyline(outerBottom.x, groundCount, ground, groundThere, outerIndex) == 0 ||
      groundThere < outerBottom.y)
    return -1;
  out[0] = {innerX, innerY};
  out[1] = innerBottom;
  out[2] = outerBottom;
  const PairXY legEnd{outerBottom.x + 100 * ditch.outerRatio, outerBottom.y + 100};
  PairXY hit;
  if (IntersectSegmentWithGround(outerIndex, groundCount, ground, outerBottom, legEnd, hit) == 0 &&
      hit.y > outerBottom.y + ditch.depth / 2) {
    out[3] = hit;
    count = 4;
    return 1;
  }
  count = 2;
  return 1;
}

double CrossSectionDesigner::GroundCrossSlope(const PairXY& start, double endX, int groundCount,
                                              const PairXY* ground) {
  if (ground == nullptr || groundCount <= 0) return -1.0;
  int i = 0;
  while (i < groundCount && ground[i].x < start.x) ++i;
  if (i >= groundCount - 1) return -1.0;
  const int from = i <= 1 ? i : i - 1;
  int to = from;
  while (to < groundCount - 1 && ground[to].x < endX) ++to;
  to = std::min(to, from + kMaxFitPoints - 1);
  const int n = to - from + 1;
  double x[kMaxFitPoints + 1], y[kMaxFitPoints + 1];
  for (int k = 1; k <= n; ++k) {
    x[k] = ground[from + k - 1].x;
    y[k] = ground[from + k - 1].y;
  }
  double a, b, sigA, sigB, chi2, q;
  // Too few points (or all at one offset) for a fit: the slope of flat ground.
  if (!FitStraightLine(x, y, n, nullptr, 0, a, b, sigA, sigB, chi2, q)) return 0.0;
  return b;
}

int CrossSectionDesigner::LowerFormation(int direction, int designCount, const PairXY* design, double thickness,
                                         std::vector<PairXY>& out) {
  out.clear();
  if (design == nullptr || designCount <= 0) return thickness < 0.001 ? 1 : 0;
  if (thickness < 0.001) {
    out.assign(design, design + designCount);
    return 1;
  }
  if (designCount < 5) {  // no roadbed template to lower
    out.assign(design, design + designCount);
    return 0;
  }
  const double y0 = design[0].y;
  for (int k = 0; k < 5; ++k) out.push_back({design[k].x, y0 - thickness - 0.04 * design[k].x});
  if (designCount == 5) return 0;
  if (direction < 0) {
    const PairXY a = out[0], b = out[3];
    for (int j = 4; j + 1 < designCount; ++j) {
      const PairXY& p = design[j];
      const PairXY& q = design[j + 1];
      double X = 0.0, Y = 0.0;
      if (BAS_DRAW_FUN::IntersectSegments(X, Y, a.x, a.y, b.x, b.y, p.x, p.y, q.x, q.y) == -1) continue;
      if (X >= p.x - 0.001 && X <= q.x + 0.001 && Y >= q.y - 0.001 && Y <= p.y + 0.001) {
        out[4] = {X, Y};
        out.insert(out.end(), design + j + 1, design + designCount);
        return 1;
      }
    }
  }
  // A cutting, or a fill whose slope the lowered formation does not reach:
  // the lowered top is closed by the design line from the real shoulder on.
  out.insert(out.end(), design + 4, design + designCount);
  return 0;
}

void CrossSectionDesigner::FillCutAreas(int direction, int designCount, const PairXY* design, int groundCount,
                                        const PairXY* ground, double thickness, double& fill, double& cut) {
  std::vector<PairXY> lowered;
  LowerFormation(direction, designCount, design, thickness, lowered);
  FillCutAreas(static_cast<int>(lowered.size()), lowered.data(), groundCount, ground, fill, cut);
}

double CrossSectionDesigner::ImprovedSoilArea(int direction, int designCount, const PairXY* design,
                                              int groundCount, const PairXY* ground, double surfaceThickness,
                                              double improvedThickness) {
  auto fillBelow = [&](double thickness) {
    std::vector<PairXY> lowered;
    if (LowerFormation(direction, designCount, design, thickness, lowered) == 0) return 0.0;
    double fill = 0.0, cut = 0.0;
    FillCutAreas(static_cast<int>(lowered.size()), lowered.data(), groundCount, ground, fill, cut);
    return fill;
  };
  const double f1 = fillBelow(surfaceThickness);
  const double f2 = fillBelow(surfaceThickness + improvedThickness);
  return std::max(0.0, f1 - f2);
}

SideAreaResult CrossSectionDesigner::SideAreas(int designCount, const PairXY* design, int groundCount,
                                               const PairXY* ground, double surfaceThickness,
                                               double topsoilThickness, double improvedThickness,
                                               double protectionWidth, double searchWidth, int direction,
                                               const PairXY& start, const SlopeGradeArrays& grades) {
  SideAreaResult r;
  double fill = 0.0;
  FillCutAreas(direction, designCount, design, groundCount, ground, surfaceThickness, fill, r.cut);
  if (fill > 0.0 && topsoilThickness > 0.0 && ground != nullptr && groundCount > 0 && designCount >= 5) {
    // Grade the slope again over the ground stripped of its topsoil.
    std::vector<PairXY> stripped(ground, ground + groundCount);
    for (PairXY& p : stripped) p.y -= topsoilThickness;
    double unused = 0.0;
    int index = 0;
    InterpolateOnPolyline(start.x, groundCount, stripped.data(), unused, index);
    std::vector<PairXY> graded;
    const int result =
        GradeSlope(direction, start, grades, index, groundCount, stripped.data(), 100.0, graded, searchWidth);
    if (result == 1 || result == -2) {
      std::vector<PairXY> outline(design, design + 5);
      outline.insert(outline.end(), graded.begin(), graded.end());
      double strippedFill = 0.0, strippedCut = 0.0;
      FillCutAreas(direction, static_cast<int>(outline.size()), outline.data(), groundCount, stripped.data(),
                   surfaceThickness, strippedFill, strippedCut);
      r.topsoil = std::max(0.0, strippedFill - fill);
    }
  }
  if (fill > 0.0 && improvedThickness > 0.0)
    r.improvedSoil = ImprovedSoilArea(direction, designCount, design, groundCount, ground, surfaceThickness,
                                      improvedThickness);
  if (direction < 0)
    r.shoulderLayer = ShoulderLayerArea(protectionWidth, surfaceThickness, grades.count > 0 ? grades.ratio[0] : 0.0);
  r.fill = std::max(0.0, fill - r.improvedSoil - r.shoulderLayer);
  return r;
}

void CrossSectionDesigner::SurfaceBeyondToe(int groundCount, const PairXY* ground, int designCount,
                                            const PairXY* design, std::vector<PairXY>& out) {
  out.clear();
  if (design != nullptr && designCount > 0) out.assign(design, design + designCount);
  if (ground == nullptr) return;
  const double lastX = out.empty() ? -1e300 : out.back().x;
  for (int i = 0; i < groundCount; ++i)
    if (ground[i].x > lastX) out.push_back(ground[i]);
}

void CrossSectionDesigner::DitchAreas(int surfaceCount, const PairXY* surface, int ditchCount, const PairXY* ditch,
                                      double& fill, double& cut) {
  if (ditch == nullptr || ditchCount < 1 || ditch[0].x < 0.01) return;
  FillCutAreas(ditchCount, ditch, surfaceCount, surface, fill, cut);
}
