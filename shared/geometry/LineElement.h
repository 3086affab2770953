#pragma once
// The records that describe a railway line in plan.
//
// Coordinates are plane survey coordinates in metres, x north and y east. A
// bearing is an angle in radians from +x towards +y, kept in [0, 2π]. Mileage is
// continuous mileage (metres along the line, no chainage breaks). A radius of
// kInfiniteRadius stands for a straight (or the straight end of a clothoid).

// Radius written for "no curvature".
inline constexpr double kInfiniteRadius = 1e40;

// Element type codes (the type is stored as a double and read as an integer
// after adding a small rounding term).
enum LineElementType {
  kElementStraight = 1,        // p1 length
  kElementArc = 2,             // p1 radius R, p2 arc length, p4 turn
  kElementEnteringSpiral = 3,  // p1 A, p2 R (straight to radius R), p4 turn
  kElementLeavingSpiral = 4,   // p1 A, p2 R (radius R to straight), p4 turn
  kElementSpiralFalling = 5,   // p1 A, p2 R1, p3 R2 < R1 (radius falls), p4 turn
  kElementSpiralGrowing = 6,   // p1 A, p2 R1, p3 R2 > R1 (radius grows), p4 turn
  kElementStart = 10,          // p1 x, p2 y, p3 start bearing d.mmss, p4 start mileage
};

// One line element: the type code and four numbers whose meaning depends on
// the type (see LineElementType). For types 2 to 6 the fourth number is the
// turn: +1.0 when the bearing grows along the element, -1.0 when it falls.
struct LineElement {
  double type;
  double p1;
  double p2;
  double p3;
  double p4;
};

// An element of an element list: the element, then the state at its start.
//
// An element list of n elements is an array of n + 1 records: record 0 is the
// start record (type 10), records 1 .. n-1 are the elements in order, each
// with the state at its own start, and record n holds in its state the end of
// the line (its element numbers are unused). The start mileages of records
// 1 .. n are non-decreasing, as every builder of a list makes them.
struct PlacedElement : LineElement {
  double bearing;  // radians
  double mileage;
  double radius;  // kInfiniteRadius on a straight
  double x;
  double y;
};

// A point of a line with its state: both the start state handed to the
// element walk and its result.
struct LinePoint {
  double x;
  double y;
  double bearing;  // radians
  double radius;   // kInfiniteRadius on a straight
  double mileage;
};

// Tangent lengths and length of a curve with transitions.
struct CurveTangents {
  double beta1;  // transition angles (radians)
  double beta2;
  double p1;  // shifts of the circle
  double p2;
  double m1;  // tangent shifts
  double m2;
  double T1;  // tangent lengths
  double T2;
  double L;  // total curve length
};

static_assert(sizeof(LineElement) == 40);
static_assert(sizeof(PlacedElement) == 80);
static_assert(sizeof(LinePoint) == 40);
static_assert(sizeof(CurveTangents) == 72);
