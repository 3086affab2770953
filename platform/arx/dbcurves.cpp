// Geometry shared by all entities: intersections, nearest points and lengths,
// worked out in the drawing plane (x, y) on what the entities draw.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "arx/dbents.h"
#include "arx/dbpoly.h"
#include "arx/dbmain.h"
#include "arx/gidrawing.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr double kParamEps = 1e-9;

// One straight segment or arc of an entity's outline.
struct Piece {
  bool isArc = false;
  bool infinite = false;  // a segment taken as an infinite line
  AcGePoint3d a, b;       // segment ends
  AcGePoint3d c;          // arc centre
  double r = 0, start = 0, sweep = 0;
};

struct Hit {
  AcGePoint3d p;
  double thisParam, otherParam;
};

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }

double angleOffset(double angle, double start) {
  double d = std::fmod(angle - start, kTwoPi);
  if (d < 0) d += kTwoPi;
  return d;
}

// Parameter 0..1 of an angle on an arc; < 0 when the angle is off the arc.
double arcParam(const Piece& arc, double angle) {
  double d = angleOffset(angle, arc.start);
  double eps = kParamEps * std::max(1.0, arc.sweep);
  if (d <= arc.sweep + eps) return arc.sweep > 0 ? std::min(1.0, d / arc.sweep) : 0.0;
  if (d >= kTwoPi - eps) return 0.0;  // just before the start
  return -1;
}

bool segParamOk(const Piece& s, double t) { return s.infinite || (t >= -kParamEps && t <= 1 + kParamEps); }

void addBulgePiece(std::vector<Piece>& out, const AcGePoint3d& a, const AcGePoint3d& b, double bulge) {
  double chord = a.distanceTo(b);
  if (bulge == 0 || chord == 0) {
    Piece p;
    p.a = a;
    p.b = b;
    out.push_back(p);
    return;
  }
  double sweep = 4 * std::atan(bulge);
  double r = chord * (1 + bulge * bulge) / (4 * std::fabs(bulge));
  AcGeVector3d m = (b - a) / 2;
  double h = r - std::fabs(bulge) * chord / 2;
  AcGeVector3d n(-m.y, m.x, 0);
  n.normalize();
  Piece p;
  p.isArc = true;
  p.c = a + m + n * (bulge > 0 ? h : -h);
  p.r = r;
  // Keep the direction of travel: a clockwise segment is an arc walked
  // backwards, so its parameter runs from the end angle down.
  p.start = std::atan2(a.y - p.c.y, a.x - p.c.x);
  p.sweep = sweep;
  out.push_back(p);
}

