// Model space as SVG, drawn the way the drawing plots.
//
// The page. Coordinates are CSS pixels of the page (96 to the inch), y
// downwards; the root's width and height are in millimetres and its viewBox
// in those pixels, so a browser at 100 % shows the page at its size. With a
// plot scale 1:N one drawing unit is 1000 / N mm; without one the drawing is
// fitted into 1000 pixels on its longer side.
//
// Lines are drawn as a plot draws them:
// - a line without a width at its line weight (by layer resolved), at least
//   0.25 mm (the default line weight): a paper width, the same at any scale,
//   marked vector-effect="non-scaling-stroke" so that a viewer that zooms by
//   transform keeps it thin, as CAD viewers draw lines of width 0;
// - a polyline with a width at that width in drawing units, as drawn;
// - a line type as the dash pattern of its line-type record (the entity's,
//   or its layer's when by layer), each dash times the entity's line-type
//   scale and the drawing's global one (LTSCALE); a pattern shorter than a
//   pixel at 100 % is drawn solid.
// Colours by index, by layer and by block resolved, 7 black; a colour too
// light to read on the white page (yellow, cyan, green) is darkened.
// Texts: the text height is the height of the capitals (the font size 1.4
// times it), and each text is narrowed so that it is as long as the drawing
// estimates it (half its height per GBK byte, times its width factor): texts
// aligned at their centre or end stand where the drawing puts them. The
// control codes %%d, %%c, %%p, %%% are shown as their characters, %%u and
// %%o as underlining and overlining (textcodes.h).
//
// Pages (with a plot scale only): what the drawing shows falls apart into
// bands one above the other with more empty space between them than a page
// is high (297 mm, an A3 sheet), and each band into columns side by side
// with empty space between them. The columns of a band are gathered, left
// to right, into pages at most 410 mm wide (an A3 sheet less its margins; a
// column wider than that is a page of its own), and the pages are laid out
// one below the other, band by band from the top of the drawing: a long
// strip of section sheets becomes pages that a browser shows whole at
// 100 %. Each page is a white rectangle of class "page" on a grey ground (a
// drawing that fits one page is that page alone).
//
// Shapes with a number that is not finite, or with coordinates beyond
// 1e15, cannot be placed and are left out, with a note on the transcript;
// the file never holds "nan" or "inf".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <string>
#include <unordered_map>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbfiler.h"
#include "arx/dbstub.h"
#include "arx/dbsymtb.h"
#include "arx/dxffile.h"
#include "arx/gidrawing.h"
#include "arx/textcodes.h"
#include "crt/numtext.h"
#include "win/transcript.h"

