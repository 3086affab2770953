// The host's drawing commands run from scripts and from acedCommand, and
// cadhost's drawing options.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>

#include "arx/acui.h"
#include "arx/edcmdline.h"
#include "arx/selection.h"
#include "crt/textfile.h"
#include "win/gdiimage.h"
#include "win/winpaint.h"
#include "dwg_fixture.h"
#include "fixtures/run_command.h"
#include "win/transcript.h"

namespace {

using dwgtest::DrawingTest;

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0); }

class CommandTest : public DrawingTest {
 protected:
  platform::RunResult run(const std::string& script) {
    platform::TranscriptCapture shown;
    platform::RunResult r = platform::runScriptText(script, "test");
    m_shown = shown.text();
    return r;
  }
  template <class T>
  T* openNth(size_t i) {
    std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(db());
    T* e = nullptr;
    if (i < ids.size()) acdbOpenObject(e, ids[i], AcDb::kForRead);
    return e;
  }
  std::string m_shown;
};

TEST_F(CommandTest, LineDrawsSegmentsUntilEnter) {
  ASSERT_TRUE(run("LINE 0,0 100,50 @0,10 \n").ok) << m_shown;
  ASSERT_EQ(dwgtest::modelSpaceIds(db()).size(), 2u);
  AcDbLine* second = openNth<AcDbLine>(1);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->startPoint().isEqualTo(P(100, 50)));
  EXPECT_TRUE(second->endPoint().isEqualTo(P(100, 60)));
  EXPECT_STREQ(second->layer(), "0");
  second->close();
  // Close joins the last point to the first; Undo takes a segment back.
  ASSERT_TRUE(run("LINE 0,0 10,0 20,20 U 10,10 C\n").ok) << m_shown;
  std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(db());
  ASSERT_EQ(ids.size(), 5u);
  AcDbLine* closing = openNth<AcDbLine>(4);
  EXPECT_TRUE(closing->startPoint().isEqualTo(P(10, 10)));
  EXPECT_TRUE(closing->endPoint().isEqualTo(P(0, 0)));
  closing->close();
}

TEST_F(CommandTest, PlineAndTextMakeTheirEntities) {
  ASSERT_TRUE(run("PLINE 0,0 W 0.5 10,0 10,10 C\nTEXT 5,5 3 90 里程\n").ok) << m_shown;
  AcDbPolyline* pl = openNth<AcDbPolyline>(0);
  ASSERT_NE(pl, nullptr);
  EXPECT_EQ(pl->numVerts(), 3u);
  EXPECT_TRUE(pl->isClosed());
  double sw, ew;
  pl->getWidthsAt(1, sw, ew);
  EXPECT_DOUBLE_EQ(sw, 0.5);
  pl->close();
  AcDbText* t = openNth<AcDbText>(1);
  ASSERT_NE(t, nullptr);
  EXPECT_STREQ(t->textString(), "里程");
  EXPECT_DOUBLE_EQ(t->height(), 3);
  EXPECT_NEAR(t->rotation(), std::numbers::pi / 2, 1e-12);
  EXPECT_TRUE(t->position().isEqualTo(P(5, 5)));
  t->close();
  EXPECT_DOUBLE_EQ(db()->textsize(), 3);  // the next TEXT offers it
}

TEST_F(CommandTest, EraseTakesTheSelectionThatAcedCommandPasses) {
  dwgtest::addLayer(db(), "隧道", 1);
  std::vector<AcDbObjectId> kept;
  for (int i = 0; i < 3; ++i) {
    auto* onLayer = new AcDbLine(P(i, 0), P(i, 1));
    onLayer->setLayer("隧道");
    add(onLayer);
    kept.push_back(add(new AcDbLine(P(i, 5), P(i, 6))));
  }
  // As the layer eraser of the cross-section build does.
  resbuf* filter = acutBuildList(8, "隧道", 0);
  ads_name ss;
  ASSERT_EQ(acedSSGet("X", nullptr, nullptr, filter, ss), RTNORM);
  acutRelRb(filter);
  platform::TranscriptCapture shown;
  EXPECT_EQ(acedCommand(RTSTR, "Erase", RTPICKS, ss, RTSTR, "", RTNONE), RTNORM);
  EXPECT_EQ(acedSSFree(ss), RTNORM);
  EXPECT_EQ(dwgtest::modelSpaceIds(db()), kept);
  EXPECT_TRUE(shown.contains("3 object(s) erased."));
  // An entity name and a handle work too.
  ads_name ent;
  acdbGetAdsName(ent, kept[0]);
  char h[20];
  kept[1].handle().getIntoAsciiBuffer(h, sizeof h);
  EXPECT_EQ(acedCommand(RTSTR, "ERASE", RTENAME, ent, RTSTR, (std::string("#") + h).c_str(), RTSTR, "", RTNONE),
            RTNORM);
  EXPECT_EQ(dwgtest::modelSpaceIds(db()), std::vector<AcDbObjectId>{kept[2]});
}

