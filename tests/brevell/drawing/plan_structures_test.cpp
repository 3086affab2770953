// The structures of the plan on a base line due north from (0, 0), chainage
// K0+000 = mileage 0, 5000 m long, at k = 2, h = 5, direction −1 (labels on
// the left, −X): tunnels, bridges, culverts, stations and bench marks, and
// the block drawings of the install folder.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "brevell/plan_drawing_support.h"
#include "win/transcript.h"

namespace {

using namespace plantest;

const double kWing = 3.0 / std::sqrt(2.0);  // a wing of 1.5k at 45° to the axes

class Structures : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override {
    drawbasetest::DrawingTest::SetUp();
    m_module.reset();
    m_module = std::make_unique<drawbasetest::ModulePathScope>(RAIL_INSTALL_DIR, "brevell.arx");
    model = std::make_unique<AlignmentModel>();
    Settings(*model, 2.0, 5.0, -1);
    StraightBaseLine(*model, 0, 5000);
    model->PrepareLines();
  }
  void TearDown() override {
    model.reset();
    m_module.reset();
    drawbasetest::DrawingTest::TearDown();
  }
  // A left line due north at E (records of kind 0 with that spacing).
  void LeftLine(double E) {
    StraightSideLine(*model, kLeftLine, E, 5000);
    model->PrepareLines();
  }
  // The module's install folder is `folder` while the scope lives.
  void InstallFolderAt(const std::filesystem::path& folder) {
    m_module.reset();  // the scopes restore in the order they were made
    m_module = std::make_unique<drawbasetest::ModulePathScope>(folder, "brevell.arx");
  }
  static bool HasPolyline(const LayerContents& c, const std::vector<AcGePoint3d>& points) {
    for (const PolylineItem& p : c.polylines) {
      if (p.points.size() != points.size()) continue;
      bool same = true;
      for (size_t i = 0; i < points.size(); ++i) same = same && Near(p.points[i], points[i], 1e-6);
      if (same) return true;
    }
    return false;
  }
  std::unique_ptr<AlignmentModel> model;

 private:
  std::unique_ptr<drawbasetest::ModulePathScope> m_module;
};

TunnelCall Tunnel(double kind, short lineCount) {
  TunnelCall t;
  t.startText = "K1+000.00";
  t.endText = "K1+100.00";
  t.name = "甲隧道";
  t.kind = kind;
  t.lineCount = lineCount;
  return t;
}

// ---- Tunnels -------------------------------------------------------------------------

// A tunnel K1+000 .. K1+100: its portals 1.5k = 3 either side of the line;
// a tunnel its four wings of 1.5k at 45° (back at the start, on at the
// end); a cut-and-cover tunnel its side walls through points every 5 m
// (int(100·0.2 + 1.00001) − 1 = 20 parts) and no wings. All 0.5k wide.
TEST_F(Structures, TunnelOutlines) {
  model->DrawTunnel(Tunnel(1.0, 0));
  LayerContents tunnel = Contents("隧道");
  EXPECT_EQ(tunnel.polylines.size(), 6u);
  for (const PolylineItem& p : tunnel.polylines) EXPECT_NEAR(p.width, 1.0, 1e-9);
  EXPECT_TRUE(HasPolyline(tunnel, {{-3, 1000, 0}, {3, 1000, 0}}));
  EXPECT_TRUE(HasPolyline(tunnel, {{-3, 1100, 0}, {3, 1100, 0}}));
  EXPECT_TRUE(HasPolyline(tunnel, {{-3, 1000, 0}, {-3 - kWing, 1000 - kWing, 0}}));
  EXPECT_TRUE(HasPolyline(tunnel, {{3, 1000, 0}, {3 + kWing, 1000 - kWing, 0}}));
  EXPECT_TRUE(HasPolyline(tunnel, {{-3, 1100, 0}, {-3 - kWing, 1100 + kWing, 0}}));
  EXPECT_TRUE(HasPolyline(tunnel, {{3, 1100, 0}, {3 + kWing, 1100 + kWing, 0}}));

  model->DeleteLayerContents("隧道");
  model->DrawTunnel(Tunnel(0.0, 0));
  tunnel = Contents("隧道");
  EXPECT_EQ(tunnel.polylines.size(), 4u);
  for (int side : {-1, 1}) {
    std::vector<AcGePoint3d> wall;
    for (int j = 0; j <= 20; ++j) wall.push_back({3.0 * side, 1000.0 + 5.0 * j, 0});
    EXPECT_TRUE(HasPolyline(tunnel, wall)) << side;
  }
}

