#pragma once
// DesignLine: the custom entity that carries one side's design line of a
// drawn cross-section together with the slope table it was built from
// (DesignLineData, SectionEntityData.h). The section drawing creates it; the
// design-line reactor re-designs the section when its grips are moved; the
// slope editing (EDITBP) edits its slope table.
//
// Registered (rxInit) as "DesignLine" under AcDbEntity, DXF name
// "DESIGNLINE", application "\"Corvane\"", proxy flags 0. It files its own
// fields (dwgOutFields / dwgInFields) in the order of DesignLineData.
//
// Grips are the vertices. Dragging the slope start (vertices 2, 3 and 4, the
// shoulder three times) carries the whole outer part of the line with it, so
// that the formation widens or narrows and the slope keeps its grades; any
// other grip moves its vertex alone. After a move the slope-leg geometry
// follows the vertices and the slope table is recomputed (UpdateSlopeTable).

#include "SectionEntity.h"
#include "SectionEntityData.h"

class DesignLine : public SectionEntity<DesignLineData> {
 public:
  ACRX_DECLARE_MEMBERS(DesignLine);
  DesignLine();
  ~DesignLine() override;

  // The object as a DesignLine when its class is DesignLine (or derived), else null.
  static DesignLine* CastFromObject(const AcRxObject* object) { return cast(object); }

  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  void list() const override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;

  // Recomputes the slope table of an embankment side from the line's slope
  // legs: from vertex 5 on, each slope leg (vertex j - 1 to j, j = 5, 7, ...)
  // gives its grade's ratio |dx| / |dy| (1000000.0 when |dy| is at most
  // 0.001) and height |dy|, the berm that follows it (j to j + 1) the grade's
  // berm width |dx|; lengths are divided by the line's drawing factor; the
  // last grade's height is 100.0 and the grade count the number of legs. A
  // cutting side, or a line without a slope leg (at most 5 vertices), keeps
  // its table.
  void UpdateSlopeTable();

  // The drawing factor the line was drawn with (the global one when the line
  // carries none).
  double DrawingFactor() const;
};
