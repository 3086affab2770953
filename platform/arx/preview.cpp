// The drawing preview: model space drawn into a rectangle of a DC.
#include "arx/preview.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <vector>

#include "arx/dxffile.h"
#include "arx/gidrawing.h"
#include "arx/textcodes.h"
#include "crt/paths.h"
#include "win/sysparams.h"

namespace platform {

namespace {

struct Mapping {
  double scale = 1, cx = 0, cy = 0;  // world centre
  double px = 0, py = 0;             // pixel centre
  POINT operator()(double x, double y) const {
    return POINT{static_cast<LONG>(std::lround(px + (x - cx) * scale)),
                 static_cast<LONG>(std::lround(py - (y - cy) * scale))};
  }
};

COLORREF colorOf(const GiPrimitive& p) {
  unsigned rgb = colorIndexToRgb(p.color);  // 7 and anything unresolved: black
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Points along an arc from `start` sweeping `sweep` radians (world units).
void arcPoints(std::vector<std::pair<double, double>>& out, double cx, double cy, double r, double start,
               double sweep) {
  int n = std::clamp(static_cast<int>(std::fabs(sweep) / (std::numbers::pi / 32)) + 1, 2, 256);
  for (int k = 0; k <= n; ++k) {
    double a = start + sweep * k / n;
    out.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
  }
}

// The outline of a polyline primitive with its bulged segments as arcs.
std::vector<std::pair<double, double>> outline(const GiPrimitive& p) {
  std::vector<std::pair<double, double>> pts;
  size_t n = p.points.size();
  if (n == 0) return pts;
  size_t segs = p.closed ? n : n - 1;
  pts.emplace_back(p.points[0].x, p.points[0].y);
  for (size_t i = 0; i < segs; ++i) {
    const AcGePoint3d& a = p.points[i];
    const AcGePoint3d& b = p.points[(i + 1) % n];
    double bulge = i < p.bulges.size() ? p.bulges[i] : 0;
    if (bulge == 0) {
      pts.emplace_back(b.x, b.y);
      continue;
    }
    // The arc through a and b whose included angle is 4 atan(bulge).
    double sweep = 4 * std::atan(bulge);
    double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (chord <= 0) continue;
    double r = chord / (2 * std::sin(std::fabs(sweep) / 2));
    double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
    double d = std::sqrt(std::max(0.0, r * r - chord * chord / 4));
    double ux = -(b.y - a.y) / chord, uy = (b.x - a.x) / chord;  // left of a->b
    double side = (bulge > 0) == (std::fabs(sweep) < std::numbers::pi) ? 1 : -1;
    double cx = mx + side * d * ux, cy = my + side * d * uy;
    arcPoints(pts, cx, cy, r, std::atan2(a.y - cy, a.x - cx), sweep);
  }
  return pts;
}

void drawPrimitive(HDC dc, const GiPrimitive& p, const Mapping& m) {
  COLORREF color = colorOf(p);
  std::vector<std::pair<double, double>> world;
  bool fill = false;
  switch (p.kind) {
    case GiPrimitive::kPolyline:
    case GiPrimitive::kPolygon:
      world = outline(p);
      fill = p.kind == GiPrimitive::kPolygon && p.filled;
      if (p.kind == GiPrimitive::kPolygon && !world.empty()) world.push_back(world.front());
      break;
    case GiPrimitive::kCircle: arcPoints(world, p.center.x, p.center.y, p.radius, 0, 2 * std::numbers::pi); break;
    case GiPrimitive::kArc:
      arcPoints(world, p.center.x, p.center.y, p.radius, std::atan2(p.startVector.y, p.startVector.x), p.sweep);
      break;
    case GiPrimitive::kText: {
      double h = p.height * m.scale;
      if (p.text.empty() || h < 3) return;
      // Run by run, the control codes shown as their characters; an
      // overlined run gets a line over it.
      LOGFONT lf = messageFont();
      lf.lfHeight = -static_cast<LONG>(std::lround(std::min(h, 2000.0)));
      SetTextColor(dc, color);
      SetBkMode(dc, TRANSPARENT);
      UINT align = SetTextAlign(dc, TA_BASELINE | TA_LEFT);
      POINT at = m(p.position.x, p.position.y);
      HPEN pen = CreatePen(PS_SOLID, 1, color);
      for (const TextRun& run : shownTextRuns(p.text)) {
        lf.lfUnderline = run.underline ? 1 : 0;
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        const int count = static_cast<int>(run.text.size());
        TextOutA(dc, at.x, at.y, run.text.c_str(), count);
        SIZE size{};
        GetTextExtentPoint32A(dc, run.text.c_str(), count, &size);
        if (run.overline) {
          TEXTMETRIC tm{};
          GetTextMetricsA(dc, &tm);
          HGDIOBJ oldPen = SelectObject(dc, pen);
          MoveToEx(dc, at.x, at.y - tm.tmAscent, nullptr);
          LineTo(dc, at.x + size.cx, at.y - tm.tmAscent);
          SelectObject(dc, oldPen);
        }
        at.x += size.cx;
        SelectObject(dc, old);
        DeleteObject(font);
      }
      DeleteObject(pen);
      SetTextAlign(dc, align);
      return;
    }
  }
  if (world.empty()) return;
  std::vector<POINT> pts;
  for (auto& [x, y] : world) {
    POINT q = m(x, y);
    if (pts.empty() || pts.back().x != q.x || pts.back().y != q.y) pts.push_back(q);
  }
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  if (pts.size() == 1) {
    SetPixel(dc, pts[0].x, pts[0].y, color);
  } else if (fill && pts.size() >= 3) {
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Polygon(dc, pts.data(), static_cast<int>(pts.size()));
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  } else {
    Polyline(dc, pts.data(), static_cast<int>(pts.size()));
    // The last point too (a line stops before its end).
    SetPixel(dc, pts.back().x, pts.back().y, color);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

}  // namespace

bool drawDrawingPreview(HDC dc, const RECT& rect, AcDbDatabase& db) {
  if (GetObjectType(dc) == 0) return false;
  GiRecorder rec(&db);
  rec.setResolveColors(true);
  drawModelSpace(db, rec);
  AcDbExtents ext;
  for (const GiPrimitive& p : rec.primitives()) addPrimitiveExtents(p, ext);
  if (ext.isEmpty()) return false;
  double w = rect.right - rect.left - 4, h = rect.bottom - rect.top - 4;
  if (w <= 0 || h <= 0) return false;
  double ew = ext.maxPoint().x - ext.minPoint().x, eh = ext.maxPoint().y - ext.minPoint().y;
  Mapping m;
  m.scale = std::min(ew > 1e-9 ? w / ew : 1e9, eh > 1e-9 ? h / eh : 1e9);
  if (m.scale >= 1e9) m.scale = 1;  // a single point
  m.cx = (ext.minPoint().x + ext.maxPoint().x) / 2;
  m.cy = (ext.minPoint().y + ext.maxPoint().y) / 2;
  m.px = (rect.left + rect.right - 1) / 2.0;
  m.py = (rect.top + rect.bottom - 1) / 2.0;
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  for (const GiPrimitive& p : rec.primitives()) drawPrimitive(dc, p, m);
  RestoreDC(dc, saved);
  return true;
}

bool drawDrawingPreview(HDC dc, const RECT& rect, const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  std::string file = resolvePath(path);
  bool present = std::filesystem::is_regular_file(file, ec);
  if (!present && file.size() > 4) {
    std::string ext = file.substr(file.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".dwg") present = std::filesystem::is_regular_file(resolvePath(path.substr(0, path.size() - 4) + ".dxf"), ec);
  }
  if (!present) return false;
  AcDbDatabase db(false, true);
  if (db.readDwgFile(path.c_str()) != Acad::eOk) return false;
  return drawDrawingPreview(dc, rect, db);
}

}  // namespace platform
