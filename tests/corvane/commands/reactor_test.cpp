// The design-line reactor's refusals (an object that is no design line, a
// companion that cannot be opened or is of the wrong class, the slope
// editing's pause) and the detach of the reactors, with the pending list for
// lines that cannot be opened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "arx/dbents.h"
#include "arx/edcmdline.h"
#include "drawn_section.h"
#include "win/transcript.h"

namespace {

using namespace entity_test;

class ReactorTest : public SectionEntityTest {
 protected:
  void SetUp() override {
    SectionEntityTest::SetUp();
    MakeDesignedSection(g_BaselineDesigner, 102.0);
    s = DrawSection(g_BaselineDesigner, 0, 0, -1, 0);
  }
  // The right ditch's points (they change only when the section is re-designed).
  std::vector<AcGePoint3d> RightDitch() {
    LTGOU* g = Open<LTGOU>(s.gou[1]);
    std::vector<AcGePoint3d> points = g->Data().vertices;
    g->close();
    return points;
  }
  // Drags the right line's slope start 1 m out; the transcript of the drag.
  std::string DragRight() {
    platform::TranscriptCapture shown;
    EXPECT_TRUE(platform::runScriptText(DragSlopeStart(s.line[1], 5.0), "grip").ok) << shown.text();
    return shown.text();
  }
  static bool SamePoints(const std::vector<AcGePoint3d>& a, const std::vector<AcGePoint3d>& b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k)
      if (!a[k].isEqualTo(b[k])) return false;
    return true;
  }
  DrawnSection s;
};

// Attached to anything but a design line, the reactor says so and does
// nothing else.
TEST_F(ReactorTest, AnObjectThatIsNoDesignLineIsRefused) {
  const AcDbObjectId id = Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)));
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->addReactor(s.reactor[1]);
  e->close();
  const std::vector<AcGePoint3d> ditch = RightDitch();
  platform::TranscriptCapture shown;
  ASSERT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
  e->setColorIndex(3);
  e->close();
  EXPECT_EQ(shown.text(), "This is a AcDbLine.\nI only work with 设计线实体. Sorry.\n");
  EXPECT_TRUE(SamePoints(RightDitch(), ditch));
}

// Each companion is opened and checked in turn; an open that fails prints its
// field's line with the status (and the open state it names), a class that
// does not fit prints its lines; either way nothing is re-designed and
// everything opened is closed again.
TEST_F(ReactorTest, CompanionsThatCannotBeOpenedOrDoNotFitAreRefused) {
  struct Case {
    const char* what;
    int heldOpen;  // -1 none; else which of earth left 0, earth right 1, gou 2, jsgou 3, note 4
    AcDb::OpenMode heldMode;
    int wrongRole;  // -1 none; else that role's id is replaced by another entity's
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"a note open for write elsewhere", 4, AcDb::kForWrite, -1,
       "\nacdbOpenObject in m_NoteId failed with error 83 (open for write).\n"},
      {"a ditch open for read elsewhere", 2, AcDb::kForRead, -1,
       "\nacdbOpenObject in m_GouObjId failed with error 82.\n"},
      {"a ground line open for write elsewhere", 0, AcDb::kForWrite, -1,
       "\nacdbOpenObject in LEarthObjId failed with error 83 (open for write).\n"},
      {"a top ditch in the drainage ditch's place", -1, AcDb::kForRead, 2,
       "This reactor is attached to a JSGOU.\nIt should only be attached to 水沟实体. Sorry.\n"},
      {"a drainage ditch in the top ditch's place", -1, AcDb::kForRead, 3,
       "This reactor is attached to a LTGOU.\nIt should only be attached to 天沟实体. Sorry.\n"},
      {"a note in a ground line's place", -1, AcDb::kForRead, 1,
       "This reactor is attached to a HdmText.\nIt should only be attached to RectWindow custom Entities. Sorry.\n"},
      {"a design line in the note's place", -1, AcDb::kForRead, 4,
       "This reactor is attached to a DesignLine.\nIt should only be attached to RectWindow custom Entities. Sorry.\n"},
  };
  const AcDbObjectId ids[5] = {s.earth[0], s.earth[1], s.gou[1], s.jsgou[1], s.note};
  // Stand-ins that are not open in another role already.
  const AcDbObjectId wrong[5] = {s.note, s.note, s.jsgou[1], s.gou[0], s.line[0]};
  AcDbObjectId* fields[5] = {&s.reactor[1]->LEarthObjId, &s.reactor[1]->REarthObjId, &s.reactor[1]->m_GouObjId,
                             &s.reactor[1]->m_JSgouId, &s.reactor[1]->m_NoteId};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<AcGePoint3d> ditch = RightDitch();
    AcDbEntity* held = nullptr;
    if (c.heldOpen >= 0) {
      ASSERT_EQ(acdbOpenAcDbEntity(held, ids[c.heldOpen], c.heldMode), Acad::eOk);
    }
    if (c.wrongRole >= 0) *fields[c.wrongRole] = wrong[c.wrongRole];
    const std::string shown = DragRight();
    EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
    if (held != nullptr) held->close();
    if (c.wrongRole >= 0) *fields[c.wrongRole] = ids[c.wrongRole];
    EXPECT_TRUE(SamePoints(RightDitch(), ditch));
    // Whatever was opened was closed: every companion opens for write now.
    for (AcDbObjectId id : ids) {
      AcDbEntity* e = nullptr;
      EXPECT_EQ(acdbOpenAcDbEntity(e, id, AcDb::kForWrite), Acad::eOk);
      if (e != nullptr) e->close();
    }
  }
}

