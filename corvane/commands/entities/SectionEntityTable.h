#pragma once
// The tables of drawn section entities that the section drawing fills and
// the design-line reactor reads: for each drawn section, two slots of six
// entity pointers, slot 2i for the first design line of section i (the left
// one, side -1) and slot 2i + 1 for the second (the right one, side +1), each
// holding the design line and its five companions in the reactor's roles.
//
//   SectionEntityTable      the baseline's sections
//   LeftDetourEntityList    one entry per left detour (its index and slots)
//   RightDetourEntityList   the same for the right detours
//
// The tables only point at entities; which of them they own (those a
// printing run made and never appended) is the section drawing's to say. A
// pointer is never dereferenced through these tables by the reactor: it only
// tells whether an entity it opened is the one recorded (see
// DesignLineReactor).

#include <vector>

#include "arx/dbmain.h"

// The roles of a slot's entities.
enum SectionEntityRole {
  kRoleDesignLine = 0,
  kRoleLeftEarth = 1,   // EarthLine of the left side
  kRoleRightEarth = 2,  // EarthLine of the right side
  kRoleDitch = 3,       // LTGOU of the design line's side
  kRoleTopDitch = 4,    // JSGOU of the design line's side
  kRoleNote = 5,        // HdmText of the section
  kSectionEntityRoles = 6,
};

struct SectionEntitySlot {
  AcDbEntity* entity[kSectionEntityRoles] = {};
  // The sheet's "路基面宽" text of the section (a plain text, so kept by its
  // id): a re-design after an edit writes the new width into it.
  AcDbObjectId widthText;
};

struct DetourEntityEntry {
  int detourIndex = -1;
  std::vector<SectionEntitySlot> slots;  // 2 per section of the detour
};

extern std::vector<SectionEntitySlot> SectionEntityTable;
extern std::vector<DetourEntityEntry> LeftDetourEntityList;
extern std::vector<DetourEntityEntry> RightDetourEntityList;

// The slot of a drawn design line: `table` 0 the baseline, a negative n the
// left detour -n-1, a positive n the right detour n-1; the section's row;
// side -1 (slot 2 row) or +1 (slot 2 row + 1). Null for anything outside the
// tables (another side, a row or detour not drawn).
SectionEntitySlot* FindSectionEntitySlot(int table, int row, int side);
