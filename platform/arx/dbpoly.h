#pragma once
// Heavy polylines: the 2-D polyline (vertices with bulges and widths at one
// elevation) and the 3-D polyline. Their vertices are objects of their own,
// owned by the polyline: while the polyline is in a database each vertex has
// an id and a handle and opens like any object; before that the vertex
// iterator gives the vertex objects themselves.

#include <functional>
#include <vector>

#include "arx/dbmain.h"

class PLATFORM_API AcDbVertex : public AcDbEntity {
 public:
  ACRX_DECLARE_MEMBERS(AcDbVertex);
};

class PLATFORM_API AcDb2dVertex : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDb2dVertex);
  AcDb2dVertex();
  // Only x and y of the position count; the polyline's elevation gives z.
  explicit AcDb2dVertex(const AcGePoint3d& position, double bulge = 0.0, double startWidth = 0.0,
                        double endWidth = 0.0, double tangent = 0.0);
  AcDb::Vertex2dType vertexType() const { return AcDb::k2dVertex; }
  AcGePoint3d position() const { assertReadEnabled(); return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);
  double bulge() const { assertReadEnabled(); return m_bulge; }
  Acad::ErrorStatus setBulge(double b);
  double startWidth() const { assertReadEnabled(); return m_startWidth; }
  Acad::ErrorStatus setStartWidth(double w);
  double endWidth() const { assertReadEnabled(); return m_endWidth; }
  Acad::ErrorStatus setEndWidth(double w);
  double tangent() const { return m_tangent; }
  Acad::ErrorStatus setTangent(double t);
  bool isTangentUsed() const { return m_tangentUsed; }

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_position;
  double m_bulge = 0, m_startWidth = 0, m_endWidth = 0, m_tangent = 0;
  bool m_tangentUsed = false;
};

class PLATFORM_API AcDb3dPolylineVertex : public AcDbVertex {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dPolylineVertex);
  AcDb3dPolylineVertex();
  explicit AcDb3dPolylineVertex(const AcGePoint3d& position);
  AcDb::Vertex3dType vertexType() const { return AcDb::k3dSimpleVertex; }
  AcGePoint3d position() const { assertReadEnabled(); return m_position; }
  Acad::ErrorStatus setPosition(const AcGePoint3d& p);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 private:
  AcGePoint3d m_position;
};

// Walks the vertices of a polyline (erased ones skipped). Deleted by the caller.
class PLATFORM_API AcDbObjectIterator {
 public:
  explicit AcDbObjectIterator(std::vector<AcDbEntity*> items) : m_items(std::move(items)) {}
  void start(bool atEnd = false);
  bool done() const;
  void step(bool backwards = false, bool skipErasedObjects = true);
  // The vertex's id (null while the polyline is not in a database).
  AcDbObjectId objectId() const;
  AcDbEntity* entity();
  Acad::ErrorStatus seek(AcDbObjectId id);
  Acad::ErrorStatus seek(const AcDbEntity* entity);

 private:
  void skipErased(bool backwards);
  std::vector<AcDbEntity*> m_items;
  long m_pos = 0;
};

// What the two heavy polylines share: the owned vertex list.
class PLATFORM_API AcDbHeavyPolyline : public AcDbCurve {
 public:
  ACRX_DECLARE_MEMBERS(AcDbHeavyPolyline);
  ~AcDbHeavyPolyline() override;
  AcDbObjectIterator* vertexIterator() const;
  Adesk::Boolean isClosed() const override { return m_closed; }
  Acad::ErrorStatus makeClosed();
  Acad::ErrorStatus makeOpen();
  Acad::ErrorStatus setClosed(Adesk::Boolean closed) { return closed ? makeClosed() : makeOpen(); }
  int numVertices() const;

  Acad::ErrorStatus getStartPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& p) const override;
  Acad::ErrorStatus getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray& osnapModes,
                                  AcDbIntArray& geomIds) const override;
  Acad::ErrorStatus moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;

  // ---- used by the database ----
  void getSubObjects(std::vector<AcDbObject*>& subObjects) const override;
  const std::vector<AcDbEntity*>& verticesDirect() const { return m_vertices; }
  // Takes ownership of a vertex read from a file.
  void appendVertexDirect(AcDbEntity* v);
  // Handle of the end-of-sequence mark in a drawing file.
  uint64_t seqendHandle() const { return m_seqendHandle; }
  void setSeqendHandleDirect(uint64_t h) { m_seqendHandle = h; }

 protected:
  // The world position of a live vertex (erased vertices are left out).
  virtual AcGePoint3d worldPosition(const AcDbEntity* v) const = 0;
  virtual void moveVertex(AcDbEntity* v, const AcGeVector3d& offset) = 0;
  std::vector<const AcDbEntity*> liveVertices() const;
  Acad::ErrorStatus appendVertexImpl(AcDbObjectId* id, AcDbEntity* v);
  Acad::ErrorStatus insertVertexImpl(AcDbObjectId* id, const AcDbEntity* after, AcDbEntity* v);
  void clearVertices();
  // Filing of the vertices: the count of live ones, then the fields of each.
  void dwgOutVertices(AcDbDwgFiler* f) const;
  // Reads them back into a polyline not yet in a database; `makeVertex` gives
  // an empty vertex of the polyline's kind.
  Acad::ErrorStatus dwgInVertices(AcDbDwgFiler* f, AcDbEntity* (*makeVertex)());
  std::vector<AcDbEntity*> m_vertices;
  bool m_closed = false;
  uint64_t m_seqendHandle = 0;
};