std::vector<Piece> piecesOf(const AcDbEntity* e, bool extend) {
  std::vector<Piece> out;
  if (!e) return out;
  if (extend) {
    if (const AcDbLine* l = AcDbLine::cast(e)) {
      AcDbObject::FilingScope scope(l);
      Piece p;
      p.a = l->startPoint();
      p.b = l->endPoint();
      p.infinite = true;
      if (p.a.distanceTo(p.b) > 0) out.push_back(p);
      return out;
    }
    if (const AcDbArc* arc = AcDbArc::cast(e)) {
      AcDbObject::FilingScope scope(arc);
      Piece p;
      p.isArc = true;
      p.c = arc->center();
      p.r = arc->radius();
      p.start = arc->startAngle();
      p.sweep = kTwoPi;
      out.push_back(p);
      return out;
    }
  }
  // A 2D polyline draws as one polyline through its vertices at its
  // elevation, each segment with its vertex's bulge: its pieces are taken
  // from the vertices straight away, as they would be from that drawing.
  if (const AcDb2dPolyline* pl = AcDb2dPolyline::cast(e)) {
    if (pl->visibility() != AcDb::kVisible) return out;
    AcDbObject::FilingScope scope(pl);
    const double elevation = pl->elevation();
    std::vector<AcGePoint3d> points;
    std::vector<double> bulges;
    for (const AcDbEntity* item : pl->verticesDirect()) {
      if (item->isErased()) continue;
      const auto* v = static_cast<const AcDb2dVertex*>(item);
      AcDbObject::FilingScope vertexScope(v);
      const AcGePoint3d position = v->position();
      points.emplace_back(position.x, position.y, elevation);
      bulges.push_back(v->bulge());
    }
    const size_t n = points.size();
    const size_t segs = n < 2 ? 0 : (pl->isClosed() ? n : n - 1);
    out.reserve(segs);
    for (size_t i = 0; i < segs; ++i) addBulgePiece(out, points[i], points[(i + 1) % n], bulges[i]);
    return out;
  }
  platform::GiRecorder rec(e->databaseToUse());
  rec.drawEntity(e);
  for (const platform::GiPrimitive& g : rec.primitives()) {
    switch (g.kind) {
      case platform::GiPrimitive::kPolyline:
      case platform::GiPrimitive::kPolygon: {
        size_t n = g.points.size();
        bool closed = g.closed || g.kind == platform::GiPrimitive::kPolygon;
        size_t segs = n < 2 ? 0 : (closed ? n : n - 1);
        for (size_t i = 0; i < segs; ++i)
          addBulgePiece(out, g.points[i], g.points[(i + 1) % n], i < g.bulges.size() ? g.bulges[i] : 0.0);
        break;
      }
      case platform::GiPrimitive::kCircle:
      case platform::GiPrimitive::kArc: {
        Piece p;
        p.isArc = true;
        p.c = g.center;
        p.r = g.radius;
        p.start = std::atan2(g.startVector.y, g.startVector.x);
        p.sweep = g.kind == platform::GiPrimitive::kCircle ? kTwoPi : g.sweep;
        out.push_back(p);
        break;
      }
      case platform::GiPrimitive::kText:
        break;
    }
  }
  return out;
}

// Arcs with a negative sweep (clockwise polyline segments) walk from `start`
// clockwise; these helpers give the counter-clockwise form and map parameters.
struct CcwArc {
  double start, sweep;
  bool reversed;
};
CcwArc ccwOf(const Piece& p) {
  if (p.sweep >= 0) return {p.start, p.sweep, false};
  return {p.start + p.sweep, -p.sweep, true};
}
double arcParamOf(const Piece& p, double angle) {
  CcwArc c = ccwOf(p);
  Piece q = p;
  q.start = c.start;
  q.sweep = c.sweep;
  double t = arcParam(q, angle);
  if (t < 0) return t;
  return c.reversed ? 1 - t : t;
}

void segSeg(const Piece& s1, const Piece& s2, std::vector<Hit>& out) {
  double d1x = s1.b.x - s1.a.x, d1y = s1.b.y - s1.a.y;
  double d2x = s2.b.x - s2.a.x, d2y = s2.b.y - s2.a.y;
  double den = cross(d1x, d1y, d2x, d2y);
  double scale = std::hypot(d1x, d1y) * std::hypot(d2x, d2y);
  if (scale == 0 || std::fabs(den) <= 1e-12 * scale) return;  // parallel or overlapping
  double ex = s2.a.x - s1.a.x, ey = s2.a.y - s1.a.y;
  double t = cross(ex, ey, d2x, d2y) / den;
  double u = cross(ex, ey, d1x, d1y) / den;
  if (!segParamOk(s1, t) || !segParamOk(s2, u)) return;
  AcGePoint3d p(s1.a.x + t * d1x, s1.a.y + t * d1y, s1.a.z + t * (s1.b.z - s1.a.z));
  out.push_back({p, t, u});
}

