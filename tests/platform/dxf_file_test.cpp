// Drawings saved and opened as DXF: plain entities, tables, groups, text in
// GBK, blocks read from block drawings, bad files.
#include <gtest/gtest.h>

#include <fstream>
#include <numbers>
#include <sstream>

#include "arx/dxffile.h"
#include "crt/gbk.h"
#include "dwg_fixture.h"
#include "win/transcript.h"

namespace {

using dwgtest::DrawingTest;
constexpr double kPi = std::numbers::pi;

AcGePoint3d P(double x, double y, double z = 0) { return AcGePoint3d(x, y, z); }

// A description of an entity that two drawings can be compared by.
std::string describe(AcDbObjectId id) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return "?";
  char h[20];
  e->handle().getIntoAsciiBuffer(h, sizeof h);
  auto num = [](double v) { return platform::formatDouble(v); };
  auto pt = [&](const AcGePoint3d& p) {
    std::ostringstream o;
    o << '(' << num(p.x) << ',' << num(p.y) << ',' << num(p.z) << ')';
    return o.str();
  };
  std::ostringstream s;
  s << e->isA()->name() << ' ' << h << " layer=" << e->layer() << " lt=" << e->linetype() << " color=" << e->colorIndex()
    << " lw=" << e->lineWeight() << " lts=" << num(e->linetypeScale());
  if (auto* l = AcDbLine::cast(e)) s << ' ' << pt(l->startPoint()) << pt(l->endPoint());
  if (auto* t = AcDbText::cast(e))
    s << " '" << t->textString() << "' " << pt(t->position()) << pt(t->alignmentPoint()) << " h=" << num(t->height())
      << " wf=" << num(t->widthFactor()) << " mode=" << t->horizontalMode();
  if (auto* p = AcDbPolyline::cast(e)) {
    for (unsigned i = 0; i < p->numVerts(); ++i) {
      AcGePoint3d q;
      double b, sw, ew;
      p->getPointAt(i, q);
      p->getBulgeAt(i, b);
      p->getWidthsAt(i, sw, ew);
      s << ' ' << pt(q) << num(b) << '/' << num(sw) << '/' << num(ew);
    }
    if (p->isClosed()) s << " closed";
  }
  if (auto* r = AcDbBlockReference::cast(e)) s << " at" << pt(r->position());
  e->close();
  return s.str();
}

std::vector<std::string> describeAll(AcDbDatabase* db) {
  std::vector<std::string> out;
  for (AcDbObjectId id : dwgtest::modelSpaceIds(db)) out.push_back(describe(id));
  return out;
}

class DxfFileTest : public DrawingTest {
 protected:
  // A drawing with every plain entity kind, on layers with colours and line types.
  void buildSample() {
    ASSERT_EQ(db()->loadLineTypeFile("DASHDOTX2", "acadiso.lin"), Acad::eOk);
    dwgtest::addLayer(db(), "里程", 1);
    dwgtest::addLayer(db(), "Hdm", 3);
    auto* l = new AcDbLine(P(0, 0), P(100, 50));
    l->setLayer("里程");
    l->setColorIndex(5);
    l->setLinetype("DASHDOTX2");
    l->setLinetypeScale(0.3);
    l->setLineWeight(AcDb::kLnWt050);
    add(l);
    auto* t = new AcDbText(P(10, 20), "K12+345 里程", AcDbObjectId(), 2.5, kPi / 6);
    t->setLayer("Hdm");
    t->setWidthFactor(0.7);
    t->setHorizontalMode(AcDb::kTextMid);
    t->setAlignmentPoint(P(10, 20));
    add(t);
    auto* p = new AcDbPolyline();
    p->addVertexAt(0, AcGePoint2d(0, 0), 0, 0.5, 0.5);
    p->addVertexAt(1, AcGePoint2d(10, 0), 0.5, 0.5, 1.0);
    p->addVertexAt(2, AcGePoint2d(10, 10), 0, 1.0, 1.0);
    p->setClosed(true);
    add(p);
    AcGePoint3dArray pts;
    pts.append(P(0, 0));
    pts.append(P(5, 2));
    pts.append(P(9, -1));
    auto* p2 = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 1.5, false, 0.2, 0.2);
    p2->setColorIndex(0);
    add(p2);
    AcGePoint3dArray pts3;
    pts3.append(P(0, 0, 1));
    pts3.append(P(1, 2, 3));
    add(new AcDb3dPolyline(AcDb::k3dSimplePoly, pts3));
    add(new AcDbCircle(P(3, 3), AcGeVector3d::kZAxis, 2));
    add(new AcDbArc(P(3, 3), 4, 0.25, 2.5));
    add(new AcDbPoint(P(7, 7)));
    add(new AcDbSolid(P(0, 0), P(-0.1, 0.15), P(0.1, 0.15), P(0, 0)));
  }
};

