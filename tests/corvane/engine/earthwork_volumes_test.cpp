// Earthwork volumes by average end areas and the quantity files tsfjsb and
// rxdtsfjsb. Expected volumes are worked by hand from the sections' areas.

#include <cmath>

#include "corvane/engine/earthwork_support.h"

namespace {

using earthwork_test::AddStructure;
using earthwork_test::Lines;
using earthwork_test::ReadText;
using earthwork_test::Section;
using earthwork_test::Words;

class EarthworkVolumesTest : public earthwork_test::ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    earthwork_test::SetDkBreaks(d);
  }
  // The quantity record of the section at `mileage`; null when none.
  const EarthworkQuantityRecord* At(double mileage) const {
    for (int i = 0; i < d.SectionCount(); ++i)
      if (std::fabs(d.sections[static_cast<size_t>(i)].mileage - mileage) < 1e-9) return &d.quantities.rows[i];
    return nullptr;
  }
  // The break table with a short chain DK0+600 = DK0+650 in it.
  void SetShortChain() {
    d.breakCount = 3;
    SetBreakPrefixes(d.breaks[1], "DK", "DK");
    SetBreakPrefixes(d.breaks[2], "DK", "DK");
    d.breaks[1].before = 600.0;
    d.breaks[1].length = 50.0;
    d.breaks[2].before = 10000.0;
  }
  CrossSectionDesigner d;
};

// Three designed sections at 100 (areas of base 10), 200 (base 20) and 400
// (base 40) with a structure from 250 to 300 between the last two: a section
// is added at each end of the structure (at 250 a copy of 200, at 300 a copy
// of 400), and nothing is counted from 250 to 300.
struct StructureCase {
  const char* name;
  int startCode;
  bool sectionInside;  // a designed section at 275 inside the structure
};

class StructureBetweenSections : public EarthworkVolumesTest, public ::testing::WithParamInterface<StructureCase> {};

TEST_P(StructureBetweenSections, NoEarthworkAcrossTheStructure) {
  const StructureCase& c = GetParam();
  d.sections = {Section(100, 0, 10), Section(200, 0, 20), Section(400, 0, 40)};
  if (c.sectionInside) d.sections.insert(d.sections.begin() + 2, Section(275, 0, 99));
  OwnedRowArray<StructureRow>& list =
      c.startCode == kBridgeStart ? d.bridges : c.startCode == kTunnelStart ? d.tunnels : d.stations;
  AddStructure(list, 250, 300, "一号");
  if (c.sectionInside) {
    // The inside code of the structure kind: bridge 1, tunnel 2, station 6.
    d.sections[2].leftCode = c.startCode == kBridgeStart ? kBridgeInside
                             : c.startCode == kTunnelStart ? kTunnelInside
                                                           : kStationInside;
  }

  ASSERT_EQ(d.WriteEarthworkTable(100, 400), 1);

  // Sections 100, 200, 250 (start), [275 inside], 300 (end), 400.
  ASSERT_EQ(d.SectionCount(), c.sectionInside ? 6 : 5);
  const SectionRecord& start = d.sections[2];
  EXPECT_DOUBLE_EQ(start.mileage, 250.0);
  EXPECT_EQ(start.leftCode, c.startCode);
  EXPECT_STREQ(start.label, "DK0+250.000");
  EXPECT_DOUBLE_EQ(start.areas.fill, 20.0);  // copied from the section before
  const SectionRecord& end = d.sections[c.sectionInside ? 4 : 3];
  EXPECT_EQ(end.leftCode, -c.startCode);
  EXPECT_DOUBLE_EQ(end.areas.fill, 40.0);    // copied from the section after

  // Hand sums: 100 → 200 over 100 m, 200 → 250 over 50 m, nothing to 300,
  // 300 → 400 over 100 m.
  struct Expected {
    double mileage, distance, fill, cut, turf, rock1;
  } expected[] = {
      {100, 0, 0, 0, 0, 0},
      {200, 100, (20 + 10) / 2.0 * 100, (21 + 11) / 2.0 * 100, (30 + 20) / 2.0 * 100, (31 + 21) / 2.0 * 100},
      {250, 50, 20.0 * 50, 21.0 * 50, 30.0 * 50, 31.0 * 50},
      {300, 0, 0, 0, 0, 0},
      {400, 100, 40.0 * 100, 41.0 * 100, 50.0 * 100, 51.0 * 100},
  };
  double fill = 0.0;
  for (const Expected& e : expected) {
    const EarthworkQuantityRecord* q = At(e.mileage);
    ASSERT_NE(q, nullptr) << e.mileage;
    EXPECT_DOUBLE_EQ(q->distance, e.distance) << e.mileage;
    EXPECT_DOUBLE_EQ(q->fillVolume, e.fill) << e.mileage;
    EXPECT_DOUBLE_EQ(q->cutVolume, e.cut) << e.mileage;
    EXPECT_DOUBLE_EQ(q->turfArea, e.turf) << e.mileage;
    EXPECT_DOUBLE_EQ(q->rockClassVolume[0], e.rock1) << e.mileage;
    fill += q->fillVolume;
  }
  // Without the structure the 200 m from 200 to 400 would add 6000.
  EXPECT_DOUBLE_EQ(fill, 1500.0 + 1000.0 + 4000.0);
  if (c.sectionInside) {
    EXPECT_DOUBLE_EQ(At(275)->fillVolume, 0.0);
  }

  // The file: the header counts the five sections written (not the one inside).
  const std::vector<std::string> lines = Lines(ReadText(DataFile("tsfjsb")));
  ASSERT_EQ(lines.size(), 1u + 5 * 3);
  EXPECT_EQ(lines[0], "100.000 400.000          5");
  std::vector<std::string> mileages;
  for (size_t i = 1; i < lines.size(); i += 3) mileages.push_back(Words(lines[i])[0]);
  EXPECT_EQ(mileages, (std::vector<std::string>{"100.000", "200.000", "250.000", "300.000", "400.000"}));
}

