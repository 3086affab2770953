// The demo: shows the project that the install folder's workdir names (the
// sample project that scripts/demo makes): where its files are and the tables
// of its scheme database with their row counts, read through the system's own
// project location, database wrapper and table lister.
//
//   demo [INSTALL]   the install folder (default: install/ beside bin/)
#include <cstdio>
#include <filesystem>
#include <string>

#include "ado/AdoWrapper.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "mfc/collections.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "project/TableList.h"
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

// The point count of the terrain model (the first number of PtIndex.idx).
long TerrainPoints(const std::string& pmap) {
  FILE* f = platform::openFile((pmap + "/PtIndex.idx").c_str(), "r");
  long points = -1;
  if (f) {
    if (std::fscanf(f, "%ld", &points) != 1) points = -1;
    std::fclose(f);
  }
  return points;
}

}  // namespace

int main(int argc, char** argv) {
  std::error_code ec;
  fs::path install = argc > 1 ? fs::path(argv[1]) : fs::read_symlink("/proc/self/exe", ec).parent_path().parent_path() / "install";
  install = fs::absolute(install, ec);
  const CString module(platform::toWindowsPath((install / "corvane.arx").string()).c_str());
  SetModulePathSource([module] { return module; });

  if (!ReadProjectAndScheme()) return 1;
  const std::string project = Resolved(g_ProjectFolder);
  Line("项目: " + std::string(g_ProjectFolder.GetString()) + " (" + project + ")");
  Line("方案: " + std::string(g_SchemeName.GetString()));

  const CString dbPath = SchemeDatabasePath();
  CAdoConnection connection;
  CString connect;
  connect.Format("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=%s", dbPath.GetString());
  if (!connection.Open(connect)) {
    Line("方案数据库打不开: " + Resolved(dbPath));
    return 1;
  }
  CStringArray names;
  ListTableNames(connection, names);
  Line("方案数据库: " + Resolved(dbPath) + ", " + std::to_string(names.GetSize()) + " 个表");
  // The tables in the navigator's order, four to a line.
  std::string row;
  int inRow = 0;
  bool allThere = true;
  for (const scheme_tables::TableDef& table : scheme_tables::kTables) {
    const bool present = HasTableName(names, table.name);
    allThere = allThere && present;
    const long count = present ? RowCount(connection, table.name) : -1;
    char cell[128];
    std::snprintf(cell, sizeof cell, "%s %s", table.name, count < 0 ? "缺" : std::to_string(count).c_str());
    row += (inRow ? " | " : "  ") + std::string(cell);
    if (++inRow == 4) {
      Line(row);
      row.clear();
      inRow = 0;
    }
  }
  if (inRow) Line(row);
  connection.Close();

  const std::string pmap = Resolved(g_ProjectFolder + "\\PMAP");
  Line("数字地面模型: " + pmap + " (" + std::to_string(TerrainPoints(pmap)) + " 点)");
  Line("技术参数: " + Resolved(TechParamsFilePath()));
  Line("workdir: " + (install / "workdir").string());
  return allThere ? 0 : 1;
}
