// Cells dragged out of a grid with the mouse: within the grid and onto a
// second grid, copied with Ctrl held and moved without, read-only cells left
// alone; the drag image; a press that never moved far enough.
#include "grid_support.h"

#include <map>

#include "mfc/treectrl.h"

namespace gridtest {
namespace {

using Texts = std::map<std::pair<int, int>, std::string>;

// A window whose drop target writes down, at each move over it, the drag
// image that shows and where.
class ImageProbe : public CWnd {
 public:
  struct Seen {
    bool shown = false;
    POINT at{0, 0}, hotSpot{0, 0};
    int width = 0, height = 0;
    COLORREF mask = 0;
    HBITMAP picture = nullptr;
  };
  class Target : public COleDropTarget {
   public:
    explicit Target(Seen& seen) : m_seen(seen) {}
    DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint) override {
      POINT at, hot;
      HIMAGELIST list = ImageList_GetDragImage(&at, &hot);
      m_seen.shown = list != nullptr;
      if (list) {
        m_seen.at = at;
        m_seen.hotSpot = hot;
        ImageList_GetIconSize(list, &m_seen.width, &m_seen.height);
        m_seen.mask = ImageList_GetBkColor(list);
        IMAGEINFO info{};
        if (ImageList_GetImageInfo(list, platform::dragImageIndex(), &info) && info.hbmImage) {
          // A copy: the list goes with the drag.
          if (m_seen.picture) DeleteObject(m_seen.picture);
          HDC from = CreateCompatibleDC(nullptr), to = CreateCompatibleDC(nullptr);
          m_seen.picture = CreateCompatibleBitmap(from, m_seen.width, m_seen.height);
          HGDIOBJ a = SelectObject(from, info.hbmImage), b = SelectObject(to, m_seen.picture);
          BitBlt(to, 0, 0, m_seen.width, m_seen.height, from, 0, 0, SRCCOPY);
          SelectObject(from, a);
          SelectObject(to, b);
          DeleteDC(from);
          DeleteDC(to);
        }
      }
      return DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keys, CPoint pt) override {
      return OnDragOver(wnd, data, keys, pt);
    }

