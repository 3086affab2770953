// The technical-parameter file jishucanshu.dat.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <filesystem>
#include <string>

#include "fixtures/project_fixture.h"
#include "project/ModulePath.h"
#include "project/ProjectLocation.h"
#include "project/TechParams.h"
#include "win/transcript.h"

namespace {

size_t MessageCount(const platform::TranscriptCapture& capture) {
  size_t count = 0;
  for (size_t at = capture.text().find("by default]"); at != std::string::npos;
       at = capture.text().find("by default]", at + 1))
    ++count;
  return count;
}

fixtures::TechParamsData SampleData() {
  fixtures::TechParamsData d;
  for (size_t i = 0; i < d.blockA.size(); ++i) d.blockA[i] = static_cast<unsigned char>((i * 7 + 3) & 0xFF);
  d.name = "京沪高速铁路";
  d.speed = 350;
  d.lineKind = 2;
  d.param2 = 5.0f;
  d.subgradeThickness = 0.75f;
  d.singleSpacing[0] = 4.5f;
  d.singleSpacing[1] = 5.25f;
  d.doubleSpacing[0] = 9.5f;
  d.doubleSpacing[1] = 10.0f;
  d.stepKeyCount = 3;
  d.stepKeys[0] = 300;
  d.stepKeys[1] = 600;
  d.stepKeys[2] = 1000;
  d.stepValues[0] = 0.5f;
  d.stepValues[1] = 0.375f;
  d.stepValues[2] = 0.25f;
  d.stepValues[3] = 0.125f;
  return d;
}

class TechParamsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_previous = SetModulePathSource([this] { return CString(m_install.windowsPath("corvane.arx")); });
    fixtures::writeWorkdir(m_install.linuxPath(), m_projects.windowsPath("Tech Proj"));
    fixtures::writeProjectFile(m_projects.linuxPath("Tech Proj"), "S1");
    std::memset(g_TechBlockA, 0, sizeof g_TechBlockA);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  }
  void TearDown() override { SetModulePathSource(m_previous); }

  std::string filePath() const { return m_projects.linuxPath("Tech Proj/data/jishucanshu.dat"); }

  fixtures::DriveScratch m_install{'C'};
  fixtures::DriveScratch m_projects{'D'};
  ModulePathSource m_previous;
};

TEST_F(TechParamsTest, ReadsBothBlocksAndTheirFields) {
  fixtures::TechParamsData d = SampleData();
  fixtures::writeTechParamsFile(filePath(), d);

  platform::TranscriptCapture capture;
  EXPECT_EQ(ReadTechParams(), 1);
  EXPECT_EQ(MessageCount(capture), 0u) << capture.text();
  EXPECT_EQ(std::memcmp(g_TechBlockA, d.blockA.data(), kTechBlockASize), 0);
  EXPECT_EQ(TechParamName(), "京沪高速铁路");
  EXPECT_EQ(TechDesignSpeed(), 350);
  EXPECT_EQ(TechLineKind(), 2);
  EXPECT_EQ(TechParam2(), 5.0);
  EXPECT_EQ(TechSubgradeSurfaceThickness(), 0.75);
  EXPECT_EQ(TechSingleLineSpacing(0), 4.5);
  EXPECT_EQ(TechSingleLineSpacing(1), 5.25);
  EXPECT_EQ(TechDoubleLineSpacing(0), 9.5);
  EXPECT_EQ(TechDoubleLineSpacing(1), 10.0);
  EXPECT_EQ(TechStepKeyCount(), 3);
  // Block B is kept as the file holds it: the name in GBK at its start.
  std::string gbk = fixtures::utf8ToGbk("京沪高速铁路");
  EXPECT_EQ(std::memcmp(g_TechBlockB, gbk.data(), gbk.size()), 0);
}

