// The design run: every section in chainage order with a transition section
// let in where a detour's roadbeds separate and join, the excavation classes
// with their warning, the files of the run and their counts, the line kind
// in ylex, and the fixture schemes designed end to end and read back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "RoadbedTypes.h"
#include "SectionReactorLists.h"
#include "TerrainModel.h"
#include "corvane/commands/entity_classes.h"
#include "corvane/engine/drivers_support.h"
#include "corvane/data/import_support.h"
#include "corvane/engine/results_support.h"
#include "platform/test_support.h"
#include "shared/drawbase_support.h"
#include "win/transcript.h"

namespace {

using drivers_test::LevelBlock;
using drivers_test::MakeLevelDesigner;
using results_test::ReadText;
using results_test::ResultProject;
using results_test::WriteText;

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A project with a scheme database for the quantity rows, and a level
// designer whose sections have a rock layer 1 m down in a 2 m cut.
class DesignLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    m_db = m_project.Folder() + "/data/S1.mdb";
    ASSERT_TRUE(fixtures::CreateSchemeDatabase(m_db, &error)) << error;
  }
  void MakeDesigner(std::initializer_list<double> mileages) {
    MakeLevelDesigner(d, "双线", 98.0, mileages);
    d.schemeDatabasePath = m_db.c_str();
    for (SectionRecord& r : d.sections) {
      r.groundBlocks = {LevelBlock(0, 2), LevelBlock(1, 4, -1.0)};
      r.leftLineOffset = -12.0;
    }
    drivers_test::SetPlainStandards(g_LeftDetourDesigners[0]);
  }

  ResultProject m_project;
  std::string m_db;
  CrossSectionDesigner d;
};

// Relations 1, 2, 3, 3, 2, 1: one section let in at the change from 2 to 3
// and one at the change from 3 to 2, eight in all.
TEST_F(DesignLoopTest, TransitionSectionsAreLetInOnceAtEachChange) {
  MakeDesigner({100.0, 200.0, 300.0, 400.0, 500.0, 600.0});
  ASSERT_EQ(SetDetourDesignerCount(-1, 1), 1);
  g_LeftDetourDesigners[0].segment = DetourMileages{0.0, 150.0, 250.0, 700.0, 550.0, 450.0};
  ASSERT_EQ(d.DesignAllSections(), 5100);

  ASSERT_EQ(d.SectionCount(), 8);
  const double mileages[8] = {100, 200, 300, 300, 400, 400, 500, 600};
  const int relations[8] = {1, 2, 2, 3, 3, 2, 2, 1};
  const int kinds[8] = {1, 2, 2, 1, 1, 2, 2, 1};
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const SectionRecord& r = d.sections[static_cast<size_t>(i)];
    EXPECT_DOUBLE_EQ(r.mileage, mileages[i]);
    EXPECT_EQ(r.lineRelation, relations[i]);
    EXPECT_EQ(r.kind, kinds[i]);
    // Designed once: the rock classes add up to the cut, no more.
    EXPECT_GT(r.areas.cut, 0.0);
    EXPECT_NEAR(r.areas.rockClass[1] + r.areas.rockClass[3], r.areas.cut, 1e-6);
  }
  // In the separated stretch the baseline track is designed alone.
  EXPECT_NEAR(d.sections[3].crownOffset[0], 0.0, 1e-9);
  EXPECT_NEAR(d.sections[0].crownOffset[0], -6.0, 1e-9);

  // Both files count the sections let in; their records follow in order.
  const std::string results = ReadText(m_project.File("HdmResultData"));
  const std::string areas = ReadText(m_project.File("HdmDetailArea"));
  EXPECT_EQ(results.substr(0, 11), "         8\n");
  EXPECT_EQ(areas.substr(0, 11), "         8\n");
  CrossSectionDesigner back;
  back.lineKind = "单线";
  ASSERT_EQ(back.ReadSectionResults(), 1);
  ASSERT_EQ(back.ReadSectionAreas(), 1);
  ASSERT_EQ(back.SectionCount(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_DOUBLE_EQ(back.sections[static_cast<size_t>(i)].mileage, mileages[i]);
    EXPECT_EQ(back.sections[static_cast<size_t>(i)].lineRelation, relations[i]);
    EXPECT_NEAR(back.sections[static_cast<size_t>(i)].areas.cut, d.sections[static_cast<size_t>(i)].areas.cut, 5e-4);
  }
  // The quantity table holds the grown list too.
  EXPECT_EQ(fixtures::QueryRows(m_db, "select 中桩里程数 from 横断面数量表").size(), 8u);
}