// While the slope editing pauses the re-design, edits of design lines change
// nothing else; afterwards the reactor works again.
TEST_F(ReactorTest, APauseKeepsTheSectionsAsDesigned) {
  const std::vector<AcGePoint3d> ditch = RightDitch();
  {
    SectionRedesignPause pause;
    SectionRedesignPause nested;
    EXPECT_TRUE(SectionRedesignPause::Active());
    DragRight();
  }
  EXPECT_FALSE(SectionRedesignPause::Active());
  EXPECT_TRUE(SamePoints(RightDitch(), ditch));
  DragRight();
  EXPECT_FALSE(SamePoints(RightDitch(), ditch));
}

// Detach takes every reactor off its line and empties both lists, also when
// a line cannot be opened: that reactor is retired and waits in the pending
// list, and the next detach takes it off.
TEST_F(ReactorTest, DetachEmptiesBothListsAndRetriesALineThatWasOpen) {
  ASSERT_EQ(SectionReactorList.size(), 2u);
  ASSERT_EQ(DesignLineList.size(), 2u);
  DesignLine* held = Open<DesignLine>(s.line[1]);  // open for read elsewhere
  DetachSectionReactors();
  EXPECT_TRUE(SectionReactorList.empty());
  EXPECT_TRUE(DesignLineList.empty());
  ASSERT_EQ(PendingReactorList.size(), 1u);
  EXPECT_EQ(PendingReactorList[0].designLine, s.line[1]);
  EXPECT_TRUE(PendingReactorList[0].reactor->IsRetired());
  EXPECT_EQ(held->reactors().size(), 1u);
  held->close();
  DesignLine* left = Open<DesignLine>(s.line[0]);
  EXPECT_TRUE(left->reactors().empty());
  left->close();

  // The retired reactor re-designs nothing.
  const std::vector<AcGePoint3d> ditch = RightDitch();
  DragRight();
  EXPECT_TRUE(SamePoints(RightDitch(), ditch));

  DetachSectionReactors();
  EXPECT_TRUE(PendingReactorList.empty());
  DesignLine* right = Open<DesignLine>(s.line[1]);
  EXPECT_TRUE(right->reactors().empty());
  right->close();
}

// An erased design line is opened all the same and its reactor taken off; a
// reactor whose drawing is gone is deleted without touching the drawing.
TEST_F(ReactorTest, DetachReachesErasedLinesAndForgetsClosedDrawings) {
  AcDbEntity* e = nullptr;
  ASSERT_EQ(acdbOpenAcDbEntity(e, s.line[0], AcDb::kForWrite), Acad::eOk);
  e->erase();
  e->close();
  DetachSectionReactors();
  EXPECT_TRUE(PendingReactorList.empty());
  ASSERT_EQ(acdbOpenAcDbEntity(e, s.line[0], AcDb::kForRead, true), Acad::eOk);
  EXPECT_TRUE(e->reactors().empty());
  e->close();

  // A new drawing: the design lines of the old one are gone with it.
  const DrawnSection other = DrawSection(g_BaselineDesigner, 0, 0, -1, 0);
  DesignLine* held = Open<DesignLine>(other.line[0]);
  DetachSectionReactors();  // the held line's reactor waits
  held->close();
  ASSERT_EQ(PendingReactorList.size(), 1u);
  platform::setCurrentDrawing(nullptr);
  EXPECT_FALSE(PendingReactorList[0].reactor->isAttached());
  DetachSectionReactors();
  EXPECT_TRUE(PendingReactorList.empty());
}

// At unload every reactor goes, also one whose line is open elsewhere then:
// it is deleted and taken off the line all the same.
TEST_F(ReactorTest, ReleaseLeavesNoReactorAttached) {
  DesignLine* held = Open<DesignLine>(s.line[0]);
  ReleaseSectionReactors();
  EXPECT_TRUE(SectionReactorList.empty());
  EXPECT_TRUE(DesignLineList.empty());
  EXPECT_TRUE(PendingReactorList.empty());
  EXPECT_TRUE(held->reactors().empty());
  held->close();
  DesignLine* right = Open<DesignLine>(s.line[1]);
  EXPECT_TRUE(right->reactors().empty());
  right->close();
}

}  // namespace