// The labels: the name and length at the middle, the chainages at the
// portals, each on a tick across to the left (the label side −1) as long as
// the half-width and 0.7·h per character, the text 0.6h + k from the tick's
// middle against the line (direction −1). "甲隧道  100.00m" has 15
// characters: a tick of 3 + 52.5; "K1+000.00" 9: 3 + 31.5.
TEST_F(Structures, TunnelLabels) {
  model->DrawTunnel(Tunnel(1.0, 0));
  const LayerContents tunnel = Contents("隧道");
  struct Label {
    const char* text;
    double y, tick;
  };
  for (const Label& l :
       {Label{"甲隧道  100.00m", 1050, 55.5}, Label{"K1+000.00", 1000, 34.5}, Label{"K1+100.00", 1100, 34.5}}) {
    SCOPED_TRACE(l.text);
    const auto found = tunnel.TextsReading(l.text);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_TRUE(Near(found[0].anchor, AcGePoint3d(-l.tick / 2, l.y - 5, 0))) << Str(found[0].anchor);
    EXPECT_TRUE(SameAngle(found[0].rotation, kPi));
    bool ticked = false;
    for (const LineItem& t : tunnel.lines)
      ticked = ticked || (Near(t.from, {0, l.y, 0}) && Near(t.to, {-l.tick, l.y, 0}));
    EXPECT_TRUE(ticked);
  }
  model->DeleteLayerContents("隧道");
  model->DrawTunnel(Tunnel(1.0, 2));
  EXPECT_EQ(Contents("隧道").TextsReading("甲隧道  2(100.00m)").size(), 1u);
}

// A side line beside the tunnel widens its outline on that side: 4 m away
// always, 6 m away only for a double-track tunnel.
TEST_F(Structures, TunnelsWidenedByASideLine) {
  struct Case {
    double spacing;
    short lineCount;
    double left;
  };
  for (const Case& c : {Case{-4, 0, 7}, Case{-6, 0, 3}, Case{-6, 2, 9}}) {
    SCOPED_TRACE(c.spacing);
    model->DeleteLayerContents("隧道");
    LeftLine(c.spacing);
    model->DrawTunnel(Tunnel(1.0, c.lineCount));
    EXPECT_TRUE(HasPolyline(Contents("隧道"), {{-c.left, 1000, 0}, {3, 1000, 0}}));
  }
}

// ---- Bridges and culverts -------------------------------------------------------------

// A bridge of 64 m with its centre at K1+000 and no ends given spans 968 to
// 1032: its sides bend at int(64·k·0.1 + 1.00001) − 1 = 12 parts, its four
// corners carry wings. Its span and name stand beside a tick to the left,
// 0.7h + k along the line either way from the tick's middle.
TEST_F(Structures, BridgeOutlineAndLabels) {
  BridgeCall bridge;
  bridge.centreText = "K1+000.00";
  bridge.startText = "0+000";
  bridge.endText = "0+000";
  bridge.length = 64;
  bridge.span = "2-32m简支T梁 ";
  bridge.name = "甲大桥";
  bridge.lineCount = 1;
  model->DrawBridge(bridge);
  LayerContents layer = Contents("大中桥");
  EXPECT_EQ(layer.polylines.size(), 8u);
  for (int side : {-1, 1}) {
    std::vector<AcGePoint3d> wall;
    for (int j = 0; j <= 12; ++j) wall.push_back({3.0 * side, 968 + 64.0 * j / 12.0, 0});
    EXPECT_TRUE(HasPolyline(layer, wall)) << side;
  }
  EXPECT_TRUE(HasPolyline(layer, {{-3, 968, 0}, {3, 968, 0}}));
  EXPECT_TRUE(HasPolyline(layer, {{-3, 1032, 0}, {3, 1032, 0}}));
  EXPECT_TRUE(HasPolyline(layer, {{3, 1032, 0}, {3 + kWing, 1032 + kWing, 0}}));
  // "甲大桥K1+000.00" is 15 characters: a tick of 15h + 3 = 78.
  const auto span = layer.TextsReading("2-32m简支T梁 ");
  const auto name = layer.TextsReading("甲大桥K1+000.00");
  ASSERT_EQ(span.size(), 1u);
  ASSERT_EQ(name.size(), 1u);
  EXPECT_TRUE(Near(span[0].anchor, AcGePoint3d(-39, 1000 - 5.5, 0))) << Str(span[0].anchor);
  EXPECT_TRUE(Near(name[0].anchor, AcGePoint3d(-39, 1000 + 5.5, 0))) << Str(name[0].anchor);
  EXPECT_TRUE(SameAngle(span[0].rotation, 1.5 * kPi - kPi / 2));

  // A double-track bridge: its count before the span in parentheses, one 梁.
  model->DeleteLayerContents("大中桥");
  bridge.lineCount = 2;
  model->DrawBridge(bridge);
  EXPECT_EQ(Contents("大中桥").TextsReading("2(2-32m简支T)梁").size(), 1u);
}

