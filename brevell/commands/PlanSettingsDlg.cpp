// The plan settings dialog (PlanSettingsDlg.h).

#include "PlanSettingsDlg.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "PlanSettingsRules.h"
#include "PlanState.h"
#include "ProjectDockBar.h"
#include "arx/arx.h"
#include "arx/CommandLine.h"
#include "crt/textfile.h"
#include "project/BreakTable.h"
#include "project/ModulePath.h"
#include "project/TechParams.h"
#include "resources/PlanResources.h"

namespace {

constexpr const char* kSingleLine = "单线铁路";

// The first blank-delimited word of a text file, bounded; false when the file
// cannot be opened or holds no word.
bool FirstWordOf(const CString& path, CString& word) {
  FILE* file = platform::openFile(path.GetString(), "r");
  if (!file) return false;
  char buffer[1024] = {};
  const bool read = std::fscanf(file, "%1023s", buffer) == 1;
  std::fclose(file);
  if (read) word = buffer;
  return read;
}

// A field of the current row as text ("" for a null or a missing column).
CString FieldText(CAdoRecordSet& recordset, const char* column) {
  CString text;
  if (!recordset.GetValueTextByName(text, column) || text == "NULL") text.Empty();
  return text;
}

void AddItems(CWnd* dialog, int id, std::initializer_list<const char*> items) {
  auto* combo = static_cast<CComboBox*>(dialog->GetDlgItem(id));
  if (!combo) return;
  combo->ResetContent();
  for (const char* item : items) combo->AddString(item);
}

// The file name of a path without its last four characters (the extension).
CString SchemeOfDatabase(const CString& path) {
  int cut = -1;
  for (int i = 0; i < path.GetLength(); ++i) {
    if (path[i] == '\\' || path[i] == '/') cut = i;
  }
  CString name = path.Mid(cut + 1);
  return name.GetLength() >= 4 ? name.Left(name.GetLength() - 4) : CString();
}

}  // namespace

BEGIN_MESSAGE_MAP(CPlanSettingsDlg, CDialog)
  ON_EN_CHANGE(IDC_DATABASE_PATH, &CPlanSettingsDlg::OnChangeDatabasePath)
  ON_BN_CLICKED(IDC_BROWSE_DATABASE, &CPlanSettingsDlg::OnBrowseDatabase)
  ON_CBN_SELCHANGE(IDC_PLOT_SCALE, &CPlanSettingsDlg::OnScaleSelChange)
  ON_CBN_EDITCHANGE(IDC_PLOT_SCALE, &CPlanSettingsDlg::OnScaleEditChange)
  ON_BN_CLICKED(IDC_ALL_CULVERTS, &CPlanSettingsDlg::OnAllCulverts)
  ON_BN_CLICKED(IDC_CROSSING_CULVERTS, &CPlanSettingsDlg::OnCrossingCulverts)
  ON_BN_CLICKED(IDC_LOAD_SETTINGS, &CPlanSettingsDlg::LoadSettingsFile)
  ON_BN_CLICKED(IDC_SAVE_SETTINGS, &CPlanSettingsDlg::SaveSettingsFile)
  ON_BN_CLICKED(IDC_PLAN_HELP, &CPlanSettingsDlg::OnHelp)
END_MESSAGE_MAP()

CPlanSettingsDlg::CPlanSettingsDlg(const CString& startChainage, const CString& endChainage, CWnd* parent)
    : CDialog(IDD_PLAN_SETTINGS, parent) {
  m_settings.startChainage = startChainage;
  m_settings.endChainage = endChainage;
}

void CPlanSettingsDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  PlanDialogSettings& s = m_settings;
  DDX_Text(pDX, IDC_DATABASE_PATH, s.databasePath);
  DDX_Check(pDX, IDC_SHOW_DATABASE, s.showDatabase);
  DDX_Text(pDX, IDC_START_CHAINAGE, s.startChainage);
  DDX_Text(pDX, IDC_END_CHAINAGE, s.endChainage);
  DDX_Radio(pDX, IDC_LEFT_TO_RIGHT, s.direction);
  DDX_CBString(pDX, IDC_CHAINAGE_STYLE, s.chainageStyle);
  DDX_Radio(pDX, IDC_NEW_DRAWING, s.drawingMode);
  DDX_Text(pDX, IDC_BASE_PREFIX, s.basePrefix);
  DDX_Text(pDX, IDC_LEFT_PREFIX, s.leftPrefix);
  DDX_Text(pDX, IDC_RIGHT_PREFIX, s.rightPrefix);
  DDX_CBString(pDX, IDC_LABEL_POSITION, s.labelPosition);
  DDX_CBString(pDX, IDC_PLOT_SCALE, s.plotScale);
  DDX_Text(pDX, IDC_CENTERLINE_WIDTH, s.centerlineWidth);
  DDX_Text(pDX, IDC_TEXT_HEIGHT, s.textHeight);
  DDX_CBString(pDX, IDC_CHAINAGE_PRECISION, s.chainagePrecision);
  DDX_CBString(pDX, IDC_FLAG_PRECISION, s.flagPrecision);
  DDX_CBString(pDX, IDC_DEFLECTION_PRECISION, s.deflectionPrecision);
  DDX_CBString(pDX, IDC_BENCH_PRECISION, s.benchLevelPrecision);
  DDX_Check(pDX, IDC_BRIDGES, s.bridges);
  DDX_Check(pDX, IDC_BENCH_MARKS, s.benchMarks);
  DDX_Check(pDX, IDC_ALL_CULVERTS, s.allCulverts);
  DDX_Check(pDX, IDC_CROSSING_CULVERTS, s.crossingCulverts);
  DDX_Check(pDX, IDC_STATIONS, s.stations);
  DDX_Check(pDX, IDC_TUNNELS, s.tunnels);
  DDX_Check(pDX, IDC_TRAVERSE, s.traverse);
  DDX_Radio(pDX, IDC_BLACK_WHITE, s.colour);
}

void CPlanSettingsDlg::FillComboLists() {
  AddItems(this, IDC_CHAINAGE_STYLE, {"百米标", "五百米标", "公里标", "五公里标", "十公里标", "二十五公里标"});
  AddItems(this, IDC_LABEL_POSITION, {"曲线内侧", "曲线左侧", "曲线右侧"});
  AddItems(this, IDC_PLOT_SCALE, {"1000", "2000", "5000", "10000", "20000", "50000", "100000", "200000", "500000"});
  AddItems(this, IDC_CHAINAGE_PRECISION, {"1位", "2位", "3位", "4位"});
  AddItems(this, IDC_FLAG_PRECISION, {"1位", "2位", "3位", "4位"});
  AddItems(this, IDC_DEFLECTION_PRECISION, {"0位", "1位", "2位", "3位"});
  AddItems(this, IDC_BENCH_PRECISION, {"1位", "2位", "3位", "4位", "5位", "6位"});
}

void CPlanSettingsDlg::ResetPlotDefaults() {
  m_settings.basePrefix = "JD";
  m_settings.direction = 0;
  m_settings.colour = 0;
  m_settings.chainagePrecision = "2位";
  m_settings.chainageStyle = "百米标";
  m_settings.labelPosition = "曲线内侧";
}

BOOL CPlanSettingsDlg::OnInitDialog() {
  // The project: the install folder's workdir names it (blanks written as
  // '$'), its file `project` the scheme.
  m_workdir.Empty();
  m_scheme.Empty();
  if (FirstWordOf(InstallFolder() + "\\workdir", m_workdir)) m_workdir.Replace('$', ' ');
  if (FirstWordOf(m_workdir + "\\project", m_scheme)) {
    m_settings.databasePath = m_workdir + "\\data\\" + m_scheme + ".mdb";
  } else {
    m_scheme.Empty();
    m_settings.databasePath.Empty();
  }
  ResetPlotDefaults();
  m_settings.markSpacing = 1000.0;
  m_settings.drawingMode = 0;
  for (int* box : {&m_settings.bridges, &m_settings.benchMarks, &m_settings.allCulverts,
                   &m_settings.crossingCulverts, &m_settings.stations, &m_settings.tunnels, &m_settings.traverse,
                   &m_settings.showDatabase}) {
    *box = 0;
  }
  FillComboLists();
  const BOOL result = CDialog::OnInitDialog();  // fills the controls
  // The fill put the path into edit 217 without a change notification: the
  // range and the line mode come from the database now.
  if (!m_settings.databasePath.IsEmpty()) OnChangeDatabasePath();
  return result;
}

