#pragma once
// The coded columns of the scheme tables as the table editors show and store
// them, and the lists a station grid offers by a column's header.
//
// A coded column is stored as its code and shown as the code, a dash and its
// meaning ("1-一般隧道"). Both editors (the plan's and the navigator's) use
// these rules; where they differ the build is a parameter, so that one test
// program can check both (ThisEditorBuild() gives the compiled module's).

#include "mfc/collections.h"
#include "mfc/cstring.h"

enum class EditorBuild {
  Plan,       // the plan module's structure table editor
  Navigator,  // the navigator's table editor
};

// The build the running module was compiled as: Plan in the plan module,
// Navigator otherwise.
EditorBuild ThisEditorBuild();

// Table families, by the name's words ("隧道", "小桥涵") or, for stations, the
// three exact names 车站, 左线绕行段车站, 右线绕行段车站.
bool IsTunnelTable(const CString& table);
bool IsCulvertTable(const CString& table);
bool IsStationTable(const CString& table);

// The text a coded field shows. `shown` takes the display of `value` and the
// result is true when `field` of `table` is coded in this build: tunnel
// 插旗方式 ("0"/"1" shown with their meaning, any other value as it is),
// culvert 插旗方式 ("0".."7"; any other value shows empty) and, in the
// navigator, culvert 用途 ("0".."2"; any other value shows empty). A value
// shown empty is not lost: a save keeps it until its cell is edited
// (TableStore.h).
bool CodedFieldText(EditorBuild build, const CString& table, const CString& field, const CString& value,
                    CString& shown);

// The text a cell is stored as: a coded text of the table's family goes back
// to its code ("1-一般隧道" → "1"), any other text is stored as it stands.
CString StoredCellText(EditorBuild build, const CString& table, const CString& cell);

// The grid column of a station table that the editor hides (-1 for other
// tables): in the plan build 起点里程冠号 (column 4; 5 in the detour tables),
// in the navigator 车站类型 (column 8; 9 in the detour tables). The grid's
// column index equals the field index at load (the ID field's place holds
// the row numbers).
int HiddenStationColumn(EditorBuild build, const CString& table);

// The list a cell offers, chosen by its column's header and the header of the
// column to its left (插旗方式 after 用途 is the culvert list, after 终点里程数
// the tunnel list). `style` is the combo box style of the list. False for a
// column edited as plain text.
bool CodeListForHeader(EditorBuild build, const CString& header, const CString& leftHeader, CStringArray& items,
                       DWORD& style);

// The 27 flag-block names, in list order.
const CStringArray& FlagBlockNames();
