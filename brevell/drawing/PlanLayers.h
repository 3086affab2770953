#pragma once
// The layers of the plan drawing: one fixed table of 36 names that every
// drawing routine of the plan refers to by position, and the colours and line
// weights with which AlignmentModel::CreatePlanLayers makes them.
//
// Most names come in groups of three: the base line's layer, then the left
// line's, then the right line's (the left and right detour segments' for the
// structures).

// Positions in PlanLayerNames. A group's position is that of its base-line
// layer; PlanLayerOf adds the line.
enum PlanLayer {
  kLayerIp = 0,              // 交点: IPs and curve-element labels
  kLayerTangent = 3,         // 交点连线: the tangent polygon
  kLayerCenterline = 6,      // 线路中线: centre lines
  kLayerChainage = 9,        // 里程: chainage marks (left and right: detour segments)
  kLayerKeyPoint = 12,       // 特征点位置: curve key points
  kLayerBridge = 15,         // 大中桥
  kLayerCulvert = 18,        // 小桥涵
  kLayerTunnel = 21,         // 隧道
  kLayerStation = 24,        // 车站
  kLayerBenchMark = 27,      // 水准点
  kLayerTraverse = 30,       // 导线
  kLayerLeftSpacing = 33,    // 左线间距: spacing marks to the left line (no group)
  kLayerRightSpacing = 34,   // 右线间距: spacing marks to the right line (no group)
  kLayerCurveTable = 35,     // 平曲线要素表 (not made by CreatePlanLayers)
  kPlanLayerCount = 36,
};

extern const char* const PlanLayerNames[kPlanLayerCount];

// The layer of a group (kLayerIp .. kLayerTraverse) for a line code: the
// base line's for 0, the left line's for a negative code, the right line's
// for a positive one.
const char* PlanLayerOf(PlanLayer group, int line);

// The colour set of the plan layers: the colour index of the base-line,
// left-line and right-line layer of each group.
struct PlanLayerColours {
  int base;
  int left;
  int right;
};
// 黑白 (black and white): 130, 1, 5; 彩图 (colour): 1, 1, 1.
PlanLayerColours PlanLayerColourSet(bool blackAndWhite);
