// Saved drawings as another program sees them: ezdxf (Debian's python3-ezdxf,
// run with /usr/bin/python3) reads and audits them.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "arx/dxffile.h"
#include "dwg_custom_entity.h"
#include "dwg_fixture.h"
#include "fixtures/run_command.h"

namespace {

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0); }

// The lines the checker prints for a file.
std::vector<std::string> ezdxfListing(const std::string& file, bool& available) {
  available = std::system("/usr/bin/python3 -c 'import ezdxf' > /dev/null 2>&1") == 0;
  if (!available) return {};
  return fixtures::OutputLines(std::string("/usr/bin/python3 ") + RAIL_SOURCE_DIR +
                               "/tests/platform/dxf_check_ezdxf.py '" + file + "'");
}

std::string hex(AcDbObjectId id) {
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf, sizeof buf);
  return buf;
}

class EzdxfTest : public dwgtest::CustomDrawingTest {};

TEST_F(EzdxfTest, SavedDrawingPassesTheAuditWithEveryEntity) {
  ASSERT_EQ(db()->loadLineTypeFile("DASHDOTX2", "acadiso.lin"), Acad::eOk);
  ASSERT_EQ(db()->loadLineTypeFile("TUNNELMIDLINE", "rail.lin"), Acad::eOk);
  dwgtest::addLayer(db(), "里程", 1);
  dwgtest::addLayer(db(), "线路中线", 130);
  auto* line = new AcDbLine(P(0, 0), P(100, 50));
  line->setLayer("线路中线");
  line->setLinetype("DASHDOTX2");
  line->setColorIndex(5);
  AcDbObjectId lineId = add(line);
  auto* text = new AcDbText(P(0, 0), "里程 K1+200", AcDbObjectId(), 2.5, 0);
  text->setLayer("里程");
  AcDbObjectId textId = add(text);
  auto* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0), 0, 0.35, 0.35);
  pl->addVertexAt(1, AcGePoint2d(50, 0), 0.3, 0.35, 0.35);
  pl->addVertexAt(2, AcGePoint2d(60, 20), 0, 0.35, 0.35);
  pl->setLinetype("TUNNELMIDLINE");
  pl->setPlinegen(true);
  AcDbObjectId plId = add(pl);
  AcGePoint3dArray pts;
  pts.append(P(0, 0));
  pts.append(P(3, 4));
  auto* p2 = new AcDb2dPolyline(AcDb::k2dSimplePoly, pts, 0, false, 0, 0);
  p2->setColorIndex(0);
  AcDbObjectId p2Id = add(p2);
  AcDbObjectId solidId = add(new AcDbSolid(P(0, 0), P(-0.1, 0.15), P(0.1, 0.15), P(0, 0)));
  auto* marker = new TestMarker();
  marker->points = {P(0, 0), P(5, 5)};
  marker->label = "设计线";
  AcDbObjectId markerId = add(marker);
  // A block and its reference, and a group.
  auto* blockDb = new AcDbDatabase(true);
  dwgtest::addToModelSpace(blockDb, new AcDbCircle(P(0, 0), AcGeVector3d::kZAxis, 1));
  AcDbObjectId blockId;
  ASSERT_EQ(db()->insert(blockId, "车站旗", blockDb), Acad::eOk);
  delete blockDb;
  AcDbObjectId refId = add(new AcDbBlockReference(P(10, 10), blockId));
  AcDbDictionary* groups = nullptr;
  db()->getGroupDictionary(groups, AcDb::kForWrite);
  auto* g = new AcDbGroup();
  AcDbObjectId gid;
  groups->setAt("JD1", g, gid);
  g->append(lineId);
  g->append(textId);
  g->close();
  groups->close();

  std::string file = path("check.dxf");
  ASSERT_EQ(db()->saveAs(file.c_str()), Acad::eOk);
  bool available = false;
  std::vector<std::string> out = ezdxfListing(file, available);
  if (!available) GTEST_SKIP() << "/usr/bin/python3 with ezdxf is not installed (scripts/deps installs python3-ezdxf)";
  EXPECT_EQ(fixtures::WithPrefix(out, "version"), std::vector<std::string>{"version\tAC1015"});
  EXPECT_EQ(fixtures::WithPrefix(out, "encoding"), std::vector<std::string>{"encoding\tgbk"});
  EXPECT_EQ(fixtures::WithPrefix(out, "audit"), std::vector<std::string>{"audit\t0\t0"});
  EXPECT_EQ(fixtures::WithPrefix(out, "error"), std::vector<std::string>{});
  std::vector<std::string> expected = {
      "entity\tLINE\t" + hex(lineId) + "\t线路中线\t5\tDASHDOTX2",
      "entity\tTEXT\t" + hex(textId) + "\t里程\t256\tBYLAYER\t里程 K1+200",
      "entity\tLWPOLYLINE\t" + hex(plId) + "\t0\t256\tTUNNELMIDLINE",
      "entity\tPOLYLINE\t" + hex(p2Id) + "\t0\t0\tBYLAYER",
      "entity\tSOLID\t" + hex(solidId) + "\t0\t256\tBYLAYER",
      "entity\tTESTMARKER\t" + hex(markerId),
      "entity\tINSERT\t" + hex(refId) + "\t0\t256\tBYLAYER",
  };
  EXPECT_EQ(fixtures::WithPrefix(out, "entity"), expected);
  EXPECT_EQ(fixtures::WithPrefix(out, "group"),
            std::vector<std::string>{"group\tJD1\t" + hex(lineId) + "\t" + hex(textId)});
  EXPECT_EQ(fixtures::WithPrefix(out, "block"), std::vector<std::string>{"block\t车站旗\tCIRCLE"});

  // Opened and saved again, ezdxf sees the same drawing.
  auto* back = new AcDbDatabase(false);
  ASSERT_EQ(back->readDwgFile(file.c_str()), Acad::eOk);
  std::string again = path("again.dxf");
  ASSERT_EQ(platform::writeDxf(*back, again), Acad::eOk);
  delete back;
  EXPECT_EQ(dwgtest::firstDifference(dwgtest::readBytes(file), dwgtest::readBytes(again)), "");
  EXPECT_EQ(ezdxfListing(again, available), out);
}