TEST_F(CommandTest, ZoomWindowSetsTheActiveView) {
  ads_point a = {-50, 0, 0}, b = {150, 100, 0};
  platform::TranscriptCapture shown;
  EXPECT_EQ(acedCommand(RTSTR, "ZOOM", RTSTR, "WINDOW", RTPOINT, a, RTPOINT, b, RTNONE), RTNORM);
  AcDbViewportTable* vt = nullptr;
  ASSERT_EQ(db()->getViewportTable(vt, AcDb::kForRead), Acad::eOk);
  AcDbViewportTableRecord* active = nullptr;
  ASSERT_EQ(vt->getAt("*Active", active, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(active->centerPoint(), AcGePoint2d(50, 50));
  EXPECT_DOUBLE_EQ(active->height(), 100);
  EXPECT_DOUBLE_EQ(active->width(), 200);
  active->close();
  vt->close();
}

// The rows of a part of a picture that hold a horizontal run of at least
// `least` dark pixels, with the length of their longest run.
std::vector<std::pair<int, int>> darkRows(HDC picture, const RECT& part, int least) {
  std::vector<std::pair<int, int>> rows;
  for (int y = part.top; y < part.bottom; ++y) {
    int run = 0, longest = 0;
    for (int x = part.left; x < part.right; ++x) {
      COLORREF c = GetPixel(picture, x, y);
      run = GetRValue(c) + GetGValue(c) + GetBValue(c) < 200 ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    if (longest >= least) rows.emplace_back(y, longest);
  }
  return rows;
}

// The editor's drawing view shows model space as the last ZOOM left it (the
// whole drawing before any ZOOM, or when the view shows none of it); the
// command line its last lines.
TEST_F(CommandTest, TheEditorsWindowShowsTheDrawingAsZoomedAndTheCommandLinesLastLines) {
  ASSERT_TRUE(run("LINE 0,0 100,0 \nLINE 0,100 100,100 \n").ok) << m_shown;
  CView* view = acedGetAcadDwgView();
  CRect client;
  view->GetClientRect(&client);
  CRect window;
  view->GetWindowRect(&window);
  const int edge = (window.Width() - client.Width()) / 2;  // the client edge around the view
  const int w = client.Width() - 4, h = client.Height() - 4;  // less the 2-pixel margin a side
  ASSERT_GT(w, h);
  struct Case {
    const char* zoom;  // "" for none
    // The lines' rows and lengths in client pixels: 100 x 100 fitted (scale
    // h / 100) shows both, 100 wide and h / 100 * 100 = h long; the window
    // (0,-10)-(100,10) (scale min(w / 100, h / 20)) shows the lower one alone,
    // across the middle.
    std::vector<int> rows;
    double length;
  };
  const double zoomed = std::min(w / 100.0, h / 20.0) * 100;
  const Case cases[] = {
      {"", {2, 2 + h}, static_cast<double>(h)},
      {"ZOOM W 0,-10 100,10\n", {2 + h / 2}, zoomed},
      // A window away from everything drawn: the whole drawing again.
      {"ZOOM W 1000,1000 1100,1100\n", {2, 2 + h}, static_cast<double>(h)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zoom);
    if (*c.zoom) {
      ASSERT_TRUE(run(c.zoom).ok) << m_shown;
    }
    HDC picture = platform::renderWindowPicture(view->m_hWnd);
    ASSERT_TRUE(picture);
    const RECT inside{edge, edge, edge + client.Width(), edge + client.Height()};
    std::vector<std::pair<int, int>> rows = darkRows(picture, inside, 20);
    DeleteDC(picture);
    ASSERT_EQ(rows.size(), c.rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_NEAR(rows[i].first - edge, c.rows[i], 1) << i;
      EXPECT_NEAR(rows[i].second, c.length, 2) << i;
    }
  }

  // The command line: its last lines at the bottom, as text (dark pixels) on
  // white; empty, it shows nothing.
  CWnd* line = acedGetAcadDockCmdLine();
  platform::transcriptWrite("\n命令行的最后一行\n");
  HDC picture = platform::renderWindowPicture(line->m_hWnd);
  ASSERT_TRUE(picture);
  int pw = 0, ph = 0;
  ASSERT_TRUE(platform::imageSize(picture, pw, ph));
  int darkBottom = 0, darkTop = 0;
  for (int y = 0; y < ph; ++y)
    for (int x = 0; x < pw; ++x) {
      COLORREF c = GetPixel(picture, x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++(y >= ph - 20 ? darkBottom : darkTop);
    }
  DeleteDC(picture);
  EXPECT_GT(darkBottom, 30) << "the last line at the bottom";
  EXPECT_GT(darkTop, 30) << "the lines before it above";
}

// The transcript keeps its last 64 lines for the command line: whole lines
// and the one still open, carriage returns left out.
TEST(TranscriptLastLines, KeepsTheLastLinesAndTheOpenOne) {
  platform::TranscriptCapture shown;
  struct Row {
    std::string written;
    size_t count;
    std::vector<std::string> expected;
  };
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "L" + std::to_string(i) + "\n";
  std::vector<std::string> last64;
  for (int i = 36; i < 100; ++i) last64.push_back("L" + std::to_string(i));
  const Row rows[] = {
      {"a\nb\n", 2, {"a", "b"}},
      {"", 3, {"L", "a", "b"}},
      {"c\r\nd", 2, {"c", "d"}},
      {"", 1, {"d"}},
      {"", 0, {}},
      {"e\n", 2, {"c", "de"}},
      {hundred, 70, last64},
  };
  platform::transcriptWrite("\nL\n");  // a line of its own, whatever was open before
  for (const Row& r : rows) {
    platform::transcriptWrite(r.written);
    EXPECT_EQ(platform::transcriptLastLines(r.count), r.expected) << r.written << " " << r.count;
  }
}

TEST_F(CommandTest, SaveAsWritesTheDrawing) {
  std::string target = path("drawing.dwg");  // saved as drawing.dxf
  ASSERT_TRUE(run("LINE 0,0 1,1 \nSAVEAS DXF " + target + "\n").ok) << m_shown;
  EXPECT_TRUE(std::filesystem::exists(path("drawing.dxf")));
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(target.c_str()), Acad::eOk);
  EXPECT_EQ(dwgtest::modelSpaceIds(back).size(), 1u);
  delete back;
}

// A name ending in .svg (any case) is drawn as SVG; the drawing keeps its
// DXF file name, and an SVG that cannot be written ends the script.
TEST_F(CommandTest, SaveAsAnSvgNameDrawsModelSpace) {
  const std::string dxf = path("plan.dxf");
  const std::string svg = path("plan.SVG");
  ASSERT_TRUE(run("LINE 0,0 100,50 \nSAVEAS " + dxf + "\nSAVEAS " + svg + "\n").ok) << m_shown;
  std::ifstream in(svg);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("<svg"), std::string::npos);
  // Without a plot scale the drawing is fitted into 1000 px (and 20 px margins).
  EXPECT_NE(text.find("points=\"20,520 1020,20\""), std::string::npos) << text.substr(0, 400);
  EXPECT_EQ(text.find("nan"), std::string::npos);
  const char* name = nullptr;
  db()->getFilename(name);
  EXPECT_EQ(std::string(name), dxf);

  const std::string nowhere = path("missing-folder") + "/x.svg";
  const platform::RunResult r = run("SAVEAS " + nowhere + "\nLINE 0,0 2,2 \n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "SAVEAS: cannot write drawing " + nowhere + " (eFileAccessErr)");
  EXPECT_EQ(dwgtest::modelSpaceIds(db()).size(), 1u);  // the second LINE did not run
}

// SAVEAS takes a plot scale 1:N before an .svg name (one drawing unit is
// 1000 / N mm: a line 100 x 50 units is 60 x 35 mm with its 5 mm margins at
// 1:2000). The scale is one token before the name, so a script that gives
// none has its next line read as the next command, as before; a scale that
// is no positive number, or one before a name that is no SVG, ends the run.
TEST_F(CommandTest, SaveAsTakesAPlotScaleBeforeAnSvgName) {
  struct Case {
    const char* what;
    std::string saveas;  // the SAVEAS line, "%" for the file's folder
    const char* width;   // of the SVG written, "" for none
    std::string error;   // "" when the run goes on
  };
  const std::string dir = path("");
  const std::vector<Case> cases = {
      {"at 1:2000", "SAVEAS 1:2000 %a.svg", "60mm", ""},
      {"at 1:1000, the name quoted", "SAVEAS 1:1000 \"%b.svg\"", "110mm", ""},
      {"no scale", "SAVEAS %c.svg", "275.167mm", ""},
      {"a scale of 0", "SAVEAS 1:0 %d.svg", "", "SAVEAS: 1:0 is no plot scale (1:N, N a positive number)"},
      {"a scale that is no number", "SAVEAS 1:x %e.svg", "", "SAVEAS: 1:x is no plot scale (1:N, N a positive number)"},
      {"a scale before a drawing name", "SAVEAS 1:500 %f.dxf", "",
       "SAVEAS: a plot scale is for an SVG, not for " + dir + "f.dxf"},
      // 1000 / 1e-310 mm a drawing unit is beyond the largest number.
      {"a scale too small for the page", "SAVEAS 1:1e-310 %g.svg", "",
       "SAVEAS: 1:1e-310 is no plot scale (1:N, N a positive number)"},
  };
  const char* names = "abcdefg";
  ASSERT_TRUE(run("LINE 0,0 100,50 \n").ok) << m_shown;
  for (size_t i = 0; i < cases.size(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.what);
    std::string line = c.saveas;
    line.replace(line.find('%'), 1, dir);
    // A LINE after it: it runs unless the SAVEAS ended the run.
    const size_t before = dwgtest::modelSpaceIds(db()).size();
    const platform::RunResult r = run(line + "\nLINE 0,0 1,1 \n");
    EXPECT_EQ(r.ok, c.error.empty()) << m_shown;
    EXPECT_EQ(r.error, c.error);
    EXPECT_EQ(dwgtest::modelSpaceIds(db()).size(), before + (c.error.empty() ? 1 : 0));
    const std::string svg = path(std::string(1, names[i]) + ".svg");
    if (*c.width) {
      const std::string text = dwgtest::readBytes(svg);
      EXPECT_NE(text.find(std::string("width=\"") + c.width + "\""), std::string::npos) << text.substr(0, 300);
    } else {
      EXPECT_FALSE(std::filesystem::exists(svg));
    }
    // The LINE just drawn goes again, so that each case sees the one line.
    if (c.error.empty()) {
      ASSERT_TRUE(run("ERASE L \n").ok) << m_shown;
    }
  }
}

// GRIPMOVE drags one grip of the entity picked: the grip nearest the point
// given moves to the stretch point, and the entity's reactors hear of it once.
struct ChangeCounter : AcDbEntityReactor {
  int modifiedCount = 0;
  void modified(const AcDbObject*) override { ++modifiedCount; }
};

TEST_F(CommandTest, GripMoveDragsTheNearestGripAndNotifiesOnce) {
  struct Case {
    const char* what;
    std::string answers;  // after the entity
    AcGePoint3d start, end;
    int notified;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"the end grip to a point", "9,1 12,3\n", P(0, 0), P(12, 3), 1, ""},
      {"the start grip, relative to the grip", "1,-1 @2,5\n", P(2, 5), P(10, 0), 1, ""},
      {"the middle grip moves the line", "5.2,0 @0,1\n", P(0, 1), P(10, 1), 1, ""},
      {"no stretch point: nothing moves", "9,1 \n", P(0, 0), P(10, 0), 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChangeCounter counter;
    AcDbObjectId id = add(new AcDbLine(P(0, 0), P(10, 0)));
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
    e->addReactor(&counter);
    e->close();
    char h[20];
    id.handle().getIntoAsciiBuffer(h, sizeof h);
    run(std::string("GRIPMOVE #") + h + " " + c.answers);
    AcDbLine* line = nullptr;
    ASSERT_EQ(acdbOpenObject(line, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(line->startPoint().isEqualTo(c.start));
    EXPECT_TRUE(line->endPoint().isEqualTo(c.end));
    line->removeReactor(&counter);
    line->erase();
    line->close();
    EXPECT_EQ(counter.modifiedCount, c.notified);
  }
  // An entity without grips, and nothing picked.
  AcDbObjectId plain = add(new AcDbEntity());
  char h[20];
  plain.handle().getIntoAsciiBuffer(h, sizeof h);
  run(std::string("GRIPMOVE #") + h + "\n");
  EXPECT_NE(m_shown.find("The object has no grips."), std::string::npos) << m_shown;
  run("GRIPMOVE 500,500\n");
  EXPECT_NE(m_shown.find("Nothing selected."), std::string::npos) << m_shown;
}

// cadhost as a program.
int runCadhost(const std::string& args, std::string& out) {
  return fixtures::RunCommand(std::string(RAIL_BINARY_DIR) + "/bin/cadhost " + args, &out);
}

TEST_F(CommandTest, CadhostSavesOpensAndExports) {
  std::string dxf = path("x.dxf"), svg = path("x.svg"), again = path("y.dxf"), out;
  ASSERT_EQ(runCadhost("--run 'LINE 0,0 100,50 ' --run 'TEXT 0,0 2.5 0 里程' --save '" + dxf + "'", out), 0) << out;
  std::string bytes = dwgtest::readBytes(dxf);
  EXPECT_NE(bytes.find("  0\r\nLINE\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("  0\r\nTEXT\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\xC0\xEF\xB3\xCC"), std::string::npos);  // 里程 in GBK

  out.clear();
  ASSERT_EQ(runCadhost("--open '" + dxf + "' --run 'LINE 0,0 0,10 ' --save '" + again + "' --export-svg '" + svg + "'", out),
            0)
      << out;
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(again.c_str()), Acad::eOk);
  EXPECT_EQ(dwgtest::modelSpaceIds(back).size(), 3u);
  delete back;
  std::string picture = dwgtest::readBytes(svg);
  EXPECT_NE(picture.find("<svg"), std::string::npos);
  EXPECT_NE(picture.find(">里程</text>"), std::string::npos);
  // --svg-scale: the plot scale of that SVG (the drawing 100 x 50 units and
  // a text: 110 mm wide at 1:1000 with its margins).
  out.clear();
  ASSERT_EQ(runCadhost("--open '" + dxf + "' --export-svg '" + svg + "' --svg-scale 1:1000", out), 0) << out;
  EXPECT_NE(dwgtest::readBytes(svg).find("width=\"110mm\""), std::string::npos);

  out.clear();
  EXPECT_EQ(runCadhost("--open '" + path("missing.dxf") + "'", out), 1);
  EXPECT_NE(out.find("missing.dxf"), std::string::npos);
}

// A drawing that cannot be written ends the script (SAVEAS) or the run
// (--save) with its reason; so does an answer no question took.
TEST_F(CommandTest, WhatCannotBeDoneAsWrittenEndsTheRun) {
  const std::string nowhere = path("missing-folder") + "/x.dxf";
  ASSERT_FALSE(std::filesystem::exists(path("missing-folder")));
  platform::RunResult r = run("LINE 0,0 1,1 \nSAVEAS " + nowhere + "\nLINE 0,0 2,2 \n");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "SAVEAS: cannot write drawing " + nowhere + " (eFileAccessErr)");
  EXPECT_EQ(dwgtest::modelSpaceIds(db()).size(), 1u);  // the second LINE did not run

  struct Case {
    const char* name;
    std::string args;
    const char* message;
  };
  const Case cases[] = {
      {"--save into a missing folder", "--run 'LINE 0,0 1,1 ' --save '" + nowhere + "'",
       "cadhost: cannot save drawing "},
      {"an answer never taken", "--run 'LINE 0,0 1,1 ' --run '@msg IDOK' --run '@file cancel'",
       "cadhost: --run[2]:1: the answer \"@msg IDOK\" was never taken"},
      {"an unknown answer form", "--run '@mgs IDOK'", "cadhost: --run[1]:1: unknown answer '@mgs'"},
      {"an answer line before any command", "--run '@msg IDOK' --run 'LINE 0,0 1,1 '",
       "cadhost: --run[1]:1: the answer line \"@msg IDOK\" comes before any command"},
      {"an answer line under comments before any command", "--run '// a comment\n@file cancel\nLINE 0,0 1,1 '",
       "cadhost: --run[1]:2: the answer line \"@file cancel\" comes before any command"},
      {"SAVEAS with an empty name", "--run 'LINE 0,0 1,1 ' --run 'SAVEAS \"\"'",
       "cadhost: SAVEAS: no file name given: nothing was saved"},
      {"SAVEAS with Enter for its name", "--run 'LINE 0,0 1,1 ' --run 'SAVEAS '",
       "cadhost: SAVEAS: no file name given: nothing was saved"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out;
    EXPECT_EQ(runCadhost(c.args, out), 1);
    EXPECT_NE(out.find(c.message), std::string::npos) << out;
  }
}

// A drawing that cannot be written whole (here the disk takes no file over
// 512 bytes) leaves the file of that name as it was, with no temporary
// file beside it; one written whole takes its place.
TEST_F(CommandTest, ADrawingTakesTheFilesPlaceOnlyWhenWrittenWhole) {
  const std::string old = "old drawing\r\n";
  struct Case {
    const char* name;
    const char* file;
    std::string args;
    bool limited;  // the disk refuses files over 512 bytes
    int status;
    bool replaced;
  };
  const std::string line = "--run 'LINE 0,0 100,50 ' --run 'TEXT 0,0 2.5 0 里程' ";
  const Case cases[] = {
      {"SAVEAS refused", "a.dxf", line + "--run 'SAVEAS " + path("a.dxf") + "'", true, 1, false},
      {"SAVEAS of an SVG refused", "a.svg", line + "--run 'SAVEAS 1:100 " + path("a.svg") + "'", true, 1, false},
      {"--save refused", "b.dxf", line + "--save '" + path("b.dxf") + "'", true, 1, false},
      {"--export-svg refused", "b.svg", line + "--export-svg '" + path("b.svg") + "'", true, 1, false},
      {"SAVEAS written", "c.dxf", line + "--run 'SAVEAS " + path("c.dxf") + "'", false, 0, true},
      {"--export-svg written", "c.svg", line + "--export-svg '" + path("c.svg") + "'", false, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = path(c.file);
    std::ofstream(file, std::ios::binary) << old;
    std::string out;
    const std::string limit = c.limited ? "trap '' XFSZ; ulimit -f 1; " : "";
    EXPECT_EQ(fixtures::RunCommand(limit + std::string(RAIL_BINARY_DIR) + "/bin/cadhost " + c.args, &out), c.status)
        << out;
    const std::string bytes = dwgtest::readBytes(file);
    if (c.replaced) {
      EXPECT_NE(bytes, old);
      const bool hasText = bytes.find("里程") != std::string::npos ||            // the SVG's UTF-8
                           bytes.find("\xC0\xEF\xB3\xCC") != std::string::npos;  // the drawing's GBK
      EXPECT_TRUE(hasText);
    } else {
      EXPECT_EQ(bytes, old);
      EXPECT_NE(out.find(c.file), std::string::npos) << out;  // the failure names the file
    }
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(file).parent_path()))
      EXPECT_FALSE(platform::isTemporaryFile(e.path().filename().string())) << e.path();
  }
}

}  // namespace
