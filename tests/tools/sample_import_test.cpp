// The sample project through the cross-section module's scheme import: the
// baseline with its structures and grades, both side lines and the designers
// of their detour sections, as HDMDES reads them before it designs.
#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "sample_support.h"
#include "win/transcript.h"

namespace {

using namespace sample_test;

TEST(SampleImport, SchemeImportsWithBothDetourSections) {
  ASSERT_TRUE(SharedProject::Get().Made()) << SharedProject::Get().Error();
  ProjectLocation location(SharedProject::Get().Folder());
  platform::TranscriptCapture transcript;
  auto designer = std::make_unique<CrossSectionDesigner>();
  designer->lineKind = "双线";
  ASSERT_EQ(designer->ReadSchemeAlignment(SharedProject::Get().Database().c_str(), 0, 0), 1) << transcript.text();

  // Nothing failed and no chainage was looked for in vain; the only notes are
  // the detour tables that have no rows for the sections (stations, and the
  // structure kind each detour has not).
  for (const char* fault : {"失败", "系统发现", "不能", "不一致", "不足", "重叠", "不合法"})
    EXPECT_EQ(transcript.text().find(fault), std::string::npos) << fault << "\n" << transcript.text();

  const HandLine hand = HandBaseline();
  ASSERT_NE(designer->baseline, nullptr);
  EXPECT_NEAR(designer->baseline->EndMileage(), hand.end, 0.005);
  EXPECT_EQ(designer->tunnels.count, 2);
  EXPECT_EQ(designer->bridges.count, 2);
  EXPECT_EQ(designer->stations.count, 2);
  EXPECT_EQ(designer->trackSegments.count, 5);
  EXPECT_EQ(designer->gradePointCount, static_cast<int>(std::size(sample::kGradePoints)) + 2);
  // The station 青山 by its chainages.
  EXPECT_NEAR(designer->stations.rows[0].startMileage, HandMileage("DK", sample::kStations[0].start), 0.001);
  EXPECT_NEAR(designer->stations.rows[1].endMileage, HandMileage("D1K", sample::kStations[1].end), 0.001);

  ASSERT_EQ(g_LeftDetourCount, 1);
  ASSERT_EQ(g_RightDetourCount, 1);
  struct Case {
    const CrossSectionDesigner& detour;
    const sample::DetourDesign& design;
    int tunnels, bridges;
  };
  const Case cases[] = {{g_LeftDetourDesigners[0], sample::kLeftDetour, 1, 0},
                        {g_RightDetourDesigners[0], sample::kRightDetour, 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.design.prefix);
    ASSERT_NE(c.detour.baseline, nullptr);
    // The section's line runs in its own chainage, from the baseline's at its
    // start, over its designed length.
    EXPECT_NEAR(c.detour.baseline->StartMileage(), c.design.startChainage, 1e-6);
    EXPECT_NEAR(c.detour.baseline->lineLength, HandDetourLength(c.design), 0.01);
    EXPECT_EQ(std::string(c.detour.lineKind.GetString()), "单线");
    EXPECT_EQ(c.detour.gradePointCount, 3);
    EXPECT_EQ(c.detour.tunnels.count, c.tunnels);
    EXPECT_EQ(c.detour.bridges.count, c.bridges);
    EXPECT_GE(c.detour.trackSegments.count, 1);
    // Its own tunnel or bridge lies on it.
    const OwnedRowArray<StructureRow>& own = c.tunnels ? c.detour.tunnels : c.detour.bridges;
    ASSERT_EQ(own.count, 1);
    EXPECT_GT(own.rows[0].startMileage, c.detour.baseline->StartMileage());
    EXPECT_LT(own.rows[0].endMileage, c.detour.baseline->EndMileage());
  }
}

}  // namespace