// A base-line bridge with the left line 4 m away is widened on the left by
// 4; 6 m away only when it carries two tracks.
TEST_F(Structures, BridgesWidenedByASideLine) {
  struct Case {
    double spacing;
    short lineCount;
    double left;
  };
  for (const Case& c : {Case{-4, 1, 7}, Case{-6, 1, 3}, Case{-6, 2, 9}}) {
    SCOPED_TRACE(c.spacing);
    model->DeleteLayerContents("大中桥");
    LeftLine(c.spacing);
    BridgeCall bridge;
    bridge.centreText = "K1+000.00";
    bridge.startText = "K0+968.00";
    bridge.endText = "K1+032.00";
    bridge.length = 64;
    bridge.lineCount = c.lineCount;
    model->DrawBridge(bridge);
    EXPECT_TRUE(HasPolyline(Contents("大中桥"), {{-c.left, 968, 0}, {3, 968, 0}}));
  }
}

// A culvert at 1234.5: a tick of n·h to the left (n the longer of its two
// texts), its label 4.5 (0.5h + k) before it and its metres "+234.50" after
// it, each (n·h + k)/2 out; grade crossings labelled by their kind.
TEST_F(Structures, Culverts) {
  struct Case {
    double flag;
    const char* label;
  };
  for (const Case& c : {Case{0, "1-1.5m圆涵"}, Case{1, "道路立交"}, Case{2, "公跨铁立交"}}) {
    SCOPED_TRACE(c.label);
    model->DeleteLayerContents("小桥涵");
    CulvertCall culvert;
    culvert.prefix = "K";
    culvert.valueText = "1234.500000";
    culvert.span = "1-1.5m圆涵";
    culvert.flagStyle = c.flag;
    model->DrawCulverts(culvert);
    const LayerContents layer = Contents("小桥涵");
    const double n = 10;  // "1-1.5m圆涵": 10 characters; "+234.50" 7
    ASSERT_EQ(layer.lines.size(), 1u);
    EXPECT_TRUE(Near(layer.lines[0].from, {0, 1234.5, 0}));
    EXPECT_TRUE(Near(layer.lines[0].to, {-n * 5, 1234.5, 0}));
    const auto label = layer.TextsReading(c.label);
    const auto metres = layer.TextsReading("+234.50");
    ASSERT_EQ(label.size(), 1u);
    ASSERT_EQ(metres.size(), 1u);
    EXPECT_TRUE(Near(label[0].anchor, {-(n * 5 + 2) / 2, 1230, 0})) << Str(label[0].anchor);
    EXPECT_TRUE(Near(metres[0].anchor, {-(n * 5 + 2) / 2, 1239, 0})) << Str(metres[0].anchor);
    EXPECT_TRUE(SameAngle(label[0].rotation, kPi));
  }
}

// ---- Stations and bench marks -----------------------------------------------------------

