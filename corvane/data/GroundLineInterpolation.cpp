// Cross-section ground lines from the terrain model: for every station of a
// fill/cut table a section square to the line is laid over the terrain model
// and its profile stored as the left and right rows of the line's ground-line
// table (横断面地面线表, or lineName + 绕行段横断面地面线表 for a detour).
//
// A run covers the stations of a mileage range. The table is rewritten whole,
// in the order of the fill/cut table, inside one transaction of the
// designer's connection: stations in the range get their new rows, stations
// outside it keep the rows they had, so a run over part of the line loses
// nothing and a failure leaves the table as it was.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <queue>

#include "CrossSectionDesigner.h"
#include "GroundLines.h"
#include "RepeatedMessages.h"
#include "SectionTables.h"
#include "TerrainModel.h"
#include "arx/edoutput.h"
#include "mfc/app.h"
#include "project/GbkText.h"

// ---- One side's profile ----------------------------------------------------------------

int ThinProfile(std::vector<PairXY>& points, int maxPoints) {
  maxPoints = std::max(maxPoints, 2);
  const int n = static_cast<int>(points.size());
  if (n <= maxPoints) return n;

  std::vector<int> prev(static_cast<size_t>(n)), next(static_cast<size_t>(n)), stamp(static_cast<size_t>(n), 0);
  std::vector<char> alive(static_cast<size_t>(n), 1);
  for (int i = 0; i < n; ++i) {
    prev[static_cast<size_t>(i)] = i - 1;
    next[static_cast<size_t>(i)] = i + 1;
  }
  // Twice the area of the triangle a point spans with its live neighbours.
  auto area = [&](int i) {
    const PairXY& a = points[static_cast<size_t>(prev[static_cast<size_t>(i)])];
    const PairXY& p = points[static_cast<size_t>(i)];
    const PairXY& b = points[static_cast<size_t>(next[static_cast<size_t>(i)])];
    return std::fabs((a.x - p.x) * (b.y - p.y) - (b.x - p.x) * (a.y - p.y));
  };
  struct Candidate {
    double area;
    int index;
    int stamp;
    bool operator>(const Candidate& o) const { return area != o.area ? area > o.area : index > o.index; }
  };
  std::priority_queue<Candidate, std::vector<Candidate>, std::greater<Candidate>> queue;
  for (int i = 1; i < n - 1; ++i) queue.push({area(i), i, 0});

  int live = n;
  while (live > maxPoints && !queue.empty()) {
    const Candidate c = queue.top();
    queue.pop();
    const size_t i = static_cast<size_t>(c.index);
    if (!alive[i] || c.stamp != stamp[i]) continue;  // taken out, or its area changed since
    alive[i] = 0;
    --live;
    const int a = prev[i], b = next[i];
    next[static_cast<size_t>(a)] = b;
    prev[static_cast<size_t>(b)] = a;
    for (int k : {a, b}) {
      if (k <= 0 || k >= n - 1) continue;  // the ends always stay
      queue.push({area(k), k, ++stamp[static_cast<size_t>(k)]});
    }
  }
  std::vector<PairXY> kept;
  kept.reserve(static_cast<size_t>(live));
  for (int i = 0; i < n; ++i)
    if (alive[static_cast<size_t>(i)]) kept.push_back(points[static_cast<size_t>(i)]);
  points.swap(kept);
  return static_cast<int>(points.size());
}

std::vector<PairXY> SideGroundLine(const TerrainModel& model, double x, double y, double endX, double endY,
                                   double width, double centreGround, int maxPoints, bool* offModel) {
  std::vector<PairXY> line;
  if (model.IsLoaded()) {
    int count = 0;
    TerrainNode* head = model.GroundLineAlong(x, y, endX, endY, count);
    if (head == nullptr && offModel != nullptr) *offModel = true;
    // The list is walked to its end whatever count says, and freed at once.
    for (const TerrainNode* node = head; node != nullptr; node = node->next) {
      if (node->z < -1000.0 && offModel != nullptr) *offModel = true;
      const double z = node->z < -1000.0 ? centreGround : node->z;
      line.push_back({std::hypot(node->x - head->x, node->y - head->y), z - centreGround});
    }
    TerrainModel::FreeGroundLine(head);
  }
  if (line.empty()) line = {{0.0, 0.0}, {width, 0.0}};
  line[0] = {0.0, 0.0};
  ThinProfile(line, maxPoints);
  return line;
}

