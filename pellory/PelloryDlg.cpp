// The ground-line input dialog: the window of GroundLineInput.

#include "PelloryDlg.h"

#include <algorithm>
#include <cstdlib>

#include "PointForms.h"
#include "resources/PelloryResources.h"

using namespace pellory_rc;

namespace {

constexpr COLORREF kComputedColour = RGB(204, 232, 207);

// The controls that move or grow with the dialog's size, and how: the share
// of the width change that moves their left edge and that widens them, and
// whether they take the height change.
struct Anchor {
  int id;
  int moveX2, growX2;  // halves of the width change
  bool growY;
};
constexpr Anchor kAnchors[] = {
    {kFrame, 0, 2, true},      {kLeftGroup, 0, 1, true},  {kLeftGrid, 0, 1, true},
    {kRightGroup, 1, 1, true}, {kRightGrid, 1, 1, true},
};

}  // namespace

BEGIN_MESSAGE_MAP(CPelloryDlg, CDialog)
  ON_BN_CLICKED(kSaveRecord, &CPelloryDlg::OnSaveRecord)
  ON_BN_CLICKED(kDeleteRecord, &CPelloryDlg::OnDeleteRecord)
  ON_BN_CLICKED(kQuery, &CPelloryDlg::OnQuery)
  ON_CBN_SELCHANGE(kStationList, &CPelloryDlg::OnQuery)
  ON_NOTIFY(UDN_DELTAPOS, kStationSpin, &CPelloryDlg::OnStationSpin)
  ON_BN_CLICKED(kWriteDatabase, &CPelloryDlg::OnWriteDatabase)
  ON_BN_CLICKED(kChooseDatabase, &CPelloryDlg::OnChooseDatabase)
  ON_BN_CLICKED(kImportText, &CPelloryDlg::OnImportText)
  ON_BN_CLICKED(kPick, &CPelloryDlg::OnPick)
  ON_BN_CLICKED(kDraw, &CPelloryDlg::OnDraw)
  ON_BN_CLICKED(kBaseLine, &CPelloryDlg::OnBaseLine)
  ON_BN_CLICKED(kLeftDetour, &CPelloryDlg::OnLeftDetour)
  ON_BN_CLICKED(kRightDetour, &CPelloryDlg::OnRightDetour)
  ON_CBN_DROPDOWN(kLineName, &CPelloryDlg::OnLineNameDropDown)
  ON_CBN_SELCHANGE(kLineName, &CPelloryDlg::OnLineNameSelChange)
  ON_CBN_CLOSEUP(kLineName, &CPelloryDlg::OnLineNameCloseUp)
  ON_EN_SETFOCUS(kChainage, &CPelloryDlg::OnChainageFocus)
  ON_EN_SETFOCUS(kElevationEdit, &CPelloryDlg::OnElevationFocus)
  ON_EN_CHANGE(kElevationEdit, &CPelloryDlg::OnElevationChange)
  ON_EN_CHANGE(kScale, &CPelloryDlg::OnScaleChange)
  ON_BN_CLICKED(kHeightDifferenceRadio, &CPelloryDlg::OnHeightDifferenceMode)
  ON_BN_CLICKED(kElevationRadio, &CPelloryDlg::OnElevationMode)
  ON_WM_SIZE()
END_MESSAGE_MAP()

CPelloryDlg::CPelloryDlg(CWnd* parent) : CDialog(kInputDlg, parent) {}

CPelloryDlg::~CPelloryDlg() = default;

BOOL CPelloryDlg::Create(UINT templateId, CWnd* parent) { return CDialog::Create(templateId, parent); }

void CPelloryDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_GridCtrl(pDX, kRightGrid, m_rightGrid);
  DDX_GridCtrl(pDX, kLeftGrid, m_leftGrid);
  DDX_Text(pDX, kElevationEdit, m_input.elevationText);
  DDX_Radio(pDX, kHeightDifferenceRadio, m_input.elevationType);
  DDX_Radio(pDX, kFromCentreRadio, m_input.reference);
  DDX_Radio(pDX, kBaseLine, m_input.lineKind);
  DDX_Text(pDX, kChainage, m_input.chainageText);
  DDX_Text(pDX, kScale, m_input.scaleText);
}

