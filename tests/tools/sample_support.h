#pragma once
// The sample project for the sample-project tests: made once per test program
// under the test's temporary folder (removed at exit), with the project
// location pointed at it while a test reads it, and the design values worked
// by hand that the tests check it against.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "SampleDesign.h"
#include "SampleProject.h"
#include "corvane/data/alignment_support.h"
#include "fixtures/project_fixture.h"
#include "fixtures/scheme_db.h"
#include "project/ModulePath.h"

namespace sample_test {

namespace fs = std::filesystem;

// A fresh folder path (not made) under the test's temporary folder.
inline fs::path ScratchPath(const std::string& name) {
  static int counter = 0;
  return fs::path(::testing::TempDir()) /
         ("sample_" + std::to_string(::getpid()) + "_" + std::to_string(counter++) + "_" + name);
}

// The sample project made with the default options (cross-sections every
// 20 m).
//
// CTest runs every test in a process of its own, so the project is made once
// for all of them: in the build's test scratch folder, in a folder named after
// this test program's build (its time and size), made under a lock by the
// first process that needs it and kept for the next ones (and the next runs);
// a rebuilt test program makes a new one and removes the older ones.
class SharedProject {
 public:
  static SharedProject& Get() {
    static SharedProject project;
    return project;
  }
  const fs::path& Folder() const { return m_folder; }
  bool Made() const { return m_made; }
  const std::string& Error() const { return m_error; }
  std::string Database() const { return (m_folder / "data" / "方案1.mdb").string(); }

 private:
  SharedProject() {
    struct stat self {};
    ::stat("/proc/self/exe", &self);
    const std::string stem = "sample_shared_";
    const std::string key = std::to_string(self.st_mtim.tv_sec) + "_" + std::to_string(self.st_mtim.tv_nsec) + "_" +
                            std::to_string(self.st_size);
    const fs::path base = fs::path(RAIL_BINARY_DIR) / "test-tmp";
    fs::create_directories(base);
    m_folder = base / (stem + key);
    const int lock = ::open((base / "sample_shared.lock").c_str(), O_CREAT | O_RDWR, 0644);
    if (lock >= 0) ::flock(lock, LOCK_EX);
    std::error_code ec;
    if (fs::exists(m_folder / sample::kSummaryFileName, ec)) {
      m_made = true;
    } else {
      std::vector<fs::path> older;
      for (const fs::directory_entry& e : fs::directory_iterator(base, ec))
        if (e.path().filename().string().rfind(stem, 0) == 0) older.push_back(e.path());
      for (const fs::path& p : older) fs::remove_all(p, ec);
      const fs::path part = base / (stem + key + ".part" + std::to_string(::getpid()));
      m_made = Make(part);
      if (m_made) fs::rename(part, m_folder, ec);
      if (ec) {
        m_made = false;
        m_error = "cannot put the sample project in place: " + ec.message();
        fs::remove_all(part, ec);
      }
    }
    if (lock >= 0) ::close(lock);
  }
  bool Make(const fs::path& folder) {
    sample::ProjectOptions options;
    options.folder = folder.string();
    options.installFolder = RAIL_INSTALL_DIR;
    std::vector<std::string> summary;
    return sample::MakeSampleProject(options, summary, m_error);
  }
  fs::path m_folder;
  bool m_made = false;
  std::string m_error;
};

// While it lives, the system's project location (workdir of a scratch install
// folder) names `project`, so that the models read its technical parameters.
class ProjectLocation {
 public:
  explicit ProjectLocation(const fs::path& project) {
    fixtures::writeWorkdir(m_install.linuxPath(), "Z:" + project.string());
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx")); });
  }
  ~ProjectLocation() { SetModulePathSource(m_previous); }
  ProjectLocation(const ProjectLocation&) = delete;
  ProjectLocation& operator=(const ProjectLocation&) = delete;

