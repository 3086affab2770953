// The demo: runs the cross-section workflow over the project that the install
// folder's workdir names (the sample project that scripts/demo makes), as an
// engineer would run the commands one after another:
//
//   CALTWB     the fill/cut table of every line from the terrain model, with
//              the ground line of every station
//   CALHDMDMX  the ground lines written as a .dmx file for the ground-line input
//   HDMDES     every section designed, the result files written
//   SAVEFILE   the design saved with its point files
//   PRINTHDM   every designed section drawn for printing, saved as a DXF drawing
//   CALTSF     the earthwork quantity files and the roadbed quantity sheet
//
// and draws the plan of the lines with their land-take boundary into a DXF
// drawing. Each step prints what the module prints; the demo ends with the
// list of the files a person can open.
//
//   demo [INSTALL]   the install folder (default: install/ beside bin/)
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "CrossSectionDesigner.h"
#include "DesignRunOptions.h"
#include "DesignerGlobals.h"
#include "EarthworkRows.h"
#include "GroundLines.h"
#include "SectionDrawingChoice.h"
#include "TerrainModel.h"
#include "ado/AdoWrapper.h"
#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dxffile.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "mfc/collections.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "project/TableList.h"
#include "project/TechParams.h"
#include "quorra/SchemeTables.h"
#include "win/transcript.h"

namespace fs = std::filesystem;

