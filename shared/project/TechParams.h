#pragma once
// The technical parameters of the project: the binary file
// "<project>\data\jishucanshu.dat", written by another program, read into two
// blocks kept as the file holds them (little-endian):
//
//   file  0   12 bytes   header, skipped
//   file 12  256 bytes   block A, kept whole, not interpreted
//   file 268 612 bytes   block B:
//     B+0    name text, NUL-terminated within 24 bytes, GBK
//     B+24   int32    design speed (km/h)
//     B+28   int16    line kind (1 single line, 2 double line, other: reserved
//                     second line; the plan also knows 3, three lines)
//     B+32   float32  second parameter: the reference value taken off the
//                     double-line spacings, the plan's detour offset
//     B+540  float32  the scheme database's subgrade surface-layer thickness
//     B+548  float32×2  single-line spacings (left, right)
//     B+556  float32×2  double-line spacings (left, right)
//     B+564  int16    number of keys of the step table (0..5)
//     B+568  int32×5  step-table keys, ascending
//     B+588  float32×6  step-table values (one more than the keys)

#include <cstddef>

#include "mfc/cstring.h"

constexpr size_t kTechHeaderSize = 12;
constexpr size_t kTechBlockASize = 256;
constexpr size_t kTechBlockBSize = 612;
constexpr int kTechStepKeysMax = 5;

// Zero at load; a missing file leaves them as they were.
extern unsigned char g_TechBlockA[kTechBlockASize];
extern unsigned char g_TechBlockB[kTechBlockBSize];

// Reads the project and scheme first (ReadProjectAndScheme, whose result does
// not matter here), then the file into the blocks. Returns 1 when the file was
// read, 0 otherwise. A short file leaves the bytes it does not reach as they
// were. What is wrong is said on the command line, naming the file (once for
// each new fault): a missing file, a short one, a step-table key count outside
// 0..5; a damaged file (a number of block B that is not finite, a speed
// outside 0..1000 km/h) is refused: 0, the blocks unchanged.
int ReadTechParams();
// What the last ReadTechParams found wrong with the file, "" when nothing.
CString TechParamsProblem();
// True when the last ReadTechParams refused the file as damaged.
bool TechParamsDamaged();

// The step-table value for x: value[i] for the first key greater than x, or
// the last value when no key is; the key count is bounded to 0..5.
double LookupParamStepTable(double x);

// The fields of block B.
CString TechParamName();  // the name text, UTF-8
int TechDesignSpeed();
int TechLineKind();
double TechParam2();
double TechSubgradeSurfaceThickness();
double TechSingleLineSpacing(int side);  // side 0 left, 1 right
double TechDoubleLineSpacing(int side);
int TechStepKeyCount();                  // bounded to 0..5

// The scheme's line kind as the design dialog takes it, from the technical
// parameters read afresh: 1 "单线", 2 "双线", anything else "预留二线"; ""
// when the file is missing, damaged or too short to hold it (a scheme's line
// kind is never guessed).
CString LineKindOfScheme();
