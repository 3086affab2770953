// The plain form of a custom entity of a drawn section.

#include "PlainDrawing.h"

#include <cmath>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/gidrawing.h"
#include "geometry/BAS_DRAW_FUN.h"

namespace {

AcDbEntity* PlainPiece(const platform::GiPrimitive& p) {
  switch (p.kind) {
    case platform::GiPrimitive::kPolyline:
    case platform::GiPrimitive::kPolygon: {
      if (p.points.size() < 2) return nullptr;
      auto* pl = new AcDbPolyline(static_cast<unsigned>(p.points.size()));
      for (size_t i = 0; i < p.points.size(); ++i) pl->addVertexAt(static_cast<unsigned>(i), p.points[i].convert2d());
      pl->setElevation(p.points[0].z);
      pl->setClosed(p.kind == platform::GiPrimitive::kPolygon || p.closed);
      return pl;
    }
    case platform::GiPrimitive::kText: {
      const double rotation = std::atan2(p.direction.y, p.direction.x);
      auto* t = new AcDbText(p.position, p.text.c_str(), p.textStyle, p.height, rotation);
      t->setWidthFactor(p.widthFactor);
      return t;
    }
    default:
      return nullptr;  // the section's entities draw no circles or arcs
  }
}

}  // namespace

int AppendPlainForm(const AcDbEntity* entity, int colour, AcDbObjectId layer) {
  if (entity == nullptr) return 0;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  platform::GiRecorder recorder(db);
  recorder.drawEntity(entity);
  int appended = 0;
  for (const platform::GiPrimitive& p : recorder.primitives()) {
    AcDbEntity* piece = PlainPiece(p);
    if (piece == nullptr) continue;
    piece->setColorIndex(static_cast<Adesk::UInt16>(colour));
    const AcDbObjectId onLayer = layer.isNull() ? entity->layerId() : layer;
    if (!onLayer.isNull() && onLayer.database() == db) piece->setLayer(onLayer);
    if (!BAS_DRAW_FUN::AddToModelSpace(piece).isNull()) ++appended;
  }
  return appended;
}
