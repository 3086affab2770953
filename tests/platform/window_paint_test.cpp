// Windows painting through their own WM_PAINT: what a paint records (order,
// erase, clip of an update rectangle), a child painting into its parent's
// picture, pictures of windows probed pixel by pixel (and as PNG files), a
// dialog's frame with a Chinese caption, the standard controls in the classic
// look, a dialog pictured as it closes, the class library's paint DCs, the
// names pictures get, and the clipboard filled by a script and pasted with
// {Ctrl+V}.
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "arx/edcmdline.h"
#include "gdi_support.h"
#include "mfc/afxwin.h"
#include "win/canvas.h"
#include "win/clipboard.h"
#include "win/gdiimage.h"
#include "win/textmetrics.h"
#include "win/userinput.h"
#include "win/winpaint.h"
#include "window_support.h"

namespace {

using gditest::kCell;
using gditest::kFace;
using gditest::kWhite;
using platform::GdiOp;

constexpr COLORREF kLine = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kShadow = RGB(128, 128, 128);    // COLOR_BTNSHADOW
constexpr COLORREF kCaption = RGB(10, 36, 106);     // COLOR_ACTIVECAPTION, COLOR_HIGHLIGHT
constexpr COLORREF kDarkShadow = RGB(64, 64, 64);   // COLOR_3DDKSHADOW
constexpr COLORREF kBlack = RGB(0, 0, 0);

RECT g_lastPaint{-1, -1, -1, -1};
BOOL g_lastErase = -1;

// The toy window, 100 x 60 with the face colour as its class brush: 2 x 2
// cells of 50 x 30 named A1 .. B2 (each skipped when it lies outside the clip
// box), then a blue line across at y = 45.
LRESULT CALLBACK toyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return DefWindowProc(hwnd, msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  g_lastPaint = ps.rcPaint;
  g_lastErase = ps.fErase;
  RECT clip;
  GetClipBox(dc, &clip);
  HBRUSH cellBrush = CreateSolidBrush(kCell);
  SetBkMode(dc, TRANSPARENT);
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 2; ++c) {
      RECT cell{c * 50, r * 30, c * 50 + 50, r * 30 + 30};
      RECT meet;
      if (!IntersectRect(&meet, &cell, &clip)) continue;
      FillRect(dc, &cell, cellBrush);
      char name[3] = {static_cast<char>('A' + c), static_cast<char>('1' + r), 0};
      TextOutA(dc, cell.left + 2, cell.top + 2, name, 2);
    }
  }
  DeleteObject(cellBrush);
  HPEN pen = CreatePen(PS_SOLID, 1, kLine);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, 45, nullptr);
  LineTo(dc, 100, 45);
  SelectObject(dc, old);
  DeleteObject(pen);
  EndPaint(hwnd, &ps);
  return 0;
}

// A child that fills far more than its client area with red.
LRESULT CALLBACK redProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg != WM_PAINT) return DefWindowProc(hwnd, msg, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{-100, -100, 300, 300};
  FillRect(dc, &all, red);
  DeleteObject(red);
  EndPaint(hwnd, &ps);
  return 0;
}

const char* registered(const char* name, WNDPROC proc, HBRUSH background) {
  WNDCLASS wc{};
  if (!GetClassInfo(nullptr, name, &wc)) {
    wc.lpfnWndProc = proc;
    wc.lpszClassName = name;
    wc.hbrBackground = background;
    RegisterClass(&wc);
  }
  return name;
}

