// Layers and text styles on demand, entity properties, line types and layer
// selections for the drawing members of BAS_DRAW_FUN.

#include "geometry/DrawSupport.h"

#include <cstring>

#include "arx/dbpoly.h"
#include "arx/dbsymtb.h"
#include "geometry/BAS_DRAW_FUN.h"

namespace drawsupport {

namespace {

// A symbol table of the working drawing opened for read, or nullptr.
template <class Table>
Table* OpenTable(Acad::ErrorStatus (AcDbDatabase::*get)(Table*&, AcDb::OpenMode)) {
  AcDbDatabase* db = WorkingDatabase();
  Table* table = nullptr;
  if (db == nullptr || (db->*get)(table, AcDb::kForRead) != Acad::eOk) return nullptr;
  return table;
}

// Adds `record` to `table` (open for read; opened for write here). Deletes
// the record when the table refuses it. The table stays open.
template <class Table, class Record>
AcDbObjectId AddRecord(Table* table, Record* record) {
  AcDbObjectId id;
  if (table->upgradeOpen() != Acad::eOk || table->add(id, record) != Acad::eOk) {
    delete record;
    return AcDbObjectId::kNull;
  }
  record->close();
  return id;
}

}  // namespace

AcDbDatabase* WorkingDatabase() { return acdbHostApplicationServices()->workingDatabase(); }

AcDbObjectId LayerId(const char* name) {
  const char* wanted = name != nullptr ? name : "0";
  AcDbLayerTable* table = OpenTable(&AcDbDatabase::getLayerTable);
  if (table == nullptr) return AcDbObjectId::kNull;
  AcDbObjectId id;
  if (table->getAt(wanted, id) != Acad::eOk) {
    id = AcDbObjectId::kNull;
    auto* record = new AcDbLayerTableRecord();
    if (record->setName(wanted) == Acad::eOk) {
      id = AddRecord(table, record);
    } else {
      delete record;
    }
  }
  table->close();
  return id;
}

void SetColour(AcDbEntity* entity, int colour) {
  if (colour >= 0 && colour <= AcDb::kByLayer) entity->setColorIndex(static_cast<Adesk::UInt16>(colour));
}

void SetLineWeight(AcDbEntity* entity, int lineWeight) {
  entity->setLineWeight(static_cast<AcDb::LineWeight>(lineWeight));
}

void SetLayer(AcDbEntity* entity, AcDbObjectId layerId) {
  if (!layerId.isNull()) entity->setLayer(layerId);
}

Acad::ErrorStatus LoadLinetype(const char* name, const char* file) {
  AcDbDatabase* db = WorkingDatabase();
  if (db == nullptr) return Acad::eNoDatabase;
  return db->loadLineTypeFile(name, file);
}

void SetLinetype(AcDbEntity* entity, const char* name) {
  if (name != nullptr && *name != '\0') entity->setLinetype(name);
}

AcDbObjectId AppendLine(const AcGePoint3d& p1, const AcGePoint3d& p2, int colour, int lineWeight,
                        AcDbObjectId layerId, const char* linetype) {
  auto* line = new AcDbLine(p1, p2);
  SetColour(line, colour);
  SetLineWeight(line, lineWeight);
  SetLayer(line, layerId);
  if (linetype != nullptr) {
    LoadLinetype(linetype, "acadiso.lin");  // a type the file lacks is simply not set
    SetLinetype(line, linetype);
  }
  return BAS_DRAW_FUN::AddToModelSpace(line);
}

AcDbObjectId TextStyleId(const char* name, const TextStyleSpec& spec) {
  if (name == nullptr) return AcDbObjectId::kNull;
  AcDbTextStyleTable* table = OpenTable(&AcDbDatabase::getTextStyleTable);
  if (table == nullptr) return AcDbObjectId::kNull;
  AcDbObjectId id;
  if (table->getAt(name, id) != Acad::eOk) {
    id = AcDbObjectId::kNull;
    auto* record = new AcDbTextStyleTableRecord();
    if (record->setName(name) == Acad::eOk) {
      if (spec.fileName != nullptr) record->setFileName(spec.fileName);
      if (spec.bigFont != nullptr) record->setBigFontFileName(spec.bigFont);
      record->setFont(spec.typeface, false, false, kChineseCharset, kPitchAndFamily);
      record->setXScale(spec.xScale);
      id = AddRecord(table, record);
    } else {
      delete record;
    }
  }
  table->close();
  return id;
}

AcDbObjectId CurrentTextStyle() {
  AcDbDatabase* db = WorkingDatabase();
  return db != nullptr ? db->textstyle() : AcDbObjectId::kNull;
}

void PlaceText(AcDbText* text, const AcGePoint3d& position, AcDb::TextHorzMode mode) {
  text->setHorizontalMode(mode);
  if (mode == AcDb::kTextLeft) {
    text->setPosition(position);
  } else {
    text->setAlignmentPoint(position);
  }
}

AcDbObjectId AppendStyledText(const AcGePoint3d& position, const char* text, double rotation, double height,
                              int colour, int mode, const char* style, const char* bigFont, double xScale,
                              AcDbObjectId layerId) {
  constexpr int kModeLeft = 1;
  constexpr int kModeCentre = 2;
  const AcDb::TextHorzMode horizontal =
      mode == kModeLeft ? AcDb::kTextLeft : (mode == kModeCentre ? AcDb::kTextCenter : AcDb::kTextRight);
  auto* entity = new AcDbText();
  entity->setTextString(text != nullptr ? text : "");
  PlaceText(entity, position, horizontal);
  SetColour(entity, colour);
  const AcDbObjectId styleId =
      style != nullptr ? TextStyleId(style, {style, style, bigFont, xScale}) : CurrentTextStyle();
  if (!styleId.isNull()) entity->setTextStyle(styleId);
  entity->setRotation(rotation);
  entity->setHeight(height);
  SetLayer(entity, layerId);
  return BAS_DRAW_FUN::AddToModelSpace(entity);
}

AcDbObjectId AppendMarkTriangle(const AcGePoint3d& p, double size, int colour) {
  auto* solid = new AcDbSolid(p, AcGePoint3d(p.x - 0.1 * size, p.y + 0.15 * size, p.z),
                              AcGePoint3d(p.x + 0.1 * size, p.y + 0.15 * size, p.z), p);
  SetColour(solid, colour);
  return BAS_DRAW_FUN::AddToModelSpace(solid);
}

AcDbObjectId Append2dPolyline(const AcGePoint3dArray& points, double startWidth, double endWidth, int colour,
                              AcDbObjectId layerId) {
  if (points.length() < 2) return AcDbObjectId::kNull;
  auto* polyline = new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, false, startWidth, endWidth);
  SetColour(polyline, colour);
  SetLayer(polyline, layerId);
  return BAS_DRAW_FUN::AddToModelSpace(polyline);
}

std::string LayerFilterPattern(const char* name) {
  // Characters with a meaning in a wild-card pattern are taken literally
  // when preceded by a backquote.
  static const char kSpecial[] = "#@.*?~[]-,`";
  std::string pattern;
  for (const char* c = name != nullptr ? name : "0"; *c != '\0'; ++c) {
    if (std::strchr(kSpecial, *c) != nullptr) pattern += '`';
    pattern += *c;
  }
  return pattern;
}

}  // namespace drawsupport
