#pragma once
// The lightweight polyline: 2-D vertices at one elevation, with a bulge
// (tan of a quarter of the arc's angle; 0 a straight segment, positive
// counter-clockwise) and start and end widths per segment.

#include <vector>

#include "arx/dbmain.h"

class AcDb2dPolyline;

class PLATFORM_API AcDbPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbPolyline);
  explicit AcDbPolyline(unsigned int numVerts = 0);

  // Inserts a vertex before `index` (index == numVerts() appends; larger:
  // eInvalidIndex). Negative widths take the constant width (0 without one).
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  unsigned int numVerts() const { assertReadEnabled(); return static_cast<unsigned int>(m_verts.size()); }
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
  // The vertex at the polyline's elevation.
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  // eInvalidInput when the widths are not all the same.
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);
  double elevation() const { assertReadEnabled(); return m_elevation; }
  void setElevation(double z);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  void setClosed(Adesk::Boolean closed);
  bool hasPlinegen() const { return m_plinegen; }
  void setPlinegen(Adesk::Boolean on);
  bool isOnlyLines() const;
  bool hasWidth() const;
  bool hasBulges() const;
  // Empties the polyline (reuse false) or keeps the first `numVerts` vertices.
  Acad::ErrorStatus reset(Adesk::Boolean reuse, unsigned int numVerts);
  // A 2-D polyline with the same vertices, bulges, widths, elevation, closing
  // and line-type generation. With transferId the new polyline takes this
  // one's place (id, handle, block, reactors) in the database and this one
  // leaves it (the caller deletes it); the new polyline is then open for write.
  Acad::ErrorStatus convertTo(AcDb2dPolyline*& poly, Adesk::Boolean transferId = true);

  Adesk::Boolean isClosed() const override { return m_closed; }
  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  struct Vertex {
    AcGePoint2d pt;
    double bulge = 0, startWidth = 0, endWidth = 0;
  };
  bool validIndex(unsigned int index) const { return index < m_verts.size(); }
  std::vector<Vertex> m_verts;
  double m_elevation = 0, m_thickness = 0, m_constWidth = 0;
  AcGeVector3d m_normal{0, 0, 1};
  bool m_closed = false, m_plinegen = false;
};
