// The table editors' grid (TableGridCtrl.h).
#include "controls/TableGridCtrl.h"

#include <algorithm>

#include "controls/CellNumber.h"
#include "mfc/app.h"
#include "mfc/files.h"
#include "win/userinput.h"

namespace {

constexpr const char* kPrefixWord = "冠号";
// Posted to the grid to open the editor of a refused edit again.
constexpr UINT kReopenRefusedEdit = WM_APP + 0x2A1;
constexpr UINT kNumberFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Every cell of a loaded table: centred on one line, a long text cut with an
// ellipsis. The loaded row numbers end in a line break ("%d\n"), which a
// single-line cell does not show: the rows keep one line's height.
constexpr UINT kCellFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

bool KeyHeld(int vk) { return GetKeyState(vk) < 0; }

bool IsEmptyOrOneBlank(const CString& text) { return text.IsEmpty() || text == " "; }

// ASCII letters folded to lower case; other bytes kept.
CString LowerAscii(const CString& text) {
  CString lower = text;
  lower.MakeLower();
  return lower;
}

bool IsArrowOrTab(UINT key) {
  return key == VK_TAB || key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

// The column-1 headers whose prefix the plan's appended row keeps.
bool IsPlanPrefixHeader(const CString& header) {
  return header == "中桩里程冠号" || header == "变坡点里程冠号" || header == "中心里程冠号" ||
         header == "加桩里程冠号" || header == "等号左里程冠号";
}

}  // namespace

BEGIN_MESSAGE_MAP(CTableGridCtrl, CComboGridCtrl)
  ON_WM_KEYDOWN()
  ON_WM_CHAR()
  ON_NOTIFY(GVN_ENDLABELEDIT, IDC_INPLACE_CONTROL, &CTableGridCtrl::OnEndInPlaceEdit)
  ON_CBN_SELCHANGE(IDC_INPLACE_CONTROL, &CTableGridCtrl::OnListSelChange)
  ON_MESSAGE(kReopenRefusedEdit, &CTableGridCtrl::OnReopenRefusedEdit)
END_MESSAGE_MAP()

CTableGridCtrl::CTableGridCtrl(EditorBuild build)
    : m_build(build) {}

CTableGridCtrl::~CTableGridCtrl() = default;

// ---- layout -------------------------------------------------------------------------------

void CTableGridCtrl::LayOutTable(int records, int fields) {
  EndEditing();
  m_hiddenValues.clear();
  m_nHiddenColumn = -1;
  m_nLoadedRows = 0;
  m_valuesShownEmpty.clear();
  m_numericFields.clear();
  m_nRefusedRow = m_nRefusedCol = -1;
  SetBkColor(RGB(255, 255, 224));
  SetRowCount(std::max(0, records) + 1);
  SetColumnCount(std::max(1, fields));
  SetFixedRowCount(1);
  SetFixedColumnCount(1);
  for (int r = 0; r < GetRowCount(); ++r) {
    SetItemData(r, 0, 0);
    for (int c = 0; c < GetColumnCount(); ++c) {
      SetItemText(r, c, "");
      SetItemFormat(r, c, kCellFormat);
    }
  }
  SetItemText(0, 0, "行号");
}

void CTableGridCtrl::NumberRowsAsLoaded() {
  for (int r = GetFixedRowCount(); r < GetRowCount(); ++r) {
    CString number;
    number.Format("%d\n", r);
    SetItemText(r, 0, number);
    SetItemData(r, 0, static_cast<LPARAM>(r - GetFixedRowCount() + 1));
  }
  m_nLoadedRows = std::max(0, GetRowCount() - GetFixedRowCount());
}

int CTableGridCtrl::RowKey(int row) const {
  if (row < GetFixedRowCount() || row >= GetRowCount()) return 0;
  const LPARAM key = GetItemData(row, 0);
  return key > 0 && key <= m_nLoadedRows ? static_cast<int>(key) : 0;
}

void CTableGridCtrl::RenumberRows(int fromRow) {
  for (int r = std::max(fromRow, GetFixedRowCount()); r < GetRowCount(); ++r) {
    CString number;
    number.Format("%d", r);
    SetItemText(r, 0, number);
    SetItemFormat(r, 0, kNumberFormat);
  }
}

CString CTableGridCtrl::HeaderText(int col) const {
  if (!IsValid(0, col)) return CString();
  return GetItemText(0, col);
}

bool CTableGridCtrl::RowHasContent(int row) const {
  if (row < GetFixedRowCount() || row >= GetRowCount()) return false;
  for (int c = GetFixedColumnCount(); c < GetColumnCount(); ++c) {
    CString text = GetItemText(row, c);
    text.Trim(' ');
    if (!text.IsEmpty()) return true;
  }
  return false;
}

// ---- the hidden column ----------------------------------------------------------------------

void CTableGridCtrl::HideColumnKeepingValues(int col) {
  if (col < 0 || col >= GetColumnCount() || col < GetFixedColumnCount()) return;
  m_hiddenValues.assign(static_cast<size_t>(m_nLoadedRows), CString());
  for (int r = GetFixedRowCount(); r < GetRowCount(); ++r) {
    const int key = RowKey(r);
    if (key > 0) {
      m_hiddenValues[static_cast<size_t>(key - 1)] = GetItemText(r, col);
    } else {
      // A row not keyed as loaded keeps its value under a key of its own.
      m_hiddenValues.push_back(GetItemText(r, col));
      SetItemData(r, 0, static_cast<LPARAM>(m_hiddenValues.size()));
    }
  }
  RemoveColumn(col);
  m_nHiddenColumn = col;
}

CString CTableGridCtrl::HiddenValue(int row) const {
  if (row < GetFixedRowCount() || row >= GetRowCount()) return CString();
  const LPARAM key = GetItemData(row, 0);
  if (key < 1 || static_cast<size_t>(key) > m_hiddenValues.size()) return CString();
  return m_hiddenValues[static_cast<size_t>(key - 1)];
}

// ---- rows ------------------------------------------------------------------------------------

void CTableGridCtrl::MoveRowContent(int from, int to, LPCTSTR fill) {
  if (!IsValid(from, 0) || !IsValid(to, 0) || from == to) return;
  for (int c = GetFixedColumnCount(); c < GetColumnCount(); ++c) {
    SetItemText(to, c, GetItemText(from, c));
    SetItemText(from, c, fill);
    // The edit mark goes with the text: a save tells an emptied cell from
    // one that shows its value empty by it.
    const BOOL edited = GetModified(from, c);
    SetModified(FALSE, from, c);
    SetModified(FALSE, to, c);
    if (edited) SetModified(TRUE, to, c);
  }
  SetItemData(to, 0, GetItemData(from, 0));
  SetItemData(from, 0, 0);
}

void CTableGridCtrl::InsertRowsAt(int at, int count, LPCTSTR heading) {
  if (count < 1 || at < 0 || at > m_nRows) return;
  EndEditing();
  ResetSelectedRange();
  CCellID focus = m_idCurrentCell;
  if (focus.IsValid()) SetFocusCell(-1, -1);
  std::vector<std::unique_ptr<GridRow>> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto row = std::make_unique<GridRow>(static_cast<size_t>(m_nCols));
    for (int c = 0; c < m_nCols; ++c) (*row)[static_cast<size_t>(c)].reset(CreateCell(at + i, c));
    if (m_nCols > 0 && heading) (*row)[0]->szText = heading;
    rows.push_back(std::move(row));
  }
  m_RowData.insert(m_RowData.begin() + at, std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
  m_arRowHeights.insert(m_arRowHeights.begin() + at, static_cast<size_t>(count), static_cast<UINT>(m_nDefCellHeight));
  m_nRows += count;
  InvalidateSizes();
  if (focus.IsValid()) {
    if (focus.row >= at) focus.row += count;
    SetFocusCell(focus);
  }
  LayoutChanged();
}

bool CTableGridCtrl::AddRows(int count, HeaderOnlyAdd headerOnly) {
  if (count < 1 || GetColumnCount() <= GetFixedColumnCount()) return false;
  const int firstCol = GetFixedColumnCount();
  if (GetRowCount() <= GetFixedRowCount()) {
    if (headerOnly == HeaderOnlyAdd::BelowHeader) {
      InsertRowsAt(GetRowCount(), count, "NEW");
      RenumberRows(GetFixedRowCount());
      MoveFocusTo(CCellID(GetFixedRowCount(), firstCol), 0);
      SetItemText(0, 0, "行号");
      SetModified(TRUE);
      Invalidate();
      return true;
    }
    SetRowCount(GetFixedRowCount() + 1);
    SetFocusCell(GetFixedRowCount(), firstCol);
  }
  const CCellID focus = GetFocusCell();
  if (!IsValid(focus) || focus.row < GetFixedRowCount()) return false;
  const int at = focus.row;
  InsertRowsAt(at, count, "NEW");
  RenumberRows(at);
  MoveRowContent(at + 1, at);
  MoveFocusTo(CCellID(at + 1, firstCol), 0);
  SetItemText(0, 0, "行号");
  SetModified(TRUE);
  Invalidate();
  return true;
}

bool CTableGridCtrl::DeleteSelectedRows() {
  const CCellRange range = GetSelectedCellRange();
  int first = range.GetMinRow();
  const int last = range.GetMaxRow();
  if (range.IsValid() && first >= 0 && last < GetRowCount()) {
    first = std::max(first, GetFixedRowCount());  // the header row stays
    if (first <= last) {
      for (int r = last; r >= first; --r) DeleteRow(r);
      RenumberRows(first);
      SetModified(TRUE);
      Invalidate();
      if (GetRowCount() > GetFixedRowCount()) {
        const int row = std::min(first, GetRowCount() - 1);
        SetFocusCell(row, GetFixedColumnCount());
        SetSelectedRange(row, GetFixedColumnCount(), row, GetColumnCount() - 1);
      }
    }
  }
  return GetRowCount() > GetFixedRowCount();
}

// ---- changes ------------------------------------------------------------------------------

void CTableGridCtrl::SetValueShownEmpty(int key, int field, bool shownEmpty) {
  if (shownEmpty)
    m_valuesShownEmpty.insert({key, field});
  else
    m_valuesShownEmpty.erase({key, field});
}

bool CTableGridCtrl::EmptyingChangesCell(int nRow, int nCol) const {
  if (!GetItemText(nRow, nCol).IsEmpty()) return true;
  // An empty cell changes only when it stands for a loaded value not yet
  // unset: the edit mark is what tells the save to unset it.
  const int key = RowKey(nRow);
  return key > 0 && !GetModified(nRow, nCol) && m_valuesShownEmpty.count({key, FieldOfColumn(nCol)}) > 0;
}

// ---- walking the cells --------------------------------------------------------------------

void CTableGridCtrl::MoveFocusTo(CCellID cell, UINT nChar) {
  if (!IsValid(cell) || IsCellFixed(cell.row, cell.col)) return;
  SetFocusCell(cell);
  if (GetSafeHwnd()) EnsureVisible(cell);
  if (!m_bEnableSelection) return;
  if (KeyHeld(VK_SHIFT) && nChar != 0 && nChar != VK_TAB) {
    m_MouseMode = MOUSE_SELECT_CELLS;
    OnSelecting(cell);
    m_MouseMode = MOUSE_NOTHING;
  } else {
    m_SelectionStartCell = cell;
    m_PrevSelectedCellMap.clear();
    SetSelectedRange(cell.row, cell.col, cell.row, cell.col);
  }
}

void CTableGridCtrl::CarryPrefixDown(int row, int col) {
  // Only from a data row: the header row above the first row holds a name.
  if (row <= GetFixedRowCount() || !IsValid(row, col)) return;
  if (!IsEmptyOrOneBlank(GetItemText(row, col)) || HeaderText(col).Find(kPrefixWord) < 0) return;
  const CString above = GetItemText(row - 1, col);
  if (above == GetItemText(row, col)) return;
  SetItemText(row, col, above);
  SetModified(TRUE, row, col);
}

void CTableGridCtrl::AppendRowAtEnd(LPCTSTR fill, bool keepPrefix) {
  const int firstCol = GetFixedColumnCount();
  const int edited = GetRowCount() - 1;
  InsertRow("NEW", edited);
  RenumberRows(edited);
  const int lastRow = GetRowCount() - 1;
  MoveRowContent(lastRow, edited, fill);
  if (keepPrefix && IsValid(lastRow, firstCol)) SetItemText(lastRow, firstCol, GetItemText(edited, firstCol));
  MoveFocusTo(CCellID(lastRow, firstCol), 0);
  SetModified(TRUE);
  Invalidate();
}

bool CTableGridCtrl::AdvanceOnEnter() {
  const CCellID cell = GetFocusCell();
  if (!IsValid(cell) || IsCellFixed(cell.row, cell.col)) return false;
  const int lastCol = GetColumnCount() - 1, lastRow = GetRowCount() - 1;
  const int firstCol = GetFixedColumnCount();
  if (cell.col < lastCol) {
    const int next = cell.col + 1;
    if (GetItemText(cell.row, next).IsEmpty()) CarryPrefixDown(cell.row, next);
    MoveFocusTo(CCellID(cell.row, next), 0);
  } else if (cell.row < lastRow) {
    if (GetItemText(cell.row + 1, firstCol).IsEmpty()) CarryPrefixDown(cell.row + 1, firstCol);
    MoveFocusTo(CCellID(cell.row + 1, firstCol), 0);
  } else {
    AppendRowAtEnd("", IsPlanPrefixHeader(HeaderText(firstCol)));
  }
  return GetFocusCell() != cell;
}

void CTableGridCtrl::AdvanceAfterEdit(int row, int col) {
  if (!IsValid(row, col) || IsCellFixed(row, col)) return;
  const int lastCol = GetColumnCount() - 1, lastRow = GetRowCount() - 1;
  const int firstCol = GetFixedColumnCount();
  if (col < lastCol) {
    CarryPrefixDown(row, col + 1);
    MoveFocusTo(CCellID(row, col + 1), 0);
  } else if (row < lastRow) {
    CarryPrefixDown(row + 1, firstCol);
    MoveFocusTo(CCellID(row + 1, firstCol), 0);
  } else {
    AppendRowAtEnd(" ", HeaderText(firstCol).Find(kPrefixWord) >= 0);
  }
}

// ---- numbers and refused edits -------------------------------------------------------------

bool CTableGridCtrl::AcceptsText(int col, const CString& text) const {
  if (!IsNumericColumn(col)) return true;
  const CString stored = StoredCellText(m_build, m_strTableName, text);
  if (CString(stored).Trim(" \t").IsEmpty()) return true;
  double number = 0.0;
  return ReadsAsCellNumber(stored, number);
}

void CTableGridCtrl::RefuseEdit(int row, int col, const CString& text) {
  m_bEditRefused = true;
  CString message;
  // A text longer than any number is told by its length, not shown.
  if (text.GetLength() > kMostCellNumberChars)
    message.Format("“%s”列只能填数值，%d 个字符以上的文字不是数值!", HeaderText(col).GetString(),
                   kMostCellNumberChars);
  else
    message.Format("“%s”列只能填数值，“%s”不是数值!", HeaderText(col).GetString(), text.GetString());
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
  // The editor that ended is still closing: the cell's editor opens again
  // once it has gone.
  m_nRefusedRow = row;
  m_nRefusedCol = col;
  m_strRefusedText = text;
  if (GetSafeHwnd()) PostMessage(kReopenRefusedEdit);
}

void CTableGridCtrl::OnLongTextRefused(int, int nCol) {
  CString message;
  message.Format("“%s”列最多填 %d 个字符，更长的文字没有填入!", HeaderText(nCol).GetString(),
                 GetColumnTextLimit(nCol));
  AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
}

LRESULT CTableGridCtrl::OnReopenRefusedEdit(WPARAM, LPARAM) {
  const int row = m_nRefusedRow, col = m_nRefusedCol;
  m_nRefusedRow = m_nRefusedCol = -1;
  if (!IsValid(row, col) || IsCellFixed(row, col) || GetEditWindow() != nullptr) return 0;
  SetFocusCell(row, col);
  SetSelectedRange(row, col, row, col);
  // The editor opens over the cell with the refused text, the caret at its end.
  m_bReopening = true;
  OnEditCell(row, col, VK_LBUTTON);
  m_bReopening = false;
  return 0;
}

bool CTableGridCtrl::FinishEditing() {
  m_bEditRefused = false;
  EndEditing();
  return !m_bEditRefused && m_nRefusedRow < 0;
}

void CTableGridCtrl::CancelRefusedEdit() {
  // The editor of the refused text has closed; its opening again (posted)
  // finds nothing to open.
  m_nRefusedRow = m_nRefusedCol = -1;
  m_strRefusedText.Empty();
  m_bEditRefused = false;
}

// ---- lists --------------------------------------------------------------------------------

bool CTableGridCtrl::GetCodeList(int nRow, int nCol, CStringArray& items, DWORD& style) {
  if (nRow < GetFixedRowCount() || !IsValid(nRow, nCol)) return false;
  return CodeListForHeader(m_build, HeaderText(nCol), HeaderText(nCol - 1), items, style);
}

int CTableGridCtrl::InitialListItem(const CStringArray& items, const CString& text) const {
  if (m_build == EditorBuild::Plan) {
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
      if (items[i] == text) return static_cast<int>(i);
    return -1;
  }
  if (items.GetSize() == 0) return -1;
  if (text.IsEmpty()) return 0;
  const CString lowered = LowerAscii(text);
  for (INT_PTR i = 0; i < items.GetSize(); ++i)
    if (LowerAscii(items[i]).Find(lowered) == 0) return static_cast<int>(i);
  return -1;
}

CComboBox* CTableGridCtrl::OpenList() const {
  if (!m_hList || !::IsWindow(m_hList)) return nullptr;
  return dynamic_cast<CComboBox*>(CWnd::FromHandlePermanent(m_hList));
}

BOOL CTableGridCtrl::GetCellChoices(int nRow, int nCol, CStringArray& items, DWORD& style) {
  return GetCodeList(nRow, nCol, items, style) ? TRUE : FALSE;
}

CWnd* CTableGridCtrl::CreateInPlaceEditControl(const CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nCol,
                                               LPCTSTR szText, int nChar) {
  CStringArray items;
  DWORD style = CBS_DROPDOWNLIST;
  // A refused edit opens again with the text that was refused.
  CString initial = m_bReopening ? m_strRefusedText : CString(szText);
  const bool listed = GetCodeList(nRow, nCol, items, style);
  if (listed) {
    // The list opens on the item the build picks for the cell's text.
    const int first = InitialListItem(items, initial);
    if (first >= 0) initial = items[first];
  }
  CWnd* editor = CComboGridCtrl::CreateInPlaceEditControl(rect, dwStyle, nID, nRow, nCol, initial, nChar);
  m_hList = listed && editor ? editor->GetSafeHwnd() : nullptr;
  return editor;
}

void CTableGridCtrl::OnEndEditCell(int nRow, int nCol, CString str) {
  // Esc keeps the cell as it was (a list may have shown its first item).
  const UINT key = m_nLastEditKey;
  if (key == VK_ESCAPE) return;
  CGridCtrl::OnEndEditCell(nRow, nCol, str);
  // An edit ended by Tab or an arrow moves by that key alone.
  if (AdvancesAfterEdit() && !IsArrowOrTab(key)) AdvanceAfterEdit(nRow, nCol);
}

void CTableGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  if (!m_hWnd || !::IsWindow(m_hWnd)) return;
  auto* info = reinterpret_cast<GV_DISPINFO*>(pNMHDR);
  const GV_ITEM& item = info->item;
  if (pNMHDR->hwndFrom == m_hEditWnd) m_hEditWnd = nullptr;
  // A drop-down list cannot show a text outside its items (a code the list
  // does not know): it ends with no selection and no text, which would
  // erase the cell. Such an edit keeps the cell's text.
  bool keepText = false;
  if (pNMHDR->hwndFrom == m_hList) {
    if (CComboBox* list = OpenList()) {
      const bool noEditField = (list->GetStyle() & CBS_DROPDOWNLIST) == CBS_DROPDOWNLIST;
      keepText = noEditField && list->GetCurSel() < 0 && CString(item.szText).IsEmpty();
    }
    m_hList = nullptr;
  }
  const UINT key = static_cast<UINT>(item.lParam);
  // A text a numeric cell cannot hold is refused: the cell keeps its text
  // and its editor opens again (Esc keeps the cell as it was). An edit that
  // leaves the text as it was changes nothing and is taken (a cell may hold
  // what another program stored; the save's check decides what is written).
  const bool unchanged = GetItemText(item.row, item.col) == item.szText;
  if (!keepText && key != VK_ESCAPE && !unchanged && !AcceptsText(item.col, item.szText)) {
    RefuseEdit(item.row, item.col, item.szText);
    RedrawCell(item.row, item.col);
    return;
  }
  m_nLastEditKey = key;
  if (!keepText) OnEndEditCell(item.row, item.col, item.szText);
  RedrawCell(item.row, item.col);
  SendMessageToParent(item.row, item.col, GVN_ENDLABELEDIT);
  if (key == VK_TAB || (key >= VK_PRIOR && key <= VK_DOWN)) {
    OnKeyDown(key, 1, 0);
    OnEditCell(m_idCurrentCell.row, m_idCurrentCell.col, key);
  }
  m_nLastEditKey = 0;
}

