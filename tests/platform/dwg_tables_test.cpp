// Symbol tables, line-type files, groups, dictionaries and header values.
#include <gtest/gtest.h>

#include <fstream>

#include "arx/dbdatabase.h"
#include "crt/paths.h"
#include "dwg_fixture.h"

namespace {

using dwgtest::DrawingTest;

class TablesTest : public DrawingTest {};

TEST_F(TablesTest, NewDrawingHasTheStandardRecords) {
  AcDbBlockTable* bt = nullptr;
  ASSERT_EQ(db()->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(bt->has(ACDB_MODEL_SPACE));
  EXPECT_TRUE(bt->has("*MODEL_SPACE"));  // names compare without case
  EXPECT_TRUE(bt->has(ACDB_PAPER_SPACE));
  bt->close();
  AcDbLinetypeTable* lt = nullptr;
  ASSERT_EQ(db()->getLinetypeTable(lt, AcDb::kForRead), Acad::eOk);
  for (const char* n : {"ByBlock", "BYLAYER", "continuous"}) EXPECT_TRUE(lt->has(n)) << n;
  lt->close();
  AcDbLayerTable* layers = nullptr;
  ASSERT_EQ(db()->getLayerTable(layers, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(layers->has("0"));
  EXPECT_EQ(layers->objectId(), db()->layerTableId());
  layers->close();
  EXPECT_EQ(db()->ltscale(), 1.0);
  EXPECT_EQ(db()->setLtscale(0.3), Acad::eOk);
  EXPECT_EQ(db()->ltscale(), 0.3);
  EXPECT_EQ(db()->setLtscale(0), Acad::eInvalidInput);
  EXPECT_EQ(db()->ltscale(), 0.3);
}

TEST_F(TablesTest, LayerRecordsKeepTheirProperties) {
  AcDbLayerTable* lt = nullptr;
  ASSERT_EQ(db()->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
  auto* rec = new AcDbLayerTableRecord();
  ASSERT_EQ(rec->setName("左线交点"), Acad::eOk);
  AcCmColor c;
  c.setColorIndex(130);
  EXPECT_EQ(rec->setColor(c), Acad::eOk);
  EXPECT_EQ(rec->setColorIndex(256), Acad::eInvalidInput);  // by layer means nothing for a layer
  rec->setLineWeight(AcDb::kLnWt050);
  rec->setIsOff(true);
  rec->setIsLocked(true);
  rec->setLinetypeObjectId(db()->continuousLinetype());
  AcDbObjectId id;
  ASSERT_EQ(lt->add(id, rec), Acad::eOk);
  rec->close();
  // The same name in other ASCII case is a duplicate; a new name is not.
  auto* dup = new AcDbLayerTableRecord();
  dup->setName("0");
  EXPECT_EQ(lt->add(dup), Acad::eDuplicateRecordName);
  delete dup;
  lt->close();

  AcDbLayerTableRecord* r = nullptr;
  ASSERT_EQ(acdbOpenObject(r, id, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(r->name(), "左线交点");
  EXPECT_EQ(r->colorIndex(), 130);
  EXPECT_EQ(r->lineWeight(), AcDb::kLnWt050);
  EXPECT_TRUE(r->isOff());
  EXPECT_TRUE(r->isLocked());
  EXPECT_FALSE(r->isFrozen());
  r->close();
}

TEST_F(TablesTest, RecordNamesAreChecked) {
  struct Case {
    const char* name;
    bool valid;
  };
  const Case cases[] = {
      {"Hdm", true},      {"左线绕行段里程", true}, {"31014", true},  {"a b", true},
      {"", false},        {"a/b", false},          {"a:b", false},  {"a*b", false},
      {"*Model_Space", true}, {"x\ty", false},     {"a,b", false},  {"a=b", false},
  };
  for (const Case& c : cases) EXPECT_EQ(acdbIsValidSymbolName(c.name), c.valid) << c.name;
  auto* rec = new AcDbLayerTableRecord();
  EXPECT_EQ(rec->setName("bad|name"), Acad::eInvalidInput);
  delete rec;
}

TEST_F(TablesTest, RenamingKeepsTheIndexRight) {
  AcDbObjectId a = dwgtest::addLayer(db(), "A", 1);
  dwgtest::addLayer(db(), "B", 2);
  AcDbLayerTableRecord* r = nullptr;
  ASSERT_EQ(acdbOpenObject(r, a, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(r->setName("b"), Acad::eDuplicateRecordName);
  EXPECT_EQ(r->setName("C"), Acad::eOk);
  r->close();
  AcDbLayerTable* lt = nullptr;
  ASSERT_EQ(db()->getLayerTable(lt, AcDb::kForRead), Acad::eOk);
  EXPECT_FALSE(lt->has("A"));
  AcDbObjectId found;
  EXPECT_EQ(lt->getAt("c", found), Acad::eOk);
  EXPECT_EQ(found, a);
  // Iteration in the order of adding, erased records skipped.
  AcDbLayerTableIterator* it = nullptr;
  lt->newIterator(it);
  std::vector<std::string> names;
  for (; !it->done(); it->step()) {
    AcDbLayerTableRecord* rec = nullptr;
    ASSERT_EQ(it->getRecord(rec, AcDb::kForRead), Acad::eOk);
    names.emplace_back(rec->name());
    rec->close();
  }
  delete it;
  lt->close();
  EXPECT_EQ(names, (std::vector<std::string>{"0", "C", "B"}));
}

TEST_F(TablesTest, TextStyleKeepsFontData) {
  AcDbTextStyleTable* st = nullptr;
  ASSERT_EQ(db()->getTextStyleTable(st, AcDb::kForWrite), Acad::eOk);
  auto* rec = new AcDbTextStyleTableRecord();
  rec->setName("PMBZ");
  rec->setFileName("宋体");
  rec->setBigFontFileName("gbcbig.shx");
  rec->setXScale(0.7);
  rec->setObliquingAngle(0.1);
  EXPECT_EQ(rec->setFont("宋体", false, false, 134, 2), Acad::eOk);
  EXPECT_EQ(rec->setFont("宋体", false, false, 300, 2), Acad::eInvalidInput);
  AcDbObjectId id;
  ASSERT_EQ(st->add(id, rec), Acad::eOk);
  rec->close();
  st->close();
  AcDbTextStyleTableRecord* r = nullptr;
  ASSERT_EQ(acdbOpenObject(r, id, AcDb::kForRead), Acad::eOk);
  char* face = nullptr;
  Adesk::Boolean bold = true, italic = true;
  int charset = 0, pitch = 0;
  ASSERT_EQ(r->font(face, bold, italic, charset, pitch), Acad::eOk);
  EXPECT_STREQ(face, "宋体");
  delete[] face;
  EXPECT_FALSE(bold);
  EXPECT_FALSE(italic);
  EXPECT_EQ(charset, 134);
  EXPECT_EQ(pitch, 2);
  EXPECT_STREQ(r->fileName(), "宋体");
  EXPECT_DOUBLE_EQ(r->xScale(), 0.7);
  r->close();
}

// ---- line-type files ----

class LinetypeFileTest : public DrawingTest {};

TEST_F(LinetypeFileTest, LoadsFromTheInstallFolderOrSaysWhy) {
  struct Case {
    const char* type;
    const char* file;
    Acad::ErrorStatus expected;
  };
  const Case cases[] = {
      {"DASHDOTX2", "acadiso.lin", Acad::eOk},
      {"dashed", "acadiso.lin", Acad::eOk},  // names without case
      {"TUNNELMIDLINE", "acadiso.lin", Acad::eUndefinedLineType},
      {"TUNNELMIDLINE", "rail.lin", Acad::eOk},
      {"NOSUCHTYPE", "rail.lin", Acad::eUndefinedLineType},
      {"HIDDEN", "nosuch.lin", Acad::eFileNotFound},
      {"CONTINUOUS", "acadiso.lin", Acad::eOk},  // held by the drawing already
  };
  EXPECT_EQ(static_cast<int>(Acad::eUndefinedLineType), 162);
  for (const Case& c : cases) EXPECT_EQ(db()->loadLineTypeFile(c.type, c.file), c.expected) << c.type << " " << c.file;

  AcDbLinetypeTable* lt = nullptr;
  ASSERT_EQ(db()->getLinetypeTable(lt, AcDb::kForRead), Acad::eOk);
  AcDbLinetypeTableRecord* r = nullptr;
  ASSERT_EQ(lt->getAt("DASHDOTX2", r, AcDb::kForRead), Acad::eOk);
  // The double-size dash dot of the file: dash 24, gap 12, dot, gap 12.
  ASSERT_EQ(r->numDashes(), 4);
  EXPECT_DOUBLE_EQ(r->dashLengthAt(0), 24);
  EXPECT_DOUBLE_EQ(r->dashLengthAt(1), -12);
  EXPECT_DOUBLE_EQ(r->dashLengthAt(2), 0);
  EXPECT_DOUBLE_EQ(r->patternLength(), 48);
  r->close();
  EXPECT_TRUE(lt->has("TUNNELMIDLINE"));
  lt->close();
  // Once loaded, an entity takes the type by name.
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_EQ(line->setLinetype("DashDotX2"), Acad::eOk);
  EXPECT_STREQ(line->linetype(), "DASHDOTX2");
  EXPECT_EQ(line->setLinetype("NOSUCHTYPE"), Acad::eKeyNotFound);
  add(line);
}

TEST_F(LinetypeFileTest, AFileGivenWithItsFolderIsReadThroughThePathResolver) {
  // The plan plug-in names the rail file by its Windows path.
  std::string lin = path("Rail.lin");
  {
    std::ofstream out(lin, std::ios::binary);
    out << ";; test\r\n*MYTYPE,My type __ .\r\nA,5,-2.5,0,-2.5\r\n*NOPATTERN,nothing\r\n";
  }
  std::string windows = platform::toWindowsPath(lin);
  EXPECT_EQ(db()->loadLineTypeFile("MYTYPE", windows.c_str()), Acad::eOk);
  EXPECT_EQ(db()->loadLineTypeFile("*", lin.c_str()), Acad::eOk);
  AcDbLinetypeTable* lt = nullptr;
  ASSERT_EQ(db()->getLinetypeTable(lt, AcDb::kForRead), Acad::eOk);
  EXPECT_TRUE(lt->has("NOPATTERN"));
  AcDbLinetypeTableRecord* r = nullptr;
  ASSERT_EQ(lt->getAt("MYTYPE", r, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(r->comments(), "My type __ .");
  EXPECT_DOUBLE_EQ(r->patternLength(), 10);
  r->close();
  lt->close();
}

// ---- groups and dictionaries ----

class GroupTest : public DrawingTest {};

TEST_F(GroupTest, GroupDictionaryHoldsNamedGroups) {
  AcDbObjectId a = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  AcDbObjectId b = add(new AcDbText(AcGePoint3d(0, 0, 0), "JD1"));
  AcDbObjectId layer = dwgtest::addLayer(db(), "L", 1);
  AcDbDictionary* groups = nullptr;
  ASSERT_EQ(db()->getGroupDictionary(groups, AcDb::kForWrite), Acad::eOk);
  auto* g = new AcDbGroup("curve block");
  AcDbObjectId gid;
  ASSERT_EQ(groups->setAt("JD1曲线", g, gid), Acad::eOk);
  EXPECT_EQ(g->append(a), Acad::eOk);
  EXPECT_EQ(g->append(b), Acad::eOk);
  EXPECT_EQ(g->append(a), Acad::eDuplicateKey);
  EXPECT_EQ(g->append(layer), Acad::eNotThatKindOfClass);
  g->close();
  groups->close();

  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(db()->getNamedObjectsDictionary(nod, AcDb::kForRead), Acad::eOk);
  AcDbObjectId groupDictId;
  EXPECT_EQ(nod->getAt("ACAD_GROUP", groupDictId), Acad::eOk);
  EXPECT_EQ(groupDictId, db()->groupDictionaryId());
  nod->close();

  AcDbGroup* read = nullptr;
  ASSERT_EQ(acdbOpenObject(read, gid, AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(read->name(), "JD1曲线");
  AcDbObjectIdArray ids;
  EXPECT_EQ(read->allEntityIds(ids), 2u);
  EXPECT_EQ(ids[0], a);
  EXPECT_EQ(ids[1], b);
  read->close();
  // An erased member no longer counts.
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, a, AcDb::kForWrite), Acad::eOk);
  e->erase();
  e->close();
  ASSERT_EQ(acdbOpenObject(read, gid, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(read->numEntities(), 1u);
  read->close();
}

TEST_F(GroupTest, DictionaryReplacesAndRemovesEntries) {
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(db()->getNamedObjectsDictionary(nod, AcDb::kForWrite), Acad::eOk);
  auto* first = new AcDbDictionary();
  AcDbObjectId firstId, secondId;
  ASSERT_EQ(nod->setAt("MY_DATA", first, firstId), Acad::eOk);
  first->close();
  auto* second = new AcDbDictionary();
  ASSERT_EQ(nod->setAt("my_data", second, secondId), Acad::eOk);  // same key, other case
  second->close();
  EXPECT_TRUE(firstId.isErased());
  AcDbObjectId found;
  EXPECT_EQ(nod->getAt("MY_DATA", found), Acad::eOk);
  EXPECT_EQ(found, secondId);
  EXPECT_EQ(nod->remove("My_Data"), Acad::eOk);
  EXPECT_FALSE(nod->has("MY_DATA"));
  EXPECT_EQ(nod->remove("MY_DATA"), Acad::eKeyNotFound);
  AcDbDictionaryIterator* it = nod->newIterator();
  std::vector<std::string> keys;
  for (; !it->done(); it->next()) keys.emplace_back(it->name());
  delete it;
  nod->close();
  EXPECT_EQ(keys, (std::vector<std::string>{"ACAD_GROUP", "ACAD_LAYOUT"}));
}

}  // namespace
