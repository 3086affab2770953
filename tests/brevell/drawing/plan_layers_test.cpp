// The plan layers: the 36 names by position, and the 35 layers that
// AlignmentModel::CreatePlanLayers empties and makes, with their colours and
// line weights for 彩图 and 黑白 (the colour table as written: 黑白 gives
// the colours 130, 1, 5, 彩图 gives 1 everywhere).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "AlignmentModel.h"
#include "PlanLayers.h"
#include "shared/drawbase_support.h"

namespace {

using drawbasetest::DrawingTest;
using drawbasetest::LayerIdOf;
using drawbasetest::Reader;

TEST(PlanLayerNames, ThirtySixNamesByPosition) {
  const char* const expected[] = {
      "交点",       "左线交点",         "右线交点",         "交点连线", "左线交点连线",     "右线交点连线",
      "线路中线",   "左线路中线",       "右线路中线",       "里程",     "左线绕行段里程",   "右线绕行段里程",
      "特征点位置", "左线特征点位置",   "右线特征点位置",   "大中桥",   "左线绕行段大中桥", "右线绕行段大中桥",
      "小桥涵",     "左线绕行段小桥涵", "右线绕行段小桥涵", "隧道",     "左线绕行段隧道",   "右线绕行段隧道",
      "车站",       "左线绕行段车站",   "右线绕行段车站",   "水准点",   "左线绕行段水准点", "右线绕行段水准点",
      "导线",       "左线绕行段导线",   "右线绕行段导线",   "左线间距", "右线间距",         "平曲线要素表"};
  static_assert(std::size(expected) == kPlanLayerCount);
  for (int i = 0; i < kPlanLayerCount; ++i) EXPECT_STREQ(PlanLayerNames[i], expected[i]) << "position " << i + 1;

  const struct {
    PlanLayer group;
    int line;
    const char* name;
  } lookups[] = {{kLayerIp, kBaseLine, "交点"},
                 {kLayerCenterline, kLeftLine, "左线路中线"},
                 {kLayerChainage, kRightLine, "右线绕行段里程"},
                 {kLayerTraverse, -7, "左线绕行段导线"},
                 {kLayerCulvert, 3, "右线绕行段小桥涵"}};
  for (const auto& l : lookups) EXPECT_STREQ(PlanLayerOf(l.group, l.line), l.name);
}

// The 35 layers in the order they are made, with the colour under 黑白 and
// the line weight asked for (彩图 gives colour 1 to all).
struct LayerRow {
  const char* name;
  int blackAndWhiteColour;
  int lineWeight;
};
const LayerRow kMade[] = {
    {"交点", 130, -1},          {"左线交点", 1, -1},         {"右线交点", 5, -1},
    {"线路中线", 130, -1},      {"左线路中线", 1, -1},       {"右线路中线", 5, -1},
    {"里程", 130, -1},          {"左线绕行段里程", 1, -1},   {"右线绕行段里程", 5, -1},
    {"特征点位置", 130, -1},    {"左线特征点位置", 1, -1},   {"右线特征点位置", 5, -1},
    {"交点连线", 130, -1},      {"左线交点连线", 1, -1},     {"右线交点连线", 5, -1},
    {"大中桥", 130, 50},        {"左线绕行段大中桥", 1, 50}, {"右线绕行段大中桥", 5, 50},
    {"隧道", 130, 50},          {"左线绕行段隧道", 1, 50},   {"右线绕行段隧道", 5, 50},
    {"车站", 130, 0},           {"左线绕行段车站", 1, 0},    {"右线绕行段车站", 5, 0},
    {"水准点", 130, 0},         {"左线绕行段水准点", 1, 0},  {"右线绕行段水准点", 5, 0},
    {"导线", 130, 0},           {"左线绕行段导线", 1, 0},    {"右线绕行段导线", 5, 0},
    {"左线间距", 1, 0},         {"右线间距", 5, 0},          {"小桥涵", 130, 0},
    {"左线绕行段小桥涵", 1, 0}, {"右线绕行段小桥涵", 5, 0},
};

// The names of the layers of the working drawing, in table order.
std::vector<std::string> LayerNames() {
  std::vector<std::string> names;
  Reader<AcDbLayerTable> table(acdbHostApplicationServices()->workingDatabase()->layerTableId());
  AcDbSymbolTableIterator* it = nullptr;
  table->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbSymbolTableRecord* record = nullptr;
    if (it->getRecord(record, AcDb::kForRead) != Acad::eOk) continue;
    names.push_back(record->name());
    record->close();
  }
  delete it;
  return names;
}

