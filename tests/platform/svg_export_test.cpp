// Model space drawn as SVG, read back by its elements' attributes: line
// widths in paper terms, line types as dash patterns, the texts' control
// codes, the page's size at a plot scale and a strip of sheets laid out page
// by page.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbsymtb.h"
#include "arx/dxffile.h"
#include "arx/textcodes.h"
#include "dwg_fixture.h"
#include "win/transcript.h"

namespace {

// A CSS pixel is 25.4 / 96 mm: at 1:kTenPixels one drawing unit is
// 1000 / kTenPixels mm = 10 px.
constexpr double kPxPerMm = 96.0 / 25.4;
constexpr double kTenPixels = 1000 * kPxPerMm / 10;

struct Element {
  std::string tag;
  std::map<std::string, std::string> attrs;
  std::string content;  // of a <text>, as written
};

// The elements of an SVG, in order (a <text> with what it holds).
std::vector<Element> elementsOf(const std::string& svg) {
  std::vector<Element> out;
  static const std::regex tag(R"(<([a-z]+)((?:\s+[\w:-]+="[^"]*")*)\s*(/?)>)");
  static const std::regex attr(R"re(([\w:-]+)="([^"]*)")re");
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), tag); it != std::sregex_iterator(); ++it) {
    Element e;
    e.tag = (*it)[1];
    const std::string attrs = (*it)[2];
    for (auto a = std::sregex_iterator(attrs.begin(), attrs.end(), attr); a != std::sregex_iterator(); ++a)
      e.attrs[(*a)[1]] = (*a)[2];
    if (e.tag == "text" && (*it)[3] != "/") {
      const size_t from = static_cast<size_t>(it->position() + it->length());
      e.content = svg.substr(from, svg.find("</text>", from) - from);
    }
    if (e.tag != "tspan") out.push_back(e);
  }
  return out;
}

// The shapes drawn (the elements inside the drawing's group, less the pages).
std::vector<Element> shapesOf(const std::string& svg) {
  std::vector<Element> out;
  for (const Element& e : elementsOf(svg))
    if (e.tag != "svg" && e.tag != "g" && e.tag != "rect") out.push_back(e);
  return out;
}

double number(const std::string& text) { return std::stod(text); }

// A line-type file of the test's own patterns.
std::string writeLinFile(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  out << ";; patterns of the SVG test\r\n"
         "*DASHDOT,__ . __\r\nA,10,-5,0,-5\r\n"
         "*GAPFIRST,  ____\r\nA,-2,6,-2\r\n"
         "*DASHLAST,___ __ ____\r\nA,3,-2,4\r\n"
         "*FINE,tiny\r\nA,0.02,-0.02\r\n"
         "*NOGAP,two dashes\r\nA,5,5\r\n";
  return path;
}

AcDbObjectId linetypeOf(AcDbDatabase* db, const char* name) {
  AcDbLinetypeTable* types = nullptr;
  AcDbObjectId type;
  if (db->getLinetypeTable(types, AcDb::kForRead) != Acad::eOk) return type;
  types->getAt(name, type);
  types->close();
  return type;
}

void setLayer(AcDbDatabase* db, AcDbEntity* e, const char* layerName, AcDb::LineWeight weight, const char* linetype) {
  AcDbObjectId layer = dwgtest::addLayer(db, layerName, 7);
  AcDbLayerTableRecord* rec = nullptr;
  ASSERT_EQ(acdbOpenObject(rec, layer, AcDb::kForWrite), Acad::eOk);
  rec->setLineWeight(weight);
  if (linetype) rec->setLinetypeObjectId(linetypeOf(db, linetype));
  rec->close();
  e->setLayer(layer);
}

class SvgExport : public dwgtest::DrawingTest {};

