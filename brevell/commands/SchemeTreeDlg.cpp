// The project tree of the plan module (SchemeTreeDlg.h).

#include "SchemeTreeDlg.h"

#include "PlanState.h"
#include "arx/edoutput.h"
#include "editor/TableEditorDlg.h"
#include "project/TableList.h"
#include "resources/EditorResources.h"
#include "resources/PlanResources.h"

IMPLEMENT_DYNAMIC(CSchemeTreeDlg, CDialog)

// The hint's command is matched by the first range and does nothing; of the
// second range only 2415 is left to open the selected table.
BEGIN_MESSAGE_MAP(CSchemeTreeDlg, CDialog)
ON_NOTIFY(NM_DBLCLK, IDC_SCHEME_TREE, &CSchemeTreeDlg::OnDblclkTree)
ON_NOTIFY(NM_RCLICK, IDC_SCHEME_TREE, &CSchemeTreeDlg::OnRclickTree)
ON_NOTIFY(NM_RCLICK, IDD_SCHEME_TREE, &CSchemeTreeDlg::OnRclickTree)
ON_COMMAND_RANGE(ID_SCHEME_TREE_IGNORED_FIRST, ID_SCHEME_TREE_IGNORED_LAST, &CSchemeTreeDlg::OnIgnoredCommand)
ON_COMMAND_RANGE(ID_SCHEME_TREE_OPEN_FIRST, ID_SCHEME_TREE_OPEN_LAST, &CSchemeTreeDlg::OnOpenCommand)
ON_WM_CLOSE()
END_MESSAGE_MAP()

namespace {

// The tables under each line, in the order they are listed.
struct LineTables {
  const char* line;
  const char* plan[2];
  const char* flags[6];
};

const LineTables kLines[] = {
    {"基线", {"曲线表", "断链表"}, {"大中桥", "隧道", "小桥涵", "车站", "水准点表", "导线表"}},
    {"左线",
     {"左线曲线表", "左线断链表"},
     {"左线绕行段大中桥", "左线绕行段隧道", "左线绕行段小桥涵", "左线绕行段车站", "左线绕行段水准点表",
      "左线绕行段导线表"}},
    {"右线",
     {"右线曲线表", "右线断链表"},
     {"右线绕行段大中桥", "右线绕行段隧道", "右线绕行段小桥涵", "右线绕行段车站", "右线绕行段水准点表",
      "右线绕行段导线表"}},
};

}  // namespace

CSchemeTreeDlg::CSchemeTreeDlg(CWnd* parent) : CDialog(IDD_SCHEME_TREE, parent) {}

CSchemeTreeDlg::~CSchemeTreeDlg() {
  if (GetSafeHwnd()) DestroyWindow();
}

CDialog* CSchemeTreeDlg::CreateInDockBar(CWnd* bar) {
  CSchemeTreeDlg* dlg = new CSchemeTreeDlg(bar);
  if (!dlg->Create(IDD_SCHEME_TREE, bar)) {
    delete dlg;
    return nullptr;
  }
  return dlg;
}

void CSchemeTreeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SCHEME_TREE, m_tree);
}

BOOL CSchemeTreeDlg::OnInitDialog() { return BuildPlanTree(); }

BOOL CSchemeTreeDlg::BuildPlanTree() {
  CDialog::OnInitDialog();
  if (m_connection.IsOpen()) m_connection.Close();
  if (!m_connection.Open(ThePlanState().connection, -1)) {
    AfxMessageBox("连接数据库失败!");
    return FALSE;
  }
  m_images.Create(IDB_SCHEME_TREE_IMAGES, 16, 1, RGB(8, 0, 0));
  m_tree.SetImageList(&m_images, TVSIL_NORMAL);
  m_tableNames.RemoveAll();
  ListTableNames(m_connection, m_tableNames);

  auto add = [this](const char* text, HTREEITEM parent) { return m_tree.InsertItem(text, 0, 1, parent, TVI_LAST); };
  HTREEITEM root = add("方案名称：" + ThePlanState().schemeName, TVI_ROOT);
  for (const LineTables& line : kLines) {
    HTREEITEM lineItem = add(line.line, root);
    HTREEITEM plan = add("平面", lineItem);
    for (const char* table : line.plan)
      if (TableExists(table)) add(table, plan);
    HTREEITEM flags = add("插旗", lineItem);
    for (const char* table : line.flags)
      if (TableExists(table)) add(table, flags);
  }
  m_tree.Expand(root, TVE_EXPAND);
  m_connection.Close();
  return TRUE;
}

