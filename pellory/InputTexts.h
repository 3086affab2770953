#pragma once
// Texts of the ground-line input: the chainage text a station is shown by,
// and the detour number a detour line's label carries.

#include "mfc/cstring.h"

// "<prefix><km>+<mmm.mm>": the kilometres, "+", the metres with two decimals
// and three integer digits (DK12+005.50 for 12005.5 with the prefix DK,
// K0+005.50 for 5.5 with K). The chainage is rounded to centimetres first,
// so the metres never read 1000.00. A negative chainage is written with "-"
// after the prefix.
CString StationText(const CString& prefix, double chainage);

// Reads a station text typed or imported ("DK12+345.67", "K-0+050.000",
// "1234.5"): the prefix up to and including the last K (any case), then the
// chainage from the digits before and after the "+" joined, blanks left out,
// cut to whole millimetres (as ParseChainageText splits it). False when that
// number is missing, is no finite number ("inf", "nan", "1e400"), has
// anything else in it ("12abc", a second "+"), or is too large to cut to
// millimetres; `prefix` and `chainage` are then left as they were.
bool ReadStationText(const char* text, CString& prefix, double& chainage);

// The detour number of a detour line's label, such as "左线第3绕行段" or
// "右线第12绕行段 remark": the whole number of ASCII digits between the first
// "第" and the "绕行段" that follows them (blanks round the label ignored).
// False when the name is no such label (no "第", no digits, a number too
// large for an int, or no "绕行段" right after the digits).
bool DetourNumberOfLabel(const CString& lineName, int& number);

// The detour text of a record: "%d" of the number.
CString DetourText(int number);
