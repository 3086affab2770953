// Fill/cut rows: the stations of a line from one of three sources, the design
// values at each, and the fill/cut tables of the detour sections
// (左线绕行段填挖表, 右线绕行段填挖表) with their ground lines.

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "CrossSectionDesigner.h"
#include "GroundLines.h"
#include "RepeatedMessages.h"
#include "RoadbedTypes.h"
#include "TableNumbers.h"
#include "TerrainModel.h"
#include "arx/edoutput.h"
#include "mfc/app.h"

void CrossSectionDesigner::ComputeFillCutRow(double ML, int roadbedType, FillCutRow& row) const {
  int code = roadbedType;
  double widening = 0.0, secondWidening = 0.0, spacing = 0.0;
  GetLineOffsetsAtChainage(ML, code, widening, secondWidening, spacing);
  row.sectionInfo = std::max(code, 0);  // a type the query left open is a single-line section
  row.widening = widening;
  row.rightWidening = secondWidening;
  row.separationWidth = spacing;

  double ground = row.groundElevation, design = 0.0, fillHeight = 0.0, grade = 0.0, lift = 0.0, spare = 0.0,
         ordinate = 0.0, designCopy = 0.0;
  DesignElevationAt(ML, ground, design, fillHeight, grade, lift, spare, ordinate, designCopy);
  row.groundElevation = ground;
  row.shoulderDesignElevation = design;
  row.centreHeight = fillHeight;
  row.designGrade = grade;
  row.verticalOrdinate = ordinate;
  row.centreLift = lift;
  row.shoulderBuildElevation = designCopy;
  row.shoulderBuildWidth = 0.0;
  row.leftSpacing = 0.0;
  row.rightSpacing = 0.0;
}

// ---- Station lists -------------------------------------------------------------------------

bool CheckStationSource(int stationSource, double interval) {
  if (stationSource < kStationsMeasured || stationSource > kStationsGenerated) {
    CString text;
    text.Format("桩号来源%d无效: 只能是0(实测横断面桩号)、1(已有填挖表桩号)或2(按间距生成桩号)!", stationSource);
    AfxMessageBox(text);
    return false;
  }
  if (stationSource == kStationsGenerated && !(interval > 0.0)) {
    CString text;
    text.Format("桩号间距%0.3lf无效: 按间距生成桩号时间距必须大于0!", interval);
    AfxMessageBox(text);
    return false;
  }
  return true;
}

int LineBreakCount(const CrossSectionDesigner& line) {
  const int count = line.baseline != nullptr ? line.baseline->breakCount : line.breakCount;
  return std::clamp(count, 0, CrossSectionDesigner::kMaxBreaks);
}

const BreakRecord* LineBreaks(const CrossSectionDesigner& line) {
  return line.baseline != nullptr ? line.baseline->breaks : line.breaks;
}

