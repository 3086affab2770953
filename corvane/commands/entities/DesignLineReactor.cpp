// The design-line reactor: an edited design line has its section re-designed.

#include "DesignLineReactor.h"

#include "CrossSectionDesigner.h"
#include "DesignLine.h"
#include "DesignerGlobals.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"
#include "SectionDrawingSupport.h"
#include "SectionEntityTable.h"
#include "arx/dbents.h"
#include "arx/edoutput.h"

namespace {

int g_pauses = 0;

// The five entities of a section in the reactor's roles.
enum Role { kLeftEarth, kRightEarth, kGou, kJSgou, kNote, kRoles };

struct RoleOpen {
  const char* field;        // the reactor's field, for the messages
  AcDb::OpenMode mode;
  AcRxClass* (*desc)();     // the class it must be of
  const char* wrongClass;   // the line printed when it is not
};

const char* const kNotAWindow = "It should only be attached to RectWindow custom Entities. Sorry.\n";

const RoleOpen kRoleOpens[kRoles] = {
    {"LEarthObjId", AcDb::kForRead, &EarthLine::desc, kNotAWindow},
    {"REarthObjId", AcDb::kForRead, &EarthLine::desc, kNotAWindow},
    {"m_GouObjId", AcDb::kForWrite, &LTGOU::desc, "It should only be attached to 水沟实体. Sorry.\n"},
    {"m_JSgouId", AcDb::kForWrite, &JSGOU::desc, "It should only be attached to 天沟实体. Sorry.\n"},
    {"m_NoteId", AcDb::kForWrite, &HdmText::desc, kNotAWindow},
};

// The slot role of each reactor role.
constexpr SectionEntityRole kSlotRoles[kRoles] = {kRoleLeftEarth, kRoleRightEarth, kRoleDitch, kRoleTopDitch,
                                                  kRoleNote};

const char* OpenSuffix(Acad::ErrorStatus es) {
  if (es == Acad::eWasOpenedForWrite) return " (open for write)";
  if (es == Acad::eWasOpenedForNotify) return " (open for notify)";
  return "";
}

const char* ClassName(const AcRxObject* object) {
  AcRxClass* c = object != nullptr ? object->isA() : nullptr;
  return c != nullptr ? c->name() : "AcRxObject";
}

// The designer of a drawn line: the baseline's for line code 0 with detour
// index -1, a detour designer in use for line code -1 or +1; none otherwise.
CrossSectionDesigner* DesignerOf(const DesignLineData& d) {
  if (d.lineCode == 0) return d.detourIndex == -1 ? &g_BaselineDesigner : nullptr;
  if (d.lineCode == -1 || d.lineCode == 1) return DetourDesigner(d.lineCode, d.detourIndex);
  return nullptr;
}

// Writes the formation width of the re-designed section into its sheet's
// "路基面宽" text (found by the id its drawing recorded).
void RewriteFormationWidth(const CrossSectionDesigner& designer, const DesignLineData& data, bool doubleLine) {
  if (data.sectionRow < 0 || data.sectionRow >= designer.SectionCount()) return;
  // Both slots of the section hold the id; the left one is there for every line.
  const SectionEntitySlot* slot = FindSectionEntitySlot(data.entityTable, data.sectionRow, -1);
  if (slot == nullptr || slot->widthText.isNull()) return;
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, slot->widthText, AcDb::kForWrite, false) != Acad::eOk || entity == nullptr) return;
  // Only the section's own width text: the id of an erased or another entity is left alone.
  AcDbText* text = AcDbText::cast(entity);
  const CString was = text != nullptr ? CString(text->textString()) : CString();
  if (was.Find("路基面宽 ") == 0) {
    const double width = designer.sections[static_cast<size_t>(data.sectionRow)].FormationWidth(doubleLine);
    const CString now = section_drawing::FormationWidthText(width);
    if (now != was) text->setTextString(now.GetString());
  }
  entity->close();
}

}  // namespace

DesignLineReactor::DesignLineReactor(AcDbObjectId leftEarth, AcDbObjectId rightEarth, AcDbObjectId gou,
                                     AcDbObjectId jsgou, AcDbObjectId note)
    : LEarthObjId(leftEarth), REarthObjId(rightEarth), m_GouObjId(gou), m_JSgouId(jsgou), m_NoteId(note) {}

