#include "geometry/GeoFunctions.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>
#include <string_view>

#include "crt/gbk.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Seconds this close below 60 are taken as a whole minute.
constexpr double kSecondsCarry = 1e-7;

}  // namespace

double DistanceAndDirection(double x1, double y1, double x2, double y2, double& bearing) {
  const double dx = x2 - x1;
  const double dy = y2 - y1;
  if (std::fabs(dx) < 1e-9) {
    bearing = dy >= 0.0 ? kPi / 2.0 : 1.5 * kPi;
  } else {
    double b = std::atan(dy / dx);
    if (dx < 0.0) {
      b += kPi;
    } else if (dy < 0.0) {
      b += kTwoPi;
    }
    if (b < 0.0) {
      b += kTwoPi;
    } else if (b > kTwoPi) {
      b -= kTwoPi;
    }
    bearing = b;
  }
  return std::sqrt(dx * dx + dy * dy);
}

double AcutAngleOfPoints(const ads_point p1, const ads_point p2) { return acutAngle(p1, p2); }

double BearingOfPoints(const ads_point p1, const ads_point p2) {
  double bearing = 2.5 * kPi - AcutAngleOfPoints(p1, p2);
  if (bearing > kTwoPi) bearing -= kTwoPi;
  return bearing;
}

double AngleDifference(double a, double b) {
  double d = a - b;
  if (d > kPi) {
    d -= kTwoPi;
  } else if (d < -kPi) {
    d += kTwoPi;
  }
  return d;
}

double SideOfLine(double x1, double y1, double x2, double y2, double x3, double y3) {
  return (x3 - x1) * (y2 - y1) - (x2 - x1) * (y3 - y1);
}

double DmsToDegrees(double dms) {
  if (dms < 0.0) return -DmsToDegrees(-dms);
  const double d = std::trunc(dms + 1e-9);
  const double mm = std::trunc((dms - d) * 100.0 + 1e-11);
  const double ss = dms * 10000.0 - d * 10000.0 - mm * 100.0;
  return d + mm / 60.0 + ss / 3600.0;
}

double DegreesToDms(double degrees) {
  if (degrees < 0.0) return -DegreesToDms(-degrees);
  double d = std::trunc(degrees);
  const double f = degrees - d;
  double mm = std::trunc(f * 60.0);
  double ss = f * 3600.0 - mm * 60.0;
  if (ss >= 60.0 - kSecondsCarry) {
    ss = std::fmax(ss - 60.0, 0.0);
    mm += 1.0;
  }
  if (mm >= 60.0) {
    mm -= 60.0;
    d += 1.0;
  }
  return d + mm * 0.01 + ss * 0.0001;
}

double DmsToRadians(double dms) { return DmsToDegrees(dms) * kPi / 180.0; }

double RadiansToDms(double radians) { return DegreesToDms(radians * 180.0 / kPi); }

double ElementLength(const LineElement& element, int& type) {
  type = static_cast<int>(element.type + 0.01);
  switch (type) {
    case kElementStraight:
      return element.p1;
    case kElementArc:
      return element.p2;
    case kElementEnteringSpiral:
    case kElementLeavingSpiral:
      return element.p1 * element.p1 / element.p2;
    case kElementSpiralFalling:
      return element.p1 * element.p1 * (element.p2 - element.p3) / (element.p2 * element.p3);
    case kElementSpiralGrowing:
      return element.p1 * element.p1 * (element.p3 - element.p2) / (element.p2 * element.p3);
    default:
      return 0.0;
  }
}

// The clothoid's coordinates are the Fresnel-type integrals
//   x = ∫ cos(s²/2A²) ds,  y = ∫ sin(s²/2A²) ds  over [0, l],
// summed term by term: each term is the previous one times -q·(ratio of k).
double ClothoidX(double A, double l) {
  if (A <= 0.0) return 0.0;
  const double a2 = A * A;
  const double q = (l * l) * (l * l) / (a2 * a2);
  double term = l;
  double sum = term;
  if (std::fabs(term) < 1e-10) return sum;
  for (int k = 1; k <= 9; ++k) {
    term *= -(4.0 * k - 3.0) * q / (8.0 * k * (2.0 * k - 1.0) * (4.0 * k + 1.0));
    sum += term;
    if (std::fabs(term) < 1e-10) break;
  }
  return sum;
}

double ClothoidY(double A, double l) {
  if (A <= 0.0) return 0.0;
  const double a2 = A * A;
  const double q = (l * l) * (l * l) / (a2 * a2);
  double term = l * l * l / (6.0 * a2);
  double sum = term;
  if (std::fabs(term) < 1e-10) return sum;
  for (int k = 1; k <= 9; ++k) {
    term *= -(4.0 * k - 1.0) * q / (4.0 * 2.0 * k * (2.0 * k + 1.0) * (4.0 * k + 3.0));
    sum += term;
    if (std::fabs(term) < 1e-10) break;
  }
  return sum;
}

double ClothoidShiftM(double A, double L) {
  if (A <= 0.0 || L <= 0.0) return 0.0;
  const double R = A * A / L;
  const double beta = L / (2.0 * R);
  return ClothoidX(A, L) - R * std::sin(beta);
}

double ClothoidOffsetP(double A, double L) {
  if (A <= 0.0 || L <= 0.0) return 0.0;
  const double R = A * A / L;
  const double beta = L / (2.0 * R);
  // R·cos β - R, written without the cancellation of two large numbers.
  const double half = std::sin(beta / 2.0);
  return ClothoidY(A, L) - 2.0 * R * half * half;
}

int FindLastCharNoCase(const char* text, char ch) {
  if (text == nullptr) return 0;
  auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  const char target = fold(ch);
  int found = 0;
  for (int i = 0; text[i] != '\0'; ++i) {
    if (fold(text[i]) == target) found = i + 1;
  }
  return found;
}

void ParseChainageText(const char* text, double& value, char* prefix, size_t prefixSize) {
  if (text == nullptr) text = "";
  const int prefixLength = FindLastCharNoCase(text, 'K');
  platform::copyTextBounded(prefix, prefixSize, std::string_view(text, static_cast<size_t>(prefixLength)));

  const char* rest = text + prefixLength;
  const char* plus = std::strrchr(rest, '+');
  std::string number;
  if (plus != nullptr) {
    for (const char* c = rest; *c != '\0'; ++c) {
      if (c == plus || *c == ' ' || *c == '\t') continue;
      number += *c;
    }
  } else {
    number = rest;
  }
  // Cut to whole millimetres. A typed 1.001 is stored a little below 1.001, so
  // the product is allowed a few units of its last place before the floor.
  const double millimetres = std::atof(number.c_str()) * 1000.0;
  const double allowance = 1e-9 + std::fabs(millimetres) * 1e-13;
  value = std::floor(millimetres + allowance) * 0.001;
}
