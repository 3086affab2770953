// Long texts drawn and measured in a small box: what shows is found without
// laying out what lies past the box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fixtures/counting_measure.h"
#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/paint.h"
#include "win/textmetrics.h"

namespace {

using platform::GdiOp;

using fixtures::CountingMeasure;

TEST(LongText, LongestFittingPrefix) {
  // Widths of the fixed metrics at 12 pixels: 6 an ASCII character, 12 a Chinese one.
  LOGFONT font{};
  font.lfHeight = -12;
  struct Case {
    std::string text;
    int width;
    size_t bytes;
  } cases[] = {
      {"", 10, 0},
      {"abc", 18, 3},
      {"abc", 17, 2},
      {"abc", 5, 0},
      {std::string(100000, 'a'), 100, 16},
      {"横断面设计", 30, 6},  // two Chinese characters, never half of one
      {std::string(1000, 'a') + "横", 6011, 1000},
      {std::string(1000, 'a') + "横", 6012, 1003},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 20) + " in " + std::to_string(c.width));
    CountingMeasure counting;
    size_t got = platform::longestFittingPrefix(c.text, [&](std::string_view p) {
      return counting.extent(font, p).cx <= c.width;
    });
    EXPECT_EQ(got, c.bytes);
    // Never much more than the prefix found is measured, however long the text.
    EXPECT_LT(counting.bytes, 40 * (c.bytes + 16));
  }
}

TEST(LongText, DrawTextOfALongLineLaysOutWhatTheBoxShows) {
  // The box is 100 pixels wide: 16 letters fit, the 17th crosses its edge;
  // with "..." 13 letters fit (13 x 6 + 18 = 96).
  struct Case {
    const char* what;
    UINT format;
    std::string drawn;
  } cases[] = {
      {"left", DT_SINGLELINE, std::string(17, 'a')},
      {"left, several lines allowed", DT_LEFT, std::string(17, 'a')},
      {"word breaks: a word wider than the box stays whole on its line", DT_WORDBREAK, std::string(17, 'a')},
      {"ellipsis", DT_SINGLELINE | DT_END_ELLIPSIS, std::string(13, 'a') + "..."},
      {"centred with an ellipsis", DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS, std::string(13, 'a') + "..."},
  };
  const std::string text(100000, 'a');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CountingMeasure counting;
    platform::TextMeasureScope scope(counting);
    platform::GdiRecorder recorder;
    HDC dc = platform::createRecordingDC(200, 100, recorder);
    RECT r{10, 10, 110, 50};
    DrawTextA(dc, text.c_str(), -1, &r, c.format);
    std::vector<std::string> runs;
    for (const GdiOp& op : recorder.ops())
      if (op.kind == GdiOp::kText) runs.push_back(op.text);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], c.drawn);
    EXPECT_LT(counting.bytes, 5000u);
    DeleteDC(dc);
  }
}

}  // namespace
