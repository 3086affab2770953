// Names, column positions and the create text of the ground-line and
// rock-layer tables.

#include "GroundTables.h"

#include <cstring>

#include "earthline.h"

namespace {

struct NamedTable {
  const char* name;
  GroundTable table;
};

const NamedTable kTables[] = {
    {"横断面地面线表", {GroundTableKind::kGroundLine, false}},
    {"左线绕行段横断面地面线表", {GroundTableKind::kGroundLine, true}},
    {"右线绕行段横断面地面线表", {GroundTableKind::kGroundLine, true}},
    {"用户横断面岩层线表", {GroundTableKind::kUserRockLayer, false}},
    {"用户左线绕行段横断面岩层线表", {GroundTableKind::kUserRockLayer, true}},
    {"用户右线绕行段横断面岩层线表", {GroundTableKind::kUserRockLayer, true}},
    {"横断面岩层线表", {GroundTableKind::kDesignRockLayer, false}},
    {"左线绕行段横断面岩层线表", {GroundTableKind::kDesignRockLayer, true}},
    {"右线绕行段横断面岩层线表", {GroundTableKind::kDesignRockLayer, true}},
    {"二线断链表", {GroundTableKind::kSecondLineBreaks, false}},
    {"施工便线信息表", {GroundTableKind::kConstructionLines, false}},
};

}  // namespace

long GroundTable::RemarkColumn() const { return DistanceColumn(kEarthPointsMax); }

GroundTable ClassifyGroundTable(const char* name) {
  if (name == nullptr) return {};
  for (const NamedTable& t : kTables) {
    if (std::strcmp(t.name, name) == 0) return t.table;
  }
  return {};
}

CString RockLayerTableCreateSql(const CString& name, bool detour) {
  CString sql = "create table " + name + "(";
  sql += "ID INTEGER IDENTITY,";
  if (detour) sql += "绕行段编号 INTEGER,";
  sql += "中桩里程冠号 VARCHAR,中桩里程数 DOUBLE PRECISION,地面高程 DOUBLE PRECISION,层号 INTEGER,"
         "岩层性质 INTEGER,左或右 VARCHAR,地面点数 INTEGER,";
  for (int k = 1; k <= kEarthPointsMax; ++k) {
    CString pair;
    pair.Format("点%d距中桩距离 DOUBLE PRECISION,点%d与中桩高程差 DOUBLE PRECISION,", k, k);
    sql += pair;
  }
  sql += "附注 VARCHAR)";
  return sql;
}
