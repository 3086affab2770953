// The grid's painting: the order of its four areas, the clip, the grid lines.
#include "grid_support.h"

#include "grid/MemDC.h"
#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/winpaint.h"

namespace gridtest {
namespace {

// A grid that writes down which cells it draws, in order.
class LoggingGrid : public CGridCtrl {
 public:
  LoggingGrid(int rows, int cols, int fixedRows, int fixedCols) : CGridCtrl(rows, cols, fixedRows, fixedCols) {}
  std::vector<std::string> drawn;
  BOOL DrawFixedCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBk) override {
    drawn.push_back(describe("fixed", nRow, nCol, rect));
    return CGridCtrl::DrawFixedCell(pDC, nRow, nCol, rect, bEraseBk);
  }
  BOOL DrawCell(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBk) override {
    drawn.push_back(describe("cell", nRow, nCol, rect));
    return CGridCtrl::DrawCell(pDC, nRow, nCol, rect, bEraseBk);
  }
  static std::string describe(const char* kind, int r, int c, const CRect& rect) {
    return std::string(kind) + " " + std::to_string(r) + "," + std::to_string(c) + " (" + std::to_string(rect.left) +
           "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ")";
  }
};

class GridDrawTest : public GridTest {
 protected:
  // The lines drawn in the grid-line colour, as "x0,y0-x1,y1".
  static std::vector<std::string> gridLines(const platform::GdiRecorder& rec) {
    std::vector<std::string> out;
    for (const platform::GdiOp& op : rec.ops())
      if (op.kind == platform::GdiOp::kPolyline && op.pen.color == 0xC0C0C0 && op.points.size() == 2)
        out.push_back(std::to_string(op.points[0].x) + "," + std::to_string(op.points[0].y) + "-" +
                      std::to_string(op.points[1].x) + "," + std::to_string(op.points[1].y));
    return out;
  }
};

