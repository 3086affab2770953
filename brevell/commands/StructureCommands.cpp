// The structure commands (PlanCommands.h): each erases its layer, reads its
// table again and draws the rows through the plan model.

#include <vector>

#include "PlanCommands.h"
#include "PlanLayers.h"
#include "PlanState.h"
#include "arx/arx.h"

namespace {

enum class Family { kBridge, kTunnel, kStation, kCulvert, kBenchMark, kTraverse };

struct StructureTable {
  Family family;
  PlanLayer layer;  // the layer group; the line picks the layer of the group
  const char* table;
  int line;  // PlanLineCode
};

// The table of a family for a line: the detour forms put 左线绕行段 or
// 右线绕行段 before the base line's name.
CString TableName(const char* baseName, int line) {
  return CString(line < 0 ? "左线绕行段" : line > 0 ? "右线绕行段" : "") + baseName;
}

void DrawRows(PlanState& state, const StructureTable& t, bool crossingOnly) {
  AlignmentModel& model = *state.model;
  XLDataBase& loader = state.loader;
  const int line = t.line;
  switch (t.family) {
    case Family::kBridge:
      for (const BridgeRecord& r : loader.bridges) model.DrawBridge(BridgeCall::FromRecord(r, line));
      break;
    case Family::kTunnel:
      for (const TunnelRecord& r : loader.tunnels) {
        const TunnelCall call = TunnelCall::FromRecord(r, line);
        model.DrawTunnel(call);
        if (line == kBaseLine) {
          acutPrintf("%s,%s,%s,%.1lf,%d\n", call.startText.GetString(), call.endText.GetString(),
                     call.name.GetString(), call.kind, static_cast<int>(call.lineCount));
        }
      }
      break;
    case Family::kStation:
      for (const StationRecord& r : loader.stations) {
        model.DrawStations(r.centreText, r.name, r.flagBlockName, line, line == kBaseLine ? -1 : r.detourIndex);
      }
      break;
    case Family::kCulvert:
      for (const CulvertRecord& r : loader.culverts) {
        if (crossingOnly && !(r.flagMode >= 0.5 && r.flagMode <= 2.5)) continue;
        model.DrawCulverts(CulvertCall::FromRecord(r, line));
      }
      break;
    case Family::kBenchMark:
      for (const BenchMarkRecord& r : loader.benchMarks) model.DrawBenchMarks(BenchMarkCall::FromRecord(r, line));
      break;
    case Family::kTraverse: {
      const size_t n = loader.traverse.size();
      if (n == 0) break;
      std::vector<double> N(n), E(n), elevations(n), bearings(n);
      std::vector<CString> stations(n);
      for (size_t i = 0; i < n; ++i) {
        const TraverseRecord& r = loader.traverse[i];
        N[i] = r.N;
        E[i] = r.E;
        elevations[i] = r.elevation;
        bearings[i] = r.bearing;
        stations[i] = r.station;
      }
      model.DrawTraverse(static_cast<int>(n), N.data(), E.data(), stations.data(), elevations.data(), bearings.data(),
                         line);
      break;
    }
  }
}

// One line on the command line for the rows a command left out because they
// lie outside the plan's drawing range (a range the settings chose, or
// beyond the line's end as its chainage-break table sets it): how many, the
// range, and the first few by name and chainage.
void ReportLeftOutOfRange(AlignmentModel& model, const CString& table, int line) {
  const std::vector<CString> left = model.TakeLeftOutOfRange();
  if (left.empty()) return;
  constexpr size_t kNamed = 5;
  CString range;
  const DrawingRange& r = model.Line(line).range;
  if (line == kBaseLine) {
    range.Format("平面的绘图范围%s～%s", model.BaseChainageText(r.start).GetString(),
                 model.BaseChainageText(r.end).GetString());
  } else {
    range = line < 0 ? "左线绕行段的绘图范围" : "右线绕行段的绘图范围";
  }
  CString names;
  for (size_t i = 0; i < left.size() && i < kNamed; ++i) names += (i > 0 ? "、" : "") + left[i];
  if (left.size() > kNamed) names += "等";
  CString message;
  message.Format("\n%s有%d项在%s之外, 未绘出: %s\n", table.GetString(), static_cast<int>(left.size()),
                 range.GetString(), names.GetString());
  acutPrintf("%s", message.GetString());
}

// The steps every structure command takes: the guard, the layer erased, the
// table read again, its rows drawn (those outside the drawing range named),
// the loader emptied.
void RunStructureCommand(const StructureTable& t, bool crossingOnly = false) {
  PlanState& state = ThePlanState();
  if (!state.Initialised()) {
    AfxMessageBox("请先初始化!");
    return;
  }
  BAS_DRAW_FUN::DeleteLayerContents(PlanLayerOf(t.layer, t.line));
  state.loader.LoadSchemeTables(state.connection, TableName(t.table, t.line), true);
  state.model->TakeLeftOutOfRange();
  DrawRows(state, t, crossingOnly);
  ReportLeftOutOfRange(*state.model, TableName(t.table, t.line), t.line);
  state.loader.Clear();
  if (t.family == Family::kTunnel) state.model->PrepareTunnels(state.connection);
}

}  // namespace