TEST_F(DxfFileTest, SaveOpenSaveKeepsEverything) {
  buildSample();
  std::vector<std::string> before = describeAll(db());
  ASSERT_EQ(before.size(), 9u);
  std::string first = path("a.dxf"), second = path("b.dxf");
  ASSERT_EQ(db()->saveAs(first.c_str()), Acad::eOk);

  auto* reopened = new AcDbDatabase(false);
  ASSERT_EQ(reopened->readDwgFile(first.c_str()), Acad::eOk);
  EXPECT_EQ(describeAll(reopened), before);
  ASSERT_EQ(platform::writeDxf(*reopened, second), Acad::eOk);
  EXPECT_EQ(dwgtest::firstDifference(dwgtest::readBytes(first), dwgtest::readBytes(second)), "");

  // Layers and the 2-D polyline's vertices came back too.
  AcDbLayerTable* lt = nullptr;
  ASSERT_EQ(reopened->getLayerTable(lt, AcDb::kForRead), Acad::eOk);
  AcDbLayerTableRecord* layer = nullptr;
  ASSERT_EQ(lt->getAt("里程", layer, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(layer->colorIndex(), 1);
  layer->close();
  lt->close();
  AcDbObjectId polyId = dwgtest::modelSpaceIds(reopened)[3];
  AcDb2dPolyline* p2 = nullptr;
  ASSERT_EQ(acdbOpenObject(p2, polyId, AcDb::kForRead), Acad::eOk);
  EXPECT_DOUBLE_EQ(p2->elevation(), 1.5);
  EXPECT_EQ(p2->numVertices(), 3);
  AcGePoint3d end;
  p2->getEndPoint(end);
  EXPECT_TRUE(end.isEqualTo(P(9, -1, 1.5)));
  p2->close();
  delete reopened;
}

TEST_F(DxfFileTest, TextIsWrittenInGbkUnderCodePage936) {
  buildSample();
  std::string file = path("gbk.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  std::string bytes = dwgtest::readBytes(file);
  EXPECT_NE(bytes.find("$DWGCODEPAGE\r\n  3\r\nANSI_936\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("$ACADVER\r\n  1\r\nAC1015\r\n"), std::string::npos);
  // 里程 in GBK is C0 EF B3 CC; its UTF-8 form (E9 87 8C ...) is not in the file.
  EXPECT_NE(bytes.find("\xC0\xEF\xB3\xCC"), std::string::npos);
  EXPECT_EQ(bytes.find("\xE9\x87\x8C"), std::string::npos);
}

TEST_F(DxfFileTest, CharactersOutsideGbkAndControlCharactersSurvive) {
  const char* texts[] = {"a^b", "line1\nline2", "€ 5", "\xF0\x9F\x98\x80 face", "tab\there"};
  for (const char* s : texts) add(new AcDbText(P(0, 0), s, AcDbObjectId(), 1));
  std::string file = path("odd.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(back);
  ASSERT_EQ(ids.size(), std::size(texts));
  for (size_t i = 0; i < ids.size(); ++i) {
    AcDbText* t = nullptr;
    ASSERT_EQ(acdbOpenObject(t, ids[i], AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(t->textString(), texts[i]);
    t->close();
  }
  delete back;
  std::string bytes = dwgtest::readBytes(file);
  EXPECT_NE(bytes.find("line1^Jline2"), std::string::npos);
  EXPECT_NE(bytes.find("a^ b"), std::string::npos);
  EXPECT_NE(bytes.find("\\U+D83D\\U+DE00"), std::string::npos);
}

TEST_F(DxfFileTest, TablesGroupsAndHeaderSurvive) {
  db()->setLtscale(0.3);
  AcDbObjectId layerId = dwgtest::addLayer(db(), "交点", 130);
  AcDbLayerTableRecord* layer = nullptr;
  ASSERT_EQ(acdbOpenObject(layer, layerId, AcDb::kForWrite), Acad::eOk);
  layer->setIsFrozen(true);
  layer->setIsOff(true);
  layer->setLineWeight(AcDb::kLnWt050);
  layer->close();
  AcDbTextStyleTable* st = nullptr;
  ASSERT_EQ(db()->getTextStyleTable(st, AcDb::kForWrite), Acad::eOk);
  auto* style = new AcDbTextStyleTableRecord();
  style->setName("PMBZ");
  style->setFileName("宋体");
  style->setBigFontFileName("big.shx");
  style->setXScale(0.7);
  style->setObliquingAngle(0.2);
  style->setFont("宋体", false, true, 134, 2);
  AcDbObjectId styleId;
  st->add(styleId, style);
  style->close();
  st->close();
  AcDbObjectId a = add(new AcDbText(P(0, 0), "JD1", styleId, 3));
  AcDbObjectId b = add(new AcDbLine(P(0, 0), P(1, 1)));
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db()->getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
  auto* g = new AcDbGroup();
  AcDbObjectId gid;
  groups->setAt("JD1", g, gid);
  g->append(a);
  g->append(b);
  g->close();
  groups->close();

  std::string file = path("t.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  EXPECT_DOUBLE_EQ(back->ltscale(), 0.3);

  AcDbObjectId id;
  ASSERT_EQ(back->getAcDbObjectId(id, false, layerId.handle()), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(layer, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(layer->name(), "交点");
  EXPECT_EQ(layer->colorIndex(), 130);
  EXPECT_TRUE(layer->isFrozen());
  EXPECT_TRUE(layer->isOff());
  EXPECT_EQ(layer->lineWeight(), AcDb::kLnWt050);
  layer->close();

  ASSERT_EQ(back->getAcDbObjectId(id, false, styleId.handle()), Acad::eOk);
  AcDbTextStyleTableRecord* s = nullptr;
  ASSERT_EQ(acdbOpenObject(s, id, AcDb::kForRead), Acad::eOk);
  char* face = nullptr;
  Adesk::Boolean bold, italic;
  int charset, pitch;
  s->font(face, bold, italic, charset, pitch);
  EXPECT_STREQ(face, "宋体");
  delete[] face;
  EXPECT_FALSE(bold);
  EXPECT_TRUE(italic);
  EXPECT_EQ(charset, 134);
  EXPECT_EQ(pitch, 2);
  EXPECT_STREQ(s->fileName(), "宋体");
  EXPECT_STREQ(s->bigFontFileName(), "big.shx");
  EXPECT_DOUBLE_EQ(s->xScale(), 0.7);
  EXPECT_NEAR(s->obliquingAngle(), 0.2, 1e-12);
  s->close();

  AcDbDictionary* dict = nullptr;
  ASSERT_EQ(back->getGroupDictionary(dict, AcDb::kForRead), Acad::eOk);
  AcDbGroup* group = nullptr;
  AcDbObject* obj = nullptr;
  ASSERT_EQ(dict->getAt("JD1", obj, AcDb::kForRead), Acad::eOk);
  group = AcDbGroup::cast(obj);
  ASSERT_NE(group, nullptr);
  AcDbObjectIdArray ids;
  EXPECT_EQ(group->allEntityIds(ids), 2u);
  EXPECT_EQ(ids[0].handle(), a.handle());
  EXPECT_EQ(ids[1].handle(), b.handle());
  group->close();
  dict->close();
  delete back;
}

TEST_F(DxfFileTest, BlockDrawingIsInsertedAsABlock) {
  // A block drawing saved as .dxf; the plug-ins ask for the .dwg of that name.
  auto* blockDb = new AcDbDatabase(true);
  blockDb->setInsbase(P(1, 1));
  dwgtest::addLayer(blockDb, "flag", 2);
  auto* l = new AcDbLine(P(1, 1), P(1, 5));
  l->setDatabaseDefaults(blockDb);
  AcDbObjectId flagLayer;
  {
    AcDbLayerTable* lt = nullptr;
    blockDb->getLayerTable(lt, AcDb::kForRead);
    lt->getAt("flag", flagLayer);
    lt->close();
  }
  l->setLayer(flagLayer);
  dwgtest::addToModelSpace(blockDb, l);
  dwgtest::addToModelSpace(blockDb, new AcDbCircle(P(1, 5), AcGeVector3d::kZAxis, 0.5));
  ASSERT_EQ(blockDb->saveAs(path("31014.dwg").c_str()), Acad::eOk);  // written as 31014.dxf
  delete blockDb;
  EXPECT_TRUE(std::filesystem::exists(path("31014.dxf")));

  auto* side = new AcDbDatabase(false);
  ASSERT_EQ(side->readDwgFile(path("31014.dwg").c_str(), _SH_DENYNO), Acad::eOk);
  AcDbObjectId blockId;
  ASSERT_EQ(db()->insert(blockId, "31014", side), Acad::eOk);
  delete side;
  AcDbObjectId refId = add(new AcDbBlockReference(P(100, 0), blockId));

  AcDbBlockTableRecord* block = nullptr;
  ASSERT_EQ(acdbOpenObject(block, blockId, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(block->name(), "31014");
  EXPECT_TRUE(block->origin().isEqualTo(P(1, 1)));
  EXPECT_EQ(block->entityStubs().size(), 2u);
  block->close();
  AcDbLayerTable* lt = nullptr;
  db()->getLayerTable(lt, AcDb::kForRead);
  EXPECT_TRUE(lt->has("flag"));  // the layer came with the block
  lt->close();

  // The reference shows the block moved from its base point to the position.
  AcDbEntity* ref = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(ref, refId, AcDb::kForRead), Acad::eOk);
  AcDbExtents ext;
  ASSERT_EQ(ref->getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.minPoint().x, 99.5, 1e-9);
  EXPECT_NEAR(ext.maxPoint().y, 4.5, 1e-9);
  AcDbVoidPtrArray parts;
  ASSERT_EQ(ref->explode(parts), Acad::eOk);
  ASSERT_EQ(parts.length(), 2);
  EXPECT_TRUE(static_cast<AcDbLine*>(parts[0])->endPoint().isEqualTo(P(100, 4)));
  for (void* p : parts) delete static_cast<AcDbEntity*>(p);
  ref->close();

  // Saved and opened again, the reference still names its block.
  ASSERT_EQ(db()->saveAs(path("with_block.dxf").c_str()), Acad::eOk);
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(path("with_block.dxf").c_str()), Acad::eOk);
  std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(back);
  ASSERT_EQ(ids.size(), 1u);
  AcDbBlockReference* r = nullptr;
  ASSERT_EQ(acdbOpenObject(r, ids[0], AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* rb = nullptr;
  ASSERT_EQ(acdbOpenObject(rb, r->blockTableRecord(), AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(rb->name(), "31014");
  EXPECT_EQ(rb->entityStubs().size(), 2u);
  rb->close();
  r->close();
  delete back;
}

TEST_F(DxfFileTest, BadFilesAreReportedAndLeaveAUsableDrawing) {
  struct Case {
    const char* name;
    std::string content;
    Acad::ErrorStatus expected;
  };
  std::string good;
  add(new AcDbLine(P(0, 0), P(1, 1)));
  db()->saveAs(path("good.dxf").c_str());
  good = dwgtest::readBytes(path("good.dxf"));
  const Case cases[] = {
      {"truncated.dxf", good.substr(0, good.size() / 2), Acad::eBadDxfSequence},
      {"words.dxf", "this is\nnot a drawing\n", Acad::eBadDxfSequence},
      {"binary.dwg", std::string("AC1015\0\0\0\0", 10), Acad::eNotADrawing},
      {"empty.dxf", "", Acad::eNotADrawing},
      {"noeof.dxf", "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n", Acad::eBadDxfSequence},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    {
      std::ofstream out(path(c.name), std::ios::binary);
      out << c.content;
    }
    platform::TranscriptCapture shown;
    auto* side = new AcDbDatabase(false);
    EXPECT_EQ(side->readDwgFile(path(c.name).c_str()), c.expected);
    EXPECT_TRUE(shown.contains(c.name)) << shown.text();
    // Still a drawing: model space takes entities.
    EXPECT_TRUE(dwgtest::modelSpaceIds(side).empty());
    dwgtest::addToModelSpace(side, new AcDbLine());
    delete side;
  }
  platform::TranscriptCapture shown;
  auto* side = new AcDbDatabase(false);
  EXPECT_EQ(side->readDwgFile(path("missing.dwg").c_str()), Acad::eFileNotFound);
  EXPECT_TRUE(shown.contains("missing.dwg"));
  delete side;
}

TEST_F(DxfFileTest, ForeignEntityTypesAreLeftOutWithANote) {
  std::string dxf =
      "  0\nSECTION\n  2\nENTITIES\n"
      "  0\nHATCH\n  5\n30\n  8\n0\n"
      "  0\nLINE\n  5\n31\n  8\nNEWLAYER\n 10\n1\n 20\n2\n 30\n0\n 11\n3\n 21\n4\n 31\n0\n"
      "  0\nENDSEC\n  0\nEOF\n";
  std::ofstream(path("foreign.dxf"), std::ios::binary) << dxf;
  platform::TranscriptCapture shown;
  auto* side = new AcDbDatabase(false);
  ASSERT_EQ(side->readDwgFile(path("foreign.dxf").c_str()), Acad::eOk);
  EXPECT_TRUE(shown.contains("1 entities of type HATCH are not kept"));
  std::vector<AcDbObjectId> ids = dwgtest::modelSpaceIds(side);
  ASSERT_EQ(ids.size(), 1u);
  EXPECT_EQ(ids[0].handle(), AcDbHandle(0x31));
  AcDbLine* l = nullptr;
  ASSERT_EQ(acdbOpenObject(l, ids[0], AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(l->layer(), "NEWLAYER");  // a layer the file lacked is made
  EXPECT_TRUE(l->endPoint().isEqualTo(P(3, 4)));
  l->close();
  // New objects take handles above the file's.
  AcDbObjectId added = dwgtest::addToModelSpace(side, new AcDbLine());
  EXPECT_GT(added.handle().value(), 0x31u);
  delete side;
}

// Escaped UTF-16 units in a text read from a file: a pair makes one character,
// a half without its partner reads as U+FFFD and never leaves invalid UTF-8.
// A drawing in survey coordinates (millions of metres) is drawn as SVG to
// the millimetre: at 1:1000 (a metre is 96 / 25.4 = 3.7795 px) a line 2.5 m
// long from (506180.123, 3385420.456) is 9.449 px long, and a line 1 mm east
// of it starts 0.0038 px further right (18.8976 + 0.0038 px, to 3 decimals).
TEST_F(DxfFileTest, SvgKeepsSurveyCoordinatesToTheMillimetre) {
  add(new AcDbLine(AcGePoint3d(506180.123, 3385420.456, 0), AcGePoint3d(506182.623, 3385420.456, 0)));
  add(new AcDbLine(AcGePoint3d(506180.124, 3385421.456, 0), AcGePoint3d(506182.624, 3385421.456, 0)));
  platform::SvgOptions options;
  options.plotScale = 1000;
  const std::string svg = platform::svgOfModelSpace(*db(), options);
  // The page's margin is 5 mm = 18.898 px; the first line lies 1 m = 3.780 px lower.
  EXPECT_NE(svg.find("points=\"18.898,22.677 28.346,22.677\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("points=\"18.901,18.898 28.35,18.898\""), std::string::npos) << svg;
}

// Text goes to GBK whole when GBK holds all of it, else character by
// character with escapes: the two ways give the same bytes where they meet.
TEST(DxfTextCodec, TextIsWrittenInGbkWithEscapesWhereGbkLacksACharacter) {
  const std::string li = "\xC0\xEF", cheng = "\xB3\xCC", zhong = "\xD6\xD0";  // 里 程 中 in GBK
  struct Case {
    std::string utf8;
    std::string file;
  } cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"\xE9\x87\x8C\xE7\xA8\x8B", li + cheng},
      {"DK1+000.50 \xE9\x87\x8C\xE7\xA8\x8B", "DK1+000.50 " + li + cheng},
      {"\xE4\xB8\xAD", zhong},
      // A character beyond GBK (and beyond U+FFFF) in the middle.
      {"\xE9\x87\x8C\xF0\x9F\x98\x80\xE7\xA8\x8B", li + "\\U+D83D\\U+DE00" + cheng},
      // A byte that starts no UTF-8 character, and the replacement character itself.
      {"\xE9\x87\x8C\xFF\xE7\xA8\x8B", li + "\\U+FFFD" + cheng},
      {"\xEF\xBF\xBD\xE4\xB8\xAD", "\\U+FFFD" + zhong},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(platform::utf8ToDxfGbk(c.utf8), c.file) << c.utf8;
}

TEST(DxfTextCodec, EscapedSurrogatesReadAsCharactersOrReplacement) {
  const std::string face = "\xF0\x9F\x98\x80", bad = "\xEF\xBF\xBD";
  struct Case {
    const char* file;
    std::string text;
  } cases[] = {
      {"\\U+D83D\\U+DE00", face},
      {"\\U+4E2D", "\xE4\xB8\xAD"},
      {"\\U+D83D", bad},
      {"a\\U+D83Db", "a" + bad + "b"},
      {"\\U+DE00x", bad + "x"},
      {"\\U+D83D\\U+D83D\\U+DE00", bad + face},
      {"\\U+D83D\\U+0041", bad + "A"},
  };
  for (const Case& c : cases) {
    std::string text = platform::dxfGbkToUtf8(c.file);
    EXPECT_EQ(text, c.text) << c.file;
    EXPECT_TRUE(platform::isValidUtf8(text)) << c.file;
  }
}

}  // namespace
