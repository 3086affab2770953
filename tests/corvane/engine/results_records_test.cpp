// The section records of HdmResultData and HdmDetailArea: their text as
// written, the values read back, and records that are short or name counts
// beyond their room.

#include <gtest/gtest.h>

#include <string>

#include "corvane/engine/results_support.h"

namespace {

using results_test::ReadText;
using results_test::SetLine;
using results_test::WriteText;

class SectionRecordFilesTest : public results_test::RecordFilesTest {
 protected:
  SectionRecordFilesTest() : RecordFilesTest("records") {}

  // Reads `text` into section 0 of `d` with `read`; its result.
  template <class Read>
  int ReadBack(CrossSectionDesigner& d, const std::string& text, Read read) {
    const std::string path = m_dir + "/in.txt";
    WriteText(path, text);
    FILE* fp = platform::openFile(path.c_str(), "r");
    EXPECT_NE(fp, nullptr);
    const int result = read(d, fp);
    std::fclose(fp);
    return result;
  }
};

void FillAreas(SectionRecord& r) {
  r.mileage = 1234.5;
  r.leftCode = -3;
  SectionAreas& a = r.areas;
  a.fill = 7.5;
  a.fillParts = {3.0, 0.5, 4.0};
  a.cut = 2.25;
  a.cutParts = {1.0, 0.25, 1.0};
  const double rock[6] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.75};
  std::copy(rock, rock + 6, a.rockClass);
  a.surfaceLayer = 1.2;
  a.surfaceLayerParts = {0.6, 0.0, 0.6};
  a.topsoil = 0.9;
  a.topsoilParts = {0.4, 0.1, 0.4};
  a.improvedSoil = 0.3;
  a.improvedSoilParts = {0.1, 0.1, 0.1};
  a.shoulderLayer = 0.45;
  a.shoulderLayerParts = {0.2, 0.05, 0.2};
  a.ditchLining = 1.5;
  a.ditchLiningParts = {0.5, 0.5, 0.5};
  a.retainingWallLength = 2.0;
  a.retainingWallParts = {1.0, 0.0, 1.0};
  a.turfLength = 12.345;
  a.turfParts = {6.0, 0.345, 6.0};
  a.ditchFill = 0.7;
  a.ditchFillLeft = 0.3;
  a.ditchFillRight = 0.4;
  a.ditchCut = 0.8;
  a.ditchCutLeft = 0.5;
  a.ditchCutRight = 0.3;
  for (double& v : a.excavationClass) v = 99.0;  // not part of the record
}