namespace {

void Line(const std::string& text) { platform::transcriptLine(text); }

std::string Resolved(const CString& windowsPath) { return platform::resolvePath(windowsPath.GetString()); }

// The number of rows of a table, or -1 when it cannot be read.
long RowCount(CAdoConnection& connection, const char* table) {
  CAdoRecordSet rows(&connection);
  CString sql;
  sql.Format("select * from [%s]", table);
  const int opened = rows.Open(sql);
  const long count = opened == 1 ? rows.GetRecordCount() : opened == 0 ? 0 : -1;
  rows.Close();
  return count;
}

// Prints the scheme database's tables in the navigator's order with their row
// counts, four to a line. False when the database cannot be opened or a
// table is missing.
bool ShowSchemeTables(const char* heading) {
  const CString dbPath = SchemeDatabasePath();
  CAdoConnection connection;
  CString connect;
  connect.Format("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s", dbPath.GetString());
  if (!connection.Open(connect)) {
    Line("方案数据库打不开: " + Resolved(dbPath));
    return false;
  }
  CStringArray names;
  ListTableNames(connection, names);
  Line(std::string(heading) + ": " + Resolved(dbPath) + ", " + std::to_string(names.GetSize()) + " 个表");
  std::string row;
  int inRow = 0;
  bool allThere = true;
  for (const scheme_tables::TableDef& table : scheme_tables::kTables) {
    const bool present = HasTableName(names, table.name);
    allThere = allThere && present;
    const long count = present ? RowCount(connection, table.name) : -1;
    row += (inRow ? " | " : "  ") + std::string(table.name) + " " + (count < 0 ? "缺" : std::to_string(count));
    if (++inRow == 4) {
      Line(row);
      row.clear();
      inRow = 0;
    }
  }
  if (inRow) Line(row);
  connection.Close();
  return allThere;
}

// Runs one command body, printing its name before and its time after.
bool Step(const char* command, const char* what, const std::function<int()>& body) {
  Line("");
  Line(std::string("== ") + command + ": " + what);
  const auto start = std::chrono::steady_clock::now();
  const int result = body();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  char tail[96];
  std::snprintf(tail, sizeof tail, "%s %s (%.2f s)", command, result == 1 ? "完成" : "未完成", seconds);
  Line(tail);
  return result == 1;
}

// Plan coordinates of the drawing: survey x (north) up, y (east) to the right.
AcGePoint3d PlanPoint(double x, double y) { return AcGePoint3d(y, x, 0.0); }

// A polyline of `line` every `step` metres of mileage from `from` to `to`.
void DrawLine(const AlignmentModel& line, double from, double to, double step, int colour, const char* layer) {
  AcGePoint3dArray points;
  for (double m = from;; m += step) {
    LinePoint p{};
    p.mileage = std::min(m, to);
    if (BAS_DRAW_FUN::PointAtMileage(line.elements, line.elementCount, p) >= 0) points.append(PlanPoint(p.x, p.y));
    if (m >= to) break;
  }
  BAS_DRAW_FUN::AddPolyline2d(points, 0.0, 0.0, colour, layer);
}

// The plan drawing: the baseline and the detour lines, the land-take
// boundary of the designed sections on both sides, and the chainage of the
// sections on whole kilometres. Written as a DXF drawing; false when it cannot be saved.
bool DrawPlan(const CrossSectionDesigner& design, const std::string& path) {
  AcDbDatabase drawing(true);
  AcDbDatabase* previous = acdbHostApplicationServices()->workingDatabase();
  acdbHostApplicationServices()->setWorkingDatabase(&drawing);

  const AlignmentModel& base = *design.baseline;
  const double start = base.elements[0].mileage;
  const double end = base.elements[base.elementCount].mileage;
  DrawLine(base, start, end, 10.0, 1, "中线");
  for (int side : {-1, 1}) {
    const int count = side < 0 ? g_LeftDetourCount : g_RightDetourCount;
    for (int i = 0; i < count; ++i) {
      const CrossSectionDesigner* detour = DetourDesigner(side, i);
      if (detour == nullptr || detour->baseline == nullptr || !detour->baseline->IsBuilt()) continue;
      const AlignmentModel& line = *detour->baseline;
      DrawLine(line, line.elements[0].mileage, line.elements[line.elementCount].mileage, 10.0, 3, "绕行线");
    }
  }

  // The land-take boundary: each side's distance along the section's normal.
  AcGePoint3dArray boundary[2];
  for (const SectionRecord& section : design.sections) {
    LinePoint p{};
    p.mileage = section.mileage;
    if (BAS_DRAW_FUN::PointAtMileage(base.elements, base.elementCount, p) < 0) continue;
    const double distances[2] = {section.leftLandTake, section.rightLandTake};
    for (int k = 0; k < 2; ++k) {
      const double angle = p.bearing + (k == 0 ? -1.0 : 1.0) * 1.5707963267948966;
      boundary[k].append(
          PlanPoint(p.x + distances[k] * std::cos(angle), p.y + distances[k] * std::sin(angle)));
    }
  }
  for (const AcGePoint3dArray& side : boundary) BAS_DRAW_FUN::AddPolyline2d(side, 0.0, 0.0, 6, "用地界");

  drawing.setClayer(BAS_DRAW_FUN::GetOrAddLayer("里程"));

  // A chainage text at every section that stands on a whole kilometre.
  for (const SectionRecord& section : design.sections) {
    const char* plus = std::strchr(section.label, '+');
    if (plus == nullptr || std::fabs(std::atof(plus + 1)) > 1e-6) continue;
    LinePoint p{};
    p.mileage = section.mileage;
    if (BAS_DRAW_FUN::PointAtMileage(base.elements, base.elementCount, p) < 0) continue;
    const std::string text(section.label, static_cast<size_t>(plus - section.label) + 4);
    // The text stands square to the line, on its left.
    const double along = std::atan2(std::cos(p.bearing), std::sin(p.bearing));
    BAS_DRAW_FUN::AddTextEntity(PlanPoint(p.x, p.y), text.c_str(), along + 1.5707963267948966, 20.0, 7, 1, nullptr);
  }
  drawing.updateExt();
  const bool saved = platform::writeDxf(drawing, path) == Acad::eOk;
  acdbHostApplicationServices()->setWorkingDatabase(previous);
  return saved;
}

// PRINTHDM: every designed section drawn as plain polylines and texts into a
// drawing of its own, saved as DXF; false when it cannot be drawn or saved.
bool DrawSectionSheets(CrossSectionDesigner& design, const std::string& path) {
  platform::setCurrentDrawing(nullptr);
  if (design.CmdDrawSections(SectionDrawingChoice{}, 0) != 1) return false;
  AcDbDatabase* drawing = acdbHostApplicationServices()->workingDatabase();
  drawing->updateExt();
  return platform::writeDxf(*drawing, path) == Acad::eOk;
}

// Lists the files of the folder (not its sub-folders) with their sizes.
void ListFiles(const std::string& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    char size[32];
    std::snprintf(size, sizeof size, "%10ju  ", static_cast<std::uintmax_t>(fs::file_size(file, ec)));
    Line(std::string("  ") + size + file.filename().string());
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::error_code ec;
  fs::path install =
      argc > 1 ? fs::path(argv[1]) : fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "install";
  install = fs::absolute(install, ec);
  const CString module(platform::toWindowsPath((install / "corvane.arx").string()).c_str());
  SetModulePathSource([module] { return module; });

  if (!ReadProjectAndScheme()) return 1;
  const std::string project = Resolved(g_ProjectFolder);
  const std::string data = project + "/data";
  Line("项目: " + std::string(g_ProjectFolder.GetString()) + " (" + project + ")");
  Line("方案: " + std::string(g_SchemeName.GetString()));
  const CString lineKind = LineKindOfScheme();
  Line("线路: " + std::string(lineKind.GetString()));
  if (!ShowSchemeTables("方案数据库")) return 1;

  FillCutCommandOptions fillCut;
  fillCut.stationSource = kStationsGenerated;
  fillCut.interval = 20.0;
  fillCut.interpolateGroundLines = 1;
  CrossSectionDesigner caltwb;
  if (!Step("CALTWB", "填挖表与横断面地面线 (每 20 m, 数字地面模型内插)",
            [&] { return caltwb.CmdFillCutTables(fillCut); }))
    return 1;
  caltwb.FreeAllLines();

  const CString dmx = g_ProjectFolder + "\\data\\" + g_SchemeName + ".dmx";
  CrossSectionDesigner calhdmdmx;
  if (!Step("CALHDMDMX", "横断面地面线文件 (.dmx)",
            [&] { return calhdmdmx.CmdInterpolateGroundLines("", "", dmx); }))
    return 1;
  calhdmdmx.FreeAllLines();
  g_TerrainModel.Close();

  CrossSectionDesigner design;
  AutoDesignOptions options;
  options.lineKind = lineKind;
  options.threeD = 1;
  if (!Step("HDMDES", "横断面设计", [&] { return design.CmdAutoDesign(options); })) return 1;
  Line("设计断面: " + std::to_string(design.SectionCount()) + " (基线), 绕行段 " +
       std::to_string(g_LeftDetourCount) + " (左线) + " + std::to_string(g_RightDetourCount) + " (右线)");
  if (!Step("SAVEFILE", "保存设计结果与点文件", [&] { return design.SaveDesignResults(); })) return 1;

  const std::string sheets = data + "/横断面.dxf";
  if (!Step("PRINTHDM", "横断面图 (DXF, 供打印)", [&] { return DrawSectionSheets(design, sheets) ? 1 : 0; }))
    return 1;

  const std::string plan = data + "/平面.dxf";
  if (!Step("PLAN", "线路平面与用地界 (DXF)", [&] { return DrawPlan(design, plan) ? 1 : 0; })) return 1;
  design.FreeAllLines();

  CrossSectionDesigner caltsf;
  if (!Step("CALTSF", "土石方数量与路基数量表", [&] { return caltsf.CmdEarthworkToExcel(EarthworkChoice{}); }))
    return 1;
  caltsf.FreeAllLines();

  Line("");
  if (!ShowSchemeTables("方案数据库 (运行后)")) return 1;
  Line("");
  Line("文件 (" + data + "):");
  ListFiles(data);
  Line("路基数量表 (.xlsx) 用电子表格程序打开, 平面.dxf 与 横断面.dxf 用 CAD 程序打开, " + std::string(g_SchemeName.GetString()) +
       ".mdb 是 SQLite 数据库.");
  return 0;
}