void CPlanSettingsDlg::OnChangeDatabasePath() {
  UpdateData(TRUE);
  if (m_settings.databasePath.IsEmpty()) {
    AfxMessageBox("未指定数据库!");
    return;
  }
  PlanState& state = ThePlanState();
  state.connection = SchemeConnectionText(m_settings.databasePath);
  if (!m_loader.connection.Open(state.connection, -1)) {
    AfxMessageBox("数据库连接失败，确认" + m_settings.databasePath + "是否在当前路径下!");
  }
  ReadChainageBreaks();
  ResetPlotDefaults();
  ReadTechParams();
  ApplyLineMode(true);
  UpdateData(FALSE);
}

void CPlanSettingsDlg::ReadChainageBreaks() {
  if (!m_loader.connection.IsOpen()) {
    AfxMessageBox("数据库没有打开或已经关闭!");
    return;
  }
  CAdoRecordSet recordset(&m_loader.connection);
  m_breakRows.clear();
  if (recordset.Open("select * from 断链表") == 1) {
    for (recordset.MoveFirst(); !recordset.IsEOF(); recordset.MoveNext()) {
      m_breakRows.push_back({FieldText(recordset, "等号左里程冠号"), FieldText(recordset, "等号右里程冠号"),
                             FieldText(recordset, "等号左里程数"), FieldText(recordset, "断链长度")});
    }
  }
  recordset.Close();
  if (m_breakRows.empty()) {
    AfxMessageBox("断链表没有记录,里程冠号采用缺省值！");
    return;
  }
  const BreakRow& first = m_breakRows.front();
  const BreakRow& last = m_breakRows.back();
  m_settings.startChainage = BreakRowChainageText(first.prefixBefore, std::atof(first.valueBefore));
  m_settings.endChainage = BreakRowChainageText(last.prefixBefore, std::atof(last.valueBefore));
}

void CPlanSettingsDlg::ApplyLineMode(bool setPrefixes) {
  const bool single = TechLineKind() == 1;
  if (setPrefixes) {
    m_settings.leftPrefix = single ? kSingleLine : "ZJD";
    m_settings.rightPrefix = single ? kSingleLine : "YJD";
  }
  for (int id : {IDC_LEFT_PREFIX, IDC_RIGHT_PREFIX}) {
    if (CWnd* edit = GetDlgItem(id)) edit->EnableWindow(!single);
  }
  if (CWnd* combo = GetDlgItem(IDC_LABEL_POSITION)) combo->EnableWindow(single);
}

CString CPlanSettingsDlg::DefaultFile(const char* extension) const {
  return m_workdir + "\\DATA\\" + m_scheme + "." + extension;
}

void CPlanSettingsDlg::OnBrowseDatabase() {
  resbuf result{};
  if (acedGetFileD("请输入文件名 *.mdb", DefaultFile("mdb"), "mdb", 0, &result) != RTNORM) return;
  UpdateData(TRUE);  // what the user typed elsewhere stays
  m_settings.databasePath = result.resval.rstring;
  acutDelString(result.resval.rstring);
  UpdateData(FALSE);
  OnChangeDatabasePath();
}

void CPlanSettingsDlg::ShowStyleForScale(const CString& scaleText) {
  m_settings.chainageStyle = ChainageStyleForScale(scaleText);
  // Only the style's control is refilled: a refill of every control from the
  // members would undo what the user typed since the last read, the new
  // scale among it.
  auto* style = static_cast<CComboBox*>(GetDlgItem(IDC_CHAINAGE_STYLE));
  if (style) style->SetCurSel(style->FindStringExact(-1, m_settings.chainageStyle));
}

void CPlanSettingsDlg::OnScaleSelChange() {
  auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_PLOT_SCALE));
  if (!combo || combo->GetCurSel() < 0) return;
  CString text;
  combo->GetLBText(combo->GetCurSel(), text);
  ShowStyleForScale(text);
}

