#pragma once
// The synthetic ground of the sample project: a gently rising, rolling
// country (a regional slope along the line's general direction, a cross slope
// and undulations of a few metres) with four features placed on the line: two
// hills (bumps) and two valleys (troughs crossing the line). The grade line
// follows the rolling country; the features are what the tunnels and bridges
// pass.

#include <vector>

namespace sample {

// A round hill: a bell of `height` metres and spread `sigma` about (x, y).
struct Hill {
  double x, y;
  double height;
  double sigma;
};

// A valley: a trough of `depth` metres and spread `sigma` across its axis, the
// axis through (x, y) along `bearing` (radians); the trough fades out along
// the axis with spread `reach`.
struct Valley {
  double x, y;
  double bearing;
  double depth;
  double sigma;
  double reach;
};

class Ground {
 public:
  // The rolling country about the origin (x0, y0), rising along `bearing`.
  Ground(double x0, double y0, double baseElevation, double bearing);

  void AddHill(const Hill& hill) { m_hills.push_back(hill); }
  void AddValley(const Valley& valley) { m_valleys.push_back(valley); }

  // The rolling country alone.
  double BaseElevation(double x, double y) const;
  // The ground: the country with the hills and valleys.
  double Elevation(double x, double y) const;
  // The bottom of a valley where the line crosses it (its axis point).
  double ValleyBottom(const Valley& valley) const { return Elevation(valley.x, valley.y); }

  const std::vector<Hill>& Hills() const { return m_hills; }
  const std::vector<Valley>& Valleys() const { return m_valleys; }

 private:
  double m_x0, m_y0, m_base, m_cos, m_sin;
  std::vector<Hill> m_hills;
  std::vector<Valley> m_valleys;
};

}  // namespace sample
