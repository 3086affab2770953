// The plan module's commands: their registration in group "VENK", the guard
// before the settings dialog has run, and the structure commands over a copy
// of the sample scheme (each erases its layer, reads its table again and
// draws every row; INTUN prints its rows; the crossing-culvert routines draw
// only the culverts of 插旗方式 1 and 2).

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "PlanCommands.h"
#include "brevell/plan_commands_support.h"
#include "win/answers.h"

namespace {

using namespace plantest;

class PlanStructureCommands : public PlanCommandTest {
 protected:
  // Runs the settings dialog's OK at 1:2000 without drawing the plan.
  void Initialise() {
    AnswerDialog("2201=1 IDOK");
    CmdDrawPlan();
    ASSERT_TRUE(ThePlanState().Initialised()) << transcript.text();
  }
  static double Number(const std::string& text) { return std::atof(text.c_str()); }
};

struct Command {
  const char* name;
  void (*run)();
  const char* layer;
};
const Command kStructureCommands[] = {
    {"INBMBR", &CmdInsertBridges, "大中桥"},
    {"INLXBMBR", &CmdInsertLeftDetourBridges, "左线绕行段大中桥"},
    {"INRXBMBR", &CmdInsertRightDetourBridges, "右线绕行段大中桥"},
    {"INTUN", &CmdInsertTunnels, "隧道"},
    {"INLXTUN", &CmdInsertLeftDetourTunnels, "左线绕行段隧道"},
    {"INRXTUN", &CmdInsertRightDetourTunnels, "右线绕行段隧道"},
    {"INSTA", &CmdInsertStations, "车站"},
    {"INLXSTA", &CmdInsertLeftDetourStations, "左线绕行段车站"},
    {"INRXSTA", &CmdInsertRightDetourStations, "右线绕行段车站"},
    {"INSBR", &CmdInsertCulverts, "小桥涵"},
    {"INLXSBR", &CmdInsertLeftDetourCulverts, "左线绕行段小桥涵"},
    {"INRXSBR", &CmdInsertRightDetourCulverts, "右线绕行段小桥涵"},
    {"INBM", &CmdInsertBenchMarks, "水准点"},
    {"INLXBM", &CmdInsertLeftDetourBenchMarks, "左线绕行段水准点"},
    {"INRXBM", &CmdInsertRightDetourBenchMarks, "右线绕行段水准点"},
    {"INDX", &CmdInsertTraverse, "导线"},
    {"INLXDX", &CmdInsertLeftDetourTraverse, "左线绕行段导线"},
    {"INRXDX", &CmdInsertRightDetourTraverse, "右线绕行段导线"},
    {"crossing", &DrawCrossingCulverts, "小桥涵"},
    {"left crossing", &DrawLeftDetourCrossingCulverts, "左线绕行段小桥涵"},
    {"right crossing", &DrawRightDetourCrossingCulverts, "右线绕行段小桥涵"},
};

TEST_F(PlanStructureCommands, RegisteredInGroupVenk) {
  RegisterPlanCommands();
  const std::vector<const AcEdCommand*> commands = acedRegCmds->commandsOf("VENK");
  ASSERT_EQ(commands.size(), 20u);
  const char* const globals[] = {"DEZERORUR", "PZOOM",  "INBMBR", "INLXBMBR", "INRXBMBR", "INTUN",  "INLXTUN",
                                 "INRXTUN",   "INSTA",  "INLXSTA", "INRXSTA", "INSBR",    "INLXSBR", "INRXSBR",
                                 "INBM",      "INLXBM", "INRXBM", "INDX",     "INLXDX",   "INRXDX"};
  for (size_t i = 0; i < commands.size(); ++i) {
    EXPECT_STREQ(commands[i]->globalName(), globals[i]);
    EXPECT_STREQ(commands[i]->localName(), i == 17 ? "IDX" : globals[i]);
    EXPECT_EQ(commands[i]->commandFlags(), ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET);
  }
  // Typing IDX runs the traverse command.
  EXPECT_EQ(acedRegCmds->findCommand("IDX")->functionAddr(), &CmdInsertTraverse);
  EXPECT_EQ(acedRegCmds->findCommand("idx")->functionAddr(), &CmdInsertTraverse);
  UnloadApplication();
  EXPECT_FALSE(acedRegCmds->hasGroup("VENK"));
}

TEST_F(PlanStructureCommands, BeforeTheSettingsEveryStructureCommandRefusesAndErasesNothing) {
  for (const Command& c : kStructureCommands) {
    SCOPED_TRACE(c.name);
    AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
    line->setLayer(c.layer);
    const AcDbObjectId id = BAS_DRAW_FUN::AddToModelSpace(line);
    transcript.clear();
    c.run();
    EXPECT_TRUE(transcript.contains("请先初始化!")) << transcript.text();
    EXPECT_FALSE(transcript.contains("正在删除"));
    drawbasetest::Reader<AcDbEntity> kept(id);
    EXPECT_TRUE(kept) << "the layer was erased";
  }
}

TEST_F(PlanStructureCommands, EveryCommandDrawsItsLayerOnceAndEmptiesTheLoader) {
  Initialise();
  for (const Command& c : kStructureCommands) {
    SCOPED_TRACE(c.name);
    c.run();
    const size_t first = Contents(c.layer).count;
    c.run();  // again: the layer is erased first
    EXPECT_EQ(Contents(c.layer).count, first);
    const XLDataBase& loader = ThePlanState().loader;
    EXPECT_TRUE(loader.bridges.empty() && loader.tunnels.empty() && loader.stations.empty() &&
                loader.culverts.empty() && loader.benchMarks.empty() && loader.traverse.empty());
  }
  // The sample has base-line structures of every kind.
  for (const char* layer : {"大中桥", "隧道", "车站", "小桥涵", "水准点", "导线", "左线绕行段隧道"}) {
    EXPECT_GT(Contents(layer).count, 0u) << layer;
  }
}

TEST_F(PlanStructureCommands, IntunPrintsEachTunnel) {
  Initialise();
  transcript.clear();
  CmdInsertTunnels();
  const auto rows = Rows("select 起点里程冠号, 起点里程数, 终点里程冠号, 终点里程数, 隧道名称, 插旗方式, 附注 "
                         "from 隧道 order by ID");
  ASSERT_FALSE(rows.empty());
  for (const auto& r : rows) {
    // "<prefix><km>+<metres to 2 decimals>" for both ends, the name, the kind
    // (插旗方式's number) to one decimal, the 附注 number.
    auto chainage = [](const std::string& prefix, double v) {
      const int km = static_cast<int>(v / 1000.0);
      char text[64];
      std::snprintf(text, sizeof text, "%s%d+%06.2f", prefix.c_str(), km, v - km * 1000.0);
      return std::string(text);
    };
    char line[256];
    std::snprintf(line, sizeof line, "%s,%s,%s,%.1f,%d\n", chainage(r[0], Number(r[1])).c_str(),
                  chainage(r[2], Number(r[3])).c_str(), r[4].c_str(), Number(r[5]), std::atoi(r[6].c_str()));
    EXPECT_TRUE(transcript.contains(line)) << line << "\n" << transcript.text();
  }
  // The detour forms print nothing.
  transcript.clear();
  CmdInsertLeftDetourTunnels();
  EXPECT_FALSE(transcript.contains(",1.0,"));
}

TEST_F(PlanStructureCommands, CrossingCulvertsAreThoseOfFlagModeOneAndTwo) {
  // Five culverts of the base line get the modes 0 .. 4 (the rest keep 0).
  const auto ids = Rows("select ID from 小桥涵 order by ID");
  ASSERT_GE(ids.size(), 5u);
  Execute("update 小桥涵 set 插旗方式 = '0-一般'");
  const char* const modes[] = {"0", "1-道路立交", "2-公跨铁立交", "3", "4"};
  for (int i = 0; i < 5; ++i) {
    Execute("update 小桥涵 set 插旗方式 = '" + std::string(modes[i]) + "' where ID = " + ids[i][0]);
  }
  Initialise();
  DrawCrossingCulverts();
  EXPECT_EQ(Contents("小桥涵").lines.size(), 2u);  // modes 1 and 2
  CmdInsertCulverts();
  EXPECT_EQ(Contents("小桥涵").lines.size(), ids.size());
}

TEST_F(PlanStructureCommands, DezerorurDrawsTheTickedStructuresOnly) {
  // Bridges and crossing culverts ticked: the plan, the bridges and no tunnel.
  AnswerDialog("2261=1 2313=1 IDOK");
  CmdDrawPlan();
  EXPECT_GT(Contents("大中桥").count, 0u);
  EXPECT_GT(Contents("里程").count, 0u);
  EXPECT_EQ(Contents("隧道").count, 0u);
  EXPECT_EQ(Contents("车站").count, 0u);
  // Every box clear: only the plan.
  AnswerDialog("2261=0 2313=0 IDOK");
  CmdDrawPlan();
  EXPECT_GT(Contents("里程").count, 0u);
  // Cancel keeps the model there is.
  const AlignmentModel* model = ThePlanState().model;
  AnswerDialog("IDCANCEL");
  CmdDrawPlan();
  EXPECT_EQ(ThePlanState().model, model);
}

// A structure beyond the end of the line (its chainage-break table ends at
// D1K45+221.859) cannot be drawn on it and is left out, but not unsaid: the
// command names it on the command line, with the drawing range. A second run
// with every row on the line says nothing of the kind.
TEST_F(PlanStructureCommands, StructuresBeyondTheLinesEndAreNamedWhenLeftOut) {
  const struct {
    const char* command;
    void (*run)();
    const char* moveBeyond;  // the first row moved to about D1K46+000
    const char* named;
  } cases[] = {
      {"INBMBR", &CmdInsertBridges,
       "update 大中桥 set 中心里程冠号='D1K', 中心里程数=46000, 起点里程冠号='D1K', 起点里程数=45950, "
       "终点里程冠号='D1K', 终点里程数=46050 where ID=2",
       "大中桥有1项在平面的绘图范围DK25+000.00～D1K45+221.86之外, 未绘出: 沙沟中桥(D1K46+000"},
      {"INTUN", &CmdInsertTunnels,
       "update 隧道 set 起点里程冠号='D1K', 起点里程数=46000, 终点里程冠号='D1K', 终点里程数=46300 where ID=1",
       "隧道有1项在平面的绘图范围DK25+000.00～D1K45+221.86之外, 未绘出: 石门隧道(D1K46+000"},
      {"INSTA", &CmdInsertStations,
       "update 车站 set 站房中心里程冠号='D1K', 站房中心里程数=46000 where ID=1",
       "车站有1项在平面的绘图范围DK25+000.00～D1K45+221.86之外, 未绘出: 青山站(D1K46+000"},
      {"INSBR", &CmdInsertCulverts, "update 小桥涵 set 中心里程冠号='D1K', 中心里程数=46000 where ID=1",
       "小桥涵有1项在平面的绘图范围DK25+000.00～D1K45+221.86之外, 未绘出: 1-4.0×3.5m框架箱涵(D1K46+000"},
      {"INBM", &CmdInsertBenchMarks, "update 水准点表 set 里程冠号='D1K', 里程数=46000 where ID=1",
       "水准点表有1项在平面的绘图范围DK25+000.00～D1K45+221.86之外, 未绘出: BM01(D1K46+000"},
  };
  Initialise();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    transcript.clear();
    c.run();
    EXPECT_FALSE(transcript.contains("未绘出")) << transcript.text();
    Execute(c.moveBeyond);
    transcript.clear();
    c.run();
    EXPECT_TRUE(transcript.contains(c.named)) << transcript.text();
  }
}

