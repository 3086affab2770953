// The centre lines of the plan: sampled polylines, tunnel pieces in their
// own line type, the side lines drawn aside at small scales, and the centre
// lines redrawn from the tunnel tables (a line whose tunnels are all gone
// gets its plain centre line back).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fixtures/scheme_db.h"
#include "brevell/plan_drawing_support.h"
#include "win/transcript.h"

namespace {

using namespace plantest;

class Centerlines : public drawbasetest::DrawingTest {
 protected:
  void SetUp() override {
    drawbasetest::DrawingTest::SetUp();
    // TUNNELMIDLINE comes from lib/rail.lin of the install folder.
    m_module = std::make_unique<drawbasetest::ModulePathScope>(RAIL_INSTALL_DIR, "brevell.arx");
    model = std::make_unique<AlignmentModel>();
    Settings(*model, 2.0, 5.0, -1);
  }
  void TearDown() override {
    model.reset();
    m_module.reset();
    drawbasetest::DrawingTest::TearDown();
  }
  // A side line due north `E` metres east of the base line, records of kind
  // 0 with that spacing, from mileage `start`.
  void SideLine(int line, double E, double start, double length) {
    StraightSideLine(*model, line, E, length, kSideParallel, start);
  }
  std::unique_ptr<AlignmentModel> model;