namespace platform {

bool parsePlotScale(const std::string& text, bool bare, double& scale) {
  std::string_view number = text;
  if (number.substr(0, 2) == "1:") {
    number.remove_prefix(2);
  } else if (!bare) {
    return false;
  }
  // Beyond these a drawing unit is more than 1000 km on the page, or the
  // largest drawing less than a millimetre: no scale anyone plots at, and at
  // the far ends of them the page's numbers are no longer finite.
  constexpr double kSmallestN = 1e-6, kLargestN = 1e18;
  double n = 0;
  if (!parseDouble(number, n) || !(n >= kSmallestN && n <= kLargestN)) return false;
  scale = n;
  return true;
}

namespace {

constexpr double kPxPerMm = 96.0 / 25.4;
constexpr double kDefaultLineWeightMm = 0.25;
constexpr double kPageWidthMm = 410;   // an A3 sheet, 420 mm, less its margins
constexpr double kPageHeightMm = 297;  // an A3 sheet's height
constexpr double kMarginMm = 5;
constexpr double kPageGapMm = 10;
constexpr double kFittedPx = 1000;  // the longer side of a drawing without a scale
constexpr double kFittedMarginPx = 20;
constexpr double kCapitalsToFontSize = 1.4;
constexpr double kLargestCoordinate = 1e15;
constexpr double kLargestSheetMm = 1e6;  // a kilometre

// Set when num() meets a value that is not finite: the shape being written
// is then left out. The export runs on the host's one thread.
bool g_notFinite = false;

// Decimals of page coordinates: 0.01 px, and finer where a pixel holds more
// than ten drawing units, so that a millimetre of a drawing in metres stays.
int g_decimals = 2;

// Appends a page coordinate or size: g_decimals decimals, trailing zeros and
// a trailing point left out; -0 is 0.
void appendNum(std::string& out, double v) {
  if (!std::isfinite(v)) {
    g_notFinite = true;
    out += '0';
    return;
  }
  char buf[400];  // the largest double is 309 digits long
  char* end = formatFixed(buf, buf + sizeof buf, v, g_decimals);
  if (std::memchr(buf, '.', static_cast<size_t>(end - buf))) {
    while (end[-1] == '0') --end;
    if (end[-1] == '.') --end;
  }
  if (end - buf == 2 && buf[0] == '-' && buf[1] == '0') {
    out += '0';
    return;
  }
  out.append(buf, static_cast<size_t>(end - buf));
}

std::string num(double v) {
  std::string s;
  appendNum(s, v);
  return s;
}

// A factor or a size of the root: six significant digits, resp. thousandths.
std::string factor(double v) {
  char buf[32];
  return std::string(buf, formatGeneral(buf, buf + sizeof buf, std::isfinite(v) ? v : 1.0, 6));
}

std::string thousandths(double v) {
  const int saved = g_decimals;
  g_decimals = 3;
  std::string s = num(v);
  g_decimals = saved;
  return s;
}

// The colour of an index on the white page: a colour lighter than
// kLightest (yellow, cyan, green: made for a dark screen) is darkened to it,
// its hue kept, so that it reads on white.
constexpr double kLightest = 0.55;

std::string rgbOf(int index) {
  const unsigned c = colorIndexToRgb(index);
  double r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  const double lightness = (0.2126 * r + 0.7152 * g + 0.0722 * b) / 255;
  if (lightness > kLightest) {
    const double f = kLightest / lightness;
    r = std::round(r * f);
    g = std::round(g * f);
    b = std::round(b * f);
  }
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", static_cast<unsigned>(r), static_cast<unsigned>(g),
                static_cast<unsigned>(b));
  return buf;
}

// Every shape names its colour: the 257 of them worked out once.
std::string rgb(int index) {
  static const std::vector<std::string> colors = [] {
    std::vector<std::string> all;
    for (int i = 0; i <= 256; ++i) all.push_back(rgbOf(i));
    return all;
  }();
  return index >= 0 && index <= 256 ? colors[static_cast<size_t>(index)] : rgbOf(index);
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

template <class Record>
const Record* recordOf(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s && s->object ? Record::cast(s->object) : nullptr;
}

// ---- What a primitive looks like on paper ---------------------------------------------------------

// The line weight in millimetres: by layer resolved, at least the default.
double lineWeightMm(const GiPrimitive& p) {
  int lw = p.lineWeight;
  if (lw == AcDb::kLnWtByLayer) {
    const AcDbLayerTableRecord* layer = recordOf<AcDbLayerTableRecord>(p.layer);
    lw = layer ? layer->lineWeight() : AcDb::kLnWtByLwDefault;
  }
  return std::max(lw / 100.0, kDefaultLineWeightMm);
}

// The dash pattern in drawing units, alternating dash and gap from a dash,
// and the offset into it where the line starts; empty for a solid line.
struct DashPattern {
  std::vector<double> lengths;
  double offset = 0;
};

// The dashes of each line-type record read so far, by its stub.
using PatternCache = std::unordered_map<const AcDbStub*, std::vector<double>>;

DashPattern dashPattern(const GiPrimitive& p, const AcDbDatabase* db, PatternCache& cache) {
  DashPattern out;
  AcDbObjectId id = p.linetype;
  if (id.isNull() || (db && id == db->byLayerLinetype())) {
    const AcDbLayerTableRecord* layer = recordOf<AcDbLayerTableRecord>(p.layer);
    id = layer ? layer->linetypeObjectId() : AcDbObjectId::kNull;
  }
  if (id.isNull()) return out;
  auto cached = cache.find(id.stub());
  if (cached == cache.end()) {
    std::vector<double> dashes;
    AcDbLinetypeTableRecord* type = nullptr;
    if (acdbOpenObject(type, id, AcDb::kForRead) == Acad::eOk) {
      for (int i = 0; i < type->numDashes(); ++i) dashes.push_back(type->dashLengthAt(i));
      type->close();
    }
    cached = cache.emplace(id.stub(), std::move(dashes)).first;
  }
  const std::vector<double>& pattern = cached->second;
  if (pattern.size() < 2) return out;
  const double scale = (p.linetypeScale > 0 ? p.linetypeScale : 1.0) * (db && db->ltscale() > 0 ? db->ltscale() : 1.0);
  // Dashes (a dot is a dash of length 0) and gaps, as (is a dash, length).
  std::vector<std::pair<bool, double>> items;
  for (double d : pattern) {
    if (!std::isfinite(d)) return out;
    items.emplace_back(d >= 0, std::fabs(d) * scale);
  }
  size_t first = 0;
  while (first < items.size() && !items[first].first) ++first;
  bool anyGap = false;
  for (const auto& item : items) anyGap = anyGap || !item.first;
  if (first == items.size() || !anyGap) return out;  // all gaps, or no gap: solid
  // From the first dash round to it again; the line starts where the
  // pattern starts, that far into the turned pattern.
  std::vector<std::pair<bool, double>> turned(items.begin() + static_cast<long>(first), items.end());
  turned.insert(turned.end(), items.begin(), items.begin() + static_cast<long>(first));
  double offset = 0;
  for (size_t i = first; i < items.size(); ++i) offset += items[i].second;
  // Neighbours of one kind become one; a dash at the end joins the first.
  std::vector<std::pair<bool, double>> merged;
  for (const auto& item : turned) {
    if (!merged.empty() && merged.back().first == item.first)
      merged.back().second += item.second;
    else
      merged.push_back(item);
  }
  if (merged.size() > 1 && merged.back().first) {
    merged.front().second += merged.back().second;
    offset += merged.back().second;
    merged.pop_back();
  }
  double total = 0;
  for (const auto& item : merged) {
    out.lengths.push_back(item.second);
    total += item.second;
  }
  out.offset = total > 0 ? std::fmod(offset, total) : 0;
  return out;
}

bool finite(const AcGePoint3d& p) { return std::isfinite(p.x) && std::isfinite(p.y); }
bool inRange(const AcGePoint3d& p) {
  return std::fabs(p.x) <= kLargestCoordinate && std::fabs(p.y) <= kLargestCoordinate;
}

// A primitive whose every number is finite and whose places lie in range.
bool placeable(const GiPrimitive& p) {
  auto ok = [](const AcGePoint3d& q) { return finite(q) && inRange(q); };
  switch (p.kind) {
    case GiPrimitive::kPolyline:
    case GiPrimitive::kPolygon:
      if (p.points.empty()) return false;
      for (const auto& q : p.points)
        if (!ok(q)) return false;
      for (double b : p.bulges)
        if (!std::isfinite(b)) return false;
      for (double w : p.widths)
        if (!std::isfinite(w) || std::fabs(w) > kLargestCoordinate) return false;
      return true;
    case GiPrimitive::kCircle:
    case GiPrimitive::kArc:
      return ok(p.center) && std::isfinite(p.radius) && p.radius <= kLargestCoordinate && std::isfinite(p.sweep) &&
             std::isfinite(p.startVector.x) && std::isfinite(p.startVector.y);
    case GiPrimitive::kText:
      return ok(p.position) && std::isfinite(p.height) && p.height <= kLargestCoordinate &&
             std::isfinite(p.widthFactor) && std::isfinite(p.oblique) && std::isfinite(p.direction.x) &&
             std::isfinite(p.direction.y);
  }
  return false;
}

// ---- Pages ---------------------------------------------------------------------------------------------

struct Box {
  double minx, miny, maxx, maxy;
};

Box boxOf(const GiPrimitive& p) {
  AcDbExtents e;
  addPrimitiveExtents(p, e);
  if (e.isEmpty()) return Box{0, 0, 0, 0};
  return Box{e.minPoint().x, e.minPoint().y, e.maxPoint().x, e.maxPoint().y};
}

// A page: a part of the drawing (its box in drawing units) and where it
// stands on the sheet (its top in pixels).
struct Page {
  Box box;
  double top = 0;
  std::vector<size_t> shapes;
};

// Runs of boxes along one axis, apart by more than `gap`: the indices of
// `order`, grouped. `low` and `high` give a box's interval on the axis.
template <class Low, class High>
std::vector<std::vector<size_t>> runsAlong(std::vector<size_t> order, const std::vector<Box>& boxes, double gap,
                                           Low low, High high) {
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return low(boxes[a]) < low(boxes[b]); });
  std::vector<std::vector<size_t>> runs;
  double reach = 0;
  for (size_t i : order) {
    if (runs.empty() || low(boxes[i]) > reach + gap) {
      runs.emplace_back();
      reach = high(boxes[i]);
    }
    runs.back().push_back(i);
    reach = std::max(reach, high(boxes[i]));
  }
  return runs;
}

