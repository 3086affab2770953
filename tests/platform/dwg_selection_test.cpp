// Selection sets, filters, picking an entity from the script, result buffers.
#include <gtest/gtest.h>

#include "arx/prompt_input.h"
#include "arx/selection.h"
#include "dwg_fixture.h"
#include "win/transcript.h"

namespace {

using dwgtest::DrawingTest;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0); }

class SelectionTest : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    platform::clearPromptTokens();
    dwgtest::addLayer(db(), "隧道", 1);
    dwgtest::addLayer(db(), "左线绕行段隧道", 2);
    dwgtest::addLayer(db(), "Hdm", 3);
    m_tunnelLine = addOn(new AcDbLine(P(0, 0), P(10, 0)), "隧道");
    m_tunnelText = addOn(new AcDbText(P(0, 5), "隧道 1", AcDbObjectId(), 2), "隧道");
    m_leftLine = addOn(new AcDbLine(P(0, 20), P(10, 20)), "左线绕行段隧道");
    auto* pl = new AcDbPolyline();
    pl->addVertexAt(0, AcGePoint2d(50, 50));
    pl->addVertexAt(1, AcGePoint2d(60, 50));
    m_hdmPoly = addOn(pl, "Hdm");
    m_hdmCircle = addOn(new AcDbCircle(P(100, 100), AcGeVector3d::kZAxis, 5), "HDM");
  }
  void TearDown() override {
    platform::clearPromptTokens();
    DrawingTest::TearDown();
  }
  AcDbObjectId addOn(AcDbEntity* e, const char* layer) {
    EXPECT_EQ(e->setLayer(layer), Acad::eOk);
    return add(e);
  }
  // The ids of a selection, in order; the set is freed.
  static std::vector<AcDbObjectId> take(ads_name ss) {
    std::vector<AcDbObjectId> out;
    long n = 0;
    EXPECT_EQ(acedSSLength(ss, &n), RTNORM);
    for (long i = 0; i < n; ++i) {
      ads_name ent;
      EXPECT_EQ(acedSSName(ss, i, ent), RTNORM);
      AcDbObjectId id;
      EXPECT_EQ(acdbGetObjectId(id, ent), Acad::eOk);
      out.push_back(id);
    }
    EXPECT_EQ(acedSSFree(ss), RTNORM);
    return out;
  }
  AcDbObjectId m_tunnelLine, m_tunnelText, m_leftLine, m_hdmPoly, m_hdmCircle;
};

// A filter list held on the stack.
struct Filter {
  std::vector<resbuf> items;
  std::vector<std::string> texts;
  Filter(std::initializer_list<std::pair<int, const char*>> groups) {
    items.resize(groups.size());
    texts.reserve(groups.size());
    size_t i = 0;
    for (const auto& [code, value] : groups) {
      texts.emplace_back(value);
      items[i].restype = static_cast<short>(code);
      items[i].resval.rstring = texts.back().data();
      items[i].rbnext = i + 1 < groups.size() ? &items[i + 1] : nullptr;
      ++i;
    }
  }
  const resbuf* list() const { return items.data(); }
};

TEST_F(SelectionTest, OperatorGroupsCombineTests) {
  using Ids = std::vector<AcDbObjectId>;
  struct Case {
    const char* what;
    Filter filter;
    Ids expected;
  };
  const Case cases[] = {
      {"or", Filter{{-4, "<OR"}, {8, "Hdm"}, {0, "TEXT"}, {-4, "OR>"}}, {m_tunnelText, m_hdmPoly, m_hdmCircle}},
      {"not", Filter{{-4, "<NOT"}, {8, "*隧道"}, {-4, "NOT>"}}, {m_hdmPoly, m_hdmCircle}},
      {"and inside or", Filter{{-4, "<OR"}, {-4, "<AND"}, {0, "LINE"}, {8, "隧道"}, {-4, "AND>"}, {0, "CIRCLE"}, {-4, "OR>"}},
       {m_tunnelLine, m_hdmCircle}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ads_name ss;
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, c.filter.list(), ss), RTNORM);
    EXPECT_EQ(take(ss), c.expected);
  }
  Filter unclosed{{-4, "<OR"}, {8, "Hdm"}};
  ads_name ss;
  EXPECT_EQ(acedSSGet("X", nullptr, nullptr, unclosed.list(), ss), RTERROR);
}

