#include "arx/dbents.h"

#include <cmath>
#include <numbers>

#include "arx/dbdatabase.h"
#include "arx/dbstub.h"
#include "arx/gi.h"
#include "arx/gidrawing.h"

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double normalizeAngle(double a) {
  if (!std::isfinite(a)) return 0;
  double r = std::fmod(a, kTwoPi);
  if (r < 0) r += kTwoPi;
  return r >= kTwoPi ? 0.0 : r;
}

// Uniform scale and the angle by which a matrix turns the x axis in the plane.
bool planarTransform(const AcGeMatrix3d& m, double& scale, double& turn, bool& mirrored) {
  if (!m.isUniScaledOrtho()) return false;
  scale = m.scale();
  AcGeVector3d x = AcGeVector3d::kXAxis;
  x.transformBy(m);
  turn = std::atan2(x.y, x.x);
  mirrored = m.det() < 0;
  return true;
}

AcGeVector3d dirOf(double angle) { return AcGeVector3d(std::cos(angle), std::sin(angle), 0); }

}  // namespace

// ---- AcDbLine ----

AcDbLine::AcDbLine() = default;
AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end) : m_start(start), m_end(end) {}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_start = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_end = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& p) const {
  assertReadEnabled();
  p = m_start;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& p) const {
  assertReadEnabled();
  p = m_end;
  return Acad::eOk;
}
Adesk::Boolean AcDbLine::worldDraw(AcGiWorldDraw* wd) {
  AcGePoint3d pts[2] = {m_start, m_end};
  wd->geometry().polyline(2, pts);
  return true;
}
Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_start.transformBy(xform);
  m_end.transformBy(xform);
  m_normal.transformBy(xform);
  m_normal.normalize();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  grips.append(m_start);
  grips.append(AcGePoint3d((m_start.x + m_end.x) / 2, (m_start.y + m_end.y) / 2, (m_start.z + m_end.z) / 2));
  grips.append(m_end);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i == 0) m_start += offset;
    else if (i == 1) { m_start += offset; m_end += offset; }
    else if (i == 2) m_end += offset;
    else return Acad::eInvalidIndex;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbLine::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_start);
  f->writePoint3d(m_end);
  f->writeVector3d(m_normal);
  f->writeDouble(m_thickness);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbLine::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_start);
  f->readPoint3d(&m_end);
  f->readVector3d(&m_normal);
  f->readDouble(&m_thickness);
  return f->filerStatus();
}

// ---- AcDbCircle ----

AcDbCircle::AcDbCircle() = default;
AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : m_center(center), m_normal(normal.isZeroLength() ? AcGeVector3d::kZAxis : normal.normal()),
      m_radius(radius > 0 ? radius : 1.0) {}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& c) {
  assertWriteEnabled();
  m_center = c;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setRadius(double r) {
  if (!(r > 0)) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_radius = r;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& p) const {
  assertReadEnabled();
  p = m_center + AcGeVector3d(m_radius, 0, 0);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& p) const { return getStartPoint(p); }
Adesk::Boolean AcDbCircle::worldDraw(AcGiWorldDraw* wd) {
  wd->geometry().circle(m_center, m_radius, m_normal);
  return true;
}
Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
  double s, turn;
  bool mirrored;
  if (!planarTransform(xform, s, turn, mirrored)) return Acad::eNotApplicable;
  assertWriteEnabled();
  m_center.transformBy(xform);
  m_radius *= s;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  grips.append(m_center);
  for (int q = 0; q < 4; ++q) grips.append(m_center + dirOf(q * std::numbers::pi / 2) * m_radius);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i == 0) {
      m_center += offset;
    } else if (i >= 1 && i <= 4) {
      AcGePoint3d g = m_center + dirOf((i - 1) * std::numbers::pi / 2) * m_radius + offset;
      double r = g.distanceTo(m_center);
      if (r > 0) m_radius = r;
    } else {
      return Acad::eInvalidIndex;
    }
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbCircle::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_center);
  f->writeDouble(m_radius);
  f->writeVector3d(m_normal);
  f->writeDouble(m_thickness);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbCircle::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_center);
  f->readDouble(&m_radius);
  f->readVector3d(&m_normal);
  f->readDouble(&m_thickness);
  return f->filerStatus();
}

