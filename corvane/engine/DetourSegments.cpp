// The stretches of every detour section on the baseline: where the two
// roadbeds begin to separate (sml1), have separated (sml2), begin to join
// again (eml2) and have joined (eml1), found by walking the baseline's
// sections from the detour's start and end.

#include <cmath>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "arx/edoutput.h"

namespace {

bool Near(double value, double target, double tolerance) { return std::fabs(value - target) < tolerance; }

bool InStructure(int code) {
  return Near(code, kBridgeInside, 0.1) || Near(code, kTunnelInside, 0.1) || Near(code, kStationInside, 0.1);
}

// The width an inner trial slope takes from its track's centre: down the
// embankment from the shoulder, or beyond the side ditch and up the cutting.
double TrialSlopeWidth(const CrossSectionDesigner& d, int side, double ML, const PairXY top[4], double reference,
                       bool cuttingDistance, const std::vector<PairXY>& ground) {
  const SideStandardsAt st = d.LookupSideStandards(side, ML);
  const PairXY shoulder{top[3].x, top[3].y - reference};
  PairXY start = shoulder;
  SlopeGradeArrays grades = st.embankment;
  int direction = -1;
  if (cuttingDistance) {
    const double platform = st.cutting.count > 0 ? st.cutting.bermWidth[0] : 0.0;
    const double platformSlope = st.cutting.count > 0 ? st.cutting.bermSlope[0] : 0.0;
    start = {shoulder.x + st.sideDitch.topWidth + platform, shoulder.y + platform * platformSlope / 100.0};
    grades = ShiftedCuttingGrades(st.cutting);
    direction = 1;
  }
  double value = 0.0;
  int index = 0;
  const int count = static_cast<int>(ground.size());
  CrossSectionDesigner::InterpolateOnPolyline(start.x, count, ground.data(), value, index);
  std::vector<PairXY> graded;
  CrossSectionDesigner::GradeSlope(direction, start, grades, std::max(index, 0), count, ground.data(), 100.0,
                                   graded, 100.0);
  return graded.empty() ? start.x : graded.back().x;
}

}  // namespace

// ---- The searches along the sections --------------------------------------------------------------

namespace {

// Walks the sections from the first at or after ML − 0.001 in the given
// direction until `stop(index)` holds or the next section passes `limit`.
// The index reached; -1 when no section lies between ML and the limit (a
// detour beyond the sections finds none, rather than the last section).
template <class Stop>
int WalkSections(const std::vector<SectionRecord>& sections, double ML, double limit, bool forwards, Stop stop) {
  const int n = static_cast<int>(sections.size());
  if (n == 0) return -1;
  int k = 0;
  while (k < n && sections[static_cast<size_t>(k)].mileage < ML - 0.001) ++k;
  if (forwards && (k == n || sections[static_cast<size_t>(k)].mileage > limit + 0.001)) return -1;
  if (k == n) k = n - 1;
  if (!forwards && sections[static_cast<size_t>(k)].mileage < limit - 0.001) return -1;
  for (;;) {
    if (stop(k)) return k;
    const int next = forwards ? k + 1 : k - 1;
    if (next < 0 || next >= n) return k;
    const double m = sections[static_cast<size_t>(next)].mileage;
    if (forwards ? m > limit : m < limit) return k;
    k = next;
  }
}

}  // namespace

void CrossSectionDesigner::FindSeparationBySpacing(int detour, double ML, double limit, int forwards, int lineCode,
                                                   double& mileage, int& index, double& onLine) const {
  index = WalkSections(sections, ML, limit, forwards != 0, [this](int k) {
    const SectionRecord& r = sections[static_cast<size_t>(k)];
    if (InStructure(r.leftCode) || InStructure(r.rightCode)) return true;
    return std::fabs(r.leftLineOffset) + std::fabs(r.rightLineOffset) > r.separationWidth;
  });
  mileage = index >= 0 ? sections[static_cast<size_t>(index)].mileage : ML;
  onLine = MileageOnDetourLine(lineCode, detour, mileage);
}

