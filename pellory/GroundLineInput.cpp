// GroundLineInput: set-up, saving, deleting and querying records, the line
// kinds and names, the database choice and the writing of the tables.

#include "GroundLineInput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "InputTexts.h"
#include "PointForms.h"
#include "RecordChecks.h"
#include "RecordPairs.h"
#include "arx/edoutput.h"
#include "geometry/GeoFunctions.h"
#include "mfc/app.h"
#include "mfc/filedialog.h"
#include "project/ChainageText.h"
#include "project/ProjectLocation.h"
#include "project/SchemeValues.h"

namespace {

struct LineTables {
  const char* user;
  const char* design;
  const char* ground;
};

const LineTables kLineTables[] = {
    {"用户横断面岩层线表", "横断面岩层线表", "横断面地面线表"},
    {"用户左线绕行段横断面岩层线表", "左线绕行段横断面岩层线表", "左线绕行段横断面地面线表"},
    {"用户右线绕行段横断面岩层线表", "右线绕行段横断面岩层线表", "右线绕行段横断面地面线表"},
};

const LineTables& TablesOf(int kind) { return kLineTables[std::clamp(kind, 0, 2)]; }

CString Trimmed(const CString& text) {
  CString t = text;
  t.Trim();
  return t;
}

CString DetourFilter(int number) {
  CString filter;
  filter.Format("绕行段编号=%d", number);
  return filter;
}

}  // namespace

// ---- PointGrid ---------------------------------------------------------------------------

void PointGrid::Reset(int n) {
  mode = 0;
  baseElevation = 0.0;
  count = 0;
  std::fill(std::begin(table), std::end(table), EarthPoint{});
  rows.assign(static_cast<size_t>(std::max(n, 0)), Row{});
}

void PointGrid::FillRows() {
  const int n = std::clamp(count, 0, kTablePoints);
  if (rows.size() < static_cast<size_t>(n)) rows.resize(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) {
    rows[static_cast<size_t>(k)].distance.Format("%.2f", table[k].distance);
    rows[static_cast<size_t>(k)].value.Format("%.2f", table[k].height);
  }
}

std::vector<EarthPoint> PointGrid::FilledPoints() const {
  std::vector<EarthPoint> points;
  for (const Row& row : rows) {
    if (row.distance.IsEmpty()) continue;
    points.push_back({std::atof(row.distance.GetString()), std::atof(row.value.GetString())});
  }
  return points;
}

// ---- Set-up ---------------------------------------------------------------------------------

GroundLineInput::GroundLineInput() {
  for (const char* name : {"Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ"}) rockTypes.Add(name);
  for (const char* name : {"0", "1", "2", "3", "4", "5"}) layers.Add(name);
  rockTypeSelection = -1;
  leftGrid.Reset(kGridRows);
  rightGrid.Reset(kGridRows);
}

bool GroundLineInput::Initialise() {
  if (ReadProjectAndScheme() != 1) return false;
  dbPath = SchemeDatabasePath();
  lastField = kNoField;
  lineKind = kBaseLine;
  elevationType = kHeightDifference;
  reference = 0;
  importedLines = 0;
  elevationText.Empty();
  chainageText.Empty();
  leftCount = rightCount = 0;
  layer = 0;
  scaleText = "1";
  scaleFactor = 1.0;
  lineNames.RemoveAll();
  lineNames.Add("基线");
  lineNameSelection = 0;
  lineNameText = "基线";
  ReadLine(kBaseLine, CString());
  ResetLeftGrid(kGridRows);
  ResetRightGrid(kGridRows);
  return true;
}

void GroundLineInput::SetRecords(const EarthLineList& records) {
  db.rockLayers.RemoveAll();
  db.rockLayers.Append(records);
  db.rockLayerCount = static_cast<int>(db.rockLayers.GetSize());
}