// Points where the line of `s` meets the circle of `arc`, with their line parameter.
void lineCircle(const Piece& s, const Piece& arc, std::vector<std::pair<AcGePoint3d, double>>& pts) {
  double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  double len2 = dx * dx + dy * dy;
  if (len2 == 0) return;
  double len = std::sqrt(len2);
  double ux = dx / len, uy = dy / len;
  double fx = arc.c.x - s.a.x, fy = arc.c.y - s.a.y;
  double along = fx * ux + fy * uy;           // foot of the centre on the line
  double h = std::fabs(cross(ux, uy, fx, fy));  // distance of the centre from the line
  double tol = 1e-9 * std::max(1.0, arc.r);
  if (h > arc.r + tol) return;
  double half = h >= arc.r - tol ? 0.0 : std::sqrt(arc.r * arc.r - h * h);
  auto emit = [&](double dist) {
    double t = dist / len;
    pts.push_back({AcGePoint3d(s.a.x + ux * dist, s.a.y + uy * dist, s.a.z + t * (s.b.z - s.a.z)), t});
  };
  if (half == 0) {
    emit(along);
  } else {
    emit(along - half);
    emit(along + half);
  }
}

void segArc(const Piece& s, const Piece& arc, bool segIsThis, std::vector<Hit>& out) {
  std::vector<std::pair<AcGePoint3d, double>> pts;
  lineCircle(s, arc, pts);
  for (auto& [p, t] : pts) {
    if (!segParamOk(s, t)) continue;
    double u = arcParamOf(arc, std::atan2(p.y - arc.c.y, p.x - arc.c.x));
    if (u < 0) continue;
    out.push_back(segIsThis ? Hit{p, t, u} : Hit{p, u, t});
  }
}

void arcArc(const Piece& a1, const Piece& a2, std::vector<Hit>& out) {
  double dx = a2.c.x - a1.c.x, dy = a2.c.y - a1.c.y;
  double d = std::hypot(dx, dy);
  double tol = 1e-9 * std::max({1.0, a1.r, a2.r});
  if (d <= tol) return;  // concentric: no point or the same circle
  if (d > a1.r + a2.r + tol || d < std::fabs(a1.r - a2.r) - tol) return;
  double a = (a1.r * a1.r - a2.r * a2.r + d * d) / (2 * d);
  double h2 = a1.r * a1.r - a * a;
  double h = h2 > 0 ? std::sqrt(h2) : 0;
  double mx = a1.c.x + a * dx / d, my = a1.c.y + a * dy / d;
  std::vector<AcGePoint3d> cand;
  if (h <= tol) {
    cand.emplace_back(mx, my, a1.c.z);
  } else {
    cand.emplace_back(mx - h * dy / d, my + h * dx / d, a1.c.z);
    cand.emplace_back(mx + h * dy / d, my - h * dx / d, a1.c.z);
  }
  for (const AcGePoint3d& p : cand) {
    double t = arcParamOf(a1, std::atan2(p.y - a1.c.y, p.x - a1.c.x));
    double u = arcParamOf(a2, std::atan2(p.y - a2.c.y, p.x - a2.c.x));
    if (t >= 0 && u >= 0) out.push_back({p, t, u});
  }
}

double pieceLength(const Piece& p) {
  if (p.isArc) return p.r * std::fabs(p.sweep);
  return std::hypot(p.b.x - p.a.x, p.b.y - p.a.y);
}

// Nearest point of a piece to `q`, and its parameter 0..1.
AcGePoint3d nearestOnPiece(const Piece& p, const AcGePoint3d& q, double& t) {
  if (!p.isArc) {
    double dx = p.b.x - p.a.x, dy = p.b.y - p.a.y;
    double l2 = dx * dx + dy * dy;
    t = l2 > 0 ? ((q.x - p.a.x) * dx + (q.y - p.a.y) * dy) / l2 : 0;
    if (!p.infinite) t = std::clamp(t, 0.0, 1.0);
    return AcGePoint3d(p.a.x + t * dx, p.a.y + t * dy, p.a.z + t * (p.b.z - p.a.z));
  }
  double ang = std::atan2(q.y - p.c.y, q.x - p.c.x);
  double u = arcParamOf(p, ang);
  if (u < 0) {
    // Off the arc: the nearer end.
    AcGePoint3d s = p.c + AcGeVector3d(p.r * std::cos(p.start), p.r * std::sin(p.start), 0);
    AcGePoint3d e = p.c + AcGeVector3d(p.r * std::cos(p.start + p.sweep), p.r * std::sin(p.start + p.sweep), 0);
    if (std::hypot(q.x - s.x, q.y - s.y) <= std::hypot(q.x - e.x, q.y - e.y)) {
      t = 0;
      return s;
    }
    t = 1;
    return e;
  }
  t = u;
  double a = p.start + u * p.sweep;
  return p.c + AcGeVector3d(p.r * std::cos(a), p.r * std::sin(a), 0);
}

}  // namespace

