// GroundLineInput::OnPick and OnDraw: ground points taken from an entity of
// the drawing, and the ground line of the two grids drawn into it.
//
// Picked points arrive as (distance from the centre, height difference to
// the centre); they are put into the grids in the forms the dialog's radios
// name (PointForms.h), so that the design table's conversion gives them back.
// The drawing converts the grids' points the same way before it draws.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "GroundLineInput.h"
#include "PointForms.h"
#include "RockLayerRows.h"
#include "arx/apdocman.h"
#include "arx/dbents.h"
#include "arx/dbmain.h"
#include "arx/dbpl.h"
#include "arx/edinput.h"
#include "arx/edoutput.h"
#include "arx/selection.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/app.h"

namespace {

struct Point2 {
  double x = 0.0, y = 0.0;
};

// One side's points from the vertices `order` (indices into `v`) of a
// polyline: distance f·(cx − x) on the left, f·(x − cx) on the right, height
// f·(y − cy); a point whose distance is below 0.01 (the centre vertex, and a
// vertex on the other side) is not taken.
std::vector<EarthPoint> SidePoints(const std::vector<Point2>& v, const std::vector<int>& order, bool left,
                                   const Point2& centre, double f) {
  std::vector<EarthPoint> points;
  for (int i : order) {
    const Point2& p = v[static_cast<size_t>(i)];
    const double distance = f * (left ? centre.x - p.x : p.x - centre.x);
    if (distance < 0.01) continue;
    points.push_back({distance, f * (p.y - centre.y)});
  }
  return points;
}

std::vector<int> Range(int from, int to) {  // from .. to inclusive, either way round
  std::vector<int> r;
  for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1) r.push_back(i);
  return r;
}

// The two sides of a polyline drawn as a cross-section ground line.
void SplitPolyline(const std::vector<Point2>& v, const Point2& c, double f, std::vector<EarthPoint>& left,
                   std::vector<EarthPoint>& right) {
  const int n = static_cast<int>(v.size());
  if (n == 0) return;
  const Point2& first = v.front();
  const Point2& last = v.back();
  const bool lastFarther = std::fabs(last.x - c.x) > std::fabs(first.x - c.x);
  const std::vector<int> forward = Range(0, n - 1), backward = Range(n - 1, 0);
  if (c.x >= first.x && c.x >= last.x) {
    left = SidePoints(v, lastFarther ? forward : backward, true, c, f);
  } else if (c.x <= first.x && c.x <= last.x) {
    right = SidePoints(v, lastFarther ? forward : backward, false, c, f);
  } else if (first.x > c.x) {
    int lastRight = 0;
    for (int i = 0; i < n; ++i)
      if (v[static_cast<size_t>(i)].x > c.x) lastRight = i;
    left = SidePoints(v, forward, true, c, f);
    right = SidePoints(v, Range(lastRight, 0), false, c, f);
  } else {
    int lastLeft = 0;
    for (int i = 0; i < n; ++i)
      if (v[static_cast<size_t>(i)].x <= c.x) lastLeft = i;
    right = SidePoints(v, forward, false, c, f);
    left = SidePoints(v, Range(lastLeft, 0), true, c, f);
  }
}

}  // namespace