void GroundLineInput::ReadLine(int kind, const CString& filter) {
  const LineTables& tables = TablesOf(kind);
  db.ReadGroundLineTables(dbPath, tables.user, filter);
  MakePairs(db.rockLayers);
  db.rockLayerCount = static_cast<int>(db.rockLayers.GetSize());
  if (db.rockLayers.GetSize() == 0 && db.ReadGroundLineTables(dbPath, tables.ground, filter) == 1)
    MergeGroundLineRecords();
  RefillStationList();
}

// ---- Grids and edits ---------------------------------------------------------------------------

void GroundLineInput::ResetLeftGrid(int n) {
  leftGrid.Reset(n);
  leftGrid.mode = elevationType;
  leftGrid.baseElevation = rightGrid.baseElevation = std::atof(elevationText.GetString());
}

void GroundLineInput::ResetRightGrid(int n) {
  rightGrid.Reset(n);
  rightGrid.mode = elevationType;
  leftGrid.baseElevation = rightGrid.baseElevation = std::atof(elevationText.GetString());
}

void GroundLineInput::SetElevationText(const CString& text) {
  elevationText = text;
  leftGrid.baseElevation = rightGrid.baseElevation = std::atof(text.GetString());
}

void GroundLineInput::SetScaleText(const CString& text) {
  scaleText = text;
  scaleFactor = std::atof(text.GetString()) * 0.001;
}

void GroundLineInput::SetElevationType(int type) {
  elevationType = type == kElevation ? kElevation : kHeightDifference;
  leftGrid.mode = rightGrid.mode = elevationType;
}

// ---- Station list --------------------------------------------------------------------------------

void GroundLineInput::RebuildStationList() {
  const CString selected =
      stationSelection >= 0 && stationSelection < stationList.GetSize() ? stationList[stationSelection] : CString();
  StationTexts(db.rockLayers, stationList);
  stationSelection = -1;
  for (INT_PTR i = 0; i < stationList.GetSize() && !selected.IsEmpty(); ++i)
    if (stationList[i] == selected) stationSelection = static_cast<int>(i);
}

void GroundLineInput::RefillStationList() {
  stationSelection = -1;
  RebuildStationList();
  chainageText.Empty();
  elevationText.Empty();
}

void GroundLineInput::MergeGroundLineRecords() {
  EarthLineList ground;
  ground.Append(db.groundLines);
  MakePairs(ground);
  acedSetStatusBarProgressMeter("初始化数据", 0, 100);
  const INT_PTR total = ground.GetSize();
  for (INT_PTR i = 0; i + 1 < total; i += 2) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(i * 100 / total));
    const earthline& left = ground[i];
    if (FindPair(db.rockLayers, left.prefix, left.chainage, left.layer, nullptr) >= 0) continue;
    InsertPair(db.rockLayers, PairInsertIndex(db.rockLayers, left.chainage, left.layer), left, ground[i + 1]);
  }
  acedRestoreStatusBar();
  db.rockLayerCount = static_cast<int>(db.rockLayers.GetSize());
}

// ---- Detours -------------------------------------------------------------------------------------

bool GroundLineInput::CurrentDetourText(bool byKind, CString& detour) {
  detour.Empty();
  const CString name = Trimmed(lineNameText);
  if (byKind ? lineKind == kBaseLine : name == "基线") return true;
  int number = 0;
  if (!DetourNumberOfLabel(name, number)) {
    CString text;
    text.Format("线路名\"%s\"不是绕行段名(如\"左线第1绕行段\")!", name.GetString());
    AfxMessageBox(text);
    return false;
  }
  detour = DetourText(number);
  return true;
}

bool GroundLineInput::TableOfLine(int kind, const CString& name, CString& table, CString& filter) {
  table = TablesOf(kind).design;
  filter.Empty();
  if (kind == kBaseLine) return true;
  int number = 0;
  if (!DetourNumberOfLabel(name, number)) {
    CString text;
    text.Format("线路名\"%s\"不是绕行段名(如\"左线第1绕行段\")!", Trimmed(name).GetString());
    AfxMessageBox(text);
    return false;
  }
  filter = DetourFilter(number);
  return true;
}

