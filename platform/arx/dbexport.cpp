// Drawings exported for viewing: a DXF with plain entities only, and an SVG of model space.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "arx/dbproxy.h"
#include "arx/dbstub.h"
#include "arx/dxffile.h"
#include "arx/gidrawing.h"
#include "crt/textfile.h"
#include "win/transcript.h"

namespace platform {

Acad::ErrorStatus exportViewDxf(AcDbDatabase& db, const std::string& path) {
  DxfWriteOptions opt;
  opt.explodeCustom = true;
  return writeDxf(db, path, opt);
}

namespace {

// Set when num() meets a value that is not finite: the shape being written
// is then left out, so that the file never holds "nan" or "inf". The export
// runs on the host's one thread.
bool g_notFinite = false;

// Ten significant digits: survey coordinates in the millions keep their
// millimetres.
std::string num(double v) {
  if (!std::isfinite(v)) {
    g_notFinite = true;
    return "0";
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", std::fabs(v) < 1e-12 ? 0.0 : v);
  return buf;
}

std::string rgb(int index) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%06X", colorIndexToRgb(index));
  return buf;
}

std::string xmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
    }
  }
  return out;
}

// Stroke width in drawing units from a line weight (hundredths of a mm, at
// 1 unit = 1 mm); thin lines keep a hairline.
std::string stroke(const GiPrimitive& p, double hairline) {
  double w = p.lineWeight > 0 ? static_cast<int>(p.lineWeight) / 100.0 : 0.0;
  return " stroke=\"" + rgb(p.color) + "\" stroke-width=\"" + num(std::max(w, hairline)) + "\"";
}

void arcPath(std::string& out, const AcGePoint3d& c, double r, double start, double sweep, const std::string& attrs) {
  double end = start + sweep;
  AcGePoint3d s = c + AcGeVector3d(r * std::cos(start), r * std::sin(start), 0);
  AcGePoint3d e = c + AcGeVector3d(r * std::cos(end), r * std::sin(end), 0);
  out += "<path d=\"M " + num(s.x) + " " + num(s.y) + " A " + num(r) + " " + num(r) + " 0 " +
         (sweep > std::numbers::pi ? "1" : "0") + " 1 " + num(e.x) + " " + num(e.y) + "\"" + attrs + "/>\n";
}

void svgPrimitive(std::string& out, const GiPrimitive& p, double hairline) {
  switch (p.kind) {
    case GiPrimitive::kPolyline:
    case GiPrimitive::kPolygon: {
      bool filled = p.kind == GiPrimitive::kPolygon && p.filled;
      bool arcs = false;
      for (double b : p.bulges) arcs = arcs || b != 0;
      double width = 0;
      for (double w : p.widths) width = std::max(width, w);
      std::string attrs = filled ? " fill=\"" + rgb(p.color) + "\" stroke=\"none\"" : stroke(p, hairline);
      if (width > 0 && !filled) attrs = " stroke=\"" + rgb(p.color) + "\" stroke-width=\"" + num(width) + "\"";
      if (p.points.size() == 1) {
        out += "<circle cx=\"" + num(p.points[0].x) + "\" cy=\"" + num(p.points[0].y) + "\" r=\"" + num(hairline) +
               "\" fill=\"" + rgb(p.color) + "\"/>\n";
        break;
      }
      if (!arcs) {
        out += (p.kind == GiPrimitive::kPolygon || p.closed) ? "<polygon points=\"" : "<polyline points=\"";
        for (const auto& q : p.points) out += num(q.x) + "," + num(q.y) + " ";
        out += "\"" + attrs + "/>\n";
        break;
      }
      // Bulged segments as arcs of a path.
      std::string d = "M " + num(p.points[0].x) + " " + num(p.points[0].y);
      size_t n = p.points.size(), segs = p.closed ? n : n - 1;
      for (size_t i = 0; i < segs; ++i) {
        const AcGePoint3d& a = p.points[i];
        const AcGePoint3d& b = p.points[(i + 1) % n];
        double bulge = i < p.bulges.size() ? p.bulges[i] : 0;
        if (bulge == 0) {
          d += " L " + num(b.x) + " " + num(b.y);
        } else {
          double chord = a.distanceTo(b);
          double r = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
          bool large = std::fabs(bulge) > 1;
          d += " A " + num(r) + " " + num(r) + " 0 " + (large ? "1" : "0") + (bulge > 0 ? " 1 " : " 0 ") + num(b.x) +
               " " + num(b.y);
        }
      }
      if (p.closed) d += " Z";
      out += "<path d=\"" + d + "\"" + attrs + "/>\n";
      break;
    }
    case GiPrimitive::kCircle:
      out += "<circle cx=\"" + num(p.center.x) + "\" cy=\"" + num(p.center.y) + "\" r=\"" + num(p.radius) + "\"" +
             stroke(p, hairline) + "/>\n";
      break;
    case GiPrimitive::kArc:
      arcPath(out, p.center, p.radius, std::atan2(p.startVector.y, p.startVector.x), p.sweep, stroke(p, hairline));
      break;
    case GiPrimitive::kText: {
      if (p.text.empty() || p.height <= 0) break;
      double deg = std::atan2(p.direction.y, p.direction.x) * 180 / std::numbers::pi;
      // The drawing's y runs upwards: the text is turned upright again.
      out += "<text transform=\"translate(" + num(p.position.x) + " " + num(p.position.y) + ") rotate(" + num(deg) +
             ") scale(" + num(p.widthFactor) + " -1)\" font-size=\"" + num(p.height * 1.4) + "\" fill=\"" +
             rgb(p.color) + "\" stroke=\"none\">" + xmlEscape(p.text) + "</text>\n";
      break;
    }
  }
}