// ---- AcDbArc ----

AcDbArc::AcDbArc() = default;
AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : m_center(center), m_radius(radius > 0 ? radius : 1.0), m_start(normalizeAngle(startAngle)),
      m_end(normalizeAngle(endAngle)) {}
AcDbArc::AcDbArc(const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle,
                 double endAngle)
    : AcDbArc(center, radius, startAngle, endAngle) {
  if (!normal.isZeroLength()) m_normal = normal.normal();
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& c) {
  assertWriteEnabled();
  m_center = c;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setRadius(double r) {
  if (!(r > 0)) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_radius = r;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setStartAngle(double a) {
  assertWriteEnabled();
  m_start = normalizeAngle(a);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setEndAngle(double a) {
  assertWriteEnabled();
  m_end = normalizeAngle(a);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
double AcDbArc::sweepAngle() const {
  double s = normalizeAngle(m_end - m_start);
  return s == 0 ? kTwoPi : s;
}
Acad::ErrorStatus AcDbArc::getStartPoint(AcGePoint3d& p) const {
  assertReadEnabled();
  p = m_center + dirOf(m_start) * m_radius;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getEndPoint(AcGePoint3d& p) const {
  assertReadEnabled();
  p = m_center + dirOf(m_end) * m_radius;
  return Acad::eOk;
}
Adesk::Boolean AcDbArc::worldDraw(AcGiWorldDraw* wd) {
  wd->geometry().circularArc(m_center, m_radius, m_normal, dirOf(m_start), sweepAngle());
  return true;
}
Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform) {
  double s, turn;
  bool mirrored;
  if (!planarTransform(xform, s, turn, mirrored)) return Acad::eNotApplicable;
  assertWriteEnabled();
  AcGeVector3d sv = dirOf(m_start), ev = dirOf(m_end);
  sv.transformBy(xform);
  ev.transformBy(xform);
  m_center.transformBy(xform);
  m_radius *= s;
  double a = std::atan2(sv.y, sv.x), b = std::atan2(ev.y, ev.x);
  // A mirror turns the arc's direction: its ends swap.
  m_start = normalizeAngle(mirrored ? b : a);
  m_end = normalizeAngle(mirrored ? a : b);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  grips.append(m_center + dirOf(m_start) * m_radius);
  grips.append(m_center + dirOf(m_start + sweepAngle() / 2) * m_radius);
  grips.append(m_center + dirOf(m_end) * m_radius);
  grips.append(m_center);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i == 3 || i == 1) {
      m_center += offset;
    } else if (i == 0 || i == 2) {
      AcGePoint3d g = m_center + dirOf(i == 0 ? m_start : m_end) * m_radius + offset;
      double a = normalizeAngle(std::atan2(g.y - m_center.y, g.x - m_center.x));
      (i == 0 ? m_start : m_end) = a;
    } else {
      return Acad::eInvalidIndex;
    }
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbArc::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_center);
  f->writeDouble(m_radius);
  f->writeDouble(m_start);
  f->writeDouble(m_end);
  f->writeVector3d(m_normal);
  f->writeDouble(m_thickness);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbArc::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_center);
  f->readDouble(&m_radius);
  f->readDouble(&m_start);
  f->readDouble(&m_end);
  f->readVector3d(&m_normal);
  f->readDouble(&m_thickness);
  return f->filerStatus();
}

// ---- AcDbPoint ----

AcDbPoint::AcDbPoint() = default;
AcDbPoint::AcDbPoint(const AcGePoint3d& position) : m_position(position) {}
Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_position = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
Adesk::Boolean AcDbPoint::worldDraw(AcGiWorldDraw* wd) {
  wd->geometry().polyline(1, &m_position);
  return true;
}
Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  m_position.transformBy(xform);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  grips.append(m_position);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i != 0) return Acad::eInvalidIndex;
    m_position += offset;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbPoint::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_position);
  f->writeDouble(m_thickness);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbPoint::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(f);
  if (es != Acad::eOk) return es;
  f->readPoint3d(&m_position);
  f->readDouble(&m_thickness);
  return f->filerStatus();
}

// ---- AcDbText ----