Box boxOfAll(const std::vector<size_t>& shapes, const std::vector<Box>& boxes) {
  Box b = boxes[shapes.front()];
  for (size_t i : shapes) {
    b.minx = std::min(b.minx, boxes[i].minx);
    b.miny = std::min(b.miny, boxes[i].miny);
    b.maxx = std::max(b.maxx, boxes[i].maxx);
    b.maxy = std::max(b.maxy, boxes[i].maxy);
  }
  return b;
}

// The pages of the shapes: bands from the top (apart by more than
// `pageHeight`), each band's columns gathered from the left into pages no
// wider than `pageWidth` (drawing units).
std::vector<Page> layOutPages(const std::vector<Box>& boxes, double pageWidth, double pageHeight) {
  std::vector<size_t> all(boxes.size());
  for (size_t i = 0; i < all.size(); ++i) all[i] = i;
  auto bands = runsAlong(
      all, boxes, pageHeight, [](const Box& b) { return b.miny; }, [](const Box& b) { return b.maxy; });
  std::reverse(bands.begin(), bands.end());  // the top band first
  std::vector<Page> pages;
  for (const auto& band : bands) {
    const Box bandBox = boxOfAll(band, boxes);
    auto columns = runsAlong(
        band, boxes, 0.0, [](const Box& b) { return b.minx; }, [](const Box& b) { return b.maxx; });
    Page page;
    for (const auto& column : columns) {
      const Box c = boxOfAll(column, boxes);
      if (!page.shapes.empty() && c.maxx - page.box.minx > pageWidth) {
        pages.push_back(page);
        page = Page{};
      }
      if (page.shapes.empty()) page.box = Box{c.minx, bandBox.miny, c.maxx, bandBox.maxy};
      page.box.maxx = std::max(page.box.maxx, c.maxx);
      page.shapes.insert(page.shapes.end(), column.begin(), column.end());
    }
    if (!page.shapes.empty()) pages.push_back(page);
  }
  return pages;
}

