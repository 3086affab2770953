// The files of the sample project: the project and technical-parameter files
// read back by the system, the 36 tables with the rows the design gives them,
// and what running the program again into the same folder does.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "crt/paths.h"
#include "crt/textfile.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"
#include "quorra/SchemeTables.h"
#include "sample_support.h"

namespace {

using namespace sample_test;

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SampleFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SharedProject::Get().Made()) << SharedProject::Get().Error(); }
  const fs::path& folder() const { return SharedProject::Get().Folder(); }
};

TEST_F(SampleFilesTest, ProjectFileAndTechnicalParametersReadBack) {
  // "project" names the scheme as the outside programs write it: GBK, CRLF.
  EXPECT_EQ(FileBytes(folder() / "project"), fixtures::utf8ToGbk("方案1") + "\r\n");

  ProjectLocation location(folder());
  ASSERT_EQ(ReadProjectAndScheme(), 1);
  EXPECT_EQ(std::string(g_SchemeName.GetString()), "方案1");
  EXPECT_TRUE(fs::exists(platform::resolvePath(SchemeDatabasePath().GetString())));

  EXPECT_EQ(fs::file_size(folder() / "data" / "jishucanshu.dat"), 880u);
  ASSERT_EQ(ReadTechParams(), 1);
  EXPECT_EQ(std::string(TechParamName().GetString()), "青山至柳河铁路");
  EXPECT_EQ(TechDesignSpeed(), 120);
  EXPECT_EQ(TechLineKind(), 2);
  EXPECT_EQ(TechParam2(), 4.0);
  EXPECT_EQ(TechSubgradeSurfaceThickness(), static_cast<double>(0.6f));
  for (int side : {0, 1}) {
    EXPECT_EQ(TechSingleLineSpacing(side), static_cast<double>(7.7f));
    EXPECT_EQ(TechDoubleLineSpacing(side), static_cast<double>(11.7f));
    // The half widths of a track's roadbed agree for the single and the
    // double line: 7.7 / 2 = (11.7 - 4.0) / 2.
    EXPECT_NEAR((TechDoubleLineSpacing(side) - TechParam2()) / 2.0, TechSingleLineSpacing(side) / 2.0, 1e-5);
  }
  // The curve widening by radius: 0.4 below 1000, 0.3 below 2000, ... none
  // from 10000 on.
  EXPECT_EQ(TechStepKeyCount(), 5);
  const std::pair<double, float> widening[] = {{800, 0.4f}, {1200, 0.3f}, {2500, 0.2f},
                                               {3000, 0.15f}, {5000, 0.1f}, {12000, 0.0f}};
  for (const auto& [radius, value] : widening) EXPECT_EQ(LookupParamStepTable(radius), value) << radius;
}

