#pragma once
// Copying the rows of the scheme table store (XLDataBase) into a designer's
// own tables, with their chainages turned into continuous mileage (internal
// to the scheme and detour imports).

#include <functional>

#include "CrossSectionDesigner.h"

// Continuous mileage of a chainage text on the line being imported.
using MileageOfChainage = std::function<double(const char* chainageText)>;

// The mileage through a break table.
MileageOfChainage MileageThrough(int breakCount, const BreakRecord* breaks);

// Replaces the designer's bridges, tunnels or stations by the reader's rows
// of that kind (their start and end texts and mileages; a bridge's name and
// span arrangement 孔跨式样, a tunnel's or station's name) and frees the
// reader's rows.
void TakeBridges(XLDataBase& reader, OwnedRowArray<StructureRow>& bridges, const MileageOfChainage& mileage);
void TakeTunnels(XLDataBase& reader, OwnedRowArray<StructureRow>& tunnels, const MileageOfChainage& mileage);
void TakeStations(XLDataBase& reader, OwnedRowArray<StructureRow>& stations, const MileageOfChainage& mileage);

// Replaces the track-structure segments by the reader's rows (end chainage
// text, type, end mileage, height in mm) and frees the reader's rows.
void TakeTrackSegments(XLDataBase& reader, OwnedRowArray<TrackSegment>& segments, const MileageOfChainage& mileage);

// Gives the designer the reader's grade rows as grade points (the first row,
// the line's start point, without a vertical curve), builds its grade table
// and frees the reader's rows. `tableName` names the table in messages.
void TakeGradePoints(XLDataBase& reader, CrossSectionDesigner& designer, const MileageOfChainage& mileage,
                     const char* tableName);