// One line a drawing, at 10 px a drawing unit: a line without a width is as
// wide as its line weight (by layer resolved; the default 0.25 mm at the
// least) and not scaled with the drawing; a polyline's width is in drawing
// units; a line type is its file's pattern times the entity's line-type
// scale and the drawing's LTSCALE, in pixels, turned to start with a dash
// (the offset says where the line starts in it).
TEST_F(SvgExport, LinesAreDrawnInPaperWidthsAndTheirLineTypes) {
  const std::string lin = writeLinFile(path("svgtest.lin"));
  struct Case {
    const char* what;
    AcDb::LineWeight own, layer;  // of the entity, of its layer
    const char* linetype;         // of the entity (null: by layer)
    const char* layerLinetype;
    double linetypeScale, ltscale, width;  // width: a polyline's, 0 for a line
    const char* strokeWidth;
    bool nonScaling;
    const char* dashes;  // "" for none
    const char* offset;  // "" for none
  };
  const std::vector<Case> cases = {
      // 0.25 mm = 0.25 x 96 / 25.4 px = 0.945 px.
      {"a plain line: the default weight", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, nullptr, nullptr, 1, 1, 0,
       "0.94", true, "", ""},
      {"a weight of its own: 0.50 mm", AcDb::kLnWt050, AcDb::kLnWtByLwDefault, nullptr, nullptr, 1, 1, 0, "1.89", true,
       "", ""},
      {"by layer: the layer's 0.70 mm", AcDb::kLnWtByLayer, AcDb::kLnWt070, nullptr, nullptr, 1, 1, 0, "2.65", true, "",
       ""},
      {"0.13 mm: drawn at the default", AcDb::kLnWt013, AcDb::kLnWtByLwDefault, nullptr, nullptr, 1, 1, 0, "0.94", true,
       "", ""},
      {"a polyline 2 units wide: 20 px, scaled", AcDb::kLnWtByLayer, AcDb::kLnWt070, nullptr, nullptr, 1, 1, 2, "20",
       false, "", ""},
      // 10, -5, 0, -5 times 0.5 x 0.4, at 10 px a unit.
      {"a dash dot, its scale and LTSCALE", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, "DASHDOT", nullptr, 0.5,
       0.4, 0, "0.94", true, "20 10 0 10", ""},
      {"by layer: the layer's dash dot", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, nullptr, "DASHDOT", 1, 1, 0,
       "0.94", true, "100 50 0 50", ""},
      {"a wide polyline's dashes", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, "DASHDOT", nullptr, 1, 1, 0.5, "5",
       false, "100 50 0 50", ""},
      // Gap 2, dash 6, gap 2: dash 6, gap 4, started 8 into it.
      {"a pattern that starts with a gap", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, "GAPFIRST", nullptr, 1, 1, 0,
       "0.94", true, "60 40", "80"},
      // Dash 3, gap 2, dash 4 (then dash 3 again): dash 7, gap 2, started 4 into it.
      {"a pattern that ends with a dash", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, "DASHLAST", nullptr, 1, 1, 0,
       "0.94", true, "70 20", "40"},
      {"a pattern shorter than a pixel: solid", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, "FINE", nullptr, 1, 1,
       0, "0.94", true, "", ""},
      {"a pattern without a gap: solid", AcDb::kLnWtByLwDefault, AcDb::kLnWtByLwDefault, "NOGAP", nullptr, 1, 1, 0,
       "0.94", true, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto* db = new AcDbDatabase(true);
    ASSERT_EQ(db->loadLineTypeFile("*", lin.c_str()), Acad::eOk);
    db->setLtscale(c.ltscale);
    AcDbEntity* e = nullptr;
    if (c.width > 0) {
      auto* pl = new AcDbPolyline(2);
      pl->addVertexAt(0, AcGePoint2d(0, 0), 0, c.width, c.width);
      pl->addVertexAt(1, AcGePoint2d(40, 0), 0, c.width, c.width);
      e = pl;
    } else {
      e = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(40, 0, 0));
    }
    e->setDatabaseDefaults(db);
    setLayer(db, e, "lines", c.layer, c.layerLinetype);
    e->setLineWeight(c.own);
    if (c.linetype) {
      ASSERT_EQ(e->setLinetype(linetypeOf(db, c.linetype)), Acad::eOk);
    }
    e->setLinetypeScale(c.linetypeScale);
    dwgtest::addToModelSpace(db, e);

    platform::SvgOptions options;
    options.plotScale = kTenPixels;
    const std::vector<Element> shapes = shapesOf(platform::svgOfModelSpace(*db, options));
    ASSERT_EQ(shapes.size(), 1u);
    const auto& a = shapes[0].attrs;
    EXPECT_EQ(a.count("stroke-width") ? a.at("stroke-width") : "", c.strokeWidth);
    EXPECT_EQ(a.count("vector-effect") ? a.at("vector-effect") : "", c.nonScaling ? "non-scaling-stroke" : "");
    EXPECT_EQ(a.count("stroke-dasharray") ? a.at("stroke-dasharray") : "", c.dashes);
    EXPECT_EQ(a.count("stroke-dashoffset") ? a.at("stroke-dashoffset") : "", c.offset);
    delete db;
  }
}