TEST_F(SampleFilesTest, EveryTableOfTheSchemaHoldsItsRows) {
  // Rows the design gives each table; -1 where the count follows the ground
  // (checked below).
  const std::map<std::string, int> expected = {
      {"曲线表", sample::kCurveCount + 2},   {"断链表", 4},
      {"左线曲线表", sample::kCurveCount + 2 + 4}, {"左线断链表", 2},
      {"右线曲线表", sample::kCurveCount + 2 + 4}, {"右线断链表", 2},
      {"坡度表", static_cast<int>(std::size(sample::kGradePoints)) + 2},
      {"基线轨道结构", 5},  // two tunnels of slab track, and the rest
      {"标尺", 4},  // DK25, DK30, DK35, DK40
      {"左线绕行段坡度表", 3}, {"左线轨道结构", 3}, {"左线绕行段标尺", 1},
      {"右线绕行段坡度表", 3}, {"右线轨道结构", 1}, {"右线绕行段标尺", 1},
      {"隧道", 2}, {"小桥涵", -1}, {"车站", 2}, {"大中桥", 2}, {"水准点表", 10},
      {"导线表", 27},  // every 750 m over 20.15 km
      {"左线绕行段隧道", 1}, {"左线绕行段小桥涵", -1}, {"左线绕行段车站", 0}, {"左线绕行段大中桥", 0},
      {"左线绕行段水准点表", 1}, {"左线绕行段导线表", 3},
      {"右线绕行段隧道", 0}, {"右线绕行段小桥涵", -1}, {"右线绕行段车站", 0}, {"右线绕行段大中桥", 1},
      {"右线绕行段水准点表", 1}, {"右线绕行段导线表", 3},
      {"填挖表", -1}, {"左线绕行段填挖表", -1}, {"右线绕行段填挖表", -1},
  };
  ASSERT_EQ(expected.size(), 36u);
  for (const scheme_tables::TableDef& def : scheme_tables::kTables) {
    SCOPED_TRACE(def.name);
    const auto rows = Rows(std::string("select * from [") + def.name + "] order by ID");
    // The table as the navigator creates it: ID, the detour number where it
    // has one, then its layout.
    const auto one = Rows(std::string("select * from [") + def.name + "]");
    if (!one.empty()) {
      EXPECT_EQ(one[0].size(), static_cast<size_t>(def.layoutCount + 1 + (def.detourNumber ? 1 : 0)));
    }
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i][0], std::to_string(i + 1));  // numbered by the database
      if (def.detourNumber) {
        EXPECT_EQ(rows[i][1], "0");
      }
    }
    const int want = expected.at(def.name);
    if (want >= 0) {
      EXPECT_EQ(static_cast<int>(rows.size()), want);
    }
  }
  const size_t culverts = Rows("select * from 小桥涵").size();
  EXPECT_GE(culverts, 5u);
  EXPECT_LE(culverts, 10u);
  EXPECT_LE(Rows("select * from 左线绕行段小桥涵").size(), 1u);
  EXPECT_LE(Rows("select * from 右线绕行段小桥涵").size(), 1u);
  const double length = HandBaseline().end - 25000.0;
  EXPECT_GT(Rows("select * from 填挖表").size(), static_cast<size_t>(length / 20.0));
}

TEST_F(SampleFilesTest, GradeTablesStartWithTheSettingsRow) {
  const auto rows = Rows("select 变坡点里程冠号, 变坡点里程数, 设计高程, 坡度, 坡长, 竖曲线半径, 竖曲线长度, 附注 "
                         "from 坡度表 order by ID");
  ASSERT_EQ(rows.size(), std::size(sample::kGradePoints) + 2);
  // The start point: decimals of the elevations 2, grade type 0 (at the
  // formation shoulder), decimals of the grades 1.
  EXPECT_EQ(rows[0][0], "DK");
  EXPECT_EQ(rows[0][1], "25000");
  EXPECT_EQ(rows[0][3], "NULL");
  EXPECT_EQ(rows[0][4], "NULL");
  EXPECT_EQ(rows[0][5], "2");
  EXPECT_EQ(rows[0][6], "0");
  EXPECT_EQ(rows[0][7], "1");
  for (size_t i = 1; i < rows.size(); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    const double m0 = HandMileage(rows[i - 1][0], std::stod(rows[i - 1][1]));
    const double m1 = HandMileage(rows[i][0], std::stod(rows[i][1]));
    if (i + 1 < rows.size()) {
      EXPECT_EQ(rows[i][0], sample::kGradePoints[i - 1].prefix);
      EXPECT_EQ(std::stod(rows[i][1]), sample::kGradePoints[i - 1].chainage);
      EXPECT_EQ(rows[i][5], "10000");
    }
    const double permille = (std::stod(rows[i][2]) - std::stod(rows[i - 1][2])) / (m1 - m0) * 1000.0;
    EXPECT_NEAR(std::stod(rows[i][3]), permille, 0.05);
    EXPECT_LE(std::fabs(permille), 9.0);
    EXPECT_NEAR(std::stod(rows[i][4]), m1 - m0, 0.01);
  }
  // Level through both stations.
  EXPECT_EQ(rows[1][2], rows[0][2]);
  EXPECT_EQ(rows[9][2], rows[8][2]);
  // The last point is the end of the line.
  std::string prefix;
  const double end = HandChainage(HandBaseline().end, prefix);
  EXPECT_EQ(rows.back()[0], prefix);
  EXPECT_NEAR(std::stod(rows.back()[1]), end, 0.005);

  // The detours' grade lines start and end on the baseline's grade line.
  auto baseGrade = [&](double mileage) {
    for (size_t i = 1; i < rows.size(); ++i) {
      const double m0 = HandMileage(rows[i - 1][0], std::stod(rows[i - 1][1]));
      const double m1 = HandMileage(rows[i][0], std::stod(rows[i][1]));
      if (mileage > m1) continue;
      return std::stod(rows[i - 1][2]) + (std::stod(rows[i][2]) - std::stod(rows[i - 1][2])) * (mileage - m0) / (m1 - m0);
    }
    return 0.0;
  };
  for (const sample::DetourDesign* d : {&sample::kLeftDetour, &sample::kRightDetour}) {
    const auto detour = Rows(std::string("select 变坡点里程冠号, 变坡点里程数, 设计高程, 竖曲线半径 from ") +
                             (d->side < 0 ? "左线" : "右线") + "绕行段坡度表 order by ID");
    ASSERT_EQ(detour.size(), 3u);
    EXPECT_EQ(detour[0][0], d->prefix);
    EXPECT_EQ(std::stod(detour[0][1]), d->startChainage);
    EXPECT_EQ(detour[0][3], "2");
    EXPECT_NEAR(std::stod(detour[0][2]), baseGrade(HandMileage("DK", d->startChainage)), 0.006);
    EXPECT_NEAR(std::stod(detour[2][1]), d->startChainage + HandDetourLength(*d), 0.01);
    EXPECT_NEAR(std::stod(detour[2][2]), baseGrade(HandMileage("DK", d->endChainage)), 0.006);
  }
}

