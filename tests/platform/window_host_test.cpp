// The editor's own windows: the main frame and its title, the drawing view
// and the command line as focus targets, docking in the frame, and the
// drawing-preview control with its path property.
#include "arx/acui.h"
#include "mfc/afxwin.h"
#include "window_support.h"

namespace {

using windowtest::WindowTest;
using HostFrame = WindowTest;

TEST_F(HostFrame, TheFrameKeepsItsTitleAndIsMadeAgainAfterAReset) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  ASSERT_NE(frame, nullptr);
  ASSERT_TRUE(IsWindow(frame->m_hWnd));
  CString title;
  frame->GetWindowText(title);
  EXPECT_EQ(title, CString("AutoCAD"));
  frame->SetWindowText("Z:\\proj\\data\\方案1.mdb");
  frame->GetWindowText(title);
  EXPECT_EQ(title, CString("Z:\\proj\\data\\方案1.mdb"));
  EXPECT_EQ(acedGetAcadFrame(), frame);  // one frame
  HWND old = frame->m_hWnd;
  platform::resetWindowing();
  EXPECT_FALSE(IsWindow(old));
  EXPECT_EQ(acedGetAcadFrame(), frame);
  EXPECT_TRUE(IsWindow(frame->m_hWnd));
  EXPECT_NE(frame->m_hWnd, old);
  frame->GetWindowText(title);
  EXPECT_EQ(title, CString("AutoCAD"));
}

TEST_F(HostFrame, TheViewAndTheCommandLineTakeTheFocus) {
  CView* view = acedGetAcadDwgView();
  CWnd* commandLine = acedGetAcadDockCmdLine();
  ASSERT_NE(view, nullptr);
  ASSERT_NE(commandLine, nullptr);
  EXPECT_TRUE(IsChild(acedGetAcadFrame()->m_hWnd, view->m_hWnd));
  view->SetFocus();
  EXPECT_EQ(GetFocus(), view->m_hWnd);
  commandLine->SetFocus();
  EXPECT_EQ(GetFocus(), commandLine->m_hWnd);
  // The view fills what the command line leaves of the frame's client area.
  CRect client, viewRect, lineRect;
  acedGetAcadFrame()->GetClientRect(&client);
  view->GetWindowRect(&viewRect);
  commandLine->GetWindowRect(&lineRect);
  EXPECT_EQ(viewRect.Width(), client.Width());
  EXPECT_EQ(viewRect.Height() + lineRect.Height(), client.Height());
  EXPECT_EQ(viewRect.bottom, lineRect.top);
}

TEST_F(HostFrame, BarsDockOnlyOnTheSidesTheyAllowAndFloatOtherwise) {
  // The editor's frame takes bars on every side.
  EXPECT_EQ(acedGetAcadFrame()->GetDockingSides(), static_cast<DWORD>(CBRS_ALIGN_ANY));
  struct Case {
    DWORD barSides;
    UINT asked;
    UINT docked;
  } const cases[] = {
      {CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
      {CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, 0, AFX_IDW_DOCKBAR_LEFT},  // the first side it allows
      {CBRS_ALIGN_BOTTOM | CBRS_ALIGN_RIGHT, 0, AFX_IDW_DOCKBAR_BOTTOM},
      {CBRS_ALIGN_LEFT, AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_FLOAT},
      {0, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_FLOAT},
  };
  for (const Case& c : cases) {
    CMDIFrameWnd* frame = acedGetAcadFrame();
    CAdUiDockControlBar bar;
    ASSERT_TRUE(bar.Create(nullptr, "bar", WS_VISIBLE, CRect(0, 0, 150, 100), frame));
    bar.EnableDocking(c.barSides);
    frame->DockControlBar(&bar, c.asked);
    EXPECT_EQ(bar.GetDockBarID(), c.docked) << c.asked;
    EXPECT_EQ(bar.IsFloating(), c.docked == AFX_IDW_DOCKBAR_FLOAT);
    frame->ShowControlBar(&bar, FALSE, FALSE);
    EXPECT_FALSE(bar.IsWindowVisible());
  }
  EXPECT_EQ(platform::dockControlBarCount(), 0u);
  EXPECT_TRUE(acedGetAcadFrame()->GetDockedBars(AFX_IDW_DOCKBAR_LEFT).empty());
}

TEST_F(HostFrame, APreviewControlKeepsThePathItIsGiven) {
  CMDIFrameWnd* frame = acedGetAcadFrame();
  CWnd preview;
  ASSERT_TRUE(preview.CreateControl(platform::drawingPreviewClassId(), "", WS_VISIBLE, CRect(10, 10, 110, 110), frame,
                                    240));
  CString path;
  preview.GetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, &path);
  EXPECT_EQ(path, CString(""));
  preview.SetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, "Z:\\opt\\suite\\dwg\\中间站01.dwg");
  preview.GetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, &path);
  EXPECT_EQ(path, CString("Z:\\opt\\suite\\dwg\\中间站01.dwg"));
  EXPECT_EQ(platform::drawingPreviewPath(preview.m_hWnd), "Z:\\opt\\suite\\dwg\\中间站01.dwg");
  // Another property keeps its own value and type.
  preview.SetProperty(7, VT_I4, 42L);
  LONG n = 0;
  preview.GetProperty(7, VT_I4, &n);
  EXPECT_EQ(n, 42);
  preview.GetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, &path);
  EXPECT_EQ(path, CString("Z:\\opt\\suite\\dwg\\中间站01.dwg"));
  // A control that is not installed is not made.
  CWnd other;
  GUID unknown{0x12345678, 0x1, 0x2, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_FALSE(other.CreateControl(unknown, "", WS_VISIBLE, CRect(0, 0, 10, 10), frame, 241));
  EXPECT_EQ(platform::classIdText(platform::drawingPreviewClassId()), DWGTHUMBNAIL_CLASSID);
}

TEST_F(HostFrame, ADialogTemplatesPreviewControlIsOne) {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      Control("", 230, DWGTHUMBNAIL_CLASSID, 0, 10, 10, 60, 60)};
  static const platform::DialogResource dialogs[] = {
      {8001, "车站", WS_POPUP | WS_CAPTION, 0, nullptr, 9, 0, 0, 100, 100, controls}};
  platform::registerResources({.dialogs = dialogs});
  CDialog dlg(8001);
  ASSERT_TRUE(dlg.Create(8001));
  CWnd* preview = dlg.GetDlgItem(230);
  ASSERT_NE(preview, nullptr);
  preview->SetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, "D:\\a.dwg");
  EXPECT_EQ(platform::drawingPreviewPath(preview->m_hWnd), "D:\\a.dwg");
  dlg.DestroyWindow();
}

}  // namespace