TEST_F(TechParamsTest, StepTableGivesTheValueAfterTheFirstGreaterKey) {
  fixtures::writeTechParamsFile(filePath(), SampleData());
  ASSERT_EQ(ReadTechParams(), 1);
  struct Case {
    double x;
    double value;
  } cases[] = {{100, 0.5}, {299.9, 0.5}, {300, 0.375}, {600, 0.25}, {999.9, 0.25}, {1000, 0.125}, {5000, 0.125}};
  for (const Case& c : cases) EXPECT_EQ(LookupParamStepTable(c.x), c.value) << "x = " << c.x;
}

TEST_F(TechParamsTest, KeyCountOutsideTheTableIsBoundedAndReported) {
  struct Case {
    int16_t stored;
    int used;
    double x;
    double value;
    bool reported;
  } cases[] = {
      {5, 5, 450, 5.0, false},  {5, 5, 9999, 6.0, false}, {9, 5, 9999, 6.0, true},
      {-1, 0, 50, 1.0, true},   {0, 0, 9999, 1.0, false}, {32767, 5, 250, 3.0, true},
  };
  for (const Case& c : cases) {
    fixtures::TechParamsData d = SampleData();
    d.stepKeyCount = c.stored;
    for (int i = 0; i < 5; ++i) d.stepKeys[i] = 100 * (i + 1);
    for (int i = 0; i < 6; ++i) d.stepValues[i] = static_cast<float>(i + 1);
    fixtures::writeTechParamsFile(filePath(), d);
    platform::TranscriptCapture capture;
    ASSERT_EQ(ReadTechParams(), 1);
    EXPECT_EQ(TechStepKeyCount(), c.used) << "stored " << c.stored;
    EXPECT_EQ(LookupParamStepTable(c.x), c.value) << "stored " << c.stored;
    EXPECT_EQ(capture.contains("jishucanshu.dat"), c.reported) << capture.text();
    EXPECT_EQ(MessageCount(capture), 0u);
  }
}

TEST_F(TechParamsTest, NameFillingAllTwentyFourBytes) {
  fixtures::TechParamsData d = SampleData();
  d.name = "一二三四五六七八九十甲乙丙";  // 13 characters: the file keeps 12 (24 bytes, no terminator)
  fixtures::writeTechParamsFile(filePath(), d);
  ASSERT_EQ(ReadTechParams(), 1);
  EXPECT_EQ(TechParamName(), "一二三四五六七八九十甲乙");
  EXPECT_EQ(TechDesignSpeed(), 350);
}

TEST_F(TechParamsTest, ShortFileLeavesWhatItDoesNotReach) {
  fixtures::writeTechParamsFile(filePath(), SampleData());
  ASSERT_EQ(ReadTechParams(), 1);

  fixtures::TechParamsData second;
  for (size_t i = 0; i < second.blockA.size(); ++i) second.blockA[i] = 0xA5;
  second.name = "短";
  second.speed = 120;
  second.lineKind = 1;
  second.param2 = 7.0f;
  // 300 bytes: the header, block A and the first 32 bytes of block B.
  fixtures::writeTechParamsFile(filePath(), second, 300);
  EXPECT_EQ(ReadTechParams(), 1);
  EXPECT_EQ(g_TechBlockA[0], 0xA5);
  EXPECT_EQ(g_TechBlockA[255], 0xA5);
  EXPECT_EQ(TechParamName(), "短");
  EXPECT_EQ(TechDesignSpeed(), 120);
  EXPECT_EQ(TechLineKind(), 1);
  EXPECT_EQ(TechParam2(), 5.0);  // from the first file
  EXPECT_EQ(TechDoubleLineSpacing(1), 10.0);
  EXPECT_EQ(TechStepKeyCount(), 3);

  // 100 bytes: the header and the first 88 bytes of block A.
  fixtures::TechParamsData third;
  for (size_t i = 0; i < third.blockA.size(); ++i) third.blockA[i] = 0x11;
  fixtures::writeTechParamsFile(filePath(), third, 100);
  EXPECT_EQ(ReadTechParams(), 1);
  EXPECT_EQ(g_TechBlockA[87], 0x11);
  EXPECT_EQ(g_TechBlockA[88], 0xA5);
  EXPECT_EQ(TechDesignSpeed(), 120);
  EXPECT_EQ(TechParamName(), "短");
}

