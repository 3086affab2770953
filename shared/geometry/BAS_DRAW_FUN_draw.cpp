// Model-space helpers of BAS_DRAW_FUN: the append to model space (every
// build), and the plan drawing's makers of lines, polylines, texts, layers,
// groups and blocks, the layer eraser, rotation and zoom.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "arx/adscodes.h"
#include "arx/dbdatabase.h"
#include "arx/dbdict.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbsymtb.h"
#include "arx/edcmdline.h"
#include "arx/edoutput.h"
#include "arx/selection.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "geometry/DrawSupport.h"
#include "project/ModulePath.h"

AcDbObjectId BAS_DRAW_FUN::AddToModelSpace(AcDbEntity* entity) {
  if (entity == nullptr) return AcDbObjectId::kNull;
  // What cannot be appended is not left behind: a new entity is deleted, one
  // that is in a database already is only closed.
  auto refuse = [entity]() {
    if (entity->isNewObject()) {
      delete entity;
    } else {
      entity->close();
    }
    return AcDbObjectId::kNull;
  };
  AcDbDatabase* db = drawsupport::WorkingDatabase();
  AcDbBlockTable* blocks = nullptr;
  if (db == nullptr || db->getBlockTable(blocks, AcDb::kForRead) != Acad::eOk) return refuse();
  AcDbBlockTableRecord* modelSpace = nullptr;
  const Acad::ErrorStatus opened = blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite);
  blocks->close();
  if (opened != Acad::eOk) return refuse();
  AcDbObjectId id;
  const Acad::ErrorStatus appended = modelSpace->appendAcDbEntity(id, entity);
  modelSpace->close();
  if (appended != Acad::eOk) return refuse();
  entity->close();
  return id;
}

#if !defined(CORVANE_BUILD)

namespace {

constexpr double kPi = std::numbers::pi;

// Text modes of the plan drawing's text maker.
constexpr int kModeLeft = 1;
constexpr int kModeCentre = 2;
constexpr int kModeMiddle = 3;

// Line-type scale and width factor of the plan texts.
constexpr double kPlanTextWidthFactor = 0.7;

// Host status of a line type that its file does not hold.
constexpr int kLinetypeNotInFile = 162;

AcDb::TextHorzMode PlanTextMode(int mode) {
  switch (mode) {
    case kModeLeft: return AcDb::kTextLeft;
    case kModeCentre: return AcDb::kTextCenter;
    case kModeMiddle: return AcDb::kTextMid;
    default: return AcDb::kTextRight;
  }
}

// A lightweight polyline through the points (null for fewer than two) with
// the same width at every vertex (negative: the default widths).
AcDbPolyline* NewPolyline(const AcGePoint2dArray& points, double width) {
  if (points.length() < 2) return nullptr;
  auto* polyline = new AcDbPolyline(static_cast<unsigned int>(points.length()));
  for (int i = 0; i < points.length(); ++i) {
    polyline->addVertexAt(static_cast<unsigned int>(i), points[i], 0.0, width, width);
  }
  return polyline;
}

// Loads a line type of the plan drawing: from "acadiso.lin", and when that
// fails (the type is not there: status 162, or the file is missing) from
// "lib\rail.lin" in the install folder.
void LoadPlanLinetype(const char* name) {
  const Acad::ErrorStatus status = drawsupport::LoadLinetype(name, "acadiso.lin");
  if (status == Acad::eOk) return;
  static_assert(static_cast<int>(Acad::eUndefinedLineType) == kLinetypeNotInFile);
  CString railFile;
  railFile.Format("%s\\lib\\rail.lin", InstallFolder().GetString());
  drawsupport::LoadLinetype(name, railFile);
}

// p moved by `cut` towards q (the segment p-q).
AcGePoint3d CutTowards(const AcGePoint2d& p, const AcGePoint2d& q, double cut) {
  const double length = std::hypot(q.x - p.x, q.y - p.y);
  const double t = cut / length;
  return AcGePoint3d(p.x + t * (q.x - p.x), p.y + t * (q.y - p.y), 0.0);
}

}  // namespace

