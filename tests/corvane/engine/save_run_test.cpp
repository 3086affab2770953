// The save run of SAVEFILE on designers imported from the fixture schemes:
// which files it writes, reading them back, and how it ends when it cannot
// go on.

#include <algorithm>
#include <filesystem>
#include <vector>

#include "corvane/engine/earthwork_support.h"
#include "corvane/data/import_support.h"

namespace {

using earthwork_test::Lines;
using earthwork_test::ReadText;
using earthwork_test::Section;

class SaveRunTest : public import_test::SchemeImportTest {
 protected:
  void TearDown() override {
    g_ProjectFolder.Empty();
    g_SchemeName.Empty();
    SchemeImportTest::TearDown();
  }
  void Import(bool doubleTrack) {
    std::string error;
    ASSERT_TRUE(doubleTrack ? fixtures::BuildDoubleTrackScheme(m_db, &error)
                            : fixtures::BuildSingleTrackScheme(m_db, &error))
        << error;
    ASSERT_EQ(ReadProjectAndScheme(), 1);
    d.lineKind = doubleTrack ? "双线" : "单线";
    ASSERT_EQ(d.ReadSchemeAlignment(m_dbWindows.c_str(), doubleTrack, doubleTrack), 1);
  }
  std::string DataFile(const std::string& name) const { return m_projects.linuxPath("P/data/" + name + ".S1"); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(DataFile(name)); }

  // The 挖方分类 row of the whole line: classes I to VI.
  void Classes(std::initializer_list<double> percent) {
    d.excavationClass.Replace(1);
    d.excavationClass.rows[0].endMileage = 1.0e7;
    int k = 0;
    for (double p : percent) d.excavationClass.rows[0].percent[k++] = p;
  }

  CrossSectionDesigner d;
};

TEST_F(SaveRunTest, NothingDesignedNothingSaved) {
  Import(false);
  struct Case {
    const char* name;
    bool sections, designed;
  } cases[] = {{"no sections", false, true}, {"not designed", true, false}};
  for (const Case& c : cases) {
    d.sections.clear();
    if (c.sections) d.sections = {Section(100, 0, 10)};
    d.sectionsDesigned = c.designed;
    platform::TranscriptCapture transcript;
    EXPECT_EQ(d.SaveDesignResults(), 0) << c.name;
    EXPECT_TRUE(transcript.contains("没有设计横断面")) << c.name;
    EXPECT_FALSE(Exists("HdmResultData")) << c.name;
  }
  CrossSectionDesigner fresh;  // no alignment at all
  fresh.sectionsDesigned = 1;
  fresh.sections = {Section(100, 0, 10)};
  EXPECT_EQ(fresh.SaveDesignResults(), 0);
}

TEST_F(SaveRunTest, SingleLineFilesAreWrittenAndReadBack) {
  Import(false);
  d.sections = {Section(100, 0, 10), Section(225, kBridgeInside, 20), Section(400, 0, 40)};
  Classes({10, 20, 30, 40, 0, 0});
  d.sectionsDesigned = 1;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.SaveDesignResults(), 1);
  EXPECT_TRUE(transcript.contains("3D OK!\n"));
  for (const char* name : {"HdmResultData", "HdmDetailArea", "ZdkData", "PMZTT", "BJPT", "3DFW", "Zx3d", "Yx3d",
                           "bribase"})
    EXPECT_TRUE(Exists(name)) << name;
  for (const char* name : {"HdmRXDResultData", "HdmRXDDetailArea", "RXDZdkData", "RXDPMZTT", "RXDBJPT"})
    EXPECT_FALSE(Exists(name)) << name;
  EXPECT_EQ(Lines(ReadText(DataFile("HdmResultData")))[0], "3");
  EXPECT_EQ(Lines(ReadText(DataFile("HdmDetailArea")))[0], "3");

