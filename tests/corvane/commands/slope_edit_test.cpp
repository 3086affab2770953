// EDITBP's scopes over drawn design lines of a baseline: the picked line
// alone, the run of like sections around it (passing over a bridge, ending
// where the side's form code differs by more than 0.1), the whole line; and
// the command itself: a text picked ends it silently, a width of 0 leaves
// the slope start, Cancel changes nothing.
#include <set>

#include "SlopeEdit.h"
#include "arx/dbents.h"
#include "arx/prompt_input.h"
#include "entity_support.h"
#include "resources/CorvaneResources.h"
#include "win/answers.h"
#include "win/transcript.h"

namespace {

using entity_test::Append;
using entity_test::Pick;

class SlopeEditTest : public entity_test::SectionEntityTest {
 protected:
  void SetUp() override {
    SectionEntityTest::SetUp();
    RegisterCorvaneResources();
    // Sections 100 .. 700: the left side's form code of each, a bridge at 400.
    const double formCodes[7] = {3.0, 1.0, 1.0, 0.0, 1.05, 1.0, 0.0};
    for (int i = 0; i < 7; ++i) {
      SectionRecord r;
      r.mileage = 100.0 * (i + 1);
      r.formCode[SideIndex(-1)] = formCodes[i];
      r.pointCount[SideIndex(-1)] = 10;
      if (i == 3) r.leftCode = r.rightCode = 1;  // inside the bridge: passed over
      g_BaselineDesigner.sections.push_back(r);
    }
    for (int i = 0; i < 7; ++i) {
      if (i == 3) continue;  // nothing drawn inside the bridge
      m_left[i] = AddLine(100.0 * (i + 1), -1, i == 1 ? 8.0 : 10.0);
    }
    m_right = AddLine(300.0, 1, 10.0);
  }
  void TearDown() override {
    platform::clearAnswers();
    platform::clearPromptTokens();
    g_LastEditedSection = -1;
    SectionEntityTest::TearDown();
  }
  // A cut-side line of the baseline with a formation `width` wide and two
  // cutting grades, listed as the drawing lists it.
  AcDbObjectId AddLine(double chainage, int side, double width) {
    auto* line = new DesignLine();
    DesignLineData& d = line->Edit();
    for (int k = 0; k < 10; ++k) d.vertices.push_back(AcGePoint3d(k < 2 ? 0.0 : width + k, 0.0, 0.0));
    d.vertices[4] = AcGePoint3d(width, 0.0, 0.0);
    d.geometry.pointA[0] = d.geometry.pointA[1] = 0.0;
    for (double* copy : d.geometry.slopeStart) copy[0] = width, copy[1] = 0.0;
    d.SetFormCode(1.0);
    d.cutting.count = 2;
    d.cutting.ratio[0] = d.cutting.ratio[1] = 1.0;
    d.lineCode = 0;
    d.detourIndex = -1;
    d.chainage = chainage;
    d.side = side;
    const AcDbObjectId id = Append(line);
    DesignLineList.push_back({id, chainage, side, 0, -1});
    return id;
  }
  bool Edited(AcDbObjectId id) {
    DesignLine* line = Open<DesignLine>(id);
    const SlopeGradeArrays t = line->Data().cutting;
    line->close();
    return t.count == 2 && t.ratio[0] == 0.5 && t.ratio[1] == 0.75 && t.height[0] == 6.0 && t.bermWidth[0] == 1.0;
  }
  double SlopeStartX(AcDbObjectId id) {
    DesignLine* line = Open<DesignLine>(id);
    const double x = line->Data().geometry.slopeStart[0][0];
    line->close();
    return x;
  }

