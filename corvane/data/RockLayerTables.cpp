// The designer's scheme-table openers and the rock-layer tables
// (横断面岩层线表, 左线绕行段横断面岩层线表, 右线绕行段横断面岩层线表), which the
// ground-line palette writes: per station, layer by layer, a left and a right
// row; layer 0 is the ground surface, the others are rock strata below it.

#include <algorithm>
#include <cstdlib>
#include <map>

#include "CrossSectionDesigner.h"
#include "SectionTables.h"
#include "arx/edoutput.h"
#include "mfc/app.h"

namespace {

const char kConnectPrefix[] = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";

// Runs `sql` on the open connection: 1 when the record set is open on at least
// one row; otherwise 0, with the record set and the connection closed.
int OpenTableQuery(CAdoConnection& connection, CAdoRecordSet& recordSet, const CString& sql,
                   const CString& tableName) {
  if (!connection.IsOpen()) {
    acedAlert("数据库没有打开或已经关闭!");
    return 0;
  }
  recordSet.SetAdoConnection(&connection);
  if (recordSet.Open(sql, adCmdText, adOpenDynamic, adLockOptimistic) == 1) return 1;
  acutPrintf("没有%s记录\n", tableName.GetString());
  recordSet.Close();
  connection.Close();
  return 0;
}

}  // namespace

// ---- Openers ------------------------------------------------------------------------

int CrossSectionDesigner::OpenSchemeTable(CString tableName, bool firstLayerLeftOnly) {
  recordSet.Close();
  CString connect;
  connect.Format("%s%s", kConnectPrefix, schemeDatabasePath.GetString());
  if (!connection.Open(connect, -1)) {
    AfxMessageBox("连接数据库失败!");
    return 0;
  }
  if (tableName == "横断面岩层线表" && firstLayerLeftOnly)
    sqlText.Format("select * from %s where 层号=%d and 左或右='左' order by ID", tableName.GetString(), 0);
  else
    sqlText = "select * from " + tableName;
  return OpenTableQuery(connection, recordSet, sqlText, tableName);
}

int CrossSectionDesigner::OpenDetourTable(CString tableName, int detourNumber, bool firstLayerLeftOnly) {
  recordSet.Close();
  connection.Close();
  CString connect = kConnectPrefix;
  connect += schemeDatabasePath;
  if (!connection.Open(connect, -1)) {
    AfxMessageBox("连接数据库失败2!");
    return 0;
  }
  if (firstLayerLeftOnly && (tableName == "左线绕行段横断面岩层线表" || tableName == "右线绕行段横断面岩层线表"))
    sqlText.Format("select * from %s where 绕行段编号=%d and 层号=%d and 左或右='左' order by ID",
                   tableName.GetString(), detourNumber, 0);
  else
    sqlText.Format("select * from %s where 绕行段编号=%d order by ID", tableName.GetString(), detourNumber);
  return OpenTableQuery(connection, recordSet, sqlText, tableName);
}

// ---- Reading the rock layers -----------------------------------------------------------

namespace {

// One layer of a station being collected.
struct CollectedLayer {
  GroundBlock block;
  bool leftRead = false;
  bool rightRead = false;
};

// The layers collected for one section, by layer number.
struct Station {
  std::map<int, CollectedLayer> layers;
  bool refusedReported = false;
};

}  // namespace

int ReadRockLayerRows(CAdoRecordSet& recordSet, const CString& tableName, const SectionTableLayout& layout,
                      std::vector<SectionRecord>& sections) {
  const SectionMatcher matcher(sections);
  std::map<int, Station> stations;  // by section index
  int rows = 0, unmatched = 0, badSide = 0;
  TableNumbers numbers(tableName);
  RepeatedMessages tooMany("有%d个横断面的地面点数超过100, 只读入了前100个点");

  recordSet.MoveFirst();
  while (!recordSet.IsEOF() && !numbers.Refused()) {
    numbers.SetRow(++rows);
    const std::string prefix = StationPrefix(RowTextByName(recordSet, "中桩里程冠号").GetString());
    const double chainage = numbers.NeededByName(recordSet, "中桩里程数");
    const int layer = std::atoi(RowTextByName(recordSet, "层号").GetString());
    const CString sideText = RowTextByName(recordSet, "左或右");
    const int side = sideText == "左" ? -1 : (sideText == "右" ? 1 : 0);
    if (side == 0) {
      ++badSide;
    } else {
      // The first section with this station whose layer has no row of this side yet.
      const int k = matcher.Find(prefix, chainage, [&](int i) {
        const auto station = stations.find(i);
        if (station == stations.end()) return false;
        const auto found = station->second.layers.find(layer);
        if (found == station->second.layers.end()) return false;
        return side < 0 ? found->second.leftRead : found->second.rightRead;
      });
      if (k < 0) {
        ++unmatched;
      } else {
        Station& station = stations[k];
        const bool known = station.layers.count(layer) != 0;
        if (!known && static_cast<int>(station.layers.size()) >= kMaxRockLayers) {
          if (!station.refusedReported) {
            acutPrintf("\n%s %s: 岩层超过%d层, 其余岩层未读入", tableName.GetString(),
                       sections[static_cast<size_t>(k)].label, kMaxRockLayers);
            station.refusedReported = true;
          }
        } else {
          CollectedLayer& collected = station.layers[layer];
          GroundBlock& block = collected.block;
          block.layer = layer;
          const int rockType = std::atoi(RowTextByName(recordSet, "岩层性质").GetString());
          // The rock type is the left row's; a layer without one takes the right row's.
          if (side < 0 || !collected.leftRead) block.rockType = rockType;
          const int count = BoundedPointCount(numbers.OptionalByName(recordSet, "地面点数"), tableName,
                                              sections[static_cast<size_t>(k)].label, tooMany);
          if (side < 0) {
            block.leftCount = ReadRowPairs(recordSet, numbers, layout, count, block.left);
            collected.leftRead = true;
          } else {
            block.rightCount = ReadRowPairs(recordSet, numbers, layout, count, block.right);
            collected.rightRead = true;
          }
        }
      }
    }
    if (!recordSet.MoveNext()) break;
  }

  if (numbers.Refused()) return -1;
  // The collected layers replace the ground blocks of their sections: layer 0
  // (the ground surface) first, then the others by layer number; a station
  // without layer 0 keeps its ground line as block 0.
  for (auto& [index, station] : stations) {
    SectionRecord& record = sections[static_cast<size_t>(index)];
    std::vector<GroundBlock> blocks;
    blocks.reserve(station.layers.size() + 1);
    const auto surface = station.layers.find(0);
    if (surface != station.layers.end())
      blocks.push_back(surface->second.block);
    else if (!record.groundBlocks.empty())
      blocks.push_back(record.groundBlocks[0]);
    for (auto& [layer, collected] : station.layers)
      if (layer != 0) blocks.push_back(collected.block);
    record.groundBlocks = std::move(blocks);
  }

  if (badSide > 0)
    acutPrintf("\n%s有%d行的左或右不是\"左\"或\"右\", 未读入", tableName.GetString(), badSide);
  if (unmatched > 0)
    acutPrintf("\n%s有%d行找不到对应的横断面(里程、层号或左右重复), 未读入", tableName.GetString(), unmatched);
  return rows;
}