  // A designer of its own reads them back: mileages, codes and areas; the
  // class areas, which the files do not hold, come again from the 挖方分类
  // row and the cut areas read back.
  CrossSectionDesigner r;
  r.lineKind = "单线";
  ASSERT_EQ(r.ReadSectionResults(), 1);
  ASSERT_EQ(r.ReadSectionAreas(), 1);
  ASSERT_EQ(r.SectionCount(), 3);
  for (int i = 0; i < 3; ++i) {
    const SectionRecord& a = d.sections[static_cast<size_t>(i)];
    const SectionRecord& b = r.sections[static_cast<size_t>(i)];
    EXPECT_DOUBLE_EQ(b.mileage, a.mileage);
    EXPECT_EQ(b.leftCode, a.leftCode);
    EXPECT_DOUBLE_EQ(b.areas.fill, a.areas.fill);
    EXPECT_DOUBLE_EQ(b.areas.cut, a.areas.cut);
    EXPECT_DOUBLE_EQ(b.areas.turfLength, a.areas.turfLength);
    EXPECT_DOUBLE_EQ(b.areas.excavationClass[0], 0.0);
  }
  r.excavationClass.Replace(1);
  r.excavationClass.rows[0].endMileage = 1.0e7;
  r.excavationClass.rows[0].percent[1] = 20;
  r.SetAllExcavationClassAreas();
  EXPECT_DOUBLE_EQ(r.sections[2].areas.excavationClass[1], 0.2 * 41.0);
  // The saved ones were set from the row before the records were written.
  EXPECT_DOUBLE_EQ(d.sections[2].areas.excavationClass[3], 0.4 * 41.0);
}

TEST_F(SaveRunTest, ExcavationPercentagesOverAHundredAreReportedOnce) {
  Import(false);
  d.sections = {Section(100, 0, 10), Section(200, 0, 20), Section(400, 0, 40)};
  Classes({60, 50, 0, 0, 0, 0});
  d.sectionsDesigned = 1;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.SaveDesignResults(), 1);
  const std::string& text = transcript.text();
  const std::string message = "挖方分类数据有误, 百分比超过100, 请查错!";
  const size_t first = text.find(message);
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(text.find(message, first + 1), std::string::npos);
  EXPECT_DOUBLE_EQ(d.sections[0].areas.excavationClass[0], 0.6 * 11.0);  // still set
}

// Six percentages that add up to exactly 101 % pass, although their sum in
// binary comes out a little above 1.01 (11.5 + 39.3 + 5.8 + 17.6 + 6.9 +
// 19.9); 101.01 % does not. The save run and the design run judge a row
// alike, each with its own message.
TEST_F(SaveRunTest, ExcavationPercentagesOfExactly101PercentPassTheSaveAndTheDesign) {
  Import(false);
  struct Case {
    const char* what;
    std::vector<double> percent;
    bool warned;
  };
  const std::vector<Case> cases = {
      {"101 % in six shares", {11.5, 39.3, 5.8, 17.6, 6.9, 19.9}, false},
      {"101 % in one share", {101.0, 0, 0, 0, 0, 0}, false},
      {"100 %", {10, 20, 30, 40, 0, 0}, false},
      {"101.01 %", {11.51, 39.3, 5.8, 17.6, 6.9, 19.9}, true},
      {"101.5 %", {50.0, 30.0, 21.5, 0, 0, 0}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    d.sections = {Section(100, 0, 10), Section(200, 0, 20)};
    d.excavationClass.Replace(1);
    d.excavationClass.rows[0].endMileage = 1.0e7;
    std::copy(c.percent.begin(), c.percent.end(), d.excavationClass.rows[0].percent);
    d.sectionsDesigned = 1;
    {
      platform::TranscriptCapture transcript;
      d.SaveResultFiles();
      EXPECT_EQ(transcript.contains("挖方分类数据有误, 百分比超过100, 请查错!"), c.warned) << transcript.text();
    }
    {
      platform::TranscriptCapture transcript;
      ASSERT_EQ(d.DesignAllSections(), 5100);
      EXPECT_EQ(transcript.contains("挖方分类数据有误, 百分比超过100%, 请查错!"), c.warned) << transcript.text();
    }
    EXPECT_EQ(CrossSectionDesigner::ExcavationSharesOverLimit(d.ExcavationShareSum(0)), c.warned);
  }
}

TEST_F(SaveRunTest, DoubleLineWritesTheDetourFiles) {
  Import(true);
  ASSERT_EQ(g_LeftDetourCount, 1);
  ASSERT_EQ(g_RightDetourCount, 1);
  d.sectionsDesigned = 1;
  ASSERT_EQ(d.SaveDesignResults(), 1);
  for (const char* name : {"HdmRXDResultData", "HdmRXDDetailArea", "RXDZdkData", "RXDPMZTT", "RXDBJPT"})
    EXPECT_EQ(Lines(ReadText(DataFile(name)))[0], "1 1") << name;
}

TEST_F(SaveRunTest, DetourDesignerThatLostItsSectionsKeepsTheDetourFiles) {
  Import(true);
  d.sectionsDesigned = 1;
  fixtures::writeTextFile(DataFile("HdmRXDResultData"), "kept\n");
  DetourDesigner(1, 0)->FreeTables();  // as another command's end leaves it
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.SaveDesignResults(), 1);
  EXPECT_TRUE(transcript.contains("绕行段没有设计横断面, 未更新绕行段文件!"));
  EXPECT_EQ(ReadText(DataFile("HdmRXDResultData")), "kept\n");
  EXPECT_FALSE(Exists("RXDZdkData"));
  EXPECT_TRUE(Exists("HdmResultData"));
  EXPECT_TRUE(transcript.contains("3D OK!"));
}

