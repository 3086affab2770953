// The DesignLine entity: filing, display, grips and its slope table.

#include "DesignLine.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "DesignerGlobals.h"
#include "EntityFiling.h"
#include "arx/edoutput.h"
#include "arx/gi.h"

ACRX_DXF_DEFINE_MEMBERS(DesignLine, AcDbEntity, 25, 76, 0, DESIGNLINE, "Corvane")

namespace {

constexpr int kFirstSlopeVertex = 5;  // the end of the first slope leg
constexpr int kSlopeStartFirst = 2;   // the shoulder (slope start): vertices 2, 3, 4
constexpr int kSlopeStartLast = 4;
constexpr Adesk::UInt16 kLineColour = 3;
constexpr Adesk::UInt16 kElevationColour = 2;

bool ShowsSideDitch(double formCode) {
  return std::fabs(formCode - kFormCut) < 1e-9 || std::fabs(formCode - kFormSideDitchOnly) < 1e-9;
}

}  // namespace

DesignLine::DesignLine() = default;
DesignLine::~DesignLine() = default;

double DesignLine::DrawingFactor() const {
  return m_data.frameOrigin[2] > 0.0 ? m_data.frameOrigin[2] : g_DrawingFactor;
}

// ---- Filing ------------------------------------------------------------------------------------------

Acad::ErrorStatus DesignLine::dwgOutFields(AcDbDwgFiler* filer) const {
  assertReadEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  const DesignLineData& d = m_data;
  entity_filing::WritePoints(filer, d.vertices);
  const SlopeLegGeometry& g = d.geometry;
  for (double v : {g.pointA[0], g.pointA[1], g.slopeStart[0][0], g.slopeStart[0][1], g.slopeStart[1][0],
                   g.slopeStart[1][1], g.slopeStart[2][0], g.slopeStart[2][1], g.formFlag, g.spare})
    filer->writeDouble(v);
  filer->writeInt32(d.embankment.count);
  filer->writeInt32(d.cutting.count);
  for (int i = 0; i < kMaxSlopeGrades; ++i)
    for (const SlopeGradeArrays* a : {&d.embankment, &d.cutting})
      for (double v : {a->ratio[i], a->height[i], a->bermWidth[i], a->bermSlope[i]}) filer->writeDouble(v);
  entity_filing::WritePoints(filer, d.extraPoints);
  filer->writeInt32(d.lineCode);
  filer->writeInt32(d.detourIndex);
  filer->writeInt32(d.sectionRow);
  filer->writeInt32(d.entityTable);
  filer->writeDouble(d.chainage);
  filer->writeInt32(d.side);
  filer->writeDouble(d.formCode);
  for (double v : d.frameElevations) filer->writeDouble(v);
  for (double v : d.frameOrigin) filer->writeDouble(v);
  return filer->filerStatus();
}

Acad::ErrorStatus DesignLine::dwgInFields(AcDbDwgFiler* filer) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  // Read into a fresh record: the line keeps its data unless all of it reads.
  DesignLineData d;
  auto failed = [filer]() { return entity_filing::Failure(filer); };
  if (!entity_filing::ReadPoints(filer, kMaxDrawnLinePoints, d.vertices)) return failed();
  SlopeLegGeometry& g = d.geometry;
  for (double* v : {&g.pointA[0], &g.pointA[1], &g.slopeStart[0][0], &g.slopeStart[0][1], &g.slopeStart[1][0],
                    &g.slopeStart[1][1], &g.slopeStart[2][0], &g.slopeStart[2][1], &g.formFlag, &g.spare})
    filer->readDouble(v);
  if (!entity_filing::ReadIntIn(filer, 0, kMaxSlopeGrades, d.embankment.count) ||
      !entity_filing::ReadIntIn(filer, 0, kMaxSlopeGrades, d.cutting.count))
    return failed();
  for (int i = 0; i < kMaxSlopeGrades; ++i)
    for (SlopeGradeArrays* a : {&d.embankment, &d.cutting})
      for (double* v : {&a->ratio[i], &a->height[i], &a->bermWidth[i], &a->bermSlope[i]}) filer->readDouble(v);
  Adesk::Int32 m = 0;
  if (filer->readInt32(&m) != Acad::eOk) return failed();
  if (m < 0 || m > kMaxDesignLineExtraPoints) return failed();
  d.extraPoints.assign(static_cast<size_t>(m), AcGePoint3d());
  for (AcGePoint3d& p : d.extraPoints) filer->readPoint3d(&p);
  Adesk::Int32 lineCode = 0, row = 0, table = 0, side = 0;
  filer->readInt32(&lineCode);
  if (!entity_filing::ReadIntIn(filer, -1, kMaxDetourDesigners - 1, d.detourIndex)) return failed();
  filer->readInt32(&row);
  filer->readInt32(&table);
  filer->readDouble(&d.chainage);
  filer->readInt32(&side);
  filer->readDouble(&d.formCode);
  for (double& v : d.frameElevations) filer->readDouble(&v);
  for (double& v : d.frameOrigin) filer->readDouble(&v);
  if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
  d.lineCode = lineCode;
  d.sectionRow = row;
  d.entityTable = table;
  d.side = side;
  m_data = std::move(d);
  return Acad::eOk;
}

// ---- Display ---------------------------------------------------------------------------------------

