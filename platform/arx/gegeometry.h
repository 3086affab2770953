#pragma once
// Points, vectors, matrices and tolerances of the drawing interface.
//
// AcGePoint2d/AcGePoint3d are positions, AcGeVector2d/AcGeVector3d
// displacements; a point minus a point is a vector, a point plus a vector a
// point. AcGeMatrix3d is a 4x4 affine matrix acting on column vectors
// (p' = M p); `a * b` applies b first, then a. Comparisons take an AcGeTol:
// points are equal when their distance is at most equalPoint(), vectors are
// parallel, perpendicular or of unit length within equalVector().

#include <cmath>

#include "platform_api.h"

class AcGePoint2d;
class AcGeVector2d;
class AcGePoint3d;
class AcGeVector3d;
class AcGeMatrix3d;

class PLATFORM_API AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return m_point; }
  double equalVector() const { return m_vector; }
  void setEqualPoint(double v) { m_point = v; }
  void setEqualVector(double v) { m_vector = v; }

 private:
  double m_point = 1e-10;
  double m_vector = 1e-12;
};

// The global tolerance that calls without an explicit one use.
struct PLATFORM_API AcGeContext {
  static AcGeTol gTol;
};

class PLATFORM_API AcGeVector2d {
 public:
  double x = 0, y = 0;
  AcGeVector2d() = default;
  AcGeVector2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGeVector2d kIdentity;
  static const AcGeVector2d kXAxis;
  static const AcGeVector2d kYAxis;

  AcGeVector2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGeVector2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator-() const { return {-x, -y}; }
  AcGeVector2d operator*(double s) const { return {x * s, y * s}; }
  AcGeVector2d operator/(double s) const { return {x / s, y / s}; }
  AcGeVector2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
  AcGeVector2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
  AcGeVector2d& operator*=(double s) { x *= s; y *= s; return *this; }
  double operator[](int i) const { return i == 0 ? x : y; }
  double& operator[](int i) { return i == 0 ? x : y; }

  double length() const { return std::hypot(x, y); }
  double lengthSqrd() const { return x * x + y * y; }
  double dotProduct(const AcGeVector2d& v) const { return x * v.x + y * v.y; }
  // The z component of the cross product (positive when v lies counter-clockwise of this).
  double crossProduct(const AcGeVector2d& v) const { return x * v.y - y * v.x; }
  // Angle from the x axis, in [0, 2*pi).
  double angle() const;
  // Angle from this vector to v, in [0, pi].
  double angleTo(const AcGeVector2d& v) const;
  AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);
  AcGeVector2d perpVector() const { return {-y, x}; }
  AcGeVector2d& rotateBy(double angle);
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
  bool isEqualTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isParallelTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isPerpendicularTo(const AcGeVector2d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeVector2d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector2d& v) const { return !isEqualTo(v); }
  AcGeVector2d& set(double xx, double yy) { x = xx; y = yy; return *this; }
};
inline AcGeVector2d operator*(double s, const AcGeVector2d& v) { return v * s; }

class PLATFORM_API AcGePoint2d {
 public:
  double x = 0, y = 0;
  AcGePoint2d() = default;
  AcGePoint2d(double xx, double yy) : x(xx), y(yy) {}
  static const AcGePoint2d kOrigin;

  AcGePoint2d operator+(const AcGeVector2d& v) const { return {x + v.x, y + v.y}; }
  AcGePoint2d operator-(const AcGeVector2d& v) const { return {x - v.x, y - v.y}; }
  AcGeVector2d operator-(const AcGePoint2d& p) const { return {x - p.x, y - p.y}; }
  AcGePoint2d& operator+=(const AcGeVector2d& v) { x += v.x; y += v.y; return *this; }
  AcGePoint2d& operator-=(const AcGeVector2d& v) { x -= v.x; y -= v.y; return *this; }
  double operator[](int i) const { return i == 0 ? x : y; }
  double& operator[](int i) { return i == 0 ? x : y; }

  double distanceTo(const AcGePoint2d& p) const { return std::hypot(x - p.x, y - p.y); }
  AcGeVector2d asVector() const { return {x, y}; }
  bool isEqualTo(const AcGePoint2d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  bool operator==(const AcGePoint2d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint2d& p) const { return !isEqualTo(p); }
  AcGePoint2d& set(double xx, double yy) { x = xx; y = yy; return *this; }
  AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = kOrigin);
};

class PLATFORM_API AcGeVector3d {
 public:
  double x = 0, y = 0, z = 0;
  AcGeVector3d() = default;
  AcGeVector3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGeVector3d kIdentity;
  static const AcGeVector3d kXAxis;
  static const AcGeVector3d kYAxis;
  static const AcGeVector3d kZAxis;