HWND makeToy() {
  const char* cls = registered("TestPaintToy", &toyProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  return CreateWindowEx(0, cls, "toy", WS_POPUP | WS_VISIBLE, 200, 100, 100, 60, nullptr, nullptr, nullptr, nullptr);
}

HWND makeRedChild(HWND parent, RECT r, DWORD visible = WS_VISIBLE) {
  const char* cls = registered("TestPaintRed", &redProc, nullptr);
  return CreateWindowEx(0, cls, "red", WS_CHILD | visible, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                        nullptr, nullptr, nullptr);
}

std::string kinds(const std::vector<GdiOp>& ops) {
  std::string s;
  for (const GdiOp& op : ops) {
    const char* k = op.kind == GdiOp::kFillRect ? "fill" : op.kind == GdiOp::kText ? "text" : op.kind == GdiOp::kPolyline ? "line" : "other";
    s += s.empty() ? k : std::string(" ") + k;
  }
  return s;
}

bool sameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class WindowPaint : public windowtest::WindowTest {
 protected:
  platform::FixedTextMetricsScope m_fixed;
};

TEST_F(WindowPaint, AWmPaintErasesWithTheClassBrushThenPaintsInOrderClippedToTheUpdateRectangle) {
  platform::GdiRecorder rec;
  HWND toy = makeToy();
  ASSERT_TRUE(toy);
  platform::recordWindowPaint(toy, &rec);
  platform::pumpMessages();  // a new visible window is painted whole, its background erased first
  std::vector<GdiOp> ops = rec.ops();
  ASSERT_EQ(kinds(ops), "fill fill text fill text fill text fill text line");
  EXPECT_TRUE(sameRect(ops[0].rect, RECT{0, 0, 100, 60})) << ops[0].describe();
  EXPECT_EQ(ops[0].brush.color, kFace) << "the class brush erases";
  const RECT cells[4] = {{0, 0, 50, 30}, {50, 0, 100, 30}, {0, 30, 50, 60}, {50, 30, 100, 60}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(sameRect(ops[1 + 2 * i].rect, cells[i])) << ops[1 + 2 * i].describe();
    EXPECT_EQ(ops[2 + 2 * i].position.x, cells[i].left + 2) << ops[2 + 2 * i].describe();
  }
  for (const GdiOp& op : ops) EXPECT_TRUE(sameRect(op.clip, RECT{0, 0, 100, 60})) << op.describe();
  EXPECT_EQ(g_lastErase, FALSE) << "the background was erased for the paint";
  EXPECT_TRUE(sameRect(g_lastPaint, RECT{0, 0, 100, 60}));

  // An update rectangle within cell A1 and no erase: only A1 is painted, the
  // line lies outside the clip.
  rec.clear();
  RECT part{10, 5, 30, 20};
  InvalidateRect(toy, &part, FALSE);
  UpdateWindow(toy);
  ops = rec.ops();
  ASSERT_EQ(kinds(ops), "fill text line");
  EXPECT_TRUE(sameRect(ops[0].rect, cells[0])) << ops[0].describe();
  EXPECT_TRUE(sameRect(g_lastPaint, part));
  for (const GdiOp& op : ops) EXPECT_TRUE(sameRect(op.clip, part)) << op.describe();
  EXPECT_TRUE(ops[0].visible);
  EXPECT_FALSE(ops[2].visible) << ops[2].describe();
  RECT left;
  EXPECT_FALSE(GetUpdateRect(toy, &left, FALSE)) << "BeginPaint validated the window";
  platform::recordWindowPaint(toy, nullptr);
}

struct Probe {
  int x, y;
  COLORREF color;
  const char* what;
};

// The toy with a red child at (60, 35) 30 x 20 and a hidden red child at (5, 35).
const Probe kToyProbes[] = {
    {40, 20, kCell, "cell A1"},
    {95, 25, kCell, "cell B1"},
    {20, 45, kLine, "the line in A2"},
    {20, 46, kCell, "under the line"},
    {70, 40, kRed, "the child"},
    {75, 45, kRed, "the child over the line"},
    {58, 33, kCell, "left of and above the child: its paint is clipped to it"},
    {95, 58, kCell, "right of and below the child"},
    {10, 50, kCell, "a hidden child is not painted"},
};

TEST_F(WindowPaint, APictureHasEachChildPaintedThroughItsOwnWmPaintAtItsPlaceClippedToIt) {
  HWND toy = makeToy();
  HWND child = makeRedChild(toy, RECT{60, 35, 90, 55});
  HWND hidden = makeRedChild(toy, RECT{5, 35, 25, 55}, 0);
  ASSERT_TRUE(child && hidden);
  HDC picture = platform::renderWindowPicture(toy);
  ASSERT_TRUE(picture);
  int w = 0, h = 0;
  ASSERT_TRUE(platform::imageSize(picture, w, h));
  EXPECT_EQ(w, 100);
  EXPECT_EQ(h, 60);
  for (const Probe& p : kToyProbes) EXPECT_EQ(GetPixel(picture, p.x, p.y), p.color) << p.what;
  DeleteDC(picture);

  // The same picture as a PNG file, read back on its own.
  std::filesystem::path file = std::filesystem::path(::testing::TempDir()) / "window-paint-toy.png";
  ASSERT_TRUE(platform::saveWindowPicture(toy, file.string()));
  gditest::PngPicture png(file.string());
  ASSERT_TRUE(png.ok());
  ASSERT_EQ(png.width(), 100);
  ASSERT_EQ(png.height(), 60);
  for (const Probe& p : kToyProbes) EXPECT_EQ(png.pixel(p.x, p.y), p.color) << p.what;
  EXPECT_GT(png.darkPixels(RECT{2, 2, 14, 16}), 0) << "the text A1";
  EXPECT_EQ(png.darkPixels(RECT{20, 2, 48, 28}), 0) << "nothing dark beside it";
  std::filesystem::remove(file);
}

TEST_F(WindowPaint, AWindowDcDrawsInClientCoordinatesAndNeverOutsideItsWindowOrItsParent) {
  HWND toy = makeToy();
  HWND child = makeRedChild(toy, RECT{80, 50, 120, 80});  // sticks out of the toy
  UpdateWindow(toy);
  HDC dc = GetDC(child);
  RECT clip;
  ASSERT_EQ(GetClipBox(dc, &clip), SIMPLEREGION);
  EXPECT_TRUE(sameRect(clip, RECT{0, 0, 20, 10})) << "the part of the child inside its parent";
  POINT p{3, 4};
  LPtoDP(dc, &p, 1);
  EXPECT_EQ(p.x, 3);
  EXPECT_EQ(p.y, 4);
  SetPixel(dc, 1, 1, kLine);
  EXPECT_EQ(GetPixel(dc, 1, 1), kLine);
  EXPECT_EQ(ReleaseDC(child, dc), 1);
  HDC parent = GetDC(toy);
  EXPECT_EQ(GetPixel(parent, 81, 51), kLine) << "the same pixel seen from the parent";
  ReleaseDC(toy, parent);
}

// A dialog of template 4700 with a Chinese caption and the standard controls.
constexpr UINT kDialog = 4700;
constexpr int kOk = IDOK, kChecked = 4701, kUnchecked = 4702, kRadioOn = 4703, kRadioOff = 4704, kGroup = 4705,
              kStatic = 4706, kEdit = 4707, kCombo = 4708, kUpDown = 4709, kMultiline = 4710;

void registerDialog() {
  using namespace platform::rc;
  static const platform::DialogControlResource controls[] = {
      DefPushButton("OK", kOk, 5, 5, 50, 14),
      AutoCheckBox("绘图", kChecked, 5, 25, 60, 10),
      AutoCheckBox("不画", kUnchecked, 5, 37, 60, 10),
      AutoRadioButton("甲", kRadioOn, 5, 50, 40, 10, WS_GROUP),
      AutoRadioButton("乙", kRadioOff, 5, 62, 40, 10),
      GroupBox("分组", kGroup, 80, 5, 70, 40),
      LText("说明文字", kStatic, 80, 50, 60, 10),
      EditText(kEdit, 80, 65, 60, 14, ES_AUTOHSCROLL),
      ComboBox(kCombo, 5, 80, 60, 60, CBS_DROPDOWNLIST),
      UpDown(kUpDown, 150, 65, 10, 14),
      EditText(kMultiline, 80, 82, 70, 30, ES_MULTILINE | ES_WANTRETURN),
  };
  static const platform::DialogResource dialogs[] = {
      {kDialog, "横断面自动设计", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, "宋体", 9, 0, 0,
       170, 120, controls},
  };
  platform::registerResources({.dialogs = dialogs});
}

INT_PTR CALLBACK plainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND makeDialog() {
  registerDialog();
  HWND dlg = CreateDialog(nullptr, MAKEINTRESOURCE(kDialog), nullptr, &plainDialogProc);
  if (!dlg) return nullptr;
  CheckDlgButton(dlg, kChecked, BST_CHECKED);
  CheckDlgButton(dlg, kRadioOn, BST_CHECKED);
  SendDlgItemMessage(dlg, kCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("左线"));
  SendDlgItemMessage(dlg, kCombo, CB_SETCURSEL, 0, 0);
  SetDlgItemText(dlg, kEdit, "abcdef");
  SetFocus(GetDlgItem(dlg, kEdit));
  SendDlgItemMessage(dlg, kEdit, EM_SETSEL, 1, 4);
  return dlg;
}

// A control's rectangle on its dialog's picture.
RECT onPicture(HWND dlg, int id) {
  RECT d, c;
  GetWindowRect(dlg, &d);
  GetWindowRect(GetDlgItem(dlg, id), &c);
  OffsetRect(&c, -d.left, -d.top);
  return c;
}

int countColor(HDC dc, RECT r, COLORREF color) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (GetPixel(dc, x, y) == color) ++n;
  return n;
}