TEST_F(SampleFilesTest, StructuresLieOnTheirLines) {
  const double start = 25000.0, end = HandBaseline().end;
  struct Range {
    std::string name, startPrefix, endPrefix, tracks;
    double from, to;
  };
  std::vector<Range> ranges;
  for (const auto& r : Rows("select 隧道名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 线数 from 隧道"))
    ranges.push_back({r[0], r[1], r[3], r[5], std::stod(r[2]), std::stod(r[4])});
  for (const auto& r : Rows("select 桥梁名称, 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 线数, 桥全长 from 大中桥")) {
    ranges.push_back({r[0], r[1], r[3], r[5], std::stod(r[2]), std::stod(r[4])});
    EXPECT_NEAR(std::stod(r[6]), std::stod(r[4]) - std::stod(r[2]), 0.01);
  }
  ASSERT_EQ(ranges.size(), 4u);
  const double leftFrom = HandMileage("DK", sample::kLeftDetour.startChainage);
  const double leftTo = HandMileage("DK", sample::kLeftDetour.endChainage);
  for (const Range& r : ranges) {
    SCOPED_TRACE(r.name);
    const double a = HandMileage(r.startPrefix, r.from), b = HandMileage(r.endPrefix, r.to);
    EXPECT_LT(start, a);
    EXPECT_LT(a + 50.0, b);
    EXPECT_LT(b, end);
    // A structure inside the left line's detour carries the baseline alone;
    // the others carry both tracks.
    EXPECT_EQ(r.tracks, a > leftFrom && b < leftTo ? "1" : "2");
  }
  // The detours' own structures lie within the detours' own chainages.
  struct Own {
    const char* sql;
    const sample::DetourDesign& d;
  };
  const Own own[] = {{"select 起点里程冠号, 起点里程数, 终点里程数, 线数 from 左线绕行段隧道", sample::kLeftDetour},
                     {"select 起点里程冠号, 起点里程数, 终点里程数, 线数 from 右线绕行段大中桥", sample::kRightDetour}};
  for (const Own& o : own) {
    const auto rows = Rows(o.sql);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], o.d.prefix);
    EXPECT_GT(std::stod(rows[0][1]), o.d.startChainage + 400.0);
    EXPECT_LT(std::stod(rows[0][2]), o.d.startChainage + HandDetourLength(o.d) - 400.0);
    EXPECT_EQ(rows[0][3], "1");
  }
  // The stations as designed.
  const auto stations = Rows("select 车站名称, 站房中心里程冠号, 站房中心里程数, 起点里程数, 终点里程数, 插旗图块名 "
                             "from 车站 order by ID");
  ASSERT_EQ(stations.size(), std::size(sample::kStations));
  for (size_t i = 0; i < stations.size(); ++i) {
    const sample::StationDesign& s = sample::kStations[i];
    EXPECT_EQ(stations[i], (std::vector<std::string>{std::string(s.name) + "站", s.prefix, Shortest(s.centre),
                                                      Shortest(s.start), Shortest(s.end), s.flagBlock}));
  }
}

