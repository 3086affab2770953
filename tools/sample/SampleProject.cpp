#include "SampleProject.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "ProjectFiles.h"
#include "SampleDesign.h"
#include "SampleLineView.h"
#include "SampleScheme.h"
#include "SampleTables.h"
#include "TerrainDelaunay.h"
#include "crt/paths.h"
#include "project/ModulePath.h"

namespace fs = std::filesystem;

namespace sample {

namespace {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

project_files::TechParamsData TechParams() {
  project_files::TechParamsData d;
  d.name = kLineName;
  d.speed = kDesignSpeed;
  d.lineKind = kLineKind;
  d.param2 = static_cast<float>(kLineSpacing);
  d.subgradeThickness = static_cast<float>(kSurfaceLayer);
  d.singleSpacing[0] = d.singleSpacing[1] = static_cast<float>(kSingleRoadbed);
  d.doubleSpacing[0] = d.doubleSpacing[1] = static_cast<float>(kDoubleRoadbed);
  d.stepKeyCount = 5;
  for (int i = 0; i < 5; ++i) d.stepKeys[i] = kWideningKeys[i];
  for (int i = 0; i < 6; ++i) d.stepValues[i] = static_cast<float>(kWideningValues[i]);
  return d;
}

// The files and folders a sample project consists of.
const char* const kMadeEntries[] = {"project", "PROJECT", "data", "PMAP", kSummaryFileName};

void RemoveMade(const fs::path& folder) {
  std::error_code ec;
  for (const char* entry : kMadeEntries) fs::remove_all(folder / entry, ec);
}

// Makes sure the folder may take the project (making it when it is missing:
// `made` tells); clears an earlier sample project when asked to.
bool PrepareFolder(const fs::path& folder, bool replace, bool& made, std::string& error) {
  std::error_code ec;
  made = false;
  if (!fs::exists(folder, ec)) {
    fs::create_directories(folder, ec);
    if (ec) error = "cannot make " + folder.string() + ": " + ec.message();
    made = !ec;
    return !ec;
  }
  if (!fs::is_directory(folder, ec)) {
    error = folder.string() + " is not a folder";
    return false;
  }
  if (fs::is_empty(folder, ec)) return true;
  if (!fs::exists(folder / kSummaryFileName, ec)) {
    error = folder.string() + " holds files that are not a sample project; give an empty or new folder";
    return false;
  }
  if (!replace) {
    error = folder.string() + " holds a sample project already; give --replace to make it again";
    return false;
  }
  RemoveMade(folder);
  return true;
}

// While it lives, the system's project location finds the project through
// `workdir` of an install folder: the given one (when its workdir is to name
// the project) or a scratch one. Unless kept, the given install folder's
// workdir gets its former content back.
class ProjectLocationScope {
 public:
  ProjectLocationScope() = default;
  ~ProjectLocationScope() {
    if (m_active) SetModulePathSource(m_previous);
    std::error_code ec;
    if (!m_scratch.empty()) fs::remove_all(m_scratch, ec);
    if (!m_kept && !m_workdir.empty()) {
      if (m_formerWorkdir) {
        std::ofstream(m_workdir, std::ios::binary | std::ios::trunc) << *m_formerWorkdir;
      } else {
        fs::remove(m_workdir, ec);
      }
    }
  }
  ProjectLocationScope(const ProjectLocationScope&) = delete;
  ProjectLocationScope& operator=(const ProjectLocationScope&) = delete;

  bool Open(const fs::path& project, const fs::path& installFolder, bool setWorkdir, std::string& error) {
    fs::path install = installFolder;
    if (setWorkdir) {
      m_workdir = install / "workdir";
      std::ifstream former(m_workdir, std::ios::binary);
      if (former) m_formerWorkdir = std::string(std::istreambuf_iterator<char>(former), {});
    } else {
      const char* tmp = std::getenv("TMPDIR");
      std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/sample-install-XXXXXX";
      if (!::mkdtemp(pattern.data())) {
        error = "cannot make a scratch folder in " + pattern;
        return false;
      }
      m_scratch = pattern;
      install = m_scratch;
    }
    if (!project_files::WriteWorkdir(install.string(), platform::toWindowsPath(project.string()), "", &error))
      return false;
    const CString module(platform::toWindowsPath((install / "corvane.arx").string()).c_str());
    m_previous = SetModulePathSource([module] { return module; });
    m_active = true;
    return true;
  }
  void Keep() { m_kept = true; }