namespace {

CString StationText(const CString& prefix, double chainage) {
  char text[kChainageTextSize] = {};
  ChainageText3Decimals(prefix, chainage, text, sizeof text);
  return text;
}

CString TextByName(CAdoRecordSet& recordSet, const char* name) {
  CString text;
  if (!recordSet.GetValueTextByName(text, name) || text == "NULL") text.Empty();
  return text;
}

// Sources 0 and 1: the rows of the open record set of `runner`, read from
// `table`. False when the table is refused (a station or ground elevation
// missing or no finite number): nothing is then to be written.
bool RowsFromTable(CrossSectionDesigner& runner, const CrossSectionDesigner& line, const FillCutJob& job,
                   const CString& table, std::vector<FillCutRow>& rows) {
  CAdoRecordSet& recordSet = runner.recordSet;
  const bool measured = job.stationSource == kStationsMeasured;
  const char* prefixColumn = measured ? "中桩里程冠号" : "加桩里程冠号";
  const char* chainageColumn = measured ? "中桩里程数" : "加桩里程数";
  TableNumbers numbers(table);
  if (!numbers.RequireColumns(recordSet, {chainageColumn, "地面高程"})) return false;
  const long count = recordSet.CountRecords();
  rows.clear();
  rows.reserve(static_cast<size_t>(std::max(count, 0L)));
  recordSet.MoveFirst();
  for (long i = 0; i < count && !recordSet.IsEOF() && !numbers.Refused(); ++i) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(i * 100.0 / static_cast<double>(count)));
    numbers.SetRow(static_cast<int>(i) + 1);
    FillCutRow row;
    row.prefix = TextByName(recordSet, prefixColumn);
    row.chainage = numbers.NeededByName(recordSet, chainageColumn);
    row.groundElevation = numbers.NeededByName(recordSet, "地面高程");
    char text[kChainageTextSize] = {};
    ChainageText3Decimals(row.prefix, row.chainage, text, sizeof text);
    const double ML = BreakTableChainageToMileage(text, LineBreakCount(line), LineBreaks(line));
    line.ComputeFillCutRow(ML, job.roadbedType, row);
    RoadbedTypeName(row.sectionInfo, row.remark);
    if (job.lineSpacings) FillLineSpacings(line, ML, row);
    rows.push_back(row);
    if (!recordSet.MoveNext()) break;
  }
  return !numbers.Refused();
}

// Source 2: stations along the line every `interval` metres, with the key
// points of its curves and the ends of its bridges, tunnels and stations.
bool RowsGenerated(CrossSectionDesigner& line, const FillCutJob& job, std::vector<FillCutRow>& rows) {
  AlignmentModel* model = line.baseline;
  if (model == nullptr || !model->BuildLineElements()) return false;
  if (!model->BuildStationList(job.interval, model->StartMileage(), model->EndMileage())) return false;
  model->InsertCurvePoints();
  auto structures = [model](const OwnedRowArray<StructureRow>& list, char letter) {
    std::vector<MileageRange> ranges;
    for (int i = 0; i < list.count; ++i) ranges.push_back({list.rows[i].startMileage, list.rows[i].endMileage});
    model->InsertStructurePoints(static_cast<int>(ranges.size()), ranges.data(), letter);
  };
  structures(line.bridges, 'B');
  structures(line.tunnels, 'T');
  structures(line.stations, 'S');

  const int count = static_cast<int>(model->stations.GetSize());
  const bool terrain = g_TerrainModel.IsLoaded();
  // A station off the model takes its marker as ground, and says so: a
  // design on it would stand on a ground of -100.
  CString lineLabel = "基线";
  if (job.detourNumber >= 0) lineLabel.Format("%s%d", job.lineName.GetString(), job.detourNumber);
  CString summary;
  summary.Format("%s有%%d个桩号在数字地面模型范围之外, 其地面高程为%0.1lf", lineLabel.GetString(),
                 TerrainModel::kOutsideElevation);
  RepeatedMessages outside(summary.GetString());
  rows.clear();
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(i * 100.0 / count));
    const double ML = model->stations[i].mileage;
    FillCutRow row;
    char prefix[kChainPrefixSize] = {};
    row.chainage = BreakTableMileageToChainage(ML, prefix, model->breakCount, model->breaks, sizeof prefix);
    row.prefix = prefix;
    LinePoint point{};
    point.mileage = ML;
    if (terrain && BAS_DRAW_FUN::PointAtMileage(model->elements, model->elementCount, point) > 0) {
      row.groundElevation = g_TerrainModel.ElevationAt(point.x, point.y);
      if (row.groundElevation == TerrainModel::kOutsideElevation) {
        CString text;
        text.Format("%s %s 在数字地面模型范围之外, 地面高程取%0.1lf", lineLabel.GetString(),
                    StationText(row.prefix, row.chainage).GetString(), TerrainModel::kOutsideElevation);
        outside.Add(text);
      }
    }
    line.ComputeFillCutRow(ML, job.roadbedType, row);
    if (job.lineSpacings) FillLineSpacings(line, ML, row);
    rows.push_back(row);
  }
  return true;
}

}  // namespace