BOOL CPelloryDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  GetClientRect(&m_initialClient);
  for (const Anchor& a : kAnchors) {
    if (CWnd* wnd = GetDlgItem(a.id)) {
      CRect r;
      wnd->GetWindowRect(&r);
      ScreenToClient(&r);
      m_templateRects[a.id] = r;
    }
  }
  const bool found = m_input.Initialise();
  m_ready = true;
  Push();
  if (!found) return FALSE;  // no project: the dialog shows empty lists
  FocusChainage();
  m_nFocusStep = 2;
  return FALSE;
}

// ---- model and window ---------------------------------------------------------------------

void CPelloryDlg::FillList(int id, const CStringArray& items, int selection) {
  CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(id));
  if (!combo) return;
  combo->ResetContent();
  for (INT_PTR i = 0; i < items.GetSize(); ++i) combo->AddString(items[i]);
  // A sorted list puts the items in its own order: the choice is found by its text.
  if (selection >= 0 && selection < items.GetSize())
    combo->SetCurSel(combo->FindStringExact(-1, items[selection]));
  else
    combo->SetCurSel(-1);
}

namespace {
int IndexOf(const CStringArray& items, const CString& text) {
  for (INT_PTR i = 0; i < items.GetSize(); ++i)
    if (items[i] == text) return static_cast<int>(i);
  return -1;
}

CString SelectedText(CComboBox* combo) {
  CString text;
  if (!combo) return text;
  const int sel = combo->GetCurSel();
  if (sel >= 0)
    combo->GetLBText(sel, text);
  return text;
}
}  // namespace

void CPelloryDlg::ShowGrid(CGridCtrl& grid, const PointGrid& points) {
  if (!grid.GetSafeHwnd()) return;
  const int rows = static_cast<int>(points.rows.size());
  grid.DeleteAllItems();
  grid.SetRowCount(rows + 1);
  grid.SetColumnCount(3);
  grid.SetFixedRowCount(1);
  grid.SetItemText(0, 0, "平距");
  grid.SetItemText(0, 1, "高差");
  grid.SetItemText(0, 2, "高程");
  const int input = points.mode != 0 ? 2 : 1, computed = points.mode != 0 ? 1 : 2;
  for (int r = 1; r <= rows; ++r) {
    grid.SetItemReadOnly(r, computed, TRUE);
    grid.SetItemBkColour(r, computed, kComputedColour);
  }
  grid.ClearPointTable();
  grid.m_nPointMode = points.mode;
  grid.m_dBaseElevation = points.baseElevation;
  grid.m_nPointCount = std::clamp(points.count, 0, GRID_MAX_POINTS);
  for (int k = 0; k < grid.m_nPointCount; ++k) grid.m_Points[k] = {points.table[k].distance, points.table[k].height};
  for (int r = 1; r <= rows; ++r) {
    const PointGrid::Row& row = points.rows[static_cast<size_t>(r - 1)];
    if (row.distance.IsEmpty() && row.value.IsEmpty()) continue;
    grid.SetItemText(r, 0, row.distance);
    grid.SetItemText(r, input, row.value);
    if (!row.value.IsEmpty()) grid.RecalcPartnerColumn(r, input);
  }
  CRect client;
  grid.GetClientRect(&client);
  const int width = std::max(40, (client.Width() - 2) / 3);
  for (int c = 0; c < 3; ++c) grid.SetColumnWidth(c, width);
  grid.Invalidate();
}

void CPelloryDlg::ReadGrid(CGridCtrl& grid, PointGrid& points) const {
  if (!grid.GetSafeHwnd()) return;
  const int input = points.mode != 0 ? 2 : 1;
  const int rows = std::max(grid.GetRowCount() - 1, 0);
  points.rows.assign(static_cast<size_t>(rows), PointGrid::Row{});
  for (int r = 1; r <= rows; ++r) {
    PointGrid::Row& row = points.rows[static_cast<size_t>(r - 1)];
    row.distance = grid.GetItemText(r, 0);
    row.distance.Trim();
    row.value = grid.GetItemText(r, input);
    row.value.Trim();
  }
}