// ---- The run ---------------------------------------------------------------------------------

namespace {

constexpr double kRangeAllowance = 0.01;
const double kHalfPi = 1.5707963267948966;

// A station of the fill/cut table in hand, with the texts as read.
struct FillCutStation {
  CString prefix;  // empty for a null field
  CString chainageText;
  CString groundText;
  double chainage = 0.0;
  double ground = 0.0;
  double mileage = 0.0;
  bool inRange = false;
};

// A ground-line row kept from the table as it was.
struct KeptRow {
  _variant_t prefix;
  _variant_t chainage;
  _variant_t ground;
  _variant_t count;
  _variant_t remark;
  double pairs[2 * kTablePointPairs];  // NaN where the field was null
};

// What differs between the baseline run and a detour run.
struct GroundLineJob {
  CString fillCutTable;
  CString groundTable;
  CString lineName;      // "" for the baseline
  int detourNumber = -1;  // -1 for the baseline
  const CrossSectionDesigner* line = nullptr;  // alignment, widths
  int breakCount = 0;
  const BreakRecord* breaks = nullptr;
  CString progressText;
  const char* doneMessage = "";
  bool Detour() const { return detourNumber >= 0; }
  SectionTableLayout Layout() const { return SectionTableLayout{Detour() ? 1 : 0, false}; }
};

CString FieldText(CAdoRecordSet& recordSet, long index) {
  CString text;
  if (!recordSet.GetValueText(text, index)) text.Empty();
  return text;
}

CString FieldTextByName(CAdoRecordSet& recordSet, const char* name) {
  CString text;
  if (!recordSet.GetValueTextByName(text, name)) text.Empty();
  return text;
}

_variant_t FieldVariant(CAdoRecordSet& recordSet, long index) {
  _variant_t value;
  if (!recordSet.GetValueVariant(value, index)) value.Clear();
  return value;
}

bool IsNullValue(const VARIANT& value) { return value.vt == VT_NULL || value.vt == VT_EMPTY; }

double NumberOf(const VARIANT& value) {
  if (IsNullValue(value)) return std::numeric_limits<double>::quiet_NaN();
  if (value.vt == VT_R8) return value.dblVal;
  return std::atof(AdoVariantToText(value).GetString());
}

CString StationLabel(const CString& prefix, double chainage) {
  char text[kChainageTextSize] = {};
  ChainageText3Decimals(prefix, chainage, text, sizeof text);
  return text;
}

// Reads the stations of the open fill/cut record set: by position (加桩里程冠号,
// 加桩里程数, 地面高程 in columns 1, 2, 3) for 填挖表, by name for a detour table.
// False when the table is refused (a station or ground elevation missing or
// no finite number): nothing may then be written from it.
bool ReadStations(CAdoRecordSet& recordSet, const GroundLineJob& job, double startMileage, double endMileage,
                  std::vector<FillCutStation>& stations) {
  stations.clear();
  const int count = std::clamp(job.breakCount, 0, CrossSectionDesigner::kMaxBreaks);
  TableNumbers numbers(job.fillCutTable);
  if (job.Detour() ? !numbers.RequireColumns(recordSet, {"加桩里程数", "地面高程"})
                   : !numbers.RequireColumnCount(recordSet, 3, "地面高程"))
    return false;
  recordSet.MoveFirst();
  while (!recordSet.IsEOF() && !numbers.Refused()) {
    numbers.SetRow(static_cast<int>(stations.size()) + 1);
    FillCutStation s;
    if (job.Detour()) {
      s.prefix = FieldTextByName(recordSet, "加桩里程冠号");
      s.chainageText = FieldTextByName(recordSet, "加桩里程数");
      s.groundText = FieldTextByName(recordSet, "地面高程");
    } else {
      s.prefix = FieldText(recordSet, 1);
      s.chainageText = FieldText(recordSet, 2);
      s.groundText = FieldText(recordSet, 3);
    }
    if (s.prefix == "NULL") s.prefix.Empty();
    const CString chainageColumn = job.Detour() ? CString("加桩里程数") : recordSet.GetFieldName(2);
    const CString groundColumn = job.Detour() ? CString("地面高程") : recordSet.GetFieldName(3);
    s.chainage = numbers.Needed(s.chainageText == "NULL" ? CString() : s.chainageText, chainageColumn);
    s.ground = numbers.Needed(s.groundText == "NULL" ? CString() : s.groundText, groundColumn);
    s.mileage = BreakTableChainageToMileage(StationLabel(s.prefix, s.chainage).GetString(), count, job.breaks);
    s.inRange = startMileage - kRangeAllowance < s.mileage && s.mileage < endMileage + kRangeAllowance;
    stations.push_back(s);
    if (!recordSet.MoveNext()) break;
  }
  return !numbers.Refused();
}

// The rows the table holds now, matched by station and side to the stations
// outside the range (kept[side][station]); rows of stations in the range go.
// Returns the number of rows that match no station of the fill/cut table, or
// -1 when the table cannot be read (nothing may then be deleted).
int ReadKeptRows(CAdoConnection& connection, const GroundLineJob& job, const std::vector<FillCutStation>& stations,
                 std::vector<std::unique_ptr<KeptRow>> (&kept)[2]) {
  for (auto& side : kept) {
    side.clear();
    side.resize(stations.size());
  }
  std::vector<SectionRecord> keys(stations.size());
  for (size_t i = 0; i < stations.size(); ++i) {
    CopyTextBounded(keys[i].prefix, sizeof keys[i].prefix, StationPrefix(stations[i].prefix.GetString()).c_str(),
                    kChainPrefixGbkMax);
    keys[i].chainage = stations[i].chainage;
  }
  const SectionMatcher matcher(keys);
  std::vector<unsigned char> taken[2] = {std::vector<unsigned char>(stations.size(), 0),
                                         std::vector<unsigned char>(stations.size(), 0)};

  CString sql;
  if (job.Detour())
    sql.Format("select * from %s where 绕行段编号=%d order by ID", job.groundTable.GetString(), job.detourNumber);
  else
    sql.Format("select * from %s order by ID", job.groundTable.GetString());
  CAdoRecordSet old(&connection);
  const int opened = old.Open(sql, adCmdText, adOpenDynamic, adLockOptimistic);
  if (opened < 0) return -1;
  if (opened == 0) return 0;

  const SectionTableLayout layout = job.Layout();
  int orphans = 0;
  while (!old.IsEOF()) {
    const CString sideText = FieldText(old, layout.SideColumn());
    const int side = sideText == "左" ? 0 : (sideText == "右" ? 1 : -1);
    const std::string prefix = StationPrefix(FieldText(old, layout.PrefixColumn()).GetString());
    const double chainage = std::atof(FieldText(old, layout.ChainageColumn()).GetString());
    const int k = side < 0 ? -1 : matcher.Find(prefix, chainage, [&](int i) {
      return taken[side][static_cast<size_t>(i)] != 0;
    });
    if (k < 0) {
      ++orphans;
    } else {
      taken[side][static_cast<size_t>(k)] = 1;
      if (!stations[static_cast<size_t>(k)].inRange) {
        auto row = std::make_unique<KeptRow>();
        row->prefix = FieldVariant(old, layout.PrefixColumn());
        row->chainage = FieldVariant(old, layout.ChainageColumn());
        row->ground = FieldVariant(old, layout.GroundColumn());
        row->count = FieldVariant(old, layout.CountColumn());
        row->remark = FieldVariant(old, layout.PairColumn(kTablePointPairs));
        for (int j = 0; j < 2 * kTablePointPairs; ++j)
          row->pairs[j] = NumberOf(FieldVariant(old, layout.PairColumn(0) + j));
        kept[side][static_cast<size_t>(k)] = std::move(row);
      }
    }
    if (!old.MoveNext()) break;
  }
  old.Close();
  return orphans;
}

// The messages a run gives per station: a few are shown, the rest counted.
struct StationMessages {
  RepeatedMessages offLine{"有%d个桩号不在线路上, 地面线按水平线处理"};
  RepeatedMessages badWidth{"有%d处地面线内插宽不是正数, 该侧地面线只取中桩一点"};
  RepeatedMessages offModel{"有%d个横断面的地面线伸出数字地面模型之外"};
};

// The ground line of one station in the range.
GroundBlock InterpolateStation(const GroundLineJob& job, const FillCutStation& s, StationMessages& messages) {
  const CrossSectionDesigner& line = *job.line;
  const SideStandards& left = line.Standards(-1);
  const SideStandards& right = line.Standards(1);
  const double wL = LookupByEndChainage(s.mileage, left.groundWidth.count, left.groundWidth.rows);
  const double wR = LookupByEndChainage(s.mileage, right.groundWidth.count, right.groundWidth.rows);

  GroundBlock block;
  block.layer = 0;
  block.rockType = 2;
  LinePoint centre{};
  centre.mileage = s.mileage;
  const AlignmentModel* model = line.baseline;
  const bool onLine = model != nullptr && model->IsBuilt() &&
                      BAS_DRAW_FUN::PointAtMileage(model->elements, model->elementCount, centre) > 0;
  CString where = "基线";
  if (job.Detour()) where.Format("%s绕行段%d", job.lineName.GetString(), job.detourNumber);
  if (!onLine) {
    CString text;
    text.Format("%s %s 不在线路上, 地面线按水平线处理", where.GetString(), StationLabel(s.prefix, s.chainage).GetString());
    messages.offLine.Add(text);
  }
  bool offModel = false;

  auto fill = [&](int side, double width, PairXY* pairs, int& count) {
    const double angle = centre.bearing + side * kHalfPi;
    const TerrainModel& terrain = g_TerrainModel;
    std::vector<PairXY> points;
    if (!(width > 0.0) || !std::isfinite(width)) {
      // A width that is no length would lay the side across the centre.
      CString text;
      text.Format("%s %s: %s地面线内插宽%0.3lf不是正数, 该侧地面线只取中桩一点", where.GetString(),
                  StationLabel(s.prefix, s.chainage).GetString(), side < 0 ? "左" : "右", width);
      messages.badWidth.Add(text);
      points = {{0.0, 0.0}};
    } else if (onLine)
      points = SideGroundLine(terrain, centre.x, centre.y, centre.x + width * std::cos(angle),
                              centre.y + width * std::sin(angle), width, s.ground, kTablePointPairs, &offModel);
    else
      points = {{0.0, 0.0}, {width, 0.0}};
    count = static_cast<int>(points.size());
    std::copy(points.begin(), points.end(), pairs);
  };
  fill(-1, wL, block.left, block.leftCount);
  fill(1, wR, block.right, block.rightCount);
  if (offModel) {
    CString text;
    text.Format("%s %s 的地面线伸出数字地面模型之外, 模型外的点取中桩地面高程", where.GetString(),
                StationLabel(s.prefix, s.chainage).GetString());
    messages.offModel.Add(text);
  }
  return block;
}

// Writes the rows of the run through `out`, which is open on the emptied
// scope of the table. False when a row cannot be added.
class RowWriter {
 public:
  RowWriter(CAdoRecordSet& out, const GroundLineJob& job) : m_out(out), m_job(job), m_layout(job.Layout()) {}

