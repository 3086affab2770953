#pragma once
// The row records of the scheme tables as XLDataBase holds them in memory.
//
// Texts are reference-counted strings; a chainage text is a fixed buffer of
// kChainageTextSize bytes (80) written by ChainageText3Decimals from a prefix
// and a chainage number. Every field starts at zero or empty.

#include "SideLineRows.h"
#include "mfc/cstring.h"
#include "project/BreakTable.h"
#include "project/ChainageText.h"

// One row of 隧道 (and of the detour tunnel tables).
struct TunnelRow {
  CString name;         // 隧道名称
  CString startPrefix;  // 起点里程冠号
  CString endPrefix;    // 终点里程冠号
  CString flagStyle;    // 插旗方式
  double startChainage = 0.0;  // 起点里程数 (m)
  double endChainage = 0.0;    // 终点里程数
  char startText[kChainageTextSize] = {};
  char endText[kChainageTextSize] = {};
};

// What a bridge row and a station row both hold: the name and the centre,
// start and end chainages, each as prefix, number and text.
struct CentredSpanRow {
  CString name;           // 桥梁名称, 车站名称
  CString startPrefix;    // 起点里程冠号
  CString endPrefix;      // 终点里程冠号
  CString centrePrefix;   // 中桩(中心)里程冠号, 站房中心里程冠号
  double centreChainage = 0.0;  // 中桩(中心)里程数, 站房中心里程数
  double startChainage = 0.0;   // 起点里程数
  double endChainage = 0.0;     // 终点里程数
  char startText[kChainageTextSize] = {};
  char endText[kChainageTextSize] = {};
  char centreText[kChainageTextSize] = {};
};

// One row of 大中桥 (and of the detour bridge tables).
struct BridgeRow : CentredSpanRow {
  CString span;              // 孔跨式样
  CString floodLevel;        // 100年水位高程, cut after two decimals
  double totalLength = 0.0;  // 桥全长
};

// One row of 车站 (and of the detour station tables).
struct StationRow : CentredSpanRow {
  double stationType = 0.0;     // 车站类型, as a number
  double flagBlock = 0.0;       // 插旗图块名, as a number
  // 插旗图块名 as the text it is (a block name such as "中间站01"); writing the
  // station table stores it in place of flagBlock when it is not empty.
  CString flagBlockName;
};

// One row of 断链表: the chainage before the break (等号左里程数), the break
// length (断链长度; the chainage after is before + length) and the two
// prefixes (等号左里程冠号, 等号右里程冠号), bounded to their fields. The same
// record as the break tables of the alignment model, so that a table read
// here goes straight to the chainage conversions.
using ChainBreakRow = BreakRecord;

// One intersection point as 交点表 stores it. `number` is not written out.
struct IntersectionRow {
  double number = 0.0;
  double x = 0.0;   // 坐标N
  double y = 0.0;   // 坐标E
  double L1 = 0.0;  // entry transition length (前缓和曲线长)
  double R = 0.0;   // radius (半径)
  double L2 = 0.0;  // exit transition length (后缓和曲线长)
};

// One row of 曲线表.
struct CurveRow {
  int number = 0;             // 交点号
  double x = 0.0;             // 坐标N
  double y = 0.0;             // 坐标E
  double deflection = 0.0;    // 偏角
  double R = 0.0;             // 曲线半径
  double L1 = 0.0;            // 前缓和曲线
  double L2 = 0.0;            // 后缓和曲线
  double T1 = 0.0;            // 前切线长
  double T2 = 0.0;            // 后切线长
  double curveLength = 0.0;   // 曲线长
  double straightAfter = 0.0; // 夹直线长
  CString startPrefix;        // 起点里程冠号
  CString endPrefix;          // 终点里程冠号
  double startChainage = 0.0; // 起点里程
  double endChainage = 0.0;   // 终点里程
  double officeBreak = 0.0;   // 内业断链
};

// One row of 坡度表 (and of the detour grade tables).
struct GradeRow {
  CString prefix;                // 变坡点里程冠号
  double chainage = 0.0;         // 变坡点里程数
  double elevation = 0.0;        // 设计高程
  double verticalRadius = 0.0;   // 竖曲线半径
  double verticalLength = 0.0;   // 竖曲线长度
  double grade = 0.0;            // 坡度
  double gradeLength = 0.0;      // 坡长
};

// One row of 地面线表.
struct GroundProfileRow {
  CString prefix;           // 中桩里程冠号
  double chainage = 0.0;    // 中桩里程数
  double elevation = 0.0;   // 地面高程
};

// One row of 填挖表 (and of the detour fill/cut tables).
struct FillCutRow {
  CString prefix;                       // 加桩里程冠号
  double chainage = 0.0;                // 加桩里程数
  double groundElevation = 0.0;         // 地面高程
  double shoulderDesignElevation = 0.0; // 路肩设计高程
  double designGrade = 0.0;             // 设计坡度
  double verticalOrdinate = 0.0;        // 竖曲线纵距
  double centreLift = 0.0;              // 中心抬降值
  double centreHeight = 0.0;            // 中心填挖高度
  double shoulderBuildElevation = 0.0;  // 路肩施工高程
  double widening = 0.0;                // 曲线加宽
  double rightWidening = 0.0;           // 右曲线加宽
  double shoulderBuildWidth = 0.0;      // 路肩施工宽度
  double leftSpacing = 0.0;             // 左线间距
  double rightSpacing = 0.0;            // 右线间距
  double separationWidth = 0.0;         // 路肩分离限宽
  CString remark;                       // 附注
  int sectionInfo = 0;                  // 断面信息
};

// One row of 横断面数量表.
struct QuantityRow {
  CString prefix;            // 中桩里程冠号
  double chainage = 0.0;     // 中桩里程数
  int sectionKind = 0;       // 断面性质
  double fillArea = 0.0;     // 填面积
  double improvedArea = 0.0; // 改良土面积
  double drainArea = 0.0;    // 渗水土面积
  double stripArea = 0.0;    // 清表土面积
  double cutArea = 0.0;      // 挖方面积
  double cutI = 0.0;         // I类挖方面积
  double cutII = 0.0;        // II类挖方面积
  double cutIII = 0.0;       // III类挖方面积
  double cutV = 0.0;         // V类挖方面积
  double cutVI = 0.0;        // VI类挖方面积
  double cutIV = 0.0;        // IV类挖方面积
  double leftLandWidth = 0.0;   // 左用地宽
  double rightLandWidth = 0.0;  // 右用地宽
};

// One row of 曲线加宽: the widening jk for radii from r1 to r2.
struct WideningRow {
  double r1 = 0.0;
  double r2 = 0.0;
  double jk = 0.0;
};

// One row of a track-structure table (基线轨道结构, 左线轨道结构, 右线轨道结构).
struct TrackStructureRow {
  CString endChainage;     // 分段终里程, as text
  CString structureType;   // 结构类型
  double unused = 0.0;
  double height = 0.0;     // 结构高度 (mm)
};