void CPelloryDlg::Pull() {
  UpdateData(TRUE);
  GetDlgItemText(kLineName, m_input.lineNameText);
  CComboBox* names = static_cast<CComboBox*>(GetDlgItem(kLineName));
  const int chosen = IndexOf(m_input.lineNames, SelectedText(names));
  m_input.lineNameSelection = chosen;
  CComboBox* stations = static_cast<CComboBox*>(GetDlgItem(kStationList));
  m_input.stationSelection = IndexOf(m_input.stationList, SelectedText(stations));
  if (m_input.stationSelection < 0 && stations) {
    CString typed;
    stations->GetWindowText(typed);
    m_input.stationSelection = IndexOf(m_input.stationList, typed);
  }
  GetDlgItemText(kLayer, m_input.layerText);
  CComboBox* rock = static_cast<CComboBox*>(GetDlgItem(kRockType));
  m_input.rockTypeSelection = rock ? rock->GetCurSel() : -1;
  m_input.SetElevationText(m_input.elevationText);
  m_input.SetScaleText(m_input.scaleText);
  m_input.leftGrid.mode = m_input.rightGrid.mode = m_input.elevationType;
  ReadGrid(m_leftGrid, m_input.leftGrid);
  ReadGrid(m_rightGrid, m_input.rightGrid);
}

void CPelloryDlg::Push() {
  m_pushing = true;
  FillList(kLineName, m_input.lineNames, m_input.lineNameSelection);
  if (m_input.lineNameSelection < 0) SetDlgItemText(kLineName, m_input.lineNameText);
  FillList(kStationList, m_input.stationList, m_input.stationSelection);
  FillList(kRockType, m_input.rockTypes, m_input.rockTypeSelection);
  FillList(kLayer, m_input.layers, IndexOf(m_input.layers, m_input.layerText));
  UpdateData(FALSE);
  ShowGrid(m_leftGrid, m_input.leftGrid);
  ShowGrid(m_rightGrid, m_input.rightGrid);
  m_pushing = false;
}

template <typename Op>
void CPelloryDlg::Run(Op op) {
  Pull();
  op();
  Push();
}

// ---- buttons and lists --------------------------------------------------------------------------

void CPelloryDlg::OnSaveRecord() {
  Run([this] { m_input.OnSaveRecord(); });
  FocusChainage();
  m_nFocusStep = 2;
}

void CPelloryDlg::OnDeleteRecord() {
  Run([this] { m_input.OnDeleteRecord(); });
}

void CPelloryDlg::OnQuery() {
  if (m_pushing) return;
  Run([this] { m_input.OnQuery(); });
}

void CPelloryDlg::OnStationSpin(NMHDR* nm, LRESULT* result) {
  *result = 0;  // the step is allowed; the control's own position is not used
  const int delta = reinterpret_cast<NMUPDOWN*>(nm)->iDelta;
  Run([this, delta] { m_input.OnStationSpin(delta > 0 ? 1 : -1); });
}

void CPelloryDlg::OnWriteDatabase() {
  Run([this] { m_input.OnWriteDatabase(); });
}

void CPelloryDlg::OnChooseDatabase() {
  Run([this] { m_input.OnChooseDatabase(); });
}

void CPelloryDlg::OnImportText() {
  Run([this] { m_input.OnImportText(); });
}

void CPelloryDlg::OnPick() {
  Run([this] { m_input.OnPick(); });
}

void CPelloryDlg::OnDraw() {
  Run([this] { m_input.OnDraw(); });
}

void CPelloryDlg::SwitchLine(void (GroundLineInput::*op)()) {
  // The line being left is the one the model still holds, not the radio just clicked.
  const int kind = m_input.lineKind;
  Pull();
  m_input.lineKind = kind;
  (m_input.*op)();
  Push();
}

void CPelloryDlg::OnBaseLine() { SwitchLine(&GroundLineInput::OnBaseLine); }
void CPelloryDlg::OnLeftDetour() { SwitchLine(&GroundLineInput::OnLeftDetour); }
void CPelloryDlg::OnRightDetour() { SwitchLine(&GroundLineInput::OnRightDetour); }

void CPelloryDlg::OnLineNameDropDown() {
  if (m_pushing) return;
  Pull();
  m_input.OnLineNameDropDown();
}

