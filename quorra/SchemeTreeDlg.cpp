// The scheme tree (SchemeTreeDlg.h).

#include "SchemeTreeDlg.h"

#include <cstdio>

#include "NavigatorState.h"
#include "SchemeSchema.h"
#include "TableEditors.h"
#include "arx/acui.h"
#include "arx/apdocman.h"
#include "arx/rxdynlink.h"
#include "crt/textfile.h"
#include "mfc/app.h"
#include "mfc/ddx.h"
#include "mfc/files.h"
#include "project/ProjectLocation.h"
#include "win/filemap.h"

namespace {

constexpr const char* kTechnicalStandards = "技术标准";
constexpr const char* kTechnicalStandardsModule = "Kestrow.arx";
constexpr const char* kTechnicalStandardsCommand = "quib";

// Where the tables of a scheme hang: the tables first..first+count-1 of the
// schema's order under <top> > <section> > <line>.
struct TableGroup {
  int first;
  int count;
  const char* top;
  const char* section;
  const char* line;
};

constexpr TableGroup kGroups[] = {
    {0, 2, "输入数据", "平面", "基线"},    {2, 2, "输入数据", "平面", "左线"},    {4, 2, "输入数据", "平面", "右线"},
    {6, 3, "输入数据", "纵断面", "基线"},  {9, 3, "输入数据", "纵断面", "左线"},  {12, 3, "输入数据", "纵断面", "右线"},
    {15, 6, "输入数据", "插旗", "基线"},   {21, 6, "输入数据", "插旗", "左线"},   {27, 6, "输入数据", "插旗", "右线"},
    {33, 1, "结果数据", "纵断面", "基线"}, {34, 1, "结果数据", "纵断面", "左线"}, {35, 1, "结果数据", "纵断面", "右线"},
};
static_assert(kGroups[11].first + kGroups[11].count == scheme_tables::kTableCount);

int GroupOf(int table) {
  for (int g = 0; g < static_cast<int>(sizeof kGroups / sizeof kGroups[0]); ++g)
    if (table >= kGroups[g].first && table < kGroups[g].first + kGroups[g].count) return g;
  return -1;
}

// Whether the last four characters of a file name, lower-cased, are ".mdb".
bool IsSchemeDatabaseName(const CString& name) {
  if (name.GetLength() < 4) return false;
  CString tail = name.Right(4);
  tail.MakeLower();
  return tail == ".mdb";
}

// Writes the current scheme's name to `<project>\PROJECT`; false when the
// file cannot be written.
bool WriteCurrentScheme() {
  FILE* file = platform::openFile(g_ProjectFolder + "\\PROJECT", "w");
  if (file == nullptr) return false;
  const bool written = std::fprintf(file, "%s\n", g_SchemeName.GetString()) >= 0;
  return std::fclose(file) == 0 && written;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSchemeTreeDlg, CDialog)
  ON_NOTIFY(NM_CLICK, IDC_SCHEME_TREE, &CSchemeTreeDlg::OnTreeClick)
  ON_NOTIFY(TVN_SELCHANGED, IDC_SCHEME_TREE, &CSchemeTreeDlg::OnTreeSelChanged)
  ON_NOTIFY(NM_DBLCLK, IDC_SCHEME_TREE, &CSchemeTreeDlg::OnTreeDblClk)
END_MESSAGE_MAP()

CSchemeTreeDlg::CSchemeTreeDlg(CWnd* parent) : CDialog(IDD, parent) {}

CSchemeTreeDlg::~CSchemeTreeDlg() = default;

void CSchemeTreeDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_SCHEME_TREE, m_tree);
}

BOOL CSchemeTreeDlg::ReadProjectFiles() {
  CString folder;
  if (!ReadWordOfFile(g_InstallFolder + "\\workdir", folder) || folder.IsEmpty()) {
    g_ProjectFolder.Empty();
    return FALSE;
  }
  g_ProjectFolder = folder;
  DollarToSpaceInProjectPath();
  g_ProjectFolder.MakeUpper();
  CString scheme;
  if (!ReadWordOfFile(g_ProjectFolder + "\\project", scheme) || scheme.IsEmpty()) return FALSE;
  g_SchemeName = scheme;
  return TRUE;
}

BOOL CSchemeTreeDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  return BuildTree();
}

HTREEITEM CSchemeTreeDlg::InsertNode(const char* text, HTREEITEM parent) {
  return m_tree.InsertItem(text, 0, 1, parent, TVI_LAST);
}

BOOL CSchemeTreeDlg::BuildTree() {
  if (!ReadProjectFiles()) {
    AfxMessageBox("请指定工作目录和方案名称!");
    return FALSE;
  }
  CString currentFile;
  currentFile.Format("%s.mdb", g_SchemeName.GetString());
  currentFile.MakeLower();

  CFileFind finder;
  BOOL more = finder.FindFile(g_ProjectFolder + "\\data\\*.*");
  if (!more) {
    // No data folder at all: nothing is listed, not even 技术标准.
    CopyTemplateDatabase();
    return TRUE;
  }

  m_imageList.Create(IDB_SCHEME_TREE_IMAGES, 16, 1, static_cast<COLORREF>(8));
  m_tree.SetImageList(&m_imageList, TVSIL_NORMAL);
  InsertNode(kTechnicalStandards, TVI_ROOT);

  bool currentFound = false;
  int schemes = 0;
  CString lastSeen;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDirectory() || !IsSchemeDatabaseName(finder.GetFileName())) continue;
    CString name = finder.GetFileName();
    name.MakeLower();
    if (name == currentFile) currentFound = true;
    lastSeen = finder.GetFileTitle();
    if (AddScheme(lastSeen, finder.GetFilePath())) ++schemes;
  }
  finder.Close();

  if (schemes == 0) AfxMessageBox("您还没有设计线路方案，现在不能录入或查询数据！");
  if (currentFound) {
    g_SchemeDatabasePath = SchemeDatabasePathOf(g_SchemeName);
    return TRUE;
  }
  if (schemes > 0) {
    // The project names a scheme without a database: the last one listed
    // becomes current.
    g_SchemeName = lastSeen;
    WriteCurrentScheme();
    g_SchemeDatabasePath = SchemeDatabasePathOf(g_SchemeName);
    return TRUE;
  }
  CopyTemplateDatabase();
  return TRUE;
}

