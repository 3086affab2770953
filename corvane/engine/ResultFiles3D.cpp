// The 3D line data of a design: the roadbed edge points of the BJPT record,
// the section lines of Zx3d (roadbed) and Yx3d (tunnel vault), and the pier
// lines of bribase.
//
// Plan points are (x, y) as the alignment models give them, with a direction
// θ applied as (x + d cos θ, y + d sin θ); the left of a bearing is
// bearing − π/2, its right bearing + π/2.

#include <algorithm>
#include <cmath>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "ResultFileAccess.h"
#include "crt/format.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;

// Widens [low, high] by v unless |v| ≤ 0.001 (an unset point).
void Widen(double v, double& low, double& high) {
  if (std::fabs(v) <= 0.001) return;
  low = std::min(low, v);
  high = std::max(high, v);
}

// The point of a line model at ML and its bearing; false when the model
// holds no line there.
bool PlanPointAt(const AlignmentModel* model, double ML, PlanPoint& point, double& bearing) {
  if (model == nullptr || !model->IsBuilt()) return false;
  LinePoint p{};
  p.mileage = ML;
  if (BAS_DRAW_FUN::PointAtMileage(model->elements, model->elementCount, p) < 0) return false;
  point = PlanPoint{p.x, p.y, 0.0};
  bearing = p.bearing;
  return true;
}

bool InTunnel(int code) { return code == kTunnelInside || code == kTunnelStart || code == kTunnelEnd; }

}  // namespace

// ---- BJPT ----------------------------------------------------------------------------------------

int CrossSectionDesigner::WritePointRecord(FILE* fp) {
  BuildPointRecord();
  if (fp == nullptr) return 5100;
  platform::printToFile(fp, "%d\n", static_cast<int>(planBoundary.size()));
  for (const PlanBoundaryRecord& r : planBoundary) {
    platform::printToFile(fp, "%lf %d %d %lf %lf %lf %lf %lf %lf \n", r.mileage, r.leftCode, r.rightCode, r.left.x, r.left.y,
                          r.left.z, r.right.x, r.right.y, r.right.z);
    Widen(r.left.x, planMinX, planMaxX);
    Widen(r.left.y, planMinY, planMaxY);
    Widen(r.right.x, planMinX, planMaxX);
    Widen(r.right.y, planMinY, planMaxY);
  }
  return 5100;
}

// ---- Zx3d and Yx3d -------------------------------------------------------------------------------

void CrossSectionDesigner::Write3DSectionLine(FILE* fp, const PlanPoint& point, double bearing, int index,
                                              bool tunnel) const {
  if (fp == nullptr || index < 0 || index >= SectionCount()) return;
  const SectionRecord& r = sections[static_cast<size_t>(index)];
  const int n = tunnel ? 10 : 8;
  platform::printToFile(fp, "%0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %0.3lf %lf %d %0.3lf %0.3lf %d %d\n", r.mileage, r.formCode[0],
                        r.formCode[1], point.x, point.y, r.shoulderDesignElevation, bearing, r.leftCode, r.crownOffset[0],
                        r.crownOffset[1], n, n);
  const double e = r.shoulderDesignElevation;
  const double H1 = halfDistance1;
  const double H2 = halfDistance2;
  for (double direction : {bearing - kHalfPi, bearing + kHalfPi}) {
    direction = ::NormalizeAngle(direction);
    const double ux = std::cos(direction);
    const double uy = std::sin(direction);
    auto put = [&](double d, double z) { platform::printToFile(fp, "%lf %lf %lf\n", point.x + d * ux, point.y + d * uy, z); };
    put(0.0, e + 0.35);
    put(1.8, e + 0.35);
    put(2.15, e);
    if (!tunnel) {
      put(H1, e);
      put(H1, e - 0.2);
      put(H1 - 1.0, e - 0.5);
      put(H1 - 1.0, e - 2.5);
      put(0.0, e - 2.5);
    } else {
      put(H2, e);
      // The vault: a half circle of radius H2 about the point 4.25 above
      // the shoulder, from its side up to its crown.
      for (int k = 0; k <= 5; ++k) {
        const double phi = k * kPi / 10.0;
        put(H2 * std::cos(phi), e + 4.25 + H2 * std::sin(phi));
      }
    }
  }
}

