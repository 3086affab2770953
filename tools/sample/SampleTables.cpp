// The rows of the sample scheme's tables, and the scheme database they go into.

#include "SampleTables.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include "AlignmentModel.h"
#include "SampleDesign.h"
#include "SampleLineView.h"
#include "SideLineModel.h"
#include "com/ado.h"
#include "quorra/SchemeTables.h"

namespace sample {

namespace {

// Packed degrees d.mmss of an angle in [0, 2π), to the whole second.
std::string DmsText(double radians) {
  long long seconds = std::llround(Bearing(radians) * 180.0 / kPi * 3600.0) % (360LL * 3600LL);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%lld.%02lld%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buffer;
}

// "BM01", "DX12", ...
std::string Numbered(const std::string& prefix, int n) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%02d", n);
  return prefix + buffer;
}

std::vector<MileageRange> Ranges(const std::vector<Structure>& structures, int line, Structure::Kind kind) {
  std::vector<MileageRange> ranges;
  for (const Structure& s : structures)
    if (s.line == line && s.kind == kind) ranges.push_back({s.startMileage, s.endMileage});
  return ranges;
}

// Rows are built with a leading 绕行段编号 for the detour tables.
std::vector<Cell> WithDetour(int detour, std::vector<Cell> row) {
  if (detour >= 0) row.insert(row.begin(), Cell(detour));
  return row;
}

std::vector<std::string> Columns(int detour, std::vector<std::string> columns) {
  if (detour >= 0) columns.insert(columns.begin(), "绕行段编号");
  return columns;
}

}  // namespace