Adesk::Boolean DesignLine::worldDraw(AcGiWorldDraw* wd) {
  const DesignLineData& d = m_data;
  AcGiWorldGeometry& g = wd->geometry();
  AcGiSubEntityTraits& traits = wd->subEntityTraits();
  traits.setColor(kLineColour);
  if (d.vertices.size() >= 2) g.polyline(static_cast<Adesk::UInt32>(d.vertices.size()), d.vertices.data());
  if (d.vertices.size() > 3) {
    // The elevation of the formation edge: a filled mark pointing at the
    // fourth vertex and its elevation.
    const double f = DrawingFactor();
    const AcGePoint3d& p = d.vertices[3];
    const AcGePoint3d mark[3] = {p, AcGePoint3d(p.x - 0.1 * f, p.y + 0.15 * f, p.z),
                                 AcGePoint3d(p.x + 0.1 * f, p.y + 0.15 * f, p.z)};
    traits.setFillType(kAcGiFillAlways);
    g.polygon(3, mark);
    traits.setFillType(kAcGiFillNever);
    const SectionFrame frame = d.Frame();
    const double elevation = frame.factor > 0.0 ? (p.y - frame.originY) / frame.factor + frame.baseElevation : p.y;
    char text[64];
    std::snprintf(text, sizeof text, "%0.3lf", elevation);
    traits.setColor(kElevationColour);
    g.text(AcGePoint3d(p.x + 0.15 * f, p.y + 0.2 * f, p.z), AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, 0.3 * f, 1.0,
           0.0, text);
  }
  if (ShowsSideDitch(d.formCode) && d.extraPoints.size() >= 2) {
    traits.setColor(kLineColour);
    g.polyline(static_cast<Adesk::UInt32>(d.extraPoints.size()), d.extraPoints.data());
  }
  return true;
}

void DesignLine::list() const {
  assertReadEnabled();
  const DesignLineData& d = m_data;
  acutPrintf("\n\t\t自定义横断面设计线实体");
  acutPrintf("\n\t顶点数: %d", static_cast<int>(d.vertices.size()));
  for (const AcGePoint3d& p : d.vertices) acutPrintf("\n\t\t%0.3lf, %0.3lf", p.x, p.y);
  acutPrintf("\n\t线路: %d  绕行段: %d  断面: %d  图表: %d", d.lineCode, d.detourIndex, d.sectionRow, d.entityTable);
  acutPrintf("\n\t里程: %0.3lf  侧: %d  形式: %0.1lf", d.chainage, d.side, d.formCode);
  for (const auto& [name, grades] : {std::pair{"路堤边坡", &d.embankment}, std::pair{"路堑边坡", &d.cutting}}) {
    acutPrintf("\n\t%s: %d 级", name, grades->count);
    for (int i = 0; i < grades->count && i < kMaxSlopeGrades; ++i)
      acutPrintf("\n\t\t1:%0.3lf  %0.3lf  %0.3lf  %0.3lf", grades->ratio[i], grades->height[i], grades->bermWidth[i],
                 grades->bermSlope[i]);
  }
  acutPrintf("\n");
}

// ---- Grips and the slope table ---------------------------------------------------------------------

Acad::ErrorStatus DesignLine::getGripPoints(AcGePoint3dArray& gripPoints, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  for (const AcGePoint3d& p : m_data.vertices) gripPoints.append(p);
  return Acad::eOk;
}

Acad::ErrorStatus DesignLine::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  const int n = static_cast<int>(m_data.vertices.size());
  for (int i = 0; i < indices.length(); ++i)
    if (indices[i] < 0 || indices[i] >= n) return Acad::eInvalidIndex;
  if (indices.isEmpty()) return Acad::eOk;
  assertWriteEnabled();
  // Each vertex moves once, however many of the grips given carry it.
  std::vector<bool> moving(static_cast<size_t>(n), false);
  for (int i = 0; i < indices.length(); ++i) {
    const int grip = indices[i];
    const bool slopeStart = n > kSlopeStartLast && grip >= kSlopeStartFirst && grip <= kSlopeStartLast;
    for (int j = slopeStart ? kSlopeStartFirst : grip; j <= (slopeStart ? n - 1 : grip); ++j)
      moving[static_cast<size_t>(j)] = true;
  }
  for (int j = 0; j < n; ++j)
    if (moving[static_cast<size_t>(j)]) m_data.vertices[static_cast<size_t>(j)] += offset;
  m_data.TakeSlopeLegGeometryFromVertices();
  UpdateSlopeTable();
  return Acad::eOk;
}

void DesignLine::UpdateSlopeTable() {
  // The slope table follows from the vertices: recomputing it is not a
  // change of the line (the slope editing does it on a line open for read).
  DesignLineData& d = m_data;
  const size_t n = d.vertices.size();
  const double f = DrawingFactor();
  if (!d.IsEmbankmentTable() || n <= 4 || !(f > 0.0)) return;
  SlopeGradeArrays& e = d.embankment;
  int k = 0;
  for (size_t j = kFirstSlopeVertex; j < n && k < kMaxSlopeGrades; j += 2, ++k) {
    const double dx = std::fabs(d.vertices[j].x - d.vertices[j - 1].x);
    const double dy = std::fabs(d.vertices[j].y - d.vertices[j - 1].y);
    e.ratio[k] = dy <= 0.001 ? 1000000.0 : dx / dy;
    e.height[k] = dy / f;
    e.bermWidth[k] = j + 1 < n ? std::fabs(d.vertices[j + 1].x - d.vertices[j].x) / f : 0.0;
  }
  if (k == 0) return;  // the formation alone: no leg to take a grade from
  e.height[k - 1] = 100.0;
  e.count = k;
}