   private:
    Seen& m_seen;
  };
  Seen seen;
  Target target{seen};
  ~ImageProbe() override {
    if (seen.picture) DeleteObject(seen.picture);
  }
};

class GridDragTest : public GridTest {
 protected:
  // A 4 x 4 grid (one fixed row and column, 50 x 20 cells) in the parent at
  // `x`, its data cells "r-c" (a comma would cut a dropped text), drag and
  // drop on.
  std::unique_ptr<CGridCtrl> makeDragGrid(int x, UINT id) {
    auto g = std::make_unique<CGridCtrl>(4, 4, 1, 1);
    EXPECT_TRUE(g->Create(CRect(x, 0, x + 250, 150), &parent, id, WS_CHILD | WS_VISIBLE));
    for (int r = 1; r < 4; ++r)
      for (int c = 1; c < 4; ++c) g->SetItemText(r, c, (std::to_string(r) + "-" + std::to_string(c)).c_str());
    g->EnableDragAndDrop(TRUE);
    return g;
  }
  // The centre of cell (r, c) of `g`, on the screen.
  static POINT centre(CGridCtrl& g, int r, int c) {
    CRect rect;
    g.GetCellRect(r, c, &rect);
    POINT pt{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    g.ClientToScreen(&pt);
    return pt;
  }
  // Selects cells (r1, c1) .. (r2, c2) by a drag of the mouse, as a user does.
  void selectByMouse(CGridCtrl& g, int r1, int c1, int r2, int c2) {
    platform::postMouseInput(WM_LBUTTONDOWN, centre(g, r1, c1));
    platform::postMouseInput(WM_MOUSEMOVE, centre(g, r2, c2));
    platform::postMouseInput(WM_LBUTTONUP, centre(g, r2, c2));
    pump();
  }
  // Presses on `from`, moves over each of `via` and releases at the last,
  // Ctrl held throughout when `ctrl`.
  void dragMouse(POINT from, const std::vector<POINT>& via, bool ctrl) {
    if (ctrl) platform::postKeyInput(VK_CONTROL, true);
    platform::postMouseInput(WM_LBUTTONDOWN, from);
    for (POINT pt : via) platform::postMouseInput(WM_MOUSEMOVE, pt);
    platform::postMouseInput(WM_LBUTTONUP, via.back());
    if (ctrl) platform::postKeyInput(VK_CONTROL, false);
    pump();
  }
  static Texts texts(CGridCtrl& g) {
    Texts t;
    for (int r = 1; r < g.GetRowCount(); ++r)
      for (int c = 1; c < g.GetColumnCount(); ++c) t[{r, c}] = g.GetItemText(r, c).GetString();
    return t;
  }
  static Texts filled() {
    Texts t;
    for (int r = 1; r < 4; ++r)
      for (int c = 1; c < 4; ++c) t[{r, c}] = std::to_string(r) + "-" + std::to_string(c);
    return t;
  }
};

TEST_F(GridDragTest, ABlockDraggedWithinTheGridIsCopiedWithCtrlAndMovedWithout) {
  // The block (1,1)..(2,2) dragged by its cell (1,1) to cell (2,2): it lands
  // on (2,2)..(3,3), the read-only cell (3,2) keeping its text.
  struct Case {
    const char* name;
    bool ctrl;
    Texts changed;  // the cells that differ from "r,c"
  } cases[] = {
      {"copy", true, {{{2, 2}, "1-1"}, {{2, 3}, "1-2"}, {{3, 3}, "2-2"}}},
      // A move empties the source cells the drop did not write.
      {"move", false, {{{1, 1}, ""}, {{1, 2}, ""}, {{2, 1}, ""}, {{2, 2}, "1-1"}, {{2, 3}, "1-2"}, {{3, 3}, "2-2"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CGridCtrl> g = makeDragGrid(0, 100);
    g->SetItemReadOnly(3, 2, TRUE);
    selectByMouse(*g, 1, 1, 2, 2);
    ASSERT_EQ(g->GetSelectedCellRange(), CCellRange(1, 1, 2, 2));
    dragMouse(centre(*g, 1, 1), {centre(*g, 1, 2), centre(*g, 2, 2)}, c.ctrl);
    Texts expected = filled();
    for (const auto& [cell, text] : c.changed) expected[cell] = text;
    EXPECT_EQ(texts(*g), expected);
    EXPECT_EQ(g->GetMouseMode(), MOUSE_NOTHING);
    EXPECT_NE(CWnd::GetCapture(), g.get());
    EXPECT_EQ(g->GetItemState(2, 2) & GVIS_DROPHILITED, 0u);
    g->DestroyWindow();
  }
}

TEST_F(GridDragTest, ABlockDraggedOntoASecondGridIsCopiedWithCtrlAndMovedWithout) {
  // The block (1,2)..(2,3) of the first grid, whose (2,3) is read-only,
  // dropped on cell (2,1) of the second, whose (3,2) is read-only.
  struct Case {
    const char* name;
    bool ctrl;
    Texts sourceChanged, targetChanged;
  } cases[] = {
      {"copy", true, {}, {{{2, 1}, "1-2"}, {{2, 2}, "1-3"}, {{3, 1}, "2-2"}}},
      {"move", false, {{{1, 2}, ""}, {{1, 3}, ""}, {{2, 2}, ""}},
       {{{2, 1}, "1-2"}, {{2, 2}, "1-3"}, {{3, 1}, "2-2"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CGridCtrl> source = makeDragGrid(0, 100), target = makeDragGrid(300, 101);
    source->SetItemReadOnly(2, 3, TRUE);
    target->SetItemReadOnly(3, 2, TRUE);
    selectByMouse(*source, 1, 2, 2, 3);
    dragMouse(centre(*source, 1, 2), {centre(*source, 1, 3), centre(*target, 1, 1), centre(*target, 2, 1)}, c.ctrl);
    Texts expectSource = filled(), expectTarget = filled();
    for (const auto& [cell, text] : c.sourceChanged) expectSource[cell] = text;
    for (const auto& [cell, text] : c.targetChanged) expectTarget[cell] = text;
    EXPECT_EQ(texts(*source), expectSource);
    EXPECT_EQ(texts(*target), expectTarget);
    EXPECT_TRUE(target->GetModified(2, 1));
    EXPECT_FALSE(target->GetModified(3, 2));
    source->DestroyWindow();
    target->DestroyWindow();
  }
}

TEST_F(GridDragTest, NothingChangesWhenTheDragIsCancelledOrEndsOverNothing) {
  struct Case {
    const char* name;
    bool escape;
    POINT end;  // grid client coordinates of the release
  } cases[] = {
      {"Esc", true, {125, 50}},
      {"released over the grid's background", false, {240, 140}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::unique_ptr<CGridCtrl> g = makeDragGrid(0, 100);
    selectByMouse(*g, 1, 1, 1, 2);
    POINT end = c.end;
    g->ClientToScreen(&end);
    platform::postMouseInput(WM_LBUTTONDOWN, centre(*g, 1, 1));
    platform::postMouseInput(WM_MOUSEMOVE, centre(*g, 2, 2));
    if (c.escape) {
      platform::postKeyInput(VK_ESCAPE, true);
      platform::postKeyInput(VK_ESCAPE, false);
    }
    platform::postMouseInput(WM_MOUSEMOVE, end);
    platform::postMouseInput(WM_LBUTTONUP, end);
    pump();
    EXPECT_EQ(texts(*g), filled());
    EXPECT_EQ(g->GetMouseMode(), MOUSE_NOTHING);
    g->DestroyWindow();
  }
}

TEST_F(GridDragTest, APressThatDoesNotMoveStillSelectsAndEdits) {
  std::unique_ptr<CGridCtrl> g = makeDragGrid(0, 100);
  selectByMouse(*g, 1, 1, 2, 2);
  // A click inside the selection, on a cell that is not the focus cell: that
  // cell alone is selected and gets the focus.
  platform::postMouseInput(WM_LBUTTONDOWN, centre(*g, 1, 2));
  platform::postMouseInput(WM_LBUTTONUP, centre(*g, 1, 2));
  pump();
  EXPECT_EQ(g->GetSelectedCellRange(), CCellRange(1, 2, 1, 2));
  EXPECT_EQ(g->GetFocusCell(), CCellID(1, 2));
  // A click on the focus cell, a pixel of movement: the edit begins.
  POINT pt = centre(*g, 1, 2);
  platform::postMouseInput(WM_LBUTTONDOWN, pt);
  platform::postMouseInput(WM_MOUSEMOVE, POINT{pt.x + 1, pt.y + 1});
  platform::postMouseInput(WM_LBUTTONUP, POINT{pt.x + 1, pt.y + 1});
  pump();
  CWnd* editor = g->GetEditWindow();
  ASSERT_TRUE(editor);
  CString text;
  editor->GetWindowText(text);
  EXPECT_EQ(text, "1-2");
  EXPECT_EQ(texts(*g), filled());
}

TEST_F(GridDragTest, WithDragAndDropOffAMouseDragSelects) {
  std::unique_ptr<CGridCtrl> g = makeDragGrid(0, 100);
  g->EnableDragAndDrop(FALSE);
  selectByMouse(*g, 1, 1, 1, 1);
  dragMouse(centre(*g, 1, 1), {centre(*g, 2, 2)}, false);
  EXPECT_EQ(g->GetSelectedCellRange(), CCellRange(1, 1, 2, 2));
  EXPECT_EQ(texts(*g), filled());
}

TEST_F(GridDragTest, TheDragShowsTheFocusCellUnderTheMouse) {
  std::unique_ptr<CGridCtrl> g = makeDragGrid(0, 100);
  ImageProbe probe;
  ASSERT_TRUE(probe.CreateEx(0, nullptr, "probe", WS_CHILD | WS_VISIBLE, 300, 200, 100, 100, parent.GetSafeHwnd(),
                             nullptr));
  ASSERT_TRUE(probe.target.Register(&probe));
  selectByMouse(*g, 2, 2, 2, 3);
  ASSERT_EQ(g->GetFocusCell(), CCellID(2, 3));
  POINT over{350, 250};
  parent.ClientToScreen(&over);
  dragMouse(centre(*g, 2, 2), {centre(*g, 3, 3), over}, true);
  ASSERT_TRUE(probe.seen.shown);
  // The image is the focus cell, 50 x 20, the mouse at its lower-right
  // corner; the text background is its mask.
  EXPECT_EQ(probe.seen.width, 50);
  EXPECT_EQ(probe.seen.height, 20);
  EXPECT_EQ(probe.seen.hotSpot.x, 50);
  EXPECT_EQ(probe.seen.hotSpot.y, 20);
  EXPECT_EQ(probe.seen.at.x, over.x);
  EXPECT_EQ(probe.seen.at.y, over.y);
  EXPECT_EQ(probe.seen.mask, g->GetTextBkColor());
  // Its pixels are those the grid shows in the focus cell (but for the last
  // column and row, where the grid draws its lines).
  HDC picture = platform::renderWindowPicture(g->GetSafeHwnd());
  ASSERT_TRUE(picture);
  ASSERT_TRUE(probe.seen.picture);
  HDC image = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(image, probe.seen.picture);
  CRect cell;
  g->GetCellRect(2, 3, &cell);
  int differing = 0;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 49; ++x)
      if (GetPixel(image, x, y) != GetPixel(picture, cell.left + x, cell.top + y)) ++differing;
  EXPECT_EQ(differing, 0);
  SelectObject(image, old);
  DeleteDC(image);
  DeleteDC(picture);
  // After the drag no image shows.
  EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
  probe.target.Revoke();
}

}  // namespace
}  // namespace gridtest