bool CSchemeTreeDlg::TableExists(const char* name) const { return HasTableName(m_tableNames, name); }

int CSchemeTreeDlg::OpenTableEditor() {
  if (!m_tree.GetSafeHwnd()) return -1;
  HTREEITEM item = m_tree.GetSelectedItem();
  if (!item) return -1;
  CString text = m_tree.GetItemText(item);
  if (text.IsEmpty()) return -1;
  int slot = TableEditorSlot(text);
  if (slot < 0) return -1;
  OpenEditorFor(slot, text);
  return slot;
}

// One editor per table: the one open for the table is destroyed and a new
// one made, shown and given the focus. One with unsaved changes asks first;
// kept by the answer, it is brought forward and nothing opens.
void CSchemeTreeDlg::OpenEditorFor(int slot, const CString& tableName) {
  if (slot < 0 || slot >= PlanState::kTableEditorCount) return;
  CWnd*& editorSlot = ThePlanState().tableEditors[slot];
  if (auto* open = dynamic_cast<CTableEditorDlg*>(editorSlot); open && !open->ConfirmClose(true)) {
    open->BringWindowToTop();
    open->SetFocus();
    return;
  }
  if (CWnd* old = editorSlot) {
    editorSlot = nullptr;
    if (old->GetSafeHwnd()) old->DestroyWindow();
    delete old;
  }
  CWnd* frame = acedGetAcadFrame();
  auto* editor = new CTableEditorDlg(tableName, frame);
  if (!editor->Create(IDD_TABLE_EDITOR, frame)) {
    delete editor;
    return;
  }
  // Beside the tree, so that the tree stays in reach while the editor is open.
  CRect tree;
  GetWindowRect(&tree);
  editor->SetWindowPos(nullptr, tree.right + 8, tree.top + 8, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  editor->ShowWindow(SW_SHOW);
  editorSlot = editor;
  editor->SetFocus();
}

void CSchemeTreeDlg::OnDblclkTree(NMHDR*, LRESULT* result) {
  OpenTableEditor();
  if (result) *result = 0;
}

void CSchemeTreeDlg::OnRclickTree(NMHDR*, LRESULT*) { OnRightClick(); }

void CSchemeTreeDlg::OnRightClick() {
  if (!m_tree.GetSafeHwnd()) return;
  CPoint screen;
  GetCursorPos(&screen);
  CPoint client = screen;
  m_tree.ScreenToClient(&client);
  UINT flags = 0;
  HTREEITEM item = m_tree.HitTest(client, &flags);
  if (!item || !(flags & TVHT_ONITEM)) return;
  CMenu menu;
  if (!menu.LoadMenu(IDR_SCHEME_TREE_MENU)) return;
  CMenu* popup = menu.GetSubMenu(0);
  if (!popup) return;
  // The menu opens at the click, in the screen coordinates it was made in.
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, this);
}

void CSchemeTreeDlg::OnIgnoredCommand(UINT) {}

void CSchemeTreeDlg::OnOpenCommand(UINT) { OpenTableEditor(); }

void CSchemeTreeDlg::OnClose() { CDialog::OnClose(); }

BOOL CSchemeTreeDlg::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN) {
    if (msg->wParam == VK_RETURN) OpenTableEditor();
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}