// The station's flag block at its chainage, turned to the line and scaled
// by k; its chainage 0.8h back along the line and 0.48·(characters)·h out;
// its name U·k + 0.5h + k out, U the flag's height by the block name's GBK
// bytes 4 and 5 (41 for the names the station tables offer, whose bytes 4
// and 5 are parts of Chinese characters).
TEST_F(Structures, Stations) {
  const std::filesystem::path folder = m_dir / "INSTALL";
  std::filesystem::create_directories(folder / "DWG");
  struct Case {
    const char* block;
    double U;
  };
  const Case cases[] = {{"ABC07", 39.1924}, {"ABC04", 35}, {"XYZ99", 41}, {"中间站07", 41}};
  for (const Case& c : cases) {
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, c.U, 0));
    ASSERT_EQ(drawbasetest::SaveBlockDrawing((folder / "DWG" / (std::string(c.block) + ".dxf")).string(), {line}),
              Acad::eOk);
  }
  InstallFolderAt(folder);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    model->DeleteLayerContents("车站");
    model->DrawStations("K1+500.00", "青山站", c.block, kBaseLine, -1);
    const LayerContents layer = Contents("车站");
    ASSERT_EQ(layer.inserts.size(), 1u);
    EXPECT_EQ(layer.inserts[0].block, std::string(c.block) + ".dwg");
    EXPECT_TRUE(Near(layer.inserts[0].position, {0, 1500, 0}));
    EXPECT_TRUE(SameAngle(layer.inserts[0].rotation, kPi / 2));
    EXPECT_NEAR(layer.inserts[0].scale.sx, 2.0, 1e-12);
    EXPECT_NEAR(layer.inserts[0].scale.sy, 2.0, 1e-12);
    const auto name = layer.TextsReading("青山站");
    ASSERT_EQ(name.size(), 1u);
    EXPECT_TRUE(Near(name[0].anchor, {-(c.U * 2 + 2.5 + 2), 1500, 0}, 1e-9)) << Str(name[0].anchor);
    const auto chainage = layer.TextsReading("K1+500.00");
    ASSERT_EQ(chainage.size(), 1u);
    EXPECT_TRUE(Near(chainage[0].anchor, {-0.48 * 9 * 5, 1496, 0})) << Str(chainage[0].anchor);
  }

  // The detour label side +1 turns the flag over to the right.
  model->DeleteLayerContents("车站");
  model->settings.directionSetting = 1;
  model->DrawStations("K1+500.00", "青山站", "XYZ99", kBaseLine, -1);
  const LayerContents right = Contents("车站");
  ASSERT_EQ(right.inserts.size(), 1u);
  EXPECT_TRUE(SameAngle(right.inserts[0].rotation, 1.5 * kPi));
  EXPECT_TRUE(Near(right.TextsReading("青山站").at(0).anchor, {41 * 2 + 2.5 + 2, 1500, 0}, 1e-9));
}

// A station at the line's start is drawn 0.001 on; one before it, or whose
// block drawing is missing, is not drawn (the missing one with a message).
TEST_F(Structures, StationsOffTheLineOrWithoutTheirBlock) {
  platform::TranscriptCapture transcript;
  model->DrawStations("K0+000", "起点站", "中间站01", kBaseLine, -1);
  LayerContents layer = Contents("车站");
  ASSERT_EQ(layer.inserts.size(), 1u);
  EXPECT_TRUE(Near(layer.inserts[0].position, {0, 0.001, 0}, 1e-9));

  model->DeleteLayerContents("车站");
  model->SetStartChainage("K0+100");
  model->PrepareLines();
  model->DrawStations("K0+050", "前站", "中间站01", kBaseLine, -1);
  model->DrawStations("K1+000", "缺站", "缺失01", kBaseLine, -1);
  EXPECT_EQ(Contents("车站").count, 0u);
  EXPECT_TRUE(transcript.contains("DWG\\缺失01.dwg不存在!")) << transcript.text();
}