bool GroundLineInput::ConnectDatabase() {
  connection.Close();
  if (!connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dbPath, -1)) {
    AfxMessageBox("连接数据库失败!");
    return false;
  }
  return true;
}

int GroundLineInput::ReadDetourNumbers(const CString& table) {
  if (!ConnectDatabase()) return 0;
  CAdoRecordSet rs(&connection);
  if (rs.Open("select distinct 编号 from " + table) != 1) return 0;
  const long n = rs.CountRecords();
  rs.Close();
  return static_cast<int>(std::clamp<long>(n, 0, 100000));
}

CString GroundLineInput::ReadDetourNames(const CString& table, int side, int index) {
  connection.Close();
  if (!connection.Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + dbPath, -1)) {
    AfxMessageBox("数据库连接不成功!");
    return CString();
  }
  CString sql;
  sql.Format("select * from %s where 编号=%d", table.GetString(), index);
  CAdoRecordSet rs(&connection);
  if (rs.Open(sql) != 1) return CString();
  CString remark;
  if (!rs.GetValueTextByName(remark, "附注") || remark.IsEmpty() || remark == "NULL") remark = " ";
  rs.Close();
  CString label;
  label.Format("%s第%d绕行段%s", side < 0 ? "左线" : "右线", index, remark.GetString());
  return label;
}

void GroundLineInput::ListDetours(const char* breakTable, int side) {
  lineNames.RemoveAll();
  const int n = ReadDetourNumbers(breakTable);
  for (int i = 0; i < n; ++i) {
    const CString label = ReadDetourNames(breakTable, side, i);
    if (!label.IsEmpty()) lineNames.Add(label);
  }
  lineNameSelection = lineNames.GetSize() > 0 ? 0 : -1;
  lineNameText = lineNameSelection >= 0 ? lineNames[0] : CString();
}

// ---- Saving, deleting, querying -------------------------------------------------------------------

void GroundLineInput::FillWorkingHead(const CString& detour) {
  earthline& w = db.working;
  char prefix[kChainPrefixSize] = {};
  double chainage = 0.0;
  ParseChainageText(chainageText.GetString(), chainage, prefix);
  w.prefix = prefix;
  w.chainage = chainage;
  w.detourNumber = detour;
  w.elevation = std::atof(elevationText.GetString());
  layer = std::atoi(layerText.GetString());
  w.layer = layer;
  w.rockType = rockTypeSelection + 1;
  w.leftCount = w.rightCount = 0;
}

void GroundLineInput::ReadGridSide(const PointGrid& grid, bool left, earthline& record) {
  const std::vector<EarthPoint> points = grid.FilledPoints();
  const int n = std::min(static_cast<int>(points.size()), kEarthPointsMax);
  if (static_cast<int>(points.size()) > kEarthPointsMax)
    acutPrintf("\n%s侧有%d个地面点, 一条记录只能存%d个, 只保存了离中桩最近的%d个。\n", left ? "左" : "右",
               static_cast<int>(points.size()), kEarthPointsMax, kEarthPointsMax);
  EarthPoint* out = left ? record.left : record.right;
  for (int k = 0; k < n; ++k) out[k] = points[static_cast<size_t>(k)];
  (left ? record.leftCount : record.rightCount) = n;
  (left ? record.rightCount : record.leftCount) = 0;
}