// Sections whose ground is the terrain model's outside marker are designed as
// given and reported: five by mileage, then counted.
TEST_F(DesignLoopTest, SectionsOnTheOutsideMarkerAreReported) {
  MakeDesigner({100.0, 200.0, 300.0, 400.0, 500.0, 600.0, 700.0});
  for (size_t i = 0; i < 6; ++i) d.sections[i].groundElevation = TerrainModel::kOutsideElevation;
  platform::TranscriptCapture transcript;
  ASSERT_EQ(d.DesignAllSections(), 5100);
  const std::string said = "的地面高程是数字地面模型范围外的标记-100.0, 其设计不可靠";
  EXPECT_TRUE(transcript.contains("(里程100.000)" + said)) << transcript.text();
  EXPECT_TRUE(transcript.contains("(里程500.000)" + said)) << transcript.text();
  EXPECT_FALSE(transcript.contains("(里程600.000)" + said));
  EXPECT_FALSE(transcript.contains("(里程700.000)"));
  EXPECT_TRUE(transcript.contains("有6个断面的地面高程是数字地面模型范围外的标记-100.0(只显示了前5条)"))
      << transcript.text();
}

TEST_F(DesignLoopTest, ExcavationClassesShareTheCutWithOneWarningPerRun) {
  struct Case {
    std::vector<double> percents;
    bool warned;
  };
  const Case cases[] = {{{50.0, 30.0, 21.5}, true}, {{60.0, 41.0}, false}, {{20, 20, 20, 20, 20}, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.percents.size());
    MakeDesigner({100.0, 200.0, 300.0});
    d.lineKind = "单线";
    ExcavationClassEntry* row = d.excavationClass.Replace(1);
    row->endMileage = 1e9;
    for (size_t k = 0; k < c.percents.size(); ++k) row->percent[k] = c.percents[k];
    platform::TranscriptCapture capture;
    ASSERT_EQ(d.DesignAllSections(), 5100);
    EXPECT_EQ(Count(capture.text(), "挖方分类数据有误, 百分比超过100%, 请查错!"), c.warned ? 1 : 0);
    for (const SectionRecord& r : d.sections) {
      for (size_t k = 0; k < 6; ++k) {
        const double share = k < c.percents.size() ? c.percents[k] / 100.0 : 0.0;
        EXPECT_NEAR(r.areas.excavationClass[k], share * r.areas.cut, 1e-9);
      }
    }
  }
}

TEST_F(DesignLoopTest, ResultFilesThatCannotBeOpenedStopTheLoop) {
  MakeDesigner({100.0});
  std::filesystem::remove_all(m_project.Folder() + "/data");
  platform::TranscriptCapture capture;
  EXPECT_EQ(d.DesignAllSections(), 0);
  EXPECT_TRUE(capture.contains("无法打开CRSFORM文件!"));
  EXPECT_TRUE(d.sections[0].designLines[0].isEmpty());
}

TEST(RoadbedTypeNameTest, NamesOfTheTenTypesAndAnyOther) {
  const char* names[] = {"单线路基",          "双线路基,左线并行",  "双线路基,右线并行",  "换边路基,三线并行",
                         "左线绕行，路肩未分离", "左线绕行，路肩分离", "右线绕行，路肩未分离", "右线绕行，路肩分离",
                         "左线绕行，三线并存", "右线绕行，三线并存"};
  CString name;
  for (int type = 0; type < 10; ++type) {
    RoadbedTypeName(type, name);
    EXPECT_STREQ(name.GetString(), names[type]);
  }
  for (int type : {-1, 10, 99}) {
    RoadbedTypeName(type, name);
    EXPECT_STREQ(name.GetString(), "单线路基");
  }
}

// ---- The whole run on the fixture schemes ------------------------------------------------------------

class AutoDesignRunTest : public import_test::SchemeImportTest {
 protected:
  std::string File(const std::string& name) const { return m_projects.linuxPath("P/data/" + name + ".S1"); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }

