#pragma once
// The scheme-database tables that the ground-line input reads and writes:
// which table a name stands for, where each column of a ground-line or
// rock-layer table stands, and the text that creates a rock-layer table.
//
// Ground-line tables (read only; the cross-section module writes them):
//   横断面地面线表, 左线绕行段横断面地面线表, 右线绕行段横断面地面线表
//   ID, [绕行段编号], 中桩里程冠号, 中桩里程数, 地面高程, 左或右, 地面点数,
//   点k距中桩距离 / 点k与中桩高程差 for k = 1 .. 100, 附注.
// Rock-layer tables (read and written), a user table ("用户" + name, the
// records as entered) and a design table (the converted records, which the
// cross-section designer reads) for each line:
//   横断面岩层线表, 左线绕行段横断面岩层线表, 右线绕行段横断面岩层线表
//   ID, [绕行段编号], 中桩里程冠号, 中桩里程数, 地面高程, 层号, 岩层性质,
//   左或右, 地面点数, the 100 point pairs, 附注 (209 columns; 210 with
//   绕行段编号).
// The detour tables hold every detour section of their side, told apart by
// 绕行段编号 in column 1; every later column stands one place further.
// Names are compared byte for byte.

#include "mfc/cstring.h"

enum class GroundTableKind {
  kOther,             // a table this module does not read
  kGroundLine,        // 横断面地面线表 and its detour tables
  kUserRockLayer,     // 用户横断面岩层线表 and its detour tables
  kDesignRockLayer,   // 横断面岩层线表 and its detour tables
  kSecondLineBreaks,  // 二线断链表
  kConstructionLines  // 施工便线信息表
};

struct GroundTable {
  GroundTableKind kind = GroundTableKind::kOther;
  bool detour = false;  // a 左线绕行段 / 右线绕行段 table (绕行段编号 in column 1)

  bool IsGroundLine() const { return kind == GroundTableKind::kGroundLine; }
  bool IsRockLayer() const {
    return kind == GroundTableKind::kUserRockLayer || kind == GroundTableKind::kDesignRockLayer;
  }
  bool IsPointTable() const { return IsGroundLine() || IsRockLayer(); }

  // Column positions of a ground-line or rock-layer table (from 0, ID at 0).
  long DetourColumn() const { return 1; }  // detour tables only
  long PrefixColumn() const { return 1 + Offset(); }
  long ChainageColumn() const { return 2 + Offset(); }
  long ElevationColumn() const { return 3 + Offset(); }
  long LayerColumn() const { return 4 + Offset(); }     // rock-layer tables only
  long RockTypeColumn() const { return 5 + Offset(); }  // rock-layer tables only
  long SideColumn() const { return (IsRockLayer() ? 6 : 4) + Offset(); }
  long CountColumn() const { return SideColumn() + 1; }
  // Point k from 0: its distance, and its height difference one column on.
  long DistanceColumn(int k) const { return CountColumn() + 1 + 2L * k; }
  long RemarkColumn() const;  // 附注, after the last point pair
  long ColumnCount() const { return RemarkColumn() + 1; }

 private:
  long Offset() const { return detour ? 1 : 0; }
};

// The table a name stands for (kOther for any other name).
GroundTable ClassifyGroundTable(const char* name);

// "create table <name>(ID INTEGER IDENTITY,[绕行段编号 INTEGER,]中桩里程冠号
// VARCHAR,中桩里程数 DOUBLE PRECISION,地面高程 DOUBLE PRECISION,层号 INTEGER,
// 岩层性质 INTEGER,左或右 VARCHAR,地面点数 INTEGER,点1距中桩距离 DOUBLE
// PRECISION,点1与中桩高程差 DOUBLE PRECISION,...,附注 VARCHAR)".
CString RockLayerTableCreateSql(const CString& name, bool detour);
