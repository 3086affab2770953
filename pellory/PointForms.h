#pragma once
// The forms in which the ground-line input takes points, and their
// conversion to the form the design tables hold.
//
// A point is entered as a distance and a value:
// - reference 相对中桩 (kFromCentre): the distance from the centre stake;
//   相对前点 (kFromPrevious): the distance from the previous point;
// - elevation type 高差 (kHeightDifference): the value is the height
//   difference to the centre stake (with 相对前点: to the previous point);
//   高程 (kElevation): the value is the point's elevation.
// The design tables hold (distance from the centre, height difference to the
// centre elevation). The user tables and the dialog's records keep the points
// as entered; ToTableForm converts them once, when the design table is
// written, and ToEnteredForm is its inverse, for points that arrive in the
// table form (picked from the drawing).

#include "earthline.h"

enum PointReference { kFromCentre = 0, kFromPrevious = 1 };
enum PointElevationType { kHeightDifference = 0, kElevation = 1 };

// Converts n points in place: with 相对前点 each distance from the second on
// becomes the sum of itself and the previous (summed) distance; with 高程
// each value becomes value − centreElevation; with 高差 and 相对前点 each
// value from the second on becomes the sum of itself and the previous
// (summed) value; with 高差 and 相对中桩 values stay.
void ToTableForm(EarthPoint* points, int n, double centreElevation, int reference, int elevationType);

// The inverse of ToTableForm.
void ToEnteredForm(EarthPoint* points, int n, double centreElevation, int reference, int elevationType);

// Both sides of a record (its counts bounded by kEarthPointsMax), with the
// record's own centre elevation.
void RecordToTableForm(earthline& record, int reference, int elevationType);