// Colours by index on the white page: those lighter than 0.55 (by
// 0.2126 R + 0.7152 G + 0.0722 B over 255) darkened to it, their hue kept:
// yellow 0.9278, times 0.55 / 0.9278 = 151; green 0.7152, 196; cyan 0.7874,
// 178; red and blue as they are; 7 black.
TEST_F(SvgExport, LightColoursAreDarkenedOnTheWhitePage) {
  const std::vector<std::pair<int, std::string>> cases = {
      {1, "#FF0000"}, {2, "#979700"}, {3, "#00C400"}, {4, "#00B2B2"}, {5, "#0000FF"}, {7, "#000000"}};
  for (const auto& [color, expected] : cases) {
    SCOPED_TRACE(color);
    auto* db = new AcDbDatabase(true);
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    line->setColorIndex(static_cast<Adesk::UInt16>(color));
    dwgtest::addToModelSpace(db, line);
    const std::vector<Element> shapes = shapesOf(platform::svgOfModelSpace(*db));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].attrs.at("stroke"), expected);
    delete db;
  }
}

// The control codes of drawing texts, as shown.
TEST(TextCodes, CodesBecomeTheirCharactersAndDecorations) {
  struct Case {
    const char* text;
    // Each run as its text with "_" before it when underlined and "^" when overlined.
    std::vector<std::string> runs;
  };
  const std::vector<Case> cases = {
      {"62%%d52'55.00\"", {"62°52'55.00\""}},
      {"%%c20 %%p0.5 100%%%", {"⌀20 ±0.5 100%"}},
      {"%%D%%C%%P", {"°⌀±"}},
      {"a%%ub%%uc", {"a", "_b", "c"}},
      {"%%Oab%%uc%%o%%Ud", {"^ab", "_^c", "d"}},
      {"50%%", {"50%%"}},
      {"%%x%%d", {"%%x°"}},
      {"%%u%%u", {}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::string> got;
    for (const platform::TextRun& r : platform::shownTextRuns(c.text))
      got.push_back(std::string(r.underline ? "_" : "") + (r.overline ? "^" : "") + r.text);
    EXPECT_EQ(got, c.runs);
  }
  EXPECT_EQ(platform::shownText("az-18%%d24'10\""), "az-18°24'10\"");
}

// A text is drawn with its codes shown, underlined and overlined stretches as
// decorated spans, at a font size of 1.4 times its height (the height of the
// capitals) and narrowed by its width factor over 1.4.
TEST_F(SvgExport, TextsShowTheirControlCodes) {
  add(new AcDbText(AcGePoint3d(0, 0, 0), "%%u12%%u%%d%%o3%%o%%c%%p%%%&", AcDbObjectId::kNull, 2.0, 0));
  platform::SvgOptions options;
  options.plotScale = kTenPixels;
  const std::vector<Element> shapes = shapesOf(platform::svgOfModelSpace(*db(), options));
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].tag, "text");
  EXPECT_EQ(shapes[0].content,
            "<tspan text-decoration=\"underline\">12</tspan>°<tspan text-decoration=\"overline\">3</tspan>⌀±%&amp;");
  EXPECT_EQ(shapes[0].attrs.at("font-size"), "28");  // 2 x 1.4 x 10 px
  EXPECT_NE(shapes[0].attrs.at("transform").find("scale(0.714286 1)"), std::string::npos)
      << shapes[0].attrs.at("transform");
}

