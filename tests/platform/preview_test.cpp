// The drawing preview: a drawing file scaled into a rectangle of a DC.
#include <gtest/gtest.h>

#include "arx/activex.h"
#include "arx/edoutput.h"
#include "mfc/afxwin.h"
#include "arx/preview.h"
#include "dwg_fixture.h"
#include "win/canvas.h"
#include "win/gdiimage.h"
#include "win/transcript.h"
#include "win/winpaint.h"

namespace {

class DrawingPreview : public dwgtest::DrawingTest {
 protected:
  // A drawing of one red line from (0, 0) to (100, 50), saved as flag.dxf;
  // its path, empty when it could not be saved.
  std::string SaveRedLine() {
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 50, 0));
    line->setColorIndex(1);
    add(line);
    std::string file = path("flag.dxf");
    return db()->saveAs(file.c_str()) == Acad::eOk ? file : std::string();
  }
};

// A red line from (0, 0) to (100, 50) drawn into (10, 10, 110, 60): less the
// 2-pixel margins 96 x 46 pixels, so the scale is min(96 / 100, 46 / 50) =
// 0.92; the drawing's centre (50, 25) goes to the rectangle's centre
// (59.5, 34.5); (0, 0) to (59.5 - 46, 34.5 + 23) = (13.5, 57.5), drawn at
// (14, 58); (100, 50) to (105.5, 11.5), drawn at (106, 12).
TEST_F(DrawingPreview, DrawingScaledIntoTheRectangle) {
  const std::string file = SaveRedLine();
  ASSERT_FALSE(file.empty());

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

// A block's texts show their control codes as the characters they stand
// for, run by run: a text of height 20 at (0, 0) beside a line to (100, 0),
// drawn at scale 1 into (0, 0, 104, 54): "%%uA%%u%%d%%o1%%o" is "A"
// underlined, "°", and "1" with a line over it.
TEST_F(DrawingPreview, TextsShowTheirControlCodes) {
  add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0)));
  add(new AcDbText(AcGePoint3d(0, 0, 0), "%%uA%%u%%d%%o1%%o", AcDbObjectId::kNull, 20, 0));
  platform::GdiRecorder recorder;
  HDC dc = platform::createImageDC(104, 54, &recorder);
  ASSERT_TRUE(platform::drawDrawingPreview(dc, RECT{0, 0, 104, 54}, *db()));
  std::vector<std::pair<std::string, bool>> texts;  // text, underlined
  std::vector<const platform::GdiOp*> lines;
  for (const platform::GdiOp& op : recorder.ops()) {
    if (op.kind == platform::GdiOp::kText) texts.emplace_back(op.text, op.font.lfUnderline != 0);
    if (op.kind == platform::GdiOp::kPolyline) lines.push_back(&op);
  }
  EXPECT_EQ(texts, (std::vector<std::pair<std::string, bool>>{{"A", true}, {"°", false}, {"1", false}}));
  // The drawing's line, and the overline: level, above the baseline.
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[1]->points.size(), 2u);
  EXPECT_EQ(lines[1]->points[0].y, lines[1]->points[1].y);
  EXPECT_LT(lines[1]->points[0].y, lines[0]->points[0].y);
  DeleteDC(dc);
}

// The drawing-preview control paints the drawing its path names, fitted into
// its client area of 120 x 70: less the margins 116 x 66, scale
// min(116 / 100, 66 / 50) = 1.16, the drawing's centre (50, 25) on the area's
// centre (59.5, 34.5); (0, 0) goes to (1.5, 63.5), drawn at (2, 64), and
// (100, 50) to (117.5, 5.5), drawn at (118, 6). Without a file it is white.
TEST_F(DrawingPreview, ThePreviewControlPaintsTheDrawingOfItsPath) {
  const std::string file = SaveRedLine();
  ASSERT_FALSE(file.empty());
  const COLORREF red = RGB(255, 0, 0), white = RGB(255, 255, 255);
  struct Case {
    std::string path;
    std::vector<std::pair<POINT, COLORREF>> probes;
  };
  const std::vector<Case> cases = {
      {file, {{{2, 64}, red}, {{118, 6}, red}, {{60, 35}, red}, {{118, 64}, white}, {{2, 6}, white}}},
      {path("missing.dwg"), {{{2, 64}, white}, {{60, 35}, white}, {{118, 6}, white}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    CWnd preview;
    ASSERT_TRUE(preview.CreateControl(platform::drawingPreviewClassId(), "", WS_VISIBLE, CRect(0, 0, 120, 70),
                                      acedGetAcadFrame(), 240));
    preview.SetProperty(DWGTHUMBNAIL_DISPID_PATH, VT_BSTR, c.path.c_str());
    HDC picture = platform::renderWindowPicture(preview.m_hWnd);
    ASSERT_NE(picture, nullptr);
    for (const auto& [at, color] : c.probes) EXPECT_EQ(GetPixel(picture, at.x, at.y), color) << at.x << "," << at.y;
    DeleteDC(picture);
    preview.DestroyWindow();
  }
}

}  // namespace
