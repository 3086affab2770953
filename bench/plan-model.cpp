// The plan model: the element computation of a 400-IP line with transitions,
// the model's load of that line, and the point at a mileage on it.
//
// The line: 400 IPs on legs of 1500 m turning alternately 18° right and
// left, every inner IP a curve of R 1800 with transitions of 100 m.

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "AlignmentModel.h"

namespace {

constexpr int kIps = 400;

std::vector<IntersectionPoint> Zigzag(int n) {
  std::vector<IntersectionPoint> ips;
  double N = 3500000.0, E = 500000.0, bearing = 0.3;
  for (int i = 0; i < n; ++i) {
    const bool inner = i > 0 && i < n - 1;
    ips.push_back({static_cast<double>(i), N, E, i == 0 ? 25000.0 : inner ? 100.0 : 0.0, inner ? 1800.0 : 0.0,
                   inner ? 100.0 : 0.0});
    N += 1500.0 * std::cos(bearing);
    E += 1500.0 * std::sin(bearing);
    bearing += (i % 2 == 0 ? 18.0 : -18.0) * std::numbers::pi / 180.0;
  }
  return ips;
}

void BM_BuildPlanElements(benchmark::State& state) {
  const std::vector<IntersectionPoint> ips = Zigzag(kIps);
  AlignmentModel model;
  PlanElementAreas areas;
  areas.Resize(kIps);
  for (auto _ : state) {
    int count = 0;
    model.BuildPlanElements(ips.data(), kIps, areas.keyPoints.data(), areas.rawElements.data(),
                            areas.elements.data(), count);
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kIps);
}
BENCHMARK(BM_BuildPlanElements)->Unit(benchmark::kMicrosecond);

void BM_LoadBaseLine(benchmark::State& state) {
  const std::vector<IntersectionPoint> ips = Zigzag(kIps);
  AlignmentModel model;
  for (auto _ : state) {
    model.LoadBaseLine(ips.data(), kIps);
    benchmark::DoNotOptimize(model.Line(kBaseLine).elementCount);
  }
  state.SetItemsProcessed(state.iterations() * kIps);
}
BENCHMARK(BM_LoadBaseLine)->Unit(benchmark::kMicrosecond);

// Points at mileages spread over the whole line (a step that is prime to
// the element lengths, so that every kind of element is hit).
void BM_PointAtMileage(benchmark::State& state) {
  const std::vector<IntersectionPoint> ips = Zigzag(kIps);
  AlignmentModel model;
  model.LoadBaseLine(ips.data(), kIps);
  const PlanLine& line = model.Line(kBaseLine);
  const double start = line.StartMileage();
  const double length = line.EndMileage() - start;
  double offset = 0.0;
  for (auto _ : state) {
    LinePoint point{};
    point.mileage = start + offset;
    benchmark::DoNotOptimize(model.PointOnLine(kBaseLine, point));
    benchmark::DoNotOptimize(point.x);
    offset += 7919.37;
    if (offset > length) offset -= length;
  }
}
BENCHMARK(BM_PointAtMileage);

}  // namespace

BENCHMARK_MAIN();
