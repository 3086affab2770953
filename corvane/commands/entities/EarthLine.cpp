// The EarthLine entity: the ground line of one side of a drawn section.

#include "EarthLine.h"

#include "EntityFiling.h"
#include "arx/edoutput.h"
#include "arx/gi.h"

ACRX_DXF_DEFINE_MEMBERS(EarthLine, AcDbEntity, 25, 76, 0, EarthLine, "Corvane")

namespace {
constexpr Adesk::UInt16 kGroundColour = 7;
}

EarthLine::EarthLine() = default;
EarthLine::~EarthLine() = default;

Acad::ErrorStatus EarthLine::dwgOutFields(AcDbDwgFiler* filer) const {
  assertReadEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  filer->writeInt32(m_data.side);
  entity_filing::WritePoints(filer, m_data.vertices);
  return filer->filerStatus();
}

Acad::ErrorStatus EarthLine::dwgInFields(AcDbDwgFiler* filer) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  EarthLineData d;
  Adesk::Int32 side = 0;
  filer->readInt32(&side);
  d.side = side;
  if (!entity_filing::ReadPoints(filer, kMaxDrawnLinePoints, d.vertices) || filer->filerStatus() != Acad::eOk)
    return entity_filing::Failure(filer);
  m_data = std::move(d);
  return Acad::eOk;
}

Adesk::Boolean EarthLine::worldDraw(AcGiWorldDraw* wd) {
  wd->subEntityTraits().setColor(kGroundColour);
  if (m_data.vertices.size() >= 2)
    wd->geometry().polyline(static_cast<Adesk::UInt32>(m_data.vertices.size()), m_data.vertices.data());
  return true;
}

void EarthLine::list() const {
  assertReadEnabled();
  acutPrintf("\n\t\t自定义横断面地面线实体");
  acutPrintf("\n\t侧: %d  点数: %d", m_data.side, static_cast<int>(m_data.vertices.size()));
  for (const AcGePoint3d& p : m_data.vertices) acutPrintf("\n\t\t%0.3lf, %0.3lf", p.x, p.y);
  acutPrintf("\n");
}
