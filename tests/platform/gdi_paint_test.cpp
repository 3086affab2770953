// A toy window painted on a device context: what is recorded (order, clip,
// skipped cells) and what the PNG shows (pixel probes), with the fixed text
// metrics; a Chinese caption laid out by pango without missing glyphs.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "gdi_support.h"
#include "crt/textfile.h"
#include "platform/test_support.h"
#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/paint.h"
#include "win/sysparams.h"
#include "win/textmetrics.h"
#include "win/transcript.h"

namespace {

using gditest::kCell;
using gditest::kFace;
using gditest::kWhite;
using platform::GdiOp;

constexpr COLORREF kLine = RGB(0xC0, 0xC0, 0xC0);

// The toy window, 140 x 80: a face-coloured background, 3 x 3 cells of 40 x 20
// named A1 .. C3 with their names centred (format 0x8025), and grid lines at
// each cell's right and bottom edge. Like a grid's paint, it skips the cells
// that lie wholly outside the clip box.
void paintToyWindow(HDC dc) {
  RECT clip;
  ASSERT_NE(GetClipBox(dc, &clip), ERROR);
  RECT client{0, 0, 140, 80};
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  HBRUSH cellBrush = CreateSolidBrush(kCell);
  SetBkMode(dc, TRANSPARENT);
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c) {
      RECT cell{c * 40, r * 20, c * 40 + 40, r * 20 + 20};
      if (cell.bottom <= clip.top || cell.top >= clip.bottom || cell.right <= clip.left || cell.left >= clip.right)
        continue;
      FillRect(dc, &cell, cellBrush);
      char name[3] = {static_cast<char>('A' + c), static_cast<char>('1' + r), 0};
      DrawTextA(dc, name, -1, &cell, 0x8025);
    }
  }
  DeleteObject(cellBrush);
  HPEN pen = CreatePen(PS_SOLID, 0, kLine);
  HGDIOBJ old = SelectObject(dc, pen);
  for (int c = 0; c < 3; ++c) {
    MoveToEx(dc, c * 40 + 39, 0, nullptr);
    LineTo(dc, c * 40 + 39, 60);
  }
  for (int r = 0; r < 3; ++r) {
    MoveToEx(dc, 0, r * 20 + 19, nullptr);
    LineTo(dc, 120, r * 20 + 19);
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

// The paint of a grid through an off-screen bitmap of the clip box's size,
// copied back at the end.
void paintThroughMemory(HDC window) {
  RECT clip;
  GetClipBox(window, &clip);
  int w = clip.right - clip.left, h = clip.bottom - clip.top;
  HDC mem = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(window, w, h);
  HGDIOBJ oldBitmap = SelectObject(mem, bitmap);
  SetWindowOrgEx(mem, clip.left, clip.top, nullptr);
  paintToyWindow(mem);
  BitBlt(window, clip.left, clip.top, w, h, mem, clip.left, clip.top, SRCCOPY);
  SelectObject(mem, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(mem);
}

struct ExpectedOp {
  GdiOp::Kind kind;
  RECT rect;  // fills: the rectangle; lines: (x1, y1, x2, y2); texts: (x, y) of the top-left, 0, 0
  const char* text;
  COLORREF color;  // fills: brush; lines: pen; texts: text colour
  bool visible;
};

// Hand layout with the fixed metrics (12-pixel message font: 6 pixels an
// ASCII character, 12 high): a two-letter name is 12 wide, centred in a 40 x 20
// cell at (cell.left + 14, cell.top + 4). The clip box is (10, 10, 130, 30):
// rows 0 and 1 meet it, row 2 (y 40 .. 60) does not; the lines at y 39 and 59
// lie outside it.
const std::vector<ExpectedOp> kToyOps = {
    {GdiOp::kFillRect, {0, 0, 140, 80}, "", kFace, true},
    {GdiOp::kFillRect, {0, 0, 40, 20}, "", kCell, true},
    {GdiOp::kText, {14, 4, 0, 0}, "A1", 0, true},
    {GdiOp::kFillRect, {40, 0, 80, 20}, "", kCell, true},
    {GdiOp::kText, {54, 4, 0, 0}, "B1", 0, true},
    {GdiOp::kFillRect, {80, 0, 120, 20}, "", kCell, true},
    {GdiOp::kText, {94, 4, 0, 0}, "C1", 0, true},
    {GdiOp::kFillRect, {0, 20, 40, 40}, "", kCell, true},
    {GdiOp::kText, {14, 24, 0, 0}, "A2", 0, true},
    {GdiOp::kFillRect, {40, 20, 80, 40}, "", kCell, true},
    {GdiOp::kText, {54, 24, 0, 0}, "B2", 0, true},
    {GdiOp::kFillRect, {80, 20, 120, 40}, "", kCell, true},
    {GdiOp::kText, {94, 24, 0, 0}, "C2", 0, true},
    {GdiOp::kPolyline, {39, 0, 39, 60}, "", kLine, true},
    {GdiOp::kPolyline, {79, 0, 79, 60}, "", kLine, true},
    {GdiOp::kPolyline, {119, 0, 119, 60}, "", kLine, true},
    {GdiOp::kPolyline, {0, 19, 120, 19}, "", kLine, true},
    {GdiOp::kPolyline, {0, 39, 120, 39}, "", kLine, false},
    {GdiOp::kPolyline, {0, 59, 120, 59}, "", kLine, false},
};

// Compares recorded ops with the table; `offset` is added to the table's
// logical coordinates to give the device coordinates recorded.
void expectOps(const std::vector<GdiOp>& ops, const std::vector<ExpectedOp>& expected, POINT offset,
               RECT clip) {
  ASSERT_EQ(ops.size(), expected.size());
  for (size_t i = 0; i < ops.size(); ++i) {
    const GdiOp& op = ops[i];
    const ExpectedOp& e = expected[i];
    SCOPED_TRACE("op " + std::to_string(i) + ": " + op.describe());
    EXPECT_EQ(op.kind, e.kind);
    EXPECT_EQ(op.visible, e.visible);
    EXPECT_EQ(op.clip.left, clip.left);
    EXPECT_EQ(op.clip.top, clip.top);
    EXPECT_EQ(op.clip.right, clip.right);
    EXPECT_EQ(op.clip.bottom, clip.bottom);
    switch (e.kind) {
      case GdiOp::kFillRect:
        EXPECT_EQ(op.rect.left, e.rect.left + offset.x);
        EXPECT_EQ(op.rect.top, e.rect.top + offset.y);
        EXPECT_EQ(op.rect.right, e.rect.right + offset.x);
        EXPECT_EQ(op.rect.bottom, e.rect.bottom + offset.y);
        EXPECT_EQ(op.brush.color, e.color);
        break;
      case GdiOp::kPolyline:
        ASSERT_EQ(op.points.size(), 2u);
        EXPECT_EQ(op.points[0].x, e.rect.left + offset.x);
        EXPECT_EQ(op.points[0].y, e.rect.top + offset.y);
        EXPECT_EQ(op.points[1].x, e.rect.right + offset.x);
        EXPECT_EQ(op.points[1].y, e.rect.bottom + offset.y);
        EXPECT_EQ(op.pen.color, e.color);
        break;
      case GdiOp::kText:
        EXPECT_EQ(op.text, e.text);
        EXPECT_EQ(op.position.x, e.rect.left + offset.x);
        EXPECT_EQ(op.position.y, e.rect.top + offset.y);
        EXPECT_EQ(op.textColor, e.color);
        EXPECT_EQ(op.bkMode, TRANSPARENT);
        EXPECT_STREQ(op.font.lfFaceName, "宋体");
        // Clipped to its cell.
        EXPECT_EQ(op.options & ETO_CLIPPED, static_cast<UINT>(ETO_CLIPPED));
        EXPECT_EQ(op.optionRect.right - op.optionRect.left, 40);
        break;
      default: break;
    }
  }
}

TEST(GdiPaint, ToyWindowIsRecordedInOrderWithItsClip) {
  platform::FixedTextMetricsScope fixed;
  platform::GdiRecorder recorder;
  HDC dc = platform::createImageDC(140, 80, &recorder);
  ASSERT_NE(dc, nullptr);
  ASSERT_EQ(IntersectClipRect(dc, 10, 10, 130, 30), SIMPLEREGION);
  paintToyWindow(dc);
  expectOps(recorder.ops(), kToyOps, POINT{0, 0}, RECT{10, 10, 130, 30});
  DeleteDC(dc);
}

TEST(GdiPaint, OffScreenPaintIsRecordedOnItsBitmapThenCopied) {
  platform::FixedTextMetricsScope fixed;
  platform::GdiRecorder recorder;
  HDC dc = platform::createImageDC(140, 80, &recorder);
  IntersectClipRect(dc, 10, 10, 130, 30);
  paintThroughMemory(dc);
  uintptr_t window = platform::drawingTarget(dc);
  std::vector<GdiOp> onWindow = recorder.opsOn(window);
  ASSERT_EQ(recorder.ops().size(), kToyOps.size() + 1);
  // Off screen: the same ops on a 120 x 20 bitmap whose origin is the clip
  // box's corner (10, 10); then one copy of the bitmap to the window.
  std::vector<GdiOp> offScreen(recorder.ops().begin(), recorder.ops().end() - 1);
  EXPECT_NE(offScreen.front().target, window);
  expectOps(offScreen, kToyOps, POINT{-10, -10}, RECT{0, 0, 120, 20});
  ASSERT_EQ(onWindow.size(), 1u);
  EXPECT_EQ(onWindow[0].kind, GdiOp::kBlit);
  EXPECT_EQ(onWindow[0].rect.left, 10);
  EXPECT_EQ(onWindow[0].rect.top, 10);
  EXPECT_EQ(onWindow[0].rect.right, 130);
  EXPECT_EQ(onWindow[0].rect.bottom, 30);
  EXPECT_EQ(onWindow[0].sourceRect.left, 0);
  EXPECT_EQ(onWindow[0].sourceRect.top, 0);
  EXPECT_EQ(onWindow[0].sourceTarget, offScreen.front().target);
  DeleteDC(dc);
}

// Pixel probes of the toy window, painted directly and through an off-screen
// bitmap, read back from the PNG file.
TEST(GdiPaint, ToyWindowPictureShowsFillsLinesAndClip) {
  platform::FixedTextMetricsScope fixed;
  testsupport::TempFolder tmp;
  struct Probe {
    const char* what;
    int x, y;
    COLORREF color;
  };
  const std::vector<Probe> probes = {
      {"background inside the clip", 125, 15, kFace},
      {"background right of the cells", 121, 25, kFace},
      {"left of the clip", 5, 15, kWhite},
      {"below the clip", 125, 50, kWhite},
      {"a cell cut by the clip", 15, 35, kWhite},
      {"cell A1 beside its text", 12, 12, kCell},
      {"cell A2 beside its text", 30, 25, kCell},
      {"cell C2", 82, 28, kCell},
      {"vertical line after column A", 39, 15, kLine},
      {"vertical line after column B", 79, 25, kLine},
      {"vertical line after column C", 119, 12, kLine},
      {"horizontal line under row 1", 15, 19, kLine},
      {"line end excluded: x 120 on row 1's line", 120, 19, kFace},
      {"vertical line outside the clip", 39, 35, kWhite},
      {"the clip's right edge is outside it", 130, 15, kWhite},
  };
  for (bool offScreen : {false, true}) {
    SCOPED_TRACE(offScreen ? "through an off-screen bitmap" : "painted directly");
    HDC dc = platform::createImageDC(140, 80);
    IntersectClipRect(dc, 10, 10, 130, 30);
    if (offScreen)
      paintThroughMemory(dc);
    else
      paintToyWindow(dc);
    std::string file = tmp / (offScreen ? "toy-offscreen.png" : "toy.png");
    ASSERT_TRUE(platform::saveImagePng(dc, file));
    DeleteDC(dc);
    gditest::PngPicture png(file);
    ASSERT_TRUE(png.ok());
    ASSERT_EQ(png.width(), 140);
    ASSERT_EQ(png.height(), 80);
    for (const Probe& p : probes) EXPECT_EQ(png.pixel(p.x, p.y), p.color) << p.what;
    // Texts: dark pixels in the visible parts of the name boxes, none in the
    // cells away from them (3 pixels of slack for glyphs wider than their cells).
    EXPECT_GT(png.darkPixels(RECT{14, 10, 26, 16}), 0) << "A1";
    EXPECT_GT(png.darkPixels(RECT{54, 24, 66, 30}), 0) << "B2";
    EXPECT_EQ(png.darkPixels(RECT{10, 10, 11, 30}), 0) << "left of A's names";
    EXPECT_EQ(png.darkPixels(RECT{29, 10, 51, 30}), 0) << "between A and B";
    EXPECT_EQ(png.darkPixels(RECT{69, 10, 91, 30}), 0) << "between B and C";
    EXPECT_EQ(png.darkPixels(RECT{0, 30, 140, 80}), 0) << "outside the clip";
  }
}

// A picture is written whole or not at all: a write the disk refuses (here a
// file-size limit of 16 bytes, less than any PNG) is reported, naming the
// file, and leaves the picture saved before as it was, with no temporary file.
TEST(GdiPaint, AFailedPictureWriteKeepsTheOldPicture) {
  struct Case {
    const char* what;
    long limit;  // the largest file the process may write, 0: none
    bool saved;
  };
  const std::vector<Case> cases = {
      {"the disk refuses the picture", 16, false},
      {"the disk takes it", 0, true},
  };
  testsupport::TempFolder tmp;
  const std::string file = tmp / "toy.png";
  const std::string old = "the picture saved the last time";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testsupport::writeBytes(file, old);
    HDC dc = platform::createImageDC(140, 80);
    paintToyWindow(dc);
    platform::TranscriptCapture shown;
    bool ok = false;
    {
      testsupport::ScopedFileSizeLimit limit(c.limit);
      ASSERT_TRUE(limit.ok());
      ok = platform::saveImagePng(dc, file);
    }
    DeleteDC(dc);
    EXPECT_EQ(ok, c.saved);
    EXPECT_EQ(shown.contains("Cannot write " + file), !c.saved) << shown.text();
    if (c.saved) {
      gditest::PngPicture png(file);
      ASSERT_TRUE(png.ok());
      EXPECT_EQ(png.width(), 140);
      EXPECT_EQ(png.height(), 80);
    } else {
      EXPECT_EQ(testsupport::readBytes(file), old);
    }
    EXPECT_EQ(testsupport::namesIn(tmp.path()), std::vector<std::string>{"toy.png"});  // no temporary file
  }
}

TEST(GdiPaint, ChineseCaptionHasEveryGlyph) {
  ASSERT_FALSE(platform::fixedTextMetrics());
  LOGFONT font = platform::messageFont();
  const char* caption = "横断面设计 路基数量表";
  EXPECT_EQ(platform::unknownGlyphCount(font, caption), 0);
  // A character no font has is reported (the check can fail).
  EXPECT_GE(platform::unknownGlyphCount(font, "\xF4\x8F\xBF\xBD"), 1);

  HDC dc = platform::createImageDC(200, 30);
  SIZE size{0, 0};
  ASSERT_TRUE(GetTextExtentPoint32A(dc, caption, static_cast<int>(std::strlen(caption)), &size));
  // Ten Chinese characters about as wide as the font is high (12 pixels), and a blank.
  EXPECT_GE(size.cx, 10 * 12 * 9 / 10);
  EXPECT_LE(size.cx, 10 * 12 * 11 / 10 + 12);
  EXPECT_GE(size.cy, 12);
  ASSERT_TRUE(TextOutA(dc, 4, 4, caption, -1));
  testsupport::TempFolder tmp;
  ASSERT_TRUE(platform::saveImagePng(dc, tmp / "caption.png"));
  DeleteDC(dc);
  gditest::PngPicture png(tmp / "caption.png");
  ASSERT_TRUE(png.ok());
  // Every character leaves ink in its part of the line.
  int advance = size.cx / 11;
  for (int k = 0; k < 5; ++k) EXPECT_GT(png.darkPixels(RECT{4 + k * advance, 4, 4 + (k + 1) * advance, 4 + size.cy}), 0) << k;
  EXPECT_EQ(png.darkPixels(RECT{4 + size.cx + 4, 0, 200, 30}), 0) << "nothing past the caption";
}

}  // namespace