// The SVG of one primitive; false (nothing to keep) when a number of it is
// not finite.
bool finiteSvgPrimitive(std::string& out, const GiPrimitive& p, double hairline) {
  g_notFinite = false;
  std::string piece;
  svgPrimitive(piece, p, hairline);
  if (g_notFinite) return false;
  out += piece;
  return true;
}

}  // namespace

std::string svgOfModelSpace(AcDbDatabase& db) {
  GiRecorder rec(&db);
  rec.setResolveColors(true);
  drawModelSpace(db, rec);
  // Shapes with a coordinate that is not finite are left out, of the extents too.
  std::vector<const GiPrimitive*> shown;
  size_t leftOut = 0;
  AcDbExtents ext;
  for (const GiPrimitive& p : rec.primitives()) {
    std::string probe;
    if (!finiteSvgPrimitive(probe, p, 1.0)) {
      ++leftOut;
      continue;
    }
    shown.push_back(&p);
    addPrimitiveExtents(p, ext);
  }
  auto header = [](bool empty, const AcDbExtents& box) {
    double minx = 0, miny = 0, w = 100, h = 100;
    if (!empty) {
      w = std::max(box.maxPoint().x - box.minPoint().x, 1e-6);
      h = std::max(box.maxPoint().y - box.minPoint().y, 1e-6);
      double margin = 0.02 * std::max(w, h);
      minx = box.minPoint().x - margin;
      miny = box.minPoint().y - margin;
      w += 2 * margin;
      h += 2 * margin;
    }
    std::string out;
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" + num(minx) + " " + num(-(miny + h)) + " " +
           num(w) + " " + num(h) + "\" width=\"" + num(1000 * w / std::max(w, h)) + "\" height=\"" +
           num(1000 * h / std::max(w, h)) + "\">\n";
    out += "<rect x=\"" + num(minx) + "\" y=\"" + num(-(miny + h)) + "\" width=\"" + num(w) + "\" height=\"" +
           num(h) + "\" fill=\"white\"/>\n";
    return std::make_pair(out, std::max(w, h) / 1000);
  };
  g_notFinite = false;
  auto [frame, hairline] = header(ext.isEmpty(), ext);
  // Extents too wide for a double fall back to the default frame.
  if (g_notFinite) std::tie(frame, hairline) = header(true, ext);
  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += frame;
  out += "<g transform=\"scale(1 -1)\" fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\" "
         "font-family=\"SimSun, 'Noto Sans CJK SC', sans-serif\">\n";
  for (const GiPrimitive* p : shown)
    if (!finiteSvgPrimitive(out, *p, hairline)) ++leftOut;
  out += "</g>\n</svg>\n";
  if (leftOut > 0)
    transcriptLine("SVG: " + std::to_string(leftOut) + " shapes with coordinates that are not finite are left out");
  return out;
}

Acad::ErrorStatus exportSvg(AcDbDatabase& db, const std::string& path) {
  std::string svg = svgOfModelSpace(db);
  FILE* f = openFile(path.c_str(), "wb");
  if (!f) {
    transcriptLine("Cannot write " + path);
    return Acad::eFileAccessErr;
  }
  bool ok = std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    transcriptLine("Cannot write " + path);
    return Acad::eFileAccessErr;
  }
  return Acad::eOk;
}

}  // namespace platform