  bool WriteNew(const FillCutStation& s, int side, int count, const PairXY* pairs) {
    if (!Begin(side)) return false;
    if (!s.prefix.IsEmpty()) Put(m_layout.PrefixColumn(), _variant_t(s.prefix));
    PutText(m_layout.ChainageColumn(), s.chainageText);
    PutText(m_layout.GroundColumn(), s.groundText);
    Put(m_layout.CountColumn(), _variant_t(count));
    for (int j = 0; j < count; ++j) {
      Put(m_layout.PairColumn(j), _variant_t(pairs[j].x));
      Put(m_layout.PairColumn(j) + 1, _variant_t(pairs[j].y));
    }
    return true;
  }

  bool WriteKept(const KeptRow& row, int side) {
    if (!Begin(side)) return false;
    PutValue(m_layout.PrefixColumn(), row.prefix);
    PutValue(m_layout.ChainageColumn(), row.chainage);
    PutValue(m_layout.GroundColumn(), row.ground);
    PutValue(m_layout.CountColumn(), row.count);
    for (int j = 0; j < 2 * kTablePointPairs; ++j)
      if (!std::isnan(row.pairs[j])) Put(m_layout.PairColumn(0) + j, _variant_t(row.pairs[j]));
    PutValue(m_layout.PairColumn(kTablePointPairs), row.remark);
    return true;
  }