INSTANTIATE_TEST_SUITE_P(Structures, StructureBetweenSections,
                         ::testing::Values(StructureCase{"Bridge", kBridgeStart, false},
                                           StructureCase{"Tunnel", kTunnelStart, false},
                                           StructureCase{"Station", kStationStart, false},
                                           StructureCase{"BridgeWithSectionInside", kBridgeStart, true},
                                           StructureCase{"TunnelWithSectionInside", kTunnelStart, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EarthworkVolumesTest, TsfjsbLinesCarryAreasLengthsAndVolumesInFileOrder) {
  d.sections = {Section(100, 0, 10), Section(400, 0, 40)};
  for (int k = 0; k < 6; ++k) d.sections[1].areas.excavationClass[k] = 0.5 * (k + 1);
  ASSERT_EQ(d.WriteEarthworkTable(0, 1000), 1);
  const std::vector<std::string> lines = Lines(ReadText(DataFile("tsfjsb")));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "0.000 1000.000          2");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[6], "");

  // Section 400: its areas, then the six class areas each with a companion
  // value of 0 (the main-line file), the lengths and the distance 300.
  const std::vector<std::string> first = Words(lines[4]);
  const std::vector<std::string> expectedFirst = {
      "400.000", "40.00", "42.00", "43.00", "44.00", "41.00",                          // ML, fill, improved, surface, topsoil, cut
      "0.50", "0.00", "1.00", "0.00", "1.50", "0.00", "2.00", "0.00", "2.50", "0.00", "3.00", "0.00",
      "47.00", "48.00", "45.00", "46.00", "50.00", "49.00", "300.000"};  // shoulder, lining, ditch fill/cut, turf, wall
  EXPECT_EQ(first, expectedFirst);
  // Volumes over 300 m: (40 + k + 10 + k) / 2 × 300 = (25 + k) × 300.
  const auto v = [](int k) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0.2lf", (25.0 + k) * 300.0);
    return std::string(buf);
  };
  const std::vector<std::string> second = Words(lines[5]);
  const std::vector<std::string> expectedSecond = {v(0), v(2), v(3), v(4), v(1),  // fill, improved, surface, topsoil, cut
                                                   v(11), "0.00", v(12), "0.00", v(13), "0.00",
                                                   v(14), "0.00", v(15), "0.00", v(16), "0.00",
                                                   v(7), v(8), v(5), v(6), v(10), v(9)};
  EXPECT_EQ(second, expectedSecond);
  // Each line ends as its format ends: the first with a blank.
  EXPECT_EQ(lines[4].back(), ' ');
  EXPECT_NE(lines[5].back(), ' ');
}

