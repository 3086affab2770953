#include "TableEditorRequests.h"

#include <array>
#include <memory>

#include "SchemeTables.h"

namespace {

std::array<std::unique_ptr<TableEditorRequest>, scheme_tables::kTableCount>& Slots() {
  static std::array<std::unique_ptr<TableEditorRequest>, scheme_tables::kTableCount> slots;
  return slots;
}

}  // namespace

BOOL OpenTableEditor(int index, const CString& databasePath) {
  if (index < 0 || index >= scheme_tables::kTableCount) return FALSE;
  std::unique_ptr<TableEditorRequest>& slot = Slots()[static_cast<size_t>(index)];
  if (slot) {
    ++slot->activations;
    return TRUE;
  }
  slot = std::make_unique<TableEditorRequest>();
  slot->table = scheme_tables::kTables[index].name;
  slot->databasePath = databasePath;
  return TRUE;
}

const TableEditorRequest* OpenedTableEditor(int index) {
  if (index < 0 || index >= scheme_tables::kTableCount) return nullptr;
  return Slots()[static_cast<size_t>(index)].get();
}

int OpenedTableEditorCount() {
  int count = 0;
  for (const auto& slot : Slots()) count += slot ? 1 : 0;
  return count;
}

void ForgetTableEditorRequests() {
  for (auto& slot : Slots()) slot.reset();
}
