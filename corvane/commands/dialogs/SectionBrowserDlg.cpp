// The modeless section browser.

#include "SectionBrowserDlg.h"

#include <cstdio>
#include <filesystem>

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "EarthworkRows.h"
#include "SchemeDatabase.h"
#include "SectionBrowserHook.h"
#include "arx/apdocman.h"
#include "arx/edoutput.h"
#include "crt/paths.h"
#include "crt/textfile.h"
#include "project/ChainageText.h"
#include "project/ProjectLocation.h"
#include "resources/CorvaneResources.h"

using namespace corvane_rc;

namespace {

CSectionBrowserDlg* g_SectionBrowser = nullptr;

bool InsideStructure(int code) { return code == 1 || code == 2 || code == 6; }

// A section of a line that was drawn has its place on the sheet (its label
// stands above it); one inside a bridge or tunnel is not drawn.
bool IsDrawn(const SectionRecord& r) {
  return r.labelY != 0.0 && !(InsideStructure(r.leftCode) && InsideStructure(r.rightCode));
}

// Writes the zoom of the window to c:\tmp.scr and has the host run it.
void ZoomTo(double left, double bottom, double right, double top) {
  const char* script = "c:\\tmp.scr";
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(platform::resolvePath(script)).parent_path(), ec);
  FILE* file = platform::openFile(script, "w");
  if (file == nullptr) {
    acutPrintf("\n无法写入%s\n", script);
    return;
  }
  std::fprintf(file, "ZOOM\n%.3f,%.3f\n%.3f,%.3f\n", left, bottom, right, top);
  std::fclose(file);
  acDocManager->sendStringToExecute(acDocManager->curDocument(), "(command \"script\" \"c:\\\\tmp\")\n", false,
                                    false, true);
}

}  // namespace

CSectionBrowserDlg::CSectionBrowserDlg() : CDialog(kSectionBrowserDlg, nullptr) {}

CSectionBrowserDlg::~CSectionBrowserDlg() {
  if (g_SectionBrowser == this) g_SectionBrowser = nullptr;
}

void CSectionBrowserDlg::FillLines() {
  m_lines.clear();
  m_lines.push_back({&g_BaselineDesigner, 0, -1});
  for (int side : {-1, 1}) {
    const std::vector<CrossSectionDesigner*> detours = DetourDesignersInUse(side);
    for (size_t i = 0; i < detours.size(); ++i) m_lines.push_back({detours[i], side, static_cast<int>(i)});
  }
  CComboBox* combo = static_cast<CComboBox*>(GetDlgItem(kSbLine));
  combo->ResetContent();
  for (const LineEntry& line : m_lines) {
    CString name = "基线";
    if (line.line != 0) name.Format("%s绕行段%d", line.line < 0 ? "左线" : "右线", line.detourIndex + 1);
    combo->AddString(name);
  }
  combo->SetCurSel(0);
}

BOOL CSectionBrowserDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  FillLines();
  CheckRadioButton(kSbOneLine, kSbAllLines, kSbAllLines);
  BrowseAllLines();
  return TRUE;
}

void CSectionBrowserDlg::AddStops(const LineEntry& line, double from, double to) {
  if (line.designer == nullptr) return;
  const std::vector<SectionRecord>& sections = line.designer->sections;
  for (size_t i = 0; i < sections.size(); ++i) {
    const SectionRecord& r = sections[i];
    if (!IsDrawn(r) || r.mileage < from - 0.01 || r.mileage > to + 0.01) continue;
    m_stops.push_back({line.designer, static_cast<int>(i), line.line, line.detourIndex});
  }
}

void CSectionBrowserDlg::BrowseLine(int line, const CString& start, const CString& end) {
  m_stops.clear();
  if (line >= 0 && line < static_cast<int>(m_lines.size())) {
    const LineEntry& entry = m_lines[static_cast<size_t>(line)];
    double from = -1e300, to = 1e300;
    if (!start.IsEmpty()) from = LineChainageToMileage(*entry.designer, start.GetString());
    if (!end.IsEmpty()) to = LineChainageToMileage(*entry.designer, end.GetString());
    if (from > to) std::swap(from, to);
    AddStops(entry, from, to);
  }
  ShowStop(0);
}

void CSectionBrowserDlg::BrowseAllLines() {
  m_stops.clear();
  for (const LineEntry& line : m_lines) AddStops(line, -1e300, 1e300);
  ShowStop(0);
}

void CSectionBrowserDlg::ShowStop(int position) {
  if (m_stops.empty()) {
    m_current = -1;
    SetDlgItemText(kSbSection, "没有绘制的横断面");
    SetDlgItemText(kSbRemark, "");
    return;
  }
  if (position < 0) position = 0;
  if (position >= static_cast<int>(m_stops.size())) position = static_cast<int>(m_stops.size()) - 1;
  m_current = position;
  const Stop& stop = m_stops[static_cast<size_t>(position)];
  // The frame of the section from the ends of its ground lines.
  if (stop.designer->sections[static_cast<size_t>(stop.index)].kind == 2)
    stop.designer->ComputeSectionFrameDouble(stop.index);
  else
    stop.designer->ComputeSectionFrame(stop.index);
  const SectionRecord& r = stop.designer->sections[static_cast<size_t>(stop.index)];
  CString text;
  CString line = "基线";
  if (stop.line != 0) line.Format("%s绕行段%d", stop.line < 0 ? "左线" : "右线", stop.detourIndex + 1);
  text.Format("%s %s (%d/%d)", line.GetString(), r.label, position + 1, static_cast<int>(m_stops.size()));
  SetDlgItemText(kSbSection, text);
  CString remark;
  if (stop.line != 0 && ReadProjectAndScheme()) {
    SchemeDatabase db;
    db.databasePath = SchemeDatabasePath();
    db.GetLineRemark(stop.line < 0 ? "左线断链表" : "右线断链表", stop.detourIndex + 1, remark);
  }
  SetDlgItemText(kSbRemark, remark);
  ZoomTo(r.frameLeft, r.frameBottom, r.frameRight, r.frameTop);
}

