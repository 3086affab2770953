#pragma once
// The number a table cell holds, read strictly: the whole text (blanks and
// tabs around it allowed) must be one decimal number, an optional sign,
// digits with at most one decimal point, and an optional exponent
// ("-12", "3385364.60849", ".5", "1.5e-3"), whose value is finite. Whatever
// else a person may type or paste is no number here: names ("abc", "12abc"),
// "nan", "inf", a value beyond the range of a double ("1e999"), a comma
// ("1,5"), hexadecimal ("0x10"), a lone point, full-width digits ("１２").
// The reading does not depend on the process's locale. A text of more than
// kMostCellNumberChars characters (blanks around it aside) is no number
// either: no number a person writes is that long, and a cell's text stays
// bounded.

#include "mfc/cstring.h"

constexpr int kMostCellNumberChars = 400;

// True when `text` reads wholly as a finite decimal number, which goes to
// `value` (0 otherwise). An empty text or one of blanks only is no number.
bool ReadsAsCellNumber(const CString& text, double& value);
