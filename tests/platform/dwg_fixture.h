#pragma once
// Helpers of the drawing tests: a fresh working drawing, appending entities to
// model space, a scratch folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "arx/dbdatabase.h"
#include "arx/dbents.h"
#include "arx/dbpl.h"
#include "arx/dbpoly.h"

namespace dwgtest {

// Appends an entity to model space of `db` and closes it; returns its id.
AcDbObjectId addToModelSpace(AcDbDatabase* db, AcDbEntity* e);
// Adds (or finds) a layer with a colour.
AcDbObjectId addLayer(AcDbDatabase* db, const char* name, int color);
// Ids of model space, erased entities left out.
std::vector<AcDbObjectId> modelSpaceIds(AcDbDatabase* db);

// A test that works on a fresh working drawing and a scratch folder.
class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  AcDbDatabase* db() const { return acdbHostApplicationServices()->workingDatabase(); }
  AcDbObjectId add(AcDbEntity* e) { return addToModelSpace(db(), e); }
  std::string path(const std::string& name) const { return (m_dir / name).string(); }
  std::filesystem::path m_dir;
};

// Reads a whole file as bytes.
std::string readBytes(const std::string& path);
// "" when the two texts are equal, else the line where they first differ.
std::string firstDifference(const std::string& a, const std::string& b);

}  // namespace dwgtest
