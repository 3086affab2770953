#pragma once
// GroundLineInput: what the ground-line input dialog does, without its
// window. The dialog (CPelloryDlg, inside the palette of HDMDMX) wraps one
// object of this class: it shows the texts, lists and point grids kept here,
// copies what the user typed back into them, and calls the operation of the
// button or list the user used. Messages and questions go to message boxes,
// prompts to the command line, as the dialog's own.
//
// Records: db.rockLayers is the record list of the current line (base line
// or one detour), each station and layer a left record and its right partner
// (RecordPairs.h); db.rockLayerCount follows its size. The station list
// mirrors it. The user tables (用户…岩层线表) receive the records as entered;
// the design tables (…岩层线表) their copy in table form (PointForms.h).
//
// Point grids: each side's grid is a PointGrid. Its rows are what the user
// typed, column 0 the distance and the one input column the value in the
// form the elevation type names (height difference under 高差, elevation
// under 高程); the grid window shows the other form beside it, read-only.
// Its point table is what a query or a pick gives the rows.

#include <vector>

#include "XLDataBase.h"
#include "ado/AdoWrapper.h"
#include "earthline.h"
#include "mfc/collections.h"
#include "mfc/cstring.h"

// The points one grid holds.
struct PointGrid {
  static constexpr int kTablePoints = 200;  // pairs the grid's point table holds
  struct Row {
    CString distance;  // column 0
    CString value;     // the input column
  };
  int mode = 0;                  // the elevation type its values are in
  double baseElevation = 0.0;    // the centre elevation the other form is shown with
  int count = 0;                 // points in the table
  EarthPoint table[kTablePoints] = {};
  std::vector<Row> rows;         // the point rows (the header row not counted)

  // n empty rows and a cleared table (mode, base and count 0).
  void Reset(int n);
  // Rows 1 .. count from the table as "%.2f" texts, more rows when needed.
  void FillRows();
  // The filled rows (distance not empty) as points, in row order.
  std::vector<EarthPoint> FilledPoints() const;
};

class GroundLineInput {
 public:
  // Line kinds (radio group 基线 / 左绕行段 / 右绕行段).
  enum LineKind { kBaseLine = 0, kLeftDetour = 1, kRightDetour = 2 };
  // Which edit had the focus last (a picked text goes there).
  enum LastField { kNoField = 1, kChainageField = 2, kElevationField = 3 };
  static constexpr int kGridRows = 10;  // point rows of a reset grid

  GroundLineInput();

  // ---- Set-up ------------------------------------------------------------------
  // Finds the project (workdir and project files) and the scheme database,
  // sets the values to their start, lists "基线", reads the user table of the
  // base line (the ground-line table merged when it gives nothing), fills the
  // station, rock-type and layer lists. False when the project cannot be found.
  bool Initialise();

  // ---- Buttons and lists -----------------------------------------------------
  void OnSaveRecord();     // 保存记录 (and PageUp)
  void OnDeleteRecord();   // 删除记录
  void OnQuery();          // 查询, a station chosen, an up-down step
  void OnStationSpin(int step);  // +1 next station, otherwise the previous one
  bool OnWriteDatabase();  // 存入数据库; true when both tables were written
  void OnChooseDatabase(); // 选择数据库
  // The line switches offer to save the line being left first; a save asked
  // for that does not happen keeps that line, its name and its records.
  void OnBaseLine();       // 基线
  void OnLeftDetour();     // 左绕行段
  void OnRightDetour();    // 右绕行段
  void OnLineNameDropDown();  // remembers the line name
  void OnLineNameCloseUp();   // reads the newly chosen line (the remembered one chosen again when kept)
  void OnImportText();     // 导入文件
  void OnPick();           // 拾取
  void OnDraw();           // 画图
  // Closing: asks "是否将数据写入数据库!" and writes on Yes. True when the
  // dialog may close: the answer was No or the tables were written.
  bool OnCancel();