// At a plot scale 1:N a drawing unit is 1000 / N mm: a line 100 x 50 units
// with 5 mm margins is a page of 110 x 60 mm at 1:1000 and 60 x 35 mm at
// 1:2000; without a scale, or with one that would make the sheet larger
// than a kilometre (with a note), the drawing is fitted into 1000 px
// (margins of 20 px). The page's y runs downwards: at 1:1000 (3.7795 px a
// unit, margin 18.898 px) (0, 0) is at (18.898, 18.898 + 50 x 3.7795 =
// 207.874).
TEST_F(SvgExport, APlotScaleSizesThePage) {
  add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 50, 0)));
  struct Case {
    double scale;
    const char* width;
    const char* height;
    const char* viewBox;
    const char* points;
  };
  const std::vector<Case> cases = {
      {1000, "110mm", "60mm", "0 0 415.748 226.772", "18.898,207.874 396.85,18.898"},
      {2000, "60mm", "35mm", "0 0 226.772 132.283", "18.898,113.386 207.874,18.898"},
      {0, "275.167mm", "142.875mm", "0 0 1040 540", "20,520 1020,20"},
      // A sheet of more than a kilometre (100 units at 1:1e-4 are 1000 km): fitted, with a note.
      {1e-4, "275.167mm", "142.875mm", "0 0 1040 540", "20,520 1020,20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    platform::SvgOptions options;
    options.plotScale = c.scale;
    platform::TranscriptCapture shown;
    const std::vector<Element> all = elementsOf(platform::svgOfModelSpace(*db(), options));
    EXPECT_EQ(shown.contains("SVG: at 1:0.0001 the drawing would be 1000 km long; it is fitted into 1000 pixels"),
              c.scale == 1e-4)
        << shown.text();
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].tag, "svg");
    EXPECT_EQ(all[0].attrs.at("width"), c.width);
    EXPECT_EQ(all[0].attrs.at("height"), c.height);
    EXPECT_EQ(all[0].attrs.at("viewBox"), c.viewBox);
    const std::vector<Element> shapes = shapesOf(platform::svgOfModelSpace(*db(), options));
    ASSERT_EQ(shapes.size(), 1u);
    EXPECT_EQ(shapes[0].attrs.at("points"), c.points);
  }
}

// A drawing so small that 1000 pixels over its length are beyond the
// numbers (a line 1e-306 units long), or a scale whose drawing unit is
// (1:1e-310, given directly), is drawn as a drawing of no size is: one pixel
// a unit, its line at the margin's corner (20, 20) of a page 40 x 40 px
// (40 x 25.4 / 96 = 10.583 mm), with nothing left out.
TEST_F(SvgExport, ADrawingTooSmallForItsPixelsIsDrawnAsOneOfNoSize) {
  struct Case {
    const char* what;
    AcGePoint3d from, to;
    double scale;
  };
  const std::vector<Case> cases = {
      {"a line 1e-306 long", {0, 0, 0}, {1e-306, 0, 0}, 0},
      {"a line 1e-306 high", {0, 0, 0}, {0, 1e-306, 0}, 0},
      {"a slanted line 5e-307 long each way", {0, 0, 0}, {5e-307, 5e-307, 0}, 0},
      {"a line 1e-306 long at 1:1e-310", {0, 0, 0}, {1e-306, 0, 0}, 1e-310},
      {"a line of no length at 1:1e-310", {0, 0, 0}, {0, 0, 0}, 1e-310},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const AcDbObjectId id = add(new AcDbLine(c.from, c.to));
    platform::SvgOptions options;
    options.plotScale = c.scale;
    platform::TranscriptCapture shown;
    const std::string svg = platform::svgOfModelSpace(*db(), options);
    EXPECT_FALSE(shown.contains("left out")) << shown.text();
    EXPECT_EQ(svg.find("nan"), std::string::npos) << svg;
    EXPECT_EQ(svg.find("inf"), std::string::npos) << svg;
    const std::vector<Element> all = elementsOf(svg);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all[0].attrs.at("viewBox"), "0 0 40 40");
    EXPECT_EQ(all[0].attrs.at("width"), "10.583mm");
    const std::vector<Element> shapes = shapesOf(svg);
    ASSERT_EQ(shapes.size(), 1u) << svg;
    EXPECT_EQ(shapes[0].attrs.at("points"), "20,20 20,20");
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenObject(e, id, AcDb::kForWrite), Acad::eOk);
    e->erase();
    e->close();
  }
}

