// The ground-line file that CALHDMDMX writes, read back in the ground-line
// palette's import layout.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "GroundLines.h"
#include "corvane/engine/dmx_support.h"
#include "fixtures/scheme_db.h"
#include "win/transcript.h"

namespace {

StationGroundLine Station(const char* prefix, double chainage, double ground,
                          const std::vector<std::pair<double, double>>& left,
                          const std::vector<std::pair<double, double>>& right) {
  StationGroundLine s;
  s.prefix = prefix;
  s.chainage = chainage;
  s.ground = ground;
  s.block.layer = 0;
  s.block.rockType = 2;
  s.block.leftCount = static_cast<int>(left.size());
  s.block.rightCount = static_cast<int>(right.size());
  for (size_t k = 0; k < left.size(); ++k) s.block.left[k] = {left[k].first, left[k].second};
  for (size_t k = 0; k < right.size(); ++k) s.block.right[k] = {right[k].first, right[k].second};
  return s;
}

class DmxFile : public ::testing::Test {
 protected:
  void SetUp() override { m_dir = fixtures::MakeTempFolder("dmx"); }
  void TearDown() override { fixtures::RemoveFolder(m_dir); }
  std::string m_dir;
};

// Stations at DK12+345.678 and at a whole kilometre after a long chain
// (D1K40+000), read back: the line name, each station's chainage, elevation,
// one layer of rock type 2 and its pairs to a millimetre.
TEST_F(DmxFile, ReadsBackInThePalettesImportLayout) {
  const std::vector<StationGroundLine> stations = {
      Station("DK", 12345.678, 101.25, {{0, 0}, {2.5, 0.3}, {6, -0.4}}, {{0, 0}, {3, 0.2}}),
      Station("D1K", 40000.0, 98.7, {{0, 0}, {15.25, -1.125}}, {{0, 0}, {7.5, 2.0625}, {60, 3.5}})};
  const std::string path = m_dir + "/方案1.dmx";
  ASSERT_TRUE(WriteGroundLineFile(path.c_str(), "基线", stations));

  const dmx_test::File file = dmx_test::ReadFile(path);
  ASSERT_TRUE(file.read);
  EXPECT_EQ(file.lineName, "基线");
  ASSERT_EQ(file.stations.size(), stations.size());
  for (size_t i = 0; i < stations.size(); ++i) {
    SCOPED_TRACE(i);
    const dmx_test::Station& s = file.stations[i];
    EXPECT_EQ(s.prefix, stations[i].prefix.GetString());
    EXPECT_NEAR(s.chainage, stations[i].chainage, 1e-6);
    EXPECT_NEAR(s.elevation, stations[i].ground, 1e-9);
    ASSERT_EQ(s.layers.size(), 1u);
    EXPECT_EQ(s.layers[0].rockType, 2);
    const GroundBlock& block = stations[i].block;
    ASSERT_EQ(s.layers[0].left.size(), static_cast<size_t>(block.leftCount));
    ASSERT_EQ(s.layers[0].right.size(), static_cast<size_t>(block.rightCount));
    for (int k = 0; k < block.leftCount; ++k) {
      EXPECT_NEAR(s.layers[0].left[k].first, block.left[k].x, 5.001e-4);
      EXPECT_NEAR(s.layers[0].left[k].second, block.left[k].y, 5.001e-4);
    }
    for (int k = 0; k < block.rightCount; ++k) {
      EXPECT_NEAR(s.layers[0].right[k].first, block.right[k].x, 5.001e-4);
      EXPECT_NEAR(s.layers[0].right[k].second, block.right[k].y, 5.001e-4);
    }
  }
  // On disk the file is as the Windows programs keep text: GBK, CRLF.
  const std::string bytes = dmx_test::Bytes(path);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\xBB\xF9\xCF\xDF\r\n", 6));
}

// A file without stations holds the line name and the end mark only; a point
// 999 m out (within 0.01) would end its side early, so it is left out with a
// note, and the points after it still come through.
TEST_F(DmxFile, EmptyFileAndPointsAtTheEndMark) {
  const std::string empty = m_dir + "/empty.dmx";
  ASSERT_TRUE(WriteGroundLineFile(empty.c_str(), "基线", {}));
  const dmx_test::File none = dmx_test::ReadFile(empty);
  EXPECT_TRUE(none.read);
  EXPECT_EQ(none.lineName, "基线");
  EXPECT_TRUE(none.stations.empty());

  const std::string path = m_dir + "/far.dmx";
  platform::TranscriptCapture transcript;
  ASSERT_TRUE(WriteGroundLineFile(path.c_str(), "基线",
                                  {Station("DK", 500, 10, {{0, 0}, {998.995, 1}, {1200, 2}},
                                           {{0, 0}, {998.98, 3}, {998.9899, 4}})}));
  EXPECT_TRUE(transcript.contains("有2个地面点距中桩999米"));
  const dmx_test::File file = dmx_test::ReadFile(path);
  ASSERT_TRUE(file.read);
  ASSERT_EQ(file.stations.size(), 1u);
  const auto& left = file.stations[0].layers.at(0).left;
  const auto& right = file.stations[0].layers.at(0).right;
  ASSERT_EQ(left.size(), 2u);
  EXPECT_EQ(left[1], std::make_pair(1200.0, 2.0));
  ASSERT_EQ(right.size(), 2u);
  EXPECT_EQ(right[1], std::make_pair(998.98, 3.0));
}

// A path that cannot be written is reported, naming it.
TEST_F(DmxFile, UnwritablePathIsReported) {
  std::filesystem::create_directories(m_dir + "/folder.dmx");
  platform::TranscriptCapture transcript;
  EXPECT_FALSE(WriteGroundLineFile((m_dir + "/folder.dmx").c_str(), "基线", {}));
  EXPECT_TRUE(transcript.contains("无法写横断面地面线文件")) << transcript.text();
  EXPECT_TRUE(transcript.contains("folder.dmx"));
}

}  // namespace
