#pragma once
// DesignLineReactor: the reactor that the section drawing attaches to the
// design lines of a drawn cross-section. When the user edits a DesignLine
// (drags a grip), its modified notification reopens the section's other
// entities (the two ground lines for read, the two ditches and the note for
// write), checks their classes, picks the designer that designed the section
// (the line's line code and detour index) and has it re-design the section
// (CrossSectionDesigner::RedesignEditedSection), which rewrites the design
// line, its ditches and the note. Every outcome is a line on the command
// line; after a failure the edit stays as the user made it.
//
// The re-design writes back to the design line that is being notified: the
// reactor upgrades it from notify (AcDbObject::upgradeFromNotify), so the
// line is written as it stands, still open, and the write-back sends no
// second notification. The line itself is never opened again.
//
// The reactor holds ids only and owns no entity. SectionReactorLists.h keeps
// it with its line until it is detached.

#include "arx/dbmain.h"

class DesignLineReactor : public AcDbEntityReactor {
 public:
  // The section's left and right ground lines, the LTGOU and the JSGOU
  // ditch of the design line's side, and the note, in this order.
  DesignLineReactor(AcDbObjectId leftEarth, AcDbObjectId rightEarth, AcDbObjectId gou, AcDbObjectId jsgou,
                    AcDbObjectId note);
  ~DesignLineReactor() override;

  void modified(const AcDbObject* object) override;

  // A reactor that could not be taken off its design line is retired until
  // it can be: it hears nothing any more.
  void Retire() { m_retired = true; }
  bool IsRetired() const { return m_retired; }

  AcDbObjectId LEarthObjId;  // EarthLine, opened for read
  AcDbObjectId REarthObjId;  // EarthLine, opened for read
  AcDbObjectId m_GouObjId;   // LTGOU, opened for write
  AcDbObjectId m_JSgouId;    // JSGOU, opened for write
  AcDbObjectId m_NoteId;     // HdmText, opened for write

 private:
  bool m_retired = false;
};

// While an object of this class lives, edits of drawn design lines re-design
// nothing: the slope editing (EDITBP) writes design lines that carry reactors
// and keeps their sections as they were designed. Pauses nest.
class SectionRedesignPause {
 public:
  SectionRedesignPause();
  ~SectionRedesignPause();
  SectionRedesignPause(const SectionRedesignPause&) = delete;
  SectionRedesignPause& operator=(const SectionRedesignPause&) = delete;
  static bool Active();
};
