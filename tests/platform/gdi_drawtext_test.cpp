// DrawText's layout with the fixed test metrics: alignment, line breaks,
// ellipsis, prefixes, tabs and DT_CALCRECT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/paint.h"
#include "win/textmetrics.h"

namespace {

using platform::GdiOp;

struct TextRun {
  std::string text;
  int x, y;
};

struct Case {
  const char* what;
  const char* text;
  UINT format;
  int result;
  RECT rectAfter;
  std::vector<TextRun> runs;
  RECT underline;  // (0,0,0,0): none
};

// The rectangle is (10, 10, 110, 50): 100 wide, 40 high. The stock font is
// 12 pixels high: 6 pixels an ASCII character, 12 a Chinese one, lines 12
// pixels apart, the base line 10 below the line's top.
constexpr RECT kRect{10, 10, 110, 50};
constexpr RECT kNone{0, 0, 0, 0};

const std::vector<Case> kCases = {
    {"left, top", "abc", DT_LEFT, 12, kRect, {{"abc", 10, 10}}, kNone},
    {"centred: 10 + (100 - 18) / 2", "abc", DT_CENTER, 12, kRect, {{"abc", 51, 10}}, kNone},
    {"right: 110 - 18", "abc", DT_RIGHT, 12, kRect, {{"abc", 92, 10}}, kNone},
    {"vertically centred: 10 + (40 - 12) / 2", "abc", DT_SINGLELINE | DT_VCENTER, 26, kRect, {{"abc", 10, 24}}, kNone},
    {"bottom: 50 - 12", "abc", DT_SINGLELINE | DT_BOTTOM, 40, kRect, {{"abc", 10, 38}}, kNone},
    {"the cell format 0x8025", "横断面", 0x8025, 26, kRect, {{"横断面", 42, 24}}, kNone},
    {"ellipsis: 13 letters and ... are 96 wide", "abcdefghijklmnopqrstu", DT_SINGLELINE | DT_END_ELLIPSIS, 12, kRect,
     {{"abcdefghijklm...", 10, 10}}, kNone},
    {"ellipsis after Chinese characters, centred: 6 x 12 + 18 = 90", "横断面设计路基数量表", 0x8025, 26, kRect,
     {{"横断面设计路...", 15, 24}}, kNone},
    {"a line wider than the rectangle, centred", "abcdefghijklmnopqrstu", DT_SINGLELINE | DT_CENTER, 12, kRect,
     {{"abcdefghijklmnopqrstu", -3, 10}}, kNone},
    {"line breaks CR LF, LF", "ab\ncd\r\nef", DT_LEFT, 36, kRect, {{"ab", 10, 10}, {"cd", 10, 22}, {"ef", 10, 34}}, kNone},
    {"single line drops line breaks", "ab\ncd", DT_SINGLELINE, 12, kRect, {{"abcd", 10, 10}}, kNone},
    {"word break at a blank", "one two three four", DT_WORDBREAK, 24, kRect,
     {{"one two three", 10, 10}, {"four", 10, 22}}, kNone},
    {"word break between Chinese characters", "横断面设计路基数量表", DT_WORDBREAK, 24, kRect,
     {{"横断面设计路基数", 10, 10}, {"量表", 10, 22}}, kNone},
    {"a word wider than the rectangle stays whole", "abcdefghijklmnopqrstu v", DT_WORDBREAK, 24, kRect,
     {{"abcdefghijklmnopqrstu", 10, 10}, {"v", 10, 22}}, kNone},
    {"calculated: widest line, two lines", "abc\nlonger line", DT_CALCRECT, 24, RECT{10, 10, 76, 34}, {}, kNone},
    {"calculated: one line", "横断面 A", DT_CALCRECT | DT_SINGLELINE, 12, RECT{10, 10, 58, 22}, {}, kNone},
    {"calculated with word breaks", "one two three four", DT_CALCRECT | DT_WORDBREAK, 24, RECT{10, 10, 88, 34}, {},
     kNone},
    {"calculated: the whole text, no ellipsis", "abcdefghijklmnopqrstu", DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS,
     12, RECT{10, 10, 136, 22}, {}, kNone},
    {"an empty text is one empty line", "", DT_LEFT, 12, kRect, {}, kNone},
    {"calculated: an empty text", "", DT_CALCRECT, 12, RECT{10, 10, 10, 22}, {}, kNone},
    {"prefix: F underlined", "&File", DT_LEFT, 12, kRect, {{"File", 10, 10}}, RECT{10, 21, 16, 22}},
    {"prefix: && is one &", "a&&b", DT_LEFT, 12, kRect, {{"a&b", 10, 10}}, kNone},
    {"no prefix", "&File", DT_NOPREFIX, 12, kRect, {{"&File", 10, 10}}, kNone},
    {"tab expanded to 8 x 6 pixels", "a\tb", DT_EXPANDTABS, 12, kRect, {{"a", 10, 10}, {"b", 58, 10}}, kNone},
    {"tab stop of 2 characters", "abc\td", DT_EXPANDTABS | DT_TABSTOP | (2 << 8), 12, kRect,
     {{"abc", 10, 10}, {"d", 34, 10}}, kNone},
    {"tab not expanded is a blank", "a\tb", DT_LEFT, 12, kRect, {{"a b", 10, 10}}, kNone},
};

TEST(DrawText, LayoutByFormat) {
  platform::FixedTextMetricsScope fixed;
  platform::GdiRecorder recorder;
  HDC dc = platform::createRecordingDC(200, 100, recorder);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    recorder.clear();
    RECT r = kRect;
    EXPECT_EQ(DrawTextA(dc, c.text, -1, &r, c.format), c.result);
    EXPECT_EQ(r.left, c.rectAfter.left);
    EXPECT_EQ(r.top, c.rectAfter.top);
    EXPECT_EQ(r.right, c.rectAfter.right);
    EXPECT_EQ(r.bottom, c.rectAfter.bottom);
    std::vector<TextRun> runs;
    std::vector<RECT> fills;
    for (const GdiOp& op : recorder.ops()) {
      if (op.kind == GdiOp::kText) {
        runs.push_back({op.text, op.position.x, op.position.y});
        EXPECT_EQ(op.options, static_cast<UINT>(ETO_CLIPPED));
        EXPECT_EQ(op.optionRect.left, kRect.left);
        EXPECT_EQ(op.optionRect.bottom, kRect.bottom);
      } else if (op.kind == GdiOp::kFillRect) {
        fills.push_back(op.rect);
      } else {
        ADD_FAILURE() << "unexpected " << op.describe();
      }
    }
    ASSERT_EQ(runs.size(), c.runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
      EXPECT_EQ(runs[i].text, c.runs[i].text) << i;
      EXPECT_EQ(runs[i].x, c.runs[i].x) << i;
      EXPECT_EQ(runs[i].y, c.runs[i].y) << i;
    }
    bool underlined = c.underline.right != 0;
    ASSERT_EQ(fills.size(), underlined ? 1u : 0u);
    if (underlined) {
      EXPECT_EQ(fills[0].left, c.underline.left);
      EXPECT_EQ(fills[0].top, c.underline.top);
      EXPECT_EQ(fills[0].right, c.underline.right);
      EXPECT_EQ(fills[0].bottom, c.underline.bottom);
    }
  }
  DeleteDC(dc);
}

