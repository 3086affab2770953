// Unloading Corvane's section entities with reactors still attached: the
// unload takes every reactor off (also those a detach had to leave pending),
// so nothing in the drawing calls into the module once it is gone.
#include <sstream>
#include <string>

#include "arx/dbdatabase.h"
#include "arx/dbproxy.h"
#include "host_fixture.h"

namespace {

using SectionReactorUnload = HostTest;

AcDbObjectId ByHandle(const std::string& hex) {
  AcDbObjectId id;
  acdbHostApplicationServices()->workingDatabase()->getAcDbObjectId(id, false, AcDbHandle(hex.c_str()));
  return id;
}

TEST_F(SectionReactorUnload, UnloadWithLiveReactorsLeavesNothingAttached) {
  platform::setCurrentDrawing(nullptr);
  load("tm_corvane");
  ASSERT_EQ(platform::runCommand("TMC_DRAW"), RTNORM);
  const size_t at = transcript.text().find("tmc: drawn ");
  ASSERT_NE(at, std::string::npos) << transcript.text();
  std::istringstream drawn(transcript.text().substr(at + 11));
  std::string left, right, plain;
  drawn >> left >> right >> plain;
  const AcDbObjectId ids[3] = {ByHandle(left), ByHandle(right), ByHandle(plain)};

  // Two lines are open elsewhere while the reactors are detached: their
  // reactors wait.
  AcDbObject* held[2] = {};
  ASSERT_EQ(acdbOpenObject(held[0], ids[0], AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(held[1], ids[2], AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(platform::runCommand("TMC_DETACH"), RTNORM);
  EXPECT_NE(transcript.text().find("tmc: pending 2"), std::string::npos) << transcript.text();
  EXPECT_EQ(held[0]->reactors().size(), 1u);
  for (AcDbObject* o : held) o->close();

  std::string error;
  ASSERT_TRUE(platform::unloadModule("tm_corvane", &error)) << error;
  EXPECT_NE(transcript.text().find("tmc: released, pending 0"), std::string::npos) << transcript.text();

  // The design lines are proxies now, and no object holds a reactor.
  for (const AcDbObjectId& id : ids) {
    AcDbObject* o = nullptr;
    ASSERT_EQ(acdbOpenObject(o, id, AcDb::kForWrite), Acad::eOk);
    EXPECT_TRUE(o->reactors().empty());
    AcDbEntity::cast(o)->setColorIndex(2);  // a change tells nobody
    o->close();
  }
  AcDbObject* o = nullptr;
  ASSERT_EQ(acdbOpenObject(o, ids[0], AcDb::kForRead), Acad::eOk);
  EXPECT_NE(AcDbProxyEntity::cast(o), nullptr);
  o->close();

  // Loaded again, the module's lines come back, without reactors.
  load("tm_corvane");
  ASSERT_EQ(acdbOpenObject(o, ids[1], AcDb::kForRead), Acad::eOk);
  EXPECT_STREQ(o->isA()->name(), "DesignLine");
  EXPECT_TRUE(o->reactors().empty());
  o->close();
}

}  // namespace
