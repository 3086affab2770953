#include "arx/dbpoly.h"

#include <algorithm>
#include <cmath>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbstub.h"
#include "arx/gi.h"

// ---- vertices ----

AcDb2dVertex::AcDb2dVertex() = default;
AcDb2dVertex::AcDb2dVertex(const AcGePoint3d& position, double bulge, double startWidth, double endWidth,
                           double tangent)
    : m_position(position), m_bulge(bulge), m_startWidth(startWidth), m_endWidth(endWidth), m_tangent(tangent) {}

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_position = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setBulge(double b) {
  assertWriteEnabled();
  m_bulge = b;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setStartWidth(double w) {
  if (w < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_startWidth = w;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setEndWidth(double w) {
  if (w < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_endWidth = w;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::setTangent(double t) {
  assertWriteEnabled();
  m_tangent = t;
  m_tangentUsed = true;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_position.transformBy(xform);
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dVertex::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbVertex::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_position);
  f->writeDouble(m_bulge);
  f->writeDouble(m_startWidth);
  f->writeDouble(m_endWidth);
  f->writeDouble(m_tangent);
  f->writeBool(m_tangentUsed);
  return f->filerStatus();
}
Acad::ErrorStatus AcDb2dVertex::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbVertex::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_position);
  f->readDouble(&m_bulge);
  f->readDouble(&m_startWidth);
  f->readDouble(&m_endWidth);
  f->readDouble(&m_tangent);
  f->readBool(&m_tangentUsed);
  return f->filerStatus();
}

AcDb3dPolylineVertex::AcDb3dPolylineVertex() = default;
AcDb3dPolylineVertex::AcDb3dPolylineVertex(const AcGePoint3d& position) : m_position(position) {}
Acad::ErrorStatus AcDb3dPolylineVertex::setPosition(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_position = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb3dPolylineVertex::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_position.transformBy(xform);
  return Acad::eOk;
}
Acad::ErrorStatus AcDb3dPolylineVertex::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbVertex::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_position);
  return f->filerStatus();
}
Acad::ErrorStatus AcDb3dPolylineVertex::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbVertex::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_position);
  return f->filerStatus();
}

// ---- AcDbObjectIterator ----

void AcDbObjectIterator::skipErased(bool backwards) {
  while (m_pos >= 0 && m_pos < static_cast<long>(m_items.size()) && m_items[static_cast<size_t>(m_pos)]->isErased())
    m_pos += backwards ? -1 : 1;
}
void AcDbObjectIterator::start(bool atEnd) {
  m_pos = atEnd ? static_cast<long>(m_items.size()) - 1 : 0;
  skipErased(atEnd);
}
bool AcDbObjectIterator::done() const { return m_pos < 0 || m_pos >= static_cast<long>(m_items.size()); }
void AcDbObjectIterator::step(bool backwards, bool skipErasedObjects) {
  if (done()) return;
  m_pos += backwards ? -1 : 1;
  if (skipErasedObjects) skipErased(backwards);
}
AcDbObjectId AcDbObjectIterator::objectId() const {
  return done() ? AcDbObjectId() : m_items[static_cast<size_t>(m_pos)]->objectId();
}
AcDbEntity* AcDbObjectIterator::entity() { return done() ? nullptr : m_items[static_cast<size_t>(m_pos)]; }
Acad::ErrorStatus AcDbObjectIterator::seek(AcDbObjectId id) {
  for (size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i]->objectId() == id) {
      m_pos = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}
Acad::ErrorStatus AcDbObjectIterator::seek(const AcDbEntity* entity) {
  for (size_t i = 0; i < m_items.size(); ++i)
    if (m_items[i] == entity) {
      m_pos = static_cast<long>(i);
      return Acad::eOk;
    }
  return Acad::eKeyNotFound;
}

// ---- AcDbHeavyPolyline ----

AcDbHeavyPolyline::~AcDbHeavyPolyline() { clearVertices(); }

void AcDbHeavyPolyline::clearVertices() {
  for (AcDbEntity* v : m_vertices) delete v;
  m_vertices.clear();
}

void AcDbHeavyPolyline::getSubObjects(std::vector<AcDbObject*>& subObjects) const {
  subObjects.insert(subObjects.end(), m_vertices.begin(), m_vertices.end());
}

void AcDbHeavyPolyline::appendVertexDirect(AcDbEntity* v) { m_vertices.push_back(v); }

AcDbObjectIterator* AcDbHeavyPolyline::vertexIterator() const {
  assertReadEnabled();
  return new AcDbObjectIterator(m_vertices);
}