bool GroundLineInput::TypedValuesFit() {
  CString fault;
  CString prefix;
  double chainage = 0.0, value = 0.0;
  if (!ReadStationText(chainageText.GetString(), prefix, chainage)) {
    fault.Format("中桩里程\"%s\"不是里程(如DK12+345.67)", chainageText.GetString());
  } else if (!ReadsAsNumber(elevationText.GetString(), value)) {
    fault.Format("中桩高程\"%s\"不是有限的数", elevationText.GetString());
  } else if (!ReadsAsNumber(layerText.GetString(), value) || value != std::floor(value) || value < 0.0 ||
             value >= kLayersMax) {
    fault.Format("层号\"%s\"不是0到%d的整数", layerText.GetString(), kLayersMax - 1);
  } else if (!IsKnownRockType(rockTypeSelection + 1)) {
    fault = "请选择岩性";
  } else {
    const char* valueName = elevationType == kElevation ? "高程" : "高差";
    for (int s = 0; s < 2 && fault.IsEmpty(); ++s) {
      const PointGrid& grid = s == 0 ? leftGrid : rightGrid;
      const char* side = s == 0 ? "左侧" : "右侧";
      for (size_t r = 0; r < grid.rows.size() && fault.IsEmpty(); ++r) {
        const PointGrid::Row& row = grid.rows[r];
        if (row.distance.IsEmpty()) continue;  // a row without its distance is not taken
        const int shown = static_cast<int>(r) + 1;
        if (!ReadsAsNumber(row.distance.GetString(), value))
          fault.Format("%s第%d行的平距\"%s\"不是有限的数", side, shown, row.distance.GetString());
        else if (row.value.IsEmpty())
          fault.Format("%s第%d行没有%s", side, shown, valueName);
        else if (!ReadsAsNumber(row.value.GetString(), value))
          fault.Format("%s第%d行的%s\"%s\"不是有限的数", side, shown, valueName, row.value.GetString());
      }
    }
  }
  if (fault.IsEmpty()) return true;
  AfxMessageBox(fault + ", 未保存!");
  return false;
}

void GroundLineInput::OnSaveRecord() {
  leftCount = rightCount = 0;
  if (chainageText.IsEmpty()) {
    AfxMessageBox("请输入里程！");
    return;
  }
  if (elevationText.IsEmpty()) {
    AfxMessageBox("请输入高程!");
    return;
  }
  if (Trimmed(lineNameText).IsEmpty()) {
    AfxMessageBox("请输入线路名!");
    return;
  }
  CString detour;
  if (!CurrentDetourText(true, detour)) return;
  if (!TypedValuesFit()) return;
  FillWorkingHead(detour);
  earthline left = db.working, right = db.working;
  ReadGridSide(leftGrid, true, left);
  ReadGridSide(rightGrid, false, right);
  leftCount = left.leftCount;
  rightCount = right.rightCount;
  db.working = right;

  EarthLineList& list = db.rockLayers;
  const int at = FindPair(list, left.prefix, left.chainage, left.layer, &detour);
  if (at >= 0) {
    list[at] = left;
    list[at + 1] = right;
  } else if (leftCount > 0 || rightCount > 0) {
    InsertPair(list, PairInsertIndex(list, left.chainage, left.layer), left, right);
  }
  db.rockLayerCount = static_cast<int>(list.GetSize());
  RebuildStationList();
  ResetLeftGrid(kGridRows);
  ResetRightGrid(kGridRows);
}

void GroundLineInput::OnDeleteRecord() {
  if (AfxMessageBox("确认删除数据!", MB_YESNO) != IDYES) return;
  CString detour;
  if (!CurrentDetourText(false, detour)) return;
  if (stationSelection < 0 || stationSelection >= stationList.GetSize()) return;
  char prefix[kChainPrefixSize] = {};
  double chainage = 0.0;
  ParseChainageText(stationList[stationSelection].GetString(), chainage, prefix);
  layer = std::atoi(layerText.GetString());
  EarthLineList& list = db.rockLayers;
  for (INT_PTR i = list.GetSize() - 1; i >= 0; --i) {
    const earthline& r = list[i];
    if (std::fabs(r.chainage - chainage) < 0.0001 && IsSameStation(r.prefix, r.chainage, prefix, chainage) &&
        r.layer == layer && Trimmed(r.detourNumber) == detour)
      list.RemoveAt(i);
  }
  db.rockLayerCount = static_cast<int>(list.GetSize());
  ResetLeftGrid(kGridRows);
  ResetRightGrid(kGridRows);
  RefillStationList();
}