TEST_F(SectionRecordFilesTest, AreaRecordHasThirteenLinesInFileOrderAndReadsBack) {
  CrossSectionDesigner d;
  d.AllocateSections(1);
  FillAreas(d.sections[0]);
  const std::string text = Written(d, [](const CrossSectionDesigner& x, FILE* fp) { x.WriteAreaRecord(0, fp); });
  EXPECT_EQ(text,
            "1234.500000 -3\n"
            "7.500 3.000 0.500 4.000\n"
            "2.250 1.000 0.250 1.000\n"
            "0.100 0.200 0.300 0.400 0.500 0.750\n"
            "1.200 0.600 0.000 0.600\n"
            "0.900 0.400 0.100 0.400\n"
            "0.300 0.100 0.100 0.100\n"
            "0.450 0.200 0.050 0.200\n"
            "1.500 0.500 0.500 0.500\n"
            "2.000 1.000 0.000 1.000\n"
            "12.345 6.000 0.345 6.000\n"
            "0.700 0.300 0.400\n"
            "0.800 0.500 0.300\n"
            "\n");

  CrossSectionDesigner back;
  back.AllocateSections(1);
  ASSERT_EQ(ReadBack(back, text, [](CrossSectionDesigner& x, FILE* fp) { return x.ReadDataFile(0, fp); }), 1);
  SectionRecord expected;
  FillAreas(expected);
  const SectionRecord& r = back.sections[0];
  const SectionAreas& a = r.areas;
  const SectionAreas& e = expected.areas;
  EXPECT_DOUBLE_EQ(r.mileage, 1234.5);
  EXPECT_EQ(r.leftCode, -3);
  const std::pair<const AreaTriple*, const AreaTriple*> triples[] = {
      {&a.fillParts, &e.fillParts},         {&a.cutParts, &e.cutParts},
      {&a.surfaceLayerParts, &e.surfaceLayerParts}, {&a.topsoilParts, &e.topsoilParts},
      {&a.improvedSoilParts, &e.improvedSoilParts}, {&a.shoulderLayerParts, &e.shoulderLayerParts},
      {&a.ditchLiningParts, &e.ditchLiningParts},   {&a.retainingWallParts, &e.retainingWallParts},
      {&a.turfParts, &e.turfParts}};
  for (const auto& [got, want] : triples) {
    EXPECT_NEAR(got->left, want->left, 1e-9);
    EXPECT_NEAR(got->middle, want->middle, 1e-9);
    EXPECT_NEAR(got->right, want->right, 1e-9);
  }
  const double totals[][2] = {{a.fill, e.fill},
                              {a.cut, e.cut},
                              {a.surfaceLayer, e.surfaceLayer},
                              {a.topsoil, e.topsoil},
                              {a.improvedSoil, e.improvedSoil},
                              {a.shoulderLayer, e.shoulderLayer},
                              {a.ditchLining, e.ditchLining},
                              {a.retainingWallLength, e.retainingWallLength},
                              {a.turfLength, e.turfLength},
                              {a.ditchFill, e.ditchFill},
                              {a.ditchFillLeft, e.ditchFillLeft},
                              {a.ditchFillRight, e.ditchFillRight},
                              {a.ditchCut, e.ditchCut},
                              {a.ditchCutLeft, e.ditchCutLeft},
                              {a.ditchCutRight, e.ditchCutRight}};
  for (const auto& t : totals) EXPECT_NEAR(t[0], t[1], 1e-9);
  for (int k = 0; k < 6; ++k) EXPECT_NEAR(a.rockClass[k], e.rockClass[k], 1e-9);
  // The summary copies follow the totals; the excavation classes are not read.
  EXPECT_DOUBLE_EQ(r.fillTotal, 7.5);
  EXPECT_DOUBLE_EQ(r.cutTotal, 2.25);
  EXPECT_DOUBLE_EQ(a.excavationClass[0], 0.0);
}

// A double-line section with two ground blocks, design lines on three sides
// and ditch lists.
SectionRecord DesignedRecord() {
  SectionRecord r;
  r.mileage = 500.25;
  r.lineRelation = 2;
  r.kind = 2;
  r.centreFillHeight = 1.5;
  r.groundElevation = 100.125;
  r.leftLineOffset = -5.0;
  r.rightLineOffset = 0.0;
  r.curveWidening = 0.2;
  r.rightCurveWidening = 0.1;
  r.leftLandTake = 20.5;
  r.rightLandTake = 15.25;
  r.crownOffset[0] = -5.0;
  r.crownOffset[1] = 0.0;
  r.referenceElevation[0] = 100.0;
  r.referenceElevation[1] = 99.5;
  r.leftCode = -3;
  r.rightCode = 1;
  for (int k = 0; k < kSectionSides; ++k)
    for (int j = 0; j < 4; ++j) r.roadbedTop[k][j] = PairXY{k + 0.5 * j, 100.0 + k};
  GroundBlock ground;
  ground.layer = 0;
  ground.rockType = 2;
  ground.leftCount = 2;
  ground.left[1] = PairXY{5.0, -0.5};
  ground.rightCount = 1;
  GroundBlock rock;
  rock.layer = 1;
  rock.rockType = 4;
  rock.rightCount = 2;
  rock.right[0] = PairXY{0.0, -2.0};
  rock.right[1] = PairXY{7.25, -2.5};
  r.groundBlocks = {ground, rock};
  SetLine(r, -1, {{0.0, 0.2}, {-0.0, 0.2}, {-3.1, 0.075}});
  SetLine(r, -2, {{-1.0, 1.0}});
  SetLine(r, 2, {{0.0, 0.5}, {9.5, -2.25}});
  const double forms[4] = {0.0, 1.0, 3.0, 0.0};
  const int kinds[4] = {1, -1, 2, 0};
  for (int k = 0; k < kSectionSides; ++k) {
    r.formCode[k] = forms[k];
    r.ditchKind[k] = kinds[k];
  }
  r.drainageDitchCount[0] = 5;
  for (int j = 0; j < 5; ++j) r.drainageDitch[0][j] = PairXY{-10.0 - j, -1.0 - 0.1 * j};
  r.topDitchCount[2] = 4;
  for (int j = 0; j < 4; ++j) r.topDitch[2][j] = PairXY{20.0 + j, 3.0 + j};
  return r;
}