  // Reads the run's files back into a fresh designer and compares them with
  // what the run designed.
  void ExpectReadBack(const CrossSectionDesigner& run, const char* lineKind) {
    CrossSectionDesigner back;
    back.lineKind = lineKind;
    ASSERT_EQ(back.ReadSectionResults(), 1);
    ASSERT_EQ(back.ReadSectionAreas(), 1);
    ASSERT_EQ(back.SectionCount(), run.SectionCount());
    for (int i = 0; i < run.SectionCount(); ++i) {
      const SectionRecord& a = run.sections[static_cast<size_t>(i)];
      const SectionRecord& b = back.sections[static_cast<size_t>(i)];
      SCOPED_TRACE(a.label);
      EXPECT_NEAR(b.mileage, a.mileage, 5e-4);
      EXPECT_EQ(b.kind, a.kind);
      EXPECT_EQ(b.leftCode, a.leftCode);
      EXPECT_NEAR(b.leftLandTake, a.leftLandTake, 5e-4);
      EXPECT_NEAR(b.areas.fill, a.areas.fill, 5e-4);
      EXPECT_NEAR(b.areas.cut, a.areas.cut, 5e-4);
      for (int k = 0; k < kSectionSides; ++k) EXPECT_EQ(b.designLines[k].length(), a.designLines[k].length());
    }
  }

  // Builds the double-track scheme and designs it into `d` as a reserved
  // second line, designed by `choice` (1 as a single, 2 as a double line).
  void RunReservedSecondLine(CrossSectionDesigner& d, int choice) {
    std::string error;
    ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
    AutoDesignOptions options;
    options.schemeDatabasePath = m_dbWindows.c_str();
    options.lineKind = "预留二线";
    options.reservedLineFlag = 1;
    options.reservedLineChoice = choice;
    ASSERT_EQ(d.CmdAutoDesign(options), 1);
  }
};

TEST_F(AutoDesignRunTest, SingleTrackSchemeDesignedAndReadBack) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner d;
  AutoDesignOptions options;
  options.schemeDatabasePath = m_dbWindows.c_str();
  options.lineKind = "单线";
  platform::TranscriptCapture capture;
  ASSERT_EQ(d.CmdAutoDesign(options), 1) << capture.text();
  const std::string& t = capture.text();
  const size_t import = t.find("正在导入数据.... ");
  const size_t stretches = t.find("计算绕行段里程分段数据.... OK!\n");
  const size_t sections = t.find("正在自动设计横断面.... ");
  ASSERT_NE(sections, std::string::npos) << t;
  EXPECT_TRUE(import < stretches && stretches < sections) << t;
  EXPECT_NE(t.find("OK!\n", sections), std::string::npos);

  EXPECT_EQ(ReadText(File("ylex")), "单线");
  char head[16];
  std::snprintf(head, sizeof head, "%10d\n", d.SectionCount());
  EXPECT_EQ(ReadText(File("HdmResultData")).substr(0, 11), head);
  EXPECT_TRUE(Exists("ZdkData") && Exists("PMZTT"));
  for (const char* name : {"HdmRXDResultData", "HdmRXDDetailArea", "RXDZdkData", "RXDPMZTT"})
    EXPECT_FALSE(Exists(name)) << name;

  // DK0+225 lies inside the bridge DK0+200 .. DK0+250: land take only, 8 m
  // beyond the roadbed on either side of its crown.
  int bridges = 0;
  for (const SectionRecord& r : d.sections) {
    EXPECT_EQ(r.lineRelation, 0);
    if (r.leftCode != kBridgeInside) continue;
    ++bridges;
    EXPECT_NEAR(r.leftLandTake + r.rightLandTake, 16.0, 1e-9);
    EXPECT_NEAR(r.leftLandTake, 8.0 + r.crownOffset[0], 1e-9);
    EXPECT_TRUE(r.designLines[0].isEmpty());
  }
  EXPECT_EQ(bridges, 1);
  ExpectReadBack(d, "单线");
}

