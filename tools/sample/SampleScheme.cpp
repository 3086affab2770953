#include "SampleScheme.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "AlignmentModel.h"
#include "SampleDesign.h"
#include "SampleLineView.h"
#include "SideLineModel.h"
#include "geometry/GeoFunctions.h"
#include "project/BreakTable.h"
#include "project/ChainageText.h"

namespace sample {

namespace {

// Thresholds that place the tunnels and bridges: a tunnel where the ground
// rises this far above the grade, a bridge where it falls this far below.
constexpr double kTunnelCut = 12.0;
constexpr double kValleyBridgeFill = 8.0;
constexpr double kCreekBridgeFill = 7.0;
constexpr double kAbutment = 6.0;  // each abutment adds this to a bridge's length
constexpr double kFloodAboveBed = 3.5;  // the 100-year flood level above a valley's lowest ground

bool Fail(std::string& error, const std::string& text) {
  error = text;
  return false;
}

// A tunnel from portal to portal over the stretch [a, b], the portals at
// whole metres of chainage.
void PlaceTunnel(const LineView& line, double a, double b, Structure& s) {
  s.kind = Structure::kTunnel;
  s.startMileage = line.ToWholeMetre(a, false);
  s.endMileage = line.ToWholeMetre(b, true);
  s.startText = line.Label(s.startMileage);
  s.endText = line.Label(s.endMileage);
}

// A bridge over the stretch [a, b]: whole spans of `span` metres and two
// abutments, centred on it at a whole metre of chainage; its flood level a
// little above the lowest ground under it.
void PlaceBridge(const LineView& line, double a, double b, double span, Structure& s) {
  const int spans = static_cast<int>(std::ceil((b - a) / span));
  const double half = (spans * span + 2.0 * kAbutment) / 2.0;
  const double mid = line.ToWholeMetre((a + b) / 2.0, false);
  s.kind = Structure::kBridge;
  s.startMileage = mid - half;
  s.endMileage = mid + half;
  s.startText = line.Label(s.startMileage);
  s.endText = line.Label(s.endMileage);
  s.spanText = std::to_string(spans) + "-" + std::to_string(static_cast<int>(span)) + "m简支T梁";
  double lowest = line.GroundAt(a);
  for (double m = a; m <= b; m += 5.0) lowest = std::min(lowest, line.GroundAt(m));
  s.floodLevel = Round(lowest + kFloodAboveBed, 2);
}

}  // namespace

SampleScheme::SampleScheme()
    : m_baseline(std::make_unique<AlignmentModel>()),
      m_left(std::make_unique<SideLineModel>()),
      m_right(std::make_unique<SideLineModel>()),
      m_leftDetour(std::make_unique<AlignmentModel>()),
      m_rightDetour(std::make_unique<AlignmentModel>()) {}

SampleScheme::~SampleScheme() = default;

double SampleScheme::StartMileage() const { return m_baseline->StartMileage(); }
double SampleScheme::EndMileage() const { return m_baseline->EndMileage(); }

std::string SampleScheme::StartChainageText() const {
  const BreakRecord& b = m_baseline->breaks[0];
  return ChainageLabel(b.prefixAfter, b.before + b.length);
}

std::string SampleScheme::EndChainageText() const {
  const BreakRecord& b = m_baseline->breaks[m_baseline->breakCount - 1];
  return ChainageLabel(b.prefixBefore, b.before);
}

const Table* SampleScheme::FindTable(const std::string& name) const {
  for (const Table& t : m_tables)
    if (t.name == name) return &t;
  return nullptr;
}

bool SampleScheme::Build(double interval, std::string& error) {
  if (!(interval >= 1.0 && interval <= 1000.0)) return Fail(error, "the cross-section interval must lie between 1 and 1000 m");
  m_structures.clear();
  m_detours.clear();
  m_tables.clear();
  if (!BuildBaseline(error)) return false;
  PlaceFeatures();
  if (!DesignBaselineGrade(error)) return false;
  if (!FindStructures(error)) return false;
  if (!BuildSideLine(-1, error) || !BuildSideLine(+1, error)) return false;
  if (!BuildDetour(-1, error) || !BuildDetour(+1, error)) return false;
  FindCulverts();
  CheckFillAndCut();
  MakeTables(interval);
  return true;
}

// ---- The baseline ------------------------------------------------------------

bool SampleScheme::BuildBaseline(std::string& error) {
  std::vector<IpRecord> ips;
  double x = kStartN;
  double y = kStartE;
  double bearing = SignedDmsToRadians(kStartBearingDms);
  ips.push_back({0, x, y, kStartChainage, 0.0, 0.0});
  for (int i = 0; i < kCurveCount; ++i) {
    const CurveDesign& c = kCurves[i];
    x = Round(x + c.legBefore * std::cos(bearing), 3);
    y = Round(y + c.legBefore * std::sin(bearing), 3);
    ips.push_back({static_cast<double>(i + 1), x, y, c.L, c.R, c.L});
    bearing += SignedDmsToRadians(c.deflectionDms);
  }
  x = Round(x + kLastLeg * std::cos(bearing), 3);
  y = Round(y + kLastLeg * std::sin(bearing), 3);
  ips.push_back({static_cast<double>(kCurveCount + 1), x, y, 0.0, 0.0, 0.0});
  if (!m_baseline->CreateFromRecords(static_cast<int>(ips.size()), ips.data(), "DK", "JD"))
    return Fail(error, "the baseline's intersection points make no line");

  BreakRecord breaks[4];
  auto set = [](BreakRecord& r, double before, double after, const char* pb, const char* pa) {
    r.before = before;
    r.length = Round(after - before, 3);
    SetBreakPrefixes(r, pb, pa);
  };
  set(breaks[0], kStartChainage, kStartChainage, "DK", "DK");
  set(breaks[1], kShortChain.before, kShortChain.after, kShortChain.prefixBefore, kShortChain.prefixAfter);
  set(breaks[2], kLongChain.before, kLongChain.after, kLongChain.prefixBefore, kLongChain.prefixAfter);
  set(breaks[3], kLongChain.after, kLongChain.after, kLongChain.prefixAfter, kLongChain.prefixAfter);
  if (!m_baseline->SetBreakTable(4, breaks) || !m_baseline->BuildLineElements())
    return Fail(error, "the baseline's chainage breaks cannot be set");

  // The breaks lie on straights.
  for (int b = 1; b <= 2; ++b) {
    const double m = BaselineMileage(*m_baseline, m_baseline->breaks[b].prefixBefore, m_baseline->breaks[b].before);
    for (int t = 1; t <= kCurveCount; ++t) {
      if (m > m_baseline->curves[t].ZH - 50.0 && m < m_baseline->curves[t].HZ + 50.0)
        return Fail(error, "a chainage break lies on a curve of the baseline");
    }
  }
  return true;
}

void SampleScheme::PlaceFeatures() {
  const AlignmentModel& base = *m_baseline;
  m_ground = std::make_unique<Ground>(kStartN, kStartE, 118.0, 60.0 * kPi / 180.0);
  auto at = [&](const char* prefix, double chainage) { return PointOf(base, BaselineMileage(base, prefix, chainage)); };
  const LinePoint hillA = at("DK", kHillAChainage);
  const LinePoint hillB = at("DK", kHillBChainage);
  const LinePoint valleyA = at("DK", kValleyAChainage);
  const LinePoint creekB = at("DK", kCreekBChainage);
  m_ground->AddHill({hillA.x, hillA.y, 40.0, 280.0});
  m_ground->AddHill({hillB.x, hillB.y, 22.0, 120.0});
  m_ground->AddValley({valleyA.x, valleyA.y, valleyA.bearing + 80.0 * kPi / 180.0, 30.0, 120.0, 1500.0});
  m_ground->AddValley({creekB.x, creekB.y, creekB.bearing + 100.0 * kPi / 180.0, 10.0, 25.0, 700.0});
}

// ---- The grade line ---------------------------------------------------------------

bool SampleScheme::DesignBaselineGrade(std::string& error) {
  const AlignmentModel& base = *m_baseline;
  const double start = base.StartMileage();
  const double end = base.EndMileage();
  // The rolling country along the line, smoothed over 800 m.
  auto smoothed = [&](double m) {
    double sum = 0.0;
    int n = 0;
    for (int k = -20; k <= 20; ++k) {
      const double at = std::clamp(m + 20.0 * k, start, end);
      const LinePoint p = PointOf(base, at);
      sum += m_ground->BaseElevation(p.x, p.y);
      ++n;
    }
    return sum / n + kGradeClearance;
  };
  std::vector<double> mileages = {start};
  for (const GradePointDesign& g : kGradePoints) mileages.push_back(BaselineMileage(base, g.prefix, g.chainage));
  mileages.push_back(end);
  for (size_t i = 1; i < mileages.size(); ++i)
    if (!(mileages[i] > mileages[i - 1] + 200.0)) return Fail(error, "grade-change points out of order or too close");

  // The grade follows the smoothed country; through a station it is level,
  // at the country's mean over the station's segment.
  const size_t n = mileages.size();
  std::vector<double> target(n);
  std::vector<bool> level(n, false);
  for (size_t i = 0; i < n; ++i) target[i] = smoothed(mileages[i]);
  for (size_t i = 1; i < n; ++i) {
    for (const StationDesign& s : kStations) {
      const double a = BaselineMileage(base, s.prefix, s.start);
      const double b = BaselineMileage(base, s.prefix, s.end);
      if (a >= mileages[i - 1] && b <= mileages[i]) level[i] = true;
    }
    if (!level[i]) continue;
    double sum = 0.0;
    int count = 0;
    for (double m = mileages[i - 1]; m <= mileages[i]; m += 20.0, ++count) sum += smoothed(m);
    target[i - 1] = target[i] = sum / count;
  }

  m_baselineGrade.clear();
  const LineView line{&base, "", nullptr, m_ground.get()};
  for (size_t i = 0; i < n; ++i) {
    GradePoint p;
    p.mileage = mileages[i];
    line.Chainage(p.mileage, p.prefix, p.chainage);
    p.chainage = Round(p.chainage, 3);
    if (i == 0) {
      p.elevation = Round(target[0], 2);
    } else {
      const GradePoint& prev = m_baselineGrade.back();
      const double length = p.mileage - prev.mileage;
      const double permille = level[i] ? 0.0 : Round((target[i] - prev.elevation) / length * 1000.0, 1);
      if (std::fabs(permille) > 9.0) return Fail(error, "the grade line would exceed 9 per mille");
      p.elevation = Round(prev.elevation + permille * length / 1000.0, 2);
    }
    m_baselineGrade.push_back(p);
  }
  return true;
}

// ---- Structures ---------------------------------------------------------------

bool SampleScheme::FindStructures(std::string& error) {
  const AlignmentModel& base = *m_baseline;
  LineView line{&base, "", &m_baselineGrade, m_ground.get()};
  struct Feature {
    const char* name;
    bool tunnel;
    const char* prefix;
    double chainage;
    double threshold;
    double span;
  };
  const Feature features[] = {
      {"石门隧道", true, "DK", kHillBChainage, kTunnelCut, 0.0},
      {"青山隧道", true, "DK", kHillAChainage, kTunnelCut, 0.0},
      {"白水河特大桥", false, "DK", kValleyAChainage, kValleyBridgeFill, 32.0},
      {"沙沟中桥", false, "DK", kCreekBChainage, kCreekBridgeFill, 24.0},
  };
  for (const Feature& f : features) {
    const double centre = BaselineMileage(base, f.prefix, f.chainage);
    double a, b;
    const bool found = f.tunnel ? Extent(line, centre, [&](double m) { return -line.FillAt(m) >= f.threshold; }, a, b)
                                : Extent(line, centre, [&](double m) { return line.FillAt(m) >= f.threshold; }, a, b);
    if (!found || b - a < 20.0) {
      return Fail(error, std::string("no room for ") + f.name + " at its feature: the ground lies " +
                             std::to_string(line.FillAt(centre)) + " m below the grade there");
    }
    Structure s;
    s.line = 0;
    s.name = f.name;
    if (f.tunnel) {
      PlaceTunnel(line, a, b, s);
    } else {
      PlaceBridge(line, a, b, f.span, s);
    }
    m_structures.push_back(s);
  }
  for (const StationDesign& d : kStations) {
    Structure s;
    s.kind = Structure::kStation;
    s.name = std::string(d.name) + "站";
    s.startMileage = BaselineMileage(base, d.prefix, d.start);
    s.endMileage = BaselineMileage(base, d.prefix, d.end);
    s.startText = ChainageLabel(d.prefix, d.start);
    s.endText = ChainageLabel(d.prefix, d.end);
    m_structures.push_back(s);
  }
  // No structure may hold a chainage break.
  for (const Structure& s : m_structures) {
    for (int b = 1; b + 1 < base.breakCount; ++b) {
      const double m = BaselineMileage(base, base.breaks[b].prefixBefore, base.breaks[b].before);
      if (m > s.startMileage - 10.0 && m < s.endMileage + 10.0)
        return Fail(error, s.name + " holds a chainage break");
    }
  }
  return true;
}

// ---- Side lines and detours ------------------------------------------------------

namespace {

const DetourDesign& DetourOf(int side) { return side < 0 ? kLeftDetour : kRightDetour; }

// The four intersection points of a detour: out by two reverse curves, a
// parallel stretch, back by two reverse curves.
void DetourIps(const LinePoint& start, const LinePoint& end, const DetourDesign& d, SideCurveRow ips[4]) {
  const double theta = DmsToRadians(kDetourDeflectionDms);
  const double shift = d.detourOffset - d.baseOffset;
  const double along = std::fabs(shift) / std::tan(theta);
  const double tx = std::cos(start.bearing), ty = std::sin(start.bearing);
  const double nx = std::cos(start.bearing + kHalfPi), ny = std::sin(start.bearing + kHalfPi);
  const double a1 = kDetourLeadIn;
  const double a4 = (end.x - start.x) * tx + (end.y - start.y) * ty - kDetourLeadIn;
  const double at[4] = {a1, a1 + along, a4 - along, a4};
  const double off[4] = {d.baseOffset, d.detourOffset, d.detourOffset, d.baseOffset};
  for (int i = 0; i < 4; ++i) {
    SideCurveRow& r = ips[i];
    r = SideCurveRow{};
    r.kind = 1;
    r.x = Round(start.x + at[i] * tx + off[i] * nx, 3);
    r.y = Round(start.y + at[i] * ty + off[i] * ny, 3);
    r.R = kDetourR;
    r.L1 = kDetourL;
    r.L2 = kDetourL;
    r.baselineIp = d.leg;
    // The spacing of the leg after the point; the last one leads back to
    // the side line's usual spacing, from which the next tied point is placed.
    r.spacing = i < 3 ? d.detourOffset : d.baseOffset;
  }
}

}  // namespace

bool SampleScheme::BuildSideLine(int side, std::string& error) {
  const AlignmentModel& base = *m_baseline;
  const DetourDesign& d = DetourOf(side);
  SideLineModel& model = side < 0 ? *m_left : *m_right;
  const double ms = BaselineMileage(base, "DK", d.startChainage);
  const double me = BaselineMileage(base, "DK", d.endChainage);
  // The detour lies on the straight of its leg, clear of the curves.
  if (!(ms > base.curves[d.leg].HZ + 20.0 && me < base.curves[d.leg + 1].ZH - 20.0))
    return Fail(error, "a detour leaves the straight of its baseline leg");
  const LinePoint start = PointOf(base, ms);
  const LinePoint end = PointOf(base, me);

  std::vector<SideCurveRow> rows;
  for (int b = 0; b < base.ipCount; ++b) {
    SideCurveRow r;
    r.kind = 0;
    r.baselineIp = b;
    r.spacing = d.baseOffset;
    const bool inner = b > 0 && b < base.ipCount - 1;
    if (inner) {
      // Parallel curves: the inner one tighter by the spacing.
      const double turn = base.curves[b].turn;
      r.R = base.ips[b].R - turn * d.baseOffset;
      r.L1 = base.ips[b].L1;
      r.L2 = base.ips[b].L2;
    } else if (b == 0) {
      r.L1 = base.ips[0].L1;  // the start mileage
    }
    rows.push_back(r);
    if (b == d.leg) {
      SideCurveRow detour[4];
      DetourIps(start, end, d, detour);
      rows.insert(rows.end(), detour, detour + 4);
    }
  }
  if (!model.Create(m_baseline.get(), static_cast<int>(rows.size()), rows.data(), 0, side < 0 ? "ZJD" : "YJD"))
    return Fail(error, "a side line cannot be built");
  return true;
}

bool SampleScheme::BuildDetour(int side, std::string& error) {
  const AlignmentModel& base = *m_baseline;
  const DetourDesign& d = DetourOf(side);
  SideLineModel& sideLine = side < 0 ? *m_left : *m_right;
  AlignmentModel& detour = side < 0 ? *m_leftDetour : *m_rightDetour;
  std::vector<GradePoint>& grade = side < 0 ? m_leftGrade : m_rightGrade;
  const char* label = side < 0 ? "左线" : "右线";

  // Its two points: the start (baseline chainage = its own) and the end (its
  // own chainage = the baseline's), paired by the section number 0.
  SideBreakRow points[2];
  points[0].number = 0;
  points[0].before = d.startChainage;
  points[0].after = d.startChainage;
  points[0].prefixBefore = "DK";
  points[0].prefixAfter = d.prefix;
  points[1].number = 0;
  points[1].before = d.endChainage;  // its own chainage at the end, set below
  points[1].after = d.endChainage;
  points[1].prefixBefore = d.prefix;
  points[1].prefixAfter = "DK";
  if (!sideLine.SetDetourPoints(points, 2) || sideLine.DetourCount() != 1)
    return Fail(error, std::string(label) + ": the detour section is not found");

  // The section's own line, as the import builds it, with its chainage
  // starting at the baseline's.
  IpRecord records[SideLineModel::kMaxDetourIps];
  int count = 0;
  if (!sideLine.DetourIntersectionList(0, records, SideLineModel::kMaxDetourIps, count) ||
      !detour.CreateFromRecords(count, records, "AK", sideLine.ipPrefix))
    return Fail(error, std::string(label) + ": the detour section makes no line");
  detour.SetBreak(0, d.startChainage, 0.0, "DK", d.prefix);
  detour.SetBreak(1, d.endChainage, 0.0, d.prefix, "DK");
  if (!detour.BuildLineElements()) return Fail(error, std::string(label) + ": the detour section makes no line");

  DetourResult r;
  r.side = side;
  r.prefix = d.prefix;
  r.length = detour.lineLength;
  r.startChainage = d.startChainage;
  r.endChainage = Round(d.startChainage + detour.lineLength, 3);
  r.baselineStart = BaselineMileage(base, "DK", d.startChainage);
  r.baselineEnd = BaselineMileage(base, "DK", d.endChainage);
  points[0].remark = std::string(label) + "绕行段1起点";
  points[1].remark = std::string(label) + "绕行段1终点";
  points[1].before = r.endChainage;
  sideLine.SetDetourPoints(points, 2);
  m_detours.push_back(r);

  // Its grade line: the baseline's, from the baseline's grade at its start
  // to that at its end, through the baseline's grade-change points between.
  grade.clear();
  auto add = [&](double mileage, double elevation) {
    GradePoint p;
    p.mileage = mileage;
    p.prefix = d.prefix;
    p.chainage = Round(mileage, 3);
    p.elevation = Round(elevation, 2);
    grade.push_back(p);
  };
  add(detour.StartMileage(), GradeAt(m_baselineGrade, r.baselineStart));
  for (const GradePoint& g : m_baselineGrade) {
    if (g.mileage < r.baselineStart + 200.0 || g.mileage > r.baselineEnd - 200.0) continue;
    const LinePoint p = PointOf(base, g.mileage);
    add(std::round(BAS_DRAW_FUN::MileageOfPointOnElements(detour.elements, detour.elementCount, p.x, p.y)),
        g.elevation);
  }
  add(detour.EndMileage(), GradeAt(m_baselineGrade, r.baselineEnd));

  // Its own tunnel or bridge, where the baseline has one at its feature.
  LineView line{&detour, d.prefix, &grade, m_ground.get()};
  for (const Structure& s : std::vector<Structure>(m_structures)) {
    if (s.line != 0 || s.kind == Structure::kStation) continue;
    if (s.startMileage < r.baselineStart || s.endMileage > r.baselineEnd) continue;
    const LinePoint mid = PointOf(base, (s.startMileage + s.endMileage) / 2.0);
    const double centre = BAS_DRAW_FUN::MileageOfPointOnElements(detour.elements, detour.elementCount, mid.x, mid.y);
    Structure own;
    own.line = side;
    own.name = s.name + "(" + label + ")";
    double a, b;
    const bool tunnel = s.kind == Structure::kTunnel;
    const bool found = tunnel ? Extent(line, centre, [&](double m) { return -line.FillAt(m) >= kTunnelCut; }, a, b)
                              : Extent(line, centre, [&](double m) { return line.FillAt(m) >= kValleyBridgeFill; }, a, b);
    if (!found) return Fail(error, own.name + ": no room at its feature");
    if (tunnel) {
      PlaceTunnel(line, a, b, own);
    } else {
      PlaceBridge(line, a, b, 32.0, own);
    }
    // The separated stretch of the detour holds it.
    if (own.startMileage < detour.curves[2].HZ || own.endMileage > detour.curves[count - 3].ZH)
      return Fail(error, own.name + " does not lie in the detour's parallel stretch");
    m_structures.push_back(own);
  }
  return true;
}

// ---- Culverts ----------------------------------------------------------------------

void SampleScheme::FindCulverts() {
  struct Run {
    int line;
    const AlignmentModel* model;
    const std::vector<GradePoint>* grade;
    std::string prefix;
    double from, to;
    int most;
  };
  std::vector<Run> runs = {{0, m_baseline.get(), &m_baselineGrade, "", 0, 0, 10}};
  for (const DetourResult& d : m_detours) {
    const AlignmentModel* model = d.side < 0 ? m_leftDetour.get() : m_rightDetour.get();
    runs.push_back({d.side, model, d.side < 0 ? &m_leftGrade : &m_rightGrade, d.prefix, 0, 0, 1});
  }
  for (Run& run : runs) {
    LineView line{run.model, run.prefix, run.grade, m_ground.get()};
    // A detour's culvert lies where it runs apart from the baseline, at its
    // deepest fill; the baseline's lie in the hollows of the ground.
    const bool detour = run.line != 0;
    run.from = detour ? run.model->curves[1].HZ + 50.0 : run.model->StartMileage() + 100.0;
    run.to = detour ? run.model->curves[run.model->ipCount - 2].ZH - 50.0 : run.model->EndMileage() - 100.0;
    std::vector<std::pair<double, double>> candidates;  // fill, mileage
    const double step = 10.0;
    for (double m = run.from + step; m + step < run.to; m += step) {
      const double g = line.GroundAt(m);
      if (!detour && !(g < line.GroundAt(m - step) && g <= line.GroundAt(m + step))) continue;
      const double fill = GradeAt(*run.grade, m) - g;
      if (fill < 2.0) continue;
      bool clear = true;
      for (const Structure& s : m_structures) {
        if (s.line != run.line) continue;
        if (m > s.startMileage - 50.0 && m < s.endMileage + 50.0) clear = false;
      }
      if (clear) candidates.emplace_back(fill, m);
    }
    std::sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<double> taken;
    for (const auto& [fill, m] : candidates) {
      if (static_cast<int>(taken.size()) >= run.most) break;
      bool apart = true;
      for (double t : taken) apart = apart && std::fabs(t - m) >= 400.0;
      if (!apart) continue;
      taken.push_back(m);
    }
    std::sort(taken.begin(), taken.end());
    for (double m : taken) {
      Structure c;
      c.kind = Structure::kCulvert;
      c.line = run.line;
      c.startMileage = c.endMileage = m;
      c.startText = c.endText = line.Label(m);
      m_structures.push_back(c);
    }
  }
}

void SampleScheme::CheckFillAndCut() {
  LineView line{m_baseline.get(), "", &m_baselineGrade, m_ground.get()};
  m_maxFill = 0.0;
  m_maxCut = 0.0;
  for (double m = StartMileage(); m <= EndMileage(); m += 10.0) {
    bool inside = false;
    for (const Structure& s : m_structures) {
      if (s.line == 0 && (s.kind == Structure::kBridge || s.kind == Structure::kTunnel) && m >= s.startMileage &&
          m <= s.endMileage)
        inside = true;
    }
    if (inside) continue;
    const double fill = line.FillAt(m);
    m_maxFill = std::max(m_maxFill, fill);
    m_maxCut = std::max(m_maxCut, -fill);
  }
}

// ---- Terrain -----------------------------------------------------------------------

std::vector<terrain::SurveyPoint> SampleScheme::TerrainPoints() const {
  constexpr double kGrid = 20.0;
  constexpr double kHalfWidth = 300.0;
  constexpr double kBeyondEnds = 200.0;
  const AlignmentModel& base = *m_baseline;
  // Points along the line, and beyond its ends along the end bearings.
  std::vector<LinePoint> along;
  const LinePoint first = PointOf(base, StartMileage());
  const LinePoint last = PointOf(base, EndMileage());
  for (double d = kBeyondEnds; d > 0.0; d -= 10.0) {
    LinePoint p = first;
    p.x -= d * std::cos(first.bearing);
    p.y -= d * std::sin(first.bearing);
    along.push_back(p);
  }
  for (double m = StartMileage(); m < EndMileage(); m += 10.0) along.push_back(PointOf(base, m));
  for (double d = 0.0; d <= kBeyondEnds; d += 10.0) {
    LinePoint p = last;
    p.x += d * std::cos(last.bearing);
    p.y += d * std::sin(last.bearing);
    along.push_back(p);
  }
  double xmin = along[0].x, xmax = xmin, ymin = along[0].y, ymax = ymin;
  for (const LinePoint& p : along) {
    xmin = std::min(xmin, p.x);
    xmax = std::max(xmax, p.x);
    ymin = std::min(ymin, p.y);
    ymax = std::max(ymax, p.y);
  }
  xmin = std::floor((xmin - kHalfWidth) / kGrid) * kGrid;
  ymin = std::floor((ymin - kHalfWidth) / kGrid) * kGrid;
  const int rows = static_cast<int>((xmax + kHalfWidth - xmin) / kGrid) + 2;
  const int cols = static_cast<int>((ymax + kHalfWidth - ymin) / kGrid) + 2;
  std::vector<uint8_t> keep(static_cast<size_t>(rows) * cols, 0);
  const int reach = static_cast<int>(kHalfWidth / kGrid) + 1;
  for (const LinePoint& p : along) {
    const int i0 = static_cast<int>(std::lround((p.x - xmin) / kGrid));
    const int j0 = static_cast<int>(std::lround((p.y - ymin) / kGrid));
    for (int i = std::max(0, i0 - reach); i <= std::min(rows - 1, i0 + reach); ++i) {
      for (int j = std::max(0, j0 - reach); j <= std::min(cols - 1, j0 + reach); ++j) {
        if (std::hypot(xmin + i * kGrid - p.x, ymin + j * kGrid - p.y) <= kHalfWidth)
          keep[static_cast<size_t>(i) * cols + j] = 1;
      }
    }
  }
  // A survey is no perfect grid: each point is moved by up to 3 m, the same
  // way on every run.
  auto scatter = [](uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return (static_cast<double>(h % 6001) / 1000.0) - 3.0;
  };
  std::vector<terrain::SurveyPoint> points;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) {
      if (!keep[static_cast<size_t>(i) * cols + j]) continue;
      const uint32_t key = static_cast<uint32_t>(i) * 100003U + static_cast<uint32_t>(j);
      terrain::SurveyPoint p;
      p.x = Round(xmin + i * kGrid + scatter(key * 2U + 1U), 3);
      p.y = Round(ymin + j * kGrid + scatter(key * 2U + 2U), 3);
      p.z = Round(m_ground->Elevation(p.x, p.y), 2);
      points.push_back(p);
    }
  }
  return points;
}

}  // namespace sample
