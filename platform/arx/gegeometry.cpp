#include "arx/gegeometry.h"

#include <algorithm>
#include <numbers>

AcGeTol AcGeContext::gTol;

const AcGeVector2d AcGeVector2d::kIdentity(0, 0);
const AcGeVector2d AcGeVector2d::kXAxis(1, 0);
const AcGeVector2d AcGeVector2d::kYAxis(0, 1);
const AcGePoint2d AcGePoint2d::kOrigin(0, 0);
const AcGeVector3d AcGeVector3d::kIdentity(0, 0, 0);
const AcGeVector3d AcGeVector3d::kXAxis(1, 0, 0);
const AcGeVector3d AcGeVector3d::kYAxis(0, 1, 0);
const AcGeVector3d AcGeVector3d::kZAxis(0, 0, 1);
const AcGePoint3d AcGePoint3d::kOrigin(0, 0, 0);
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

namespace {
constexpr double kTwoPi = 2 * std::numbers::pi;

double clampUnit(double c) { return std::max(-1.0, std::min(1.0, c)); }
}  // namespace

// ---- AcGeVector2d ----

double AcGeVector2d::angle() const {
  double a = std::atan2(y, x);
  if (a < 0) a += kTwoPi;
  return a >= kTwoPi ? 0.0 : a;
}

double AcGeVector2d::angleTo(const AcGeVector2d& v) const {
  double l = length() * v.length();
  if (l == 0) return 0;
  return std::acos(clampUnit(dotProduct(v) / l));
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const {
  AcGeVector2d v(*this);
  return v.normalize(tol);
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol) {
  double l = length();
  if (l > tol.equalVector()) {
    x /= l;
    y /= l;
  }
  return *this;
}

AcGeVector2d& AcGeVector2d::rotateBy(double a) {
  double c = std::cos(a), s = std::sin(a);
  double nx = x * c - y * s;
  y = x * s + y * c;
  x = nx;
  return *this;
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& v, const AcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}

bool AcGeVector2d::isParallelTo(const AcGeVector2d& v, const AcGeTol& tol) const {
  double l = length() * v.length();
  if (l == 0) return false;
  return std::fabs(crossProduct(v)) / l <= tol.equalVector();
}

bool AcGeVector2d::isPerpendicularTo(const AcGeVector2d& v, const AcGeTol& tol) const {
  double l = length() * v.length();
  if (l == 0) return false;
  return std::fabs(dotProduct(v)) / l <= tol.equalVector();
}

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint) {
  AcGeVector2d v = *this - wrtPoint;
  v.rotateBy(angle);
  return *this = wrtPoint + v;
}

// ---- AcGeVector3d ----

double AcGeVector3d::angleTo(const AcGeVector3d& v) const {
  double l = length() * v.length();
  if (l == 0) return 0;
  return std::atan2(crossProduct(v).length(), dotProduct(v));
}

double AcGeVector3d::angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const {
  double a = angleTo(v);
  if (crossProduct(v).dotProduct(reference) < 0) a = kTwoPi - a;
  return a >= kTwoPi ? 0.0 : a;
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const {
  AcGeVector3d v(*this);
  return v.normalize(tol);
}

AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol) {
  double l = length();
  if (l > tol.equalVector()) {
    x /= l;
    y /= l;
    z /= l;
  }
  return *this;
}

AcGeVector3d AcGeVector3d::perpVector() const {
  // Cross with the axis the vector is least aligned with.
  double ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  AcGeVector3d axis = (ax <= ay && ax <= az) ? kXAxis : (ay <= az ? kYAxis : kZAxis);
  return crossProduct(axis);
}

AcGeVector3d& AcGeVector3d::rotateBy(double angle, const AcGeVector3d& axis) {
  return transformBy(AcGeMatrix3d::rotation(angle, axis));
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& m) {
  const auto& e = m.entry;
  double nx = e[0][0] * x + e[0][1] * y + e[0][2] * z;
  double ny = e[1][0] * x + e[1][1] * y + e[1][2] * z;
  double nz = e[2][0] * x + e[2][1] * y + e[2][2] * z;
  x = nx;
  y = ny;
  z = nz;
  return *this;
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  return (*this - v).length() <= tol.equalVector();
}

bool AcGeVector3d::isParallelTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  double l = length() * v.length();
  if (l == 0) return false;
  return crossProduct(v).length() / l <= tol.equalVector();
}

bool AcGeVector3d::isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  return isParallelTo(v, tol) && dotProduct(v) > 0;
}

bool AcGeVector3d::isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol) const {
  double l = length() * v.length();
  if (l == 0) return false;
  return std::fabs(dotProduct(v)) / l <= tol.equalVector();
}

// ---- AcGePoint3d ----

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& m) {
  const auto& e = m.entry;
  double nx = e[0][0] * x + e[0][1] * y + e[0][2] * z + e[0][3];
  double ny = e[1][0] * x + e[1][1] * y + e[1][2] * z + e[1][3];
  double nz = e[2][0] * x + e[2][1] * y + e[2][2] * z + e[2][3];
  x = nx;
  y = ny;
  z = nz;
  return *this;
}

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& axis, const AcGePoint3d& wrtPoint) {
  return transformBy(AcGeMatrix3d::rotation(angle, axis, wrtPoint));
}

// ---- AcGeMatrix3d ----