TEST_F(SectionRecordFilesTest, ResultRecordStartsWithItsHeadLineAndReadsBackIntoAFreshSection) {
  CrossSectionDesigner d;
  d.AllocateSections(1);
  d.sections[0] = DesignedRecord();
  const std::string text =
      Written(d, [](const CrossSectionDesigner& x, FILE* fp) { x.WriteSectionResult(0, fp); });
  const std::string head =
      "\n500.250 2 2 1.500 100.125 -5.000 0.000 0.200 0.100 20.500 15.250 -5.000 0.000 100.000 99.500 -3 1\n";
  EXPECT_EQ(text.substr(0, head.size()), head);
  // The ground blocks: their count, then layer, rock type and the two sides.
  EXPECT_NE(text.find("\n2 \n0 2\n2 0.000 0.000 5.000 -0.500 \n1 0.000 0.000 \n1 4\n0 \n2 0.000 -2.000 7.250 -2.500 "),
            std::string::npos)
      << text;
  // Side -1: its form code and points, then ditch kind and the two list counts.
  EXPECT_NE(text.find("\n0.000 3 0.000 0.200 -0.000 0.200 -3.100 0.075 \n1 5 0 -10.000 -1.000 "), std::string::npos)
      << text;
  EXPECT_EQ(text.back(), '\n');

  CrossSectionDesigner back;
  back.AllocateSections(1);
  // Old design points of the section are replaced, not added to.
  SetLine(back.sections[0], 1, {{1.0, 1.0}, {2.0, 2.0}});
  ASSERT_EQ(ReadBack(back, text, [](CrossSectionDesigner& x, FILE* fp) { return x.ReadSectionResult(0, fp); }), 1);
  const SectionRecord& r = back.sections[0];
  const SectionRecord e = DesignedRecord();
  EXPECT_DOUBLE_EQ(r.mileage, e.mileage);
  EXPECT_EQ(r.lineRelation, 2);
  EXPECT_EQ(r.kind, 2);
  const double heads[][2] = {{r.centreFillHeight, e.centreFillHeight}, {r.groundElevation, e.groundElevation},
                             {r.leftLineOffset, e.leftLineOffset},     {r.rightLineOffset, e.rightLineOffset},
                             {r.curveWidening, e.curveWidening},       {r.rightCurveWidening, e.rightCurveWidening},
                             {r.leftLandTake, e.leftLandTake},         {r.rightLandTake, e.rightLandTake},
                             {r.crownOffset[0], e.crownOffset[0]},     {r.crownOffset[1], e.crownOffset[1]},
                             {r.referenceElevation[0], e.referenceElevation[0]},
                             {r.referenceElevation[1], e.referenceElevation[1]}};
  for (const auto& h : heads) EXPECT_NEAR(h[0], h[1], 1e-9);
  EXPECT_EQ(r.leftCode, -3);
  EXPECT_EQ(r.rightCode, 1);
  for (int k = 0; k < kSectionSides; ++k) {
    SCOPED_TRACE(k);
    for (int j = 0; j < 4; ++j) {
      EXPECT_NEAR(r.roadbedTop[k][j].x, e.roadbedTop[k][j].x, 1e-9);
      EXPECT_NEAR(r.roadbedTop[k][j].y, e.roadbedTop[k][j].y, 1e-9);
    }
    EXPECT_EQ(r.formCode[k], e.formCode[k]);
    EXPECT_EQ(r.ditchKind[k], e.ditchKind[k]);
    ASSERT_EQ(r.designLines[k].length(), e.designLines[k].length());
    EXPECT_EQ(r.pointCount[k], e.designLines[k].length());
    for (int j = 0; j < r.designLines[k].length(); ++j) {
      EXPECT_NEAR(r.designLines[k][j].x, e.designLines[k][j].x, 1e-9);
      EXPECT_NEAR(r.designLines[k][j].y, e.designLines[k][j].y, 1e-9);
      EXPECT_EQ(r.designLines[k][j].z, 0.0);
    }
    ASSERT_EQ(r.drainageDitchCount[k], e.drainageDitchCount[k]);
    ASSERT_EQ(r.topDitchCount[k], e.topDitchCount[k]);
    for (int j = 0; j < r.drainageDitchCount[k]; ++j) EXPECT_NEAR(r.drainageDitch[k][j].y, e.drainageDitch[k][j].y, 1e-9);
    for (int j = 0; j < r.topDitchCount[k]; ++j) EXPECT_NEAR(r.topDitch[k][j].x, e.topDitch[k][j].x, 1e-9);
  }
  ASSERT_EQ(r.GroundBlockCount(), 2);
  EXPECT_EQ(r.groundBlocks[1].layer, 1);
  EXPECT_EQ(r.groundBlocks[1].rockType, 4);
  EXPECT_EQ(r.groundBlocks[0].leftCount, 2);
  EXPECT_EQ(r.groundBlocks[0].rightCount, 1);
  EXPECT_EQ(r.groundBlocks[1].leftCount, 0);
  ASSERT_EQ(r.groundBlocks[1].rightCount, 2);
  EXPECT_DOUBLE_EQ(r.groundBlocks[1].right[1].x, 7.25);
  EXPECT_DOUBLE_EQ(r.groundBlocks[1].right[1].y, -2.5);
}

