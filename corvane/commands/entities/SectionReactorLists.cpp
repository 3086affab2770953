// The reactor and design-line lists of the drawn sections, and their detach.

#include "SectionReactorLists.h"

std::vector<SectionReactorEntry> SectionReactorList;
std::vector<DesignLineEntry> DesignLineList;
std::vector<SectionReactorEntry> PendingReactorList;

namespace {

// Takes the reactor off its line and deletes it; false (nothing done) when
// the line cannot be opened for write now.
bool TakeOff(const SectionReactorEntry& entry) {
  if (entry.reactor == nullptr) return true;
  if (!entry.reactor->isAttached()) {
    // Its line went with its drawing: the id leads nowhere any more.
    delete entry.reactor;
    return true;
  }
  AcDbObject* line = nullptr;
  if (acdbOpenObject(line, entry.designLine, AcDb::kForWrite, true) != Acad::eOk) return false;
  line->removeReactor(entry.reactor);
  line->close();
  delete entry.reactor;
  return true;
}

}  // namespace

void DetachSectionReactors() {
  std::vector<SectionReactorEntry> walk;
  walk.swap(PendingReactorList);
  walk.insert(walk.end(), SectionReactorList.begin(), SectionReactorList.end());
  SectionReactorList.clear();
  DesignLineList.clear();
  for (const SectionReactorEntry& entry : walk)
    if (!TakeOff(entry)) {
      entry.reactor->Retire();
      PendingReactorList.push_back(entry);
    }
}

void ReleaseSectionReactors() {
  DetachSectionReactors();
  for (const SectionReactorEntry& entry : PendingReactorList) delete entry.reactor;
  PendingReactorList.clear();
}