  int Written() const { return m_rows; }

 private:
  bool Begin(int side) {
    if (!m_out.AddNew()) return false;
    CString id;
    id.Format("%d", m_rows++);
    Put(0, _variant_t(id));  // the database numbers the identity column itself
    if (m_job.Detour()) {
      CString detour;
      detour.Format("%d", m_job.detourNumber);
      Put(1, _variant_t(detour));
    }
    Put(m_layout.SideColumn(), _variant_t(side < 0 ? "左" : "右"));
    return true;
  }
  void Put(long column, const _variant_t& value) { m_out.PutCollectByIndex(column, value); }
  void PutValue(long column, const _variant_t& value) {
    if (!IsNullValue(value)) Put(column, value);
  }
  // A text as read; a null field stays null.
  void PutText(long column, const CString& text) {
    if (text != "NULL" && !text.IsEmpty()) Put(column, _variant_t(text));
  }

  CAdoRecordSet& m_out;
  const GroundLineJob& m_job;
  SectionTableLayout m_layout;
  int m_rows = 0;
};

// The stations of the fill/cut table that lie off the line, before its
// start or after its end as its chainage-break table sets them, where the
// run's range reaches that end: no ground line can be laid across the line
// there, so none is written, and the command line names them (their count,
// the first and the last) rather than leaving them out unsaid.
void ReportStationsOffTheLine(const GroundLineJob& job, const std::vector<FillCutStation>& stations,
                              double startMileage, double endMileage) {
  const AlignmentModel* model = job.line != nullptr ? job.line->baseline : nullptr;
  if (model == nullptr || !model->IsBuilt()) return;
  const double lineStart = model->StartMileage();
  const double lineEnd = model->EndMileage();
  const int count = std::clamp(job.breakCount, 0, CrossSectionDesigner::kMaxBreaks);
  CString where = "基线";
  if (job.Detour()) where.Format("%s绕行段%d", job.lineName.GetString(), job.detourNumber);
  for (int end : {0, 1}) {
    const double bound = end == 0 ? lineStart : lineEnd;
    if (end == 0 ? startMileage - kRangeAllowance > bound : endMileage + kRangeAllowance < bound) continue;
    int number = 0;
    const FillCutStation* first = nullptr;
    const FillCutStation* last = nullptr;
    for (const FillCutStation& s : stations) {
      const bool off = end == 0 ? s.mileage <= bound - kRangeAllowance : s.mileage >= bound + kRangeAllowance;
      if (!off) continue;
      ++number;
      if (first == nullptr) first = &s;
      last = &s;
    }
    if (number == 0) continue;
    char prefix[kChainPrefixSize] = {};
    const double chainage = BreakTableMileageToChainage(bound, prefix, count, job.breaks, sizeof prefix);
    CString text;
    text.Format("\n%s: %s中有%d个桩号在断链表所定的线路%s%s%s(%s～%s), 不在线路上, 没有内插地面线\n", where.GetString(),
                job.fillCutTable.GetString(), number, end == 0 ? "起点" : "终点",
                StationLabel(prefix, chainage).GetString(), end == 0 ? "之前" : "之后",
                StationLabel(first->prefix, first->chainage).GetString(),
                StationLabel(last->prefix, last->chainage).GetString());
    acutPrintf("%s", text.GetString());
  }
}

// Rolls the run back and says why; the table keeps the rows it had.
int FailRun(CAdoConnection& connection, CAdoRecordSet& out, bool inTransaction, const GroundLineJob& job,
            const char* reason) {
  out.Close();
  if (inTransaction) connection.RollbackTrans();
  connection.Close();
  acedRestoreStatusBar();
  CString text;
  text.Format("地面线表生成不成功: %s%s!\n%s中原有的记录保留不变。", job.groundTable.GetString(), reason,
              job.groundTable.GetString());
  AfxMessageBox(text);
  return 0;
}

// The average centre elevation of the stations in the range: the terrain
// model's stand-in elevation while it has no model.
void SetSubstituteElevation(const std::vector<FillCutStation>& stations) {
  double sum = 0.0;
  int count = 0;
  for (const FillCutStation& s : stations)
    if (s.inRange) {
      sum += s.ground;
      ++count;
    }
  if (count > 0) g_TerrainModel.SetSubstituteElevation(sum / count);
}

// Runs one ground-line job on `self` (its connection, record set and scheme
// database path). 1 when the table was rewritten; 0 otherwise (the messages
// have been shown, the table is as it was).
int RunGroundLineJob(CrossSectionDesigner& self, const GroundLineJob& job, double startMileage, double endMileage,
                     std::vector<StationGroundLine>* collected) {
  const int opened = job.Detour() ? self.OpenDetourTable(job.fillCutTable, job.detourNumber, false)
                                  : self.OpenSchemeTable(job.fillCutTable, false);
  if (!opened) return 0;
  std::vector<FillCutStation> stations;
  const bool read = ReadStations(self.recordSet, job, startMileage, endMileage, stations);
  self.recordSet.Close();
  if (!read) {
    self.connection.Close();
    return 0;
  }
  SetSubstituteElevation(stations);

  CAdoConnection& connection = self.connection;
  CAdoRecordSet out(&connection);
  // The table is made in the transaction that fills it: a run stopped before
  // its end leaves the scheme without it, never with it empty.
  if (connection.BeginTrans() < 0) return FailRun(connection, out, false, job, "无法开始数据库事务");
  const bool created = job.Detour() ? self.CreateDetourGroundLineTable(job.lineName) : self.CreateGroundLineTable();
  if (!created) return FailRun(connection, out, true, job, "无法创建");

  std::vector<std::unique_ptr<KeptRow>> kept[2];
  const int orphans = ReadKeptRows(connection, job, stations, kept);
  if (orphans < 0) return FailRun(connection, out, true, job, "无法读取原有的记录");

  CString deleteSql;
  if (job.Detour())
    deleteSql.Format("delete from %s where 绕行段编号=%d", job.groundTable.GetString(), job.detourNumber);
  else
    deleteSql.Format("delete from %s", job.groundTable.GetString());
  if (!connection.ExecuteWhenOpen(deleteSql)) return FailRun(connection, out, true, job, "无法删除原有的记录");
  if (out.Open("select * from " + job.groundTable + " order by ID", adCmdText, adOpenDynamic, adLockOptimistic) < 0)
    return FailRun(connection, out, true, job, "无法打开");

  acedSetStatusBarProgressMeter(job.progressText.GetString(), 0, 100);
  RowWriter writer(out, job);
  StationMessages messages;
  const size_t total = stations.size();
  // Room for every ground line at once: a line is large, and growing the
  // vector step by step copied all of them again and again.
  if (collected != nullptr) {
    auto inRange = std::count_if(stations.begin(), stations.end(), [](const FillCutStation& s) { return s.inRange; });
    collected->reserve(collected->size() + static_cast<size_t>(inRange));
  }
  for (size_t r = 0; r < total; ++r) {
    acedSetStatusBarProgressMeterPos(static_cast<int>((r + 1) * 100.0 / static_cast<double>(total)));
    const FillCutStation& s = stations[r];
    if (s.inRange) {
      const GroundBlock block = InterpolateStation(job, s, messages);
      if (!writer.WriteNew(s, -1, block.leftCount, block.left) || !writer.WriteNew(s, 1, block.rightCount, block.right))
        return FailRun(connection, out, true, job, "写入记录出错");
      if (collected != nullptr) collected->push_back(StationGroundLine{s.prefix, s.chainage, s.ground, block});
    } else {
      for (int side : {0, 1}) {
        const KeptRow* row = kept[side][r].get();
        if (row != nullptr && !writer.WriteKept(*row, side == 0 ? -1 : 1))
          return FailRun(connection, out, true, job, "写入记录出错");
      }
    }
  }
  if (writer.Written() > 0 && !out.Update()) return FailRun(connection, out, true, job, "写入记录出错");
  out.Close();
  if (!connection.CommitTrans()) return FailRun(connection, out, true, job, "无法提交写入的记录");
  connection.Close();
  acedSetStatusBarProgressMeterPos(100);
  acedRestoreStatusBar();
  if (orphans > 0)
    acutPrintf("\n%s中有%d行的桩号不在%s中, 已删除", job.groundTable.GetString(), orphans,
               job.fillCutTable.GetString());
  ReportStationsOffTheLine(job, stations, startMileage, endMileage);
  acutPrintf("%s", job.doneMessage);
  return 1;
}

}  // namespace