TEST(DrawText, NoClipAndRefusedCalls) {
  platform::FixedTextMetricsScope fixed;
  platform::GdiRecorder recorder;
  HDC dc = platform::createRecordingDC(200, 100, recorder);
  RECT r = kRect;
  EXPECT_EQ(DrawTextA(dc, "abc", -1, &r, DT_NOCLIP), 12);
  ASSERT_EQ(recorder.ops().size(), 1u);
  EXPECT_EQ(recorder.ops()[0].options, 0u);
  // A count cuts the text; a null rectangle, a bad count or a stale DC draws nothing.
  recorder.clear();
  EXPECT_EQ(DrawTextA(dc, "abcdef", 2, &r, DT_LEFT), 12);
  ASSERT_EQ(recorder.ops().size(), 1u);
  EXPECT_EQ(recorder.ops()[0].text, "ab");
  recorder.clear();
  EXPECT_EQ(DrawTextA(dc, "abc", -1, nullptr, DT_LEFT), 0);
  EXPECT_EQ(DrawTextA(dc, "abc", -2, &r, DT_LEFT), 0);
  DeleteDC(dc);
  EXPECT_EQ(DrawTextA(dc, "abc", -1, &r, DT_LEFT), 0);
  EXPECT_TRUE(recorder.ops().empty());
}

TEST(TextMetrics, FixedWidthsAndHeights) {
  platform::FixedTextMetricsScope fixed;
  struct Row {
    LONG height;
    const char* text;
    LONG cx, cy, ascent, ave;
  };
  // H = |height| (12 for 0), n = H / 2: ASCII n, other characters 2n; ascent H - H / 5.
  const std::vector<Row> rows = {
      {-12, "ab", 12, 12, 10, 6},
      {-16, "a横", 24, 16, 13, 8},
      {20, "桩号 DK", 70, 20, 16, 10},
      {0, "abc", 18, 12, 10, 6},
      {-1, "ab", 2, 1, 1, 1},
      {-12, "", 0, 12, 10, 6},
  };
  HDC dc = CreateCompatibleDC(nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.height) + " " + row.text);
    LOGFONT lf{};
    lf.lfHeight = row.height;
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE s{-1, -1};
    ASSERT_TRUE(GetTextExtentPoint32A(dc, row.text, static_cast<int>(std::string(row.text).size()), &s));
    EXPECT_EQ(s.cx, row.cx);
    EXPECT_EQ(s.cy, row.cy);
    TEXTMETRIC tm{};
    ASSERT_TRUE(GetTextMetricsA(dc, &tm));
    EXPECT_EQ(tm.tmHeight, row.cy);
    EXPECT_EQ(tm.tmAscent, row.ascent);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    EXPECT_EQ(tm.tmAveCharWidth, row.ave);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(font));
  }
  DeleteDC(dc);
}

}  // namespace
