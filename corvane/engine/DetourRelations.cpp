// Where a baseline chainage stands against the detour sections of a
// double-line scheme: its line relation, and its mileage on a detour's own
// line.

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"

namespace {

// Relation 2 in a transition stretch (sml1 .. sml2, eml2 .. eml1), 3 in the
// separated stretch (sml2 .. eml2), 0 outside the detour; 0.01 m allowance.
int RelationInDetour(const DetourMileages& s, double ML) {
  if ((ML > s.sml1 - 0.01 && ML < s.sml2 - 0.01) || (ML > s.eml2 - 0.01 && ML < s.eml1 + 0.01)) return 2;
  if (ML > s.sml2 - 0.01 && ML < s.eml2 + 0.01) return 3;
  return 0;
}

}  // namespace

void CrossSectionDesigner::FindDetourAtChainage(double ML, int& relation, int& leftIndex, int& rightIndex,
                                                int& leftFlag, int& rightFlag) const {
  leftFlag = rightFlag = 0;
  if (lineKind == "单线") {
    relation = 0;
    return;
  }
  relation = 1;
  // The left detours first, then the right ones; the first that holds ML
  // decides. Asked for every section, so no list is built here.
  for (int side : {-1, 1}) {
    const CrossSectionDesigner* d = nullptr;
    for (int i = 0; (d = DetourDesigner(side, i)) != nullptr; ++i) {
      const int found = RelationInDetour(d->segment, ML);
      if (found == 0) continue;
      relation = found;
      (side < 0 ? leftIndex : rightIndex) = i;
      (side < 0 ? leftFlag : rightFlag) = 1;
      return;
    }
  }
}

double CrossSectionDesigner::MileageOnDetourLine(int lineCode, int detour, double ML) const {
  if (lineCode != -1 && lineCode != 1) return ML;
  if (baseline == nullptr || !baseline->IsBuilt()) return ML;
  const CrossSectionDesigner* d = DetourDesigner(lineCode, detour);
  // The detour's sections and structures are on its own line; a detour
  // without one falls back to the side line it belongs to.
  const AlignmentModel* line = d != nullptr && d->baseline != nullptr && d->baseline->IsBuilt()
                                   ? static_cast<const AlignmentModel*>(d->baseline)
                                   : (lineCode < 0 ? leftLine : rightLine);
  if (line == nullptr || !line->IsBuilt()) return ML;
  LinePoint p{};
  p.mileage = ML;
  if (PointAtMileage(baseline->elements, baseline->elementCount, p) < 0) return ML;
  return MileageOfPointOnElements(line->elements, line->elementCount, p.x, p.y);
}
