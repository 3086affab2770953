#pragma once
// The detour designers are globals that outlive a test: every suite that
// designs or imports detours empties them before and after.

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"

namespace detour_test {

// Frees every detour designer, clears what each was given (baseline model,
// grade points, stretches, line kind) and sets both counts in use to 0.
inline void ResetDetourDesigners() {
  for (int i = 0; i < kMaxDetourDesigners; ++i) {
    for (CrossSectionDesigner* d : {&g_LeftDetourDesigners[i], &g_RightDetourDesigners[i]}) {
      d->FreeTables();
      d->SetBaselineModel(nullptr);
      d->gradePointCount = 0;
      d->segment = DetourMileages();
      d->segmentOnDetour = DetourMileages();
      d->lineKind = "";
    }
  }
  SetDetourDesignerCount(-1, 0);
  SetDetourDesignerCount(1, 0);
}

}  // namespace detour_test