void CmdInsertBridges() { RunStructureCommand({Family::kBridge, kLayerBridge, "大中桥", kBaseLine}); }
void CmdInsertLeftDetourBridges() { RunStructureCommand({Family::kBridge, kLayerBridge, "大中桥", kLeftLine}); }
void CmdInsertRightDetourBridges() { RunStructureCommand({Family::kBridge, kLayerBridge, "大中桥", kRightLine}); }
void CmdInsertTunnels() { RunStructureCommand({Family::kTunnel, kLayerTunnel, "隧道", kBaseLine}); }
void CmdInsertLeftDetourTunnels() { RunStructureCommand({Family::kTunnel, kLayerTunnel, "隧道", kLeftLine}); }
void CmdInsertRightDetourTunnels() { RunStructureCommand({Family::kTunnel, kLayerTunnel, "隧道", kRightLine}); }
void CmdInsertStations() { RunStructureCommand({Family::kStation, kLayerStation, "车站", kBaseLine}); }
void CmdInsertLeftDetourStations() { RunStructureCommand({Family::kStation, kLayerStation, "车站", kLeftLine}); }
void CmdInsertRightDetourStations() { RunStructureCommand({Family::kStation, kLayerStation, "车站", kRightLine}); }
void CmdInsertCulverts() { RunStructureCommand({Family::kCulvert, kLayerCulvert, "小桥涵", kBaseLine}); }
void CmdInsertLeftDetourCulverts() { RunStructureCommand({Family::kCulvert, kLayerCulvert, "小桥涵", kLeftLine}); }
void CmdInsertRightDetourCulverts() { RunStructureCommand({Family::kCulvert, kLayerCulvert, "小桥涵", kRightLine}); }
void CmdInsertBenchMarks() { RunStructureCommand({Family::kBenchMark, kLayerBenchMark, "水准点表", kBaseLine}); }
void CmdInsertLeftDetourBenchMarks() {
  RunStructureCommand({Family::kBenchMark, kLayerBenchMark, "水准点表", kLeftLine});
}
void CmdInsertRightDetourBenchMarks() {
  RunStructureCommand({Family::kBenchMark, kLayerBenchMark, "水准点表", kRightLine});
}
void CmdInsertTraverse() { RunStructureCommand({Family::kTraverse, kLayerTraverse, "导线表", kBaseLine}); }
void CmdInsertLeftDetourTraverse() { RunStructureCommand({Family::kTraverse, kLayerTraverse, "导线表", kLeftLine}); }
void CmdInsertRightDetourTraverse() {
  RunStructureCommand({Family::kTraverse, kLayerTraverse, "导线表", kRightLine});
}

void DrawCrossingCulverts() { RunStructureCommand({Family::kCulvert, kLayerCulvert, "小桥涵", kBaseLine}, true); }
void DrawLeftDetourCrossingCulverts() {
  RunStructureCommand({Family::kCulvert, kLayerCulvert, "小桥涵", kLeftLine}, true);
}
void DrawRightDetourCrossingCulverts() {
  RunStructureCommand({Family::kCulvert, kLayerCulvert, "小桥涵", kRightLine}, true);
}
