// Custom entities in drawing files: their filed fields, proxies when the class
// is missing, safe type names, and the export for viewing.
#include <gtest/gtest.h>

#include "arx/dbproxy.h"
#include "arx/dxffile.h"
#include "dwg_custom_entity.h"
#include "dwg_fixture.h"

namespace {

AcGePoint3d P(double x, double y, double z = 0) { return AcGePoint3d(x, y, z); }

class CustomFileTest : public dwgtest::CustomDrawingTest {
 protected:
  AcDbObjectId addMarker(const std::string& label) {
    auto* m = new TestMarker();
    m->points = {P(0, 0), P(1.5, -2.25, 0.1), P(1e-7, 123456.789)};
    m->value = 0.1 + 0.2;  // a value with no short decimal form
    m->label = label;
    m->setColorIndex(6);
    return add(m);
  }
  // The marker's fields, read through a fresh open.
  static std::string fieldsOf(AcDbObjectId id) {
    TestMarker* m = nullptr;
    if (acdbOpenObject(m, id, AcDb::kForRead) != Acad::eOk) return "not a TestMarker";
    std::string s = std::to_string(m->points.size());
    for (const auto& p : m->points)
      s += " " + platform::formatDouble(p.x) + "," + platform::formatDouble(p.y) + "," + platform::formatDouble(p.z);
    s += " " + platform::formatDouble(m->value) + " '" + m->label + "' c" + std::to_string(m->colorIndex());
    m->close();
    return s;
  }
};

TEST_F(CustomFileTest, FieldsAreWrittenByTheGroupCodeRuleAndReadBack) {
  AcDbObjectId id = addMarker("边坡 1:1.5");
  std::string expected = fieldsOf(id);
  std::string file = path("custom.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  std::string bytes = dwgtest::readBytes(file);
  // The class in CLASSES, then the entity: its marker and the fields in
  // filing order: 90 count, 10/20/30 per point, 40 the double, 1 the string.
  EXPECT_NE(bytes.find("  0\r\nCLASS\r\n  1\r\nTESTMARKER\r\n  2\r\nTestMarker\r\n  3\r\nTestApp\r\n 90\r\n0\r\n"),
            std::string::npos);
  std::string fields =
      "100\r\nTestMarker\r\n 90\r\n3\r\n"
      " 10\r\n0\r\n 20\r\n0\r\n 30\r\n0\r\n"
      " 10\r\n1.5\r\n 20\r\n-2.25\r\n 30\r\n0.1\r\n"
      " 10\r\n1e-07\r\n 20\r\n123456.789\r\n 30\r\n0\r\n"
      " 40\r\n0.30000000000000004\r\n"
      "  1\r\n\xB1\xDF\xC6\xC2 1:1.5\r\n  0\r\n";
  EXPECT_NE(bytes.find(fields), std::string::npos);
  EXPECT_NE(bytes.find("  0\r\nTESTMARKER\r\n"), std::string::npos);

  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  AcDbObjectId backId;
  ASSERT_EQ(back->getAcDbObjectId(backId, false, id.handle()), Acad::eOk);
  EXPECT_EQ(fieldsOf(backId), expected);
  delete back;
}

TEST_F(CustomFileTest, LongStringsAreCutIntoGroupsAndJoinedAgain) {
  std::string label;
  for (int i = 0; i < 120; ++i) label += "里程K" + std::to_string(i) + ";";
  AcDbObjectId id = addMarker(label);
  std::string file = path("long.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  std::string bytes = dwgtest::readBytes(file);
  // Every value line of the file stays within 250 bytes.
  size_t start = 0, longest = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    longest = std::max(longest, end - start);
    start = end + 2;
  }
  EXPECT_LE(longest, 250u);
  EXPECT_NE(bytes.find("  3\r\n"), std::string::npos);
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  AcDbObjectId backId;
  back->getAcDbObjectId(backId, false, id.handle());
  TestMarker* m = nullptr;
  ASSERT_EQ(acdbOpenObject(m, backId, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(m->label, label);
  m->close();
  delete back;
}

TEST_F(CustomFileTest, UnloadedClassLeavesAProxyThatComesBackWhole) {
  AcDbObjectId id = addMarker("DK1+200");
  std::string expected = fieldsOf(id);
  std::string withClass = path("with_class.dxf");
  ASSERT_EQ(db()->saveAs(withClass.c_str()), Acad::eOk);

  // The module goes: the entity in memory becomes a proxy with its data.
  dwgtest::unregisterTestClasses();
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  auto* proxy = AcDbProxyEntity::cast(e);
  ASSERT_NE(proxy, nullptr);
  EXPECT_STREQ(proxy->originalClassName(), "TestMarker");
  EXPECT_STREQ(proxy->originalDxfName(), "TESTMARKER");
  EXPECT_EQ(proxy->colorIndex(), 6);
  EXPECT_EQ(proxy->filedData().front(), (platform::DxfTag{90, "3"}));
  // It still shows what it drew: its extents are those of its points.
  AcDbExtents ext;
  ASSERT_EQ(proxy->getGeomExtents(ext), Acad::eOk);
  EXPECT_NEAR(ext.maxPoint().y, 123456.789, 1e-6);
  e->close();

  // Saved without the class, the file is the same as with it.
  std::string withoutClass = path("without_class.dxf");
  ASSERT_EQ(db()->saveAs(withoutClass.c_str()), Acad::eOk);
  EXPECT_EQ(dwgtest::firstDifference(dwgtest::readBytes(withClass), dwgtest::readBytes(withoutClass)), "");

  // Read without the class: a proxy too.
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(withClass.c_str()), Acad::eOk);
  AcDbObjectId backId;
  ASSERT_EQ(back->getAcDbObjectId(backId, false, id.handle()), Acad::eOk);
  EXPECT_EQ(fieldsOf(backId), "not a TestMarker");

  // The module comes back: opening brings back the class with its fields.
  dwgtest::registerTestClasses();
  EXPECT_EQ(fieldsOf(id), expected);
  EXPECT_EQ(fieldsOf(backId), expected);
  delete back;
}

TEST_F(CustomFileTest, UnsafeDxfNamesAreWrittenUnderSafeNames) {
  auto* note = new TestNote();
  note->height = 2.5;
  AcDbObjectId noteId = add(note);
  auto* earth = new TestEarth();
  earth->depth = -3.75;
  AcDbObjectId earthId = add(earth);
  EXPECT_STREQ(TestNote::desc()->dxfName(), "0");
  EXPECT_STREQ(TestEarth::desc()->dxfName(), "EarthLine");

  std::string file = path("names.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  std::string bytes = dwgtest::readBytes(file);
  EXPECT_NE(bytes.find("  0\r\nCLASS\r\n  1\r\nTESTNOTE\r\n  2\r\nTestNote\r\n  3\r\nTestApp\r\n  4\r\n0\r\n 90\r\n1023\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("  1\r\nTESTEARTH\r\n  2\r\nTestEarth\r\n  3\r\nTestApp\r\n  4\r\nEarthLine\r\n"),
            std::string::npos);
  EXPECT_NE(bytes.find("  0\r\nTESTNOTE\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("  0\r\nTESTEARTH\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("  0\r\n0\r\n"), std::string::npos);
  EXPECT_EQ(bytes.find("  0\r\nEarthLine\r\n"), std::string::npos);

  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  AcDbObjectId id;
  ASSERT_EQ(back->getAcDbObjectId(id, false, noteId.handle()), Acad::eOk);
  TestNote* n = nullptr;
  ASSERT_EQ(acdbOpenObject(n, id, AcDb::kForRead), Acad::eOk);
  EXPECT_DOUBLE_EQ(n->height, 2.5);
  n->close();
  ASSERT_EQ(back->getAcDbObjectId(id, false, earthId.handle()), Acad::eOk);
  TestEarth* t = nullptr;
  ASSERT_EQ(acdbOpenObject(t, id, AcDb::kForRead), Acad::eOk);
  EXPECT_DOUBLE_EQ(t->depth, -3.75);
  t->close();

  // Without the classes the proxies keep the registered names.
  dwgtest::unregisterTestClasses();
  auto* bare = new AcDbDatabase(false);
  ASSERT_EQ(bare->readDwgFile(file.c_str()), Acad::eOk);
  ASSERT_EQ(bare->getAcDbObjectId(id, false, noteId.handle()), Acad::eOk);
  AcDbProxyEntity* p = nullptr;
  ASSERT_EQ(acdbOpenObject(p, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(p->originalDxfName(), "0");
  EXPECT_EQ(p->proxyFlags(), 1023);
  p->close();
  // And they are written back the same way.
  ASSERT_EQ(platform::writeDxf(*bare, path("names2.dxf")), Acad::eOk);
  EXPECT_EQ(dwgtest::firstDifference(bytes, dwgtest::readBytes(path("names2.dxf"))), "");
  delete bare;
  delete back;
}

TEST_F(CustomFileTest, TextsEndAtANulByte) {
  // A class name that holds a NUL before its text is no name (as a C string
  // it is empty): the class record is left out and its entity is read by the
  // registered class of its type, so that the drawing saved again reads the
  // same. A layer name ends at its NUL, written as a byte or as "^@".
  const struct {
    const char* name;
    std::string className;
    std::string layer;
  } cases[] = {
      {"NUL bytes", std::string("\0\0TestMarker", 12), std::string("AB\0CD", 5)},
      {"caret NUL", "^@TestMarker", "AB^@CD"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text =
        "  0\r\nSECTION\r\n  2\r\nCLASSES\r\n  0\r\nCLASS\r\n  1\r\nTESTMARKER\r\n  2\r\n" + c.className +
        "\r\n  3\r\nTestApp\r\n 90\r\n0\r\n  0\r\nENDSEC\r\n"
        "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nTESTMARKER\r\n  5\r\n2A\r\n100\r\nAcDbEntity\r\n  8\r\n" +
        c.layer +
        "\r\n100\r\nTestMarker\r\n 90\r\n1\r\n 10\r\n1.5\r\n 20\r\n2.5\r\n 30\r\n0\r\n 40\r\n0.5\r\n  1\r\nx\r\n"
        "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    auto* first = new AcDbDatabase(false);
    std::string error;
    ASSERT_EQ(platform::readDxfFromString(*first, text, error), Acad::eOk) << error;
    AcDbObjectId id;
    ASSERT_EQ(first->getAcDbObjectId(id, false, AcDbHandle(0x2A)), Acad::eOk);
    EXPECT_EQ(fieldsOf(id), "1 1.5,2.5,0 0.5 'x' c256");
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
    EXPECT_STREQ(e->layer(), "AB");
    e->close();

    const std::string saved = platform::writeDxfToString(*first);
    auto* again = new AcDbDatabase(false);
    ASSERT_EQ(platform::readDxfFromString(*again, saved, error), Acad::eOk) << error;
    ASSERT_EQ(again->getAcDbObjectId(id, false, AcDbHandle(0x2A)), Acad::eOk);
    EXPECT_EQ(fieldsOf(id), "1 1.5,2.5,0 0.5 'x' c256");
    delete again;
    delete first;
  }
}

TEST_F(CustomFileTest, ExportForViewingDrawsCustomEntitiesAsPlainOnes) {
  AcDbObjectId layer = dwgtest::addLayer(db(), "Hdm", 4);
  auto* m = new TestMarker();
  m->points = {P(0, 0), P(10, 0), P(10, 5)};
  m->label = "设计线";
  m->setLayer(layer);
  add(m);
  add(new AcDbLine(P(0, 0), P(-5, -5)));
  std::string file = path("view.dxf");
  ASSERT_EQ(platform::exportViewDxf(*db(), file), Acad::eOk);
  std::string bytes = dwgtest::readBytes(file);
  EXPECT_EQ(bytes.find("TESTMARKER"), std::string::npos);
  EXPECT_EQ(bytes.find("CLASS\r\n"), std::string::npos);

  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  std::vector<std::string> kinds;
  for (AcDbObjectId id : dwgtest::modelSpaceIds(back)) {
    AcDbEntity* e = nullptr;
    acdbOpenAcDbEntity(e, id, AcDb::kForRead);
    kinds.push_back(std::string(e->isA()->name()) + "/" + e->layer() + "/" + std::to_string(e->colorIndex()));
    e->close();
  }
  // The marker's polyline (colour 3) and label (colour 2) on its layer, then the line.
  EXPECT_EQ(kinds, (std::vector<std::string>{"AcDbPolyline/Hdm/3", "AcDbText/Hdm/2", "AcDbLine/0/256"}));
  delete back;

  std::string svg = platform::svgOfModelSpace(*db());
  EXPECT_NE(svg.find("<polyline points=\""), std::string::npos) << svg;
  EXPECT_NE(svg.find(">设计线</text>"), std::string::npos);
  EXPECT_NE(svg.find("stroke=\"#00C400\""), std::string::npos);  // colour 3 is green (darkened on white)
  ASSERT_EQ(platform::exportSvg(*db(), path("view.svg")), Acad::eOk);
  EXPECT_EQ(dwgtest::readBytes(path("view.svg")), svg);
}

TEST(FilerTest, ReadingChecksEachValueAgainstItsGroup) {
  platform::TagFiler out;
  out.writeInt32(7);
  out.writeDouble(2.5);
  out.writePoint3d(AcGePoint3d(1, 2, 3));
  out.writeBool(true);
  out.writeInt16(-4);
  const unsigned char bytes[3] = {0x00, 0xAB, 0xFF};
  out.writeBytes(bytes, 3);
  EXPECT_EQ(out.tags()[0], (platform::DxfTag{90, "7"}));
  EXPECT_EQ(out.tags()[5], (platform::DxfTag{290, "1"}));
  EXPECT_EQ(out.tags()[7], (platform::DxfTag{310, "00ABFF"}));

  platform::TagFiler in(out.tags(), AcDb::kFileFiler, nullptr);
  Adesk::Int32 i = 0;
  double d = 0;
  AcGePoint3d p;
  Adesk::Boolean b = false;
  Adesk::Int16 s = 0;
  unsigned char back[3] = {};
  in.readInt32(&i);
  in.readDouble(&d);
  in.readPoint3d(&p);
  in.readBool(&b);
  in.readInt16(&s);
  in.readBytes(back, 3);
  EXPECT_EQ(in.filerStatus(), Acad::eOk);
  EXPECT_EQ(i, 7);
  EXPECT_EQ(d, 2.5);
  EXPECT_EQ(p, AcGePoint3d(1, 2, 3));
  EXPECT_TRUE(b);
  EXPECT_EQ(s, -4);
  EXPECT_EQ(back[1], 0xAB);
  EXPECT_TRUE(in.atEnd());

  // A double where an integer is expected, and reading past the end, are errors that stay.
  platform::TagFiler wrong(out.tags(), AcDb::kFileFiler, nullptr);
  wrong.readInt32(&i);
  wrong.readInt32(&i);
  EXPECT_EQ(wrong.filerStatus(), Acad::eFilerError);
  EXPECT_EQ(i, 0);
  platform::TagFiler shortData(platform::DxfTags{{90, "1"}}, AcDb::kFileFiler, nullptr);
  shortData.readInt32(&i);
  shortData.readDouble(&d);
  EXPECT_EQ(shortData.filerStatus(), Acad::eEndOfFile);
  // An integer out of its type's range is refused.
  platform::TagFiler range(platform::DxfTags{{70, "70000"}}, AcDb::kFileFiler, nullptr);
  range.readInt16(&s);
  EXPECT_EQ(range.filerStatus(), Acad::eFilerError);
}

// The count of proxies in memory follows every proxy made, copied and
// deleted (a save looks for proxies to revive only while there are any).
TEST(ProxyCountTest, FollowsEveryProxyMadeCopiedAndDeleted) {
  const long before = platform::ProxyCount::live();
  auto* a = new AcDbProxyEntity();
  EXPECT_EQ(platform::ProxyCount::live(), before + 1);
  AcRxObject* b = a->clone();
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(platform::ProxyCount::live(), before + 2);
  delete a;
  EXPECT_EQ(platform::ProxyCount::live(), before + 1);
  delete b;
  EXPECT_EQ(platform::ProxyCount::live(), before);
}

}  // namespace