// A bench mark at its chainage and offset (coordinates 0, 0), or at its
// coordinates whatever its chainage says: block 31014 scaled by k, its
// number and elevation beside it 2k + (0.4J + 0.5)h along and 0.6h either
// side, J the longer text's characters, all turned to the line.
TEST_F(Structures, BenchMarks) {
  BenchMarkCall mark;
  mark.prefix = "K";
  mark.value = 2000;
  mark.offset = -45;  // to the left
  mark.number = "BM1";
  mark.elevation = 123.4564;
  model->DrawBenchMarks(mark);
  LayerContents layer = Contents("水准点");
  ASSERT_EQ(layer.inserts.size(), 1u);
  EXPECT_EQ(layer.inserts[0].block, "31014.dwg");
  // On this line due north the group turns by 5π/2 − 0, a quarter turn.
  const AcGePoint3d P(-45, 2000, 0);
  EXPECT_TRUE(Near(layer.inserts[0].position, P));
  EXPECT_TRUE(SameAngle(layer.inserts[0].rotation, kPi / 2));
  EXPECT_NEAR(layer.inserts[0].scale.sx, 2.0, 1e-12);
  // J = 7 ("123.456"): 4 + 3.3·5 = 20.5 along, turned: (−0.6h, 20.5) and (0.6h, 20.5).
  EXPECT_TRUE(Near(layer.TextsReading("BM1").at(0).anchor, {-45 - 3, 2020.5, 0}, 1e-9));
  EXPECT_TRUE(Near(layer.TextsReading("123.456").at(0).anchor, {-45 + 3, 2020.5, 0}, 1e-9));
  ASSERT_EQ(layer.lines.size(), 1u);
  EXPECT_TRUE(Near(layer.lines[0].from, {-45, 2006.5, 0}, 1e-9));
  EXPECT_TRUE(Near(layer.lines[0].to, {-45, 2000 + 4 + (7 * 0.7 + 0.5) * 5, 0}, 1e-9));

  // On a line due east, by coordinates (N 30, E 3000): turned by 5π/2 − π/2,
  // not at all.
  SetUp();
  AlignmentModel east;
  Settings(east, 2.0, 5.0, -1);
  const IntersectionPoint ips[] = {Ip(0, 0, 0, 0), Ip(1, 0, 5000)};
  east.LoadBaseLine(ips, 2);
  const BreakRecord breaks[] = {Break(0, 0, "K", "K"), Break(5000, 0, "K", "K")};
  east.SetBaseBreakTable(2, breaks);
  east.PrepareLines();
  mark.N = 30;
  mark.E = 3000;
  east.DrawBenchMarks(mark);
  layer = Contents("水准点");
  ASSERT_EQ(layer.inserts.size(), 1u);
  EXPECT_TRUE(Near(layer.inserts[0].position, {3000, 30, 0}));
  EXPECT_TRUE(SameAngle(layer.inserts[0].rotation, 0.0));
  EXPECT_TRUE(Near(layer.TextsReading("BM1").at(0).anchor, {3000 + 20.5, 30 + 3, 0}, 1e-9));
}

// A bench mark with neither coordinates nor chainage is left out with a
// note; one whose block drawing is missing with the message naming it.
TEST_F(Structures, BenchMarksThatCannotBePlaced) {
  platform::TranscriptCapture transcript;
  BenchMarkCall mark;
  mark.number = "BM9";
  model->DrawBenchMarks(mark);
  EXPECT_TRUE(transcript.contains("BM9")) << transcript.text();
  EXPECT_EQ(Contents("水准点").count, 0u);

  InstallFolderAt(m_dir);
  mark.value = 1000;
  mark.prefix = "K";
  model->DrawBenchMarks(mark);
  EXPECT_TRUE(transcript.contains("31014.dwg不存在!")) << transcript.text();
  EXPECT_EQ(Contents("水准点").count, 0u);
}

// Every block drawing the plan inserts is in the install folder's DWG
// folder and reads as a block of its own.
TEST_F(Structures, TheBlockDrawingsOfTheInstallFolder) {
  std::vector<std::string> names = {"31014"};
  const struct {
    const char* kind;
    int count;
  } kinds[] = {{"乘降所", 2}, {"辅助所", 2}, {"区段站", 4}, {"线路所", 2}, {"中间站", 17}};
  for (const auto& k : kinds) {
    for (int i = 1; i <= k.count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "%s%02d", k.kind, i);
      names.push_back(name);
    }
  }
  ASSERT_EQ(names.size(), 28u);
  const CString folder = AlignmentModel::BlockFolder();
  for (const std::string& name : names) {
    const AcDbObjectId block = BAS_DRAW_FUN::InsertDwgAsBlock(folder.GetString(), (name + ".dwg").c_str());
    ASSERT_FALSE(block.isNull()) << name;
    drawbasetest::Reader<AcDbBlockTableRecord> record(block);
    EXPECT_GT(record->entityStubs().size(), 0u) << name;
  }
}

}  // namespace
