#pragma once
// The row walk that XLDataBase's readers share, and the integer text its
// writers put into text columns (internal to its sources).

#include "XLDataBase.h"

// Replaces `rows` by as many default rows as the recordset holds, then fills
// them from the rows in order, from the current (first) row on: `fill` fills
// one row from the recordset's current row and returns false for a row it
// passes over (that slot is used by the next row). The count is the number
// of rows filled; the array keeps the length of the walk. A recordset that
// cannot move on ends the walk with the rows filled so far. `numbers` is told
// the number (from 1) of the database row being filled.
template <class Row, class Fill>
void ReadRows(CAdoRecordSet& recordset, Row*& rows, int& count, TableNumbers& numbers, Fill fill) {
  const long walked = recordset.CountRecords();
  XLDataBase::AllocRows(rows, count, static_cast<int>(walked));
  recordset.MoveFirst();
  int stored = 0;
  for (long i = 0; i < walked && !recordset.IsEOF(); ++i) {
    numbers.SetRow(static_cast<int>(i) + 1);
    if (fill(rows[stored])) ++stored;
    if (!recordset.MoveNext()) break;
  }
  count = stored;
}

// An int as the text "%d" (the ID, 交点号 and 断面信息 columns).
inline CString IntText(int value) {
  CString text;
  text.Format("%d", value);
  return text;
}