  AcGeVector3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGeVector3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-() const { return {-x, -y, -z}; }
  AcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
  AcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
  AcGeVector3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGeVector3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  AcGeVector3d& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
  double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }

  double length() const { return std::sqrt(x * x + y * y + z * z); }
  double lengthSqrd() const { return x * x + y * y + z * z; }
  double dotProduct(const AcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
  AcGeVector3d crossProduct(const AcGeVector3d& v) const {
    return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
  }
  // Angle between the two vectors, in [0, pi].
  double angleTo(const AcGeVector3d& v) const;
  // Angle from this vector to v measured counter-clockwise about `reference`, in [0, 2*pi).
  double angleTo(const AcGeVector3d& v, const AcGeVector3d& reference) const;
  AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);
  // A vector perpendicular to this one.
  AcGeVector3d perpVector() const;
  AcGeVector3d& rotateBy(double angle, const AcGeVector3d& axis);
  AcGeVector3d& transformBy(const AcGeMatrix3d& m);
  bool isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const { return length() <= tol.equalVector(); }
  bool isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const {
    return std::fabs(length() - 1.0) <= tol.equalVector();
  }
  bool isEqualTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isParallelTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isCodirectionalTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isPerpendicularTo(const AcGeVector3d& v, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeVector3d& v) const { return isEqualTo(v); }
  bool operator!=(const AcGeVector3d& v) const { return !isEqualTo(v); }
  AcGeVector3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  AcGeVector2d convert2d() const { return {x, y}; }
};
inline AcGeVector3d operator*(double s, const AcGeVector3d& v) { return v * s; }

class PLATFORM_API AcGePoint3d {
 public:
  double x = 0, y = 0, z = 0;
  AcGePoint3d() = default;
  AcGePoint3d(double xx, double yy, double zz) : x(xx), y(yy), z(zz) {}
  static const AcGePoint3d kOrigin;

  AcGePoint3d operator+(const AcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
  AcGePoint3d operator-(const AcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
  AcGeVector3d operator-(const AcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
  AcGePoint3d& operator+=(const AcGeVector3d& v) { x += v.x; y += v.y; z += v.z; return *this; }
  AcGePoint3d& operator-=(const AcGeVector3d& v) { x -= v.x; y -= v.y; z -= v.z; return *this; }
  double operator[](int i) const { return i == 0 ? x : i == 1 ? y : z; }
  double& operator[](int i) { return i == 0 ? x : i == 1 ? y : z; }

  double distanceTo(const AcGePoint3d& p) const { return (*this - p).length(); }
  AcGeVector3d asVector() const { return {x, y, z}; }
  AcGePoint2d convert2d() const { return {x, y}; }
  bool isEqualTo(const AcGePoint3d& p, const AcGeTol& tol = AcGeContext::gTol) const {
    return distanceTo(p) <= tol.equalPoint();
  }
  bool operator==(const AcGePoint3d& p) const { return isEqualTo(p); }
  bool operator!=(const AcGePoint3d& p) const { return !isEqualTo(p); }
  AcGePoint3d& set(double xx, double yy, double zz) { x = xx; y = yy; z = zz; return *this; }
  AcGePoint3d& transformBy(const AcGeMatrix3d& m);
  AcGePoint3d& rotateBy(double angle, const AcGeVector3d& axis, const AcGePoint3d& wrtPoint = kOrigin);
};

// Scale factors of a block reference.
class PLATFORM_API AcGeScale3d {
 public:
  double sx = 1, sy = 1, sz = 1;
  AcGeScale3d() = default;
  explicit AcGeScale3d(double s) : sx(s), sy(s), sz(s) {}
  AcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
  double operator[](int i) const { return i == 0 ? sx : i == 1 ? sy : sz; }
  double& operator[](int i) { return i == 0 ? sx : i == 1 ? sy : sz; }
};

class PLATFORM_API AcGeMatrix3d {
 public:
  double entry[4][4];
  AcGeMatrix3d();  // identity
  static const AcGeMatrix3d kIdentity;

  AcGeMatrix3d operator*(const AcGeMatrix3d& m) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& m) { return *this = *this * m; }
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& m) { return *this = m * *this; }
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& m) { return *this = *this * m; }
  double operator()(int row, int col) const { return entry[row][col]; }
  double& operator()(int row, int col) { return entry[row][col]; }

  AcGeMatrix3d& setToIdentity();
  AcGeMatrix3d& setToTranslation(const AcGeVector3d& v);
  // Rotation by `angle` (counter-clockwise looking down the axis) about the axis through `center`.
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                              const AcGePoint3d& center = AcGePoint3d::kOrigin);
  AcGeMatrix3d& setToScaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // Mirror in the plane through `p` with normal `normal`.
  AcGeMatrix3d& setToMirroring(const AcGePoint3d& p, const AcGeVector3d& normal);

  static AcGeMatrix3d translation(const AcGeVector3d& v);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                               const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d scaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d mirroring(const AcGePoint3d& p, const AcGeVector3d& normal);

  AcGeVector3d translation() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
  double det() const;
  AcGeMatrix3d inverse() const;  // the identity when singular
  bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
  bool isEqualTo(const AcGeMatrix3d& m, const AcGeTol& tol = AcGeContext::gTol) const;
  bool isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
  // The length of the image of a unit x vector (the scale of a uniform matrix).
  double scale() const;
};

inline AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
  AcGePoint3d q(p);
  return q.transformBy(m);
}
inline AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
  AcGeVector3d w(v);
  return w.transformBy(m);
}