AcDbObjectId ContinuousId() {
  AcDbLinetypeTable* table = nullptr;
  acdbHostApplicationServices()->workingDatabase()->getLinetypeTable(table, AcDb::kForRead);
  AcDbObjectId id;
  table->getAt("CONTINUOUS", id);
  table->close();
  return id;
}

class PlanLayersMade : public DrawingTest {};

TEST_F(PlanLayersMade, ColoursAndWeightsForBothColourSets) {
  for (bool blackAndWhite : {true, false}) {
    SCOPED_TRACE(blackAndWhite ? "黑白" : "彩图");
    SetUp();
    AlignmentModel model;
    model.settings.blackAndWhite = blackAndWhite;
    model.CreatePlanLayers();

    // Every layer in the order made, after layer "0"; 平曲线要素表 is not made.
    std::vector<std::string> expectedNames = {"0"};
    for (const LayerRow& row : kMade) expectedNames.push_back(row.name);
    EXPECT_EQ(LayerNames(), expectedNames);
    for (const LayerRow& row : kMade) {
      SCOPED_TRACE(row.name);
      Reader<AcDbLayerTableRecord> layer(LayerIdOf(row.name));
      ASSERT_TRUE(layer);
      EXPECT_EQ(layer->colorIndex(), blackAndWhite ? row.blackAndWhiteColour : 1);
      // A layer cannot be "by layer": the host keeps it at the default weight.
      const int weight = row.lineWeight == -1 ? static_cast<int>(AcDb::kLnWtByLwDefault) : row.lineWeight;
      EXPECT_EQ(static_cast<int>(layer->lineWeight()), weight);
      EXPECT_EQ(layer->linetypeObjectId(), ContinuousId());
    }
    // The ids the model keeps.
    const struct {
      AcDbObjectId kept;
      const char* name;
    } kept[] = {{model.IpLayerId(kBaseLine), "交点"},
                {model.IpLayerId(kLeftLine), "左线交点"},
                {model.IpLayerId(kRightLine), "右线交点"},
                {model.CenterlineLayerId(kBaseLine), "线路中线"},
                {model.CenterlineLayerId(kLeftLine), "左线路中线"},
                {model.CenterlineLayerId(kRightLine), "右线路中线"},
                {model.TraverseLayerId(kBaseLine), "导线"},
                {model.TraverseLayerId(kLeftLine), "左线绕行段导线"},
                {model.TraverseLayerId(kRightLine), "右线绕行段导线"}};
    for (const auto& k : kept) EXPECT_EQ(k.kept, LayerIdOf(k.name)) << k.name;
    TearDown();
  }
}

// A second plan starts from clean layers: what lies on the plan layers goes,
// what lies on other layers stays, and an existing plan layer keeps its
// record and takes the table's colour.
TEST_F(PlanLayersMade, RedrawingEmptiesThePlanLayersOnly) {
  const AcDbObjectId existing = drawbasetest::AddTestLayer("车站", 4);
  const AcDbObjectId onPlan[] = {drawbasetest::AddTestLine("交点", 1), drawbasetest::AddTestLine("左线间距", 2),
                                 drawbasetest::AddTestLine("右线绕行段小桥涵", 3),
                                 drawbasetest::AddTestLine("车站", 4)};
  const AcDbObjectId other = drawbasetest::AddTestLine("地形", 5);
  const AcDbObjectId table = drawbasetest::AddTestLine("平曲线要素表", 6);
  AlignmentModel model;
  model.settings.blackAndWhite = true;
  model.CreatePlanLayers();
  const std::vector<AcDbObjectId> left = drawbasetest::ModelSpaceIds();
  EXPECT_EQ(left, (std::vector<AcDbObjectId>{other, table}));
  for (AcDbObjectId id : onPlan) EXPECT_TRUE(std::find(left.begin(), left.end(), id) == left.end());
  EXPECT_EQ(LayerIdOf("车站"), existing);
  Reader<AcDbLayerTableRecord> layer(existing);
  EXPECT_EQ(layer->colorIndex(), 130);
  EXPECT_EQ(drawbasetest::LayerCount("车站"), 1);
}

}  // namespace