void FillLineSpacings(const CrossSectionDesigner& line, double ML, FillCutRow& row) {
  const AlignmentModel* model = line.baseline;
  if (model == nullptr) return;
  auto spacing = [&](const SideLineModel* side) {
    if (side == nullptr) return 0.0;
    double offset = 0.0, mileage = 0.0, x = 0.0, y = 0.0;
    BAS_DRAW_FUN::MileageOnOtherLine(ML, model->elements, model->elementCount, side->elements, side->elementCount,
                                     offset, mileage, x, y);
    return offset;
  };
  row.leftSpacing = spacing(line.leftLine);
  row.rightSpacing = spacing(line.rightLine);
}

int BuildFillCutRows(CrossSectionDesigner& runner, CrossSectionDesigner& line, const FillCutJob& job) {
  std::vector<FillCutRow> rows;
  if (job.stationSource == kStationsGenerated) {
    acedSetStatusBarProgressMeter(job.progressText.GetString(), 0, 100);
    const bool built = RowsGenerated(line, job, rows);
    if (!built) {
      acedRestoreStatusBar();
      return 0;
    }
  } else {
    const bool measured = job.stationSource == kStationsMeasured;
    const CString& table = measured ? job.measuredTable : job.fillCutTable;
    const int opened = job.detourNumber >= 0 ? runner.OpenDetourTable(table, job.detourNumber, measured)
                                             : runner.OpenSchemeTable(table, measured);
    if (!opened) return 0;
    acedSetStatusBarProgressMeter(job.progressText.GetString(), 0, 100);
    const bool read = RowsFromTable(runner, line, job, table, rows);
    runner.recordSet.Close();
    runner.connection.Close();
    if (!read) {
      acedRestoreStatusBar();
      return 0;
    }
  }
  XLDataBase& store = runner.xlDataBase;
  XLDataBase::AllocRows(store.fillCuts, store.fillCutCount, static_cast<int>(rows.size()));
  std::copy(rows.begin(), rows.end(), store.fillCuts);
  return 1;
}

// ---- Detour sections ---------------------------------------------------------------------------

int CrossSectionDesigner::ComputeDetourFillCutTables(int interpolateGroundLines, int stationSource, double interval,
                                                     CString lineName, int detourNumber,
                                                     CrossSectionDesigner* detourDesigner) {
  if (!CheckStationSource(stationSource, interval)) return 0;
  if (detourDesigner == nullptr || detourDesigner->baseline == nullptr || detourNumber < 0) {
    acutPrintf("\n%s绕行段%d没有线路数据, 不能计算绕行段填挖表", lineName.GetString(), detourNumber);
    return 0;
  }
  const double start = detourDesigner->baseline->StartMileage();
  const double end = detourDesigner->baseline->EndMileage();

  FillCutJob job;
  job.stationSource = stationSource;
  job.interval = interval;
  job.measuredTable = lineName + "绕行段横断面岩层线表";
  job.fillCutTable = lineName + "绕行段填挖表";
  job.detourNumber = detourNumber;
  job.lineName = lineName + "绕行段";
  job.roadbedType = 0;
  job.progressText.Format("计算%s绕行段填挖表", lineName.GetString());
  if (!BuildFillCutRows(*this, *detourDesigner, job)) return 0;

  const int written = xlDataBase.WriteDetourFillCutTable(schemeDatabasePath, job.fillCutTable, detourNumber);
  acedSetStatusBarProgressMeterPos(100);
  acedRestoreStatusBar();
  if (!written) return 0;
  acutPrintf("\n绕行段填挖表计算完毕");

  if (interpolateGroundLines) {
    detourDesigner->schemeDatabasePath = schemeDatabasePath;
    if (!detourDesigner->InterpolateDetourGroundLines(start, end, lineName, detourNumber, detourDesigner)) return 0;
  }
  return 1;
}