void SampleScheme::MakeTables(double interval) {
  std::map<std::string, Table> made;
  auto table = [&](const std::string& name, std::vector<std::string> columns) -> Table& {
    Table& t = made[name];
    t.name = name;
    t.columns = std::move(columns);
    return t;
  };
  const AlignmentModel& base = *m_baseline;
  const LineView baseline{&base, "", &m_baselineGrade, m_ground.get()};
  struct Side {
    int code;
    const char* label;  // 左线, 右线
    const SideLineModel* model;
    const LineView view;
    const DetourResult* detour;
  };
  std::vector<Side> sides;
  for (const DetourResult& d : m_detours) {
    const bool left = d.side < 0;
    sides.push_back({d.side, left ? "左线" : "右线", left ? m_left.get() : m_right.get(),
                     LineView{left ? m_leftDetour.get() : m_rightDetour.get(), d.prefix,
                              left ? &m_leftGrade : &m_rightGrade, m_ground.get()},
                     &d});
  }
  auto lineOf = [&](int code) -> const LineView& {
    for (const Side& s : sides)
      if (s.code == code) return s.view;
    return baseline;
  };
  auto chainage = [&](int code, double mileage, std::string& prefix, double& value, int decimals) {
    lineOf(code).Chainage(mileage, prefix, value);
    value = Round(value, decimals);
  };

  // ---- 曲线表 ----
  {
    Table& t = table("曲线表", {"交点号", "坐标N", "坐标E", "偏角", "曲线半径", "前缓和曲线", "后缓和曲线", "前切线长",
                                "后切线长", "曲线长", "夹直线长", "起点里程冠号", "起点里程", "终点里程冠号", "终点里程",
                                "内业断链", "附注"});
    const int n = base.ipCount;
    for (int i = 0; i < n; ++i) {
      const IpRecord& ip = base.ips[i];
      const CurveRecord& c = base.curves[i];
      const bool inner = i > 0 && i < n - 1;
      const double next = i + 1 < n ? base.curves[i + 1].ZH : c.HZ;
      std::string zhPrefix, hzPrefix;
      double zh, hz;
      chainage(0, c.ZH, zhPrefix, zh, 3);
      chainage(0, c.HZ, hzPrefix, hz, 3);
      if (i == n - 1) zhPrefix = hzPrefix = base.breaks[base.breakCount - 1].prefixBefore;
      const char* remark = i == 0 ? "起点" : i == n - 1 ? "终点" : c.turn > 0 ? "右偏" : "左偏";
      t.rows.push_back({std::to_string(i), Round(ip.x, 3), Round(ip.y, 3),
                        inner ? Cell(Round(SignedRadiansToDms(c.turn * c.alpha), 4)) : Cell(),
                        Round(ip.R, 3), Round(ip.L1, 3), Round(ip.L2, 3), Round(c.T1, 3), Round(c.T2, 3),
                        Round(c.L, 3), i < n - 1 ? Cell(Round(next - c.HZ, 3)) : Cell(), zhPrefix, zh, hzPrefix, hz,
                        0.0, remark});
    }
  }
  // ---- 断链表 ----
  {
    Table& t = table("断链表", {"等号左里程冠号", "等号左里程数", "等号右里程冠号", "等号右里程数", "断链长度", "附注"});
    for (int i = 0; i < base.breakCount; ++i) {
      const BreakRecord& b = base.breaks[i];
      std::string remark = i == 0 ? "起点" : i == base.breakCount - 1 ? "终点" : "";
      if (remark.empty()) remark = (b.length > 0 ? "短链" : "长链") + Format("%.2fm", std::fabs(b.length));
      t.rows.push_back({b.prefixBefore, Round(b.before, 3), b.prefixAfter, Round(b.before + b.length, 3),
                        Round(b.length, 3), remark});
    }
  }
  // ---- 左线/右线曲线表 and 断链表 ----
  for (const Side& side : sides) {
    const SideLineModel& m = *side.model;
    Table& curves = table(std::string(side.label) + "曲线表", {"交点属性", "二线交点号", "一线交点号", "线间距", "坐标N",
                                                             "坐标E", "曲线半径", "前缓和曲线", "后缓和曲线", "内业断链",
                                                             "附注"});
    for (int i = 0; i < m.ipCount; ++i) {
      const SideIpRecord& s = m.sideIps[i];
      const char* remark = s.kind == 1 ? "绕行段1" : i == 0 ? "起点" : i == m.ipCount - 1 ? "终点" : "";
      curves.rows.push_back({std::to_string(s.kind), std::to_string(i), std::to_string(s.baselineIp), s.spacing,
                             Round(m.ips[i].x, 3), Round(m.ips[i].y, 3), Round(s.R, 3), Round(s.L1, 3), Round(s.L2, 3),
                             0.0, remark});
    }
    Table& breaks = table(std::string(side.label) + "断链表",
                          {"编号", "等号左里程冠号", "等号左里程数", "等号右里程冠号", "等号右里程数", "附注"});
    for (int i = 0; i < m.detourPointCount; ++i) {
      const DetourPoint& p = m.detourPoints[i];
      breaks.rows.push_back({p.number, p.prefixBefore.GetString(), Round(p.before, 3), p.prefixAfter.GetString(),
                             Round(p.after, 3), p.remark.GetString()});
    }
  }

  // ---- Grade tables ----
  auto gradeTable = [&](const std::string& name, int detour, const std::vector<GradePoint>& grade) {
    Table& t = table(name, Columns(detour, {"变坡点里程冠号", "变坡点里程数", "设计高程", "坡度", "坡长", "竖曲线半径",
                                            "竖曲线长度", "附注"}));
    for (size_t i = 0; i < grade.size(); ++i) {
      const GradePoint& p = grade[i];
      if (i == 0) {
        // The start point carries the table's settings.
        t.rows.push_back(WithDetour(detour, {p.prefix, p.chainage, p.elevation, Cell(), Cell(), kElevationDecimals,
                                             kGradeDesignType, std::to_string(kGradeDecimals)}));
        continue;
      }
      const double length = p.mileage - grade[i - 1].mileage;
      const double permille = Round((p.elevation - grade[i - 1].elevation) / length * 1000.0, 1);
      const bool last = i + 1 == grade.size();
      double curve = 0.0;
      if (!last) {
        const double nextPermille =
            (grade[i + 1].elevation - p.elevation) / (grade[i + 1].mileage - p.mileage) * 1000.0;
        curve = Round(kVerticalCurveR * std::fabs(Round(nextPermille, 1) - permille) / 1000.0, 2);
      }
      t.rows.push_back(WithDetour(detour, {p.prefix, p.chainage, p.elevation, permille, Round(length, 2),
                                           last ? 0.0 : kVerticalCurveR, curve, Cell()}));
    }
  };
  gradeTable("坡度表", -1, m_baselineGrade);
  for (const Side& side : sides) gradeTable(std::string(side.label) + "绕行段坡度表", 0, *side.view.grade);

  // ---- Track structure: ballasted track, slab track in the tunnels ----
  auto trackTable = [&](const std::string& name, int code, double endMileage) {
    Table& t = table(name, {"分段终里程", "结构类型", "结构高度"});
    std::vector<MileageRange> tunnels = Ranges(m_structures, code, Structure::kTunnel);
    std::sort(tunnels.begin(), tunnels.end(), [](auto& a, auto& b) { return a.start < b.start; });
    for (const MileageRange& r : tunnels) {
      t.rows.push_back({lineOf(code).Label(r.start), "有砟轨道", kBallastTrackHeight});
      t.rows.push_back({lineOf(code).Label(r.end), "整体道床", kSlabTrackHeight});
    }
    t.rows.push_back({code == 0 ? EndChainageText() : lineOf(code).Label(endMileage), "有砟轨道", kBallastTrackHeight});
  };
  trackTable("基线轨道结构", 0, EndMileage());
  for (const Side& side : sides) trackTable(std::string(side.label) + "轨道结构", side.code, side.view.model->EndMileage());

  // ---- Rulers: the base level of each profile sheet (5 km) ----
  auto rulerRow = [&](const LineView& line, double from, double to) {
    double lowest = 1e9;
    for (double m = from; m <= to; m += 50.0)
      lowest = std::min({lowest, line.GroundAt(m), GradeAt(*line.grade, m)});
    return std::floor((lowest - 5.0) / 10.0) * 10.0;
  };
  {
    Table& t = table("标尺", {"里程", "高程"});
    const double endChainage = base.breaks[base.breakCount - 1].before;
    for (double value = kStartChainage; value < endChainage - 500.0; value += 5000.0) {
      const char* prefix = value < kLongChain.before ? kLongChain.prefixBefore : kLongChain.prefixAfter;
      const double m = BaselineMileage(base, prefix, value);
      t.rows.push_back({ChainageLabel(prefix, value), rulerRow(baseline, m, std::min(m + 5000.0, EndMileage()))});
    }
  }
  for (const Side& side : sides) {
    Table& t = table(std::string(side.label) + "绕行段标尺", Columns(0, {"里程", "高程"}));
    const AlignmentModel& d = *side.view.model;
    t.rows.push_back(WithDetour(0, {side.view.Label(d.StartMileage()), rulerRow(side.view, d.StartMileage(), d.EndMileage())}));
  }

  // ---- Structures of each line ----
  auto leftDetourHolds = [&](double mileage) {
    for (const DetourResult& d : m_detours)
      if (d.side < 0 && mileage >= d.baselineStart && mileage <= d.baselineEnd) return true;
    return false;
  };
  for (int code : {0, -1, 1}) {
    const bool detour = code != 0;
    const int number = detour ? 0 : -1;
    const std::string label = code < 0 ? "左线绕行段" : code > 0 ? "右线绕行段" : "";
    if (detour && std::none_of(sides.begin(), sides.end(), [&](const Side& s) { return s.code == code; })) continue;
    const LineView& line = lineOf(code);
    // Tracks on a baseline structure: the left line runs beside it except in its detour.
    auto tracks = [&](const Structure& s) {
      return std::string(code == 0 && !leftDetourHolds((s.startMileage + s.endMileage) / 2.0) ? "2" : "1");
    };
    Table& tunnels = table(label + "隧道", Columns(number, {"隧道名称", "起点里程冠号", "起点里程数", "终点里程冠号",
                                                            "终点里程数", "插旗方式", "线数", "附注"}));
    Table& bridges = table(label + "大中桥", Columns(number, {"桥梁名称", "中心里程冠号", "中心里程数", "起点里程冠号",
                                                              "起点里程数", "终点里程冠号", "终点里程数", "孔跨式样",
                                                              "线数", "桥全长", "100年水位高程", "附注"}));
    Table& culverts = table(label + "小桥涵", Columns(number, {"中心里程冠号", "中心里程数", "孔跨式样", "左横向长度",
                                                               "右横向长度", "交角", "用途", "插旗方式", "附注"}));
    Table& stations = table(label + "车站", Columns(number, {"车站名称", "站房中心里程冠号", "站房中心里程数",
                                                             "起点里程冠号", "起点里程数", "终点里程冠号", "终点里程数",
                                                             "车站类型", "插旗图块名", "附注"}));
    bool underpass = false;
    int culvertIndex = 0;
    for (const Structure& s : m_structures) {
      if (s.line != code) continue;
      std::string sp, ep, cp;
      double sv, ev, cv;
      chainage(code, s.startMileage, sp, sv, 2);
      chainage(code, s.endMileage, ep, ev, 2);
      chainage(code, (s.startMileage + s.endMileage) / 2.0, cp, cv, 2);
      const double length = Round(s.endMileage - s.startMileage, 2);
      switch (s.kind) {
        case Structure::kTunnel:
          tunnels.rows.push_back(WithDetour(number, {s.name, sp, sv, ep, ev, "1", tracks(s),
                                                     "全长" + Format("%.0fm", length)}));
          break;
        case Structure::kBridge:
          bridges.rows.push_back(WithDetour(number, {s.name, cp, cv, sp, sv, ep, ev, s.spanText, tracks(s), length,
                                                     s.floodLevel, Cell()}));
          break;
        case Structure::kCulvert: {
          const double fill = std::max(0.0, line.FillAt(s.startMileage));
          // The roadbed half width, the other track beside it, the slopes
          // (1:1.5) and 2 m beyond them.
          const double extra = code == 0 && !leftDetourHolds(s.startMileage) ? kLineSpacing : 0.0;
          const double outside = kSingleRoadbed / 2.0 + 1.5 * fill + 2.0;
          std::string kind = fill < 3.0 ? "1-1.5m圆涵" : "1-2.0×2.0m盖板箱涵";
          int use = ++culvertIndex % 3 == 0 ? 1 : 2;
          const char* flag = "0";
          if (!underpass && !detour && fill >= 5.0) {
            // One culvert also carries a farm road under the line.
            underpass = true;
            kind = "1-4.0×3.5m框架箱涵";
            use = 0;
            flag = "2";
          }
          culverts.rows.push_back(WithDetour(number, {sp, sv, kind, Round(outside + extra, 1), Round(outside, 1), 90.0,
                                                      use, flag, "填高" + Format("%.1fm", fill)}));
          break;
        }
        case Structure::kStation:
          break;
      }
    }
    if (!detour) {
      for (const StationDesign& d : kStations) {
        stations.rows.push_back({std::string(d.name) + "站", d.prefix, d.centre, d.prefix, d.start, d.prefix, d.end,
                                 d.type, d.flagBlock, Cell()});
      }
    }
  }

  // ---- Bench marks and traverse ----
  {
    Table& t = table("水准点表", {"水准点编号", "高程", "里程冠号", "里程数", "距中线距离", "坐标N", "坐标E",
                                  "位置材料的描述", "附注"});
    auto inStructure = [&](double m) {
      for (const Structure& s : m_structures)
        if (s.line == 0 && s.kind != Structure::kCulvert && m > s.startMileage - 30.0 && m < s.endMileage + 30.0)
          return true;
      return false;
    };
    int k = 0;
    for (double target = StartMileage() + 800.0; target < EndMileage(); target += 2000.0, ++k) {
      double m = target;
      while (inStructure(m)) m += 100.0;
      const double offset = k % 2 == 0 ? -45.0 : 45.0;
      double x, y, value;
      std::string prefix;
      Beside(PointOf(base, m), offset, x, y);
      chainage(0, m, prefix, value, 2);
      t.rows.push_back({Numbered("BM", k + 1), Round(m_ground->Elevation(x, y) + 0.35, 3), prefix, value,
                        offset, Round(x, 3), Round(y, 3),
                        std::string(offset < 0 ? "线路左侧" : "线路右侧") + "45m,混凝土标石", Cell()});
    }
  }
  for (const Side& side : sides) {
    Table& t = table(std::string(side.label) + "绕行段水准点表",
                     Columns(0, {"水准点编号", "高程", "里程冠号", "里程数", "距中线距离", "坐标N", "坐标E",
                                 "位置材料的描述", "附注"}));
    const AlignmentModel& d = *side.view.model;
    const double m = Round((d.StartMileage() + d.EndMileage()) / 2.0, 0);
    const double offset = 40.0 * side.code;
    double x, y;
    Beside(PointOf(d, m), offset, x, y);
    t.rows.push_back(WithDetour(0, {std::string("BM") + (side.code < 0 ? "Z" : "Y") + "1",
                                    Round(m_ground->Elevation(x, y) + 0.35, 3), side.detour->prefix, m, offset,
                                    Round(x, 3), Round(y, 3),
                                    std::string(side.code < 0 ? "线路左侧" : "线路右侧") + "40m,混凝土标石", Cell()}));
  }
  auto traverseTable = [&](const std::string& name, int detour, const AlignmentModel& line,
                           const std::vector<double>& mileages, double offset, const std::string& namePrefix) {
    Table& t = table(name, Columns(detour, {"桩号", "右角", "方位角", "距离", "纬距", "经距", "高程", "里程"}));
    std::vector<double> xs, ys;
    for (size_t i = 0; i < mileages.size(); ++i) {
      double x, y;
      Beside(PointOf(line, mileages[i]), i % 2 == 0 ? offset : -offset, x, y);
      xs.push_back(Round(x, 3));
      ys.push_back(Round(y, 3));
    }
    for (size_t i = 0; i < xs.size(); ++i) {
      Cell right, bearing, distance;
      double ahead = 0.0, back = 0.0;
      if (i + 1 < xs.size()) {
        distance = Round(DistanceAndDirection(xs[i], ys[i], xs[i + 1], ys[i + 1], ahead), 3);
        bearing = DmsText(ahead);
      }
      if (i > 0 && i + 1 < xs.size()) {
        DistanceAndDirection(xs[i - 1], ys[i - 1], xs[i], ys[i], back);
        right = DmsText(back + kPi - ahead);
      }
      const double along = BAS_DRAW_FUN::MileageOfPointOnElements(line.elements, line.elementCount, xs[i], ys[i]);
      t.rows.push_back(WithDetour(detour, {Numbered(namePrefix, static_cast<int>(i) + 1), right, bearing, distance, xs[i],
                                           ys[i], Round(m_ground->Elevation(xs[i], ys[i]) + 0.2, 3),
                                           Round(along, 2)}));
    }
  };
  {
    std::vector<double> mileages;
    for (double m = StartMileage(); m <= EndMileage(); m += 750.0) mileages.push_back(m);
    traverseTable("导线表", -1, base, mileages, 70.0, "DX");
  }
  for (const Side& side : sides) {
    const AlignmentModel& d = *side.view.model;
    const double mid = (d.StartMileage() + d.EndMileage()) / 2.0;
    traverseTable(std::string(side.label) + "绕行段导线表", 0, d,
                  {d.StartMileage() + 100.0, mid, d.EndMileage() - 100.0}, 50.0 * side.code,
                  std::string(side.code < 0 ? "ZDX" : "YDX"));
  }

  // ---- Fill/cut tables: the station lists of the cross-sections ----
  auto stationList = [&](const std::string& name, int detour, int code, AlignmentModel& model) {
    Table& t = table(name, Columns(detour, {"加桩里程冠号", "加桩里程数", "地面高程"}));
    model.BuildStationList(interval, model.StartMileage(), model.EndMileage());
    model.InsertCurvePoints();
    const std::pair<Structure::Kind, char> kinds[] = {
        {Structure::kBridge, 'B'}, {Structure::kTunnel, 'T'}, {Structure::kStation, 'S'}};
    for (const auto& [kind, letter] : kinds) {
      const std::vector<MileageRange> ranges = Ranges(m_structures, code, kind);
      model.InsertStructurePoints(static_cast<int>(ranges.size()), ranges.data(), letter);
    }
    const LineView& line = lineOf(code);
    for (int i = 0; i < model.stationCount; ++i) {
      const double m = model.stations[i].mileage;
      std::string prefix;
      double value;
      chainage(code, m, prefix, value, 3);
      t.rows.push_back(WithDetour(detour, {prefix, value, Round(line.GroundAt(m), 2)}));
    }
  };
  stationList("填挖表", -1, 0, *m_baseline);
  for (const Side& side : sides) {
    stationList(std::string(side.label) + "绕行段填挖表", 0, side.code,
                side.code < 0 ? *m_leftDetour : *m_rightDetour);
  }

  // Every table of the schema, in its order; those without rows stay empty.
  m_tables.clear();
  for (const scheme_tables::TableDef& def : scheme_tables::kTables) {
    auto it = made.find(def.name);
    if (it != made.end()) {
      m_tables.push_back(std::move(it->second));
    } else {
      Table empty;
      empty.name = def.name;
      m_tables.push_back(std::move(empty));
    }
  }
}