void CPelloryDlg::OnLineNameSelChange() {
  if (m_pushing) return;
  Pull();
}

void CPelloryDlg::OnLineNameCloseUp() {
  if (m_pushing) return;
  Run([this] { m_input.OnLineNameCloseUp(); });
}

void CPelloryDlg::OnCancel() {
  Pull();
  // A write asked for that did not happen keeps the dialog open, with what
  // was typed, for the records to be mended.
  if (!m_input.OnCancel()) {
    Push();
    return;
  }
  CDialog::OnCancel();
}

// ---- edits and radios ----------------------------------------------------------------------------

void CPelloryDlg::OnChainageFocus() { m_input.lastField = GroundLineInput::kChainageField; }

void CPelloryDlg::OnElevationFocus() { m_input.lastField = GroundLineInput::kElevationField; }

void CPelloryDlg::OnElevationChange() {
  if (m_pushing || !m_ready) return;
  CString text;
  GetDlgItemText(kElevationEdit, text);
  m_input.SetElevationText(text);
  m_leftGrid.m_dBaseElevation = m_rightGrid.m_dBaseElevation = m_input.leftGrid.baseElevation;
}

void CPelloryDlg::OnScaleChange() {
  if (m_pushing || !m_ready) return;
  CString text;
  GetDlgItemText(kScale, text);
  m_input.SetScaleText(text);
}

void CPelloryDlg::SetElevationType(int type) {
  // The rows keep what the column that becomes the input one shows.
  Pull();
  m_input.SetElevationType(type);
  ReadGrid(m_leftGrid, m_input.leftGrid);
  ReadGrid(m_rightGrid, m_input.rightGrid);
  Push();
}

void CPelloryDlg::OnHeightDifferenceMode() { SetElevationType(::kHeightDifference); }
void CPelloryDlg::OnElevationMode() { SetElevationType(::kElevation); }

// ---- focus keys --------------------------------------------------------------------------------------

void CPelloryDlg::FocusChainage() {
  if (CWnd* edit = GetDlgItem(kChainage)) edit->SetFocus();
  m_input.lastField = GroundLineInput::kChainageField;
}

void CPelloryDlg::FocusGrid(CGridCtrl& grid) {
  grid.SetFocus();
  if (grid.GetRowCount() > 1) grid.SetFocusCell(1, 0);
}

BOOL CPelloryDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) == 0) {
    if (msg->wParam == VK_PRIOR) {
      OnSaveRecord();
    } else if (msg->wParam == VK_NEXT) {
      switch (m_nFocusStep) {
        case 1:
          FocusChainage();
          m_nFocusStep = 2;
          return TRUE;
        case 2:
          if (CWnd* edit = GetDlgItem(kElevationEdit)) edit->SetFocus();
          m_input.lastField = GroundLineInput::kElevationField;
          m_nFocusStep = 3;
          return TRUE;
        case 3:
          FocusGrid(m_leftGrid);
          m_nFocusStep = 4;
          return TRUE;
        case 4:
          FocusGrid(m_rightGrid);
          m_nFocusStep = 1;
          return TRUE;
        default:
          m_nFocusStep = 1;
          break;
      }
    }
  }
  return CDialog::PreTranslateMessage(msg);
}

// ---- size -------------------------------------------------------------------------------------------

void CPelloryDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (m_ready) Layout(cx, cy);
}

void CPelloryDlg::Layout(int cx, int cy) {
  // Not smaller than the template: below that the controls would overlap.
  const int dx = std::max(cx, m_initialClient.Width()) - m_initialClient.Width();
  const int dy = std::max(cy, m_initialClient.Height()) - m_initialClient.Height();
  for (const Anchor& a : kAnchors) {
    CWnd* wnd = GetDlgItem(a.id);
    if (!wnd) continue;
    auto it = m_templateRects.find(a.id);
    if (it == m_templateRects.end()) continue;
    CRect r = it->second;
    const int move = dx * a.moveX2 / 2, grow = a.growX2 == 2 ? dx : dx * a.growX2 / 2;
    r.OffsetRect(move, 0);
    r.right += grow;
    if (a.growY) r.bottom += dy;
    wnd->MoveWindow(&r);
  }
}
