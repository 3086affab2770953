#pragma once
// HdmText: the note of a drawn cross-section (SectionNoteData,
// SectionEntityData.h): the centre fill/cut height, the fill and cut areas
// and the land take of both sides, as lines of text; it also carries the
// section's kind (which re-design an edit of the section runs) and its whole
// area block. Registered as "HdmText" with the DXF name "0", application
// "\"Corvane\"" and proxy flags 1023 (the drawing files it under its class
// name, as "0" cannot stand as an entity type); it files its data, so a saved
// section sheet reopens with its notes.

#include "SectionEntity.h"
#include "SectionEntityData.h"

class HdmText : public SectionEntity<SectionNoteData> {
 public:
  ACRX_DECLARE_MEMBERS(HdmText);
  HdmText();
  ~HdmText() override;

  static HdmText* CastFromObject(const AcRxObject* object) { return cast(object); }

  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  void list() const override;
};