AcDbText::AcDbText() = default;
AcDbText::AcDbText(const AcGePoint3d& position, const char* text, AcDbObjectId style, double height,
                   double rotation)
    : m_position(position), m_alignment(position), m_text(text ? text : ""), m_height(height),
      m_rotation(normalizeAngle(rotation)), m_style(style) {}

void AcDbText::realign() {
  if (isDefaultAlignment()) {
    m_alignment = m_position;
    return;
  }
  if (m_horz == AcDb::kTextAlign || m_horz == AcDb::kTextFit) return;
  double w = platform::estimatedTextWidth(m_text, m_height, m_widthFactor);
  double along = 0, up = 0;
  switch (m_horz) {
    case AcDb::kTextCenter: along = w / 2; break;
    case AcDb::kTextRight: along = w; break;
    case AcDb::kTextMid: along = w / 2; break;
    default: break;
  }
  if (m_horz == AcDb::kTextMid) {
    up = m_height / 2;
  } else {
    switch (m_vert) {
      case AcDb::kTextBottom: up = -0.2 * m_height; break;
      case AcDb::kTextVertMid: up = m_height / 2; break;
      case AcDb::kTextTop: up = m_height; break;
      default: break;
    }
  }
  AcGeVector3d d = dirOf(m_rotation), n(-d.y, d.x, 0);
  m_position = m_alignment - d * along - n * up;
}

Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_position = p;
  if (isDefaultAlignment()) m_alignment = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_alignment = p;
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setTextString(const char* text) {
  if (!text) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_text = text;
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setHeight(double h) {
  if (!(h >= 0)) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_height = h;
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setRotation(double a) {
  assertWriteEnabled();
  m_rotation = normalizeAngle(a);
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setWidthFactor(double f) {
  if (!(f > 0)) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_widthFactor = f;
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setOblique(double a) {
  assertWriteEnabled();
  m_oblique = a;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
  assertWriteEnabled();
  m_style = style;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  if (mode < AcDb::kTextLeft || mode > AcDb::kTextFit) return Acad::eInvalidInput;
  assertWriteEnabled();
  bool wasDefault = isDefaultAlignment();
  m_horz = mode;
  // Leaving the default alignment anchors the text where it starts now.
  if (wasDefault && !isDefaultAlignment()) m_alignment = m_position;
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  if (mode < AcDb::kTextBase || mode > AcDb::kTextTop) return Acad::eInvalidInput;
  assertWriteEnabled();
  bool wasDefault = isDefaultAlignment();
  m_vert = mode;
  if (wasDefault && !isDefaultAlignment()) m_alignment = m_position;
  realign();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::mirrorInX(Adesk::Boolean on) {
  assertWriteEnabled();
  m_mirrorX = on;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::mirrorInY(Adesk::Boolean on) {
  assertWriteEnabled();
  m_mirrorY = on;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*) {
  assertWriteEnabled();
  realign();
  return Acad::eOk;
}
Adesk::Boolean AcDbText::worldDraw(AcGiWorldDraw* wd) {
  AcGiTextStyle style;
  style.setTextSize(m_height);
  style.setXScale(m_widthFactor);
  style.setObliquingAngle(m_oblique);
  style.setStyleId(m_style);
  wd->geometry().text(m_position, m_normal, dirOf(m_rotation), m_text.c_str(), -1, false, style);
  return true;
}
Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
  double s, turn;
  bool mirrored;
  if (!planarTransform(xform, s, turn, mirrored)) return Acad::eNotApplicable;
  assertWriteEnabled();
  AcGeVector3d d = dirOf(m_rotation);
  d.transformBy(xform);
  m_position.transformBy(xform);
  m_alignment.transformBy(xform);
  m_rotation = normalizeAngle(std::atan2(d.y, d.x));
  m_height *= s;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  grips.append(isDefaultAlignment() ? m_position : m_alignment);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i != 0) return Acad::eInvalidIndex;
    m_position += offset;
    m_alignment += offset;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writePoint3d(m_position);
  f->writePoint3d(m_alignment);
  f->writeString(m_text.c_str());
  f->writeDouble(m_height);
  f->writeDouble(m_rotation);
  f->writeDouble(m_widthFactor);
  f->writeDouble(m_oblique);
  f->writeDouble(m_thickness);
  f->writeHardPointerId(m_style);
  f->writeInt16(static_cast<Adesk::Int16>(m_horz));
  f->writeInt16(static_cast<Adesk::Int16>(m_vert));
  f->writeVector3d(m_normal);
  f->writeBool(m_mirrorX);
  f->writeBool(m_mirrorY);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbText::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(f);
  if (es != Acad::eOk) return es;
  Adesk::Int16 h = 0, v = 0;
  AcDbHardPointerId style;
  f->readPoint3d(&m_position);
  f->readPoint3d(&m_alignment);
  f->readString(m_text);
  f->readDouble(&m_height);
  f->readDouble(&m_rotation);
  f->readDouble(&m_widthFactor);
  f->readDouble(&m_oblique);
  f->readDouble(&m_thickness);
  f->readHardPointerId(&style);
  f->readInt16(&h);
  f->readInt16(&v);
  f->readVector3d(&m_normal);
  f->readBool(&m_mirrorX);
  f->readBool(&m_mirrorY);
  m_style = style;
  m_horz = (h >= 0 && h <= 5) ? static_cast<AcDb::TextHorzMode>(h) : AcDb::kTextLeft;
  m_vert = (v >= 0 && v <= 3) ? static_cast<AcDb::TextVertMode>(v) : AcDb::kTextBase;
  return f->filerStatus();
}

// ---- AcDbSolid ----

AcDbSolid::AcDbSolid() = default;
AcDbSolid::AcDbSolid(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& p3)
    : m_pts{p0, p1, p2, p3} {}
AcDbSolid::AcDbSolid(const AcGePoint3d& p0, const AcGePoint3d& p1, const AcGePoint3d& p2)
    : m_pts{p0, p1, p2, p2} {}

Acad::ErrorStatus AcDbSolid::getPointAt(Adesk::UInt16 index, AcGePoint3d& p) const {
  if (index > 3) return Acad::eInvalidIndex;
  assertReadEnabled();
  p = m_pts[index];
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSolid::setPointAt(Adesk::UInt16 index, const AcGePoint3d& p) {
  if (index > 3) return Acad::eInvalidIndex;
  assertWriteEnabled();
  m_pts[index] = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSolid::setThickness(double t) {
  assertWriteEnabled();
  m_thickness = t;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSolid::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
Adesk::Boolean AcDbSolid::worldDraw(AcGiWorldDraw* wd) {
  // The outline runs 0-1-3-2.
  AcGePoint3d pts[4] = {m_pts[0], m_pts[1], m_pts[3], m_pts[2]};
  unsigned n = m_pts[3].isEqualTo(m_pts[2]) ? 3 : 4;
  if (n == 3) pts[2] = m_pts[2];
  wd->subEntityTraits().setFillType(kAcGiFillAlways);
  wd->geometry().polygon(n, pts);
  wd->subEntityTraits().setFillType(kAcGiFillNever);
  return true;
}
Acad::ErrorStatus AcDbSolid::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  for (auto& p : m_pts) p.transformBy(xform);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSolid::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  for (const auto& p : m_pts) grips.append(p);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSolid::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i < 0 || i > 3) return Acad::eInvalidIndex;
    m_pts[i] += offset;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSolid::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  for (const auto& p : m_pts) f->writePoint3d(p);
  f->writeVector3d(m_normal);
  f->writeDouble(m_thickness);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbSolid::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(f);
  if (es != Acad::eOk) return es;
  for (auto& p : m_pts) f->readPoint3d(&p);
  f->readVector3d(&m_normal);
  f->readDouble(&m_thickness);
  return f->filerStatus();
}

// ---- AcDbBlockReference ----

AcDbBlockReference::AcDbBlockReference() = default;
AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId block)
    : m_block(block), m_position(position) {}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id) {
  if (!id.isNull() && !AcDbBlockTableRecord::cast(id.stub()->object)) return Acad::eNotThatKindOfClass;
  assertWriteEnabled();
  m_block = id;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& p) {
  assertWriteEnabled();
  m_position = p;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& s) {
  if (s.sx == 0 || s.sy == 0 || s.sz == 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_scale = s;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setRotation(double a) {
  assertWriteEnabled();
  m_rotation = normalizeAngle(a);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& n) {
  if (n.isZeroLength()) return Acad::eInvalidInput;
  assertWriteEnabled();
  m_normal = n.normal();
  return Acad::eOk;
}
AcGeMatrix3d AcDbBlockReference::blockTransform() const {
  AcGePoint3d origin;
  AcDbStub* s = m_block.stub();
  if (const AcDbBlockTableRecord* b = s ? AcDbBlockTableRecord::cast(s->object) : nullptr) origin = b->origin();
  AcGeMatrix3d scale;
  scale.entry[0][0] = m_scale.sx;
  scale.entry[1][1] = m_scale.sy;
  scale.entry[2][2] = m_scale.sz;
  return AcGeMatrix3d::translation(m_position.asVector()) * AcGeMatrix3d::rotation(m_rotation, AcGeVector3d::kZAxis) *
         scale * AcGeMatrix3d::translation(-origin.asVector());
}
Adesk::Boolean AcDbBlockReference::worldDraw(AcGiWorldDraw* wd) {
  // The drawing context of the platform draws the block itself; any other
  // context gets the block's entities through a model transform.
  AcDbStub* s = m_block.stub();
  const AcDbBlockTableRecord* b = s ? AcDbBlockTableRecord::cast(s->object) : nullptr;
  if (!b) return true;
  wd->geometry().pushModelTransform(blockTransform());
  for (AcDbStub* es : b->entityStubs()) {
    AcDbEntity* e = es->object ? AcDbEntity::cast(es->object) : nullptr;
    if (!e || e->isErased() || AcDbBlockReference::cast(e)) continue;
    AcDbObject::FilingScope scope(e);
    e->worldDraw(wd);
  }
  wd->geometry().popModelTransform();
  return true;
}
Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform) {
  double s, turn;
  bool mirrored;
  if (!planarTransform(xform, s, turn, mirrored)) return Acad::eNotApplicable;
  assertWriteEnabled();
  m_position.transformBy(xform);
  AcGeVector3d d = dirOf(m_rotation);
  d.transformBy(xform);
  m_rotation = normalizeAngle(std::atan2(d.y, d.x));
  m_scale = AcGeScale3d(m_scale.sx * s, m_scale.sy * (mirrored ? -s : s), m_scale.sz * s);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::getGripPoints(AcGePoint3dArray& grips, AcDbIntArray&, AcDbIntArray&) const {
  assertReadEnabled();
  grips.append(m_position);
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::moveGripPointsAt(const AcDbIntArray& indices, const AcGeVector3d& offset) {
  assertWriteEnabled();
  for (int i : indices) {
    if (i != 0) return Acad::eInvalidIndex;
    m_position += offset;
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::explode(AcDbVoidPtrArray& entitySet) const {
  assertReadEnabled();
  AcDbStub* s = m_block.stub();
  const AcDbBlockTableRecord* b = s ? AcDbBlockTableRecord::cast(s->object) : nullptr;
  if (!b) return Acad::eInvalidInput;
  AcGeMatrix3d m = blockTransform();
  for (AcDbStub* es : b->entityStubs()) {
    const AcDbEntity* e = es->object ? AcDbEntity::cast(es->object) : nullptr;
    if (!e || e->isErased()) continue;
    AcDbObject::FilingScope scope(e);
    AcDbEntity* copy = nullptr;
    if (e->getTransformedCopy(m, copy) == Acad::eOk && copy) entitySet.append(copy);
  }
  return Acad::eOk;
}
Acad::ErrorStatus AcDbBlockReference::dwgOutFields(AcDbDwgFiler* f) const {
  Acad::ErrorStatus es = AcDbEntity::dwgOutFields(f);
  if (es != Acad::eOk) return es;
  f->writeHardPointerId(m_block);
  f->writePoint3d(m_position);
  f->writeScale3d(m_scale);
  f->writeDouble(m_rotation);
  f->writeVector3d(m_normal);
  return f->filerStatus();
}
Acad::ErrorStatus AcDbBlockReference::dwgInFields(AcDbDwgFiler* f) {
  Acad::ErrorStatus es = AcDbEntity::dwgInFields(f);
  if (es != Acad::eOk) return es;
  AcDbHardPointerId block;
  f->readHardPointerId(&block);
  f->readPoint3d(&m_position);
  f->readScale3d(&m_scale);
  f->readDouble(&m_rotation);
  f->readVector3d(&m_normal);
  m_block = block;
  return f->filerStatus();
}