// A drawing range that reaches past the line's ends is drawn within the
// line, and the command line says where it was cut; a range on the line
// (its ends within a centimetre of the line's) draws without a word of it.
TEST_F(PlanStructureCommands, ARangePastTheLinesEndIsCutWithANote) {
  const struct {
    const char* words;
    const char* note;  // nullptr: none
  } cases[] = {
      {"2201=1 2041=D1K46+000 IDOK",
       "绘图范围的终止里程D1K46+000在线路终点D1K45+221.86之后(断链表), 平面绘到线路终点为止"},
      {"2201=1 2031=DK24+900 IDOK", "绘图范围的起始里程DK24+900在线路起点DK25+000.00之前(断链表), 平面绘到线路起点为止"},
      {"2201=1 2031=DK26+000 2041=D1K45+000 IDOK", nullptr},
      // The range the dialog opens with, 断链表's first and last rows: the
      // last chainage lies within a millimetre of the end the curves give.
      {"2201=1 IDOK", nullptr},
      {"2201=1 2041=D1K45+221.859 IDOK", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words);
    transcript.clear();
    AnswerDialog(c.words);
    CmdDrawPlan();
    ASSERT_TRUE(ThePlanState().Initialised()) << transcript.text();
    if (c.note != nullptr)
      EXPECT_TRUE(transcript.contains(c.note)) << transcript.text();
    else
      EXPECT_FALSE(transcript.contains("平面绘到线路")) << transcript.text();
  }
}

TEST_F(PlanStructureCommands, PzoomZoomsToTheStoredCorners) {
  ThePlanState().zoomCorners[0].set(100, 200);
  ThePlanState().zoomCorners[1].set(300, 400);
  transcript.clear();
  CmdPlanZoom();
  // The corners widened by 50 on every side.
  EXPECT_TRUE(transcript.contains("50,150")) << transcript.text();
  EXPECT_TRUE(transcript.contains("350,450")) << transcript.text();
}

}  // namespace
