#pragma once
// Shared pieces of the alignment-model tests: a project whose technical
// parameters the models read at reset, and hand formulas of the curve
// elements.

#include <cmath>
#include <numbers>
#include <string>

#include "fixtures/project_fixture.h"
#include "project/ModulePath.h"

namespace alignment_test {

constexpr double kPi = std::numbers::pi;

inline double Radians(double degrees) { return degrees * kPi / 180.0; }

// An install folder with `workdir`, a project with its `project` file and
// jishucanshu.dat (speed 160, name "测试线", second parameter 4.5), so that
// every model reset finds them without a message.
class ProjectEnvironment {
 public:
  ProjectEnvironment() {
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx")); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("Line"));
    fixtures::writeProjectFile(m_projects.linuxPath("Line"), "S1");
    fixtures::TechParamsData data;
    data.name = "测试线";
    data.speed = 160;
    data.param2 = 4.5f;
    fixtures::writeTechParamsFile(m_projects.linuxPath("Line/data/jishucanshu.dat"), data);
  }
  ~ProjectEnvironment() { SetModulePathSource(m_previous); }
  ProjectEnvironment(const ProjectEnvironment&) = delete;
  ProjectEnvironment& operator=(const ProjectEnvironment&) = delete;

 private:
  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

// Circle shift p and tangent shift q of a transition of length L onto a
// circle of radius R, by the usual series of the clothoid.
inline double ShiftP(double L, double R) {
  return L * L / (24 * R) - std::pow(L, 4) / (2688 * std::pow(R, 3)) + std::pow(L, 6) / (506880 * std::pow(R, 5));
}
inline double ShiftQ(double L, double R) {
  return L / 2 - std::pow(L, 3) / (240 * R * R) + std::pow(L, 5) / (34560 * std::pow(R, 4));
}

// Tangent lengths of a curve with deflection alpha (radians), found from
// where the shifted circle's centre lies: at R + p1 from the incoming tangent
// and R + p2 from the outgoing one.
struct CurveByHand {
  double T1, T2, L;
};
inline CurveByHand Curve(double alpha, double R, double L1, double L2) {
  const double d1 = R + ShiftP(L1, R);
  const double d2 = R + ShiftP(L2, R);
  CurveByHand c;
  c.T1 = (d2 - d1 * std::cos(alpha)) / std::sin(alpha) + ShiftQ(L1, R);
  c.T2 = (d1 - d2 * std::cos(alpha)) / std::sin(alpha) + ShiftQ(L2, R);
  c.L = R * (alpha - L1 / (2 * R) - L2 / (2 * R)) + L1 + L2;
  return c;
}

// The clothoid's local coordinates at arc length l (parameter A) by
// Simpson's rule on its defining integrals.
inline void ClothoidByIntegration(double A, double l, double& x, double& y) {
  const int steps = 2000;
  const double h = l / steps;
  x = 0;
  y = 0;
  for (int i = 0; i <= steps; ++i) {
    const double s = i * h;
    const double w = (i == 0 || i == steps) ? 1 : (i % 2 ? 4 : 2);
    const double angle = s * s / (2 * A * A);
    x += w * std::cos(angle);
    y += w * std::sin(angle);
  }
  x *= h / 3;
  y *= h / 3;
}

}  // namespace alignment_test
