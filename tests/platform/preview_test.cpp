// The drawing preview: a drawing file scaled into a rectangle of a DC.
#include <gtest/gtest.h>

#include "arx/preview.h"
#include "dwg_fixture.h"
#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/transcript.h"

namespace {

class DrawingPreview : public dwgtest::DrawingTest {};

// A red line from (0, 0) to (100, 50) drawn into (10, 10, 110, 60): less the
// 2-pixel margins 96 x 46 pixels, so the scale is min(96 / 100, 46 / 50) =
// 0.92; the drawing's centre (50, 25) goes to the rectangle's centre
// (59.5, 34.5); (0, 0) to (59.5 - 46, 34.5 + 23) = (13.5, 57.5), drawn at
// (14, 58); (100, 50) to (105.5, 11.5), drawn at (106, 12).
TEST_F(DrawingPreview, DrawingScaledIntoTheRectangle) {
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 50, 0));
  line->setColorIndex(1);
  add(line);
  std::string file = path("flag.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);

  const COLORREF red = RGB(255, 0, 0), white = RGB(255, 255, 255);
  struct Probe {
    int x, y;
    COLORREF color;
  };
  const std::vector<Probe> probes = {
      {14, 58, red}, {106, 12, red}, {60, 35, red}, {10, 10, white}, {5, 5, white}, {112, 12, white}};
  // From the database and from its file (a ".dwg" name finds the ".dxf").
  for (int from = 0; from < 3; ++from) {
    SCOPED_TRACE(from);
    HDC dc = platform::createImageDC(130, 70);
    bool drawn = from == 0   ? platform::drawDrawingPreview(dc, RECT{10, 10, 110, 60}, *db())
                 : from == 1 ? platform::drawDrawingPreview(dc, RECT{10, 10, 110, 60}, file)
                             : platform::drawDrawingPreview(dc, RECT{10, 10, 110, 60}, path("flag.dwg"));
    EXPECT_TRUE(drawn);
    for (const Probe& p : probes) EXPECT_EQ(GetPixel(dc, p.x, p.y), p.color) << p.x << "," << p.y;
    DeleteDC(dc);
  }
}

TEST_F(DrawingPreview, MissingFileDrawsNothing) {
  platform::GdiRecorder recorder;
  HDC dc = platform::createImageDC(50, 50, &recorder);
  platform::TranscriptCapture shown;
  EXPECT_FALSE(platform::drawDrawingPreview(dc, RECT{0, 0, 50, 50}, path("中间站99.dwg")));
  EXPECT_FALSE(platform::drawDrawingPreview(dc, RECT{0, 0, 50, 50}, ""));
  EXPECT_TRUE(recorder.ops().empty());
  EXPECT_EQ(shown.text(), "");
  // An empty drawing draws nothing either.
  EXPECT_FALSE(platform::drawDrawingPreview(dc, RECT{0, 0, 50, 50}, *db()));
  EXPECT_TRUE(recorder.ops().empty());
  DeleteDC(dc);
}

}  // namespace