// ---- Writing ------------------------------------------------------------------------------------------

// Where drawing points go on the sheet: pixels per drawing unit, and a
// page's corner.
struct Placement {
  double pxPerUnit = 1;
  double left = 0, top = 0;  // the page's content corner on the sheet (px)
  Box box{};                 // the page's part of the drawing
  double x(double wx) const { return left + (wx - box.minx) * pxPerUnit; }
  double y(double wy) const { return top + (box.maxy - wy) * pxPerUnit; }
  // Appends "x<sep>y" of a drawing point on the page.
  void appendPoint(std::string& out, const AcGePoint3d& p, char sep) const {
    appendNum(out, x(p.x));
    out += sep;
    appendNum(out, y(p.y));
  }
};

// Writes one shape at a time; the line types it reads are kept for the next.
class Writer {
 public:
  explicit Writer(const AcDbDatabase* db) : m_db(db) {}
  // The element(s) of one shape.
  const std::string& shape(const GiPrimitive& p, const Placement& at);

 private:
  void strokeOf(std::string& s, const GiPrimitive& p, const Placement& at, bool wide, double width);
  void polyline(const GiPrimitive& p, const Placement& at);
  void arc(const GiPrimitive& p, const Placement& at);
  void text(const GiPrimitive& p, const Placement& at);

  const AcDbDatabase* m_db;
  std::string m_out;
  std::string m_attrs;  // a shape's stroke or fill attributes
  PatternCache m_patterns;
};

