#pragma once
// What the section-drawing tests read back of a drawn sheet: every entity of
// model space with what the tests compare (class, layer, line type, colour,
// text and its place, polyline vertices), and counts by class.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbsymtb.h"

namespace sheet_test {

struct SheetEntity {
  AcDbObjectId id;
  std::string type;  // run-time class name
  std::string layer;
  std::string linetype;
  int colour = 256;
  std::string text;          // of an AcDbText
  AcGePoint3d place;         // of an AcDbText: its alignment point (centred) or its position
  std::vector<AcGePoint3d> points;  // of an AcDbPolyline or an AcDbLine
};

inline std::vector<SheetEntity> ModelSpace(AcDbDatabase* db = nullptr) {
  if (db == nullptr) db = acdbHostApplicationServices()->workingDatabase();
  std::vector<SheetEntity> out;
  AcDbBlockTableRecord* ms = nullptr;
  if (acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return out;
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbEntity* e = nullptr;
    if (it->getEntity(e, AcDb::kForRead) != Acad::eOk) continue;
    SheetEntity s;
    s.id = e->objectId();
    s.type = e->isA()->name();
    s.layer = e->layer();
    s.linetype = e->linetype();
    s.colour = e->colorIndex();
    if (auto* t = AcDbText::cast(e)) {
      s.text = t->textString();
      s.place = t->horizontalMode() == AcDb::kTextLeft ? t->position() : t->alignmentPoint();
    }
    if (auto* pl = AcDbPolyline::cast(e)) {
      for (unsigned i = 0; i < pl->numVerts(); ++i) {
        AcGePoint2d p;
        pl->getPointAt(i, p);
        s.points.emplace_back(p.x, p.y, 0.0);
      }
    }
    if (auto* l = AcDbLine::cast(e)) s.points = {l->startPoint(), l->endPoint()};
    out.push_back(std::move(s));
    e->close();
  }
  delete it;
  ms->close();
  return out;
}

inline std::map<std::string, int> CountByType(const std::vector<SheetEntity>& entities) {
  std::map<std::string, int> counts;
  for (const SheetEntity& e : entities) ++counts[e.type];
  return counts;
}

// The texts of the sheet with exactly this string.
inline std::vector<SheetEntity> TextsReading(const std::vector<SheetEntity>& entities, const std::string& text) {
  std::vector<SheetEntity> out;
  for (const SheetEntity& e : entities)
    if (e.type == "AcDbText" && e.text == text) out.push_back(e);
  return out;
}

// The centre lines and second-line marks (polylines in the centre-line line type).
inline std::vector<SheetEntity> CentreLines(const std::vector<SheetEntity>& entities) {
  std::vector<SheetEntity> out;
  for (const SheetEntity& e : entities)
    if (e.type == "AcDbPolyline" && e.linetype == "DASHDOTX2") out.push_back(e);
  return out;
}

}  // namespace sheet_test