Acad::ErrorStatus AcDbHeavyPolyline::makeClosed() {
  assertWriteEnabled();
  m_closed = true;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbHeavyPolyline::makeOpen() {
  assertWriteEnabled();
  m_closed = false;
  return Acad::eOk;
}

int AcDbHeavyPolyline::numVertices() const { return static_cast<int>(liveVertices().size()); }

std::vector<const AcDbEntity*> AcDbHeavyPolyline::liveVertices() const {
  std::vector<const AcDbEntity*> out;
  for (const AcDbEntity* v : m_vertices)
    if (!v->isErased()) out.push_back(v);
  return out;
}

void AcDbHeavyPolyline::dwgOutVertices(AcDbDwgFiler* f) const {
  auto live = liveVertices();
  f->writeInt32(static_cast<Adesk::Int32>(live.size()));
  for (const AcDbEntity* v : live) {
    AcDbObject::FilingScope scope(v);
    v->dwgOutFields(f);
  }
}

Acad::ErrorStatus AcDbHeavyPolyline::dwgInVertices(AcDbDwgFiler* f, AcDbEntity* (*makeVertex)()) {
  Adesk::Int32 n = 0;
  f->readInt32(&n);
  if (n < 0) return Acad::eFilerError;
  if (isPersistent()) return Acad::eNotApplicable;  // vertices are read only into a new polyline
  clearVertices();
  for (Adesk::Int32 i = 0; i < n && f->filerStatus() == Acad::eOk; ++i) {
    AcDbEntity* v = makeVertex();
    v->dwgInFields(f);
    m_vertices.push_back(v);
  }
  return f->filerStatus();
}

Acad::ErrorStatus AcDbHeavyPolyline::appendVertexImpl(AcDbObjectId* id, AcDbEntity* v) {
  return insertVertexImpl(id, m_vertices.empty() ? nullptr : m_vertices.back(), v);
}

Acad::ErrorStatus AcDbHeavyPolyline::insertVertexImpl(AcDbObjectId* id, const AcDbEntity* after, AcDbEntity* v) {
  if (!v) return Acad::eNullEntityPointer;
  if (v->isPersistent()) return Acad::eAlreadyInDb;
  size_t at = 0;
  if (after) {
    auto it = std::find(m_vertices.begin(), m_vertices.end(), after);
    if (it == m_vertices.end()) return Acad::eInvalidInput;
    at = static_cast<size_t>(it - m_vertices.begin()) + 1;
  }
  assertWriteEnabled();
  m_vertices.insert(m_vertices.begin() + static_cast<long>(at), v);
  if (AcDbDatabase* db = database()) db->addObjectDirect(v, objectId(), 0, true);
  v->setPropertiesFrom(this);
  if (id) *id = v->objectId();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHeavyPolyline::getStartPoint(AcGePoint3d& p) const {
  auto live = liveVertices();
  if (live.empty()) return Acad::eDegenerateGeometry;
  p = worldPosition(live.front());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHeavyPolyline::getEndPoint(AcGePoint3d& p) const {
  auto live = liveVertices();
  if (live.empty()) return Acad::eDegenerateGeometry;
  p = worldPosition(m_closed ? live.front() : live.back());
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHeavyPolyline::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  for (const AcDbEntity* v : liveVertices()) grips.append(worldPosition(v));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHeavyPolyline::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  auto live = liveVertices();
  for (int i : indices)
    if (i < 0 || static_cast<size_t>(i) >= live.size()) return Acad::eInvalidIndex;
  assertWriteEnabled();
  for (int i : indices) {
    AcDbEntity* v = const_cast<AcDbEntity*>(live[static_cast<size_t>(i)]);
    AcDbObject::FilingScope scope(v);
    moveVertex(v, offset);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbHeavyPolyline::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  for (AcDbEntity* v : m_vertices) {
    AcDbObject::FilingScope scope(v);
    v->transformBy(xform);
  }
  return Acad::eOk;
}

// ---- AcDb2dPolyline ----

AcDb2dPolyline::AcDb2dPolyline() = default;

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
                               Adesk::Boolean closed, double defStartWidth, double defEndWidth,
                               const AcGeDoubleArray* bulges)
    : m_type(type), m_defStart(defStartWidth), m_defEnd(defEndWidth), m_elevation(elevation) {
  m_closed = closed;
  for (int i = 0; i < vertices.length(); ++i) {
    double b = (bulges && i < bulges->length()) ? (*bulges)[i] : 0.0;
    AcGePoint3d p(vertices[i].x, vertices[i].y, elevation);
    m_vertices.push_back(new AcDb2dVertex(p, b, defStartWidth, defEndWidth));
  }
}

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type) {
  assertWriteEnabled();
  m_type = type;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double w) {
  if (w < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_defStart = w;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double w) {
  if (w < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_defEnd = w;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setElevation(double z) {
  assertWriteEnabled();
  m_elevation = z;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setLinetypeGenerationOn() {
  assertWriteEnabled();
  m_plinegen = true;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::setLinetypeGenerationOff() {
  assertWriteEnabled();
  m_plinegen = false;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* vertex) { return appendVertexImpl(nullptr, vertex); }
Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& id, AcDb2dVertex* vertex) {
  return appendVertexImpl(&id, vertex);
}
Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(const AcDb2dVertex* indexVertex, AcDb2dVertex* vertex) {
  return insertVertexImpl(nullptr, indexVertex, vertex);
}
Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(AcDbObjectId& id, const AcDbObjectId& indexVertexId,
                                                 AcDb2dVertex* vertex) {
  const AcDbEntity* after = nullptr;
  if (!indexVertexId.isNull()) {
    after = indexVertexId.stub()->object ? AcDbEntity::cast(indexVertexId.stub()->object) : nullptr;
    if (!after) return Acad::eInvalidInput;
  }
  return insertVertexImpl(&id, after, vertex);
}
Acad::ErrorStatus AcDb2dPolyline::openVertex(AcDb2dVertex*& vertex, AcDbObjectId id, AcDb::OpenMode mode,
                                             bool openErased) const {
  vertex = nullptr;
  if (id.isNull() || !id.stub()->object || id.stub()->object->ownerId() != objectId()) return Acad::eInvalidInput;
  return acdbOpenObject(vertex, id, mode, openErased);
}
AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vertex) const {
  AcDbObject::FilingScope scope(&vertex);
  AcGePoint3d p = vertex.position();
  return AcGePoint3d(p.x, p.y, m_elevation);
}
AcGePoint3d AcDb2dPolyline::worldPosition(const AcDbEntity* v) const {
  const auto* v2 = static_cast<const AcDb2dVertex*>(v);
  return vertexPosition(*v2);
}
void AcDb2dPolyline::moveVertex(AcDbEntity* v, const AcGeVector3d& offset) {
  auto* v2 = static_cast<AcDb2dVertex*>(v);
  v2->setPosition(v2->position() + AcGeVector3d(offset.x, offset.y, 0));
}

Adesk::Boolean AcDb2dPolyline::worldDraw(AcGiWorldDraw* wd) {
  // Drawn as the lightweight polyline it amounts to, so bulges and widths show.
  AcDbPolyline lw;
  unsigned i = 0;
  for (const AcDbEntity* e : liveVertices()) {
    const auto* v = static_cast<const AcDb2dVertex*>(e);
    AcDbObject::FilingScope scope(v);
    lw.addVertexAt(i++, v->position().convert2d(), v->bulge(), v->startWidth(), v->endWidth());
  }
  if (i == 0) return true;
  lw.setElevation(m_elevation);
  lw.setClosed(m_closed);
  wd->geometry().pline(lw);
  return true;
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform) {
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  assertWriteEnabled();
  double s = xform.scale();
  bool mirrored = xform.det() < 0;
  double z = m_elevation;
  for (AcDbEntity* e : m_vertices) {
    auto* v = static_cast<AcDb2dVertex*>(e);
    AcDbObject::FilingScope scope(v);
    AcGePoint3d p = v->position();
    p.z = m_elevation;
    p.transformBy(xform);
    z = p.z;
    v->setPosition(p);
    v->setStartWidth(v->startWidth() * s);
    v->setEndWidth(v->endWidth() * s);
    if (mirrored) v->setBulge(-v->bulge());
  }
  m_defStart *= s;
  m_defEnd *= s;
  m_elevation = z;
  return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::explode(AcDbVoidPtrArray& entitySet) const {
  assertReadEnabled();
  AcDbPolyline lw;
  unsigned i = 0;
  for (const AcDbEntity* e : liveVertices()) {
    const auto* v = static_cast<const AcDb2dVertex*>(e);
    AcDbObject::FilingScope scope(v);
    lw.addVertexAt(i++, v->position().convert2d(), v->bulge());
  }
  lw.setElevation(m_elevation);
  lw.setClosed(m_closed);
  lw.setPropertiesFrom(this);
  return lw.explode(entitySet);
}

Acad::ErrorStatus AcDb2dPolyline::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeInt16(static_cast<Adesk::Int16>(m_type));
  f->writeDouble(m_defStart);
  f->writeDouble(m_defEnd);
  f->writeDouble(m_elevation);
  f->writeDouble(m_thickness);
  f->writeVector3d(m_normal);
  f->writeBool(m_closed);
  f->writeBool(m_plinegen);
  dwgOutVertices(f);
  return f->filerStatus();
}

Acad::ErrorStatus AcDb2dPolyline::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int16 type = 0;
  f->readInt16(&type);
  m_type = (type >= 0 && type <= 3) ? static_cast<AcDb::Poly2dType>(type) : AcDb::k2dSimplePoly;
  f->readDouble(&m_defStart);
  f->readDouble(&m_defEnd);
  f->readDouble(&m_elevation);
  f->readDouble(&m_thickness);
  f->readVector3d(&m_normal);
  f->readBool(&m_closed);
  f->readBool(&m_plinegen);
  return dwgInVertices(f, [] { return static_cast<AcDbEntity*>(new AcDb2dVertex()); });
}

// ---- AcDb3dPolyline ----

AcDb3dPolyline::AcDb3dPolyline() = default;

AcDb3dPolyline::AcDb3dPolyline(AcDb::Poly3dType type, const AcGePoint3dArray& vertices, Adesk::Boolean closed)
    : m_type(type) {
  m_closed = closed;
  for (int i = 0; i < vertices.length(); ++i) m_vertices.push_back(new AcDb3dPolylineVertex(vertices[i]));
}

Acad::ErrorStatus AcDb3dPolyline::setPolyType(AcDb::Poly3dType type) {
  assertWriteEnabled();
  m_type = type;
  return Acad::eOk;
}
Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDb3dPolylineVertex* vertex) {
  return appendVertexImpl(nullptr, vertex);
}
Acad::ErrorStatus AcDb3dPolyline::appendVertex(AcDbObjectId& id, AcDb3dPolylineVertex* vertex) {
  return appendVertexImpl(&id, vertex);
}
Acad::ErrorStatus AcDb3dPolyline::insertVertexAt(const AcDb3dPolylineVertex* indexVertex,
                                                 AcDb3dPolylineVertex* vertex) {
  return insertVertexImpl(nullptr, indexVertex, vertex);
}
Acad::ErrorStatus AcDb3dPolyline::openVertex(AcDb3dPolylineVertex*& vertex, AcDbObjectId id, AcDb::OpenMode mode,
                                             bool openErased) const {
  vertex = nullptr;
  if (id.isNull() || !id.stub()->object || id.stub()->object->ownerId() != objectId()) return Acad::eInvalidInput;
  return acdbOpenObject(vertex, id, mode, openErased);
}
AcGePoint3d AcDb3dPolyline::worldPosition(const AcDbEntity* v) const {
  AcDbObject::FilingScope scope(v);
  return static_cast<const AcDb3dPolylineVertex*>(v)->position();
}
void AcDb3dPolyline::moveVertex(AcDbEntity* v, const AcGeVector3d& offset) {
  auto* v3 = static_cast<AcDb3dPolylineVertex*>(v);
  v3->setPosition(v3->position() + offset);
}

Adesk::Boolean AcDb3dPolyline::worldDraw(AcGiWorldDraw* wd) {
  std::vector<AcGePoint3d> pts;
  for (const AcDbEntity* v : liveVertices()) pts.push_back(worldPosition(v));
  if (m_closed && pts.size() > 2) pts.push_back(pts.front());
  if (!pts.empty()) wd->geometry().polyline(static_cast<Adesk::UInt32>(pts.size()), pts.data());
  return true;
}

Acad::ErrorStatus AcDb3dPolyline::explode(AcDbVoidPtrArray& entitySet) const {
  assertReadEnabled();
  std::vector<AcGePoint3d> pts;
  for (const AcDbEntity* v : liveVertices()) pts.push_back(worldPosition(v));
  if (m_closed && pts.size() > 2) pts.push_back(pts.front());
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    auto* l = new AcDbLine(pts[i], pts[i + 1]);
    l->setPropertiesFrom(this);
    entitySet.append(l);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDb3dPolyline::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeInt16(static_cast<Adesk::Int16>(m_type));
  f->writeBool(m_closed);
  dwgOutVertices(f);
  return f->filerStatus();
}

Acad::ErrorStatus AcDb3dPolyline::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int16 type = 0;
  f->readInt16(&type);
  m_type = (type >= 0 && type <= 2) ? static_cast<AcDb::Poly3dType>(type) : AcDb::k3dSimplePoly;
  f->readBool(&m_closed);
  return dwgInVertices(f, [] { return static_cast<AcDbEntity*>(new AcDb3dPolylineVertex()); });
}
