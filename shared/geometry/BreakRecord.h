#pragma once
// One chainage break (断链) of a line's break table.
//
// The chainage after the break is before + length: a positive length is a
// short chain (the chainage jumps forward), a negative one a long chain. Row 0
// of a table holds the line's start, the last row the line's end. Continuous
// mileage of break i: M0 = before0 + length0,
// Mi = Mi-1 + beforei - (beforei-1 + lengthi-1).

struct BreakRecord {
  double before;         // chainage value before the break
  double length;         // break length
  char prefixBefore[8];  // prefix before the break, zero-terminated
  char prefixAfter[8];   // prefix after the break, zero-terminated
};

static_assert(sizeof(BreakRecord) == 32);