TEST_F(AutoDesignRunTest, ReservedSecondLineDesignedAsDoubleWritesDoubleToYlexAndTheDetourFiles) {
  CrossSectionDesigner d;
  ASSERT_NO_FATAL_FAILURE(RunReservedSecondLine(d, 2));  // "按双线设计"
  EXPECT_EQ(ReadText(File("ylex")), "双线");
  EXPECT_EQ(std::string(d.lineKind.GetString()), "双线");
  ASSERT_EQ(g_LeftDetourCount, 1);
  ASSERT_EQ(g_RightDetourCount, 1);
  for (const char* name : {"HdmRXDResultData", "HdmRXDDetailArea", "RXDZdkData", "RXDPMZTT"})
    EXPECT_EQ(ReadText(File(name)).substr(0, 4), "1 1\n") << name;
  for (const SectionRecord& r : d.sections) EXPECT_GE(r.lineRelation, 1);
  ExpectReadBack(d, "双线");
}

TEST_F(AutoDesignRunTest, ReservedSecondLineDesignedAsSingleRunsNoDetours) {
  CrossSectionDesigner d;
  ASSERT_NO_FATAL_FAILURE(RunReservedSecondLine(d, 1));  // "按单线设计"
  EXPECT_EQ(ReadText(File("ylex")), "单线");
  EXPECT_EQ(g_LeftDetourCount, 0);
  EXPECT_FALSE(Exists("RXDZdkData"));
}

TEST_F(AutoDesignRunTest, FailedImportLeavesYlexAsItWas) {
  WriteText(File("ylex"), "双线");
  CrossSectionDesigner d;
  AutoDesignOptions options;
  options.schemeDatabasePath = m_projects.windowsPath("P\\data\\missing.mdb").c_str();
  options.lineKind = "单线";
  platform::TranscriptCapture capture;
  EXPECT_EQ(d.CmdAutoDesign(options), 0);
  EXPECT_EQ(ReadText(File("ylex")), "双线");
  EXPECT_FALSE(capture.contains("正在自动设计横断面"));
  EXPECT_FALSE(Exists("HdmResultData"));
}

// Inputs the run cannot design from stop it at the import, with the message
// that says why, before anything is written: the technical parameter file
// missing, short or damaged (its spacings would be stale or zero), a scheme
// database whose integrity check fails, a line kind that is none of the
// three. The double-track scheme is then designed as no other line kind:
// ylex keeps what it held, no result file appears and the database's bytes
// stay as they were.
TEST_F(AutoDesignRunTest, InputsThatCannotBeDesignedFromStopTheRunBeforeAnythingIsWritten) {
  const std::string techFile = m_projects.linuxPath("P/data/jishucanshu.dat");
  fixtures::TechParamsData sound = TechParams();
  sound.lineKind = 2;
  struct Case {
    const char* name;
    std::function<void()> damage;
    const char* lineKind;  // as the design dialog hands it over
    std::vector<const char*> messages;
  };
  auto techFileOf = [&](size_t length, std::function<void(fixtures::TechParamsData&)> change) {
    return [&, length, change] {
      fixtures::TechParamsData data = sound;
      change(data);
      fixtures::writeTechParamsFile(techFile, data, length);
    };
  };
  auto same = [](fixtures::TechParamsData&) {};
  const Case cases[] = {
      {"no technical parameter file", [&] { std::filesystem::remove(techFile); }, "双线",
       {"没有技术参数文件", ", 横断面设计未进行!"}},
      {"technical parameters cut before the line kind", techFileOf(290, same), "双线",
       {"只有290字节, 不足880字节", ", 横断面设计未进行!"}},
      {"technical parameters cut before the spacings", techFileOf(600, same), "双线",
       {"只有600字节, 不足880字节", ", 横断面设计未进行!"}},
      {"technical parameters with a spacing that is not finite",
       techFileOf(880, [](fixtures::TechParamsData& d) { d.doubleSpacing[1] = std::numeric_limits<float>::quiet_NaN(); }),
       "双线", {"已损坏(双线线间距(右)不是有限的数), 未读入", ", 横断面设计未进行!"}},
      {"technical parameters with a negative speed",
       techFileOf(880, [](fixtures::TechParamsData& d) { d.speed = -1; }), "双线",
       {"已损坏(设计速度-1不在0至1000之间), 未读入", ", 横断面设计未进行!"}},
      {"no line kind", techFileOf(880, same), "", {"线路类型\"\"不是单线、双线或预留二线, 横断面设计未进行!"}},
      {"a line kind that is none of the three", techFileOf(880, same), "三线",
       {"线路类型\"三线\"不是单线、双线或预留二线, 横断面设计未进行!"}},
      {"a scheme database that fails its integrity check",
       [&] {
         std::string error;
         ASSERT_TRUE(fixtures::DamageTableTree(m_db, "曲线表", &error)) << error;
       },
       "双线", {"is damaged: its integrity check reports"}},
  };
  const char* const results[] = {"HdmResultData", "HdmDetailArea", "HdmRXDResultData", "HdmRXDDetailArea",
                                 "ZdkData",       "PMZTT",         "RXDZdkData",       "RXDPMZTT"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(m_db);
    std::string error;
    ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
    fixtures::writeTechParamsFile(techFile, sound);
    WriteText(File("ylex"), "预留二线");
    c.damage();
    const std::string before = testsupport::readBytes(m_db);
    CrossSectionDesigner d;
    AutoDesignOptions options;
    options.schemeDatabasePath = m_dbWindows.c_str();
    options.lineKind = c.lineKind;
    platform::TranscriptCapture capture;
    EXPECT_EQ(d.CmdAutoDesign(options), 0);
    for (const char* message : c.messages) EXPECT_TRUE(capture.contains(message)) << message << "\n" << capture.text();
    EXPECT_FALSE(capture.contains("正在自动设计横断面")) << capture.text();
    EXPECT_EQ(d.sectionsDesigned, 0);
    EXPECT_EQ(d.SectionCount(), 0);
    EXPECT_EQ(ReadText(File("ylex")), "预留二线");
    for (const char* name : results) EXPECT_FALSE(Exists(name)) << name;
    EXPECT_TRUE(testsupport::readBytes(m_db) == before) << "the scheme database was changed";
  }
  // The sound file designs the scheme as the double line it is.
  fixtures::writeTechParamsFile(techFile, sound);
  std::filesystem::remove(m_db);
  std::string error;
  ASSERT_TRUE(fixtures::BuildDoubleTrackScheme(m_db, &error)) << error;
  CrossSectionDesigner d;
  AutoDesignOptions options;
  options.schemeDatabasePath = m_dbWindows.c_str();
  options.lineKind = "双线";
  ASSERT_EQ(d.CmdAutoDesign(options), 1);
  EXPECT_EQ(ReadText(File("ylex")), "双线");
  EXPECT_TRUE(Exists("HdmRXDResultData"));
}