Acad::ErrorStatus AcDbEntity::intersectWith(const AcDbEntity* other, AcDb::Intersect intType, AcGePoint3dArray& points,
                                            Adesk::GsMarker, Adesk::GsMarker) const {
  if (!other) return Acad::eNullEntityPointer;
  assertReadEnabled();
  bool extThis = intType == AcDb::kExtendThis || intType == AcDb::kExtendBoth;
  bool extArg = intType == AcDb::kExtendArg || intType == AcDb::kExtendBoth;
  std::vector<Piece> mine = piecesOf(this, extThis), theirs = piecesOf(other, extArg);
  std::vector<Hit> hits;
  for (size_t i = 0; i < mine.size(); ++i) {
    for (size_t j = 0; j < theirs.size(); ++j) {
      std::vector<Hit> local;
      const Piece &a = mine[i], &b = theirs[j];
      if (!a.isArc && !b.isArc) segSeg(a, b, local);
      else if (!a.isArc) segArc(a, b, true, local);
      else if (!b.isArc) segArc(b, a, false, local);
      else arcArc(a, b, local);
      for (Hit& h : local) {
        h.thisParam += static_cast<double>(i);
        h.otherParam += static_cast<double>(j);
        hits.push_back(h);
      }
    }
  }
  std::stable_sort(hits.begin(), hits.end(), [](const Hit& x, const Hit& y) {
    if (x.thisParam != y.thisParam) return x.thisParam < y.thisParam;
    return x.otherParam < y.otherParam;
  });
  std::vector<AcGePoint3d> kept;
  for (const Hit& h : hits) {
    double tol = 1e-9 * std::max({1.0, std::fabs(h.p.x), std::fabs(h.p.y)});
    bool dup = std::any_of(kept.begin(), kept.end(), [&](const AcGePoint3d& k) {
      return std::hypot(k.x - h.p.x, k.y - h.p.y) <= tol;
    });
    if (dup) continue;
    kept.push_back(h.p);
    points.append(h.p);
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d&) const { return Acad::eNotApplicable; }
Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d&) const { return Acad::eNotApplicable; }

Acad::ErrorStatus AcDbCurve::getClosestPointTo(const AcGePoint3d& given, AcGePoint3d& closest,
                                               Adesk::Boolean extend) const {
  assertReadEnabled();
  std::vector<Piece> pieces = piecesOf(this, extend);
  if (pieces.empty()) return Acad::eDegenerateGeometry;
  double best = std::numeric_limits<double>::max();
  for (const Piece& p : pieces) {
    double t;
    AcGePoint3d q = nearestOnPiece(p, given, t);
    double d = std::hypot(q.x - given.x, q.y - given.y);
    if (d < best) {
      best = d;
      closest = q;
    }
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const {
  assertReadEnabled();
  std::vector<Piece> pieces = piecesOf(this, false);
  if (pieces.empty()) return Acad::eDegenerateGeometry;
  double best = std::numeric_limits<double>::max(), run = 0;
  for (const Piece& p : pieces) {
    double t;
    AcGePoint3d q = nearestOnPiece(p, point, t);
    double d = std::hypot(q.x - point.x, q.y - point.y);
    if (d < best) {
      best = d;
      dist = run + t * pieceLength(p);
    }
    run += pieceLength(p);
  }
  double tol = 1e-6 * std::max(1.0, run);
  return best <= tol ? Acad::eOk : Acad::eInvalidInput;
}