int CrossSectionDesigner::InterpolateBaselineGroundLines(double startMileage, double endMileage,
                                                          std::vector<StationGroundLine>* collected) {
  LoadBaselineDesignStandards();
  GroundLineJob job;
  job.fillCutTable = "填挖表";
  job.groundTable = "横断面地面线表";
  job.line = this;
  job.breakCount = breakCount;
  job.breaks = breaks;
  job.progressText = "内插横断面地面线";
  job.doneMessage = "基线横断面地面线数据已保存在数据库中!\n";
  return RunGroundLineJob(*this, job, startMileage, endMileage, collected);
}

int CrossSectionDesigner::InterpolateDetourGroundLines(double startMileage, double endMileage, CString lineName,
                                                        int detourNumber, CrossSectionDesigner* detourDesigner) {
  if (detourDesigner == nullptr) return 0;
  if (detourNumber < 0) {
    acutPrintf("\n绕行段编号%d无效, 不能内插绕行段横断面地面线", detourNumber);
    return 0;
  }
  GroundLineJob job;
  job.fillCutTable = lineName + "绕行段填挖表";
  job.groundTable = lineName + "绕行段横断面地面线表";
  job.lineName = lineName;
  job.detourNumber = detourNumber;
  job.line = detourDesigner;
  const AlignmentModel* model = detourDesigner->baseline;
  job.breakCount = model != nullptr ? model->breakCount : detourDesigner->breakCount;
  job.breaks = model != nullptr ? model->breaks : detourDesigner->breaks;
  job.progressText.Format("正在内插%s%d绕行段横断面地面线", lineName.GetString(), detourNumber);
  job.doneMessage = "横断面地面线数据已保存在数据库中!\n";
  return RunGroundLineJob(*this, job, startMileage, endMileage, nullptr);
}