void GroundLineInput::OnQuery() {
  const CString station =
      stationSelection >= 0 && stationSelection < stationList.GetSize() ? stationList[stationSelection] : CString();
  if (Trimmed(lineNameText).IsEmpty()) {
    AfxMessageBox("请输入线路名");
    return;
  }
  CString detour;
  if (!CurrentDetourText(false, detour)) return;
  ResetLeftGrid(kGridRows);
  ResetRightGrid(kGridRows);
  char prefix[kChainPrefixSize] = {};
  double chainage = 0.0;
  ParseChainageText(station.GetString(), chainage, prefix);
  layer = std::atoi(layerText.GetString());
  leftCount = rightCount = 0;
  const EarthLineList& list = db.rockLayers;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    const earthline& r = list[i];
    if (!IsSameStation(r.prefix, r.chainage, prefix, chainage) || Trimmed(r.detourNumber) != detour ||
        r.layer != layer)
      continue;
    const int nLeft = std::clamp(r.leftCount, 0, kEarthPointsMax);
    const int nRight = std::clamp(r.rightCount, 0, kEarthPointsMax);
    if (nLeft > 0) {
      ResetLeftGrid(nLeft + 1);
      leftGrid.count = nLeft;
      std::copy(r.left, r.left + nLeft, leftGrid.table);
      leftCount = nLeft;
    }
    if (nRight > 0) {
      ResetRightGrid(nRight + 1);
      rightGrid.count = nRight;
      std::copy(r.right, r.right + nRight, rightGrid.table);
      rightCount = nRight;
    }
    elevationText.Format("%.2f", r.elevation);
    if (r.layer == 0) layerText = "0";
    // A rock type outside the list (one an earlier version stored unchosen)
    // shows none chosen, so that a save of the station asks for one.
    rockTypeSelection = r.rockType >= 1 && r.rockType <= rockTypes.GetSize() ? r.rockType - 1 : -1;
    chainageText = StationText(r.prefix, r.chainage);
  }
  leftGrid.FillRows();
  rightGrid.FillRows();
  leftGrid.baseElevation = rightGrid.baseElevation = std::atof(elevationText.GetString());
}

void GroundLineInput::OnStationSpin(int step) {
  const int n = static_cast<int>(stationList.GetSize());
  if (n == 0) return;
  stationSelection = step == 1 ? std::min(stationSelection + 1, n - 1) : std::max(stationSelection - 1, 0);
  OnQuery();
}

// ---- Writing and switching lines --------------------------------------------------------------------

bool GroundLineInput::WriteLineTables(const CString& table, const CString& filter) {
  SortPairs(db.rockLayers, 0.01);
  EarthLineList entered;
  entered.Append(db.rockLayers);

  // The user table: the records as entered. The table writer puts a ground
  // line's centre point (0, 0) in front of a side whose first point lies off
  // the centre: a height difference. Entered as elevations, the user table
  // gets it as the centre elevation instead, so that the rows read back
  // convert like the other points.
  EarthLineList user;
  user.Append(entered);
  if (elevationType == kElevation) {
    for (INT_PTR i = 0; i < user.GetSize(); ++i) {
      earthline& r = user[i];
      if (r.layer != 0) continue;
      for (int s = 0; s < 2; ++s) {
        EarthPoint* points = s == 0 ? r.left : r.right;
        int32_t& count = s == 0 ? r.leftCount : r.rightCount;
        if (count <= 0 || count >= kEarthPointsMax || points[0].distance == 0.0) continue;
        std::copy_backward(points, points + count, points + count + 1);
        points[0] = {0.0, r.elevation};
        ++count;
      }
    }
  }
  // The design table: the records converted once. Neither conversion
  // changes a point count or a first distance, so a station and layer that
  // one table cannot hold the other leaves out too.
  EarthLineList design;
  design.Append(entered);
  for (INT_PTR i = 0; i < design.GetSize(); ++i) RecordToTableForm(design[i], reference, elevationType);

  // Both lists are checked before either table is written: a value one of
  // them cannot hold leaves both tables as they were.
  const CString userTable = "用户" + table;
  SetRecords(user);
  bool fit = db.CheckRockLayerValues(userTable);
  SetRecords(design);
  fit = fit && db.CheckRockLayerValues(table);
  bool written = false;
  if (fit) {
    SetRecords(user);
    written = db.WriteRockLayerTable(dbPath, userTable, filter) == 1;
    SetRecords(design);
    written = written && db.WriteRockLayerTable(dbPath, table, filter) == 1;
  }
  SetRecords(entered);
  return written;
}