AcGeMatrix3d::AcGeMatrix3d() { setToIdentity(); }

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& m) const {
  AcGeMatrix3d r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double s = 0;
      for (int k = 0; k < 4; ++k) s += entry[i][k] * m.entry[k][j];
      r.entry[i][j] = s;
    }
  return r;
}

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) entry[i][j] = i == j ? 1.0 : 0.0;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& v) {
  setToIdentity();
  entry[0][3] = v.x;
  entry[1][3] = v.y;
  entry[2][3] = v.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axisIn, const AcGePoint3d& c) {
  setToIdentity();
  AcGeVector3d a = axisIn.normal();
  if (a.isZeroLength()) return *this;
  double co = std::cos(angle), si = std::sin(angle), t = 1 - co;
  double r[3][3] = {
      {t * a.x * a.x + co, t * a.x * a.y - si * a.z, t * a.x * a.z + si * a.y},
      {t * a.x * a.y + si * a.z, t * a.y * a.y + co, t * a.y * a.z - si * a.x},
      {t * a.x * a.z - si * a.y, t * a.y * a.z + si * a.x, t * a.z * a.z + co},
  };
  double cv[3] = {c.x, c.y, c.z};
  for (int i = 0; i < 3; ++i) {
    double shift = cv[i];
    for (int j = 0; j < 3; ++j) {
      entry[i][j] = r[i][j];
      shift -= r[i][j] * cv[j];
    }
    entry[i][3] = shift;
  }
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double s, const AcGePoint3d& c) {
  setToIdentity();
  entry[0][0] = entry[1][1] = entry[2][2] = s;
  entry[0][3] = c.x * (1 - s);
  entry[1][3] = c.y * (1 - s);
  entry[2][3] = c.z * (1 - s);
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& p, const AcGeVector3d& normalIn) {
  setToIdentity();
  AcGeVector3d n = normalIn.normal();
  if (n.isZeroLength()) return *this;
  double nv[3] = {n.x, n.y, n.z};
  double d = n.dotProduct(p.asVector());
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) entry[i][j] = (i == j ? 1.0 : 0.0) - 2 * nv[i] * nv[j];
    entry[i][3] = 2 * d * nv[i];
  }
  return *this;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& v) { return AcGeMatrix3d().setToTranslation(v); }
AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToRotation(angle, axis, center);
}
AcGeMatrix3d AcGeMatrix3d::scaling(double scale, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToScaling(scale, center);
}
AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& p, const AcGeVector3d& normal) {
  return AcGeMatrix3d().setToMirroring(p, normal);
}

double AcGeMatrix3d::det() const {
  // Determinant of the full 4x4 matrix by cofactor expansion along the last row.
  auto minor3 = [this](int skipCol) {
    int c[3], n = 0;
    for (int j = 0; j < 4; ++j)
      if (j != skipCol) c[n++] = j;
    const auto& e = entry;
    return e[0][c[0]] * (e[1][c[1]] * e[2][c[2]] - e[1][c[2]] * e[2][c[1]]) -
           e[0][c[1]] * (e[1][c[0]] * e[2][c[2]] - e[1][c[2]] * e[2][c[0]]) +
           e[0][c[2]] * (e[1][c[0]] * e[2][c[1]] - e[1][c[1]] * e[2][c[0]]);
  };
  double d = 0;
  for (int j = 0; j < 4; ++j) {
    double sign = ((3 + j) % 2 == 0) ? 1.0 : -1.0;
    d += sign * entry[3][j] * minor3(j);
  }
  return d;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
  // Gauss-Jordan elimination with partial pivoting.
  double a[4][8];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      a[i][j] = entry[i][j];
      a[i][j + 4] = i == j ? 1.0 : 0.0;
    }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (std::fabs(a[pivot][col]) < 1e-300) return AcGeMatrix3d();
    if (pivot != col)
      for (int j = 0; j < 8; ++j) std::swap(a[pivot][j], a[col][j]);
    double p = a[col][col];
    for (int j = 0; j < 8; ++j) a[col][j] /= p;
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      double f = a[r][col];
      if (f == 0) continue;
      for (int j = 0; j < 8; ++j) a[r][j] -= f * a[col][j];
    }
  }
  AcGeMatrix3d inv;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) inv.entry[i][j] = a[i][j + 4];
  return inv;
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const { return std::fabs(det()) <= tol.equalVector(); }

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol) const {
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j)
      if (std::fabs(entry[i][j] - m.entry[i][j]) > tol.equalVector()) return false;
  return true;
}

bool AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const {
  AcGeVector3d c0(entry[0][0], entry[1][0], entry[2][0]);
  AcGeVector3d c1(entry[0][1], entry[1][1], entry[2][1]);
  AcGeVector3d c2(entry[0][2], entry[1][2], entry[2][2]);
  double l = c0.length();
  if (l <= tol.equalVector()) return false;
  double t = tol.equalVector() * 1e3 * std::max(1.0, l);
  return std::fabs(c1.length() - l) <= t && std::fabs(c2.length() - l) <= t &&
         std::fabs(c0.dotProduct(c1)) <= t * l && std::fabs(c0.dotProduct(c2)) <= t * l &&
         std::fabs(c1.dotProduct(c2)) <= t * l;
}

double AcGeMatrix3d::scale() const {
  return AcGeVector3d(entry[0][0], entry[1][0], entry[2][0]).length();
}