void CTableGridCtrl::OnListSelChange() { OnListSelectionChanged(); }

// ---- keys ------------------------------------------------------------------------------------

void CTableGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  m_bSwallowReturnChar = false;
  if (!IsValid(m_idCurrentCell)) {
    CGridCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
    return;
  }
  const CCellID before = m_idCurrentCell;
  const bool ctrl = KeyHeld(VK_CONTROL);
  if (nChar == VK_RETURN && EnterAdvances() && !ctrl) {
    AdvanceOnEnter();
    // The character Enter makes would start an edit on the cell walked to.
    m_bSwallowReturnChar = true;
  } else if (nChar == VK_HOME || nChar == VK_END) {
    MoveFocusTo(CCellID(nChar == VK_HOME ? GetFixedRowCount() : GetRowCount() - 1, before.col), nChar);
  } else {
    CGridCtrl::OnKeyDown(nChar, nRepCnt, nFlags);
  }
  if (GetSafeHwnd()) OnAfterKey(m_idCurrentCell != before);
}

void CTableGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_bSwallowReturnChar && nChar == VK_RETURN) {
    m_bSwallowReturnChar = false;
    return;
  }
  m_bSwallowReturnChar = false;
  CGridCtrl::OnChar(nChar, nRepCnt, nFlags);
}

