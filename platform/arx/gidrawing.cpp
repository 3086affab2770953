#include "arx/gidrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbproxy.h"
#include "arx/dbstub.h"
#include "arx/dbsymtb.h"
#include "crt/gbk.h"

AcGiSubEntityTraits::~AcGiSubEntityTraits() = default;
AcGiWorldGeometry::~AcGiWorldGeometry() = default;
AcGiContext::~AcGiContext() = default;
AcGiWorldDraw::~AcGiWorldDraw() = default;

namespace {
constexpr double kTwoPi = 2 * std::numbers::pi;

// The centre of the circle through three points; false when they lie on a line.
bool circleThrough(const AcGePoint3d& a, const AcGePoint3d& b, const AcGePoint3d& c, AcGePoint3d& center) {
  double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
  if (std::fabs(d) < 1e-300) return false;
  double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
  center.set((a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d,
             (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d, a.z);
  return true;
}
}  // namespace

Adesk::Boolean AcGiWorldGeometry::circle(const AcGePoint3d& p1, const AcGePoint3d& p2,
                                         const AcGePoint3d& p3) const {
  AcGePoint3d c;
  if (!circleThrough(p1, p2, p3, c)) return false;
  return circle(c, c.distanceTo(p1), AcGeVector3d::kZAxis);
}

Adesk::Boolean AcGiWorldGeometry::circularArc(const AcGePoint3d& start, const AcGePoint3d& point,
                                              const AcGePoint3d& end, AcGiArcType arcType) const {
  AcGePoint3d c;
  if (!circleThrough(start, point, end, c)) {
    AcGePoint3d pts[2] = {start, end};
    return polyline(2, pts);
  }
  AcGeVector3d vs = start - c, vp = point - c, ve = end - c;
  double as = std::atan2(vs.y, vs.x), ap = std::atan2(vp.y, vp.x), ae = std::atan2(ve.y, ve.x);
  auto ccw = [](double from, double to) {
    double d = std::fmod(to - from, kTwoPi);
    return d < 0 ? d + kTwoPi : d;
  };
  double sweep = ccw(as, ae);
  // Through the middle point counter-clockwise, or the other way round.
  if (ccw(as, ap) > sweep) sweep -= kTwoPi;
  return circularArc(c, vs.length(), AcGeVector3d::kZAxis, vs, sweep, arcType);
}

namespace platform {

double estimatedTextWidth(const std::string& text, double height, double widthFactor) {
  return 0.5 * height * widthFactor * GbkLength(text);
}

namespace {

void textCorners(const GiPrimitive& p, AcGePoint3d out[4]) {
  AcGeVector3d dir = p.direction.isZeroLength() ? AcGeVector3d::kXAxis : p.direction.normal();
  AcGeVector3d up = AcGeVector3d::kZAxis.crossProduct(dir);
  if (up.isZeroLength()) up = AcGeVector3d::kYAxis;
  double w = estimatedTextWidth(p.text, p.height, p.widthFactor);
  out[0] = p.position;
  out[1] = p.position + dir * w;
  out[2] = out[1] + up * p.height;
  out[3] = p.position + up * p.height;
}

// Adds the extreme points of an arc (counter-clockwise from `start`, radius r, centre c).
void addArcExtents(const AcGePoint3d& c, double r, double start, double sweep, AcDbExtents& e) {
  e.addPoint(c + AcGeVector3d(r * std::cos(start), r * std::sin(start), 0));
  e.addPoint(c + AcGeVector3d(r * std::cos(start + sweep), r * std::sin(start + sweep), 0));
  for (int q = 0; q < 4; ++q) {
    double a = q * std::numbers::pi / 2;
    double d = std::fmod(a - start, kTwoPi);
    if (d < 0) d += kTwoPi;
    if (d <= sweep) e.addPoint(c + AcGeVector3d(r * std::cos(a), r * std::sin(a), 0));
  }
}

// Centre, radius, start angle and sweep of a bulged segment a-b.
bool bulgeArc(const AcGePoint3d& a, const AcGePoint3d& b, double bulge, AcGePoint3d& c, double& r, double& start,
              double& sweep) {
  double chord = a.distanceTo(b);
  if (chord == 0 || bulge == 0) return false;
  sweep = 4 * std::atan(bulge);  // signed: positive counter-clockwise
  r = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  AcGeVector3d m = (b - a) / 2;
  double h = r - std::fabs(bulge) * chord / 2;  // distance from chord middle to centre
  AcGeVector3d n(-m.y, m.x, 0);
  n.normalize();
  c = a + m + n * (bulge > 0 ? h : -h);
  start = std::atan2(a.y - c.y, a.x - c.x);
  if (sweep < 0) {
    start += sweep;
    sweep = -sweep;
  }
  return true;
}

double segmentDistance(const AcGePoint3d& p, const AcGePoint3d& a, const AcGePoint3d& b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / l2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double arcDistance(const AcGePoint3d& p, const AcGePoint3d& c, double r, double start, double sweep) {
  double a = std::atan2(p.y - c.y, p.x - c.x);
  double d = std::fmod(a - start, kTwoPi);
  if (d < 0) d += kTwoPi;
  if (d <= sweep) return std::fabs(std::hypot(p.x - c.x, p.y - c.y) - r);
  AcGePoint3d s = c + AcGeVector3d(r * std::cos(start), r * std::sin(start), 0);
  AcGePoint3d e = c + AcGeVector3d(r * std::cos(start + sweep), r * std::sin(start + sweep), 0);
  return std::min(std::hypot(p.x - s.x, p.y - s.y), std::hypot(p.x - e.x, p.y - e.y));
}

bool insidePolygon(const AcGePoint3d& p, const AcGePoint3d* v, size_t n) {
  bool in = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    if ((v[i].y > p.y) != (v[j].y > p.y) &&
        p.x < (v[j].x - v[i].x) * (p.y - v[i].y) / (v[j].y - v[i].y) + v[i].x)
      in = !in;
  }
  return in;
}

}  // namespace

void addPrimitiveExtents(const GiPrimitive& p, AcDbExtents& e) {
  switch (p.kind) {
    case GiPrimitive::kPolyline:
    case GiPrimitive::kPolygon: {
      size_t n = p.points.size();
      for (size_t i = 0; i < n; ++i) {
        e.addPoint(p.points[i]);
        double bulge = i < p.bulges.size() ? p.bulges[i] : 0;
        if (bulge == 0) continue;
        size_t j = i + 1 < n ? i + 1 : (p.closed ? 0 : n);
        if (j >= n) continue;
        AcGePoint3d c;
        double r, s, w;
        if (bulgeArc(p.points[i], p.points[j], bulge, c, r, s, w)) addArcExtents(c, r, s, w, e);
      }
      break;
    }
    case GiPrimitive::kCircle:
      e.addPoint(p.center - AcGeVector3d(p.radius, p.radius, 0));
      e.addPoint(p.center + AcGeVector3d(p.radius, p.radius, 0));
      break;
    case GiPrimitive::kArc:
      addArcExtents(p.center, p.radius, std::atan2(p.startVector.y, p.startVector.x), p.sweep, e);
      break;
    case GiPrimitive::kText: {
      AcGePoint3d c[4];
      textCorners(p, c);
      for (auto& q : c) e.addPoint(q);
      break;
    }
  }
}

double primitiveDistance(const GiPrimitive& prim, const AcGePoint3d& p) {
  double best = std::numeric_limits<double>::max();
  switch (prim.kind) {
    case GiPrimitive::kPolyline:
    case GiPrimitive::kPolygon: {
      size_t n = prim.points.size();
      if (n == 1) return std::hypot(p.x - prim.points[0].x, p.y - prim.points[0].y);
      bool closed = prim.closed || prim.kind == GiPrimitive::kPolygon;
      if (prim.kind == GiPrimitive::kPolygon && prim.filled && n >= 3 && insidePolygon(p, prim.points.data(), n))
        return 0;
      for (size_t i = 0; i < n; ++i) {
        size_t j = i + 1;
        if (j == n) {
          if (!closed) break;
          j = 0;
        }
        double bulge = i < prim.bulges.size() ? prim.bulges[i] : 0;
        AcGePoint3d c;
        double r, s, w;
        if (bulge != 0 && bulgeArc(prim.points[i], prim.points[j], bulge, c, r, s, w))
          best = std::min(best, arcDistance(p, c, r, s, w));
        else
          best = std::min(best, segmentDistance(p, prim.points[i], prim.points[j]));
      }
      return best;
    }
    case GiPrimitive::kCircle:
      return std::fabs(std::hypot(p.x - prim.center.x, p.y - prim.center.y) - prim.radius);
    case GiPrimitive::kArc:
      return arcDistance(p, prim.center, prim.radius, std::atan2(prim.startVector.y, prim.startVector.x),
                         prim.sweep);
    case GiPrimitive::kText: {
      AcGePoint3d c[4];
      textCorners(prim, c);
      if (insidePolygon(p, c, 4)) return 0;
      for (int i = 0; i < 4; ++i) best = std::min(best, segmentDistance(p, c[i], c[(i + 1) % 4]));
      return best;
    }
  }
  return best;
}

// ---- GiRecorder ----

GiRecorder::GiRecorder(AcDbDatabase* db, AcGiRegenType type) : m_db(db), m_type(type) {}
GiRecorder::~GiRecorder() = default;

namespace {
const AcDbLayerTableRecord* layerRecord(AcDbObjectId id) {
  AcDbStub* s = id.stub();
  return s ? AcDbLayerTableRecord::cast(s->object) : nullptr;
}
bool isLayerZero(AcDbObjectId id) {
  const AcDbLayerTableRecord* r = layerRecord(id);
  return r && std::strcmp(r->name(), "0") == 0;
}
}  // namespace

Adesk::UInt16 GiRecorder::resolveColor(Adesk::UInt16 c, AcDbObjectId layer) const {
  if (!m_resolve) return c;
  for (size_t depth = m_frames.size() + 1; depth-- > 0;) {
    if (c == 0) {  // by block: the colour of the reference being drawn
      if (depth == 0) return 7;
      c = m_frames[depth - 1].color;
      layer = m_frames[depth - 1].layer;
      continue;
    }
    if (c == 256) {
      const AcDbLayerTableRecord* r = layerRecord(layer);
      Adesk::UInt16 lc = r ? r->colorIndex() : 7;
      return lc >= 1 && lc <= 255 ? lc : 7;
    }
    return c;
  }
  return 7;
}

void GiRecorder::add(GiPrimitive p) const {
  // Model transforms, innermost last.
  for (auto it = m_xforms.rbegin(); it != m_xforms.rend(); ++it) {
    const AcGeMatrix3d& m = *it;
    double s = m.scale();
    for (auto& q : p.points) q.transformBy(m);
    for (auto& w : p.widths) w *= s;
    p.center.transformBy(m);
    p.radius *= s;
    p.normal.transformBy(m);
    p.startVector.transformBy(m);
    p.position.transformBy(m);
    AcGeVector3d d = p.direction;
    d.transformBy(m);
    double dl = p.direction.length();
    if (dl > 0) p.height *= d.length() / dl;
    p.direction = d;
    if (m.det() < 0) {
      for (auto& b : p.bulges) b = -b;
    }
  }
  if (p.kind == GiPrimitive::kArc || p.kind == GiPrimitive::kCircle) {
    // Keep arcs counter-clockwise about +z.
    if (p.normal.z < 0) {
      p.normal = -p.normal;
      p.sweep = -p.sweep;
    }
    if (p.sweep < 0) {
      p.startVector.rotateBy(p.sweep, AcGeVector3d::kZAxis);
      p.sweep = -p.sweep;
    }
    p.startVector.normalize();
  }
  if (p.kind == GiPrimitive::kText) p.direction.normalize();
  if (m_extentsOnly) {
    addPrimitiveExtents(p, *m_extentsOnly);
    return;
  }
  // Traits (entities on layer "0" inside a block take the reference's layer).
  AcDbObjectId layer = m_traits.layer;
  for (auto it = m_frames.rbegin(); it != m_frames.rend() && isLayerZero(layer); ++it) layer = it->layer;
  p.layer = layer;
  p.color = resolveColor(m_traits.color, layer);
  p.linetype = m_traits.linetype;
  p.lineWeight = m_traits.lineWeight;
  p.linetypeScale = m_traits.linetypeScale;
  if (p.kind == GiPrimitive::kPolygon) p.filled = m_traits.filled;
  m_prims.push_back(std::move(p));
}

void GiRecorder::drawEntity(const AcDbEntity* entity) {
  if (!entity || entity->visibility() != AcDb::kVisible) return;
  if (m_frames.size() > 16) return;
  Traits saved = m_traits;
  m_traits.color = entity->colorIndex();
  m_traits.layer = entity->layerId();
  m_traits.linetype = entity->linetypeId();
  m_traits.lineWeight = entity->lineWeight();
  m_traits.linetypeScale = entity->linetypeScale();
  m_traits.filled = false;
  AcDbObject::FilingScope scope(entity);
  if (const AcDbBlockReference* ref = AcDbBlockReference::cast(entity)) {
    AcDbStub* bs = ref->blockTableRecord().stub();
    const AcDbBlockTableRecord* block = bs ? AcDbBlockTableRecord::cast(bs->object) : nullptr;
    // A block that inserts itself (directly or through other blocks) is drawn
    // once: drawn again in itself it would nest without end, and a few such
    // inserts in one block would multiply into billions of drawings.
    for (const Frame& f : m_frames)
      if (f.block == block) block = nullptr;
    if (block) {
      m_frames.push_back(Frame{resolveColor(entity->colorIndex(), entity->layerId()), entity->layerId(), block});
      if (!m_resolve) m_frames.back().color = entity->colorIndex();
      m_xforms.push_back(ref->blockTransform());
      for (AcDbStub* s : block->entityStubs()) {
        const AcDbEntity* e = s->object ? AcDbEntity::cast(s->object) : nullptr;
        if (e && !e->isErased()) drawEntity(e);
      }
      m_xforms.pop_back();
      m_frames.pop_back();
    }
  } else {
    const_cast<AcDbEntity*>(entity)->worldDraw(this);
  }
  m_traits = saved;
}

Adesk::Boolean GiRecorder::circle(const AcGePoint3d& center, double radius, const AcGeVector3d& normal) const {
  if (m_extentsOnly && m_xforms.empty()) {  // what addPrimitiveExtents adds for the circle
    m_extentsOnly->addPoint(center - AcGeVector3d(radius, radius, 0));
    m_extentsOnly->addPoint(center + AcGeVector3d(radius, radius, 0));
    return false;
  }
  GiPrimitive p;
  p.kind = GiPrimitive::kCircle;
  p.center = center;
  p.radius = radius;
  p.normal = normal;
  p.startVector = AcGeVector3d::kXAxis;
  p.sweep = kTwoPi;
  add(std::move(p));
  return false;
}

Adesk::Boolean GiRecorder::circularArc(const AcGePoint3d& center, double radius, const AcGeVector3d& normal,
                                       const AcGeVector3d& startVector, double sweepAngle,
                                       AcGiArcType arcType) const {
  GiPrimitive p;
  p.kind = GiPrimitive::kArc;
  p.center = center;
  p.radius = radius;
  p.normal = normal;
  p.startVector = startVector.isZeroLength() ? AcGeVector3d::kXAxis : startVector.normal();
  p.sweep = sweepAngle;
  AcGeVector3d sv = p.startVector;
  add(std::move(p));
  if (arcType != kAcGiArcSimple) {
    AcGeVector3d ev = sv;
    ev.rotateBy(sweepAngle, normal);
    AcGePoint3d s = center + sv * radius, e = center + ev * radius;
    if (arcType == kAcGiArcChord) {
      AcGePoint3d pts[2] = {e, s};
      polyline(2, pts);
    } else {
      AcGePoint3d pts[3] = {e, center, s};
      polyline(3, pts);
    }
  }
  return false;
}

Adesk::Boolean GiRecorder::polyline(Adesk::UInt32 nbPoints, const AcGePoint3d* pVertexList, const AcGeVector3d*,
                                    Adesk::LongPtr) const {
  if (nbPoints == 0 || !pVertexList) return false;
  if (m_extentsOnly && m_xforms.empty()) {  // what addPrimitiveExtents adds for the polyline
    for (Adesk::UInt32 i = 0; i < nbPoints; ++i) m_extentsOnly->addPoint(pVertexList[i]);
    return false;
  }
  GiPrimitive p;
  p.kind = GiPrimitive::kPolyline;
  p.points.assign(pVertexList, pVertexList + nbPoints);
  add(std::move(p));
  return false;
}

Adesk::Boolean GiRecorder::polygon(Adesk::UInt32 nbPoints, const AcGePoint3d* pVertexList) const {
  if (nbPoints == 0 || !pVertexList) return false;
  GiPrimitive p;
  p.kind = GiPrimitive::kPolygon;
  p.points.assign(pVertexList, pVertexList + nbPoints);
  p.closed = true;
  add(std::move(p));
  return false;
}

Adesk::Boolean GiRecorder::text(const AcGePoint3d& position, const AcGeVector3d& normal,
                                const AcGeVector3d& direction, double height, double width, double oblique,
                                const char* pMsg) const {
  GiPrimitive p;
  p.kind = GiPrimitive::kText;
  p.position = position;
  p.normal = normal;
  p.direction = direction.isZeroLength() ? AcGeVector3d::kXAxis : direction.normal();
  p.height = height;
  p.widthFactor = width > 0 ? width : 1.0;
  p.oblique = oblique;
  p.text = pMsg ? pMsg : "";
  add(std::move(p));
  return false;
}

Adesk::Boolean GiRecorder::text(const AcGePoint3d& position, const AcGeVector3d& normal,
                                const AcGeVector3d& direction, const char* pMsg, Adesk::Int32 length,
                                Adesk::Boolean, const AcGiTextStyle& style) const {
  std::string s = pMsg ? pMsg : "";
  if (length >= 0 && static_cast<size_t>(length) < s.size()) s.resize(static_cast<size_t>(length));
  GiPrimitive p;
  p.kind = GiPrimitive::kText;
  p.position = position;
  p.normal = normal;
  p.direction = direction.isZeroLength() ? AcGeVector3d::kXAxis : direction.normal();
  p.height = style.textSize();
  p.widthFactor = style.xScale() > 0 ? style.xScale() : 1.0;
  p.oblique = style.obliquingAngle();
  p.textStyle = style.styleId();
  p.text = std::move(s);
  add(std::move(p));
  return false;
}

Adesk::Boolean GiRecorder::pline(const AcDbPolyline& lw, Adesk::UInt32 fromIndex, Adesk::UInt32 numSegs) const {
  AcDbObject::FilingScope scope(&lw);
  unsigned n = lw.numVerts();
  if (n == 0 || fromIndex >= n) return false;
  unsigned segCount = lw.isClosed() ? n : n - 1;
  if (m_extentsOnly && m_xforms.empty() && fromIndex == 0 && (numSegs == 0 || numSegs >= segCount)) {
    // The whole polyline, for its extents only: the points and arcs that
    // addPrimitiveExtents adds for it, in the same order, without the copy.
    AcGePoint3d pt, next;
    lw.getPointAt(0, pt);
    for (unsigned k = 0; k < n; ++k) {
      m_extentsOnly->addPoint(pt);
      double bulge = 0;
      lw.getBulgeAt(k, bulge);
      if (k + 1 < n) lw.getPointAt(k + 1, next);
      if (bulge != 0 && (k + 1 < n || lw.isClosed())) {
        if (k + 1 == n) lw.getPointAt(0, next);
        AcGePoint3d c;
        double r, s, w;
        if (bulgeArc(pt, next, bulge, c, r, s, w)) addArcExtents(c, r, s, w, *m_extentsOnly);
      }
      pt = next;
    }
    return false;
  }
  GiPrimitive p;
  p.kind = GiPrimitive::kPolyline;
  auto addVertex = [&](unsigned k, bool withBulge) {
    AcGePoint3d pt;
    double b = 0, sw = 0, ew = 0;
    lw.getPointAt(k, pt);
    lw.getBulgeAt(k, b);
    lw.getWidthsAt(k, sw, ew);
    p.points.push_back(pt);
    p.bulges.push_back(withBulge ? b : 0.0);
    p.widths.push_back(sw);
    p.widths.push_back(ew);
  };
  if (fromIndex == 0 && (numSegs == 0 || numSegs >= segCount)) {
    for (unsigned k = 0; k < n; ++k) addVertex(k, true);
    p.closed = lw.isClosed();
  } else {
    unsigned last = std::min(segCount, fromIndex + (numSegs == 0 ? segCount : numSegs));
    for (unsigned i = fromIndex; i <= last; ++i) addVertex(i % n, i < last);
  }
  add(std::move(p));
  return false;
}

Adesk::Boolean GiRecorder::pushModelTransform(const AcGeMatrix3d& xform) {
  m_xforms.push_back(xform);
  return true;
}

Adesk::Boolean GiRecorder::popModelTransform() {
  if (m_xforms.empty()) return false;
  m_xforms.pop_back();
  return true;
}

}  // namespace platform

namespace platform {

void entitiesFromPrimitives(const std::vector<GiPrimitive>& prims, std::vector<AcDbEntity*>& out) {
  for (const GiPrimitive& p : prims) {
    std::vector<AcDbEntity*> made;
    switch (p.kind) {
      case GiPrimitive::kPolyline: {
        bool plain = p.widths.empty() && !p.closed;
        for (double b : p.bulges) plain = plain && b == 0;
        for (double w : p.widths) plain = plain && w == 0;
        if (p.points.size() == 1) {
          made.push_back(new AcDbPoint(p.points[0]));
        } else if (p.points.size() == 2 && plain) {
          made.push_back(new AcDbLine(p.points[0], p.points[1]));
        } else if (p.points.size() > 1) {
          auto* pl = new AcDbPolyline(static_cast<unsigned>(p.points.size()));
          for (size_t i = 0; i < p.points.size(); ++i) {
            double b = i < p.bulges.size() ? p.bulges[i] : 0;
            double sw = 2 * i < p.widths.size() ? p.widths[2 * i] : 0;
            double ew = 2 * i + 1 < p.widths.size() ? p.widths[2 * i + 1] : 0;
            pl->addVertexAt(static_cast<unsigned>(i), p.points[i].convert2d(), b, sw, ew);
          }
          pl->setElevation(p.points[0].z);
          pl->setClosed(p.closed);
          made.push_back(pl);
        }
        break;
      }
      case GiPrimitive::kPolygon: {
        size_t n = p.points.size();
        if (n >= 3 && p.filled) {
          // A solid's corners run 0-1-3-2; a larger area becomes a fan.
          if (n <= 4) {
            const AcGePoint3d& last = p.points[n - 1];
            made.push_back(new AcDbSolid(p.points[0], p.points[1], last, n == 4 ? p.points[2] : last));
          } else {
            for (size_t i = 1; i + 1 < n; ++i) made.push_back(new AcDbSolid(p.points[0], p.points[i], p.points[i + 1]));
          }
        } else if (n >= 2) {
          auto* pl = new AcDbPolyline(static_cast<unsigned>(n));
          for (size_t i = 0; i < n; ++i) pl->addVertexAt(static_cast<unsigned>(i), p.points[i].convert2d());
          pl->setElevation(p.points[0].z);
          pl->setClosed(true);
          made.push_back(pl);
        } else if (n == 1) {
          made.push_back(new AcDbPoint(p.points[0]));
        }
        break;
      }
      case GiPrimitive::kCircle:
        made.push_back(new AcDbCircle(p.center, AcGeVector3d::kZAxis, p.radius > 0 ? p.radius : 1e-9));
        break;
      case GiPrimitive::kArc: {
        double s = std::atan2(p.startVector.y, p.startVector.x);
        made.push_back(new AcDbArc(p.center, p.radius > 0 ? p.radius : 1e-9, s, s + p.sweep));
        break;
      }
      case GiPrimitive::kText: {
        auto* t = new AcDbText(p.position, p.text.c_str(), p.textStyle, p.height,
                               std::atan2(p.direction.y, p.direction.x));
        t->setWidthFactor(p.widthFactor > 0 ? p.widthFactor : 1.0);
        t->setOblique(p.oblique);
        made.push_back(t);
        break;
      }
    }
    for (AcDbEntity* e : made) {
      e->setColorDirect(p.color);
      e->setLayerDirect(p.layer);
      e->setLinetypeDirect(p.linetype);
      e->setLineWeightDirect(p.lineWeight);
      e->setLinetypeScaleDirect(p.linetypeScale > 0 ? p.linetypeScale : 1.0);
      out.push_back(e);
    }
  }
}

}  // namespace platform

Acad::ErrorStatus AcDbEntity::explode(AcDbVoidPtrArray& entitySet) const {
  assertReadEnabled();
  platform::GiRecorder rec(databaseToUse(), kAcGiForExplode);
  rec.drawEntity(this);
  std::vector<AcDbEntity*> made;
  platform::entitiesFromPrimitives(rec.primitives(), made);
  if (made.empty()) return Acad::eNotApplicable;
  for (AcDbEntity* e : made) entitySet.append(e);
  return Acad::eOk;
}

namespace platform {

void drawModelSpace(AcDbDatabase& db, GiRecorder& rec) {
  reviveProxies();
  AcDbStub* ms = db.modelSpaceId().stub();
  const AcDbBlockTableRecord* block = ms && ms->object ? AcDbBlockTableRecord::cast(ms->object) : nullptr;
  if (!block) return;
  for (AcDbStub* s : block->entityStubs()) {
    const AcDbEntity* e = s->object ? AcDbEntity::cast(s->object) : nullptr;
    if (!e || e->isErased()) continue;
    // Entities on layers that are off or frozen are not shown.
    AcDbStub* ls = e->layerId().stub();
    const AcDbLayerTableRecord* layer = ls && ls->object ? AcDbLayerTableRecord::cast(ls->object) : nullptr;
    if (layer && (layer->isOff() || layer->isFrozen())) continue;
    rec.drawEntity(e);
  }
}

}  // namespace platform
