// The tables of drawn section entities.

#include "SectionEntityTable.h"

std::vector<SectionEntitySlot> SectionEntityTable;
std::vector<DetourEntityEntry> LeftDetourEntityList;
std::vector<DetourEntityEntry> RightDetourEntityList;

SectionEntitySlot* FindSectionEntitySlot(int table, int row, int side) {
  if ((side != -1 && side != 1) || row < 0) return nullptr;
  std::vector<SectionEntitySlot>* slots = &SectionEntityTable;
  if (table != 0) {
    std::vector<DetourEntityEntry>& list = table < 0 ? LeftDetourEntityList : RightDetourEntityList;
    // -n-1 and n-1 without overflow at the ends of the int range.
    const long long detour = table < 0 ? -static_cast<long long>(table) - 1 : static_cast<long long>(table) - 1;
    if (detour >= static_cast<long long>(list.size())) return nullptr;
    DetourEntityEntry& entry = list[static_cast<size_t>(detour)];
    if (entry.detourIndex != detour) return nullptr;
    slots = &entry.slots;
  }
  const long long slot = 2LL * row + (side > 0 ? 1 : 0);
  return slot < static_cast<long long>(slots->size()) ? &(*slots)[static_cast<size_t>(slot)] : nullptr;
}