// Which sections a range takes: [start − 0.01, end + 0.01].
struct RangeCase {
  const char* name;
  double start, end;
  std::vector<const char*> written;
  double firstDistance;  // of the first section written
};

class RangeOfSections : public EarthworkVolumesTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeOfSections, TakesTheSectionsWithinTheRange) {
  const RangeCase& c = GetParam();
  d.sections = {Section(100, 0, 10), Section(200, 0, 20), Section(400, 0, 40)};
  ASSERT_EQ(d.WriteEarthworkTable(c.start, c.end), 1);
  const std::vector<std::string> lines = Lines(ReadText(DataFile("tsfjsb")));
  ASSERT_EQ(lines.size(), 1 + 3 * c.written.size());
  char header[64];
  std::snprintf(header, sizeof header, "%0.3lf %0.3lf %10d", c.start, c.end, static_cast<int>(c.written.size()));
  EXPECT_EQ(lines[0], header);
  for (size_t i = 0; i < c.written.size(); ++i) EXPECT_EQ(Words(lines[1 + 3 * i])[0], c.written[i]);
  if (!c.written.empty()) {
    // The distance is the last value of the first line: to the designer's
    // previous section, also when that one lies outside the range.
    EXPECT_DOUBLE_EQ(std::atof(Words(lines[1]).back().c_str()), c.firstDistance);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, RangeOfSections,
    ::testing::Values(RangeCase{"WholeLine", 100, 400, {"100.000", "200.000", "400.000"}, 0.0},
                      RangeCase{"SectionJustInsideTheStart", 200.01, 400, {"200.000", "400.000"}, 100.0},
                      RangeCase{"SectionJustOutsideTheStart", 200.02, 400, {"400.000"}, 200.0},
                      RangeCase{"SectionJustInsideTheEnd", 100, 199.99, {"100.000", "200.000"}, 0.0},
                      RangeCase{"NoSections", 500, 600, {}, 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

// The structure ends that get a section of their own.
TEST_F(EarthworkVolumesTest, StructureEndSectionsAreAddedOnlyWhereNeededAndWithinTheSections) {
  d.sections = {Section(100, 0, 10), Section(250.0005, kBridgeStart, 25), Section(330, 0, 33), Section(400, 0, 40)};
  AddStructure(d.bridges, 250, 300, "一号桥");        // start already has a section
  AddStructure(d.tunnels, 360, 700, "一号隧道");      // end lies beyond the last section
  AddStructure(d.stations, 20, 50, "一号站");         // wholly before the first section
  d.AddStructureEndSections();
  std::vector<double> mileages;
  std::vector<int> codes;
  for (const SectionRecord& s : d.sections) {
    mileages.push_back(s.mileage);
    codes.push_back(s.leftCode);
  }
  EXPECT_EQ(mileages, (std::vector<double>{100, 250.0005, 300, 330, 360, 400}));
  EXPECT_EQ(codes, (std::vector<int>{0, kBridgeStart, kBridgeEnd, 0, kTunnelStart, 0}));
  EXPECT_STREQ(d.sections[4].label, "DK0+360.000");
  EXPECT_DOUBLE_EQ(d.sections[4].areas.cut, 34.0);  // the section before the tunnel start
  EXPECT_DOUBLE_EQ(d.sections[2].areas.cut, 34.0);  // the section after the bridge end
  // A second call adds nothing.
  d.AddStructureEndSections();
  EXPECT_EQ(d.SectionCount(), 6);
}

TEST_F(EarthworkVolumesTest, StructureEndWithoutChainageTextIsLabelledThroughTheBreakTable) {
  // A short chain DK0+600 = DK0+650: mileage 700 is DK0+750.
  SetShortChain();
  d.sections = {Section(500), Section(900)};
  AddStructure(d.bridges, 700, 800, "二号桥");
  d.bridges.rows[0].startText[0] = '\0';
  d.AddStructureEndSections();
  ASSERT_EQ(d.SectionCount(), 4);
  EXPECT_STREQ(d.sections[1].label, "DK0+750.000");
  EXPECT_STREQ(d.sections[2].label, "DK0+800.000");  // its own text
}

TEST_F(EarthworkVolumesTest, RestoredLabelsFollowTheBreakTable) {
  SetShortChain();
  d.sections = {Section(0), Section(599.5), Section(1000)};
  for (SectionRecord& s : d.sections) s.label[0] = '\0';
  d.RestoreSectionLabels();
  EXPECT_STREQ(d.sections[0].label, "DK0+000");
  EXPECT_STREQ(d.sections[1].label, "DK0+599.500");
  EXPECT_STREQ(d.sections[2].label, "DK1+050.000");
}

// rxdtsfjsb: a detour designer's block with the 挖方分类 percentages beside
// the rock-class volumes (row by end mileage with a 0.1 m allowance), set
// only where the cut volume and that class's volume are both positive.
TEST_F(EarthworkVolumesTest, DetourBlockCarriesCodesAndClassPercentages) {
  d.sections = {Section(100, 0, 10), Section(200, 0, 20), Section(300.05, 0, 30), Section(400, 0, 40),
                Section(500, 0, 50)};
  for (SectionRecord& s : d.sections) s.areas.rockClass[3] = 0.0;  // class 4 never has a volume
  d.sections[3].areas.cut = 0.0;
  d.sections[4].areas.cut = 0.0;  // 400 → 500: no cut volume
  d.excavationClass.Replace(2);
  d.excavationClass.rows[0].endMileage = 300.0;
  const double first[6] = {10, 20, 30, 40, 0, 0};
  const double second[6] = {50, 50, 0, 0, 0, 0};
  for (int k = 0; k < 6; ++k) {
    d.excavationClass.rows[0].percent[k] = first[k];
    d.excavationClass.rows[1].percent[k] = second[k];
  }
  d.excavationClass.rows[1].endMileage = 10000.0;

  FILE* f = platform::openFile(DataFile("rxdtsfjsb").c_str(), "w+");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(d.WriteEarthworkRows(f, -1, 7, 100, 500), 1);
  std::fclose(f);
  const std::vector<std::string> lines = Lines(ReadText(DataFile("rxdtsfjsb")));
  ASSERT_EQ(lines.size(), 2u + 5 * 3);
  EXPECT_EQ(lines[0], "-1 7");
  EXPECT_EQ(lines[1], "100.000 500.000");

  // Companion k of the volume line: word 6 + 2k.
  const auto companions = [&](size_t section) {
    const std::vector<std::string> w = Words(lines[2 + 3 * section + 1]);
    std::vector<std::string> out;
    for (int k = 0; k < 6; ++k) out.push_back(w[static_cast<size_t>(6 + 2 * k)]);
    return out;
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(companions(0), (V{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"}));     // first section
  EXPECT_EQ(companions(1), (V{"10.00", "20.00", "30.00", "0.00", "0.00", "0.00"}));  // row 0; no class-4 volume
  EXPECT_EQ(companions(2), (V{"10.00", "20.00", "30.00", "0.00", "0.00", "0.00"}));  // 300.05: row 0 within 0.1
  EXPECT_EQ(companions(3), (V{"50.00", "50.00", "0.00", "0.00", "0.00", "0.00"}));   // row 1
  EXPECT_EQ(companions(4), (V{"0.00", "0.00", "0.00", "0.00", "0.00", "0.00"}));     // no cut volume
  // The first line gives the structure code after the mileage.
  EXPECT_EQ(Words(lines[2 + 3 * 2])[0], "300.050");
  EXPECT_EQ(Words(lines[2 + 3 * 2])[1], "0");
  EXPECT_EQ(Words(lines[2 + 3 * 2]).size(), 26u);
}

TEST_F(EarthworkVolumesTest, TsfjsbThatCannotBeWrittenIsReported) {
  // A file where the data folder should be.
  fixtures::writeTextFile(m_projects.linuxPath("Q/data"), "not a folder");
  g_ProjectFolder = m_projects.windowsPath("Q").c_str();
  d.sections = {Section(100, 0, 10), Section(200, 0, 20)};
  platform::TranscriptCapture transcript;
  EXPECT_EQ(d.WriteEarthworkTable(100, 200), 0);
  EXPECT_TRUE(transcript.contains("写文件出错!"));
}

}  // namespace
