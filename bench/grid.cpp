// The grid control with 100,000 rows of 10 columns: setting every text,
// painting one screen (at the top, in the middle, at the bottom: the cost
// follows what is on screen, not the row count), sorting by one column.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "grid/GridCtrl.h"
#include "grid/MemDC.h"
#include "win/gdiimage.h"
#include "win/winhost.h"

namespace {

constexpr int kRows = 100000;
constexpr int kCols = 10;
constexpr int kWidth = 800, kHeight = 600;

// A grid window of one screen, with every text set.
class FilledGrid {
 public:
  FilledGrid() : grid(kRows + 1, kCols, 1, 1) {
    parent.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr);
    if (!grid.Create(CRect(0, 0, kWidth, kHeight), &parent, 100, WS_CHILD | WS_VISIBLE)) std::abort();
    fill(grid);
    // The fonts are loaded at the first text drawn: once, before any timing.
    CDC screen;
    screen.Attach(platform::createImageDC(kWidth, kHeight));
    grid.OnDraw(&screen);
  }
  static void fill(CGridCtrl& g) {
    char text[32];
    for (int r = 1; r <= kRows; ++r)
      for (int c = 0; c < kCols; ++c) {
        // Column 1 holds numbers in a scrambled order, the others labels.
        if (c == 1)
          std::snprintf(text, sizeof text, "%.2f", static_cast<double>((r * 7919L) % kRows) / 10.0);
        else
          std::snprintf(text, sizeof text, "R%dC%d", r, c);
        g.SetItemText(r, c, text);
      }
  }
  CWnd parent;
  CGridCtrl grid;
};

FilledGrid& shared() {
  static FilledGrid g;
  return g;
}

void BM_SetAllTexts(benchmark::State& state) {
  CGridCtrl g(kRows + 1, kCols, 1, 1);
  for (auto _ : state) FilledGrid::fill(g);
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
}
BENCHMARK(BM_SetAllTexts)->Unit(benchmark::kMillisecond);

// One screen painted through the off-screen bitmap, as the paint handler does.
void BM_PaintScreen(benchmark::State& state) {
  CGridCtrl& g = shared().grid;
  int where = static_cast<int>(state.range(0));  // 0 top, 1 middle, 2 bottom
  g.SetScrollPosition(0, where == 0 ? 0 : where == 1 ? g.GetVScrollMax() / 2 : g.GetVScrollMax());
  if (where != 0 && g.GetScrollPosition().y == 0) state.SkipWithError("the grid did not scroll");
  CDC screen;
  screen.Attach(platform::createImageDC(kWidth, kHeight));
  for (auto _ : state) {
    CMemDC mem(&screen);
    g.OnDraw(&mem);
  }
}
BENCHMARK(BM_PaintScreen)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A screen that was not painted before: each round scrolls one screen
// further down, so no text of it was laid out yet (the platform keeps the
// layouts of the texts drawn last).
void BM_PaintFreshScreen(benchmark::State& state) {
  CGridCtrl& g = shared().grid;
  CDC screen;
  screen.Attach(platform::createImageDC(kWidth, kHeight));
  int y = 0;
  for (auto _ : state) {
    state.PauseTiming();
    y += kHeight;
    if (y > g.GetVScrollMax()) y = 0;
    g.SetScrollPosition(0, y);
    state.ResumeTiming();
    CMemDC mem(&screen);
    g.OnDraw(&mem);
  }
}
BENCHMARK(BM_PaintFreshScreen)->Unit(benchmark::kMillisecond);

// The grid's own drawing of one screen, straight on the screen's picture
// (without the off-screen bitmap the platform allocates, fills and copies).
void BM_DrawScreen(benchmark::State& state) {
  CGridCtrl& g = shared().grid;
  int where = static_cast<int>(state.range(0));
  g.SetScrollPosition(0, where == 0 ? 0 : where == 1 ? g.GetVScrollMax() / 2 : g.GetVScrollMax());
  if (where != 0 && g.GetScrollPosition().y == 0) state.SkipWithError("the grid did not scroll");
  CDC screen;
  screen.Attach(platform::createImageDC(kWidth, kHeight));
  for (auto _ : state) g.OnDraw(&screen);
}
BENCHMARK(BM_DrawScreen)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state) {
  CGridCtrl& g = shared().grid;
  bool ascending = true;
  for (auto _ : state) {
    g.SortTextItems(1, ascending);
    ascending = !ascending;
  }
}
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);

// A cell of 10 to 100,000 characters painted in a small grid, left-aligned
// (arg 1 0) and centred with an ellipsis as the table editors show it (arg 1
// 1): the time follows what the cell shows, not the text's length.
void BM_PaintLongCell(benchmark::State& state) {
  static CWnd parent;
  if (!parent.GetSafeHwnd())
    parent.CreateEx(0, nullptr, "bench", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr);
  CGridCtrl g(3, 3, 1, 1);
  if (!g.Create(CRect(0, 0, 300, 200), &parent, 101, WS_CHILD | WS_VISIBLE)) std::abort();
  g.SetItemFormat(1, 1, state.range(1) ? DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS : 0);
  // A different text each round, so that no layout is kept from the round before.
  std::string text(static_cast<size_t>(state.range(0)), 'x');
  CDC screen;
  screen.Attach(platform::createImageDC(300, 200));
  size_t round = 0;
  for (auto _ : state) {
    text[round++ % text.size()] = 'y';
    g.SetItemText(1, 1, text.c_str());
    g.OnDraw(&screen);
  }
  g.DestroyWindow();
}
BENCHMARK(BM_PaintLongCell)->ArgsProduct({{10, 1000, 100000}, {0, 1}})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
