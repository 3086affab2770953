// Opening and closing objects, erasing, and transient reactors.
#include <gtest/gtest.h>

#include "arx/dbproxy.h"
#include "dwg_custom_entity.h"
#include "dwg_fixture.h"

namespace {

using dwgtest::DrawingTest;

class ObjectOpenTest : public DrawingTest {};

// What a second open gets while the object is already open in a mode.
struct OpenCase {
  AcDb::OpenMode first;
  AcDb::OpenMode second;
  Acad::ErrorStatus expected;
};

TEST_F(ObjectOpenTest, SecondOpenGetsTheStateInItsWay) {
  const OpenCase cases[] = {
      {AcDb::kForRead, AcDb::kForRead, Acad::eOk},
      {AcDb::kForRead, AcDb::kForWrite, Acad::eWasOpenedForRead},  // 82
      {AcDb::kForRead, AcDb::kForNotify, Acad::eOk},
      {AcDb::kForWrite, AcDb::kForRead, Acad::eWasOpenedForWrite},  // 83
      {AcDb::kForWrite, AcDb::kForWrite, Acad::eWasOpenedForWrite},
      {AcDb::kForWrite, AcDb::kForNotify, Acad::eOk},
      {AcDb::kForNotify, AcDb::kForRead, Acad::eWasOpenedForNotify},  // 85
      {AcDb::kForNotify, AcDb::kForWrite, Acad::eWasOpenedForNotify},
      {AcDb::kForNotify, AcDb::kForNotify, Acad::eWasOpenedForNotify},
  };
  EXPECT_EQ(static_cast<int>(Acad::eWasOpenedForWrite), 83);
  EXPECT_EQ(static_cast<int>(Acad::eWasOpenedForNotify), 85);
  AcDbObjectId id = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0)));
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "first " << c.first << " second " << c.second);
    AcDbObject* a = nullptr;
    ASSERT_EQ(acdbOpenObject(a, id, c.first), Acad::eOk);
    AcDbObject* b = nullptr;
    EXPECT_EQ(acdbOpenObject(b, id, c.second), c.expected);
    if (c.expected == Acad::eOk) {
      EXPECT_EQ(b, a);
      b->close();
    } else {
      EXPECT_EQ(b, nullptr);
    }
    a->close();
    // Closed again: any open works.
    ASSERT_EQ(acdbOpenObject(a, id, AcDb::kForWrite), Acad::eOk);
    a->close();
  }
}

TEST_F(ObjectOpenTest, ErasedObjectsOpenOnlyWhenAsked) {
  AcDbObjectId id = add(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(e->erase(), Acad::eOk);
  EXPECT_EQ(e->erase(), Acad::eWasErased);
  e->close();
  EXPECT_TRUE(id.isErased());
  EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eWasErased);
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite, true), Acad::eOk);
  EXPECT_EQ(e->erase(false), Acad::eOk);
  e->close();
  EXPECT_FALSE(id.isErased());
  // Erasing needs write access.
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(e->erase(), Acad::eNotOpenForWrite);
  e->close();
}

