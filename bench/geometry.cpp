// Point at a mileage and projection of a point on a 400-element line.
//
// The line: 100 curves, each a straight, an entering clothoid, an arc and a
// leaving clothoid, turning alternately right and left, placed by the
// reference walk of the tests.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/BAS_DRAW_FUN.h"
#include "shared/geometry_reference.h"

namespace {

const georef::Line& BenchLine() {
  static const georef::Line line = [] {
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> straight(100, 300), radius(600, 2000), transition(100, 200),
        arc(100, 400);
    std::vector<LineElement> elements;
    for (int curve = 0; curve < 100; ++curve) {
      const double turn = curve % 2 == 0 ? 1.0 : -1.0;
      const double R = radius(random);
      const double A = std::sqrt(R * transition(random));
      elements.push_back({1, straight(random), 0, 0, 0});
      elements.push_back({3, A, R, 0, turn});
      elements.push_back({2, R, arc(random), 0, turn});
      elements.push_back({4, A, R, 0, turn});
    }
    return georef::place(3500000, 500000, 45.0, georef::radians(45), 12000, elements);
  }();
  return line;
}

std::vector<double> Mileages(int count) {
  const georef::Line& line = BenchLine();
  std::mt19937 random(7);
  std::uniform_real_distribution<double> along(line.records[1].mileage, line.endMileage());
  std::vector<double> mileages(count);
  for (double& m : mileages) m = along(random);
  return mileages;
}

void BM_PointAtMileage(benchmark::State& state) {
  const georef::Line& line = BenchLine();
  const std::vector<double> mileages = Mileages(4096);
  const BAS_DRAW_FUN base;
  size_t i = 0;
  for (auto _ : state) {
    LinePoint point{};
    point.mileage = mileages[i++ & 4095];
    benchmark::DoNotOptimize(base.PointAtDistance(line.records.data(), line.n, point));
    benchmark::DoNotOptimize(point);
  }
}
BENCHMARK(BM_PointAtMileage);

void BM_Projection(benchmark::State& state) {
  const georef::Line& line = BenchLine();
  const std::vector<double> mileages = Mileages(1024);
  const BAS_DRAW_FUN base;
  std::mt19937 random(11);
  std::uniform_real_distribution<double> offset(-30, 30);
  std::vector<double> xs, ys;
  for (double m : mileages) {
    LinePoint p{};
    p.mileage = m;
    base.PointAtDistance(line.records.data(), line.n, p);
    const double d = offset(random);
    xs.push_back(p.x - d * std::sin(p.bearing));
    ys.push_back(p.y + d * std::cos(p.bearing));
  }
  size_t i = 0;
  for (auto _ : state) {
    const size_t k = i++ & 1023;
    benchmark::DoNotOptimize(base.ProjectPointOnAlignment(line.records.data(), line.n, xs[k], ys[k]));
  }
}
BENCHMARK(BM_Projection);

}  // namespace

BENCHMARK_MAIN();