// Stroke attributes: colour, width (a paper width, or the polyline's width
// in drawing units when `wide`) and the dash pattern.
void Writer::strokeOf(std::string& s, const GiPrimitive& p, const Placement& at, bool wide, double width) {
  s += " stroke=\"";
  s += rgb(p.color);
  s += "\" stroke-width=\"";
  if (wide) {
    appendNum(s, width * at.pxPerUnit);
    s += "\" stroke-linecap=\"butt\" stroke-linejoin=\"miter\"";
  } else {
    appendNum(s, lineWeightMm(p) * kPxPerMm);
    s += "\" vector-effect=\"non-scaling-stroke\"";
  }
  const DashPattern dashes = dashPattern(p, m_db, m_patterns);
  double total = 0;
  for (double d : dashes.lengths) total += d * at.pxPerUnit;
  if (total >= 1) {
    s += " stroke-dasharray=\"";
    for (size_t i = 0; i < dashes.lengths.size(); ++i) {
      if (i) s += ' ';
      s += num(dashes.lengths[i] * at.pxPerUnit);
    }
    s += "\"";
    if (dashes.offset > 0) {
      s += " stroke-dashoffset=\"";
      appendNum(s, dashes.offset * at.pxPerUnit);
      s += '"';
    }
  }
}

void Writer::polyline(const GiPrimitive& p, const Placement& at) {
  const bool polygon = p.kind == GiPrimitive::kPolygon;
  const bool filled = polygon && p.filled;
  double width = 0;
  for (double w : p.widths) width = std::max(width, w);
  const bool wide = width > 0 && !filled;
  std::string& attrs = m_attrs;
  attrs.clear();
  if (filled) {
    attrs += " fill=\"";
    attrs += rgb(p.color);
    attrs += "\" stroke=\"none\"";
  } else {
    strokeOf(attrs, p, at, wide, width);
  }
  if (p.points.size() == 1) {
    m_out += "<circle cx=\"" + num(at.x(p.points[0].x)) + "\" cy=\"" + num(at.y(p.points[0].y)) + "\" r=\"" +
             num(std::max(width * at.pxPerUnit, lineWeightMm(p) * kPxPerMm) / 2) + "\" fill=\"" + rgb(p.color) +
             "\"/>\n";
    return;
  }
  bool arcs = false;
  for (double b : p.bulges) arcs = arcs || b != 0;
  if (!arcs) {
    m_out += (polygon || p.closed) ? "<polygon points=\"" : "<polyline points=\"";
    for (size_t i = 0; i < p.points.size(); ++i) {
      if (i) m_out += ' ';
      at.appendPoint(m_out, p.points[i], ',');
    }
    m_out += '"';
    m_out += attrs;
    m_out += "/>\n";
    return;
  }
  // Bulged segments as arcs of a path; the drawing's counter-clockwise is
  // the page's negative sweep (its y runs downwards).
  m_out += "<path d=\"M ";
  at.appendPoint(m_out, p.points[0], ' ');
  const size_t n = p.points.size(), segments = p.closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) {
    const AcGePoint3d& a = p.points[i];
    const AcGePoint3d& b = p.points[(i + 1) % n];
    const double bulge = i < p.bulges.size() ? p.bulges[i] : 0;
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (bulge == 0 || chord == 0) {
      m_out += " L ";
      at.appendPoint(m_out, b, ' ');
      continue;
    }
    const double r = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge)) * at.pxPerUnit;
    m_out += " A ";
    appendNum(m_out, r);
    m_out += ' ';
    appendNum(m_out, r);
    m_out += " 0 ";
    m_out += std::fabs(bulge) > 1 ? "1" : "0";
    m_out += bulge > 0 ? " 0 " : " 1 ";
    at.appendPoint(m_out, b, ' ');
  }
  if (p.closed) m_out += " Z";
  m_out += '"';
  m_out += attrs;
  m_out += "/>\n";
}