TEST_F(GridDrawTest, AreasArePaintedCornerFixedColumnsFixedRowsThenCellsThenLines) {
  auto& g = makeGrid<LoggingGrid>(3, 3, 300, 200);
  platform::GdiRecorder rec;
  CDC dc;
  dc.Attach(platform::createRecordingDC(300, 200, rec));
  g.OnDraw(&dc);
  // Inclusive rectangles, 50 x 20 cells from (0, 0).
  std::vector<std::string> expected = {
      "fixed 0,0 (0,0,49,19)",    "fixed 1,0 (0,20,49,39)",  "fixed 2,0 (0,40,49,59)",
      "fixed 0,1 (50,0,99,19)",   "fixed 0,2 (100,0,149,19)", "cell 1,1 (50,20,99,39)",
      "cell 1,2 (100,20,149,39)", "cell 2,1 (50,40,99,59)",  "cell 2,2 (100,40,149,59)",
  };
  EXPECT_EQ(g.drawn, expected);
  // Lines at the right edge of each non-fixed column from the fixed rows down,
  // at the bottom of each non-fixed row from the fixed columns right.
  std::vector<std::string> lines = {"99,20-99,60", "149,20-149,60", "50,39-150,39", "50,59-150,59"};
  EXPECT_EQ(gridLines(rec), lines);
  // The area outside the cells is filled with the grid's background colour first.
  ASSERT_FALSE(rec.ops().empty());
  EXPECT_EQ(rec.ops()[0].kind, platform::GdiOp::kFillRect);
  EXPECT_EQ(rec.ops()[0].brush.color, GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(GridDrawTest, OnlyCellsMeetingTheClipBoxAreDrawn) {
  auto& g = makeGrid<LoggingGrid>(3, 3, 300, 200);
  platform::GdiRecorder rec;
  CDC dc;
  dc.Attach(platform::createRecordingDC(300, 200, rec));
  dc.IntersectClipRect(100, 40, 150, 60);
  g.OnDraw(&dc);
  // The corner is always drawn; of the others only cell (2, 2) meets the clip.
  std::vector<std::string> expected = {"fixed 0,0 (0,0,49,19)", "cell 2,2 (100,40,149,59)"};
  EXPECT_EQ(g.drawn, expected);
}

TEST_F(GridDrawTest, GridLineSettingChoosesTheLines) {
  struct Case {
    int setting;
    size_t lines;
  } cases[] = {{GVL_NONE, 0}, {GVL_HORZ, 2}, {GVL_VERT, 2}, {GVL_BOTH, 4}};
  for (const Case& c : cases) {
    auto& g = makeGrid(3, 3, 300, 200);
    g.SetGridLines(c.setting);
    platform::GdiRecorder rec;
    CDC dc;
    dc.Attach(platform::createRecordingDC(300, 200, rec));
    g.OnDraw(&dc);
    EXPECT_EQ(gridLines(rec).size(), c.lines) << "setting " << c.setting;
  }
}

TEST_F(GridDrawTest, NothingIsDrawnWhileDrawingIsOff) {
  auto& g = makeGrid(3, 3, 300, 200);
  g.SetRedraw(FALSE);
  CDC dc;
  platform::GdiRecorder rec;
  dc.Attach(platform::createRecordingDC(300, 200, rec));
  EXPECT_FALSE(g.DrawCell(&dc, 1, 1, CRect(50, 20, 99, 39)));
  EXPECT_FALSE(g.DrawFixedCell(&dc, 0, 0, CRect(0, 0, 49, 19)));
  EXPECT_TRUE(rec.ops().empty());
}

TEST_F(GridDrawTest, ScrolledGridDrawsTheRowsOnScreenBelowTheFixedRow) {
  auto& g = makeGrid<LoggingGrid>(100, 2, 300, 60);  // two rows below the header
  g.SetScrollPosition(0, 20 * 50);                   // row 51 first
  platform::GdiRecorder rec;
  CDC dc;
  dc.Attach(platform::createRecordingDC(300, 60, rec));
  g.OnDraw(&dc);
  std::vector<std::string> expected = {
      "fixed 0,0 (0,0,49,19)",  "fixed 51,0 (0,20,49,39)", "fixed 52,0 (0,40,49,59)",
      "fixed 0,1 (50,0,99,19)", "cell 51,1 (50,20,99,39)", "cell 52,1 (50,40,99,59)",
  };
  EXPECT_EQ(g.drawn, expected);
}

TEST_F(GridDrawTest, OffScreenContextCopiesItsPictureBackOnce) {
  auto& g = makeGrid(3, 3, 300, 200);
  platform::GdiRecorder rec;
  CDC dc;
  dc.Attach(platform::createImageDC(300, 200, &rec));
  dc.IntersectClipRect(10, 10, 110, 50);
  uintptr_t screen = platform::drawingTarget(dc.GetSafeHdc());
  {
    CMemDC mem(&dc);
    g.OnDraw(&mem);
  }
  std::vector<platform::GdiOp> onScreen = rec.opsOn(screen);
  ASSERT_EQ(onScreen.size(), 1u);
  EXPECT_EQ(onScreen[0].kind, platform::GdiOp::kBlit);
  EXPECT_EQ(onScreen[0].rect.left, 10);
  EXPECT_EQ(onScreen[0].rect.top, 10);
  EXPECT_EQ(onScreen[0].rect.right, 110);
  EXPECT_EQ(onScreen[0].rect.bottom, 50);
  // The cell drawn at (50, 20) off screen lands there on screen.
  EXPECT_EQ(dc.GetPixel(60, 30), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(dc.GetPixel(20, 30), GetSysColor(COLOR_BTNFACE));
}

TEST_F(GridDrawTest, FilledGridPicture) {
  auto& g = makeGrid(12, 5, 330, 240);
  const char* heads[] = {"", "距离", "高差", "高程", "备注"};
  for (int c = 0; c < 5; ++c) {
    g.SetItemText(0, c, heads[c]);
    g.SetItemFormat(0, c, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  for (int r = 1; r < 12; ++r) {
    g.SetItemText(r, 0, CString(std::to_string(r).c_str()));
    CString d, h, e;
    d.Format("%.2f", r * 5.0);
    h.Format("%.2f", -0.35 * r);
    e.Format("%.2f", 100 - 0.35 * r);
    g.SetItemText(r, 1, d);
    g.SetItemText(r, 2, h);
    g.SetItemText(r, 3, e);
    g.SetItemBkColour(r, 3, 0xCFE8CC);
    for (int c = 1; c < 4; ++c) g.SetItemFormat(r, c, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  }
  g.SetItemText(3, 4, "a text longer than its cell");
  g.SetItemFormat(3, 4, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  g.SetFocusCell(2, 2);
  g.SetSelectedRange(4, 1, 5, 2);
  CDC dc;
  dc.Attach(platform::createImageDC(330, 240));
  {
    CMemDC mem(&dc);
    g.OnDraw(&mem);
  }
  std::string file = std::string(RAIL_TEST_TMPDIR) + "/grid-filled.png";
  ASSERT_TRUE(platform::saveImagePng(dc.GetSafeHdc(), file));
  // The selection shows in the highlight colour, the focus cell in its own.
  EXPECT_EQ(dc.GetPixel(60, 100), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(dc.GetPixel(105, 42), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(dc.GetPixel(160, 30), 0xCFE8CCu);
}


// A grid holding more than it shows gets the scroll bar of that direction in
// its picture, taken from its client area; one that fits has none.
TEST_F(GridDrawTest, APictureShowsAScrollBarWhereTheCellsDoNotFit) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  // The track: the scroll-bar colour and white, half each.
  const COLORREF track = RGB(234, 232, 228);
  struct Case {
    const char* what;
    int rows, cols;  // one fixed row and column; 50 x 20 pixel cells in 300 x 200
    bool horizontal, vertical;
  };
  const Case cases[] = {
      {"8 columns (400 pixels), 3 rows", 3, 8, true, false},
      {"6 columns (300 pixels) fit exactly", 3, 6, false, false},
      {"5 columns, 20 rows (400 pixels)", 20, 5, false, true},
      {"8 columns, 20 rows", 20, 8, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto& g = makeGrid(c.rows, c.cols, 300, 200);
    DWORD style = g.GetStyle();
    EXPECT_EQ((style & WS_HSCROLL) != 0, c.horizontal);
    EXPECT_EQ((style & WS_VSCROLL) != 0, c.vertical);
    CRect client;
    g.GetClientRect(&client);
    EXPECT_EQ(client.Width(), c.vertical ? 283 : 300);
    EXPECT_EQ(client.Height(), c.horizontal ? 183 : 200);
    HDC picture = platform::renderWindowPicture(g.GetSafeHwnd());
    ASSERT_TRUE(picture);
    // The bottom strip (the right strip): the arrow's face at its start and
    // the track beside the thumb.
    auto countOf = [&](COLORREF color, bool across, int at) {
      int n = 0;
      for (int i = 0; i < (across ? 300 : 200); ++i)
        if (GetPixel(picture, across ? i : at, across ? at : i) == color) ++n;
      return n;
    };
    const COLORREF arrow = GetSysColor(COLOR_BTNTEXT);
    if (c.horizontal) {
      EXPECT_EQ(GetPixel(picture, 3, 186), face) << "the left arrow's face";
      EXPECT_EQ(GetPixel(picture, 8, 191), arrow) << "the left arrow";
      EXPECT_GT(countOf(track, true, 191), 0) << "the track";
    } else {
      EXPECT_NE(GetPixel(picture, 8, 191), arrow) << "no left arrow";
      EXPECT_EQ(countOf(track, true, 191), 0) << "no track";
    }
    if (c.vertical) {
      EXPECT_EQ(GetPixel(picture, 296, 3), face) << "the up arrow's face";
      EXPECT_EQ(GetPixel(picture, 291, 8), arrow) << "the up arrow";
      EXPECT_GT(countOf(track, false, 291), 0) << "the track";
    } else {
      EXPECT_EQ(countOf(track, false, 291), 0) << "no track";
    }
    DeleteDC(picture);
    grid.reset();
  }
}

}  // namespace
}  // namespace gridtest
