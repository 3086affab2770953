#pragma once
// Filing helpers that the entities of a drawn section share: point lists
// with their count, and the area block of a section.
//
// Reading checks every count against the room the entity gives it before
// anything is stored: a count out of range (a damaged or foreign drawing)
// sets the filer's status to eFilerError and the read fails.

#include <vector>

#include "SectionRecord.h"
#include "arx/dbfiler.h"

namespace entity_filing {

// Writes the count (Int32) and the points (Point3d each).
void WritePoints(AcDbDwgFiler* filer, const std::vector<AcGePoint3d>& points);
// Reads a count in 0 .. maxCount and that many points. False (filer status
// eFilerError when the count was out of range) on failure; `points` is left
// as it was then.
bool ReadPoints(AcDbDwgFiler* filer, int maxCount, std::vector<AcGePoint3d>& points);
// Reads an Int32 and checks it lies in lo .. hi (else eFilerError).
bool ReadIntIn(AcDbDwgFiler* filer, int lo, int hi, int& value);

// The status a failed read returns: the filer's, else eFilerError.
inline Acad::ErrorStatus Failure(AcDbDwgFiler* filer) {
  return filer->filerStatus() != Acad::eOk ? filer->filerStatus() : Acad::eFilerError;
}

// The section's area block, every value in its order of declaration.
void WriteAreas(AcDbDwgFiler* filer, const SectionAreas& areas);
void ReadAreas(AcDbDwgFiler* filer, SectionAreas& areas);

}  // namespace entity_filing