int countDark(HDC dc, RECT r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (gditest::PngPicture::luminance(GetPixel(dc, x, y)) < 100) ++n;
  return n;
}

TEST_F(WindowPaint, ADialogsFrameHasItsRaisedBorderAndACaptionBarWithItsChineseCaption) {
  HWND dlg = makeDialog();
  ASSERT_TRUE(dlg);
  HDC picture = platform::renderWindowPicture(dlg);
  ASSERT_TRUE(picture);
  RECT r;
  GetWindowRect(dlg, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  // Raised edge: highlight inside the light top-left line, dark shadow at the
  // bottom-right corner; the caption bar below the 3-pixel frame, 22 high with
  // its bottom line in the face colour; the client area in the face colour.
  EXPECT_EQ(GetPixel(picture, 1, 10), kWhite) << "the frame's highlight";
  EXPECT_EQ(GetPixel(picture, width - 1, height - 1), kDarkShadow) << "the frame's dark shadow";
  EXPECT_EQ(GetPixel(picture, width - 40, 5), kCaption) << "the caption bar";
  EXPECT_EQ(GetPixel(picture, width - 40, 24), kFace) << "the line under the caption bar";
  EXPECT_EQ(GetPixel(picture, width - 6, 110), kFace) << "the dialog's background";
  // The caption's text shows white on the bar, and every one of its
  // characters has a glyph in the fonts of the system (no missing-glyph boxes).
  EXPECT_GT(countColor(picture, RECT{3, 3, 120, 24}, kWhite), 10);
  LOGFONT captionFont = platform::messageFont();
  captionFont.lfWeight = FW_BOLD;
  EXPECT_EQ(platform::unknownGlyphCount(captionFont, "横断面自动设计"), 0);
  // The close button: a raised face with a black cross.
  EXPECT_GT(countColor(picture, RECT{width - 21, 7, width - 5, 21}, kBlack), 10);
  DeleteDC(picture);
}

TEST_F(WindowPaint, TheStandardControlsPaintThemselvesInTheClassicLook) {
  HWND dlg = makeDialog();
  ASSERT_TRUE(dlg);
  HDC picture = platform::renderWindowPicture(dlg);
  ASSERT_TRUE(picture);

  RECT ok = onPicture(dlg, kOk);
  EXPECT_EQ(GetPixel(picture, ok.left, ok.top), kBlack) << "the default button's frame";
  EXPECT_EQ(GetPixel(picture, ok.right - 2, (ok.top + ok.bottom) / 2), kDarkShadow) << "its raised edge";
  EXPECT_EQ(GetPixel(picture, ok.left + 4, (ok.top + ok.bottom) / 2), kFace) << "its face";
  EXPECT_GT(countDark(picture, RECT{ok.left + 5, ok.top + 3, ok.right - 5, ok.bottom - 3}), 0) << "its text";

  // A check box: its 13 x 13 box at the left, vertically centred; the inside
  // (9 x 9 within a 2-pixel sunken edge) white, with a tick when checked.
  for (int id : {kChecked, kUnchecked}) {
    RECT c = onPicture(dlg, id);
    int top = c.top + (c.bottom - c.top - 13) / 2;
    RECT inside{c.left + 2, top + 2, c.left + 11, top + 11};
    EXPECT_EQ(GetPixel(picture, inside.right - 1, inside.bottom - 1), kWhite) << id;
    EXPECT_EQ(GetPixel(picture, c.left, top), kShadow) << "the box's sunken edge " << id;
    if (id == kChecked)
      EXPECT_GT(countDark(picture, inside), 5) << "the tick";
    else
      EXPECT_EQ(countDark(picture, inside), 0) << "no tick";
    EXPECT_GT(countDark(picture, RECT{c.left + 17, c.top, c.right, c.bottom}), 0) << "the text " << id;
  }
  // A radio button: the dot in the middle of its circle when it is chosen.
  for (int id : {kRadioOn, kRadioOff}) {
    RECT c = onPicture(dlg, id);
    int top = c.top + (c.bottom - c.top - 13) / 2 + 1;
    RECT dot{c.left + 4, top + 4, c.left + 8, top + 8};
    if (id == kRadioOn)
      EXPECT_GT(countColor(picture, dot, kBlack), 4);
    else
      EXPECT_EQ(countColor(picture, dot, kWhite), 16);
  }
  // A group box: an etched frame (shadow, then highlight) on the left edge
  // below its text, the dialog's background inside, its text at the top.
  RECT g = onPicture(dlg, kGroup);
  EXPECT_EQ(GetPixel(picture, g.left, g.top + 20), kShadow);
  EXPECT_EQ(GetPixel(picture, g.left + 1, g.top + 20), kWhite);
  EXPECT_EQ(GetPixel(picture, (g.left + g.right) / 2, g.top + 25), kFace);
  EXPECT_GT(countDark(picture, RECT{g.left + 8, g.top, g.left + 40, g.top + 12}), 0);
  // A static text.
  RECT s = onPicture(dlg, kStatic);
  EXPECT_GT(countDark(picture, s), 0);
  // The edit with the focus: white, with its selection in the highlight colour.
  RECT e = onPicture(dlg, kEdit);
  EXPECT_EQ(GetPixel(picture, e.left, e.top), kBlack) << "its border";
  EXPECT_EQ(GetPixel(picture, e.right - 3, (e.top + e.bottom) / 2), kWhite);
  EXPECT_GT(countColor(picture, e, kCaption), 10) << "the selection";
  // The combo box: a white field with the chosen item, its button with an arrow.
  RECT cb = onPicture(dlg, kCombo);
  EXPECT_EQ(GetPixel(picture, cb.left + 3, cb.top + 3), kWhite);
  EXPECT_GT(countDark(picture, RECT{cb.left + 4, cb.top + 2, cb.right - 18, cb.bottom - 2}), 0) << "its item";
  EXPECT_GT(countColor(picture, RECT{cb.right - 17, cb.top + 2, cb.right - 2, cb.bottom - 2}, kBlack), 8)
      << "the arrow";
  // The up-down: an arrow in each half.
  RECT u = onPicture(dlg, kUpDown);
  int mid = (u.top + u.bottom) / 2;
  EXPECT_GT(countColor(picture, RECT{u.left, u.top, u.right, mid}, kBlack), 4);
  EXPECT_GT(countColor(picture, RECT{u.left, mid, u.right, u.bottom}, kBlack), 4);
  DeleteDC(picture);
}

TEST_F(WindowPaint, ADialogDisabledAsItClosesIsPicturedAsItWasShown) {
  HWND dlg = makeDialog();
  ASSERT_TRUE(dlg);
  // One control disabled on its own shows so; the focus nowhere, as after the
  // dialog's own disable.
  EnableWindow(GetDlgItem(dlg, kUnchecked), FALSE);
  SetFocus(nullptr);
  HDC shown = platform::renderWindowPicture(dlg);
  ASSERT_TRUE(shown);
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / ("closing_pictures_" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  platform::setPictureFolder(folder.string());
  std::vector<RECT> controls;
  for (int id : {kOk, kChecked, kUnchecked, kRadioOn, kStatic, kEdit, kCombo, kUpDown})
    controls.push_back(onPicture(dlg, id));
  // The close disables the dialog, then destroys it: the picture is taken then.
  EnableWindow(dlg, FALSE);
  DestroyWindow(dlg);
  platform::setPictureFolder("");
  std::string saved;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().filename().string().find("-4700-") != std::string::npos) saved = entry.path().string();
  ASSERT_FALSE(saved.empty());
  gditest::PngPicture picture(saved);
  ASSERT_TRUE(picture.ok());
  // Every control's pixels as shown before the close: none greyed by it.
  for (const RECT& r : controls) {
    int differing = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) differing += picture.pixel(x, y) != GetPixel(shown, x, y) ? 1 : 0;
    EXPECT_EQ(differing, 0) << r.left << "," << r.top;
  }
  DeleteDC(shown);
  std::filesystem::remove_all(folder);
}

