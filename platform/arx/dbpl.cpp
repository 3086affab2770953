#include "arx/dbpl.h"

#include <cmath>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpoly.h"
#include "arx/dbstub.h"
#include "arx/gi.h"

AcDbPolyline::AcDbPolyline(unsigned int numVerts) { m_verts.reserve(numVerts); }

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth) {
  if (index > m_verts.size()) return Acad::eInvalidIndex;
  assertWriteEnabled();
  Vertex v;
  v.pt = pt;
  v.bulge = bulge;
  v.startWidth = startWidth < 0 ? m_constWidth : startWidth;
  v.endWidth = endWidth < 0 ? m_constWidth : endWidth;
  m_verts.insert(m_verts.begin() + index, v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertWriteEnabled();
  m_verts.erase(m_verts.begin() + index);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertReadEnabled();
  pt = m_verts[index].pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertReadEnabled();
  pt.set(m_verts[index].pt.x, m_verts[index].pt.y, m_elevation);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertWriteEnabled();
  m_verts[index].pt = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertReadEnabled();
  bulge = m_verts[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertWriteEnabled();
  m_verts[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertReadEnabled();
  startWidth = m_verts[index].startWidth;
  endWidth = m_verts[index].endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  if (startWidth < 0 || endWidth < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_verts[index].startWidth = startWidth;
  m_verts[index].endWidth = endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  assertReadEnabled();
  if (m_verts.empty()) {
    width = m_constWidth;
    return Acad::eOk;
  }
  double w = m_verts[0].startWidth;
  for (const Vertex& v : m_verts)
    if (v.startWidth != w || v.endWidth != w) return Acad::eInvalidInput;
  width = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  if (width < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_constWidth = width;
  for (Vertex& v : m_verts) v.startWidth = v.endWidth = width;
  return Acad::eOk;
}

void AcDbPolyline::setElevation(double z) {
  assertWriteEnabled();
  m_elevation = z;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}

void AcDbPolyline::setClosed(Adesk::Boolean closed) {
  assertWriteEnabled();
  m_closed = closed;
}

void AcDbPolyline::setPlinegen(Adesk::Boolean on) {
  assertWriteEnabled();
  m_plinegen = on;
}

bool AcDbPolyline::isOnlyLines() const {
  for (const Vertex& v : m_verts)
    if (v.bulge != 0) return false;
  return true;
}

bool AcDbPolyline::hasWidth() const {
  for (const Vertex& v : m_verts)
    if (v.startWidth != 0 || v.endWidth != 0) return true;
  return false;
}

bool AcDbPolyline::hasBulges() const { return !isOnlyLines(); }

Acad::ErrorStatus AcDbPolyline::reset(Adesk::Boolean reuse, unsigned int numVerts) {
  assertWriteEnabled();
  if (!reuse) m_verts.clear();
  else if (numVerts < m_verts.size()) m_verts.resize(numVerts);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getStartPoint(AcGePoint3d& p) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  return getPointAt(0, p);
}

Acad::ErrorStatus AcDbPolyline::getEndPoint(AcGePoint3d& p) const {
  if (m_verts.empty()) return Acad::eDegenerateGeometry;
  return getPointAt(m_closed ? 0 : static_cast<unsigned>(m_verts.size() - 1), p);
}

Adesk::Boolean AcDbPolyline::worldDraw(AcGiWorldDraw* wd) {
  if (!m_verts.empty()) wd->geometry().pline(*this);
  return true;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
  if (!xform.isUniScaledOrtho()) return Acad::eNotApplicable;
  assertWriteEnabled();
  double s = xform.scale();
  bool mirrored = xform.det() < 0;
  double z = m_elevation;
  for (Vertex& v : m_verts) {
    AcGePoint3d p(v.pt.x, v.pt.y, m_elevation);
    p.transformBy(xform);
    v.pt.set(p.x, p.y);
    z = p.z;
    v.startWidth *= s;
    v.endWidth *= s;
    if (mirrored) v.bulge = -v.bulge;
  }
  m_constWidth *= s;
  m_elevation = z;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  for (const Vertex& v : m_verts) grips.append(AcGePoint3d(v.pt.x, v.pt.y, m_elevation));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  for (int i : indices)
    if (i < 0 || static_cast<size_t>(i) >= m_verts.size()) return Acad::eInvalidIndex;
  assertWriteEnabled();
  for (int i : indices) m_verts[static_cast<size_t>(i)].pt += AcGeVector2d(offset.x, offset.y);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::explode(AcDbVoidPtrArray& entitySet) const {
  assertReadEnabled();
  size_t n = m_verts.size();
  size_t segs = n < 2 ? 0 : (m_closed ? n : n - 1);
  for (size_t i = 0; i < segs; ++i) {
    const Vertex& a = m_verts[i];
    const Vertex& b = m_verts[(i + 1) % n];
    AcGePoint3d pa(a.pt.x, a.pt.y, m_elevation), pb(b.pt.x, b.pt.y, m_elevation);
    AcDbEntity* e;
    if (a.bulge == 0) {
      e = new AcDbLine(pa, pb);
    } else {
      double chord = pa.distanceTo(pb);
      double r = chord * (1 + a.bulge * a.bulge) / (4 * std::fabs(a.bulge));
      AcGeVector3d m = (pb - pa) / 2;
      double h = r - std::fabs(a.bulge) * chord / 2;
      AcGeVector3d nrm(-m.y, m.x, 0);
      nrm.normalize();
      AcGePoint3d c = pa + m + nrm * (a.bulge > 0 ? h : -h);
      double sa = std::atan2(pa.y - c.y, pa.x - c.x), ea = std::atan2(pb.y - c.y, pb.x - c.x);
      e = a.bulge > 0 ? new AcDbArc(c, r, sa, ea) : new AcDbArc(c, r, ea, sa);
    }
    e->setPropertiesFrom(this);
    entitySet.append(e);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeInt32(static_cast<Adesk::Int32>(m_verts.size()));
  for (const Vertex& v : m_verts) {
    f->writePoint2d(v.pt);
    f->writeDouble(v.bulge);
    f->writeDouble(v.startWidth);
    f->writeDouble(v.endWidth);
  }
  f->writeDouble(m_elevation);
  f->writeDouble(m_thickness);
  f->writeDouble(m_constWidth);
  f->writeVector3d(m_normal);
  f->writeBool(m_closed);
  f->writeBool(m_plinegen);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int32 n = 0;
  f->readInt32(&n);
  if (n < 0) return Acad::eFilerError;
  m_verts.clear();
  for (Adesk::Int32 i = 0; i < n && f->filerStatus() == Acad::eOk; ++i) {
    Vertex v;
    f->readPoint2d(&v.pt);
    f->readDouble(&v.bulge);
    f->readDouble(&v.startWidth);
    f->readDouble(&v.endWidth);
    m_verts.push_back(v);
  }
  f->readDouble(&m_elevation);
  f->readDouble(&m_thickness);
  f->readDouble(&m_constWidth);
  f->readVector3d(&m_normal);
  f->readBool(&m_closed);
  f->readBool(&m_plinegen);
  return f->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::convertTo(AcDb2dPolyline*& poly, Adesk::Boolean transferId) {
  assertReadEnabled();
  AcGePoint3dArray pts;
  AcGeDoubleArray bulges;
  for (const Vertex& v : m_verts) {
    pts.append(AcGePoint3d(v.pt.x, v.pt.y, m_elevation));
    bulges.append(v.bulge);
  }
  auto* p = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, m_elevation, m_closed, 0, 0, &bulges);
  // Per-vertex widths.
  AcDbObjectIterator* it = p->vertexIterator();
  size_t i = 0;
  for (it->start(); !it->done(); it->step(), ++i) {
    auto* v = AcDb2dVertex::cast(it->entity());
    if (v && i < m_verts.size()) {
      v->setStartWidth(m_verts[i].startWidth);
      v->setEndWidth(m_verts[i].endWidth);
    }
  }
  delete it;
  p->setNormal(m_normal);
  p->setThickness(m_thickness);
  if (m_plinegen) p->setLinetypeGenerationOn();
  p->setPropertiesFrom(this);
  if (transferId && stub()) {
    // The new polyline takes over this one's place; both stay as they are open.
    AcDbDatabase* db = database();
    AcDbStub* s = stub();
    std::vector<AcDbObjectReactor*> reactors = this->reactors();
    db->replaceObjectDirect(s, p);
    for (AcDbObjectReactor* r : reactors) p->addReactor(r);
    p->openAs(AcDb::kForWrite);
  }
  poly = p;
  return Acad::eOk;
}
