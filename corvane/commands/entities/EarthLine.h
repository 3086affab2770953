#pragma once
// EarthLine: the ground line of one side of a drawn cross-section
// (EarthLineData, SectionEntityData.h), drawn as a polyline from the centre
// outwards. Registered as "EarthLine" (DXF name "EarthLine", application
// "\"Corvane\"", proxy flags 0); it files its side and its points, so a saved
// section sheet reopens with its ground lines.

#include "SectionEntity.h"
#include "SectionEntityData.h"

class EarthLine : public SectionEntity<EarthLineData> {
 public:
  ACRX_DECLARE_MEMBERS(EarthLine);
  EarthLine();
  ~EarthLine() override;

  static EarthLine* CastFromObject(const AcRxObject* object) { return cast(object); }

  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  void list() const override;
};