int CrossSectionDesigner::Save3DSectionFiles() {
  FILE* roadbed = OpenResultFileOrAlert("Zx3d", "w");
  if (roadbed == nullptr) return 0;
  FILE* vault = OpenResultFileOrAlert("Yx3d", "w");
  if (vault == nullptr) {
    std::fclose(roadbed);
    return 0;
  }
  platform::printToFile(roadbed, "%10d\n", 0);
  platform::printToFile(vault, "%10d\n", 0);
  int roadbedCount = 0, vaultCount = 0;
  for (int i = 0; i < SectionCount(); ++i) {
    PlanPoint point;
    double bearing = 0.0;
    if (!PlanPointAt(baseline, sections[static_cast<size_t>(i)].mileage, point, bearing)) continue;
    const bool tunnel = InTunnel(sections[static_cast<size_t>(i)].leftCode);
    Write3DSectionLine(tunnel ? vault : roadbed, point, bearing, i, tunnel);
    ++(tunnel ? vaultCount : roadbedCount);
  }
  std::rewind(roadbed);
  platform::printToFile(roadbed, "%10d\n", roadbedCount);
  std::rewind(vault);
  platform::printToFile(vault, "%10d\n", vaultCount);
  const bool ok = CloseResultFile(roadbed, "Zx3d");
  return CloseResultFile(vault, "Yx3d") && ok ? 1 : 0;
}

// ---- bribase ------------------------------------------------------------------------------------------

void CrossSectionDesigner::WriteBridgeBaseLines(double startMileage, FILE* fp, int& lines, int lineFlag) const {
  if (fp == nullptr || sections.empty()) return;
  const double first = sections.front().mileage - 0.1;
  const double last = sections.back().mileage + 0.1;
  const int entries = std::min(std::max(bridgeSpanCount, 0), kMaxBridgeSpans);
  double m = startMileage;
  // The spans from the last entry to the first; the first entry's last span
  // ends at the abutment, which is no pier.
  for (int e = entries - 1; e >= 0; --e) {
    const int spans = bridgeSpans[e].count - (e == 0 ? 1 : 0);
    for (int k = 0; k < spans; ++k) {
      m += bridgeSpans[e].length;
      if (m < first || m > last) continue;
      PlanPoint p;
      double bearing = 0.0;
      if (!PlanPointAt(baseline, m, p, bearing)) continue;
      if (lineFlag != 0 && lineKind == "双线" && leftLine != nullptr && rightLine != nullptr) {
        // A pier under two close tracks stands between them.
        double leftOffset = 0.0, rightOffset = 0.0;
        LinePoint other{};
        double otherMileage = 0.0;
        SpacingToOtherLine(m, baseline->elements, baseline->elementCount, leftLine->elements, leftLine->elementCount,
                           leftOffset, otherMileage, other);
        SpacingToOtherLine(m, baseline->elements, baseline->elementCount, rightLine->elements,
                           rightLine->elementCount, rightOffset, otherMileage, other);
        if (std::fabs(leftOffset + rightOffset) < 6.0) {
          const double shift = (leftOffset + rightOffset) / 2.0;
          p.x += shift * std::cos(bearing + kHalfPi);
          p.y += shift * std::sin(bearing + kHalfPi);
        }
      }
      int code = 1;
      if (lineFlag == 0) {
        int relation = 0, li = -1, ri = -1, lf = 0, rf = 0;
        FindDetourAtChainage(m, relation, li, ri, lf, rf);
        // Two tracks on the pier except in a single-line scheme and where a
        // detour has left the line.
        code = relation != 0 && relation != 3 ? 2 : 1;
      }
      platform::printToFile(fp, "%lf %lf %lf %lf %lf %d\n", m, p.x, p.y, GradeLineElevation(m) - 2.0, bearing, code);
      ++lines;
    }
  }
}

int CrossSectionDesigner::SaveBridgeBaseFile() {
  FILE* fp = OpenResultFileOrAlert("bribase", "w");
  if (fp == nullptr) return 0;
  platform::printToFile(fp, "%10d\n", 0);
  int lines = 0;
  const double start = baseline != nullptr ? baseline->StartMileage() : 0.0;
  WriteBridgeBaseLines(start, fp, lines, 0);
  for (const CrossSectionDesigner* d : DetourDesignersInUse()) {
    const double detourStart = d->baseline != nullptr ? d->baseline->StartMileage() : 0.0;
    d->WriteBridgeBaseLines(detourStart, fp, lines, 1);
  }
  std::rewind(fp);
  platform::printToFile(fp, "%10d\n", lines);
  return CloseResultFile(fp, "bribase") ? 1 : 0;
}

// ---- The 3D step of a design run ----------------------------------------------------------------------

int CrossSectionDesigner::SaveThreeDData() {
  // The point files as the save run writes them (BJPT, RXDBJPT, 3DFW, Hole);
  // the hole outlines they leave behind are needed no longer.
  const int points = SavePointFiles();
  FreeHoles();
  if (!points) return 0;
  // Nor are the boundary records.
  planBoundary.clear();
  planBoundary.shrink_to_fit();
  return Save3DSectionFiles() && SaveBridgeBaseFile() ? 1 : 0;
}
