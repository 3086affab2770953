#pragma once
// The plan module's state, one instance from load to unload: the plan model
// (made by the settings dialog's OK), the connection text of the scheme
// database (set whenever the dialog's database path changes), the scheme
// loader that the structure commands read with, the scheme name of the last
// OK, the corners PZOOM zooms to, and the table editors that the project tree
// opens. The structure commands draw only once the model and the connection
// text are both there.

#include <array>

#include "AlignmentModel.h"
#include "XLDataBase.h"
#include "arx/gegeometry.h"
#include "mfc/afxwin.h"

struct PlanState {
  static constexpr int kTableEditorCount = 24;  // one per table the project tree can open

  AlignmentModel* model = nullptr;  // owned; null until the first OK of the settings dialog
  CString connection;               // "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<path>", empty at load
  XLDataBase loader;                // its record arrays are empty between commands
  CString schemeName;               // the database file's name without its extension, set by OK
  AcGePoint2d zoomCorners[2];       // the window of the row the table editor followed last
  std::array<CWnd*, kTableEditorCount> tableEditors{};  // owned; null until opened

  // True when the structure commands may draw.
  bool Initialised() const { return model != nullptr && !connection.IsEmpty(); }
  // Replaces the plan model (deleting the one there was).
  void SetModel(AlignmentModel* newModel);
};

// The module's state (made on first use, freed by FreePlanState).
PlanState& ThePlanState();
// Deletes every table editor that exists and the plan model, then the state
// itself; the next ThePlanState() starts afresh.
void FreePlanState();

// The connection text of a scheme database path.
CString SchemeConnectionText(const CString& databasePath);