bool GroundLineInput::OnWriteDatabase() {
  const CString name =
      lineNameSelection >= 0 && lineNameSelection < lineNames.GetSize() ? lineNames[lineNameSelection] : lineNameText;
  CString table, filter;
  if (!TableOfLine(lineKind, name, table, filter)) return false;
  return WriteLineTables(table, filter);
}

bool GroundLineInput::OfferToSave(const CString& lineName) {
  if (Trimmed(lineName).IsEmpty()) return true;
  if (AfxMessageBox("是否保存" + lineName + "?", MB_YESNO) != IDYES) return true;
  CString table, filter;
  // A save asked for and not done keeps the line and its records: the
  // message said why, and the records are there to be mended.
  return TableOfLine(lineKind, lineName, table, filter) && WriteLineTables(table, filter);
}

void GroundLineInput::OnBaseLine() {
  if (!OfferToSave(lineNameText)) return;
  lineKind = kBaseLine;
  lineNames.RemoveAll();
  lineNames.Add("基线");
  lineNameSelection = 0;
  lineNameText = "基线";
  ReadLine(kBaseLine, CString());
}

void GroundLineInput::OnLeftDetour() {
  if (!OfferToSave(lineNameText)) return;
  lineKind = kLeftDetour;
  ListDetours("左线断链表", -1);
  CString table, filter;
  if (lineNameSelection < 0 || !TableOfLine(lineKind, lineNameText, table, filter)) {
    SetRecords(EarthLineList());
    RefillStationList();
    return;
  }
  ReadLine(kLeftDetour, filter);
}

void GroundLineInput::OnRightDetour() {
  if (!OfferToSave(lineNameText)) return;
  lineKind = kRightDetour;
  ListDetours("右线断链表", +1);
  CString table, filter;
  if (lineNameSelection < 0 || !TableOfLine(lineKind, lineNameText, table, filter)) {
    SetRecords(EarthLineList());
    RefillStationList();
    return;
  }
  ReadLine(kRightDetour, filter);
}

void GroundLineInput::OnLineNameDropDown() { rememberedLineName = lineNameText; }

void GroundLineInput::OnLineNameCloseUp() {
  if (lineNameSelection < 0 || lineNameSelection >= lineNames.GetSize()) return;
  const CString chosen = lineNames[lineNameSelection];
  if (chosen == rememberedLineName) return;
  if (!OfferToSave(rememberedLineName)) {
    // The list shows the line still held again.
    lineNameText = rememberedLineName;
    lineNameSelection = -1;
    for (INT_PTR i = 0; i < lineNames.GetSize(); ++i)
      if (lineNames[i] == rememberedLineName) lineNameSelection = static_cast<int>(i);
    return;
  }
  lineNameText = chosen;
  CString table, filter;
  if (!TableOfLine(lineKind, chosen, table, filter)) return;
  ReadLine(lineKind, filter);
}

void GroundLineInput::OnChooseDatabase() {
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, "(*.MDB)|*.mdb||");
  if (dialog.DoModal() != IDOK) return;
  dbPath = dialog.GetPathName();
  CString table, filter;
  if (!TableOfLine(lineKind, lineNameText, table, filter)) return;
  ReadLine(lineKind, filter);
  ResetLeftGrid(kGridRows);
  ResetRightGrid(kGridRows);
}

bool GroundLineInput::OnCancel() {
  if (AfxMessageBox("是否将数据写入数据库!", MB_YESNO) != IDYES) return true;
  return OnWriteDatabase();
}