void CPlanSettingsDlg::OnScaleEditChange() {
  CString text;
  GetDlgItemText(IDC_PLOT_SCALE, text);
  ShowStyleForScale(text);
}

void CPlanSettingsDlg::OnAllCulverts() {
  if (IsDlgButtonChecked(IDC_ALL_CULVERTS)) CheckDlgButton(IDC_CROSSING_CULVERTS, BST_UNCHECKED);
}

void CPlanSettingsDlg::OnCrossingCulverts() {
  if (IsDlgButtonChecked(IDC_CROSSING_CULVERTS)) CheckDlgButton(IDC_ALL_CULVERTS, BST_UNCHECKED);
}

void CPlanSettingsDlg::SaveSettingsFile() {
  if (!UpdateData(TRUE)) return;
  resbuf result{};
  if (acedGetFileD("请输入文件名 *.pmcs", DefaultFile("pmcs"), "pmcs", 1, &result) != RTNORM) return;
  const CString path = result.resval.rstring;
  acutDelString(result.resval.rstring);
  SavePlanSettingsFile(path, m_settings);
}

void CPlanSettingsDlg::LoadSettingsFile() {
  resbuf result{};
  if (acedGetFileD("请输入文件名 *.pmcs", DefaultFile("pmcs"), "pmcs", 0, &result) != RTNORM) return;
  const CString path = result.resval.rstring;
  acutDelString(result.resval.rstring);
  UpdateData(TRUE);  // the settings the file does not hold keep what the controls show
  const CString previousPath = m_settings.databasePath;
  if (!LoadPlanSettingsFile(path, m_settings)) return;
  // The database path changed with the file: the structure commands read the
  // database the plan is drawn from.
  if (m_settings.databasePath != previousPath && !m_settings.databasePath.IsEmpty()) {
    ThePlanState().connection = SchemeConnectionText(m_settings.databasePath);
  }
  ReadTechParams();
  ApplyLineMode(false);
  m_loader.Clear();
  UpdateData(FALSE);
}

void CPlanSettingsDlg::OnHelp() {}

bool CPlanSettingsDlg::SettingsCanBeDrawn() const {
  const PlanDialogSettings& s = m_settings;
  CString problem = PlotScaleProblem(s.plotScale);
  if (problem.IsEmpty()) problem = TextHeightProblem(s.textHeight);
  if (problem.IsEmpty()) problem = CenterlineWidthProblem(s.centerlineWidth);
  const CString* texts[2] = {&s.startChainage, &s.endChainage};
  const char* names[2] = {"起始里程", "终止里程"};
  for (int i = 0; i < 2 && problem.IsEmpty(); ++i) {
    CString text = *texts[i];
    text.Trim();
    if (!text.IsEmpty() && !ChainageTextReads(text.GetString())) problem = CString(names[i]) + "\"" + text + "\"不是里程!";
  }
  if (problem.IsEmpty()) return true;
  AfxMessageBox(problem);
  return false;
}

bool CPlanSettingsDlg::RangeLiesOnLine(const AlignmentModel& model) const {
  const PlanLine& base = model.Line(kBaseLine);
  if (base.pointCount < 1) return true;  // nothing was read: there is no line to hold it to
  const PlanDialogSettings& s = m_settings;
  const double first = base.StartMileage();
  const double last = base.EndMileage();
  const double start = s.startChainage.IsEmpty() ? first : model.ChainageToMileage(s.startChainage);
  const double end = s.endChainage.IsEmpty() ? last : model.ChainageToMileage(s.endChainage);
  CString problem;
  if (start > end) {
    problem = "起始里程" + s.startChainage + "在终止里程" + s.endChainage + "之后!";
  } else if (end < first || start > last) {
    // A range off the line would be moved to the line's ends and draw all of it.
    problem = "绘图范围" + s.startChainage + "～" + s.endChainage + "不在线路上!";
  }
  if (problem.IsEmpty()) return true;
  AfxMessageBox(problem);
  return false;
}