void CSectionBrowserDlg::ProposeRange(int line) {
  if (line < 0 || line >= static_cast<int>(m_lines.size())) return;
  const LineEntry& entry = m_lines[static_cast<size_t>(line)];
  CString start, end;
  if (entry.line != 0 && ReadProjectAndScheme()) {
    SchemeDatabase db;
    db.databasePath = SchemeDatabasePath();
    char a[kChainageTextSize] = "", b[kChainageTextSize] = "";
    if (db.GetLineChainageRange(entry.line < 0 ? "左线断链表" : "右线断链表", entry.detourIndex + 1, a, b)) {
      start = a;
      end = b;
    }
  } else if (entry.designer != nullptr && !entry.designer->sections.empty()) {
    start = entry.designer->sections.front().label;
    end = entry.designer->sections.back().label;
  }
  SetDlgItemText(kSbStart, start);
  SetDlgItemText(kSbEnd, end);
}

void CSectionBrowserDlg::OnFirst() { ShowStop(0); }
void CSectionBrowserDlg::OnPrevious() { ShowStop(m_current > 0 ? m_current - 1 : 0); }
void CSectionBrowserDlg::OnNext() { ShowStop(m_current + 1); }
void CSectionBrowserDlg::OnLast() { ShowStop(static_cast<int>(m_stops.size()) - 1); }

void CSectionBrowserDlg::OnApply() {
  if (IsDlgButtonChecked(kSbAllLines) == BST_CHECKED) {
    BrowseAllLines();
    return;
  }
  CString start, end;
  GetDlgItemText(kSbStart, start);
  GetDlgItemText(kSbEnd, end);
  BrowseLine(static_cast<CComboBox*>(GetDlgItem(kSbLine))->GetCurSel(), start, end);
}

void CSectionBrowserDlg::OnMode() { OnApply(); }

void CSectionBrowserDlg::OnLineChange() {
  ProposeRange(static_cast<CComboBox*>(GetDlgItem(kSbLine))->GetCurSel());
  CheckRadioButton(kSbOneLine, kSbAllLines, kSbOneLine);
  OnApply();
}

void CSectionBrowserDlg::OnCancel() { DestroyWindow(); }

void CSectionBrowserDlg::PostNcDestroy() { delete this; }

BEGIN_MESSAGE_MAP(CSectionBrowserDlg, CDialog)
  ON_BN_CLICKED(kSbFirst, &CSectionBrowserDlg::OnFirst)
  ON_BN_CLICKED(kSbPrevious, &CSectionBrowserDlg::OnPrevious)
  ON_BN_CLICKED(kSbNext, &CSectionBrowserDlg::OnNext)
  ON_BN_CLICKED(kSbLast, &CSectionBrowserDlg::OnLast)
  ON_BN_CLICKED(kSbApply, &CSectionBrowserDlg::OnApply)
  ON_BN_CLICKED(kSbOneLine, &CSectionBrowserDlg::OnMode)
  ON_BN_CLICKED(kSbAllLines, &CSectionBrowserDlg::OnMode)
  ON_CBN_SELCHANGE(kSbLine, &CSectionBrowserDlg::OnLineChange)
END_MESSAGE_MAP()

// ---- The one reachable browser ------------------------------------------------------

CSectionBrowserDlg* SectionBrowser() { return g_SectionBrowser; }

CSectionBrowserDlg* OpenSectionBrowser() {
  if (g_SectionBrowser != nullptr) {
    g_SectionBrowser->SetActiveWindow();
    // The earlier browser is closed, so that none is left open out of reach.
    CloseSectionBrowser();
  }
  auto* browser = new CSectionBrowserDlg();
  g_SectionBrowser = browser;
  if (!browser->Create(kSectionBrowserDlg, acedGetAcadFrame())) {
    g_SectionBrowser = nullptr;
    delete browser;
    return nullptr;
  }
  browser->ShowWindow(SW_SHOW);
  return browser;
}

void CloseSectionBrowser() {
  CSectionBrowserDlg* browser = g_SectionBrowser;
  g_SectionBrowser = nullptr;
  if (browser != nullptr && browser->GetSafeHwnd() != nullptr) browser->DestroyWindow();
}

// The drawing runs' hand-over: a new browser over what was drawn, for a
// single-line design over the baseline from its first to its last section.
void ReplaceSectionBrowser(CrossSectionDesigner& designer) {
  CSectionBrowserDlg* browser = OpenSectionBrowser();
  if (browser == nullptr || designer.lineKind != "单线" || designer.sections.empty()) return;
  browser->CheckRadioButton(kSbOneLine, kSbAllLines, kSbOneLine);
  const CString start = designer.sections.front().label, end = designer.sections.back().label;
  browser->SetDlgItemText(kSbStart, start);
  browser->SetDlgItemText(kSbEnd, end);
  browser->BrowseLine(0, start, end);
}