TEST_F(WindowPaint, PicturesAreNamedByOrderTemplateAndASafeCaption) {
  struct Row {
    int order;
    unsigned id;
    std::string caption;
    std::string expected;
  };
  const Row rows[] = {
      {3, 2005, "横断面自动设计", "003-2005-横断面自动设计.png"},
      {12, 0, "a/b:c*?\"<>|\\d", "012-0-a_b_c_______d.png"},
      {1, 7, "", "001-7.png"},
      {1234, 1, "end. ", "1234-1-end.png"},
      {5, 9, "tab\there", "005-9-tab_here.png"},
      // A caption longer than 60 bytes loses its middle: at most its first 19
      // bytes and the end that fills the 60 with the ellipsis (3 bytes) stay,
      // cut between characters. 25 Chinese characters (75 bytes): the first 6
      // (18 bytes) and the last 13 (39 bytes).
      {2, 3, "一二三四五六七八九十一二三四五六七八九十一二三四五", "002-3-一二三四五六…三四五六七八九十一二三四五.png"},
      // A window's title ending with its database: the file name stays.
      {8, 0, "AutoCAD - [D:\\projects\\railway\\line 2026\\build\\fresh\\data\\方案1.mdb]",
       "008-0-AutoCAD - [D__proje…ine 2026_build_fresh_data_方案1.mdb].png"},
      // 60 bytes exactly: kept whole; 61: cut.
      {4, 1, std::string(60, 'a'), "004-1-" + std::string(60, 'a') + ".png"},
      {4, 1, std::string(19, 'a') + "bcd" + std::string(39, 'e'),
       "004-1-" + std::string(19, 'a') + "…" + std::string(38, 'e') + ".png"},
      // A caption whose end is dots and blanks after the cut still loses them.
      {6, 2, std::string(70, 'x') + " .", "006-2-" + std::string(19, 'x') + "…" + std::string(36, 'x') + ".png"},
  };
  for (const Row& r : rows) EXPECT_EQ(platform::pictureFileName(r.order, r.id, r.caption), r.expected) << r.caption;
}

