#pragma once
// The plan module's state, one instance from load to unload: the plan model
// (made by the settings dialog's OK), the connection text of the scheme
// database (set whenever the dialog's database path changes), the scheme
// loader that the structure commands read with, the scheme name of the last
// OK, the corners PZOOM zooms to, the dock bar with the project tree, and the
// table editors that the tree opens. The structure commands draw only once
// the model and the connection text are both there.

#include <array>

#include "AlignmentModel.h"
#include "XLDataBase.h"
#include "controls/MyDockControlBar.h"
#include "arx/gegeometry.h"
#include "mfc/afxwin.h"

struct PlanState {
  static constexpr int kTableEditorCount = 24;  // one per table the project tree can open

  AlignmentModel* model = nullptr;  // owned; null until the first OK of the settings dialog
  CString connection;               // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>", empty at load
  XLDataBase loader;                // its record arrays are empty between commands
  CString schemeName;               // the database file's name without its extension, set by OK
  AcGePoint2d zoomCorners[2];       // the window of the row the table editor followed last
  int trackFlag = 0;                // the track switch of the editor that changed it last
  std::array<CWnd*, kTableEditorCount> tableEditors{};  // owned; null until opened
  CMyDockControlBar* dockBar = nullptr;  // owned; the dock bar "方案数据库", null until OK shows it

  // True when the structure commands may draw.
  bool Initialised() const { return model != nullptr && !connection.IsEmpty(); }
  // Replaces the plan model (deleting the one there was).
  void SetModel(AlignmentModel* newModel);
  // Runs the dock bar's closing operation (which frees its tree), then
  // destroys and deletes it; nothing when there is none.
  void CloseDockBar();
};

// The tables the project tree opens an editor for, in the order of the
// editor slots of PlanState::tableEditors.
inline constexpr const char* kTableEditorNames[PlanState::kTableEditorCount] = {
    "曲线表",   "断链表",   "左线曲线表", "左线断链表", "右线曲线表", "右线断链表",
    "大中桥",   "左线绕行段大中桥", "右线绕行段大中桥", "隧道",     "左线绕行段隧道", "右线绕行段隧道",
    "小桥涵",   "左线绕行段小桥涵", "右线绕行段小桥涵", "车站",     "左线绕行段车站", "右线绕行段车站",
    "水准点表", "左线绕行段水准点表", "右线绕行段水准点表", "导线表", "左线绕行段导线表", "右线绕行段导线表",
};
// The editor slot of a table name; -1 for a name that has none.
int TableEditorSlot(const char* tableName);

// The module's state (made on first use, freed by FreePlanState).
PlanState& ThePlanState();
// Asks each table editor with unsaved changes whether to save them (是/否),
// closes the dock bar, deletes every table editor that exists and the plan
// model, then the state itself; the next ThePlanState() starts afresh.
void FreePlanState();

// The connection text of a scheme database path, and the path of a
// connection text (the text itself when it is no such connection text).
CString SchemeConnectionText(const CString& databasePath);
CString DatabasePathOfConnection(const CString& connection);