  // ---- Edits and radios ------------------------------------------------------
  void SetElevationText(const CString& text);  // both grids' base elevation follows
  void SetScaleText(const CString& text);      // scale factor = N × 0.001
  void SetElevationType(int type);             // 0 高差, 1 高程

  // ---- Helpers of the dialog -------------------------------------------------
  void ResetLeftGrid(int n);
  void ResetRightGrid(int n);
  // The station list from the record list; the chainage and elevation texts cleared.
  void RefillStationList();
  // Adds the ground-line list (db.groundLines) to the record list, in pairs,
  // skipping a station and layer the list already has.
  void MergeGroundLineRecords();
  // Sorts the pairs, writes "用户" + table as entered and table converted.
  // True when both were written; false, after a message, when a record's
  // values are refused (neither table touched) or a table cannot be written.
  // The record list stays as entered either way.
  bool WriteLineTables(const CString& table, const CString& filter);
  // "左线第<i>绕行段<附注>" (side −1) or "右线第…" (+1) from `table`; empty when
  // the query gives nothing.
  CString ReadDetourNames(const CString& table, int side, int index);
  // The number of distinct 编号 of `table`.
  int ReadDetourNumbers(const CString& table);
  bool ConnectDatabase();

  // The detour text of the current line for a record: empty for the base line
  // (`byKind`: line kind 0, else: the trimmed line name "基线"), else the
  // number of the detour label. False, after a message, when the line name is
  // no detour label.
  bool CurrentDetourText(bool byKind, CString& detour);
  // The design (converted) table of the current line kind and its filter
  // for `lineName`; false, after a message, for a detour name that is no label.
  bool TableOfLine(int lineKind, const CString& lineName, CString& table, CString& filter);

  // ---- State -------------------------------------------------------------------
  CString chainageText;    // 中桩里程 (control 44)
  CString elevationText;   // 中桩高程 (control 45)
  CString lineNameText;    // text of the line-name list (control 30)
  CString scaleText = "1"; // 1:N (control 46)
  double scaleFactor = 1.0;
  int lineKind = kBaseLine;
  int elevationType = 0;   // 0 高差, 1 高程
  int reference = 0;       // 0 相对中桩, 1 相对前点
  int importedLines = 0;   // line names added by text import
  int lastField = kNoField;
  int layer = 0;
  CString rememberedLineName;  // the name when the line-name list dropped down
  CString dbPath;
  CString textPath;
  int leftCount = 0, rightCount = 0;

  CStringArray stationList;  // station texts (control 26)
  int stationSelection = -1;
  CStringArray lineNames;    // line names (control 30)
  int lineNameSelection = -1;
  CStringArray rockTypes;    // "Ⅰ" .. "Ⅵ" (control 31)
  int rockTypeSelection = 0;
  CStringArray layers;       // "0" .. "5" (control 38)
  CString layerText = "0";   // text of the layer list

  PointGrid leftGrid, rightGrid;
  CAdoConnection connection;
  XLDataBase db;

 private:
  // The filled rows of one side as a record side: the first kEarthPointsMax
  // from the centre, with a note on the command line when the grid holds more.
  void ReadGridSide(const PointGrid& grid, bool left, earthline& record);
  // True when the typed values of a save can be stored: the chainage a
  // chainage text, the centre elevation and every filled grid row's distance
  // and value finite numbers, the layer one a station holds, a rock type
  // chosen. Otherwise false, after a message naming the field.
  bool TypedValuesFit();
  // Fills the head values of the working record from the texts.
  void FillWorkingHead(const CString& detour);
  void RebuildStationList();
  // Reads the user table of `kind` (ground-line table merged when it gives
  // nothing) for the detour filter, and rebuilds the station list.
  void ReadLine(int kind, const CString& filter);
  // Offers to save the line being left ("是否保存<name>?"). True when the
  // switch may go on: no line name, the answer No, or the line written.
  // False when the save was asked for and did not happen: the caller keeps
  // the line and its records.
  bool OfferToSave(const CString& lineName);
  void ListDetours(const char* breakTable, int side);
  void SetRecords(const EarthLineList& records);
};
