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
  // The pixel of a world point, unrounded.
  double pxOf(double x) const { return px + (x - cx) * scale; }
  double pyOf(double y) const { return py - (y - cy) * scale; }
  // ... rounded; a place far outside any window (a zoomed view maps far-off
  // entities there) is held at a million pixels, where it shows as little.
  POINT operator()(double x, double y) const { return POINT{pixel(pxOf(x)), pixel(pyOf(y))}; }
  static constexpr double kFar = 1e6;
  static LONG pixel(double v) { return static_cast<LONG>(std::lround(std::clamp(v, -kFar, kFar))); }
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

// Cuts the segment to the square of half side `r` about the origin
// (Liang-Barsky); false when none of it lies inside.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double r) {
  double t0 = 0, t1 = 1;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + r, r - x0, y0 + r, r - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const double ax = x0, ay = y0;
  x0 = ax + t0 * dx;
  y0 = ay + t0 * dy;
  x1 = ax + t1 * dx;
  y1 = ay + t1 * dy;
  return true;
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
  bool far = false;
  for (auto& [x, y] : world)
    far = far || std::fabs(m.pxOf(x)) > Mapping::kFar || std::fabs(m.pyOf(y)) > Mapping::kFar;
  if (far) {
    // Some of it lies far outside the window: each segment is cut to the
    // part within a million pixels first, so that it keeps its direction.
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (size_t i = 1; i < world.size(); ++i) {
      double x0 = m.pxOf(world[i - 1].first), y0 = m.pyOf(world[i - 1].second);
      double x1 = m.pxOf(world[i].first), y1 = m.pyOf(world[i].second);
      if (!clipSegment(x0, y0, x1, y1, Mapping::kFar)) continue;
      MoveToEx(dc, Mapping::pixel(x0), Mapping::pixel(y0), nullptr);
      LineTo(dc, Mapping::pixel(x1), Mapping::pixel(y1));
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    return;
  }
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

namespace {

// Draws the recorded primitives with the world window (centre, width and
// height) fitted into the rectangle less its margin, proportions kept.
bool drawWindow(HDC dc, const RECT& rect, const GiRecorder& rec, double cx, double cy, double ww, double wh) {
  double w = rect.right - rect.left - 4, h = rect.bottom - rect.top - 4;
  if (w <= 0 || h <= 0) return false;
  if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(ww) || !std::isfinite(wh)) return false;
  Mapping m;
  m.scale = std::min(ww > 1e-9 ? w / ww : 1e9, wh > 1e-9 ? h / wh : 1e9);
  if (m.scale >= 1e9) m.scale = 1;  // a single point
  m.cx = cx;
  m.cy = cy;
  m.px = (rect.left + rect.right - 1) / 2.0;
  m.py = (rect.top + rect.bottom - 1) / 2.0;
  int saved = SaveDC(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  for (const GiPrimitive& p : rec.primitives()) drawPrimitive(dc, p, m);
  RestoreDC(dc, saved);
  return true;
}

// Records the model space in its resolved colours; false when it draws
// nothing, else `ext` holds what it draws.
bool recordModelSpace(AcDbDatabase& db, GiRecorder& rec, AcDbExtents& ext) {
  rec.setResolveColors(true);
  drawModelSpace(db, rec);
  for (const GiPrimitive& p : rec.primitives()) addPrimitiveExtents(p, ext);
  return !ext.isEmpty();
}

}  // namespace

bool drawDrawingPreview(HDC dc, const RECT& rect, AcDbDatabase& db) {
  if (GetObjectType(dc) == 0) return false;
  GiRecorder rec(&db);
  AcDbExtents ext;
  if (!recordModelSpace(db, rec, ext)) return false;
  return drawWindow(dc, rect, rec, (ext.minPoint().x + ext.maxPoint().x) / 2, (ext.minPoint().y + ext.maxPoint().y) / 2,
                    ext.maxPoint().x - ext.minPoint().x, ext.maxPoint().y - ext.minPoint().y);
}

bool drawDrawingView(HDC dc, const RECT& rect, AcDbDatabase& db, const AcGePoint2d& center, double width,
                     double height) {
  if (GetObjectType(dc) == 0) return false;
  GiRecorder rec(&db);
  AcDbExtents ext;
  if (!recordModelSpace(db, rec, ext)) return false;
  const bool usable = std::isfinite(center.x) && std::isfinite(center.y) && std::isfinite(width) &&
                      std::isfinite(height) && width > 0 && height > 0;
  const bool overlaps = usable && center.x + width / 2 >= ext.minPoint().x && center.x - width / 2 <= ext.maxPoint().x &&
                        center.y + height / 2 >= ext.minPoint().y && center.y - height / 2 <= ext.maxPoint().y;
  if (!overlaps)
    return drawWindow(dc, rect, rec, (ext.minPoint().x + ext.maxPoint().x) / 2,
                      (ext.minPoint().y + ext.maxPoint().y) / 2, ext.maxPoint().x - ext.minPoint().x,
                      ext.maxPoint().y - ext.minPoint().y);
  return drawWindow(dc, rect, rec, center.x, center.y, width, height);
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
