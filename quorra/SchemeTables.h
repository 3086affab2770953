#pragma once
// The 36 tables of a scheme database: names, creating keyword and column
// definitions, in the order in which the scheme tree lists and creates them.
// Data only (with the builder of the creating statement), so that the test
// fixtures make the same tables without the navigator module.

#include <string>

namespace scheme_tables {

struct TableDef {
  const char* name;
  const char* keyword;        // "create table " or, for the culvert and station tables, "CREATE TABLE "
  const char* const* layout;  // the column definitions after ID (and after 绕行段编号)
  int layoutCount;
  bool detourNumber;  // "绕行段编号 INTEGER" follows ID
};

// Column definitions as the statements write them (a few carry extra blanks,
// which change nothing).
inline constexpr const char* kCurve[] = {
    "交点号 VARCHAR",          "坐标N DOUBLE PRECISION",     "坐标E DOUBLE PRECISION",     "偏角 DOUBLE PRECISION",
    "曲线半径 DOUBLE PRECISION", "前缓和曲线 DOUBLE PRECISION", "后缓和曲线 DOUBLE PRECISION", "前切线长 DOUBLE PRECISION",
    "后切线长 DOUBLE PRECISION", "曲线长 DOUBLE PRECISION",     "夹直线长 DOUBLE PRECISION",   "起点里程冠号 VARCHAR",
    "起点里程 DOUBLE PRECISION", "终点里程冠号 VARCHAR",        "终点里程 DOUBLE PRECISION",   "内业断链 DOUBLE PRECISION",
    "附注 VARCHAR"};
inline constexpr const char* kBreak[] = {"等号左里程冠号 VARCHAR",      "等号左里程数 DOUBLE PRECISION",
                                         "等号右里程冠号 VARCHAR",      "等号右里程数 DOUBLE PRECISION",
                                         "断链长度 DOUBLE PRECISION", "附注 VARCHAR"};
inline constexpr const char* kSideCurve[] = {"交点属性 VARCHAR",           "二线交点号 VARCHAR",
                                             "一线交点号 VARCHAR",         "线间距 DOUBLE PRECISION",
                                             " 坐标N DOUBLE PRECISION",    "坐标E DOUBLE PRECISION",
                                             "曲线半径  DOUBLE PRECISION", "前缓和曲线 DOUBLE PRECISION",
                                             "后缓和曲线 DOUBLE PRECISION", "内业断链 DOUBLE PRECISION",
                                             "附注 VARCHAR"};
inline constexpr const char* kSideBreak[] = {"编号 DOUBLE PRECISION",         "等号左里程冠号 varchar",
                                             "等号左里程数 DOUBLE PRECISION", "等号右里程冠号 varchar",
                                             "等号右里程数 DOUBLE PRECISION", "附注 VARCHAR"};
inline constexpr const char* kGrade[] = {"变坡点里程冠号 VARCHAR",      "变坡点里程数 DOUBLE PRECISION",
                                         "设计高程 DOUBLE PRECISION",   "坡度 DOUBLE PRECISION",
                                         "坡长 DOUBLE PRECISION",       "竖曲线半径 DOUBLE PRECISION",
                                         "竖曲线长度 DOUBLE PRECISION", "附注 VARCHAR"};
inline constexpr const char* kTrack[] = {"分段终里程 VARCHAR", "结构类型 VARCHAR", "结构高度 DOUBLE PRECISION"};
inline constexpr const char* kRuler[] = {"里程 VARCHAR", "高程 DOUBLE PRECISION"};
inline constexpr const char* kTunnel[] = {"隧道名称 VARCHAR",           "起点里程冠号 VARCHAR",
                                          "起点里程数 DOUBLE PRECISION", "终点里程冠号 VARCHAR",
                                          "终点里程数 DOUBLE PRECISION", "插旗方式 VARCHAR",
                                          "线数 VARCHAR",               "附注 VARCHAR"};
inline constexpr const char* kCulvert[] = {"中心里程冠号 VARCHAR",        "中心里程数 DOUBLE PRECISION",
                                           "孔跨式样 VARCHAR",            "左横向长度 DOUBLE PRECISION",
                                           "右横向长度 DOUBLE PRECISION", "交角 DOUBLE PRECISION",
                                           "用途 INTEGER",                "插旗方式 VARCHAR",
                                           "附注 VARCHAR"};
inline constexpr const char* kStation[] = {"车站名称 VARCHAR",           "站房中心里程冠号 VARCHAR",
                                           "站房中心里程数 DOUBLE PRECISION", "起点里程冠号 VARCHAR",
                                           "起点里程数 DOUBLE PRECISION", "终点里程冠号 VARCHAR",
                                           "终点里程数 DOUBLE PRECISION", "车站类型 VARCHAR",
                                           "插旗图块名 VARCHAR",         "附注 VARCHAR"};
inline constexpr const char* kBridge[] = {"桥梁名称 VARCHAR",           "中心里程冠号 VARCHAR",
                                          "中心里程数 DOUBLE PRECISION", "起点里程冠号 VARCHAR",
                                          "起点里程数 DOUBLE PRECISION", "终点里程冠号 VARCHAR",
                                          "终点里程数 DOUBLE PRECISION", "孔跨式样 VARCHAR",
                                          "线数 VARCHAR",               "桥全长 DOUBLE PRECISION",
                                          "100年水位高程 DOUBLE PRECISION", "附注 VARCHAR"};
inline constexpr const char* kBenchMark[] = {"水准点编号 VARCHAR",          "高程 DOUBLE PRECISION",
                                             "里程冠号 VARCHAR",            "里程数 DOUBLE PRECISION",
                                             "距中线距离 DOUBLE PRECISION", "坐标N DOUBLE PRECISION",
                                             "坐标E DOUBLE PRECISION",      "位置材料的描述 VARCHAR",
                                             "附注 VARCHAR"};
inline constexpr const char* kTraverse[] = {"桩号 VARCHAR",          "右角 VARCHAR",          "方位角 VARCHAR",
                                            "距离 DOUBLE PRECISION", "纬距 DOUBLE PRECISION", "经距 DOUBLE PRECISION",
                                            "高程 DOUBLE PRECISION", "里程 DOUBLE PRECISION"};
inline constexpr const char* kFillCut[] = {
    "加桩里程冠号 VARCHAR",          "加桩里程数 DOUBLE PRECISION",   "地面高程 DOUBLE PRECISION",
    " 设计坡度  DOUBLE PRECISION",   " 路肩设计高程 DOUBLE PRECISION", "竖曲线纵距 DOUBLE PRECISION",
    "中心抬降值 DOUBLE PRECISION",   "中心填挖高度 DOUBLE PRECISION", "路肩施工高程 DOUBLE PRECISION",
    "曲线加宽 DOUBLE PRECISION",     "右曲线加宽 DOUBLE PRECISION",   "路肩施工宽度 DOUBLE PRECISION",
    "左线间距 DOUBLE PRECISION",     "右线间距 DOUBLE PRECISION",     "路肩分离限宽 DOUBLE PRECISION",
    "断面信息 VARCHAR",              "附注 VARCHAR"};
inline constexpr const char* kDetourFillCut[] = {
    "加桩里程冠号 VARCHAR",          "加桩里程数 DOUBLE PRECISION",   "地面高程 DOUBLE PRECISION",
    " 设计坡度  DOUBLE PRECISION",   " 路肩设计高程 DOUBLE PRECISION", "竖曲线纵距 DOUBLE PRECISION",
    "中心抬降值 DOUBLE PRECISION",   "中心填挖高度 DOUBLE PRECISION", "路肩施工高程 DOUBLE PRECISION",
    "曲线加宽 DOUBLE PRECISION",     "路肩施工宽度 DOUBLE PRECISION", "附注 VARCHAR"};

#define SCHEME_LAYOUT(a) a, static_cast<int>(sizeof(a) / sizeof(a[0]))
inline constexpr const char* kLower = "create table ";
inline constexpr const char* kUpper = "CREATE TABLE ";

inline constexpr TableDef kTables[] = {
    {"曲线表", kLower, SCHEME_LAYOUT(kCurve), false},
    {"断链表", kLower, SCHEME_LAYOUT(kBreak), false},
    {"左线曲线表", kLower, SCHEME_LAYOUT(kSideCurve), false},
    {"左线断链表", kLower, SCHEME_LAYOUT(kSideBreak), false},
    {"右线曲线表", kLower, SCHEME_LAYOUT(kSideCurve), false},
    {"右线断链表", kLower, SCHEME_LAYOUT(kSideBreak), false},
    {"坡度表", kLower, SCHEME_LAYOUT(kGrade), false},
    {"基线轨道结构", kLower, SCHEME_LAYOUT(kTrack), false},
    {"标尺", kLower, SCHEME_LAYOUT(kRuler), false},
    {"左线绕行段坡度表", kLower, SCHEME_LAYOUT(kGrade), true},
    {"左线轨道结构", kLower, SCHEME_LAYOUT(kTrack), false},
    {"左线绕行段标尺", kLower, SCHEME_LAYOUT(kRuler), true},
    {"右线绕行段坡度表", kLower, SCHEME_LAYOUT(kGrade), true},
    {"右线轨道结构", kLower, SCHEME_LAYOUT(kTrack), false},
    {"右线绕行段标尺", kLower, SCHEME_LAYOUT(kRuler), true},
    {"隧道", kLower, SCHEME_LAYOUT(kTunnel), false},
    {"小桥涵", kUpper, SCHEME_LAYOUT(kCulvert), false},
    {"车站", kUpper, SCHEME_LAYOUT(kStation), false},
    {"大中桥", kLower, SCHEME_LAYOUT(kBridge), false},
    {"水准点表", kLower, SCHEME_LAYOUT(kBenchMark), false},
    {"导线表", kLower, SCHEME_LAYOUT(kTraverse), false},
    {"左线绕行段隧道", kLower, SCHEME_LAYOUT(kTunnel), true},
    {"左线绕行段小桥涵", kUpper, SCHEME_LAYOUT(kCulvert), true},
    {"左线绕行段车站", kUpper, SCHEME_LAYOUT(kStation), true},
    {"左线绕行段大中桥", kLower, SCHEME_LAYOUT(kBridge), true},
    {"左线绕行段水准点表", kLower, SCHEME_LAYOUT(kBenchMark), true},
    {"左线绕行段导线表", kLower, SCHEME_LAYOUT(kTraverse), true},
    {"右线绕行段隧道", kLower, SCHEME_LAYOUT(kTunnel), true},
    {"右线绕行段小桥涵", kUpper, SCHEME_LAYOUT(kCulvert), true},
    {"右线绕行段车站", kUpper, SCHEME_LAYOUT(kStation), true},
    {"右线绕行段大中桥", kLower, SCHEME_LAYOUT(kBridge), true},
    {"右线绕行段水准点表", kLower, SCHEME_LAYOUT(kBenchMark), true},
    {"右线绕行段导线表", kLower, SCHEME_LAYOUT(kTraverse), true},
    {"填挖表", kLower, SCHEME_LAYOUT(kFillCut), false},
    {"左线绕行段填挖表", kLower, SCHEME_LAYOUT(kDetourFillCut), true},
    {"右线绕行段填挖表", kLower, SCHEME_LAYOUT(kDetourFillCut), true},
};
#undef SCHEME_LAYOUT

inline constexpr int kTableCount = static_cast<int>(sizeof(kTables) / sizeof(kTables[0]));
static_assert(kTableCount == 36, "a scheme database has 36 tables");

// The creating statement: the keyword, the name, a blank, and the column
// definitions in parentheses, joined by commas.
inline std::string CreateStatement(const TableDef& table) {
  std::string sql = std::string(table.keyword) + table.name + " (" + "ID INTEGER identity,";
  if (table.detourNumber) sql += "绕行段编号 INTEGER,";
  for (int i = 0; i < table.layoutCount; ++i) {
    if (i) sql += ",";
    sql += table.layout[i];
  }
  return sql + ")";
}

}  // namespace scheme_tables
