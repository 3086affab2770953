#pragma once
// The lists that tie the drawn design lines to their reactors and sections:
//
//   SectionReactorList  {design line id, its DesignLineReactor}, one entry per
//                       reactor the section drawing attached; the list owns
//                       the reactors until they are detached;
//   DesignLineList      one entry per drawn design line, by which the slope
//                       editing finds the lines of a range of sections;
//   PendingReactorList  reactors that a detach could not take off their line
//                       (it was open elsewhere): retired, still owned, and
//                       taken off by the next detach or at unload.
//
// The drawing empties the lists (DetachSectionReactors) before it draws the
// sections anew and before the project is imported again; the module's
// unload calls ReleaseSectionReactors.

#include <vector>

#include "DesignLineReactor.h"
#include "arx/dbid.h"

struct SectionReactorEntry {
  AcDbObjectId designLine;
  DesignLineReactor* reactor = nullptr;
};

struct DesignLineEntry {
  AcDbObjectId designLine;
  double chainage = 0.0;  // the section's mileage
  int sideCode = 0;       // the line's side code (-1, +1, -2, +2)
  int lineCode = 0;       // 0 baseline, -1 left line, +1 right line
  int detourIndex = -1;   // the detour designer of that side (-1 for the baseline)
};

extern std::vector<SectionReactorEntry> SectionReactorList;
extern std::vector<DesignLineEntry> DesignLineList;
extern std::vector<SectionReactorEntry> PendingReactorList;

// Takes every reactor of PendingReactorList and SectionReactorList off its
// design line (the line opened for write, an erased one too, the reactor
// removed, the line closed) and deletes it. A reactor whose line is gone
// with its drawing (no object holds it any more) is deleted without an open.
// A reactor whose line cannot be opened now is retired and kept in
// PendingReactorList. SectionReactorList and DesignLineList are emptied.
void DetachSectionReactors();

// At unload: DetachSectionReactors, then every reactor still pending is
// deleted all the same (a deleted reactor is taken off the objects that hold
// it), so no reactor of the module stays attached or alive. All three lists
// are empty afterwards.
void ReleaseSectionReactors();