TEST_F(EzdxfTest, ViewExportHasOnlyPlainEntities) {
  dwgtest::addLayer(db(), "Hdm", 3);
  auto* marker = new TestMarker();
  marker->points = {P(0, 0), P(5, 5), P(9, 0)};
  marker->label = "填 1.25";
  marker->setLayer("Hdm");
  AcDbObjectId markerId = add(marker);
  AcDbDictionary* groups = nullptr;
  db()->getGroupDictionary(groups, AcDb::kForWrite);
  auto* g = new AcDbGroup();
  AcDbObjectId gid;
  groups->setAt("S1", g, gid);
  g->append(markerId);
  g->close();
  groups->close();
  std::string file = path("view.dxf");
  ASSERT_EQ(platform::exportViewDxf(*db(), file), Acad::eOk);
  bool available = false;
  std::vector<std::string> out = ezdxfListing(file, available);
  if (!available) GTEST_SKIP() << "/usr/bin/python3 with ezdxf is not installed";
  EXPECT_EQ(fixtures::WithPrefix(out, "audit"), std::vector<std::string>{"audit\t0\t0"});
  std::vector<std::string> entities = fixtures::WithPrefix(out, "entity");
  ASSERT_EQ(entities.size(), 2u);
  EXPECT_EQ(entities[0].substr(0, 18), "entity\tLWPOLYLINE\t");
  EXPECT_NE(entities[0].find("\tHdm\t3\t"), std::string::npos);
  EXPECT_NE(entities[1].find("\tHdm\t2\tBYLAYER\t填 1.25"), std::string::npos);
  // The group holds the parts that stand for the marker.
  std::vector<std::string> group = fixtures::WithPrefix(out, "group");
  ASSERT_EQ(group.size(), 1u);
  EXPECT_EQ(std::count(group[0].begin(), group[0].end(), '\t'), 3);
}

}  // namespace
