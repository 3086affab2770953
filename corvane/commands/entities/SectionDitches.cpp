// The ditch entities of a drawn section side: LTGOU and JSGOU.

#include "SectionDitches.h"

#include <cstdio>

#include "DesignerGlobals.h"
#include "EntityFiling.h"
#include "arx/edoutput.h"
#include "arx/gi.h"

ACRX_DXF_DEFINE_MEMBERS(LTGOU, AcDbEntity, 25, 76, 0, LTGOU, "Corvane")
ACRX_DXF_DEFINE_MEMBERS(JSGOU, AcDbEntity, 25, 76, 0, JSGOU, "Corvane")

namespace {
constexpr Adesk::UInt16 kDitchColour = 4;
constexpr Adesk::UInt16 kLabelColour = 2;
}  // namespace

SectionDitchEntity::SectionDitchEntity() = default;
SectionDitchEntity::~SectionDitchEntity() = default;

Acad::ErrorStatus SectionDitchEntity::dwgOutFields(AcDbDwgFiler* filer) const {
  assertReadEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  filer->writeInt32(m_data.side);
  filer->writeInt32(m_data.kind);
  entity_filing::WritePoints(filer, m_data.vertices);
  filer->writePoint3d(m_data.labelAnchor);
  filer->writeDouble(m_data.bottomElevation);
  filer->writeDouble(m_data.bottomCentre);
  entity_filing::WritePoints(filer, m_data.outline);
  return filer->filerStatus();
}

Acad::ErrorStatus SectionDitchEntity::dwgInFields(AcDbDwgFiler* filer) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  SectionDitchData d;
  Adesk::Int32 side = 0, kind = 0;
  filer->readInt32(&side);
  filer->readInt32(&kind);
  d.side = side;
  d.kind = kind;
  const bool pointsRead = entity_filing::ReadPoints(filer, kMaxDitchVertices, d.vertices);
  filer->readPoint3d(&d.labelAnchor);
  filer->readDouble(&d.bottomElevation);
  filer->readDouble(&d.bottomCentre);
  if (!pointsRead || !entity_filing::ReadPoints(filer, kMaxDitchOutlinePoints, d.outline) ||
      filer->filerStatus() != Acad::eOk)
    return entity_filing::Failure(filer);
  m_data = std::move(d);
  return Acad::eOk;
}

Adesk::Boolean SectionDitchEntity::worldDraw(AcGiWorldDraw* wd) {
  if (!Shows()) return true;
  AcGiWorldGeometry& g = wd->geometry();
  AcGiSubEntityTraits& traits = wd->subEntityTraits();
  traits.setColor(kDitchColour);
  for (const std::vector<AcGePoint3d>* points : {&m_data.vertices, &m_data.outline})
    if (points->size() >= 2) g.polyline(static_cast<Adesk::UInt32>(points->size()), points->data());
  if (m_data.kind == kDitchDrainage || m_data.kind == kDitchTop) {
    char text[64];
    std::snprintf(text, sizeof text, "%0.3lf", m_data.bottomElevation);
    traits.setColor(kLabelColour);
    const double f = g_DrawingFactor;
    g.text(AcGePoint3d(m_data.labelAnchor.x, m_data.labelAnchor.y + 0.2 * f, 0.0), AcGeVector3d::kZAxis,
           AcGeVector3d::kXAxis, 0.3 * f, 1.0, 0.0, text);
  }
  return true;
}

void SectionDitchEntity::list() const {
  assertReadEnabled();
  acutPrintf(IsTopDitch() ? "\n\t\t自定义横断面天沟实体" : "\n\t\t自定义横断面水沟实体");
  acutPrintf("\n\t侧: %d  类型: %d  点数: %d", m_data.side, m_data.kind, static_cast<int>(m_data.vertices.size()));
  for (const AcGePoint3d& p : m_data.vertices) acutPrintf("\n\t\t%0.3lf, %0.3lf", p.x, p.y);
  acutPrintf("\n\t沟底高程: %0.3lf  沟底中心距: %0.3lf\n", m_data.bottomElevation, m_data.bottomCentre);
}