AcDbObjectId BAS_DRAW_FUN::MakeLine(const AcGePoint3d& p1, const AcGePoint3d& p2, int colour, int lineWeight,
                                    const char* layer, const char* linetype) {
  return drawsupport::AppendLine(p1, p2, colour, lineWeight, drawsupport::LayerId(layer), linetype);
}

AcDbObjectId BAS_DRAW_FUN::MakePolyline(const AcGePoint2dArray& points, int colour, int lineWeight,
                                        const char* layer, const char* linetype) {
  AcDbPolyline* polyline = NewPolyline(points, -1.0);
  if (polyline == nullptr) return AcDbObjectId::kNull;
  drawsupport::SetColour(polyline, colour);
  drawsupport::SetLineWeight(polyline, lineWeight);
  drawsupport::SetLayer(polyline, drawsupport::LayerId(layer));
  if (linetype != nullptr) {
    drawsupport::LoadLinetype(linetype, "acadiso.lin");
    drawsupport::SetLinetype(polyline, linetype);
  }
  return AddToModelSpace(polyline);
}

AcDbObjectId BAS_DRAW_FUN::MakeWidePolyline(const AcGePoint2dArray& points, double width, int colour,
                                            const char* layer, const char* linetype, double linetypeScale) {
  AcDbPolyline* polyline = NewPolyline(points, width);
  if (polyline == nullptr) return AcDbObjectId::kNull;
  drawsupport::SetColour(polyline, colour);
  drawsupport::SetLayer(polyline, drawsupport::LayerId(layer));
  if (linetype != nullptr) {
    LoadPlanLinetype(linetype);
    drawsupport::SetLinetype(polyline, linetype);
  }
  polyline->setLinetypeScale(linetypeScale);
  return AddToModelSpace(polyline);
}

AcDbObjectId BAS_DRAW_FUN::MakeTwoPointPolyline(const AcGePoint3d& p1, const AcGePoint3d& p2, double width,
                                                int colour, const char* layer, const char* linetype,
                                                double linetypeScale) {
  AcGePoint2dArray points;
  points.append(AcGePoint2d(p1.x, p1.y));
  points.append(AcGePoint2d(p2.x, p2.y));
  return MakeWidePolyline(points, width, colour, layer, linetype, linetypeScale);
}

AcDbObjectId BAS_DRAW_FUN::MakeText(const AcGePoint3d& position, const char* text, double rotation, double height,
                                    int colour, int mode, const char* layer) {
  auto* entity = new AcDbText();
  entity->setTextString(text != nullptr ? text : "");
  drawsupport::PlaceText(entity, position, PlanTextMode(mode));
  drawsupport::SetColour(entity, colour);
  const AcDbObjectId style = GetPlanTextStyle();
  if (!style.isNull()) entity->setTextStyle(style);
  entity->setRotation(rotation);
  entity->setWidthFactor(kPlanTextWidthFactor);
  entity->setHeight(height);
  drawsupport::SetLayer(entity, drawsupport::LayerId(layer));
  return AddToModelSpace(entity);
}

AcDbObjectId BAS_DRAW_FUN::MakeTextFromCString(const AcGePoint3d& position, const CString& text, double rotation,
                                               double height, int colour, int mode, const char* layer) {
  return MakeText(position, text.GetString(), rotation, height, colour, mode, layer);
}

AcDbObjectId BAS_DRAW_FUN::GetPlanTextStyle() {
  return drawsupport::TextStyleId("PMBZ", {nullptr, "宋体", nullptr, kPlanTextWidthFactor});
}

