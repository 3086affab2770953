#pragma once
// The two ditch entities of a drawn cross-section side (SectionDitchData,
// SectionEntityData.h):
//   LTGOU (水沟) the drainage ditch beyond a fill, or the point symbol of a
//   side end without one: shown while the side's ditch kind is 0 or 1;
//   JSGOU (天沟) the top ditch above a cutting: shown while it is 2.
// Each draws its ditch, its lining and the ditch bottom's elevation. Both are
// registered with their class name as DXF name, application "\"Corvane\"",
// proxy flags 0, and file their data, so a saved section sheet reopens with
// its ditches.

#include "SectionEntity.h"
#include "SectionEntityData.h"

// What the two ditch entities share (not a class of its own in the drawing).
class SectionDitchEntity : public SectionEntity<SectionDitchData> {
 public:
  ~SectionDitchEntity() override;

  // Whether the entity shows the side's ditch kind now.
  bool Shows() const { return SectionDitchData::ShowsKind(IsTopDitch(), m_data.kind); }

  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  void list() const override;

 protected:
  SectionDitchEntity();
  virtual bool IsTopDitch() const = 0;
};

class LTGOU : public SectionDitchEntity {
 public:
  ACRX_DECLARE_MEMBERS(LTGOU);
  static LTGOU* CastFromObject(const AcRxObject* object) { return cast(object); }

 protected:
  bool IsTopDitch() const override { return false; }
};

class JSGOU : public SectionDitchEntity {
 public:
  ACRX_DECLARE_MEMBERS(JSGOU);
  static JSGOU* CastFromObject(const AcRxObject* object) { return cast(object); }

 protected:
  bool IsTopDitch() const override { return true; }
};