  AcDbObjectId m_left[7];
  AcDbObjectId m_right;
  const double m_ratio[2] = {0.5, 0.75}, m_height[2] = {6.0, 100.0}, m_berm[2] = {1.0, 0.0};
};

TEST_F(SlopeEditTest, ScopesChangeThePickedLineTheRunOrTheWholeLine) {
  struct Case {
    const char* name;
    SlopeEditScope scope;
    std::set<int> changed;  // sections whose left line takes the grades
    int lastEdited;
  } const cases[] = {
      {"current section", {true, false, false}, {2}, 2},
      {"work point: over the bridge, up to the differing form codes", {false, true, false}, {1, 2, 4, 5}, 5},
      {"whole line", {false, false, true}, {0, 1, 2, 4, 5, 6}, 6},
      {"no scope", {false, false, false}, {}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    ApplySlopeEdit(c.scope, m_left[2], SlopeGradeEdit{2, m_ratio, m_height, m_berm});
    for (int i = 0; i < 7; ++i)
      if (i != 3) {
        EXPECT_EQ(Edited(m_left[i]), c.changed.count(i) == 1) << "section " << i;
      }
    EXPECT_FALSE(Edited(m_right));  // the other side never
    EXPECT_EQ(g_LastEditedSection, c.lastEdited);
  }
  // The run brought the narrower line of section 200 to the picked line's width.
  TearDown();
  SetUp();
  ApplySlopeEdit({false, true, false}, m_left[2], SlopeGradeEdit{2, m_ratio, m_height, m_berm});
  EXPECT_DOUBLE_EQ(SlopeStartX(m_left[1]), 10.0);
}

TEST_F(SlopeEditTest, TheCommandEndsSilentlyOnATextAndKeepsTheStartForAZeroWidth) {
  struct Case {
    const char* name;
    bool pickText;
    const char* answer;  // the dialog's words (none when no dialog may open)
    double startX;       // the picked line's slope start afterwards
    bool edited;
  } const cases[] = {
      {"a text picked", true, nullptr, 10.0, false},
      {"width 0", false, "@2532 288=0 259", 10.0, false},
      {"width 12.5", false, "@2532 288=12.5 259", 12.5, false},
      {"cancelled", false, "@2532 288=20 260", 10.0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    platform::TranscriptCapture transcript;
    AcDbObjectId picked = m_left[2];
    if (c.pickText) picked = Append(new AcDbText(AcGePoint3d(0, 0, 0), "文字", AcDbObjectId::kNull, 2.5, 0.0));
    platform::queuePromptToken(Pick(picked));
    if (c.answer) {
      std::string error;
      ASSERT_TRUE(platform::queueAnswerLine(c.answer, &error)) << error;
    }
    OnCmdEDITBP();
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    EXPECT_DOUBLE_EQ(SlopeStartX(m_left[2]), c.startX);
    EXPECT_EQ(Edited(m_left[2]), c.edited);
    if (c.pickText) {
      EXPECT_EQ(transcript.text().find("修改边坡"), std::string::npos) << transcript.text();
    }
  }
}

// The grades typed into the dialog's grid (control 286) by the script's cell
// words, with rows added and deleted there, are the grades EDITBP writes.
// The picked line shows its two cutting grades of ratio 1 in rows 1 and 2.
TEST_F(SlopeEditTest, GradesEditedInTheGridAreTheGradesWritten) {
  struct Case {
    const char* name;
    const char* words;
    int count;
    double ratio[3];
    double height0, berm0;
  } const cases[] = {
      {"both rows typed", "286[1,1]=0.5 286[1,2]=6 286[1,3]=1 286[2,1]=0.75", 2, {0.5, 0.75}, 6.0, 1.0},
      {"row 2 deleted", "286[2,1] 2612 286[1,1]=0.5", 1, {0.5}, 0.0, 0.0},
      {"a row added after row 1", "286[1,1] 2622 286[2,1]=0.75 286[2,2]=4", 3, {1.0, 0.75, 1.0}, 0.0, 0.0},
      {"the header's column selected: every grade goes, the header stays", "286[0,1] 2612", 0, {}, 0.0, 0.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    platform::queuePromptToken(Pick(m_left[2]));
    std::string error;
    ASSERT_TRUE(platform::queueAnswerLine(std::string("@2532 ") + c.words + " 259", &error)) << error;
    OnCmdEDITBP();
    EXPECT_EQ(platform::pendingAnswers(), 0u);
    DesignLine* line = Open<DesignLine>(m_left[2]);
    const SlopeGradeArrays t = line->Data().cutting;
    line->close();
    ASSERT_EQ(t.count, c.count);
    for (int i = 0; i < c.count; ++i) EXPECT_DOUBLE_EQ(t.ratio[i], c.ratio[i]) << "grade " << i;
    if (c.count > 0) {
      EXPECT_DOUBLE_EQ(t.height[0], c.height0);
      EXPECT_DOUBLE_EQ(t.bermWidth[0], c.berm0);
      EXPECT_DOUBLE_EQ(t.height[c.count - 1], c.count == 1 ? 0.0 : 100.0);  // the last row shown reaches the top
    }
  }
}

}  // namespace
