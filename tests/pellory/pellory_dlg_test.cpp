// The ground-line input dialog in its palette, driven by a script's window
// words as a user's input: the PageDown walk of the focus, the grids' rows
// copied into the records on a save (the input column of each elevation
// type) and filled again by a query, the grids' row menu, the layout when
// the dialog is made larger, and the docked palette showing the whole dialog.
#include <gtest/gtest.h>

#include "PelloryDlg.h"
#include "PelloryPalette.h"
#include "arx/edcmdline.h"
#include "resources/PelloryResources.h"
#include "shared/drawbase_support.h"
#include "win/answers.h"
#include "win/transcript.h"
#include "win/winhost.h"

namespace {

using namespace pellory_rc;

class PelloryDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::resetWindowing();
    RegisterPelloryResources();
    CreateGroundLinePalette();  // without a project: the lists stay empty
    ASSERT_EQ(GroundLinePaletteSets().size(), 1u);
    dlg = InputDialogOf(GroundLinePaletteSets()[0]);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override {
    CloseGroundLinePalettes();
    platform::clearAnswers();
    platform::resetWindowing();
  }
  void Play(const std::string& lines) {
    platform::RunResult r = platform::runScriptText(lines);
    ASSERT_TRUE(r.ok) << r.error << "\n" << transcript.text();
  }
  HWND Control(int id) const { return ::GetDlgItem(dlg->m_hWnd, id); }
  static bool Within(HWND focus, HWND window) { return focus == window || ::IsChild(window, focus); }

  platform::TranscriptCapture transcript;
  CPelloryDlg* dlg = nullptr;
};

TEST_F(PelloryDlgTest, PageDownWalksTheFocusAndComesBackToTheChainage) {
  Play("> 6 45 {PageDown}\n");  // from the first step: the chainage edit
  EXPECT_EQ(::GetFocus(), Control(kChainage));
  struct Step {
    int control;
    int nextStep;
  } const steps[] = {{kElevationEdit, 3}, {kLeftGrid, 4}, {kRightGrid, 1}, {kChainage, 2}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.control);
    Play("> 6 {PageDown}\n");
    EXPECT_TRUE(Within(::GetFocus(), Control(s.control)));
    EXPECT_EQ(dlg->FocusStep(), s.nextStep);
  }
  // In a grid the focus cell is the first input row's distance.
  EXPECT_EQ(dlg->RightGrid().GetFocusCell(), CCellID(1, 0));
}

TEST_F(PelloryDlgTest, ASaveTakesTheInputColumnOfTheElevationTypeAndAQueryShowsIt) {
  // 高差: column 1 is typed, column 2 computed from the centre elevation.
  Play("> 6 30:=基线 31=Ⅰ 44=DK1+234.5 45=100 43[1,0]=2.5 43[1,1]=-0.4 43[2,0]=6 43[2,1]=0.3 42[1,0]=3 42[1,1]=0.2\n");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 2), "99.60");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(2, 2), "100.30");
  Play("> 6 51\n");
  // 高程: column 2 is typed, column 1 computed; the record keeps the elevations.
  Play("> 6 24 44=DK1+300 45=50 43[1,0]=4 43[1,2]=48.5\n");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 1), "-1.50");
  Play("> 6 51\n");

  const EarthLineList& records = dlg->Input().db.rockLayers;
  ASSERT_EQ(records.GetSize(), 4);
  struct Expected {
    int record;
    double chainage;
    int left, right;
    double firstDistance, firstHeight;
  } const expected[] = {
      {0, 1234.5, 2, 0, 2.5, -0.4},
      {1, 1234.5, 0, 1, 3.0, 0.2},
      {2, 1300.0, 1, 0, 4.0, 48.5},
      {3, 1300.0, 0, 0, 0.0, 0.0},  // the empty right partner
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.record);
    const earthline& r = records[e.record];
    EXPECT_NEAR(r.chainage, e.chainage, 1e-9);
    EXPECT_EQ(r.leftCount, e.left);
    EXPECT_EQ(r.rightCount, e.right);
    const EarthPoint* first = e.left > 0 ? r.left : r.right;
    if (e.left + e.right > 0) {
      EXPECT_NEAR(first[0].distance, e.firstDistance, 1e-9);
      EXPECT_NEAR(first[0].height, e.firstHeight, 1e-9);
    }
  }
  EXPECT_NEAR(records[1].right[0].height, 0.2, 1e-9);
  EXPECT_NEAR(records[0].left[1].distance, 6.0, 1e-9);

  // The save emptied the grids; choosing the station shows it again (高程:
  // the stored height differences in column 1, elevations beside them).
  EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 0), "");
  Play("> 6 22 26=DK1+234.50\n");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 0), "2.50");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 1), "-0.40");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 2), "99.60");
  EXPECT_EQ(dlg->LeftGrid().GetItemText(2, 0), "6.00");
  EXPECT_EQ(dlg->RightGrid().GetItemText(1, 1), "0.20");
  CString chainage, elevation;
  dlg->GetDlgItemText(kChainage, chainage);
  dlg->GetDlgItemText(kElevationEdit, elevation);
  EXPECT_EQ(chainage, "DK1+234.50");
  EXPECT_EQ(elevation, "100.00");
}