TEST_F(TechParamsTest, NoFileGivesZeroSilentlyAndKeepsTheBlocks) {
  fixtures::writeTechParamsFile(filePath(), SampleData());
  ASSERT_EQ(ReadTechParams(), 1);
  std::filesystem::remove(filePath());

  platform::TranscriptCapture capture;
  EXPECT_EQ(ReadTechParams(), 0);
  EXPECT_EQ(MessageCount(capture), 0u) << capture.text();
  EXPECT_EQ(TechDesignSpeed(), 350);
  EXPECT_EQ(TechParamName(), "京沪高速铁路");
  EXPECT_EQ(g_TechBlockA[1], 10);
}

TEST_F(TechParamsTest, ProjectLocationFirst) {
  fixtures::writeTechParamsFile(filePath(), SampleData());

  // Without a scheme the file is still read; the missing scheme is reported.
  std::filesystem::remove(m_projects.linuxPath("Tech Proj/project"));
  {
    platform::TranscriptCapture capture;
    EXPECT_EQ(ReadTechParams(), 1);
    EXPECT_TRUE(capture.contains("您还没有指定设计方案名称!")) << capture.text();
    EXPECT_EQ(TechDesignSpeed(), 350);
  }

  // Without a project folder there is nothing to read.
  std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
  std::filesystem::remove(m_install.linuxPath("workdir"));
  platform::TranscriptCapture capture;
  EXPECT_EQ(ReadTechParams(), 0);
  EXPECT_TRUE(capture.contains("您还没有设定项目名称!")) << capture.text();
  EXPECT_EQ(TechDesignSpeed(), 0);
}

// A file that is missing, short or damaged is said to be so on the command
// line; a damaged one is refused and changes nothing; the line kind is given
// only from a file that holds it.
TEST_F(TechParamsTest, MissingShortAndDamagedFilesAreSaidToBeSo) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* name;
    std::function<void(fixtures::TechParamsData&)> change;
    size_t length;  // bytes written; 0: no file
    int result;
    const char* shown;
    const char* lineKind;
  };
  const Case cases[] = {
      {"whole and sound", [](fixtures::TechParamsData&) {}, 880, 1, "", "双线"},
      {"no file", [](fixtures::TechParamsData&) {}, 0, 0, "没有技术参数文件", ""},
      {"cut after the line kind", [](fixtures::TechParamsData&) {}, 300, 1, "只有300字节, 不足880字节", "双线"},
      {"cut before the line kind", [](fixtures::TechParamsData&) {}, 290, 1, "只有290字节, 不足880字节", ""},
      {"a reference value that is NaN", [&](fixtures::TechParamsData& d) { d.param2 = nan; }, 880, 0,
       "已损坏(第二参数不是有限的数), 未读入", ""},
      {"a negative speed", [](fixtures::TechParamsData& d) { d.speed = -5; }, 880, 0,
       "已损坏(设计速度-5不在0至1000之间), 未读入", ""},
      {"an infinite step value", [](fixtures::TechParamsData& d) { d.stepValues[1] = HUGE_VALF; }, 880, 0,
       "已损坏(分级表第2个值不是有限的数), 未读入", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::memset(g_TechBlockB, 0, sizeof g_TechBlockB);
    std::filesystem::remove(filePath());
    fixtures::TechParamsData d = SampleData();
    c.change(d);
    if (c.length > 0) fixtures::writeTechParamsFile(filePath(), d, c.length);
    platform::TranscriptCapture capture;
    EXPECT_EQ(ReadTechParams(), c.result);
    EXPECT_TRUE(capture.contains(c.shown)) << capture.text();
    EXPECT_EQ(MessageCount(capture), 0u);  // said on the command line, no message box
    if (c.result == 0) {
      EXPECT_EQ(TechDesignSpeed(), 0);  // nothing of a refused file is taken
    }
    EXPECT_EQ(LineKindOfScheme(), c.lineKind);
  }
}

}  // namespace