// ---- Running the program again -------------------------------------------------

class SampleRerunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // An install folder of its own, with the template, for the workdir.
    fs::create_directories(install / "lib");
    fs::copy_file(fs::path(RAIL_INSTALL_DIR) / "lib" / "标准.mdb", install / "lib" / "标准.mdb");
    options.folder = project.string();
    options.installFolder = install.string();
    options.interval = 200.0;  // fewer cross-sections: quicker
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  bool Make(std::string& error) {
    std::vector<std::string> summary;
    return sample::MakeSampleProject(options, summary, error);
  }

  fs::path root = ScratchPath("rerun");
  fs::path install = root / "install";
  fs::path project = root / "sample project";  // a blank in the name
  sample::ProjectOptions options;
};

TEST_F(SampleRerunTest, WorkdirNamesTheProjectAndASecondRunNeedsReplace) {
  options.setWorkdir = true;
  std::string error;
  ASSERT_TRUE(Make(error)) << error;

  // workdir holds the project folder in the Windows form, '$' for the blank.
  std::string windows = platform::toWindowsPath(project.string());
  for (char& c : windows)
    if (c == ' ') c = '$';
  EXPECT_EQ(FileBytes(install / "workdir"), windows + "\r\n");
  const ModulePathSource previous =
      SetModulePathSource([this] { return CString(platform::toWindowsPath((install / "corvane.arx").string()).c_str()); });
  EXPECT_EQ(ReadProjectAndScheme(), 1);
  EXPECT_EQ(platform::resolvePath(g_ProjectFolder.GetString()), project.string());
  SetModulePathSource(previous);

  // A second run is refused and changes nothing.
  const fs::path db = project / "data" / "方案1.mdb";
  const std::string before = FileBytes(db);
  options.setWorkdir = false;
  EXPECT_FALSE(Make(error));
  EXPECT_NE(error.find("--replace"), std::string::npos) << error;
  EXPECT_EQ(FileBytes(db), before);

  // With replace it is made again: what a design run left in data/ goes,
  // other files of the folder stay.
  fixtures::writeTextFile((project / "data" / "HdmResultData.方案1").string(), "1\n");
  fixtures::writeTextFile((project / "notes.txt").string(), "mine\n");
  options.replace = true;
  ASSERT_TRUE(Make(error)) << error;
  EXPECT_FALSE(fs::exists(project / "data" / "HdmResultData.方案1"));
  EXPECT_TRUE(fs::exists(project / "notes.txt"));
  EXPECT_TRUE(fs::exists(db));
  EXPECT_TRUE(fs::exists(project / "PMAP" / "TIN.tri"));
}

TEST_F(SampleRerunTest, FoldersItDidNotMakeAreRefused) {
  // A folder with other files, even with replace.
  fixtures::writeTextFile((project / "data" / "keep.txt").string(), "x\n");
  options.replace = true;
  std::string error;
  EXPECT_FALSE(Make(error));
  EXPECT_NE(error.find("not a sample project"), std::string::npos) << error;
  EXPECT_TRUE(fs::exists(project / "data" / "keep.txt"));
  EXPECT_FALSE(fs::exists(project / "project"));

  // A file in place of the folder; a missing template; a scheme name that is
  // no single word.
  fixtures::writeTextFile((root / "file").string(), "x\n");
  options.folder = (root / "file").string();
  EXPECT_FALSE(Make(error));
  options.folder = (root / "new").string();
  options.installFolder = (root / "nowhere").string();
  EXPECT_FALSE(Make(error));
  EXPECT_NE(error.find("template"), std::string::npos) << error;
  options.installFolder = install.string();
  options.scheme = "a\\b";
  EXPECT_FALSE(Make(error));
  EXPECT_FALSE(fs::exists(root / "new"));
}

TEST(SampleProgram, RefusesWrongArguments) {
  const std::string program = std::string(RAIL_BINARY_DIR) + "/bin/sample-project";
  for (const char* args : {"", " --interval x DIR", " --unknown DIR", " A B"}) {
    const int status = std::system((program + args + " 2>/dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << args;
  }
}

}  // namespace
