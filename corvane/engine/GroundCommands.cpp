// The bodies of CALTWB (fill/cut tables and ground lines of the baseline and
// the detour sections) and CALHDMDMX (ground lines of a chainage range into
// the scheme database and a ground-line file), and the ground-line file.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "GroundLines.h"
#include "TerrainModel.h"
#include "arx/edoutput.h"
#include "crt/format.h"
#include "crt/textfile.h"
#include "mfc/app.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"

namespace {

// The end mark of a side and of the file.
constexpr double kEndMark = 999.0;
constexpr double kEndMarkTolerance = 0.01;

const char kNoTerrainForStations[] = "没有数字地面模型，不能计算桩号系列！";
const char kNoTerrainForGroundLines[] = "没有数字地面模型，不能内插横断面地面线！";

// The continuous mileage of a chainage text through the designer's break
// table; `fallback` for an empty text.
double MileageOfText(const CrossSectionDesigner& d, const CString& text, double fallback) {
  CString trimmed = text;
  trimmed.Trim();
  if (trimmed.IsEmpty()) return fallback;
  return BreakTableChainageToMileage(trimmed.GetString(), std::clamp(d.breakCount, 0, CrossSectionDesigner::kMaxBreaks),
                                     d.breaks);
}

// The baseline range between two chainage texts (empty: the line's ends).
// A text that does not read as a chainage, a range that runs backwards and
// one that lies wholly off the line are refused with a message, before
// anything is computed or written: each would interpolate no station and
// replace the ground lines kept so far by none.
bool CheckedRange(const CrossSectionDesigner& d, const CString& startText, const CString& endText, double& start,
                  double& end) {
  CString text[2] = {startText, endText};
  const char* names[2] = {"起始里程", "终止里程"};
  for (int i = 0; i < 2; ++i) {
    text[i].Trim();
    if (!text[i].IsEmpty() && !ChainageTextReads(text[i].GetString())) {
      AfxMessageBox(CString(names[i]) + "\"" + text[i] + "\"不是里程!");
      return false;
    }
  }
  const double first = d.baseline->StartMileage();
  const double last = d.baseline->EndMileage();
  start = MileageOfText(d, text[0], first);
  end = MileageOfText(d, text[1], last);
  CString message;
  if (start > end) {
    message.Format("起始里程%s在终止里程%s之后!", text[0].GetString(), text[1].GetString());
  } else if (end < first - 0.01 || start > last + 0.01) {
    message.Format("里程范围%s～%s不在线路上!", text[0].IsEmpty() ? "起点" : text[0].GetString(),
                   text[1].IsEmpty() ? "终点" : text[1].GetString());
  }
  if (message.IsEmpty()) return true;
  AfxMessageBox(message);
  return false;
}

}  // namespace

// ---- The ground-line file --------------------------------------------------------------

bool WriteGroundLineFile(const CString& path, const CString& lineName, const std::vector<StationGroundLine>& stations) {
  FILE* file = platform::openFile(path.GetString(), "w");
  if (file == nullptr) {
    CString text;
    text.Format("无法写横断面地面线文件%s!", path.GetString());
    AfxMessageBox(text);
    return false;
  }
  int leftOut = 0;
  auto writeSide = [&](int count, const PairXY* pairs) {
    for (int j = 0; j < count; ++j) {
      // The distance as the file gives it: a reader ends the side at one
      // that lies within the tolerance of the mark.
      char distance[64];
      std::snprintf(distance, sizeof distance, "%.3lf", pairs[j].x);
      if (std::fabs(std::atof(distance) - kEndMark) <= kEndMarkTolerance) {
        ++leftOut;
        continue;
      }
      platform::printToFile(file, " %s %.3lf", distance, pairs[j].y);
    }
    platform::printToFile(file, " %.0lf\n", kEndMark);
  };
  platform::printToFile(file, "%s\n", lineName.GetString());
  for (const StationGroundLine& s : stations) {
    // The station is one token: its chainage text without blanks.
    char label[kChainageTextSize] = {};
    ChainageText3Decimals(s.prefix, s.chainage, label, sizeof label);
    CString token = label;
    token.Remove(' ');
    token.Remove('\t');
    platform::printToFile(file, "%s %.3lf 1\n", token.GetString(), s.ground);
    platform::printToFile(file, "%d\n", s.block.rockType);
    writeSide(std::clamp(s.block.leftCount, 0, kGroundPointsPerSide), s.block.left);
    writeSide(std::clamp(s.block.rightCount, 0, kGroundPointsPerSide), s.block.right);
  }
  platform::printToFile(file, "%.0lf\n", kEndMark);
  if (std::fclose(file) != 0) {
    CString text;
    text.Format("写横断面地面线文件%s出错!", path.GetString());
    AfxMessageBox(text);
    return false;
  }
  if (leftOut > 0) acutPrintf("\n有%d个地面点距中桩%.0lf米, 与文件的结束标记相同, 未写入%s", leftOut, kEndMark, path.GetString());
  return true;
}