TEST_F(SectionRecordFilesTest, SectionWithoutGroundBlocksWritesCountZeroAndReadsBackWithNone) {
  CrossSectionDesigner d;
  d.AllocateSections(1);
  d.sections[0].mileage = 10.0;
  d.sections[0].groundBlocks.clear();
  const std::string text =
      Written(d, [](const CrossSectionDesigner& x, FILE* fp) { x.WriteSectionResult(0, fp); });
  EXPECT_NE(text.find("\n0 \n0.000 0 \n-1 0 0 "), std::string::npos) << text;
  CrossSectionDesigner back;
  back.AllocateSections(1);
  back.sections[0].groundBlocks.assign(3, GroundBlock());
  ASSERT_EQ(ReadBack(back, text, [](CrossSectionDesigner& x, FILE* fp) { return x.ReadSectionResult(0, fp); }), 1);
  EXPECT_EQ(back.sections[0].GroundBlockCount(), 0);
}

// A hand-written record: the head line, four zero point blocks, then the
// ground blocks and the four sides as given.
std::string HandRecord(const std::string& ground, const std::string& sides) {
  std::string text = "\n1.000 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";
  for (int i = 0; i < 32; ++i) text += "0 ";
  return text + ground + sides + "\n";
}

const std::string kGoodGround = "\n1 \n0 2\n2 0 0 1 1 \n0 ";
const std::string kGoodSide = "\n0 0 \n-1 0 0 ";
const std::string kGoodSides = kGoodSide + kGoodSide + kGoodSide + kGoodSide;

