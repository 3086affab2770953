// The cross-section ground-line tables: 横断面地面线表 for the baseline and
// lineName + 绕行段横断面地面线表 for the detour sections. Their creation, the
// matching of table rows to sections by station, and the reading of the rows
// into block 0 of the sections.

#include <algorithm>
#include <cstdlib>

#include "CrossSectionDesigner.h"
#include "SectionTables.h"
#include "arx/edoutput.h"
#include "project/GbkText.h"
#include "project/TableList.h"

// ---- Table layout -------------------------------------------------------------

CString GroundLineTableCreateSql(const CString& tableName, bool detour) {
  CString sql = "create table ";
  sql += tableName;
  sql += "(";
  sql += "ID INTEGER IDENTITY,";
  if (detour) sql += "绕行段编号 INTEGER,";
  sql += "中桩里程冠号 VARCHAR,";
  sql += "中桩里程数 DOUBLE PRECISION,";
  sql += "地面高程 DOUBLE PRECISION,";
  sql += "左或右 VARCHAR,";
  sql += "地面点数 integer,";
  for (int k = 1; k <= kTablePointPairs; ++k) {
    CString pair;
    pair.Format("点%d距中桩距离 DOUBLE PRECISION,点%d与中桩高程差 DOUBLE PRECISION,", k, k);
    sql += pair;
  }
  sql += "附注 VARCHAR";
  sql += ")";
  return sql;
}

std::string StationPrefix(const char* text) {
  if (text == nullptr || std::string(text) == "NULL") return std::string();
  char bounded[kChainPrefixSize] = {};
  CopyTextBounded(bounded, sizeof bounded, text, kChainPrefixGbkMax);
  return bounded;
}

// ---- Matching rows to sections ---------------------------------------------------

SectionMatcher::SectionMatcher(const std::vector<SectionRecord>& sections) {
  m_keys.reserve(sections.size());
  for (size_t i = 0; i < sections.size(); ++i)
    m_keys.push_back(Key{StationPrefix(sections[i].prefix), sections[i].chainage, static_cast<int>(i)});
  std::sort(m_keys.begin(), m_keys.end(), [](const Key& a, const Key& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    if (a.chainage != b.chainage) return a.chainage < b.chainage;
    return a.index < b.index;
  });
}

std::vector<SectionMatcher::Key>::const_iterator SectionMatcher::FirstCandidate(const std::string& prefix,
                                                                                double chainage) const {
  const double from = chainage - kStationTolerance;
  return std::lower_bound(m_keys.begin(), m_keys.end(), 0, [&](const Key& key, int) {
    if (key.prefix != prefix) return key.prefix < prefix;
    return key.chainage <= from;
  });
}

// ---- Reading rows -------------------------------------------------------------------

CString RowText(CAdoRecordSet& recordSet, long index) {
  CString text;
  if (!recordSet.GetValueText(text, index)) text.Empty();
  return text;
}

CString RowTextByName(CAdoRecordSet& recordSet, const char* name) {
  CString text;
  if (!recordSet.GetValueTextByName(text, name)) text.Empty();
  return text;
}

int BoundedPointCount(double count, const CString& tableName, const char* station, RepeatedMessages& messages) {
  if (count > kTablePointPairs) {
    CString text;
    text.Format("%s %s: 地面点数%.0f超过%d, 只读入前%d个点", tableName.GetString(), station, count, kTablePointPairs,
                kTablePointPairs);
    messages.Add(text);
    return kTablePointPairs;
  }
  return count > 0 ? static_cast<int>(count) : 0;
}

int ReadRowPairs(CAdoRecordSet& recordSet, TableNumbers& numbers, const SectionTableLayout& layout, int count,
                 PairXY* pairs) {
  for (int j = 0; j < count; ++j) {
    pairs[j].x = numbers.NeededAt(recordSet, layout.PairColumn(j));
    pairs[j].y = numbers.NeededAt(recordSet, layout.PairColumn(j) + 1);
  }
  return count;
}

