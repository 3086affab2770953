// Filing helpers of the entities of a drawn section.

#include "EntityFiling.h"

#include <algorithm>

namespace entity_filing {

namespace {

// The doubles of the area block, in order (the middle-part flag is filed
// apart, as an Int32).
std::vector<double*> AreaValues(SectionAreas& a) {
  std::vector<double*> v = {&a.fill, &a.cut};
  for (double& d : a.rockClass) v.push_back(&d);
  for (double* d : {&a.improvedSoil, &a.surfaceLayer, &a.topsoil, &a.ditchFill, &a.ditchCut}) v.push_back(d);
  for (double& d : a.excavationClass) v.push_back(&d);
  for (double* d : {&a.shoulderLayer, &a.ditchLining, &a.retainingWallLength, &a.turfLength}) v.push_back(d);
  for (AreaTriple* t : {&a.fillParts, &a.cutParts, &a.surfaceLayerParts, &a.topsoilParts, &a.improvedSoilParts,
                        &a.shoulderLayerParts, &a.ditchLiningParts, &a.retainingWallParts, &a.turfParts})
    for (double* d : {&t->left, &t->middle, &t->right}) v.push_back(d);
  for (double* d : {&a.ditchFillLeft, &a.ditchFillRight, &a.ditchCutLeft, &a.ditchCutRight}) v.push_back(d);
  return v;
}

}  // namespace

void WritePoints(AcDbDwgFiler* filer, const std::vector<AcGePoint3d>& points) {
  filer->writeInt32(static_cast<Adesk::Int32>(points.size()));
  for (const AcGePoint3d& p : points) filer->writePoint3d(p);
}

bool ReadIntIn(AcDbDwgFiler* filer, int lo, int hi, int& value) {
  Adesk::Int32 v = 0;
  if (filer->readInt32(&v) != Acad::eOk) return false;
  if (v < lo || v > hi) {
    filer->setFilerStatus(Acad::eFilerError);
    return false;
  }
  value = v;
  return true;
}

bool ReadPoints(AcDbDwgFiler* filer, int maxCount, std::vector<AcGePoint3d>& points) {
  int n = 0;
  if (!ReadIntIn(filer, 0, maxCount, n)) return false;
  std::vector<AcGePoint3d> read(static_cast<size_t>(n));
  for (AcGePoint3d& p : read)
    if (filer->readPoint3d(&p) != Acad::eOk) return false;
  points = std::move(read);
  return true;
}

void WriteAreas(AcDbDwgFiler* filer, const SectionAreas& areas) {
  SectionAreas copy = areas;
  for (double* d : AreaValues(copy)) filer->writeDouble(*d);
  filer->writeInt32(copy.middlePartFlag);
}

void ReadAreas(AcDbDwgFiler* filer, SectionAreas& areas) {
  for (double* d : AreaValues(areas)) filer->readDouble(d);
  Adesk::Int32 flag = 0;
  filer->readInt32(&flag);
  areas.middlePartFlag = static_cast<unsigned char>(std::clamp<Adesk::Int32>(flag, 0, 255));
}

}  // namespace entity_filing