// A window of the class library that erases nothing and paints through
// CPaintDC, then draws beside through a CClientDC.
class CPaintToy : public CWnd {
 public:
  int erased = 0;
  afx_msg BOOL OnEraseBkgnd(CDC*) {
    ++erased;
    return TRUE;  // the paint covers everything
  }
  afx_msg void OnPaint() {
    CPaintDC dc(this);
    dc.FillSolidRect(0, 0, 10, 10, kRed);
    CClientDC client(this);
    client.FillSolidRect(10, 0, 10, 10, kCell);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaintToy, CWnd)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

TEST_F(WindowPaint, TheClassLibrarysPaintDcSkipsTheEraseItsWindowHandled) {
  CPaintToy toy;
  ASSERT_TRUE(toy.CreateEx(0, nullptr, "mfc", WS_POPUP | WS_VISIBLE, 0, 0, 40, 20, nullptr, nullptr));
  platform::GdiRecorder rec;
  platform::recordWindowPaint(toy.m_hWnd, &rec);
  platform::pumpMessages();
  EXPECT_EQ(toy.erased, 1);
  ASSERT_EQ(kinds(rec.ops()), "fill fill");
  EXPECT_EQ(rec.ops()[0].brush.color, kRed);
  EXPECT_TRUE(sameRect(rec.ops()[1].rect, RECT{10, 0, 20, 10}));
  platform::recordWindowPaint(toy.m_hWnd, nullptr);
  toy.DestroyWindow();
}

// A window whose statics have a red background (OnCtlColor).
class CRedStatics : public CWnd {
 public:
  std::vector<UINT> kinds;
  afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd*, UINT kind) {
    kinds.push_back(kind);
    if (kind != CTLCOLOR_STATIC) return CWnd::OnCtlColor(dc, nullptr, kind);
    dc->SetTextColor(kRed);
    return m_red;
  }
  CBrush m_red{kRed};
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRedStatics, CWnd)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(WindowPaint, AControlPaintsWithTheColoursItsParentsOnCtlColorGives) {
  CRedStatics parent;
  ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 120, 60, nullptr, nullptr));
  HWND label = CreateWindowEx(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, parent.m_hWnd, nullptr,
                              nullptr, nullptr);
  HWND edit = CreateWindowEx(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 35, 50, 20, parent.m_hWnd, nullptr, nullptr,
                             nullptr);
  ASSERT_TRUE(label && edit);
  HDC picture = platform::renderWindowPicture(parent.m_hWnd);
  ASSERT_TRUE(picture);
  EXPECT_EQ(GetPixel(picture, 30, 20), kRed) << "the static's background";
  EXPECT_EQ(GetPixel(picture, 30, 45), kWhite) << "the edit keeps the default";
  EXPECT_EQ(parent.kinds, (std::vector<UINT>{CTLCOLOR_EDIT, CTLCOLOR_STATIC})) << "bottom of the z-order first";
  DeleteDC(picture);
  parent.DestroyWindow();
}

