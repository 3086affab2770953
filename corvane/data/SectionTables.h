#pragma once
// The cross-section tables of a scheme database as the section-table reads
// see them: the layout of the ground-line and rock-layer tables, the matching
// of their rows to the sections by station, and the readers that put the rows
// into the sections' ground blocks (internal to the cross-section module).
//
// Every row carries its station (中桩里程冠号, 中桩里程数) and its side (左或右);
// rock-layer rows also their layer (层号). A row goes to the first section in
// section order whose station equals the row's (the same prefix, chainages
// within 0.001 m) and whose slot for that side (and layer) is still free, so
// rows in another order than the sections, a lone left or right row, and the
// two stations of a long chain that repeat one chainage all land where they
// belong. A row that finds no section is left out and counted.

#include <string>
#include <vector>

#include "RepeatedMessages.h"
#include "SectionRecord.h"
#include "TableNumbers.h"
#include "ado/AdoWrapper.h"
#include "mfc/cstring.h"

// Pairs a row of a cross-section table holds per side, and layers a station
// may have in a rock-layer table.
constexpr int kTablePointPairs = 100;
constexpr int kMaxRockLayers = 20;
// Chainages closer than this are one station.
constexpr double kStationTolerance = 0.001;

// The statement that creates a ground-line table: ID, (绕行段编号 for a detour
// table), 中桩里程冠号, 中桩里程数, 地面高程, 左或右, 地面点数, the 100 pairs
// 点k距中桩距离 / 点k与中桩高程差 and 附注.
CString GroundLineTableCreateSql(const CString& tableName, bool detour);

// A chainage prefix as the sections keep it: "NULL" (a null column) read as
// empty, bounded to kChainPrefixGbkMax GBK bytes.
std::string StationPrefix(const char* text);

// Finds the section of a row by its station.
class SectionMatcher {
 public:
  explicit SectionMatcher(const std::vector<SectionRecord>& sections);
  // The first section in order with station (prefix, chainage) for which
  // `taken(index)` is false; -1 when there is none.
  template <class Taken>
  int Find(const std::string& prefix, double chainage, Taken taken) const {
    int best = -1;
    for (auto it = FirstCandidate(prefix, chainage); it != m_keys.end(); ++it) {
      if (it->prefix != prefix || it->chainage >= chainage + kStationTolerance) break;
      if (it->chainage - chainage > -kStationTolerance && (best < 0 || it->index < best) && !taken(it->index))
        best = it->index;
    }
    return best;
  }

 private:
  struct Key {
    std::string prefix;
    double chainage;
    int index;
  };
  std::vector<Key>::const_iterator FirstCandidate(const std::string& prefix, double chainage) const;
  std::vector<Key> m_keys;  // by prefix, then chainage, then index
};

// Column positions of a ground-line or rock-layer table: 0 for a baseline
// table, 1 for a detour table (绕行段编号 in column 1).
struct SectionTableLayout {
  int offset = 0;
  bool rockLayers = false;
  long PrefixColumn() const { return 1 + offset; }
  long ChainageColumn() const { return 2 + offset; }
  long GroundColumn() const { return 3 + offset; }
  // 左或右 and 地面点数: columns 4, 5 of a ground-line table, 6, 7 of a
  // rock-layer table (层号 and 岩层性质 come before them).
  long SideColumn() const { return (rockLayers ? 6 : 4) + offset; }
  long CountColumn() const { return SideColumn() + 1; }
  long PairColumn(int j) const { return CountColumn() + 1 + 2 * j; }
};

// Fields of the current row of a section table as text: a field that cannot
// be read is empty (numbers go through TableNumbers).
CString RowText(CAdoRecordSet& recordSet, long index);
CString RowTextByName(CAdoRecordSet& recordSet, const char* name);

// A 地面点数 bounded to the pairs a table row holds; a count above that is
// cut with a message naming the table and the station, shown through
// `messages` (a few by name, then counted).
int BoundedPointCount(double count, const CString& tableName, const char* station, RepeatedMessages& messages);

// Reads `count` point pairs of one side of the current row into `pairs`,
// each a number `numbers` checks; returns `count`.
int ReadRowPairs(CAdoRecordSet& recordSet, TableNumbers& numbers, const SectionTableLayout& layout, int count,
                 PairXY* pairs);

// Reads the ground-line rows of the open record set (from its first row) into
// block 0 of the matching sections: layer 0, rock type 2, one block. With
// `takeGroundElevation` set the section's ground elevation becomes the row's
// 地面高程. Returns the number of rows read; rows left out, a 左或右 that is
// neither "左" nor "右" and a 地面点数 above 100 (cut to 100) are reported
// on the command line with the table's name. -1 when the table is refused
// (a station, ground or point that is missing or no finite number).
int ReadGroundLineRows(CAdoRecordSet& recordSet, const CString& tableName, const SectionTableLayout& layout,
                       bool takeGroundElevation, std::vector<SectionRecord>& sections);

// Reads the rock-layer rows of the open record set (from its first row): the
// layers of a station become the ground blocks of its section in layer order
// (at most kMaxRockLayers; further layers are refused with a message). A
// station without a layer-0 row keeps the ground line it had as block 0.
// Sections without rows keep their ground blocks. Returns the rows read.
// -1 when the table is refused (as ReadGroundLineRows).
int ReadRockLayerRows(CAdoRecordSet& recordSet, const CString& tableName, const SectionTableLayout& layout,
                      std::vector<SectionRecord>& sections);