class PLATFORM_API AcDb2dPolyline : public AcDbHeavyPolyline {
 public:
  ACRX_DECLARE_MEMBERS(AcDb2dPolyline);
  AcDb2dPolyline();
  // Vertices at the points (z of each point ignored), with the default widths
  // and, when given, one bulge per vertex.
  AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation = 0.0,
                 Adesk::Boolean closed = false, double defStartWidth = 0.0, double defEndWidth = 0.0,
                 const AcGeDoubleArray* bulges = nullptr);

  AcDb::Poly2dType polyType() const { return m_type; }
  Acad::ErrorStatus setPolyType(AcDb::Poly2dType type);
  double defaultStartWidth() const { return m_defStart; }
  Acad::ErrorStatus setDefaultStartWidth(double w);
  double defaultEndWidth() const { return m_defEnd; }
  Acad::ErrorStatus setDefaultEndWidth(double w);
  double elevation() const { assertReadEnabled(); return m_elevation; }
  Acad::ErrorStatus setElevation(double z);
  AcGeVector3d normal() const { return m_normal; }
  Acad::ErrorStatus setNormal(const AcGeVector3d& n);
  double thickness() const { return m_thickness; }
  Acad::ErrorStatus setThickness(double t);
  bool isLinetypeGenerationOn() const { return m_plinegen; }
  Acad::ErrorStatus setLinetypeGenerationOn();
  Acad::ErrorStatus setLinetypeGenerationOff();

  // The polyline takes the vertex (which must not be in a database).
  Acad::ErrorStatus appendVertex(AcDb2dVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex);
  // Inserts after `indexVertex` (nullptr: at the start).
  Acad::ErrorStatus insertVertexAt(const AcDb2dVertex* indexVertex, AcDb2dVertex* vertex);
  Acad::ErrorStatus insertVertexAt(AcDbObjectId& id, const AcDbObjectId& indexVertexId, AcDb2dVertex* vertex);
  Acad::ErrorStatus openVertex(AcDb2dVertex*& vertex, AcDbObjectId id, AcDb::OpenMode mode,
                               bool openErased = false) const;
  // A vertex's position with the polyline's elevation.
  AcGePoint3d vertexPosition(const AcDb2dVertex& vertex) const;

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 protected:
  AcGePoint3d worldPosition(const AcDbEntity* v) const override;
  void moveVertex(AcDbEntity* v, const AcGeVector3d& offset) override;

 private:
  AcDb::Poly2dType m_type = AcDb::k2dSimplePoly;
  double m_defStart = 0, m_defEnd = 0, m_elevation = 0, m_thickness = 0;
  AcGeVector3d m_normal{0, 0, 1};
  bool m_plinegen = false;
};

class PLATFORM_API AcDb3dPolyline : public AcDbHeavyPolyline {
 public:
  ACRX_DECLARE_MEMBERS(AcDb3dPolyline);
  AcDb3dPolyline();
  AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, Adesk::Boolean closed = false);

  AcDb::Poly3dType polyType() const { return m_type; }
  Acad::ErrorStatus setPolyType(AcDb::Poly3dType type);
  Acad::ErrorStatus appendVertex(AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus insertVertexAt(const AcDb3dPolylineVertex* indexVertex, AcDb3dPolylineVertex* vertex);
  Acad::ErrorStatus openVertex(AcDb3dPolylineVertex*& vertex, AcDbObjectId id, AcDb::OpenMode mode,
                               bool openErased = false) const;

  Adesk::Boolean worldDraw(AcGiWorldDraw* wd) override;
  Acad::ErrorStatus explode(AcDbVoidPtrArray& entitySet) const override;
  Acad::ErrorStatus dwgInFields(AcDbDwgFiler* filer) override;
  Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* filer) const override;

 protected:
  AcGePoint3d worldPosition(const AcDbEntity* v) const override;
  void moveVertex(AcDbEntity* v, const AcGeVector3d& offset) override;

 private:
  AcDb::Poly3dType m_type = AcDb::k3dSimplePoly;
};