// A land file that cannot be opened ends its group with an alert (nothing is
// written to a stream that did not open, the group's later file is not
// written); the run itself goes on to the point files.
struct BlockedLandFile {
  const char* file;
  bool doubleTrack;
  const char* writtenBefore;
  const char* notWritten;  // the group's file after it; "" for the last
};

class BlockedLandFileTest : public SaveRunTest, public ::testing::WithParamInterface<BlockedLandFile> {};

TEST_P(BlockedLandFileTest, EndsItsGroupWithAnAlert) {
  const BlockedLandFile& c = GetParam();
  Import(c.doubleTrack);
  if (!c.doubleTrack) d.sections = {Section(100, 0, 10), Section(400, 0, 40)};
  d.sectionsDesigned = 1;
  std::filesystem::create_directories(DataFile(c.file));  // a folder in the file's place
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.SaveDesignResults(), 1);
  EXPECT_TRUE(transcript.contains(std::string("无法打开") + c.file + "文件!")) << transcript.text();
  EXPECT_TRUE(Exists(c.writtenBefore)) << c.writtenBefore;
  if (c.notWritten[0] != '\0') {
    EXPECT_FALSE(Exists(c.notWritten)) << c.notWritten;
  }
  EXPECT_TRUE(Exists("BJPT"));
  EXPECT_TRUE(transcript.contains("3D OK!"));
}

INSTANTIATE_TEST_SUITE_P(SaveRun, BlockedLandFileTest,
                         ::testing::Values(BlockedLandFile{"ZdkData", false, "HdmResultData", "PMZTT"},
                                           BlockedLandFile{"PMZTT", false, "ZdkData", ""},
                                           BlockedLandFile{"RXDZdkData", true, "HdmRXDResultData", "RXDPMZTT"},
                                           BlockedLandFile{"RXDPMZTT", true, "RXDZdkData", ""}),
                         [](const auto& info) { return std::string(info.param.file); });

TEST_F(SaveRunTest, PointFileFailureEndsTheRunBeforeThe3DFiles) {
  Import(false);
  d.sections = {Section(100, 0, 10), Section(400, 0, 40)};
  d.sectionsDesigned = 1;
  std::filesystem::create_directories(DataFile("BJPT"));
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.SaveDesignResults(), 0);
  EXPECT_TRUE(transcript.contains("无法打开BJPT文件!"));
  EXPECT_FALSE(transcript.contains("3D OK!"));
  EXPECT_TRUE(Exists("HdmResultData"));
  EXPECT_FALSE(Exists("Zx3d"));
  EXPECT_FALSE(Exists("bribase"));
}

}  // namespace