void GroundLineInput::OnPick() {
  ResetLeftGrid(kGridRows);
  ResetRightGrid(kGridRows);
  if (elevationText.IsEmpty()) {
    AfxMessageBox("请输入高程！");
    return;
  }
  const double base = std::atof(elevationText.GetString());
  leftGrid.mode = rightGrid.mode = elevationType;
  leftGrid.baseElevation = rightGrid.baseElevation = base;

  ads_name name;
  ads_point picked;
  const int rc = acedEntSel("\n请选择实体: ", name, picked);
  if (rc == RTCAN) return;
  if (rc != RTNORM) {
    acutPrintf("没有选中线路实体!\n");
    return;
  }
  AcDbObjectId id;
  AcDbEntity* entity = nullptr;
  if (acdbGetObjectId(id, name) != Acad::eOk || acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) {
    acutPrintf("打开实体失败!\n");
    return;
  }

  std::vector<EarthPoint> left, right;
  if (AcDbPolyline* polyline = AcDbPolyline::cast(entity)) {
    std::vector<Point2> vertices;
    for (unsigned int i = 0; i < polyline->numVerts(); ++i) {
      AcGePoint2d p;
      polyline->getPointAt(i, p);
      vertices.push_back({p.x, p.y});
    }
    entity->close();
    acutPrintf("请继续拾取中桩点：");
    ads_point centre;
    if (acedGetPoint(nullptr, "\n请拾取中心点：", centre) != RTNORM) return;
    SplitPolyline(vertices, {centre[0], centre[1]}, scaleFactor, left, right);
  } else if (AcDbLine* line = AcDbLine::cast(entity)) {
    const AcGePoint3d start = line->startPoint(), end = line->endPoint();
    entity->close();
    acutPrintf("请继续拾取中桩点！");
    ads_point at;
    if (acedGetPoint(nullptr, "\n请拾取绘图基点：", at) != RTNORM) return;
    auto take = [&](const AcGePoint3d& p) {
      const EarthPoint point{scaleFactor * std::fabs(p.x - at[0]), scaleFactor * (p.y - at[1])};
      (p.x > at[0] ? right : left) = {point};
    };
    if (std::fabs(end.x - at[0]) < 0.01) take(start);
    if (std::fabs(start.x - at[0]) < 0.01) take(end);
  } else if (AcDbText* text = AcDbText::cast(entity)) {
    const CString value = text->textString();
    entity->close();
    if (lastField == kChainageField)
      chainageText = value;
    else if (lastField == kElevationField)
      SetElevationText(value);
    else
      lineNameText = value;
    return;
  } else {
    entity->close();
    return;
  }

  for (int s = 0; s < 2; ++s) {
    const std::vector<EarthPoint>& points = s == 0 ? left : right;
    if (static_cast<int>(points.size()) > PointGrid::kTablePoints) {
      CString message;
      message.Format("%s侧有%d个地面点, 表格最多放%d个点, 未拾取。", s == 0 ? "左" : "右",
                     static_cast<int>(points.size()), PointGrid::kTablePoints);
      AfxMessageBox(message);
      return;
    }
  }
  for (int s = 0; s < 2; ++s) {
    std::vector<EarthPoint> points = s == 0 ? left : right;
    PointGrid& grid = s == 0 ? leftGrid : rightGrid;
    ToEnteredForm(points.data(), static_cast<int>(points.size()), base, reference, elevationType);
    grid.count = static_cast<int>(points.size());
    std::copy(points.begin(), points.end(), grid.table);
    if (grid.count > static_cast<int>(grid.rows.size())) grid.rows.resize(static_cast<size_t>(grid.count) + 1);
    grid.FillRows();
  }
}

void GroundLineInput::OnDraw() {
  acutPrintf("请继续拾取中桩点：");
  ads_point at;
  if (acedGetPoint(nullptr, "\n请拾取中心点：", at) != RTNORM) return;

  // The grids' points in table form.
  const double elevation = std::atof(elevationText.GetString());
  std::vector<EarthPoint> sides[2] = {leftGrid.FilledPoints(), rightGrid.FilledPoints()};
  for (std::vector<EarthPoint>& side : sides)
    ToTableForm(side.data(), static_cast<int>(side.size()), elevation, reference, elevationType);

  // The centre between the first points (an empty grid reads as a point on
  // the centre); both first points on the centre give the left one's height.
  earthline l, r;
  l.leftCount = r.rightCount = 1;
  if (!sides[0].empty()) l.left[0] = sides[0].front();
  if (!sides[1].empty()) r.right[0] = sides[1].front();
  const double centreHeight = PairCentreHeight(&l, &r);
  bool finite = std::isfinite(centreHeight);
  for (const std::vector<EarthPoint>& side : sides)
    for (const EarthPoint& p : side) finite = finite && std::isfinite(p.distance) && std::isfinite(p.height);
  if (!finite) {
    AfxMessageBox("地面点中有不能画出的数, 未画地面线。");
    return;
  }

  AcApDocument* document = curDoc();
  const bool locked = document && acDocManager->lockDocument(document, AcAp::kWrite) == Acad::eOk;
  const AcGePoint3d centre(at[0], at[1] + centreHeight, 0.0);
  for (int s = 0; s < 2; ++s) {
    AcGePoint3dArray vertices;
    vertices.append(centre);
    for (const EarthPoint& p : sides[s])
      vertices.append(AcGePoint3d(at[0] + (s == 0 ? -p.distance : p.distance), at[1] + p.height, 0.0));
    BAS_DRAW_FUN::MakePolyline2d(vertices, 0, 0.0, 0.0, AcDbObjectId::kNull);
  }
  BAS_DRAW_FUN::DrawElevationMark(centre, 1.0, elevationText.GetString(), 6, 2, 5.0, 1);
  BAS_DRAW_FUN::MakeTextWithStyle(AcGePoint3d(centre.x, centre.y - 2.0, 0.0), chainageText.GetString(), 0.0, 1.0, 3,
                                  1, "宋体");
  if (locked) acDocManager->unlockDocument(document);
}