DesignLineReactor::~DesignLineReactor() = default;

void DesignLineReactor::modified(const AcDbObject* object) {
  if (m_retired || SectionRedesignPause::Active()) return;
  // 1. Only design lines are re-designed.
  DesignLine* line = DesignLine::cast(object);
  if (line == nullptr) {
    acutPrintf("This is a %s.\n", ClassName(object));
    acutPrintf("I only work with 设计线实体. Sorry.\n");
    return;
  }

  // 2. The section's other entities, each checked before the next is opened;
  // whatever was opened is closed again on every way out.
  const AcDbObjectId ids[kRoles] = {LEarthObjId, REarthObjId, m_GouObjId, m_JSgouId, m_NoteId};
  AcDbEntity* opened[kRoles] = {};
  auto closeOpened = [&opened]() {
    for (AcDbEntity*& e : opened)
      if (e != nullptr) {
        e->close();
        e = nullptr;
      }
  };
  for (int r = 0; r < kRoles; ++r) {
    const RoleOpen& role = kRoleOpens[r];
    const Acad::ErrorStatus es = acdbOpenAcDbEntity(opened[r], ids[r], role.mode, true);
    if (es != Acad::eOk) {
      acutPrintf("\nacdbOpenObject in %s failed with error %d%s.\n", role.field, static_cast<int>(es), OpenSuffix(es));
      closeOpened();
      return;
    }
    AcRxClass* wanted = role.desc();
    if (wanted == nullptr || !opened[r]->isKindOf(wanted)) {
      acutPrintf("This reactor is attached to a %s.\n", ClassName(opened[r]));
      acutPrintf("%s", role.wrongClass);
      closeOpened();
      return;
    }
  }

  // 3. The access each role needs.
  opened[kLeftEarth]->assertReadEnabled();
  opened[kRightEarth]->assertReadEnabled();
  for (int r : {kGou, kJSgou, kNote}) opened[r]->assertWriteEnabled(false, false);

  // 4. The entities the drawing recorded for this section and side stand in
  // for the opened ones only where they are those very entities: a slot left
  // from an earlier drawing, or holding entities a printing run made, is not
  // used. So the entities worked on are always the five opened here, and
  // exactly those are closed at the end.
  const DesignLineData& data = line->Data();
  AcDbEntity* use[kRoles] = {opened[0], opened[1], opened[2], opened[3], opened[4]};
  if (data.side == -1 || data.side == 1)
    if (const SectionEntitySlot* slot = FindSectionEntitySlot(data.entityTable, data.sectionRow, data.side))
      for (int r = 0; r < kRoles; ++r)
        if (slot->entity[kSlotRoles[r]] == opened[r]) use[r] = slot->entity[kSlotRoles[r]];

  // 5. The designer of the section.
  CrossSectionDesigner* designer = DesignerOf(data);
  if (designer == nullptr) {
    closeOpened();
    return;
  }

  // 6. The re-design, written back to the line being notified.
  Adesk::Boolean wasWritable = false;
  if (line->upgradeFromNotify(wasWritable) != Acad::eOk && !line->isWriteEnabled()) {
    closeOpened();
    return;
  }
  SectionNoteData& note = HdmText::cast(use[kNote])->Edit();
  const int redesigned = designer->RedesignEditedSection(
      data.sectionRow, line->Edit(), &EarthLine::cast(use[kLeftEarth])->Data(), LTGOU::cast(use[kGou])->Edit(),
      JSGOU::cast(use[kJSgou])->Edit(), &EarthLine::cast(use[kRightEarth])->Data(), note);
  const bool doubleLine = note.kind == 2;
  line->downgradeToNotify(wasWritable);

  // 7. The five entities opened in step 2.
  closeOpened();

  // 8. The sheet's formation width under the section, which the edit of a
  // shoulder changed.
  if (redesigned) RewriteFormationWidth(*designer, data, doubleLine);
}

SectionRedesignPause::SectionRedesignPause() { ++g_pauses; }
SectionRedesignPause::~SectionRedesignPause() { --g_pauses; }
bool SectionRedesignPause::Active() { return g_pauses > 0; }
