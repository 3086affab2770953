#pragma once
// Jet SQL on SQLite: the column types of Jet, and the reading of the Jet SQL
// statements the system sends into statements SQLite runs.
//
// Names are always quoted in the SQLite text, so bracketed names and names
// that begin with a digit ("100年水位高程") pass through. The declared type of
// every column is stored as a canonical SQLite type that gives the column the
// right storage affinity and from which the Jet type is read back:
//
//   Jet type                                   SQLite declared type   value
//   counter, INTEGER identity, autoincrement   INTEGER PRIMARY KEY    VT_I4
//   long, integer, int                         INTEGER                VT_I4
//   short, smallint                            SMALLINT               VT_I2
//   byte, tinyint                              TINYINT                VT_UI1
//   single, real, float4                       REAL                   VT_R4
//   double, double precision, float, number    DOUBLE                 VT_R8
//   currency, money                            CURRENCY               VT_CY
//   decimal, numeric                           DECIMAL                VT_DECIMAL
//   datetime, date, time                       DATETIME               VT_DATE
//   yesno, bit, logical, boolean               BIT                    VT_BOOL
//   text(n), varchar(n), char(n), text         VARCHAR(n)/CHAR(n)     VT_BSTR
//   memo, longtext, longchar, note             LONGTEXT               VT_BSTR
//
// Text columns compare and sort without regard to the case of ASCII letters,
// as Jet's do.

#include <string>
#include <string_view>
#include <vector>

#include "com/ado.h"
#include "com/comutil.h"

namespace platform::jet {

enum class Kind { Counter, Long, Short, Byte, Single, Double, Currency, Decimal, DateTime, YesNo, Text, Memo, Variant };

struct ColumnType {
  Kind kind = Kind::Variant;
  int size = 0;  // characters of a text column (255 when none was given)
  bool fixed = false;  // char(n)
};

// The Jet type of a column from its SQLite declared type; `rowidAlias` marks
// the table's INTEGER PRIMARY KEY. A declared type from elsewhere is read by
// SQLite's affinity rules.
ColumnType typeFromDeclared(std::string_view declared, bool rowidAlias);
VARTYPE variantTypeOf(Kind kind);
DataTypeEnum adoTypeOf(const ColumnType& type);
LONG definedSizeOf(const ColumnType& type);
const char* jetTypeName(Kind kind);

// Converts `value` for storage in a column of `type` as Jet converts what is
// put into a field. VT_EMPTY and VT_NULL become VT_NULL. Returns
// DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW for a value the column refuses.
HRESULT convertForColumn(const VARIANT& value, const ColumnType& type, _variant_t& out);

struct ColumnDef {
  std::string name;
  ColumnType type;
  bool notNull = false;
  bool unique = false;
  bool primaryKey = false;
};

struct SelectItem {
  bool star = false;        // "*" or "t.*"
  bool plain = false;       // a bare column reference
  std::string column;       // the column's name when plain
  std::string sql;          // the SQLite text of the item
  std::string alias;        // "AS alias"
  bool aggregate = false;   // contains count/sum/avg/min/max
};

// A value of insert or update: a literal (converted by the column's type
// before it is stored) or an expression left to SQLite.
struct ValueExpr {
  bool literal = false;
  _variant_t value;
  std::string sql;
};

enum class StatementKind { Select, Insert, Update, Delete, CreateTable, DropTable };

struct Statement {
  StatementKind kind = StatementKind::Select;
  std::string table;
  std::string alias;  // "from t as a"
  // create table
  std::vector<ColumnDef> columns;
  // select
  bool distinct = false;
  long long top = -1;
  std::vector<SelectItem> items;
  std::string where;    // SQLite text of the condition, empty when none
  std::string orderBy;  // SQLite text after ORDER BY, empty when none
  // insert and update
  std::vector<std::string> targetColumns;  // empty for "insert into t values"
  std::vector<ValueExpr> values;
};

// Reads one Jet SQL statement. On failure returns false with a Jet-like
// description in `error`.
bool parseStatement(std::string_view sql, Statement& out, std::string& error);

// The SQLite column definition of a Jet column; `rowidAlias` for the
// table's one counter column.
std::string sqliteColumnDefinition(const ColumnDef& column, bool rowidAlias);

// "name" with embedded quotes doubled.
std::string quoteName(std::string_view name);
// Compares names as Jet does: ASCII letters without case.
bool sameName(std::string_view a, std::string_view b);

}  // namespace platform::jet
