// make-techparams: its command line, and the files it writes read back by the
// system as a single-track and a double-track line.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ProjectFiles.h"
#include "TechParamsChoice.h"
#include "project/TechParams.h"
#include "sample_support.h"

namespace {

using namespace sample_test;

std::string Joined(const std::vector<std::string>& args) {
  std::string joined;
  for (const std::string& a : args) joined += a + " ";
  return joined;
}

TEST(MakeTechParams, TakesItsChoicesFromTheCommandLine) {
  struct Accepted {
    std::vector<std::string> args;
    int lineKind;
    int speed;
    double roadbed;
    double spacing;
    std::string name;
    std::string file;
  };
  const Accepted cases[] = {
      {{"--line", "single", "p/data/jishucanshu.dat"}, 1, 120, 7.7, 4.0, "", "p/data/jishucanshu.dat"},
      {{"--line", "double", "--speed", "160", "--spacing", "4.4", "--roadbed", "8.1", "--name", "长岭铁路", "f.dat"},
       2, 160, 8.1, 4.4, "长岭铁路", "f.dat"},
      {{"g.dat", "--line", "double"}, 2, 120, 7.7, 4.0, "", "g.dat"},
      // 11 Chinese characters fit with the NUL that ends them.
      {{"--line", "single", "--name", "一二三四五六七八九十一", "f.dat"}, 1, 120, 7.7, 4.0, "一二三四五六七八九十一",
       "f.dat"},
  };
  for (const Accepted& c : cases) {
    techparams::Choice choice;
    std::string error;
    ASSERT_TRUE(techparams::ParseArguments(c.args, choice, error)) << Joined(c.args) << error;
    EXPECT_EQ(choice.lineKind, c.lineKind) << Joined(c.args);
    EXPECT_EQ(choice.speed, c.speed) << Joined(c.args);
    EXPECT_DOUBLE_EQ(choice.roadbed, c.roadbed) << Joined(c.args);
    EXPECT_DOUBLE_EQ(choice.spacing, c.spacing) << Joined(c.args);
    EXPECT_EQ(choice.name, c.name) << Joined(c.args);
    EXPECT_EQ(choice.file, c.file) << Joined(c.args);
  }
}

TEST(MakeTechParams, RefusesACommandLineItCannotTake) {
  struct Refused {
    std::vector<std::string> args;
    std::string error;
  };
  const Refused cases[] = {
      {{"f.dat"}, "--line single or --line double is needed"},
      {{"--line", "single"}, "the file to write is needed (the project's data/jishucanshu.dat)"},
      {{"--line", "single", "a.dat", "b.dat"}, "one file is written, not 2"},
      {{"--line", "triple", "f.dat"}, "--line is single or double, not \"triple\""},
      {{"--line"}, "--line needs a value"},
      {{"--lines", "single", "f.dat"}, "unknown option --lines"},
      {{"--line", "single", "--speed", "0", "f.dat"}, "--speed is a whole number of km/h from 1 to 1000, not \"0\""},
      {{"--line", "single", "--speed", "120.5", "f.dat"},
       "--speed is a whole number of km/h from 1 to 1000, not \"120.5\""},
      {{"--line", "single", "--speed", "1001", "f.dat"},
       "--speed is a whole number of km/h from 1 to 1000, not \"1001\""},
      {{"--line", "single", "--roadbed", "-7.7", "f.dat"},
       "--roadbed is a number of metres above 0 and at most 50, not \"-7.7\""},
      {{"--line", "double", "--spacing", "nan", "f.dat"},
       "--spacing is a number of metres above 0 and at most 20, not \"nan\""},
      {{"--line", "double", "--spacing", "4m", "f.dat"},
       "--spacing is a number of metres above 0 and at most 20, not \"4m\""},
      {{"--line", "single", "--name", "一二三四五六七八九十一二", "f.dat"},
       "--name \"一二三四五六七八九十一二\" is 24 GBK bytes; the file holds 23 (11 Chinese characters)"},
  };
  for (const Refused& c : cases) {
    techparams::Choice choice;
    std::string error;
    EXPECT_FALSE(techparams::ParseArguments(c.args, choice, error)) << Joined(c.args);
    EXPECT_EQ(error, c.error) << Joined(c.args);
  }
}

std::string FileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes the file for `args` into a new project folder's data/ as the program
// does and reads it back through the system's reader.
fs::path WriteProject(const std::vector<std::string>& args) {
  const fs::path project = ScratchPath("techparams");
  techparams::Choice choice;
  std::string error;
  std::vector<std::string> all = args;
  all.push_back((project / "data" / "jishucanshu.dat").string());
  EXPECT_TRUE(techparams::ParseArguments(all, choice, error)) << error;
  EXPECT_TRUE(project_files::WriteTechParamsFile(choice.file, techparams::TechParamsOf(choice), &error)) << error;
  EXPECT_TRUE(project_files::WriteProjectFile(project.string(), "方案1", "project", &error)) << error;
  return project;
}

TEST(MakeTechParams, TheSystemReadsASingleAndADoubleTrackLine) {
  struct KindCase {
    std::vector<std::string> args;
    const char* lineKind;  // as the design and the fill/cut table take it
    double halfFormation;  // a track's half formation width, as the designer works it out
    double speed;
  };
  // 7.7 / 2 for the single line; (7.7 + 4.0 - 4.0) / 2 for the double one;
  // (8.1 + 4.4 - 4.4) / 2 with other widths.
  const KindCase cases[] = {
      {{"--line", "single"}, "单线", 3.85, 120},
      {{"--line", "double"}, "双线", 3.85, 120},
      {{"--line", "double", "--roadbed", "8.1", "--spacing", "4.4", "--speed", "200"}, "双线", 4.05, 200},
  };
  for (const KindCase& c : cases) {
    const fs::path project = WriteProject(c.args);
    EXPECT_EQ(fs::file_size(project / "data" / "jishucanshu.dat"), 880u);
    ProjectLocation location(project);
    ASSERT_EQ(ReadTechParams(), 1) << c.args[1];
    EXPECT_EQ(std::string(TechParamsProblem().GetString()), "");
    EXPECT_EQ(std::string(LineKindOfScheme().GetString()), c.lineKind);
    EXPECT_EQ(TechDesignSpeed(), c.speed);
    const bool single = std::string(c.lineKind) == "单线";
    for (int side : {0, 1}) {
      const double half = single ? TechSingleLineSpacing(side) / 2.0
                                 : (TechDoubleLineSpacing(side) - TechParam2()) / 2.0;
      EXPECT_NEAR(half, c.halfFormation, 1e-6) << c.args[1] << " side " << side;
    }
    // The curve widening: 0.4 m below R 1000, 0.15 below 5000, none from 10000.
    EXPECT_FLOAT_EQ(static_cast<float>(LookupParamStepTable(800)), 0.4f);
    EXPECT_FLOAT_EQ(static_cast<float>(LookupParamStepTable(4000)), 0.15f);
    EXPECT_FLOAT_EQ(static_cast<float>(LookupParamStepTable(10000)), 0.0f);
    EXPECT_FLOAT_EQ(static_cast<float>(TechSubgradeSurfaceThickness()), 0.6f);
  }
}

TEST(MakeTechParams, ADoubleTrackLineNamedAsTheSampleIsTheSamplesFile) {
  ASSERT_TRUE(SharedProject::Get().Made()) << SharedProject::Get().Error();
  const fs::path project = WriteProject({"--line", "double", "--name", "青山至柳河铁路"});
  EXPECT_EQ(FileBytes(project / "data" / "jishucanshu.dat"),
            FileBytes(SharedProject::Get().Folder() / "data" / "jishucanshu.dat"));
}

}  // namespace