AcDbObjectId BAS_DRAW_FUN::AddLayerRecord(const char* name, int colour, int lineWeight, const char* linetype) {
  const AcDbObjectId id = drawsupport::LayerId(name);
  AcDbLayerTableRecord* layer = nullptr;
  if (id.isNull() || acdbOpenObject(layer, id, AcDb::kForWrite) != Acad::eOk) return id;
  if (colour >= 1 && colour <= 255) layer->setColorIndex(static_cast<Adesk::UInt16>(colour));
  layer->setLineWeight(static_cast<AcDb::LineWeight>(lineWeight));
  if (linetype != nullptr) {
    drawsupport::LoadLinetype(linetype, "acadiso.lin");
    AcDbLinetypeTable* types = nullptr;
    if (drawsupport::WorkingDatabase()->getLinetypeTable(types, AcDb::kForRead) == Acad::eOk) {
      AcDbObjectId type;
      if (types->getAt(linetype, type) == Acad::eOk) layer->setLinetypeObjectId(type);
      types->close();
    }
  }
  layer->close();
  return id;
}

AcDbObjectId BAS_DRAW_FUN::AddLayerWithColor(const CString& name, int colour, int lineWeight,
                                             const char* linetype) {
  return AddLayerRecord(name.GetString(), colour, lineWeight, linetype);
}

void BAS_DRAW_FUN::DrawEndTicks(const AcGePoint3d& p1, const AcGePoint3d& p2, double size, int colour,
                                int lineWeight, const char* layer, const char* linetype) {
  const double forward = BearingOfPoints(p1, p2);
  const struct {
    const AcGePoint3d& end;
    double outward;
  } ends[] = {{p1, forward + kPi}, {p2, forward}};
  for (const auto& e : ends) {
    AcGePoint3d tip, barb;
    PolarPoint(e.end, size, e.outward, tip);
    PolarPoint(e.end, 0.3 * size, e.outward + 0.1 * kPi, barb);
    MakeLine(e.end, tip, colour, lineWeight, layer, linetype);
    MakeLine(e.end, barb, colour, lineWeight, layer, linetype);
  }
}

void BAS_DRAW_FUN::DrawPolylineClipped(const AcGePoint2dArray& points, double radius, int colour, int lineWeight,
                                       const char* layer, const char* linetype, bool cutEnds) {
  const int n = points.length();
  const double r = std::max(radius, 0.0);
  for (int i = 0; i + 1 < n; ++i) {
    const AcGePoint2d& from = points[i];
    const AcGePoint2d& to = points[i + 1];
    const double cutFrom = (i > 0 || cutEnds) ? r : 0.0;
    const double cutTo = (i + 1 < n - 1 || cutEnds) ? r : 0.0;
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (cutFrom + cutTo > 0.0 && length <= cutFrom + cutTo) continue;  // wholly inside the circles
    const AcGePoint3d start = cutFrom > 0.0 ? CutTowards(from, to, cutFrom) : AcGePoint3d(from.x, from.y, 0.0);
    const AcGePoint3d end = cutTo > 0.0 ? CutTowards(to, from, cutTo) : AcGePoint3d(to.x, to.y, 0.0);
    MakeLine(start, end, colour, lineWeight, layer, linetype);
  }
}

AcDbObjectId BAS_DRAW_FUN::MakeGroup(const char* name, const AcDbObjectIdArray& ids) {
  AcDbDatabase* db = drawsupport::WorkingDatabase();
  AcDbDictionary* groups = nullptr;
  if (name == nullptr || db == nullptr || db->getGroupDictionary(groups, AcDb::kForWrite) != Acad::eOk) {
    return AcDbObjectId::kNull;
  }
  auto* group = new AcDbGroup();
  AcDbObjectId groupId;
  if (groups->setAt(name, group, groupId) != Acad::eOk) {
    delete group;
    groups->close();
    return AcDbObjectId::kNull;
  }
  for (int i = 0; i < ids.length(); ++i) group->append(ids[i]);  // ids that are no entity are refused
  group->close();
  groups->close();
  return groupId;
}