TEST_F(SectionRecordFilesTest, DamagedResultRecordsAreRefused) {
  struct Case {
    const char* what;
    std::string text;
    int result;
  };
  const std::string twoSides = kGoodSide + kGoodSide;
  const Case cases[] = {
      {"a good record", HandRecord(kGoodGround, kGoodSides), 1},
      {"cut short in the sides", HandRecord(kGoodGround, kGoodSide + "\n0 2 1 1 "), 0},
      {"cut short in the head line", "\n1.000 1 1 0 0", 0},
      {"65 ground blocks", HandRecord("\n65 \n0 2\n0 \n0 ", kGoodSides), 0},
      {"a negative ground block count", HandRecord("\n-1 ", kGoodSides), 0},
      {"201 ground points on a side", HandRecord("\n1 \n0 2\n201 ", kGoodSides), 0},
      {"a negative design point count", HandRecord(kGoodGround, "\n0 -2 " + twoSides), 0},
      {"8 drainage-ditch points", HandRecord(kGoodGround, "\n0 0 \n1 8 0 " + twoSides), 0},
      {"11 top-ditch points", HandRecord(kGoodGround, "\n0 0 \n2 0 11 " + twoSides), 0},
      {"a word where a count stands", HandRecord("\nzwei ", kGoodSides), 0},
      // Numbers that are not finite, or longer than any the writers write.
      {"a ground point that is infinite", HandRecord("\n1 \n0 2\n2 0 0 inf 1 \n0 ", kGoodSides), 0},
      {"a ground point that is nan", HandRecord("\n1 \n0 2\n2 0 0 1 NaN \n0 ", kGoodSides), 0},
      {"a ground point beyond a double", HandRecord("\n1 \n0 2\n2 0 0 1e999 1 \n0 ", kGoodSides), 0},
      {"a ground point of 49 digits", HandRecord("\n1 \n0 2\n2 0 0 " + std::string(49, '1') + " 1 \n0 ", kGoodSides), 0},
      {"a ground point of 48 digits", HandRecord("\n1 \n0 2\n2 0 0 " + std::string(48, '1') + " 1 \n0 ", kGoodSides), 1},
      {"a count beyond an int", HandRecord("\n99999999999 ", kGoodSides), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossSectionDesigner back;
    back.AllocateSections(1);
    EXPECT_EQ(ReadBack(back, c.text, [](CrossSectionDesigner& x, FILE* fp) { return x.ReadSectionResult(0, fp); }),
              c.result);
    // A refused count never stands in the record: what a later step indexes stays within its room.
    const SectionRecord& r = back.sections[0];
    for (int k = 0; k < kSectionSides; ++k) {
      EXPECT_TRUE(r.drainageDitchCount[k] >= 0 && r.drainageDitchCount[k] <= kDrainageDitchPoints) << k;
      EXPECT_TRUE(r.topDitchCount[k] >= 0 && r.topDitchCount[k] <= kTopDitchPoints) << k;
    }
    for (const GroundBlock& block : r.groundBlocks) {
      EXPECT_TRUE(block.leftCount >= 0 && block.leftCount <= kGroundPointsPerSide);
      EXPECT_TRUE(block.rightCount >= 0 && block.rightCount <= kGroundPointsPerSide);
    }
  }
}

TEST_F(SectionRecordFilesTest, WritersAndReadersIgnoreAnIndexOutsideTheSections) {
  CrossSectionDesigner d;
  d.AllocateSections(1);
  const std::string text = Written(d, [](const CrossSectionDesigner& x, FILE* fp) {
    x.WriteSectionResult(1, fp);
    x.WriteAreaRecord(-1, fp);
  });
  EXPECT_EQ(text, "");
  EXPECT_EQ(ReadBack(d, HandRecord(kGoodGround, kGoodSides),
                     [](CrossSectionDesigner& x, FILE* fp) { return x.ReadSectionResult(1, fp); }),
            0);
}

}  // namespace
