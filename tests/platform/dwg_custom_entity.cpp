#include "dwg_custom_entity.h"


ACRX_DXF_DEFINE_MEMBERS(TestMarker, AcDbEntity, 25, 76, 0, TESTMARKER, TestApp)
ACRX_DXF_DEFINE_MEMBERS(TestNote, AcDbEntity, 25, 76, 1023, 0, TestApp)
ACRX_DXF_DEFINE_MEMBERS(TestEarth, AcDbEntity, 25, 76, 0, EarthLine, TestApp)

Adesk::Boolean TestMarker::worldDraw(AcGiWorldDraw* wd) {
  wd->subEntityTraits().setColor(3);
  if (!points.empty()) wd->geometry().polyline(static_cast<Adesk::UInt32>(points.size()), points.data());
  if (!points.empty() && !label.empty()) {
    wd->subEntityTraits().setColor(2);
    wd->geometry().text(points.front(), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 1.0, 1.0, 0.0, label.c_str());
  }
  return true;
}

Acad::ErrorStatus TestMarker::dwgOutFields(AcDbDwgFiler* filer) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  filer->writeInt32(static_cast<Adesk::Int32>(points.size()));
  for (const AcGePoint3d& p : points) filer->writePoint3d(p);
  filer->writeDouble(value);
  filer->writeString(label.c_str());
  return filer->filerStatus();
}

Acad::ErrorStatus TestMarker::dwgInFields(AcDbDwgFiler* filer) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  Adesk::Int32 n = 0;
  filer->readInt32(&n);
  if (n < 0 || n > 100000) return Acad::eFilerError;
  points.assign(static_cast<size_t>(n), AcGePoint3d());
  for (AcGePoint3d& p : points) filer->readPoint3d(&p);
  filer->readDouble(&value);
  filer->readString(label);
  return filer->filerStatus();
}

Acad::ErrorStatus TestMarker::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  for (const AcGePoint3d& p : points) grips.append(p);
  return Acad::eOk;
}

Acad::ErrorStatus TestMarker::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  for (int i : indices) {
    if (i < 0 || static_cast<size_t>(i) >= points.size()) return Acad::eInvalidIndex;
    assertWriteEnabled();  // once per point: the reactor still hears of the change once
    points[static_cast<size_t>(i)] += offset;
  }
  return Acad::eOk;
}

Acad::ErrorStatus TestMarker::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  for (AcGePoint3d& p : points) p.transformBy(xform);
  return Acad::eOk;
}

Adesk::Boolean TestNote::worldDraw(AcGiWorldDraw* wd) {
  wd->geometry().circle(AcGePoint3d::kOrigin, height > 0 ? height : 1.0, AcGeVector3d::kZAxis);
  return true;
}

Acad::ErrorStatus TestNote::dwgOutFields(AcDbDwgFiler* filer) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  filer->writeDouble(height);
  return filer->filerStatus();
}

Acad::ErrorStatus TestNote::dwgInFields(AcDbDwgFiler* filer) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  filer->readDouble(&height);
  return filer->filerStatus();
}

Acad::ErrorStatus TestEarth::dwgOutFields(AcDbDwgFiler* filer) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  filer->writeDouble(depth);
  return filer->filerStatus();
}

Acad::ErrorStatus TestEarth::dwgInFields(AcDbDwgFiler* filer) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  filer->readDouble(&depth);
  return filer->filerStatus();
}

namespace dwgtest {

void registerTestClasses() {
  TestMarker::rxInit();
  TestNote::rxInit();
  TestEarth::rxInit();
  acrxBuildClassHierarchy();
}

void unregisterTestClasses() {
  // As a module does when it is unloaded (entities of the classes become proxies).
  for (AcRxClass* c : {TestMarker::desc(), TestNote::desc(), TestEarth::desc()})
    if (c) deleteAcRxClass(c);
}

}  // namespace dwgtest