void Writer::arc(const GiPrimitive& p, const Placement& at) {
  std::string& attrs = m_attrs;
  attrs.clear();
  strokeOf(attrs, p, at, false, 0);
  const double r = p.radius * at.pxPerUnit;
  const double start = std::atan2(p.startVector.y, p.startVector.x);
  if (p.kind == GiPrimitive::kCircle || p.sweep >= 2 * std::numbers::pi - 1e-12) {
    m_out += "<circle cx=\"";
    appendNum(m_out, at.x(p.center.x));
    m_out += "\" cy=\"";
    appendNum(m_out, at.y(p.center.y));
    m_out += "\" r=\"";
    appendNum(m_out, r);
    m_out += '"';
    m_out += attrs;
    m_out += "/>\n";
    return;
  }
  const double end = start + p.sweep;
  auto place = [&](double angle) {
    appendNum(m_out, at.x(p.center.x + p.radius * std::cos(angle)));
    m_out += ' ';
    appendNum(m_out, at.y(p.center.y + p.radius * std::sin(angle)));
  };
  m_out += "<path d=\"M ";
  place(start);
  m_out += " A ";
  appendNum(m_out, r);
  m_out += ' ';
  appendNum(m_out, r);
  m_out += " 0 ";
  m_out += p.sweep > std::numbers::pi ? "1" : "0";
  m_out += " 0 ";
  place(end);
  m_out += '"';
  m_out += attrs;
  m_out += "/>\n";
}

void Writer::text(const GiPrimitive& p, const Placement& at) {
  const std::vector<TextRun> runs = shownTextRuns(p.text);
  if (runs.empty() || p.height <= 0) return;
  const double degrees = std::atan2(p.direction.y, p.direction.x) * 180 / std::numbers::pi;
  // The font's advance is about its size per Chinese character: narrowed by
  // the capitals' share, a text is as long as the drawing estimates it.
  const double narrow = p.widthFactor / kCapitalsToFontSize;
  std::string transform = "translate(" + num(at.x(p.position.x)) + " " + num(at.y(p.position.y)) + ")";
  if (degrees != 0) transform += " rotate(" + factor(-degrees) + ")";
  if (p.oblique != 0) transform += " skewX(" + factor(-p.oblique * 180 / std::numbers::pi) + ")";
  transform += " scale(" + factor(narrow) + " 1)";
  m_out += "<text transform=\"" + transform + "\" font-size=\"" +
           num(p.height * kCapitalsToFontSize * at.pxPerUnit) + "\" fill=\"" + rgb(p.color) + "\">";
  for (const TextRun& run : runs) {
    if (!run.underline && !run.overline) {
      m_out += xmlEscape(run.text);
      continue;
    }
    const char* decoration = run.underline && run.overline ? "underline overline"
                             : run.underline                 ? "underline"
                                                             : "overline";
    m_out += std::string("<tspan text-decoration=\"") + decoration + "\">" + xmlEscape(run.text) + "</tspan>";
  }
  m_out += "</text>\n";
}

const std::string& Writer::shape(const GiPrimitive& p, const Placement& at) {
  m_out.clear();
  switch (p.kind) {
    case GiPrimitive::kPolyline:
    case GiPrimitive::kPolygon: polyline(p, at); break;
    case GiPrimitive::kCircle:
    case GiPrimitive::kArc: arc(p, at); break;
    case GiPrimitive::kText: text(p, at); break;
  }
  return m_out;
}

}  // namespace

