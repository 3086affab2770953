#pragma once
// The plain form of a custom entity of a drawn section, for printing: what
// the entity draws (its worldDraw), appended to model space as plain
// lightweight polylines (closed for areas) and texts in one colour.

#include "arx/dbmain.h"

// Appends the plain form of `entity` to model space of the working drawing,
// every piece in `colour` and on `layer` (the entity's own layer when null).
// Returns the number of entities appended.
int AppendPlainForm(const AcDbEntity* entity, int colour, AcDbObjectId layer = AcDbObjectId::kNull);
