#pragma once
// The designers of the module and the values that all its drawing code
// shares. They live from the module's load to its unload.

#include <vector>

#include "sheet/automation.h"

class CrossSectionDesigner;

constexpr int kMaxDetourDesigners = 100;

// Multiplies every local length of a section when it is drawn. Every
// construction of a designer sets it to 5.0; the drawing dialog sets it to
// 1000 / scale.
extern double g_DrawingFactor;

// The last merged range of the quantity sheet (a handle; an empty handle
// when there is none); every construction of a designer empties it.
extern sheet::Range g_LastMergedRange;

// The baseline designer, and the designers of the left-line and right-line
// detour sections with the number of each in use (0 .. kMaxDetourDesigners).
extern CrossSectionDesigner g_BaselineDesigner;
extern CrossSectionDesigner g_LeftDetourDesigners[kMaxDetourDesigners];
extern CrossSectionDesigner g_RightDetourDesigners[kMaxDetourDesigners];
extern int g_LeftDetourCount;
extern int g_RightDetourCount;

// Sets the number of detour designers in use of one side (side < 0 the left
// line, otherwise the right). A count outside 0 .. kMaxDetourDesigners is
// refused with a message on the command line and the count is left as it was.
// Returns 1 or 0.
int SetDetourDesignerCount(int side, int count);

// The detour designers of one side (side < 0 the left line, otherwise the
// right) that the designers and the drawing use now: the module's, or those
// of a command run that designs on its own (RunDetourDesigners).
CrossSectionDesigner* DetourDesignerArray(int side);

// For one command run that designs on a designer of its own (CALTSF, CALTWB,
// CALHDMDMX): the run reads and frees detour designers of its own, with
// counts of 0 to begin with, and when the scope ends the module's detour
// designers and counts come back as they were, so that the module's design
// (its baseline designer and its detours) is left untouched by the run.
class RunDetourDesigners {
 public:
  RunDetourDesigners();
  ~RunDetourDesigners();
  RunDetourDesigners(const RunDetourDesigners&) = delete;
  RunDetourDesigners& operator=(const RunDetourDesigners&) = delete;

 private:
  CrossSectionDesigner* m_previous[2];
  int m_previousCount[2];
  CrossSectionDesigner* m_own[2];
};

// The detour designer `index` of one side; null when the index is not in use.
CrossSectionDesigner* DetourDesigner(int side, int index);

// The detour designers in use of one side (side < 0 the left line, otherwise
// the right), in index order; empty when the side's count is out of range.
std::vector<CrossSectionDesigner*> DetourDesignersInUse(int side);
// Every detour designer in use: the left ones, then the right ones.
std::vector<CrossSectionDesigner*> DetourDesignersInUse();
