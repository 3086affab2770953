#include "dwg_fixture.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace dwgtest {

AcDbObjectId addToModelSpace(AcDbDatabase* db, AcDbEntity* e) {
  AcDbBlockTable* bt = nullptr;
  EXPECT_EQ(db->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
  AcDbBlockTableRecord* ms = nullptr;
  EXPECT_EQ(bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
  bt->close();
  AcDbObjectId id;
  EXPECT_EQ(ms->appendAcDbEntity(id, e), Acad::eOk);
  ms->close();
  e->close();
  return id;
}

AcDbObjectId addLayer(AcDbDatabase* db, const char* name, int color) {
  AcDbLayerTable* lt = nullptr;
  EXPECT_EQ(db->getLayerTable(lt, AcDb::kForWrite), Acad::eOk);
  AcDbObjectId id;
  if (lt->getAt(name, id) != Acad::eOk) {
    auto* rec = new AcDbLayerTableRecord();
    EXPECT_EQ(rec->setName(name), Acad::eOk);
    rec->setColorIndex(static_cast<Adesk::UInt16>(color));
    EXPECT_EQ(lt->add(id, rec), Acad::eOk);
    rec->close();
  }
  lt->close();
  return id;
}

std::vector<AcDbObjectId> modelSpaceIds(AcDbDatabase* db) {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTableRecord* ms = nullptr;
  if (acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  ms->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    ids.push_back(id);
  }
  delete it;
  ms->close();
  return ids;
}

void DrawingTest::SetUp() {
  platform::setCurrentDrawing(nullptr);
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  m_dir = std::filesystem::path(::testing::TempDir()) / (std::string("dwg_") + info->test_suite_name() + "_" + info->name());
  std::filesystem::remove_all(m_dir);
  std::filesystem::create_directories(m_dir);
}

void DrawingTest::TearDown() {
  std::filesystem::remove_all(m_dir);
  platform::setCurrentDrawing(nullptr);
}

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string firstDifference(const std::string& a, const std::string& b) {
  if (a == b) return "";
  size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  size_t start = a.rfind('\n', i == 0 ? 0 : i - 1);
  start = start == std::string::npos ? 0 : start + 1;
  size_t lineNo = static_cast<size_t>(std::count(a.begin(), a.begin() + static_cast<long>(start), '\n')) + 1;
  auto lineAt = [&](const std::string& s) {
    size_t end = s.find('\n', start);
    return start < s.size() ? s.substr(start, end == std::string::npos ? std::string::npos : end - start) : "";
  };
  return "line " + std::to_string(lineNo) + ": \"" + lineAt(a) + "\" vs \"" + lineAt(b) + "\"";
}

}  // namespace dwgtest