AcDbObjectId BAS_DRAW_FUN::InsertDwgAsBlock(const char* folder, const char* name) {
  AcDbDatabase* db = drawsupport::WorkingDatabase();
  if (db == nullptr || name == nullptr) return AcDbObjectId::kNull;
  CString file = folder != nullptr ? folder : "";
  file += name;
  auto* side = new AcDbDatabase(false, true);
  AcDbObjectId blockId;
  if (side->readDwgFile(file, _SH_DENYNO) != Acad::eOk || db->insert(blockId, name, side) != Acad::eOk) {
    blockId = AcDbObjectId::kNull;
  }
  delete side;
  return blockId;
}

void BAS_DRAW_FUN::EraseLayerEntities(const char* layer) {
  const char* name = layer != nullptr ? layer : "0";
  std::string pattern = drawsupport::LayerFilterPattern(name);
  resbuf filter{};
  filter.restype = 8;
  filter.resval.rstring = pattern.data();
  ads_name selection;
  if (acedSSGet("X", nullptr, nullptr, &filter, selection) != RTNORM) return;
  long count = 0;
  acedSSLength(selection, &count);
  CString label;
  label.Format("正在删除%s层\n:", name);
  acedSetStatusBarProgressMeter(label, 0, 100);
  for (long i = count - 1; i >= 0; --i) {
    acedSetStatusBarProgressMeterPos(static_cast<int>((count - 1 - i) * 100 / count));
    ads_name entityName;
    AcDbObjectId id;
    AcDbEntity* entity = nullptr;
    if (acedSSName(selection, i, entityName) != RTNORM || acdbGetObjectId(id, entityName) != Acad::eOk ||
        acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) {
      continue;  // an entity that cannot be opened stays
    }
    entity->erase();
    entity->close();
  }
  acedRestoreStatusBar();
  if (acedSSFree(selection) != RTNORM) acutPrintf("\nsname free error");
}

void BAS_DRAW_FUN::DeleteLayerContents(const CString& layer) {
  const CString name = layer;
  EraseLayerEntities(name.GetString());
}

void BAS_DRAW_FUN::RotateEntities(const AcDbObjectIdArray& ids, const AcGePoint3d& base, double angle) {
  const AcGeMatrix3d rotation = AcGeMatrix3d::rotation(angle, AcGeVector3d::kZAxis, base);
  for (int i = 0; i < ids.length(); ++i) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, ids[i], AcDb::kForWrite) != Acad::eOk) continue;
    entity->transformBy(rotation);
    entity->close();
  }
}

void BAS_DRAW_FUN::ZoomWindow(const AcGePoint2d& p1, const AcGePoint2d& p2) {
  constexpr double kMargin = 50.0;
  AcGePoint2d lowerLeft, upperRight;
  BoundingBoxOf4Points(p1, AcGePoint2d(p1.x, p2.y), p2, AcGePoint2d(p2.x, p1.y), lowerLeft, upperRight);
  ads_point corner1 = {lowerLeft.x - kMargin, lowerLeft.y - kMargin, 0.0};
  ads_point corner2 = {upperRight.x + kMargin, upperRight.y + kMargin, 0.0};
  acedCommand(RTSTR, "ZOOM", RTSTR, "WINDOW", RTPOINT, corner1, RTPOINT, corner2, RTNONE);
}

void BoundingBoxOf4Points(const AcGePoint2d& a, const AcGePoint2d& b, const AcGePoint2d& c, const AcGePoint2d& d,
                          AcGePoint2d& lowerLeft, AcGePoint2d& upperRight) {
  lowerLeft.set(std::min({a.x, b.x, c.x, d.x}), std::min({a.y, b.y, c.y, d.y}));
  upperRight.set(std::max({a.x, b.x, c.x, d.x}), std::max({a.y, b.y, c.y, d.y}));
}

#endif  // !CORVANE_BUILD