void CrossSectionDesigner::FindSeparationBySlopes(int detour, double ML, double limit, int forwards, int lineCode,
                                                  double& mileage, int& index, double& onLine) const {
  index = WalkSections(sections, ML, limit, forwards != 0, [this](int k) {
    const SectionRecord& r = sections[static_cast<size_t>(k)];
    if (InStructure(r.leftCode) || InStructure(r.rightCode)) return true;
    if (r.groundBlocks.empty()) return false;
    // Trial inner slopes of the two tracks on the ground line: separated
    // once they take no more than the spacing between the tracks.
    const GroundBlock& block = r.groundBlocks.front();
    double centre = 0.0, leftElevation = 0.0, rightElevation = 0.0;
    DesignElevationsAt(false, r.mileage, centre, leftElevation, rightElevation);
    double cL = 0.0, cR = 0.0, flags[kSectionSides] = {}, fills[2] = {};
    PairXY tops[kSectionSides][4] = {};
    DoubleLineRoadbedTop(r.mileage, r.groundElevation, r.leftLineOffset, r.rightLineOffset, r.curveWidening,
                         r.rightCurveWidening, block.leftCount, block.left, block.rightCount, block.right,
                         leftElevation, rightElevation, cL, cR, tops, flags, fills);
    double referenceL = 0.0, referenceR = 0.0;
    std::vector<PairXY> outerL, innerL, innerR, outerR;
    GroundProfileFrom(cL, r.groundElevation, block.leftCount, block.left, block.rightCount, block.right, referenceL,
                      outerL, innerL);
    GroundProfileFrom(cR, r.groundElevation, block.leftCount, block.left, block.rightCount, block.right, referenceR,
                      innerR, outerR);
    const double widthL = TrialSlopeWidth(*this, 1, r.mileage, tops[1], referenceL, flags[1] > 0.01, innerL);
    const double widthR = TrialSlopeWidth(*this, -1, r.mileage, tops[2], referenceR, flags[2] > 0.01, innerR);
    return widthL + widthR <= std::fabs(cL) + std::fabs(cR);
  });
  mileage = index >= 0 ? sections[static_cast<size_t>(index)].mileage : ML;
  onLine = MileageOnDetourLine(lineCode, detour, mileage);
}

// ---- The detour stretches ------------------------------------------------------------------------------

void CrossSectionDesigner::ComputeDetourSegments() {
  if (baseline == nullptr || !baseline->IsBuilt()) return;
  const double baseStart = baseline->StartMileage();
  const double baseEnd = baseline->EndMileage();
  for (int lineCode : {-1, 1}) {
    const SideLineModel* line = lineCode < 0 ? leftLine : rightLine;
    if (line == nullptr) continue;
    const std::vector<CrossSectionDesigner*> detours = DetourDesignersInUse(lineCode);
    const int count = static_cast<int>(detours.size());
    for (int i = 0; i < count; ++i) {
      CrossSectionDesigner* d = detours[static_cast<size_t>(i)];
      d->detourIndex = i;
      d->detourSide = lineCode;
      DetourMileages& b = d->segment;
      DetourMileages& o = d->segmentOnDetour;
      line->DetourRangeOnBaseline(i, b.S1, b.E1);
      o.S1 = MileageOnDetourLine(lineCode, i, b.S1);
      o.E1 = MileageOnDetourLine(lineCode, i, b.E1);
      const AlignmentModel* own = d->baseline != nullptr && d->baseline->IsBuilt() ? d->baseline : line;
      const bool atStart = std::fabs(b.S1 - baseStart) < 0.1;
      if (atStart)
        o.S1 = own->StartMileage();
      else if (std::fabs(b.E1 - baseEnd) < 0.1)
        o.E1 = own->EndMileage();

      int at = 0;
      if (atStart) {
        // A detour from the start of the line: every search runs backwards.
        FindSeparationBySpacing(i, b.S1, b.E1, 0, lineCode, b.sml1, at, o.sml1);
        FindSeparationBySpacing(i, b.E1, b.S1, 0, lineCode, b.eml1, at, o.eml1);
        FindSeparationBySlopes(i, b.sml1, b.E1, 0, lineCode, b.sml2, d->sml2Section, o.sml2);
        FindSeparationBySlopes(i, b.eml1, b.S1, 0, lineCode, b.eml2, d->eml2Section, o.eml2);
        if (o.eml2 - o.sml2 < 0.1) {
          o.eml2 = o.eml1;
          b.eml2 = b.eml1;
        }
      } else {
        FindSeparationBySpacing(i, b.S1, b.E1, 1, lineCode, b.sml1, at, o.sml1);
        FindSeparationBySpacing(i, b.E1, b.S1, 0, lineCode, b.eml1, at, o.eml1);
        FindSeparationBySlopes(i, b.sml1, b.E1, 1, lineCode, b.sml2, d->sml2Section, o.sml2);
        FindSeparationBySlopes(i, b.eml1, b.S1, 0, lineCode, b.eml2, d->eml2Section, o.eml2);
        // A line whose last IP belongs to this detour ends inside it.
        if (i == count - 1 && line->ipCount > 0 && line->sideIps[line->ipCount - 1].kind == 1)
          o.eml1 = o.eml2 = own->EndMileage();
      }
      if (lineCode > 0)
        acutPrintf("iy=%d sml1=%lf sml2=%lf eml2=%lf eml1=%lf\n", i, b.sml1, b.sml2, b.eml2, b.eml1);
    }
  }
}