// ---- The database ------------------------------------------------------------------

namespace {

std::string Describe(HRESULT hr) {
  _com_error e(hr);
  return *e.Description() ? e.Description() : e.ErrorMessage();
}

_variant_t ValueOf(const Cell& cell) {
  _variant_t v;
  switch (cell.kind) {
    case Cell::kNumber:
      v = cell.number;
      break;
    case Cell::kText:
      v = _variant_t(cell.text.c_str());
      break;
    case Cell::kNull:
      v.vt = VT_NULL;
      break;
  }
  return v;
}

bool AppendRows(_Connection* conn, const Table& table, std::string& error) {
  if (table.rows.empty()) return true;
  _RecordsetPtr rs;
  rs.CreateInstance("ADODB.Recordset");
  HRESULT hr = rs->Open(_variant_t("select * from [" + table.name + "]"), _variant_t(static_cast<IDispatch*>(conn)),
                        adOpenDynamic, adLockOptimistic, adCmdText);
  if (FAILED(hr)) {
    error = table.name + ": " + Describe(hr);
    return false;
  }
  for (const std::vector<Cell>& row : table.rows) {
    if (row.size() != table.columns.size()) {
      error = table.name + ": a row of " + std::to_string(row.size()) + " values for " +
              std::to_string(table.columns.size()) + " columns";
      rs->Close();
      return false;
    }
    hr = rs->AddNew(vtMissingValue(), vtMissingValue());
    for (size_t i = 0; SUCCEEDED(hr) && i < row.size(); ++i) {
      if (row[i].kind == Cell::kNull) continue;
      hr = rs->put_Collect(_variant_t(table.columns[i].c_str()), ValueOf(row[i]));
      if (FAILED(hr)) error = table.name + "." + table.columns[i] + ": " + Describe(hr);
    }
    if (FAILED(hr)) {
      if (error.empty()) error = table.name + ": " + Describe(hr);
      rs->CancelUpdate();
      rs->Close();
      return false;
    }
  }
  hr = rs->Update(vtMissingValue(), vtMissingValue());
  rs->Close();
  if (FAILED(hr)) {
    error = table.name + ": " + Describe(hr);
    return false;
  }
  return true;
}

}  // namespace

