#pragma once
// Chainage and continuous mileage through a chainage-break table.
//
// A line is staked in chainage (a prefix and metres) with breaks where the
// chainage jumps forward (a short chain: positive length) or back (a long
// chain: negative length); geometry works in continuous mileage, the true
// distance along the line. The records are in line order: record 0 holds the
// start of the line (its continuous mileage is before + length), the last
// record its end. Break i lies at continuous mileage
//   M0 = before0 + length0,  Mi = Mi−1 + beforei − (beforei−1 + lengthi−1).
//
// The free functions below serve any break table. The alignment model's own
// conversions are the same walk with other tolerances and wording; they call
// BreakChainageToMileage with kAlignmentModelRules.

#include <cstddef>

#include "project/ChainageText.h"

// One row of 断链表.
struct BreakRecord {
  double before = 0.0;                     // chainage on the left of the break (等号左里程数)
  double length = 0.0;                     // break length: after = before + length
  char prefixBefore[kChainPrefixSize] = {};  // 等号左里程冠号
  char prefixAfter[kChainPrefixSize] = {};   // 等号右里程冠号
};

// Sets a record's prefixes from database texts, bounded to the field
// (kChainPrefixGbkMax GBK bytes, cut at a character boundary).
void SetBreakPrefixes(BreakRecord& record, const char* before, const char* after);

// Continuous mileage -> chainage value; the prefix goes to `prefixOut` (room
// for `prefixOutSize` bytes; at most kChainPrefixGbkMax GBK bytes are written).
// Outside the contract (no records) the mileage itself comes back with an
// empty prefix.
double BreakTableMileageToChainage(double mileage, char* prefixOut, int count, const BreakRecord* table,
                                   size_t prefixOutSize = kChainPrefixSize);

// How a chainage text that no segment takes is settled, and how a prefix that
// disagrees across a break is reported.
struct ChainageLookupRules {
  double endTolerance;         // allowance before the first and after the last break
  bool nearLastBreakShortcut;  // a value within endTolerance of the last break's before value
                               // gives that break's mileage at once
  const char* mismatchFormat;  // message: break i−1, its prefix after, break i, its prefix before, text
};
extern const ChainageLookupRules kBreakTableRules;
extern const ChainageLookupRules kAlignmentModelRules;

// True when a chainage text reads as a chainage: an optional prefix up to its
// last 'K' or 'k', then kilometres and metres (at most one '+') that hold only
// digits and at most one decimal point, blanks allowed. "DK25+000.5" reads;
// "", "abc", "DK1e400", "DKnan", "DK0x10" and "DK25+0+00" do not. A text that
// does not read would convert to a chainage of 0 or one that is not finite.
bool ChainageTextReads(const char* text);

// Chainage text -> continuous mileage. A chainage found at several places or
// at none, and a prefix that disagrees across a break, are reported in message
// boxes; a number comes back in every case (the last position found, or the
// chainage value itself when there is none).
double BreakTableChainageToMileage(const char* chainageText, int count, const BreakRecord* table);
double BreakChainageToMileage(const char* chainageText, int count, const BreakRecord* table,
                              const ChainageLookupRules& rules);