 private:
  std::unique_ptr<drawbasetest::ModulePathScope> m_module;
};

// Points every 5·k (k = 2: 10 m) from `from`, and one at `to`; a tunnel
// every 5 m, in line type TUNNELMIDLINE as a 2D polyline with line-type
// generation on.
TEST_F(Centerlines, SampledPolylines) {
  StraightBaseLine(*model, 0, 1000);
  struct Case {
    double from, to;
    int kind;
    std::vector<double> ys;
    bool tunnel;
  };
  const Case cases[] = {
      {100, 150, 1, {100, 110, 120, 130, 140, 150}, false},
      {100, 107, 1, {100, 107}, false},  // shorter than one step
      {100, 112, 0, {100, 105, 110, 112}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    model->DeleteLayerContents("线路中线");
    model->DrawCenterline(c.from, c.to, c.kind, kBaseLine);
    const LayerContents line = Contents("线路中线");
    ASSERT_EQ(line.polylines.size(), 1u);
    const PolylineItem& p = line.polylines[0];
    ASSERT_EQ(p.points.size(), c.ys.size());
    for (size_t i = 0; i < c.ys.size(); ++i) EXPECT_TRUE(Near(p.points[i], AcGePoint3d(0, c.ys[i], 0))) << i;
    EXPECT_NEAR(p.width, 1.4, 1e-9);  // the centre-line width, 0.7 · k
    EXPECT_EQ(p.linetype, c.tunnel ? "TUNNELMIDLINE" : "CONTINUOUS");
    EXPECT_EQ(p.heavy, c.tunnel);
    EXPECT_EQ(p.linetypeGeneration, c.tunnel);
    EXPECT_NEAR(p.linetypeScale, 2.0, 1e-9);
  }
}

// Above k = 9.9 a side line is drawn s·k/2 to its outer side (the left line
// west, the right line east); at 9.9 where it lies. In the three-line mode a
// side line's tunnel piece is 0.35·k wide.
TEST_F(Centerlines, SideLinesAsideAtSmallScales) {
  StraightBaseLine(*model, 0, 1000);
  SideLine(kLeftLine, -5, 0, 1000);
  SideLine(kRightLine, 5, 0, 1000);
  model->settings.detourOffset = 4.0;
  struct Case {
    int line;
    double k;
    double x;
  };
  const Case cases[] = {
      {kLeftLine, 10, -5 - 20},  // s·k/2 = 20
      {kRightLine, 10, 5 + 20},
      {kLeftLine, 9.9, -5},
      {kRightLine, 9.9, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.k);
    const char* layer = c.line < 0 ? "左线路中线" : "右线路中线";
    model->DeleteLayerContents(layer);
    model->settings.scaleFactor = c.k;
    model->DrawCenterline(100, 200, 1, c.line);
    const LayerContents line = Contents(layer);
    ASSERT_EQ(line.polylines.size(), 1u);
    for (const AcGePoint3d& p : line.polylines[0].points) EXPECT_NEAR(p.x, c.x, 1e-9);
  }
  // No scale factor: no step to sample by; a note and nothing drawn.
  platform::TranscriptCapture transcript;
  model->settings.scaleFactor = 0.0;
  model->DeleteLayerContents("左线路中线");
  model->DrawCenterline(100, 200, 1, kLeftLine);
  EXPECT_EQ(Contents("左线路中线").count, 0u);
  EXPECT_TRUE(transcript.contains("未绘出中线")) << transcript.text();

  model->settings.scaleFactor = 2.0;
  model->settings.sideLineMode = true;
  model->DeleteLayerContents("左线路中线");
  model->DrawCenterline(100, 200, 0, kLeftLine);
  EXPECT_NEAR(Contents("左线路中线").polylines.at(0).width, 0.7, 1e-9);
}

// The drawing range cut into ordinary and tunnel pieces; a tunnel that begins
// before the range is drawn from the range start, one wholly outside is not
// drawn and the ordinary pieces round it join up; no tunnels draw nothing.
TEST_F(Centerlines, TunnelPieces) {
  StraightBaseLine(*model, 0, 1000);
  model->SetStartChainage("K0+200");
  model->SetEndChainage("K0+800");
  model->PrepareLines();
  struct Piece {
    double from, to;
    bool tunnel;
  };
  struct Case {
    const char* name;
    std::vector<MileageRange> tunnels;
    std::vector<Piece> pieces;
  };
  const Case cases[] = {
      {"one inside", {{300, 450}}, {{200, 300, false}, {300, 450, true}, {450, 800, false}}},
      {"from before the range", {{100, 300}}, {{200, 300, true}, {300, 800, false}}},
      {"wholly outside", {{850, 900}}, {{200, 800, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    model->DrawTunnelCenterline(c.tunnels.data(), static_cast<int>(c.tunnels.size()), kBaseLine);
    const LayerContents line = Contents("线路中线");
    ASSERT_EQ(line.polylines.size(), c.pieces.size());
    for (size_t i = 0; i < c.pieces.size(); ++i) {
      const PolylineItem& p = line.polylines[i];
      EXPECT_NEAR(p.points.front().y, c.pieces[i].from, 1e-9) << i;
      EXPECT_NEAR(p.points.back().y, c.pieces[i].to, 1e-9) << i;
      EXPECT_EQ(p.linetype == "TUNNELMIDLINE", c.pieces[i].tunnel) << i;
    }
  }
  model->DrawTunnelCenterline(nullptr, 0, kBaseLine);
  EXPECT_EQ(Contents("线路中线").polylines.size(), 1u);  // left as it was
}

// The centre lines from the tunnel tables: a base-line tunnel K10+200 ..
// K10+300 with the left line 5 m beside it marks both lines; once the table
// is emptied each line gets its plain centre line back; in the three-line
// mode the side lines are left alone.
TEST_F(Centerlines, RedrawnFromTheTunnelTables) {
  const std::string folder = fixtures::MakeTempFolder("plan_tunnels");
  const std::string db = folder + "/方案1.mdb";
  ASSERT_TRUE(fixtures::CreateSchemeDatabase(db));
  ASSERT_TRUE(fixtures::FillTable(db, "隧道", {{"甲隧道", "K", "10200", "K", "10300", "1", "2", ""}}));
  const CString connection = fixtures::ConnectionString(db).c_str();

  StraightBaseLine(*model, 10000, 1000);
  SideLine(kLeftLine, -5, 10000, 1000);
  model->PrepareLines();
  auto pieces = [](const char* layer) {
    std::vector<std::string> kinds;
    for (const PolylineItem& p : Contents(layer).polylines) kinds.push_back(p.linetype);
    return kinds;
  };
  const std::vector<std::string> withTunnel = {"CONTINUOUS", "TUNNELMIDLINE", "CONTINUOUS"};
  const std::vector<std::string> plain = {"CONTINUOUS"};

  model->PrepareTunnels(connection);
  EXPECT_EQ(pieces("线路中线"), withTunnel);
  EXPECT_EQ(pieces("左线路中线"), withTunnel);
  const auto left = Contents("左线路中线").polylines;
  ASSERT_EQ(left.size(), 3u);
  EXPECT_NEAR(left[1].points.front().y, 200, 1e-6);
  EXPECT_NEAR(left[1].points.back().y, 300, 1e-6);

  ASSERT_TRUE(fixtures::ExecuteSql(db, "delete from 隧道"));
  model->PrepareTunnels(connection);
  EXPECT_EQ(pieces("线路中线"), plain);
  EXPECT_EQ(pieces("左线路中线"), plain);

  // Without a table of the left line's own tunnels, the left line still has
  // the base tunnel beside it once (not the base table's rows again).
  ASSERT_TRUE(fixtures::FillTable(db, "隧道", {{"甲隧道", "K", "10200", "K", "10300", "1", "2", ""}}));
  ASSERT_TRUE(fixtures::ExecuteSql(db, "drop table 左线绕行段隧道"));
  model->PrepareTunnels(connection);
  EXPECT_EQ(pieces("左线路中线"), withTunnel);

  // The three-line mode leaves the side lines as they are: emptying the table
  // now gives the base line its plain centre line back, the left line keeps
  // its tunnel piece.
  ASSERT_TRUE(fixtures::ExecuteSql(db, "delete from 隧道"));
  model->settings.sideLineMode = true;
  model->PrepareTunnels(connection);
  EXPECT_EQ(pieces("线路中线"), plain);
  EXPECT_EQ(pieces("左线路中线"), withTunnel);
  fixtures::RemoveFolder(folder);
}

}  // namespace