 private:
  bool m_active = false;
  bool m_kept = false;
  ModulePathSource m_previous;
  fs::path m_scratch;
  fs::path m_workdir;
  std::optional<std::string> m_formerWorkdir;
};

std::vector<std::string> Summarize(const SampleScheme& scheme, const ProjectOptions& options, const fs::path& folder,
                                   const terrain::TerrainSummary& terrain) {
  std::vector<std::string> lines;
  lines.push_back(Printf("sample project in %s, scheme %s (%s, %d km/h, double line)", folder.c_str(),
                         options.scheme.c_str(), kLineName, kDesignSpeed));
  double rMin = 1e9, rMax = 0.0, lMin = 1e9, lMax = 0.0;
  for (const CurveDesign& c : kCurves) {
    rMin = std::min(rMin, c.R);
    rMax = std::max(rMax, c.R);
    lMin = std::min(lMin, c.L);
    lMax = std::max(lMax, c.L);
  }
  lines.push_back(Printf("baseline: %s to %s, %.3f m, %d curves (R %.0f to %.0f m, transitions %.0f to %.0f m)",
                         scheme.StartChainageText().c_str(), scheme.EndChainageText().c_str(),
                         scheme.EndMileage() - scheme.StartMileage(), kCurveCount, rMin, rMax, lMin, lMax));
  auto label = [](const char* prefix, double value) { return ChainageLabel(prefix, value); };
  lines.push_back(Printf("breaks: short chain %s = %s (%.2f m), long chain %s = %s (%.2f m)",
                         label(kShortChain.prefixBefore, kShortChain.before).c_str(),
                         label(kShortChain.prefixAfter, kShortChain.after).c_str(), kShortChain.after - kShortChain.before,
                         label(kLongChain.prefixBefore, kLongChain.before).c_str(),
                         label(kLongChain.prefixAfter, kLongChain.after).c_str(), kLongChain.before - kLongChain.after));
  for (const DetourResult& d : scheme.Detours()) {
    const DetourDesign& design = d.side < 0 ? kLeftDetour : kRightDetour;
    lines.push_back(Printf("%s line: %s; detour section 0 from %s to %s (baseline mileage %.2f to %.2f), "
                           "its own chainage %s to %s, %.3f m long, %.0f m %s of the baseline",
                           d.side < 0 ? "left" : "right",
                           d.side < 0 ? "the second track, 4 m left of the baseline" : "on the baseline",
                           label("DK", design.startChainage).c_str(), label("DK", design.endChainage).c_str(),
                           d.baselineStart, d.baselineEnd, label(d.prefix.c_str(), d.startChainage).c_str(),
                           label(d.prefix.c_str(), d.endChainage).c_str(), d.length, std::fabs(design.detourOffset),
                           d.side < 0 ? "left" : "right"));
  }
  int culverts[3] = {0, 0, 0};
  for (const Structure& s : scheme.Structures()) {
    const char* line = s.line < 0 ? " (left detour)" : s.line > 0 ? " (right detour)" : "";
    switch (s.kind) {
      case Structure::kBridge:
        lines.push_back(Printf("bridge %s%s: %s to %s, %s", s.name.c_str(), line, s.startText.c_str(),
                               s.endText.c_str(), s.spanText.c_str()));
        break;
      case Structure::kTunnel:
        lines.push_back(Printf("tunnel %s%s: %s to %s", s.name.c_str(), line, s.startText.c_str(), s.endText.c_str()));
        break;
      case Structure::kStation:
        lines.push_back(Printf("station %s: %s to %s", s.name.c_str(), s.startText.c_str(), s.endText.c_str()));
        break;
      case Structure::kCulvert:
        ++culverts[s.line + 1];
        break;
    }
  }
  const Table* fillCut = scheme.FindTable("填挖表");
  const Table* benchMarks = scheme.FindTable("水准点表");
  const Table* traverse = scheme.FindTable("导线表");
  lines.push_back(Printf("culverts: %d on the baseline, %d and %d on the left and right detours; %zu bench marks; "
                         "%zu traverse points; %zu cross-sections (every %.0f m)",
                         culverts[1], culverts[0], culverts[2], benchMarks ? benchMarks->rows.size() : 0,
                         traverse ? traverse->rows.size() : 0, fillCut ? fillCut->rows.size() : 0, options.interval));
  lines.push_back(Printf("earthwork: fill up to %.1f m, cut up to %.1f m outside bridges and tunnels", scheme.MaxFill(),
                         scheme.MaxCut()));
  lines.push_back(Printf("terrain: %d points, %d triangles in PMAP", terrain.points, terrain.triangles));
  return lines;
}

bool WriteSummary(const fs::path& path, const std::vector<std::string>& lines, std::string& error) {
  std::ofstream out(path, std::ios::trunc);
  for (const std::string& line : lines) out << line << '\n';
  if (!out) error = "cannot write " + path.string();
  return static_cast<bool>(out);
}

}  // namespace

bool MakeSampleProject(const ProjectOptions& options, std::vector<std::string>& summary, std::string& error) {
  if (options.folder.empty()) {
    error = "no project folder given";
    return false;
  }
  if (!(options.interval >= 1.0 && options.interval <= 1000.0)) {
    error = "the interval of the cross-sections must lie between 1 and 1000 m";
    return false;
  }
  std::error_code ec;
  const fs::path folder = fs::absolute(options.folder, ec).lexically_normal();
  const fs::path install = fs::absolute(options.installFolder, ec).lexically_normal();
  const fs::path templatePath = install / "lib" / "标准.mdb";
  if (!fs::is_regular_file(templatePath, ec)) {
    error = "the template database " + templatePath.string() + " is missing";
    return false;
  }
  if (options.scheme.empty() || options.scheme.find_first_of("\\/ \t") != std::string::npos) {
    error = "the scheme name must be one word without path separators";
    return false;
  }
  bool madeFolder = false;
  if (!PrepareFolder(folder, options.replace, madeFolder, error)) return false;

  // From here on a failure takes away what was made.
  auto failed = [&](const std::string& why) {
    RemoveMade(folder);
    std::error_code ignored;
    if (madeFolder) fs::remove(folder, ignored);
    error = why;
    return false;
  };
  const fs::path data = folder / "data";
  fs::create_directories(data, ec);
  if (ec) return failed("cannot make " + data.string() + ": " + ec.message());
  if (!project_files::WriteProjectFile(folder.string(), options.scheme, "project", &error) ||
      !project_files::WriteTechParamsFile((data / "jishucanshu.dat").string(), TechParams(), &error))
    return failed(error);

  // The alignment models read the project's technical parameters.
  ProjectLocationScope location;
  if (!location.Open(folder, install, options.setWorkdir, error)) return failed(error);

  SampleScheme scheme;
  if (!scheme.Build(options.interval, error)) return failed("the sample scheme does not hold together: " + error);
  const fs::path db = data / (options.scheme + ".mdb");
  if (!WriteSchemeDatabase(templatePath.string(), db.string(), scheme.Tables(), error)) return failed(error);

  terrain::TerrainSummary terrain;
  std::vector<std::string> notes;
  if (!terrain::MakeTerrainFiles(scheme.TerrainPoints(), (folder / "PMAP").string(), terrain, notes, error))
    return failed("terrain model: " + error);

  summary = Summarize(scheme, options, folder, terrain);
  if (options.setWorkdir) summary.push_back("workdir: " + (install / "workdir").string() + " names this folder");
  if (!WriteSummary(folder / kSummaryFileName, summary, error)) return failed(error);
  location.Keep();
  return true;
}

}  // namespace sample