// ---- CALTWB -----------------------------------------------------------------------------------

int CrossSectionDesigner::CmdFillCutTables(const FillCutCommandOptions& options) {
  if (!CheckStationSource(options.stationSource, options.interval)) return 0;
  if (!ReadProjectAndScheme()) return 0;
  const CString path = SchemeDatabasePath();

  // The terrain model comes first: generated stations take their ground
  // elevations from it, and without it nothing is written.
  const bool needsTerrain = options.stationSource == kStationsGenerated || options.interpolateGroundLines;
  if (needsTerrain && !g_TerrainModel.Load()) {
    AfxMessageBox(options.stationSource == kStationsGenerated ? kNoTerrainForStations : kNoTerrainForGroundLines);
    return 0;
  }

  // The line kind decides the fill/cut values: without a sound technical
  // parameter file it is not guessed, and nothing is computed.
  lineKind = LineKindOfScheme();
  if (lineKind.IsEmpty()) {
    AfxMessageBox(TechParamsProblem() + ", 不能确定线路类型(单线、双线或预留二线), 填挖表未计算!");
    return 0;
  }
  if (!ReadSchemeAlignment(path, 0, 0)) {
    FreeAllLines();
    return 0;
  }
  double groundStart = 0.0, groundEnd = 0.0;
  if (options.interpolateGroundLines &&
      !CheckedRange(*this, options.startChainage, options.endChainage, groundStart, groundEnd)) {
    FreeAllLines();
    return 0;
  }
  // A scheme without side lines is a single line for its fill/cut values.
  const bool sideLines = leftLine != nullptr || rightLine != nullptr;
  if (!sideLines && lineKind != "单线") {
    lineKind = "单线";
    SetHalfSpacings();
  }

  FillCutJob job;
  job.stationSource = options.stationSource;
  job.interval = options.interval;
  job.measuredTable = "横断面岩层线表";
  job.fillCutTable = "填挖表";
  job.roadbedType = lineKind == "单线" ? 0 : -1;
  job.lineSpacings = sideLines;
  job.progressText = "计算基线填挖表";
  int done = BuildFillCutRows(*this, *this, job);
  acedSetStatusBarProgressMeterPos(100);
  acedRestoreStatusBar();
  if (done) done = xlDataBase.WriteTable(path, "填挖表");
  if (done && options.interpolateGroundLines) done = InterpolateBaselineGroundLines(groundStart, groundEnd);
  if (done) {
    for (int side : {-1, 1}) {
      const std::vector<CrossSectionDesigner*> detours = DetourDesignersInUse(side);
      for (size_t i = 0; i < detours.size(); ++i)
        ComputeDetourFillCutTables(options.interpolateGroundLines, options.stationSource, options.interval,
                                   side < 0 ? "左线" : "右线", static_cast<int>(i), detours[i]);
    }
  }
  FreeAllLines();
  if (!done) return 0;
  AfxMessageBox("填挖表计算完毕");
  return 1;
}

// ---- CALHDMDMX ------------------------------------------------------------------------------

int CrossSectionDesigner::CmdInterpolateGroundLines(CString startChainage, CString endChainage, CString dmxPath) {
  if (!ReadProjectAndScheme()) return 0;
  const CString path = SchemeDatabasePath();
  if (dmxPath.IsEmpty()) dmxPath = g_ProjectFolder + "\\data\\" + g_SchemeName + ".dmx";
  if (!g_TerrainModel.Load()) {
    AfxMessageBox(kNoTerrainForGroundLines);
    return 0;
  }
  // Only the baseline is interpolated: its alignment, breaks and standards.
  lineKind = "单线";
  int done = ReadSchemeAlignment(path, 0, 0);
  std::vector<StationGroundLine> stations;
  double start = 0.0, end = 0.0;
  if (done) done = CheckedRange(*this, startChainage, endChainage, start, end);
  if (done) done = InterpolateBaselineGroundLines(start, end, &stations);
  // A range between two stations gives none: the file kept so far stays.
  if (done && stations.empty()) {
    AfxMessageBox("里程范围" + startChainage + "～" + endChainage + "内没有横断面, 地面线文件未写!");
    done = 0;
  }
  if (done) done = WriteGroundLineFile(dmxPath, "基线", stations);
  if (done) acutPrintf("\n%d个横断面的地面线已写入%s\n", static_cast<int>(stations.size()), dmxPath.GetString());
  FreeAllLines();
  return done;
}