TEST_F(ObjectOpenTest, OpenFailuresLeaveNothingOpen) {
  AcDbObject* o = nullptr;
  EXPECT_EQ(acdbOpenObject(o, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
  EXPECT_EQ(o, nullptr);
  // Asking for the wrong class closes what was opened.
  AcDbObjectId id = add(new AcDbLine());
  AcDbText* t = nullptr;
  EXPECT_EQ(acdbOpenObject(t, id, AcDb::kForWrite), Acad::eNotThatKindOfClass);
  EXPECT_EQ(t, nullptr);
  AcDbLine* l = nullptr;
  EXPECT_EQ(acdbOpenObject(l, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(l->upgradeOpen(), Acad::eWasOpenedForWrite);
  l->close();
  EXPECT_EQ(l->close(), Acad::eNotOpenForRead);
}

TEST_F(ObjectOpenTest, UpgradeOpenNeedsASingleReader) {
  AcDbObjectId id = add(new AcDbLine());
  AcDbObject *a = nullptr, *b = nullptr;
  ASSERT_EQ(acdbOpenObject(a, id, AcDb::kForRead), Acad::eOk);
  ASSERT_EQ(acdbOpenObject(b, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(a->upgradeOpen(), Acad::eHadMultipleReaders);
  b->close();
  EXPECT_EQ(a->upgradeOpen(), Acad::eOk);
  EXPECT_TRUE(a->isWriteEnabled());
  EXPECT_EQ(a->downgradeOpen(), Acad::eOk);
  EXPECT_FALSE(a->isWriteEnabled());
  EXPECT_TRUE(a->isReadEnabled());
  a->close();
}

// ---- reactors ----

struct Recorder : AcDbEntityReactor {
  int modifiedCount = 0, erasedCount = 0;
  bool lastErasing = false;
  Acad::ErrorStatus reopenStatus = Acad::eOk;
  bool wasNotifyEnabled = false;
  AcDbObjectId watched;
  void modified(const AcDbObject* obj) override {
    ++modifiedCount;
    wasNotifyEnabled = obj->isNotifyEnabled();
    AcDbObject* again = nullptr;
    reopenStatus = acdbOpenObject(again, watched, AcDb::kForRead);
    if (again) again->close();
  }
  void erased(const AcDbObject*, Adesk::Boolean erasing) override {
    ++erasedCount;
    lastErasing = erasing;
  }
};

class ReactorTest : public dwgtest::CustomDrawingTest {
 protected:
  AcDbObjectId addMarker() {
    auto* m = new TestMarker();
    m->points = {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(10, 5, 0)};
    return add(m);
  }
};

TEST_F(ReactorTest, GripMoveFiresModifiedOnceWithTheObjectOpenForNotify) {
  AcDbObjectId id = addMarker();
  Recorder r;
  r.watched = id;
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForRead), Acad::eOk);
  e->addReactor(&r);
  e->close();
  EXPECT_EQ(r.modifiedCount, 0);  // closing a reader tells nothing

  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  // While it is open for write, another open gets 83.
  AcDbObject* other = nullptr;
  EXPECT_EQ(acdbOpenObject(other, id, AcDb::kForRead), Acad::eWasOpenedForWrite);
  AcGePoint3dArray grips;
  AcDbIntArray osnap, geom;
  ASSERT_EQ(e->getGripPoints(grips, osnap, geom), Acad::eOk);
  ASSERT_EQ(grips.length(), 3);
  AcDbIntArray moved;
  moved.append(1);
  moved.append(2);
  ASSERT_EQ(e->moveGripPointsAt(moved, AcGeVector3d(0, 2, 0)), Acad::eOk);
  EXPECT_EQ(r.modifiedCount, 0);
  e->close();
  EXPECT_EQ(r.modifiedCount, 1);
  EXPECT_TRUE(r.wasNotifyEnabled);
  EXPECT_EQ(r.reopenStatus, Acad::eWasOpenedForNotify);

  // After the notification the object opens normally and holds the move.
  TestMarker* m = nullptr;
  ASSERT_EQ(acdbOpenObject(m, id, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(m->points[1], AcGePoint3d(10, 2, 0));
  EXPECT_EQ(m->points[2], AcGePoint3d(10, 7, 0));
  m->close();

  // Opened for write and closed without a change: no notification.
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->close();
  EXPECT_EQ(r.modifiedCount, 1);

  // Erase: erased, not modified.
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->erase();
  e->close();
  EXPECT_EQ(r.erasedCount, 1);
  EXPECT_TRUE(r.lastErasing);
  EXPECT_EQ(r.modifiedCount, 1);

  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite, true), Acad::eOk);
  e->removeReactor(&r);
  e->close();
}

TEST_F(ReactorTest, RemovedAndDeletedReactorsHearNothing) {
  AcDbObjectId id = addMarker();
  auto* gone = new Recorder();
  Recorder kept;
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->addReactor(gone);
  e->addReactor(&kept);
  e->addReactor(&kept);  // attached once
  EXPECT_EQ(e->reactors().size(), 2u);
  e->close();
  // A module deletes its reactor without removing it first: it is detached.
  delete gone;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(e->reactors().size(), 1u);
  e->setColorIndex(4);
  e->close();
  EXPECT_EQ(kept.modifiedCount, 1);
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->removeReactor(&kept);
  e->setColorIndex(5);
  e->close();
  EXPECT_EQ(kept.modifiedCount, 1);
}

// A reactor may write back to the object it is told about: upgraded from
// notify, the object is writable; the write-back sends no second
// notification, and the reactors after it see the object as written back.
struct WriteBack : AcDbEntityReactor {
  int modifiedCount = 0;
  Acad::ErrorStatus upgrade = Acad::eOk, downgrade = Acad::eOk, reopen = Acad::eOk;
  bool writable = false;
  AcDbObjectId watched;
  void modified(const AcDbObject* obj) override {
    ++modifiedCount;
    auto* m = TestMarker::cast(obj);
    Adesk::Boolean wasWritable = true;
    upgrade = const_cast<TestMarker*>(m)->upgradeFromNotify(wasWritable);
    writable = m->isWriteEnabled();
    AcDbObject* again = nullptr;
    reopen = acdbOpenObject(again, watched, AcDb::kForRead);
    if (again) again->close();
    const_cast<TestMarker*>(m)->assertWriteEnabled();
    const_cast<TestMarker*>(m)->value += 1.0;
    downgrade = const_cast<TestMarker*>(m)->downgradeToNotify(wasWritable);
  }
};

struct ValueSeen : AcDbEntityReactor {
  double seen = 0;
  void modified(const AcDbObject* obj) override { seen = TestMarker::cast(obj)->value; }
};

TEST_F(ReactorTest, AReactorWritesBackWithoutASecondNotification) {
  AcDbObjectId id = addMarker();
  WriteBack back;
  back.watched = id;
  ValueSeen after;
  TestMarker* m = nullptr;
  ASSERT_EQ(acdbOpenObject(m, id, AcDb::kForWrite), Acad::eOk);
  Adesk::Boolean wasWritable = false;
  // Outside a notification there is nothing to upgrade from.
  EXPECT_EQ(m->upgradeFromNotify(wasWritable), Acad::eNotOpenForNotify);
  m->addReactor(&back);
  m->addReactor(&after);
  m->assertWriteEnabled();
  m->value = 2.0;
  m->close();
  EXPECT_EQ(back.modifiedCount, 1);
  EXPECT_EQ(back.upgrade, Acad::eOk);
  EXPECT_TRUE(back.writable);
  EXPECT_EQ(back.reopen, Acad::eWasOpenedForWrite);
  EXPECT_EQ(back.downgrade, Acad::eOk);
  EXPECT_DOUBLE_EQ(after.seen, 3.0);
  ASSERT_EQ(acdbOpenObject(m, id, AcDb::kForWrite), Acad::eOk);
  EXPECT_DOUBLE_EQ(m->value, 3.0);
  EXPECT_EQ(m->downgradeToNotify(false), Acad::eWasNotOpenForWrite);
  m->removeReactor(&back);
  m->removeReactor(&after);
  m->close();
  EXPECT_EQ(back.modifiedCount, 1);
}

struct ChangeCounterForAttach : AcDbEntityReactor {};

// A reactor is attached while an object holds it; an object that goes (its
// drawing closed) leaves it detached.
TEST_F(ReactorTest, AReactorKnowsWhetherAnObjectHoldsIt) {
  ChangeCounterForAttach counter;
  auto* other = new AcDbDatabase(true);
  auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  AcDbObjectId id = dwgtest::addToModelSpace(other, line);
  EXPECT_FALSE(counter.isAttached());
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->addReactor(&counter);
  e->close();
  EXPECT_TRUE(counter.isAttached());
  delete other;
  EXPECT_FALSE(counter.isAttached());
}

}  // namespace