BOOL CSchemeTreeDlg::AddScheme(const CString& title, const CString& path) {
  // The connection text stays here: the current database path is never
  // left holding another scheme's connection.
  if (!m_connection.Open(SchemeConnectionString(path), -1)) {
    AfxMessageBox(CString("连接数据库") + title + "失败!");
    return FALSE;
  }
  HTREEITEM root = InsertNode(title, TVI_ROOT);
  HTREEITEM top = nullptr, section = nullptr, line = nullptr;
  int group = -1;
  auto enterGroup = [&](int g) {
    const TableGroup& to = kGroups[g];
    const TableGroup* from = group >= 0 ? &kGroups[group] : nullptr;
    const bool newTop = !from || CString(from->top) != to.top;
    const bool newSection = newTop || CString(from->section) != to.section;
    if (newTop) top = InsertNode(to.top, root);
    if (newSection) section = InsertNode(to.section, top);
    line = InsertNode(to.line, section);
    group = g;
  };
  enterGroup(0);
  ReadSchemeTableNames(m_connection, m_tableNames);
  CreateMissingSchemeTables(m_connection, m_tableNames, [&](int index, bool) {
    const int g = GroupOf(index);
    if (g < 0) return;
    if (g != group) enterGroup(g);
    InsertNode(scheme_tables::kTables[index].name, line);
  });
  m_tree.Expand(root, TVE_EXPAND);
  m_connection.Close();
  return TRUE;
}

BOOL CSchemeTreeDlg::CopyTemplateDatabase() {
  CString source, target;
  source.Format("%s\\lib\\标准.mdb", g_InstallFolder.GetString());
  target = SchemeDatabasePathOf(g_SchemeName);
  if (!CopyFile(source, target, FALSE)) {
    // Nothing was made: no path to a missing file is kept as current.
    g_SchemeDatabasePath.Empty();
    CString message;
    message.Format("不能由模板 %s 建立方案数据库 %s!", source.GetString(), target.GetString());
    AfxMessageBox(message);
    return FALSE;
  }
  g_SchemeDatabasePath = target;
  return TRUE;
}

HTREEITEM CSchemeTreeDlg::TopLevelItem(HTREEITEM item) const {
  for (HTREEITEM parent = m_tree.GetParentItem(item); parent != nullptr; parent = m_tree.GetParentItem(item))
    item = parent;
  return item;
}

HTREEITEM CSchemeTreeDlg::MakeSelectedSchemeCurrent() {
  HTREEITEM item = m_tree.GetSelectedItem();
  if (item == nullptr) return nullptr;
  ReadProjectFiles();
  g_SchemeName = m_tree.GetItemText(TopLevelItem(item));
  // Without a project folder there is no PROJECT to write.
  if (g_SchemeName != kTechnicalStandards && !g_ProjectFolder.IsEmpty()) {
    if (WriteCurrentScheme()) {
      g_SchemeDatabasePath = SchemeDatabasePathOf(g_SchemeName);
      CMDIFrameWnd* frame = acedGetAcadFrame();
      frame->SetWindowText(g_SchemeDatabasePath);
      frame->Invalidate();
      frame->UpdateWindow();
    }
  }
  return item;
}

void CSchemeTreeDlg::RunTechnicalStandards() {
  acedGetAcadDwgView()->SetFocus();
  CString module;
  module.Format("%s\\%s", g_InstallFolder.GetString(), kTechnicalStandardsModule);
  acedArxLoad(module);
  AcApDocManager* documents = acDocManagerPtr();
  documents->activateDocument(documents->curDocument(), false);
  CString command;
  command.Format("(command \"%s\")\n", kTechnicalStandardsCommand);
  documents->sendStringToExecute(documents->curDocument(), command, false, false, true);
}

void CSchemeTreeDlg::OnTreeClick(NMHDR*, LRESULT* result) {
  MakeSelectedSchemeCurrent();
  *result = 0;
}

void CSchemeTreeDlg::OnTreeSelChanged(NMHDR*, LRESULT* result) {
  MakeSelectedSchemeCurrent();
  *result = 0;
}

void CSchemeTreeDlg::OnTreeDblClk(NMHDR*, LRESULT* result) {
  *result = 0;
  HTREEITEM item = MakeSelectedSchemeCurrent();
  if (item == nullptr) return;
  const CString text = m_tree.GetItemText(item);
  if (text == kTechnicalStandards) RunTechnicalStandards();
  if (text == m_emptyText) return;
  const int table = SchemeTableIndex(text);
  if (table < 0) return;
  // The editor works on the database of the scheme the table is listed
  // under, which the double-click has just made current.
  OpenTableEditor(table, SchemeDatabasePathOf(m_tree.GetItemText(TopLevelItem(item))));
}
