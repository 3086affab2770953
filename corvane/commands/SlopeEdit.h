#pragma once
// EDITBP: the slope grades and the formation width of a drawn design line,
// changed in the slope and width dialog (2532) and applied to the picked
// line only, to the run of like sections around it (the current work point)
// or to every drawn section of the same line. The drawn DesignLine entities
// are changed, each opened for write before it is changed; the section
// designer is not run again: the writes are made under a
// SectionRedesignPause, so that the reactors of the edited lines leave the
// edit as the user made it (a grip drag still re-designs).
//
// Which slope table of a line is edited, the embankment's or the cutting's,
// follows the line's form code (DesignLineData::IsEmbankmentTable: a fill
// side edits the embankment grades).

#include "arx/dbid.h"

// The grades a slope edit writes: `count` rows of the three arrays.
struct SlopeGradeEdit {
  int count = 0;
  const double* ratio = nullptr;
  const double* height = nullptr;
  const double* berm = nullptr;
};

// The scope of an edit (the dialog's three flags; the first set one counts).
struct SlopeEditScope {
  bool currentSection = false;
  bool workPoint = false;
  bool wholeLine = false;
};

// The section index last changed by a slope edit (-1 before any).
extern int g_LastEditedSection;

void OnCmdEDITBP();

// Writes the grades under a SectionRedesignPause.
void ApplySlopeEdit(const SlopeEditScope& scope, AcDbObjectId lineId, const SlopeGradeEdit& grades);

// The section of the edited line (chainage within 0.01) in its designer and
// the range to change: the whole line, or the run of like sections. False
// when the line is no DesignLine, its designer is none, or no section is found.
bool FindSlopeEditScope(AcDbObjectId lineId, bool wholeLine, int& first, int& last, int& section);

// Changes every drawn design line of the edited line's kind, side and
// designer whose section lies in first..last (chainage within 0.1). A failed
// open ends the operation.
void ApplySlopeToSectionRange(AcDbObjectId lineId, int first, int last, const SlopeGradeEdit& grades);
