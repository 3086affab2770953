// The plan layers: their names, and AlignmentModel::CreatePlanLayers, which
// empties them and makes them with their colours and line weights.

#include "PlanLayers.h"

#include "AlignmentModel.h"

const char* const PlanLayerNames[kPlanLayerCount] = {
    "交点",         "左线交点",         "右线交点",
    "交点连线",     "左线交点连线",     "右线交点连线",
    "线路中线",     "左线路中线",       "右线路中线",
    "里程",         "左线绕行段里程",   "右线绕行段里程",
    "特征点位置",   "左线特征点位置",   "右线特征点位置",
    "大中桥",       "左线绕行段大中桥", "右线绕行段大中桥",
    "小桥涵",       "左线绕行段小桥涵", "右线绕行段小桥涵",
    "隧道",         "左线绕行段隧道",   "右线绕行段隧道",
    "车站",         "左线绕行段车站",   "右线绕行段车站",
    "水准点",       "左线绕行段水准点", "右线绕行段水准点",
    "导线",         "左线绕行段导线",   "右线绕行段导线",
    "左线间距",     "右线间距",         "平曲线要素表",
};

const char* PlanLayerOf(PlanLayer group, int line) {
  return PlanLayerNames[group + AlignmentModel::LineSlot(line)];
}

PlanLayerColours PlanLayerColourSet(bool blackAndWhite) {
  return blackAndWhite ? PlanLayerColours{130, 1, 5} : PlanLayerColours{1, 1, 1};
}

namespace {

// Line weights in hundredths of a millimetre; −1 is by layer.
constexpr int kWeightByLayer = -1;
constexpr int kWeightStructure = 50;
constexpr int kWeightThin = 0;

}  // namespace

void AlignmentModel::CreatePlanLayers() {
  const PlanLayerColours colours = PlanLayerColourSet(settings.blackAndWhite);
  const int slotColour[3] = {colours.base, colours.left, colours.right};
  // The groups in the order they are made, with the ids the model keeps.
  struct Group {
    PlanLayer first;
    int lineWeight;
    AcDbObjectId* ids;  // three ids (base, left, right), or null
  };
  const Group groups[] = {
      {kLayerIp, kWeightByLayer, m_ipLayerIds},
      {kLayerCenterline, kWeightByLayer, m_centerlineLayerIds},
      {kLayerChainage, kWeightByLayer, nullptr},
      {kLayerKeyPoint, kWeightByLayer, nullptr},
      {kLayerTangent, kWeightByLayer, nullptr},
      {kLayerBridge, kWeightStructure, nullptr},
      {kLayerTunnel, kWeightStructure, nullptr},
      {kLayerStation, kWeightThin, nullptr},
      {kLayerBenchMark, kWeightThin, nullptr},
      {kLayerTraverse, kWeightThin, m_traverseLayerIds},
      {kLayerLeftSpacing, kWeightThin, nullptr},  // the two spacing layers, in the left and right slots
      {kLayerCulvert, kWeightThin, nullptr},
  };
  for (const Group& g : groups) {
    // The spacing layers are one pair: 左线间距 in the left slot, 右线间距 in the right.
    const bool spacing = g.first == kLayerLeftSpacing;
    const int firstSlot = spacing ? 1 : 0;
    for (int slot = firstSlot; slot < 3; ++slot) DeleteLayerContents(PlanLayerNames[g.first + slot - firstSlot]);
    for (int slot = firstSlot; slot < 3; ++slot) {
      const AcDbObjectId id =
          AddLayerWithColor(PlanLayerNames[g.first + slot - firstSlot], slotColour[slot], g.lineWeight, "CONTINUOUS");
      if (g.ids != nullptr) g.ids[slot] = id;
    }
  }
}