std::string svgOfModelSpace(AcDbDatabase& db, const SvgOptions& options) {
  GiRecorder rec(&db);
  rec.setResolveColors(true);
  drawModelSpace(db, rec);
  const std::vector<GiPrimitive>& prims = rec.primitives();
  std::vector<size_t> shown;
  std::vector<Box> boxes;
  size_t leftOut = 0;
  for (size_t i = 0; i < prims.size(); ++i) {
    if (!placeable(prims[i])) {
      ++leftOut;
      continue;
    }
    const Box b = boxOf(prims[i]);
    if (!std::isfinite(b.maxx - b.minx) || !std::isfinite(b.maxy - b.miny)) {
      ++leftOut;
      continue;
    }
    shown.push_back(i);
    boxes.push_back(b);
  }

  // The pages and the scale of the sheet. A scale that would make the sheet
  // larger than a kilometre is not taken: the drawing is fitted instead.
  // A scale whose drawing unit is beyond the page's numbers is not taken either.
  bool scaled = options.plotScale > 0 && std::isfinite(options.plotScale) &&
                std::isfinite(1000 / options.plotScale * kPxPerMm) && !boxes.empty();
  if (scaled) {
    std::vector<size_t> all(boxes.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = i;
    const Box b = boxOfAll(all, boxes);
    const double longer = std::max(b.maxx - b.minx, b.maxy - b.miny) * 1000 / options.plotScale;
    if (!(longer <= kLargestSheetMm)) {
      transcriptLine("SVG: at 1:" + factor(options.plotScale) + " the drawing would be " + factor(longer / 1e6) +
                     " km long; it is fitted into 1000 pixels");
      scaled = false;
    }
  }
  std::vector<Page> pages;
  double pxPerUnit = 1, margin = kFittedMarginPx;
  if (boxes.empty()) {
    pages.push_back(Page{Box{0, 0, 100, 100}, 0, {}});
  } else if (scaled) {
    pxPerUnit = 1000 / options.plotScale * kPxPerMm;
    margin = kMarginMm * kPxPerMm;
    pages = layOutPages(boxes, kPageWidthMm * kPxPerMm / pxPerUnit, kPageHeightMm * kPxPerMm / pxPerUnit);
  } else {
    Page whole;
    for (size_t i = 0; i < boxes.size(); ++i) whole.shapes.push_back(i);
    whole.box = boxOfAll(whole.shapes, boxes);
    pages.push_back(whole);
  }
  if (!scaled) {
    const Box& b = pages.front().box;
    const double longer = std::max(b.maxx - b.minx, b.maxy - b.miny);
    pxPerUnit = longer > 0 ? kFittedPx / longer : 1;
    // A drawing too small for its pixels to be counted (a few 1e-306 units
    // long) is drawn as one of no size is.
    if (!std::isfinite(pxPerUnit)) pxPerUnit = 1;
  }
  // Page by page, one below the other.
  double sheetWidth = 0, sheetHeight = 0;
  const double gap = scaled ? kPageGapMm * kPxPerMm : 0;
  for (size_t i = 0; i < pages.size(); ++i) {
    Page& page = pages[i];
    page.top = sheetHeight + (i ? gap : 0);
    sheetWidth = std::max(sheetWidth, (page.box.maxx - page.box.minx) * pxPerUnit + 2 * margin);
    sheetHeight = page.top + (page.box.maxy - page.box.miny) * pxPerUnit + 2 * margin;
  }
  // Decimals: hundredths of a pixel, finer while a drawing unit's
  // thousandth is smaller than that.
  g_decimals = static_cast<int>(std::clamp(std::ceil(3 - std::log10(pxPerUnit)), 2.0, 9.0));

  std::string out;
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + thousandths(sheetWidth / kPxPerMm) +
         "mm\" height=\"" + thousandths(sheetHeight / kPxPerMm) + "mm\" viewBox=\"0 0 " + num(sheetWidth) + " " +
         num(sheetHeight) + "\">\n";
  if (pages.size() > 1)
    out += "<rect width=\"" + num(sheetWidth) + "\" height=\"" + num(sheetHeight) + "\" fill=\"#D8D8D8\"/>\n";
  out += "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\" xml:space=\"preserve\" "
         "font-family=\"SimSun, 'WenQuanYi Micro Hei', 'Noto Sans CJK SC', sans-serif\">\n";
  Writer writer(&db);
  for (const Page& page : pages) {
    const double width = (page.box.maxx - page.box.minx) * pxPerUnit + 2 * margin;
    const double height = (page.box.maxy - page.box.miny) * pxPerUnit + 2 * margin;
    out += "<rect class=\"page\" x=\"0\" y=\"" + num(page.top) + "\" width=\"" + num(width) + "\" height=\"" +
           num(height) + "\" fill=\"white\" stroke=\"none\"/>\n";
    Placement at;
    at.pxPerUnit = pxPerUnit;
    at.left = margin;
    at.top = page.top + margin;
    at.box = page.box;
    for (size_t k : page.shapes) {
      g_notFinite = false;
      const std::string& piece = writer.shape(prims[shown[k]], at);
      if (g_notFinite) {
        ++leftOut;
        continue;
      }
      out += piece;
    }
  }
  out += "</g>\n</svg>\n";
  if (leftOut > 0)
    transcriptLine("SVG: " + std::to_string(leftOut) +
                   " shapes with coordinates that are not finite or out of range are left out");
  return out;
}

}  // namespace platform