// The focus rectangle of a radio button: dots (every other pixel inverted)
// around its text, all four sides inside the control even when the text is as
// tall as the control; none on a radio without the focus. The pixels that
// change when the focus comes are the frame's.
TEST_F(WindowPaint, ARadioWithTheFocusHasADottedFrameAroundItsTextOnly) {
  const char* cls = registered("TestPaintFace", &DefWindowProc, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  HWND parent = CreateWindowEx(0, cls, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr, nullptr, nullptr,
                               nullptr);
  // 10 pixels tall, below the 12-pixel line of its text.
  const RECT at{10, 10, 130, 20};
  HWND radio = CreateWindowEx(0, "Button", "单线范围", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, at.left, at.top,
                              at.right - at.left, at.bottom - at.top, parent, nullptr, nullptr, nullptr);
  ASSERT_TRUE(parent && radio);
  SetFocus(parent);
  HDC without = platform::renderWindowPicture(parent);
  SetFocus(radio);
  HDC with = platform::renderWindowPicture(parent);
  ASSERT_TRUE(without && with);
  // The text starts 17 pixels in and its 4 characters of 12 pixels end at 65:
  // the frame is x 16..65 on the rows 0 and 9, with dots where x + y is even.
  std::string changed, expected;
  for (int y = 0; y < at.bottom - at.top; ++y) {
    for (int x = 0; x < at.right - at.left; ++x) {
      bool onFrame = (x >= 16 && x <= 65 && (y == 0 || y == 9)) || ((x == 16 || x == 65) && y >= 0 && y <= 9);
      expected += onFrame && (x + y) % 2 == 0 ? '#' : '.';
      changed += GetPixel(with, at.left + x, at.top + y) != GetPixel(without, at.left + x, at.top + y) ? '#' : '.';
    }
    expected += '\n';
    changed += '\n';
  }
  EXPECT_EQ(changed, expected);
  DeleteDC(without);
  DeleteDC(with);
  DestroyWindow(parent);
}

// A multi-line text with tabs put on the clipboard by the script's CLIPTEXT
// (with its escapes) is what {Ctrl+V} pastes into a multi-line edit, and
// what {Ctrl+C} copies back.
TEST_F(WindowPaint, TextAScriptPutsOnTheClipboardIsPastedByCtrlVAndCopiedBackByCtrlC) {
  HWND dlg = makeDialog();
  ASSERT_TRUE(dlg);
  const std::string block = R"(12.5\t3\n7\t8.25\nD:\proj\a)";  // \p and \a are no escapes
  platform::RunResult run = platform::runScriptText("CLIPTEXT \"" + block + "\"\n");
  ASSERT_TRUE(run.ok) << run.error;
  const std::string expected = "12.5\t3\n7\t8.25\nD:\\proj\\a";
  ASSERT_EQ(platform::clipboardText().value_or("<none>"), expected);
  HWND edit = GetDlgItem(dlg, kMultiline);
  SetFocus(edit);
  std::string error;
  ASSERT_TRUE(platform::playWords(dlg, {"{Ctrl+V}"}, error)) << error;
  char text[128] = "";
  GetWindowText(edit, text, sizeof text);
  EXPECT_EQ(std::string(text), expected);
  ASSERT_TRUE(platform::setClipboardText("other"));
  SendMessage(edit, EM_SETSEL, 0, -1);
  ASSERT_TRUE(platform::playWords(dlg, {"{Ctrl+C}"}, error)) << error;
  EXPECT_EQ(platform::clipboardText().value_or("<none>"), expected);
}

}  // namespace