// A plot scale is 1:N (or N alone where allowed) with N from 1e-6 (a drawing
// unit 1000 km on the page) to 1e18; a scale beyond, whose drawing unit the
// page's numbers cannot hold (1000 / 1e-310 is past the largest double), is
// refused as one that is no number is.
TEST(PlotScale, OnlyScalesThePageCanHoldAreTaken) {
  struct Case {
    const char* text;
    bool bare;
    bool taken;
    double scale;
  };
  const std::vector<Case> cases = {
      {"1:500", false, true, 500},
      {"500", true, true, 500},
      {"500", false, false, 0},
      {"1:0.5", false, true, 0.5},
      {"1:1e-6", false, true, 1e-6},
      {"1:1e18", false, true, 1e18},
      {"1:1e-310", false, false, 0},
      {"1e-310", true, false, 0},
      {"1:1e-300", false, false, 0},
      {"1:1e-7", false, false, 0},
      {"1:1e19", false, false, 0},
      {"1:1e308", false, false, 0},
      {"1:0", false, false, 0},
      {"1:-5", false, false, 0},
      {"1:x", false, false, 0},
      {"1:inf", false, false, 0},
      {"1:nan", false, false, 0},
  };
  for (const Case& c : cases) {
    double scale = 0;
    EXPECT_EQ(platform::parsePlotScale(c.text, c.bare, scale), c.taken) << c.text;
    EXPECT_EQ(scale, c.scale) << c.text;
  }
}

// A strip of sheets at 1:1000 (1 unit = 1 mm): six columns 100 mm wide and
// 200 mm high, 50 mm apart, and above them (a band of its own) one more.
// Pages hold at most 410 mm of columns: the top band is the first page
// (110 mm with its margins), the strip two pages of three columns each
// (350 + 50 = 400 mm, 410 mm with the margins); the pages stand one below
// the other, 10 mm apart: 3 x 210 + 2 x 10 = 650 mm.
TEST_F(SvgExport, AStripOfSheetsIsLaidOutInPages) {
  auto column = [&](double x, double y) {
    auto* pl = new AcDbPolyline(4);
    pl->addVertexAt(0, AcGePoint2d(x, y));
    pl->addVertexAt(1, AcGePoint2d(x + 100, y));
    pl->addVertexAt(2, AcGePoint2d(x + 100, y + 200));
    pl->addVertexAt(3, AcGePoint2d(x, y + 200));
    pl->setClosed(true);
    add(pl);
  };
  for (int i = 0; i < 6; ++i) column(150.0 * i, 0);
  column(300, 2500);
  platform::SvgOptions options;
  options.plotScale = 1000;
  const std::string svg = platform::svgOfModelSpace(*db(), options);
  const std::vector<Element> all = elementsOf(svg);
  ASSERT_FALSE(all.empty());
  EXPECT_EQ(all[0].attrs.at("width"), "410mm");
  EXPECT_EQ(all[0].attrs.at("height"), "650mm");
  struct PageBox {
    double y, width, height;  // mm
  };
  const std::vector<PageBox> expected = {{0, 110, 210}, {220, 410, 210}, {440, 410, 210}};
  std::vector<PageBox> pages;
  for (const Element& e : all)
    if (e.tag == "rect" && e.attrs.count("class") && e.attrs.at("class") == "page")
      pages.push_back({number(e.attrs.at("y")) / kPxPerMm, number(e.attrs.at("width")) / kPxPerMm,
                       number(e.attrs.at("height")) / kPxPerMm});
  ASSERT_EQ(pages.size(), expected.size());
  for (size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(pages[i].y, expected[i].y, 0.01);
    EXPECT_NEAR(pages[i].width, expected[i].width, 0.01);
    EXPECT_NEAR(pages[i].height, expected[i].height, 0.01);
  }
  // The columns in page order, each by its left and top corner (mm): the
  // band's column, then 0, 150, 300 and 450, 600, 750 from each page's margin.
  const std::vector<std::pair<double, double>> corners = {{5, 5},   {5, 225},   {155, 225}, {305, 225},
                                                          {5, 445}, {155, 445}, {305, 445}};
  const std::vector<Element> shapes = shapesOf(svg);
  ASSERT_EQ(shapes.size(), corners.size());
  for (size_t i = 0; i < shapes.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(shapes[i].tag, "polygon");
    double left = 1e9, top = 1e9;
    std::istringstream points(shapes[i].attrs.at("points"));
    std::string pair;
    while (points >> pair) {
      left = std::min(left, number(pair.substr(0, pair.find(','))) / kPxPerMm);
      top = std::min(top, number(pair.substr(pair.find(',') + 1)) / kPxPerMm);
    }
    EXPECT_NEAR(left, corners[i].first, 0.01);
    EXPECT_NEAR(top, corners[i].second, 0.01);
  }
}

}  // namespace