bool WriteSchemeDatabase(const std::string& templatePath, const std::string& dbPath, const std::vector<Table>& tables,
                         std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (fs::exists(dbPath, ec)) {
    error = dbPath + " exists already";
    return false;
  }
  fs::copy_file(templatePath, dbPath, ec);
  if (ec) {
    error = "cannot copy the template " + templatePath + " to " + dbPath + ": " + ec.message();
    return false;
  }
  auto fail = [&](const std::string& why) {
    error = dbPath + ": " + why;
    fs::remove(dbPath, ec);
    return false;
  };
  _ConnectionPtr conn;
  HRESULT hr = conn.CreateInstance("ADODB.Connection");
  if (FAILED(hr)) return fail("cannot create ADODB.Connection: " + Describe(hr));
  hr = conn->Open(_bstr_t(("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dbPath).c_str()), _bstr_t(""),
                  _bstr_t(""), adConnectUnspecified);
  if (FAILED(hr)) return fail(Describe(hr));
  LONG level = 0;
  bool ok = SUCCEEDED(conn->BeginTrans(&level));
  std::string why = ok ? "" : "cannot begin a transaction";
  for (const scheme_tables::TableDef& def : scheme_tables::kTables) {
    if (!ok) break;
    _variant_t affected;
    _RecordsetPtr none;
    hr = conn->Execute(_bstr_t(scheme_tables::CreateStatement(def).c_str()), &affected, adCmdText, &none);
    if (FAILED(hr)) {
      ok = false;
      why = std::string(def.name) + ": " + Describe(hr);
    }
  }
  for (const Table& t : tables) {
    if (!ok) break;
    ok = AppendRows(conn, t, why);
  }
  if (ok && FAILED(conn->CommitTrans())) {
    ok = false;
    why = "the transaction could not be committed";
  }
  if (!ok) conn->RollbackTrans();
  conn->Close();
  return ok || fail(why);
}

}  // namespace sample
