// The terrain model over a network of one million surveyed points (10 km by
// 10 km of rolling ground, made by make-terrain's library into a temporary
// folder): load time, point elevations, 10,000 profiles of 80 m, and the same
// point elevations through CGAL's point location (its Delaunay hierarchy) and
// a plane through the located triangle, on the very same triangulation.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "TerrainDelaunay.h"
#include "TerrainModel.h"
#include "win/transcript.h"

namespace {

constexpr int kPoints = 1000000;
constexpr double kSide = 10000.0;
constexpr int kQueries = 100000;
constexpr int kProfiles = 10000;
constexpr double kProfileLength = 80.0;

struct Random {
  uint64_t state;
  double Next() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) / 9007199254740992.0;
  }
};

double Ground(double x, double y) {
  return 400 + 35 * std::sin(x / 900) * std::cos(y / 1300) + 12 * std::sin((x + 2 * y) / 310) +
         0.004 * x;
}

struct Network {
  std::filesystem::path folder;  // the project folder; the model is in its PMAP
  std::vector<terrain::SurveyPoint> points;
  terrain::TinDelaunay dt;
  std::vector<std::pair<double, double>> queries;
  std::vector<std::pair<double, double>> profileStarts, profileEnds;
  TerrainModel model;

  Network() {
    platform::setTranscriptSink([](std::string_view) {});
    char pattern[] = "/tmp/bench-terrain-XXXXXX";
    folder = ::mkdtemp(pattern);
    Random r{2024};
    points = {{0, 0, 0, 0}, {kSide, 0, 0, 0}, {0, kSide, 0, 0}, {kSide, kSide, 0, 0}};
    while (static_cast<int>(points.size()) < kPoints) points.push_back({r.Next() * kSide, r.Next() * kSide, 0, 0});
    for (auto& p : points) p.z = Ground(p.x, p.y);
    std::vector<std::string> notes = terrain::DropDuplicatePoints(points);
    terrain::SortSpatially(points);  // as make-terrain writes them
    std::string error;
    if (!terrain::BuildDelaunay(points, dt, error) ||
        !terrain::WriteTerrainFiles((folder / "PMAP").string(), points, terrain::TrianglesOf(dt),
                                    nullptr, error)) {
      std::fprintf(stderr, "bench-terrain: %s\n", error.c_str());
      std::exit(1);
    }
    for (int i = 0; i < kQueries; ++i)
      queries.emplace_back(1 + r.Next() * (kSide - 2), 1 + r.Next() * (kSide - 2));
    for (int i = 0; i < kProfiles; ++i) {
      double x = 100 + r.Next() * (kSide - 200), y = 100 + r.Next() * (kSide - 200);
      double a = r.Next() * 2 * std::numbers::pi;
      profileStarts.emplace_back(x, y);
      profileEnds.emplace_back(x + kProfileLength * std::cos(a), y + kProfileLength * std::sin(a));
    }
    if (!model.LoadFromFolder(folder.c_str())) std::exit(1);
  }
  ~Network() {
    model.Close();
    std::filesystem::remove_all(folder);
    platform::setTranscriptSink(nullptr);
  }

  double CgalElevation(double x, double y) const {
    auto f = dt.locate(terrain::TinKernel::Point_2(x, y));
    if (dt.is_infinite(f)) return TerrainModel::kOutsideElevation;
    terrain::TinKernel::Point_3 p[3];
    for (int k = 0; k < 3; ++k) {
      const auto& v = f->vertex(k);
      p[k] = {v->point().x(), v->point().y(), points[v->info()].z};
    }
    terrain::TinKernel::Plane_3 plane(p[0], p[1], p[2]);
    return -(plane.a() * x + plane.b() * y + plane.d()) / plane.c();
  }
};

Network& TheNetwork() {
  static std::unique_ptr<Network> network = std::make_unique<Network>();
  return *network;
}

void BM_Load(benchmark::State& state) {
  Network& n = TheNetwork();
  TerrainModel model;
  for (auto _ : state) {
    bool ok = model.LoadFromFolder(n.folder.c_str());
    benchmark::DoNotOptimize(ok);
  }
  state.counters["triangles"] = model.TriangleCount();
}

void BM_ElevationAt(benchmark::State& state) {
  Network& n = TheNetwork();
  double sum = 0;
  for (auto _ : state)
    for (const auto& [x, y] : n.queries) sum += n.model.ElevationAt(x, y);
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * kQueries);
}

void BM_CgalElevation(benchmark::State& state) {
  Network& n = TheNetwork();
  double sum = 0;
  for (auto _ : state)
    for (const auto& [x, y] : n.queries) sum += n.CgalElevation(x, y);
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations() * kQueries);
}

void BM_TenThousandProfiles(benchmark::State& state) {
  Network& n = TheNetwork();
  long nodes = 0;
  for (auto _ : state) {
    for (int i = 0; i < kProfiles; ++i) {
      int count = 0;
      TerrainNode* line = n.model.GroundLineAlong(n.profileStarts[i].first, n.profileStarts[i].second,
                                                  n.profileEnds[i].first, n.profileEnds[i].second, count);
      nodes += count;
      TerrainModel::FreeGroundLine(line);
    }
  }
  state.counters["nodes_per_profile"] =
      static_cast<double>(nodes) / (static_cast<double>(state.iterations()) * kProfiles);
}

// Both ways of finding the ground give the same elevations.
void BM_Agreement(benchmark::State& state) {
  Network& n = TheNetwork();
  double worst = 0;
  for (auto _ : state)
    for (const auto& [x, y] : n.queries)
      worst = std::fmax(worst, std::fabs(n.model.ElevationAt(x, y) - n.CgalElevation(x, y)));
  state.counters["max_difference_m"] = worst;
}

}  // namespace

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElevationAt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CgalElevation)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenThousandProfiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Agreement)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