void CPlanSettingsDlg::OnOK() {
  if (!UpdateData(TRUE)) return;
  // A value the plan cannot be drawn with keeps the dialog open, with its
  // message: the plan model and the scale file stay as they were.
  if (!SettingsCanBeDrawn()) return;
  const PlanDialogSettings& s = m_settings;
  const double scale = std::atof(s.plotScale) * 0.001;

  m_loader.Clear();
  const bool opened = m_loader.LoadSchemeTables(s.databasePath, "曲线表", false);
  m_loader.LoadSchemeTables(s.databasePath, "断链表", false);
  auto model = std::make_unique<AlignmentModel>();
  model->LoadBaseLine(m_loader.intersectionPoints.data(), static_cast<int>(m_loader.intersectionPoints.size()));
  model->SetBaseBreakTable(static_cast<int>(m_loader.breaks.size()), m_loader.breaks.data());
  if (!RangeLiesOnLine(*model)) {
    m_loader.Clear();
    return;
  }

  EndDialog(IDOK);
  PlanState& state = ThePlanState();
  state.schemeName = SchemeOfDatabase(s.databasePath);
  acutPrintf("%s\n", s.databasePath.GetString());
  m_settings.chainageDigits = std::atoi(s.chainagePrecision);
  AlignmentModel* const plan = model.release();
  state.SetModel(plan);
  plan->SetIpPrefix(kBaseLine, s.basePrefix);
  PlanSettings& p = plan->settings;
  p.textHeight = scale * s.textHeight;
  p.scaleFactor = scale;
  p.centerlineWidth = scale * s.centerlineWidth;
  p.tickLength = s.markSpacing;
  p.chainageDigits = s.chainageDigits;
  p.deflectionDigits = static_cast<short>(std::atoi(s.deflectionPrecision));
  p.flagDigits = static_cast<short>(std::atoi(s.flagPrecision));
  plan->SetStartChainage(s.startChainage);
  plan->SetEndChainage(s.endChainage);
  p.benchLevelDigits = static_cast<short>(std::atoi(s.benchLevelPrecision));
  const int direction = s.direction == 0 ? -1 : 1;
  plan->SetDirectionSetting(direction);
  plan->SetDirection(direction);
  p.blackAndWhite = s.colour == 0;
  plan->CreatePlanLayers();
  p.labelSide = CurveLabelSide(s.labelPosition);
  p.chainageMarkInterval = ChainageMarkInterval(s.chainageStyle);
  p.sideLineMode = false;

  ReadTechParams();
  const int lineMode = TechLineKind();
  p.detourOffset = TechParam2();
  if (lineMode == 3) p.sideLineMode = true;
  if (lineMode >= 2) {
    for (int line : {kLeftLine, kRightLine}) {
      m_loader.Clear();
      m_loader.LoadSchemeTables(s.databasePath, line < 0 ? "左线曲线表" : "右线曲线表", false);
      m_loader.LoadSchemeTables(s.databasePath, line < 0 ? "左线断链表" : "右线断链表", false);
      plan->LoadSideLine(line, m_loader.sideCurves.data(), static_cast<int>(m_loader.sideCurves.size()));
      const int breaks = static_cast<int>(m_loader.sideBreaks.size());
      if (line < 0) {
        plan->SetLeftBreakTable(m_loader.sideBreaks.data(), breaks);
      } else {
        plan->SetRightBreakTable(m_loader.sideBreaks.data(), breaks);
      }
      plan->SetIpPrefix(line, line < 0 ? s.leftPrefix : s.rightPrefix);
    }
  }
  m_loader.Clear();
  plan->PrepareLines();
  if (!plan->RangeCutNote().IsEmpty()) acutPrintf("\n%s\n", plan->RangeCutNote().GetString());
  if (s.drawingMode == 0) plan->DrawPlan();

  ShowProjectDockBar(s.showDatabase != 0);

  // Without a project folder there is no place for the scale file, and a
  // database that could not be opened is no scheme to keep a scale for.
  FILE* file = m_workdir.IsEmpty() || !opened ? nullptr : platform::openFile(m_workdir + "\\DATA\\SCALE." + state.schemeName, "w+");
  if (file) {
    std::fprintf(file, "%s\n", s.plotScale.GetString());
    std::fclose(file);
  }
  m_loader.connection.Close();
  FocusCommandLine();
}