// Typed 45=1e999 and 43[1,0]=nan were stored as Inf and NULL (read with
// atof): a save now refuses a typed value that is no finite number, naming
// the field, and stores nothing.
TEST_F(PelloryDlgTest, TypedValuesThatAreNoFiniteNumberAreNotSaved) {
  // With no rock type chosen, a save asks for one.
  Play("> 6 30:=基线 44=DK1+000 45=100 43[1,0]=2 43[1,1]=0.5 51\n");
  EXPECT_TRUE(transcript.contains("请选择岩性, 未保存!")) << transcript.text();
  EXPECT_EQ(dlg->Input().db.rockLayers.GetSize(), 0);

  struct Case {
    const char* chainage;
    const char* elevation;
    const char* left[2];   // row 1 of the left grid: distance, height difference
    const char* right[2];  // row 1 of the right grid
    const char* message;
  };
  const Case cases[] = {
      {"DK1+000", "1e999", {"2", "0.5"}, {"3", "0.2"}, "中桩高程\"1e999\"不是有限的数, 未保存!"},
      {"DK1+000", "100", {"nan", "0.5"}, {"3", "0.2"}, "左侧第1行的平距\"nan\"不是有限的数, 未保存!"},
      {"DK1+000", "100", {"2", "0.5"}, {"3", "1e999"}, "右侧第1行的高差\"1e999\"不是有限的数, 未保存!"},
      {"DKinf", "100", {"2", "0.5"}, {"3", "0.2"}, "中桩里程\"DKinf\"不是里程(如DK12+345.67), 未保存!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    transcript.clear();
    const std::string words = std::string("> 6 31=Ⅰ 44=") + c.chainage + " 45=" + c.elevation + " 43[1,0]=" +
                              c.left[0] + " 43[1,1]=" + c.left[1] + " 42[1,0]=" + c.right[0] +
                              " 42[1,1]=" + c.right[1] + " 51\n";
    Play(words);
    EXPECT_TRUE(transcript.contains(c.message)) << transcript.text();
    EXPECT_EQ(dlg->Input().db.rockLayers.GetSize(), 0);
    // What was typed stays, to be mended.
    EXPECT_EQ(dlg->LeftGrid().GetItemText(1, 0), c.left[0]);
    EXPECT_EQ(dlg->RightGrid().GetItemText(1, 1), c.right[1]);
  }
}

// Leaving the line with a Yes to "是否保存基线?" whose save is refused (a
// record of rock type 0) keeps the line: the radio clicked goes back to 基线
// and the records stay. Closing with such a Yes keeps the dialog open; with
// a No it closes.
TEST_F(PelloryDlgTest, ARefusedSaveKeepsTheLineRadioAndTheDialog) {
  Play("> 6 30:=基线\n");
  GroundLineInput& input = dlg->Input();
  input.db.rockLayers.SetSize(2);
  for (INT_PTR i = 0; i < 2; ++i) {
    earthline& r = input.db.rockLayers[i];
    r.prefix = "DK";
    r.chainage = 1000.0;
    r.rockType = 0;
    (i == 0 ? r.leftCount : r.rightCount) = 1;
    (i == 0 ? r.left : r.right)[0] = {2.0, 0.5};
  }
  input.db.rockLayerCount = 2;
  struct Case {
    int radio;
    const char* name;
  } const cases[] = {{kLeftDetour, "左绕行段"}, {kRightDetour, "右绕行段"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    transcript.clear();
    Play("> 6 " + std::to_string(c.radio) + "\n@msg IDYES\n");
    EXPECT_TRUE(transcript.contains("是否保存基线?")) << transcript.text();
    EXPECT_TRUE(transcript.contains("未写入任何记录")) << transcript.text();
    EXPECT_EQ(::IsDlgButtonChecked(dlg->m_hWnd, kBaseLine), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(::IsDlgButtonChecked(dlg->m_hWnd, c.radio), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(input.lineKind, GroundLineInput::kBaseLine);
    ASSERT_EQ(input.db.rockLayers.GetSize(), 2);
    EXPECT_EQ(input.db.rockLayers[0].rockType, 0);
    EXPECT_EQ(input.db.rockLayers[0].left[0].height, 0.5);
  }
  ASSERT_TRUE(::IsWindowVisible(dlg->m_hWnd));
  platform::queueAnswer("msg", "IDYES");  // 是否将数据写入数据库!
  dlg->SendMessage(WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(::IsWindowVisible(dlg->m_hWnd));
  EXPECT_EQ(input.db.rockLayers.GetSize(), 2);
  platform::queueAnswer("msg", "IDNO");
  dlg->SendMessage(WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(::IsWindowVisible(dlg->m_hWnd));
}

TEST_F(PelloryDlgTest, TheRowMenuInsertsAndDeletesRows) {
  CGridCtrl& grid = dlg->LeftGrid();
  const int rows = grid.GetRowCount();
  ASSERT_EQ(rows, 11);  // a header and ten point rows
  // The typed cell keeps the focus (a second click there would open its editor).
  Play("> 6 43[2,0]=7 43[2,0]:right\n@menu 增加行/之后增加\n");
  ASSERT_EQ(grid.GetRowCount(), rows + 1);
  EXPECT_EQ(grid.GetItemText(2, 0), "7");
  EXPECT_EQ(grid.GetItemText(3, 0), "");  // the new row, below the one clicked
  EXPECT_TRUE(grid.IsCellEditable(3, 1));
  EXPECT_FALSE(grid.IsCellEditable(3, 2));  // its computed column is read-only
  Play("> 6 43[2,0]:right\n@menu 增加行/之前增加\n");
  ASSERT_EQ(grid.GetRowCount(), rows + 2);
  EXPECT_EQ(grid.GetItemText(3, 0), "7");  // moved down by the row put before it
  // The row inserted before kept the focus on the typed row (now 3): another
  // row is chosen first, so that the click on row 3 selects it.
  Play("> 6 43[4,0] 43[3,0] 43[3,0]:right\n@menu 删除行\n");
  ASSERT_EQ(grid.GetRowCount(), rows + 1);
  for (int r = 1; r < grid.GetRowCount(); ++r) EXPECT_EQ(grid.GetItemText(r, 0), "") << r;
  // Dismissed, the menu changes nothing.
  Play("> 6 43[2,0]:right\n");
  EXPECT_EQ(grid.GetRowCount(), rows + 1);
}

TEST_F(PelloryDlgTest, ALargerDialogGivesTheGridsTheRoom) {
  CRect left0, right0, left1, right1;
  dlg->LeftGrid().GetWindowRect(&left0);
  dlg->RightGrid().GetWindowRect(&right0);
  CRect client, window;
  dlg->GetClientRect(&client);
  dlg->GetWindowRect(&window);
  dlg->SetWindowPos(nullptr, 0, 0, window.Width() + 100, window.Height() + 100, SWP_NOMOVE | SWP_NOZORDER);
  CRect grown;
  dlg->GetClientRect(&grown);
  const int dx = grown.Width() - client.Width(), dy = grown.Height() - client.Height();
  ASSERT_EQ(dx, 100);
  ASSERT_EQ(dy, 100);
  dlg->LeftGrid().GetWindowRect(&left1);
  dlg->RightGrid().GetWindowRect(&right1);
  EXPECT_EQ(left1.left, left0.left);
  EXPECT_EQ(left1.Width(), left0.Width() + 50);
  EXPECT_EQ(right1.left, right0.left + 50);
  EXPECT_EQ(right1.Width(), right0.Width() + 50);
  EXPECT_EQ(left1.Height(), left0.Height() + 100);
  EXPECT_EQ(right1.Height(), right0.Height() + 100);
  // Smaller than the template, the controls keep the template's places: the
  // grids do not shrink over each other.
  dlg->SetWindowPos(nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER);
  dlg->LeftGrid().GetWindowRect(&left1);
  dlg->RightGrid().GetWindowRect(&right1);
  EXPECT_LE(left1.Width(), left0.Width());
  EXPECT_GT(left1.Width(), 150);
  EXPECT_LT(left1.right, right1.left);
}

// Docked, the palette set is as tall as the dock and as wide as the dialog,
// and the dialog fills it: the scale, 画图, the right grid's 高程 column and its
// lower rows are there to be seen and used (at 400 x 400 they lay outside).
TEST_F(PelloryDlgTest, TheDockedPaletteShowsTheWholeDialogAndItsControlsTakeInput) {
  CMyPaletteSet* set = GroundLinePaletteSets()[0];
  ASSERT_EQ(set->GetDockBarID(), static_cast<UINT>(AFX_IDW_DOCKBAR_LEFT));
  CRect shown;
  set->GetWindowRect(&shown);
  EXPECT_EQ(shown.Height(), acedGetAcadFrame()->GetInnerRect().Height());
  for (int id : {kScale, kDraw, kRightGrid, kLeftGrid, kChainage}) {
    CRect r;
    ::GetWindowRect(Control(id), &r);
    CRect inside;
    EXPECT_TRUE(inside.IntersectRect(&r, &shown) && inside == r) << "control " << id << " is cut off";
  }
  CRect client;
  dlg->GetClientRect(&client);
  EXPECT_GT(client.Height(), 800);  // the dock's height, less the title

  platform::setCurrentDrawing(nullptr);
  // 高程: the elevations typed into column 2, rows 1 and 8, the height
  // differences computed from the centre elevation 100; then 画图 at 10,20.
  Play("> 6 24 45=100 42[1,0]=3 42[1,2]=101.5 42[8,0]=9 42[8,2]=98 62\n10,20\n");
  EXPECT_EQ(dlg->RightGrid().GetItemText(1, 1), "1.50");
  EXPECT_EQ(dlg->RightGrid().GetItemText(8, 1), "-2.00");
  EXPECT_NE(transcript.text().find("请拾取中心点：10,20"), std::string::npos) << transcript.text();
  // The right ground line: from the centre (no left points: the centre's
  // height is 0) to (3, 1.5) and (9, -2) about 10,20.
  std::vector<std::vector<AcGePoint3d>> lines;
  for (AcDbObjectId id : drawbasetest::ModelSpaceIds()) {
    drawbasetest::Reader<AcDbEntity> e(id);
    if (!AcDb2dPolyline::cast(&*e)) continue;
    std::vector<AcGePoint3d> v;
    for (const auto& vertex : drawbasetest::Polyline2dVertices(*AcDb2dPolyline::cast(&*e))) v.push_back(vertex.position);
    lines.push_back(v);
  }
  ASSERT_FALSE(lines.empty());
  const std::vector<AcGePoint3d>& right = lines.back();
  ASSERT_EQ(right.size(), 3u);
  const double expected[3][2] = {{10, 20}, {13, 21.5}, {19, 18}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(right[i].x, expected[i][0], 1e-9) << i;
    EXPECT_NEAR(right[i].y, expected[i][1], 1e-9) << i;
  }
  platform::setCurrentDrawing(nullptr);
}

}  // namespace