 private:
  fixtures::DriveScratch m_install{'C'};
  ModulePathSource m_previous;
};

// The rows of a table of the shared project, as texts.
inline std::vector<std::vector<std::string>> Rows(const std::string& sql) {
  std::string error;
  auto rows = fixtures::QueryRows(SharedProject::Get().Database(), sql, &error);
  EXPECT_TRUE(error.empty()) << error;
  return rows;
}

// A number as the database query gives it back: its shortest form.
inline std::string Shortest(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", v);
  return buffer;
}

// ---- The design by hand ----------------------------------------------------------

// A packed angle d.mmss (signed) in radians.
inline double DmsRadians(double dms) {
  const double v = std::fabs(dms);
  const double degrees = std::floor(v + 1e-9);
  const double minutes = std::floor((v - degrees) * 100.0 + 1e-7);
  const double seconds = ((v - degrees) * 100.0 - minutes) * 100.0;
  const double r = alignment_test::Radians(degrees + minutes / 60.0 + seconds / 3600.0);
  return dms < 0 ? -r : r;
}

struct HandCurve {
  double ZH, HZ, T, L;
};
// The baseline worked from its design: the intersection points (start, the
// curves' points, end), each curve's key points and the end mileage.
struct HandLine {
  std::vector<double> x, y;
  std::vector<HandCurve> curves;  // curves[0] is the first curve
  double end = 0.0;
};
inline HandLine HandBaseline() {
  HandLine h;
  double x = sample::kStartN, y = sample::kStartE;
  double bearing = DmsRadians(sample::kStartBearingDms);
  h.x.push_back(x);
  h.y.push_back(y);
  double hz = sample::kStartChainage, t2 = 0.0;
  for (const sample::CurveDesign& c : sample::kCurves) {
    x += c.legBefore * std::cos(bearing);
    y += c.legBefore * std::sin(bearing);
    h.x.push_back(x);
    h.y.push_back(y);
    const double a = DmsRadians(c.deflectionDms);
    const alignment_test::CurveByHand curve = alignment_test::Curve(std::fabs(a), c.R, c.L, c.L);
    const double zh = hz + c.legBefore - t2 - curve.T1;
    h.curves.push_back({zh, zh + curve.L, curve.T1, curve.L});
    hz = zh + curve.L;
    t2 = curve.T2;
    bearing += a;
  }
  h.x.push_back(x + sample::kLastLeg * std::cos(bearing));
  h.y.push_back(y + sample::kLastLeg * std::sin(bearing));
  h.end = hz + sample::kLastLeg - t2;
  return h;
}

// Baseline chainage of a mileage and back: the start chainage is the start
// mileage; the short chain adds its length, the long chain takes its length
// off and changes the prefix.
inline double ShortChainMileage() { return sample::kShortChain.before; }
inline double LongChainMileage() {
  return sample::kShortChain.before + (sample::kLongChain.before - sample::kShortChain.after);
}
inline double HandChainage(double mileage, std::string& prefix) {
  const double shortLength = sample::kShortChain.after - sample::kShortChain.before;
  const double longLength = sample::kLongChain.after - sample::kLongChain.before;
  prefix = mileage < LongChainMileage() ? "DK" : "D1K";
  if (mileage < ShortChainMileage()) return mileage;
  if (mileage < LongChainMileage()) return mileage + shortLength;
  return mileage + shortLength + longLength;
}
inline double HandMileage(const std::string& prefix, double chainage) {
  const double shortLength = sample::kShortChain.after - sample::kShortChain.before;
  const double longLength = sample::kLongChain.after - sample::kLongChain.before;
  if (prefix == "D1K") return chainage - shortLength - longLength;
  return chainage < sample::kShortChain.before ? chainage : chainage - shortLength;
}

// The length of a detour from its design: a lead-in, two reverse curves out,
// the parallel stretch, two reverse curves back and a lead-out, over the
// span of baseline chainage between its ends (on one straight).
inline double HandDetourLength(const sample::DetourDesign& d) {
  const double theta = DmsRadians(sample::kDetourDeflectionDms);
  const double shift = std::fabs(d.detourOffset - d.baseOffset);
  const double span = d.endChainage - d.startChainage;
  const double slanted = shift / std::sin(theta);
  const double along = shift / std::tan(theta);
  const double legs = 2.0 * sample::kDetourLeadIn + 2.0 * slanted + (span - 2.0 * sample::kDetourLeadIn - 2.0 * along);
  const alignment_test::CurveByHand c = alignment_test::Curve(theta, sample::kDetourR, sample::kDetourL, sample::kDetourL);
  return legs - 4.0 * (c.T1 + c.T2 - c.L);
}

}  // namespace sample_test