// With the drawing asked for, the sections drawn before (layer Hdm) are
// erased once the scheme has been read, never after an import that failed;
// then the new design is drawn on layer Hdm.
TEST_F(AutoDesignRunTest, OldSectionsAreErasedOnlyAfterASuccessfulImport) {
  std::string error;
  ASSERT_TRUE(fixtures::BuildSingleTrackScheme(m_db, &error)) << error;
  entity_test::RegisterSectionEntityClasses();
  platform::setCurrentDrawing(nullptr);
  const AcDbObjectId oldSection = drawbasetest::AddTestLine("Hdm", 1.0);
  const AcDbObjectId other = drawbasetest::AddTestLine("地面线", 2.0);
  AutoDesignOptions options;
  options.lineKind = "单线";
  options.draw = 1;
  options.scaleDenominator = 500.0;

  options.schemeDatabasePath = m_projects.windowsPath("P\\data\\missing.mdb").c_str();
  {
    CrossSectionDesigner d;
    EXPECT_EQ(d.CmdAutoDesign(options), 0);
  }
  EXPECT_EQ(drawbasetest::ModelSpaceLayers(), (std::vector<std::string>{"Hdm", "地面线"}));

  options.schemeDatabasePath = m_dbWindows.c_str();
  {
    CrossSectionDesigner d;
    ASSERT_EQ(d.CmdAutoDesign(options), 1);
    EXPECT_EQ(d.sectionsDrawn, 1);
  }
  EXPECT_TRUE(oldSection.isErased());
  EXPECT_FALSE(other.isErased());
  // What stands on the drawing besides the other layer's line is the new
  // design's sections.
  const std::vector<std::string> layers = drawbasetest::ModelSpaceLayers();
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "地面线"), 1);
  EXPECT_GT(std::count(layers.begin(), layers.end(), "Hdm"), 9);
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "Hdm") + 1, static_cast<long>(layers.size()));
  EXPECT_DOUBLE_EQ(g_DrawingFactor, 2.0);  // 1000 / 500
  ReleaseSectionReactors();
  platform::setCurrentDrawing(nullptr);
  entity_test::UnregisterSectionEntityClasses();
}

}  // namespace