void CTableGridCtrl::OnAfterKey(bool focusMoved) {
  if (focusMoved) CheckFlagBlockCell();
}

// ---- the flag-block preview -------------------------------------------------------------------

CString CTableGridCtrl::FlagBlockPath(const CString& folder, const CString& name) {
  CString path;
  path.Format("%s\\dwg\\%s.dwg", folder.GetString(), name.GetString());
  return path;
}

bool CTableGridCtrl::ShowDrawingIn(CWnd* preview, const CString& path) {
  if (!preview || !preview->GetSafeHwnd()) return false;
  CFileFind finder;
  // A wildcard would find some other file; such a name names no block.
  bool exists = false;
  if (path.FindOneOf("*?") < 0 && finder.FindFile(path)) {
    finder.FindNextFile();
    exists = !finder.IsDirectory();
  }
  finder.Close();
  if (!exists) {
    preview->ShowWindow(SW_HIDE);
    return false;
  }
  if (auto* thumbnail = dynamic_cast<CDwgThumbnail*>(preview))
    thumbnail->SetSrc(path);
  else
    preview->SetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, path.GetString());
  preview->ShowWindow(SW_SHOW);
  return true;
}

void CTableGridCtrl::CheckFlagBlockCell() {
  if (m_strTableName.Find("车站") < 0) return;
  const CCellID focus = GetFocusCell();
  if (IsValid(focus) && !IsCellFixed(focus.row, focus.col) && HeaderText(focus.col) == "插旗图块名") {
    m_bPreviewOn = true;
    ShowFlagBlock(GetItemText(focus.row, focus.col));
    return;
  }
  if (CWnd* preview = FlagBlockPreview(); preview && preview->GetSafeHwnd()) preview->ShowWindow(SW_HIDE);
  m_bPreviewOn = false;
}

void CTableGridCtrl::ShowFlagBlock(const CString& name) {
  if (!m_bPreviewOn || !IsStationTable(m_strTableName)) return;
  CString block = name;
  if (block.IsEmpty()) {
    if (CComboBox* list = OpenList()) {
      const int selected = list->GetCurSel();
      if (selected >= 0) list->GetLBText(selected, block);
    }
  }
  CWnd* preview = FlagBlockPreview();
  // A block is a file name in the dwg folder: a name with a folder in it names none.
  if (block.IsEmpty() || block.FindOneOf("\\/:") >= 0) {
    if (preview && preview->GetSafeHwnd()) preview->ShowWindow(SW_HIDE);
    return;
  }
  ShowDrawingIn(preview, FlagBlockPath(FlagBlockFolder(), block));
}