TEST_F(SelectionTest, FiltersPickWhatTheyName) {
  using Ids = std::vector<AcDbObjectId>;
  struct Case {
    const char* what;
    resbuf* filter;
    Ids expected;
  };
  Case cases[] = {
      {"layer", acutBuildList(8, "隧道", 0), {m_tunnelLine, m_tunnelText}},
      {"layer, other ASCII case", acutBuildList(8, "hdm", 0), {m_hdmPoly, m_hdmCircle}},
      {"layer wild card", acutBuildList(8, "*隧道", 0), {m_tunnelLine, m_tunnelText, m_leftLine}},
      {"type", acutBuildList(RTDXF0, "LINE", 0), {m_tunnelLine, m_leftLine}},
      {"type alternatives", acutBuildList(RTDXF0, "TEXT,LWPOLYLINE", 0), {m_tunnelText, m_hdmPoly}},
      {"type and layer", acutBuildList(RTDXF0, "LINE", 8, "隧道", 0), {m_tunnelLine}},
      {"operators built by acutBuildList", acutBuildList(-4, "<OR", 8, "Hdm", RTDXF0, "TEXT", -4, "OR>", 0),
       {m_tunnelText, m_hdmPoly, m_hdmCircle}},
      {"no filter", nullptr, {m_tunnelLine, m_tunnelText, m_leftLine, m_hdmPoly, m_hdmCircle}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    ads_name ss;
    ASSERT_EQ(acedSSGet("X", nullptr, nullptr, c.filter, ss), RTNORM);
    EXPECT_EQ(take(ss), c.expected);
    acutRelRb(c.filter);
  }
  EXPECT_EQ(platform::openSelectionSets(), 0);
}

TEST_F(SelectionTest, EmptyOrBadSelectionsFail) {
  ads_name ss = {7, 7};
  resbuf* none = acutBuildList(8, "NOSUCHLAYER", 0);
  EXPECT_EQ(acedSSGet("X", nullptr, nullptr, none, ss), RTERROR);
  EXPECT_EQ(ss[0], 0);
  acutRelRb(none);
  EXPECT_EQ(acedSSGet("Q", nullptr, nullptr, nullptr, ss), RTERROR);
  // A set that is not (or no longer) there.
  ads_name bogus = {12345, 0x5353};
  long n = 0;
  EXPECT_EQ(acedSSLength(bogus, &n), RTERROR);
  EXPECT_EQ(acedSSFree(bogus), RTERROR);
  ASSERT_EQ(acedSSGet("X", nullptr, nullptr, nullptr, ss), RTNORM);
  ads_name ent;
  EXPECT_EQ(acedSSName(ss, 5, ent), RTERROR);
  EXPECT_EQ(acedSSName(ss, -1, ent), RTERROR);
  EXPECT_EQ(acedSSFree(ss), RTNORM);
  EXPECT_EQ(acedSSFree(ss), RTERROR);
}

TEST_F(SelectionTest, SelectedLayerIsErasedAndNothingElse) {
  // As the layer eraser does: select the layer, erase from the last to the first.
  resbuf* filter = acutBuildList(8, "隧道", 0);
  ads_name ss;
  ASSERT_EQ(acedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
  acutRelRb(filter);
  long n = 0;
  acedSSLength(ss, &n);
  for (long i = n - 1; i >= 0; --i) {
    ads_name ent;
    acedSSName(ss, i, ent);
    AcDbObjectId id;
    acdbGetObjectId(id, ent);
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
  }
  acedSSFree(ss);
  EXPECT_EQ(dwgtest::modelSpaceIds(db()), (std::vector<AcDbObjectId>{m_leftLine, m_hdmPoly, m_hdmCircle}));
  // The layer is empty now: the next selection finds nothing.
  filter = acutBuildList(8, "隧道", 0);
  EXPECT_EQ(acedSSGet("X", nullptr, nullptr, filter, ss), RTERROR);
  acutRelRb(filter);
}

TEST_F(SelectionTest, WindowAndCrossingUseTheExtents) {
  // The text "隧道 1" at height 2 is 6 GBK bytes: its box is (0,5)-(6,7).
  const double lo[3] = {-1, -1, 0}, hi[3] = {11, 8, 0}, mid[3] = {5, -1, 0}, low[3] = {11, 6.5, 0};
  ads_name ss;
  ASSERT_EQ(acedSSGet("W", lo, hi, nullptr, ss), RTNORM);
  EXPECT_EQ(take(ss), (std::vector<AcDbObjectId>{m_tunnelLine, m_tunnelText}));
  ASSERT_EQ(acedSSGet("C", mid, hi, nullptr, ss), RTNORM);
  EXPECT_EQ(take(ss), (std::vector<AcDbObjectId>{m_tunnelLine, m_tunnelText}));
  // A window that cuts the text leaves it out; a crossing one takes it.
  ASSERT_EQ(acedSSGet("W", lo, low, nullptr, ss), RTNORM);
  EXPECT_EQ(take(ss), (std::vector<AcDbObjectId>{m_tunnelLine}));
  ASSERT_EQ(acedSSGet("C", lo, low, nullptr, ss), RTNORM);
  EXPECT_EQ(take(ss), (std::vector<AcDbObjectId>{m_tunnelLine, m_tunnelText}));
  ASSERT_EQ(acedSSGet("L", nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(take(ss), (std::vector<AcDbObjectId>{m_hdmCircle}));
}

TEST_F(SelectionTest, EntSelTakesAHandleOrTheNearestEntity) {
  struct Case {
    std::string answer;
    int rc;
    AcDbObjectId expected;
  };
  char handle[20];
  m_leftLine.handle().getIntoAsciiBuffer(handle, sizeof handle);
  const Case cases[] = {
      {std::string("#") + handle, RTNORM, m_leftLine},
      {"5,1", RTNORM, m_tunnelLine},          // 1 above the line at y=0
      {"55,49", RTNORM, m_hdmPoly},
      {"100,106", RTNORM, m_hdmCircle},       // 1 outside the circle
      {"#FFFFF", RTERROR, AcDbObjectId()},    // no such handle
      {"not a point", RTERROR, AcDbObjectId()},
      {"", RTERROR, AcDbObjectId()},          // Enter
  };
  platform::TranscriptCapture shown;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    platform::queuePromptToken(c.answer);
    ads_name ent;
    ads_point pt;
    ASSERT_EQ(acedEntSel("\n请选择要修改的边坡...", ent, pt), c.rc);
    if (c.rc != RTNORM) continue;
    AcDbObjectId id;
    ASSERT_EQ(acdbGetObjectId(id, ent), Acad::eOk);
    EXPECT_EQ(id, c.expected);
  }
  ads_name ent;
  ads_point pt;
  EXPECT_EQ(acedEntSel(nullptr, ent, pt), RTCAN);  // no answer left
  EXPECT_TRUE(shown.contains("请选择要修改的边坡...5,1"));
}

TEST_F(SelectionTest, InteractiveSelectionReadsAnswersUntilEnter) {
  char handle[20];
  m_hdmCircle.handle().getIntoAsciiBuffer(handle, sizeof handle);
  platform::queuePromptToken(std::string("#") + handle);
  platform::queuePromptToken("5,21");
  platform::queuePromptToken(std::string("#") + handle);  // once only
  platform::queuePromptToken("");
  platform::TranscriptCapture shown;
  ads_name ss;
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTNORM);
  EXPECT_EQ(take(ss), (std::vector<AcDbObjectId>{m_hdmCircle, m_leftLine}));
}

TEST_F(SelectionTest, EntityNamesOfAClosedDrawingAreRefused) {
  ads_name ent;
  ASSERT_EQ(acdbGetAdsName(ent, m_tunnelLine), Acad::eOk);
  AcDbObjectId id;
  EXPECT_EQ(acdbGetObjectId(id, ent), Acad::eOk);
  EXPECT_EQ(id, m_tunnelLine);
  platform::setCurrentDrawing(nullptr);  // the drawing goes
  EXPECT_EQ(acdbGetObjectId(id, ent), Acad::eInvalidInput);
  EXPECT_TRUE(id.isNull());
}

TEST(WildcardTest, PatternsOfTheFilters) {
  struct Case {
    const char* text;
    const char* pattern;
    bool match;
  };
  const Case cases[] = {
      {"隧道", "隧道", true},        {"左线绕行段隧道", "*隧道", true}, {"隧道", "?道", true},
      {"隧道", "?", false},          {"Hdm", "HDM", true},             {"A12", "A##", true},
      {"A1B", "A##", false},         {"AB", "@@", true},               {"A-", "A.", true},
      {"LINE", "TEXT,LINE", true},   {"ARC", "TEXT,LINE", false},      {"LINE", "~LINE", false},
      {"ARC", "~LINE", true},        {"B", "[ABC]", true},             {"D", "[A-C]", false},
      {"D", "[~A-C]", true},         {"*", "`*", true},                {"x", "`*", false},
      {"", "*", true},               {"ab", "a*b*", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::wildcardMatch(c.text, c.pattern), c.match) << c.text << " ~ " << c.pattern;
}

}  // namespace