namespace {

// -1 for "左", +1 for "右", 0 for anything else.
int SideOfText(const CString& text) {
  if (text == "左") return -1;
  if (text == "右") return 1;
  return 0;
}

std::string StationText(const std::string& prefix, double chainage) {
  char text[kChainageTextSize] = {};
  ChainageText3Decimals(CString(prefix.c_str()), chainage, text, sizeof text);
  return text;
}

}  // namespace

int ReadGroundLineRows(CAdoRecordSet& recordSet, const CString& tableName, const SectionTableLayout& layout,
                       bool takeGroundElevation, std::vector<SectionRecord>& sections) {
  const SectionMatcher matcher(sections);
  // Which sides of each section have been read.
  std::vector<unsigned char> leftRead(sections.size(), 0), rightRead(sections.size(), 0);
  int rows = 0, unmatched = 0, badSide = 0;
  TableNumbers numbers(tableName);
  RepeatedMessages tooMany("有%d个横断面的地面点数超过100, 只读入了前100个点");
  recordSet.MoveFirst();
  while (!recordSet.IsEOF() && !numbers.Refused()) {
    numbers.SetRow(++rows);
    const std::string prefix = StationPrefix(RowText(recordSet, layout.PrefixColumn()).GetString());
    const double chainage = numbers.NeededAt(recordSet, layout.ChainageColumn());
    const int side = SideOfText(RowText(recordSet, layout.SideColumn()));
    if (side == 0) {
      ++badSide;
    } else {
      std::vector<unsigned char>& read = side < 0 ? leftRead : rightRead;
      const int k = matcher.Find(prefix, chainage, [&](int i) { return read[static_cast<size_t>(i)] != 0; });
      if (k < 0) {
        ++unmatched;
      } else {
        read[static_cast<size_t>(k)] = 1;
        SectionRecord& record = sections[static_cast<size_t>(k)];
        // A ground line from this table is the section's only block: layer 0, rock type 2.
        record.groundBlocks.resize(1);
        GroundBlock& block = record.groundBlocks[0];
        block.layer = 0;
        block.rockType = 2;
        const int count = BoundedPointCount(numbers.OptionalAt(recordSet, layout.CountColumn()), tableName,
                                            StationText(prefix, chainage).c_str(), tooMany);
        if (side < 0)
          block.leftCount = ReadRowPairs(recordSet, numbers, layout, count, block.left);
        else
          block.rightCount = ReadRowPairs(recordSet, numbers, layout, count, block.right);
        if (takeGroundElevation) record.groundElevation = numbers.NeededAt(recordSet, layout.GroundColumn());
      }
    }
    if (!recordSet.MoveNext()) break;
  }
  if (badSide > 0)
    acutPrintf("\n%s有%d行的左或右不是\"左\"或\"右\", 未读入", tableName.GetString(), badSide);
  if (unmatched > 0)
    acutPrintf("\n%s有%d行找不到对应的横断面(里程或左右重复), 未读入", tableName.GetString(), unmatched);
  return numbers.Refused() ? -1 : rows;
}

// ---- Creating the tables ---------------------------------------------------------------

namespace {

// Creates `tableName` with `sql` on the open connection unless it is listed;
// the list is taken afresh from the connection.
bool EnsureTable(CAdoConnection& connection, CStringArray& tableNames, const CString& tableName, const CString& sql) {
  if (!connection.IsOpen()) return false;
  tableNames.RemoveAll();
  ListTableNames(connection, tableNames);
  if (HasTableName(tableNames, tableName.GetString())) return true;
  connection.Execute(sql);
  tableNames.RemoveAll();
  ListTableNames(connection, tableNames);
  return HasTableName(tableNames, tableName.GetString());
}

}  // namespace

bool CrossSectionDesigner::CreateGroundLineTable() {
  const CString name = "横断面地面线表";
  return EnsureTable(connection, xlDataBase.tableNames, name, GroundLineTableCreateSql(name, false));
}

bool CrossSectionDesigner::CreateDetourGroundLineTable(CString lineName) {
  const CString name = lineName + "绕行段横断面地面线表";
  return EnsureTable(connection, xlDataBase.tableNames, name, GroundLineTableCreateSql(name, true));
}
