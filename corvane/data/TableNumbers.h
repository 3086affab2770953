#pragma once
// Checked numbers of a scheme table's rows. A number the design takes from a
// table is a finite number, or the table is refused: a column the reader needs
// and the table lacks, an empty (null) field where a value is needed, and a
// text that is no finite number (also "nan" or "inf") each refuse the table
// with one message naming the table, the row and the column. An optional
// number reads an empty field as 0.
//
// A reader makes one checker per table read, tells it the row it is on, takes
// every number through it and, when the walk is over, stops if Refused(): the
// first fault has then been shown in a message box.

#include <initializer_list>

#include "ado/AdoWrapper.h"
#include "mfc/cstring.h"

// Parses a whole text (blanks around it allowed) as a finite number.
bool ParseFiniteNumber(CString text, double& value);

// The number a double field reads as: its text has 8 decimals, so the value
// read is the value rounded to 8 decimals (halves to even), taken back to the
// nearest double. Worked here exactly without the text; false (leaving it to
// the text) for a value beyond 9e7 or one that is not finite.
bool RoundedToEightDecimals(double value, double& rounded);

class TableNumbers {
 public:
  explicit TableNumbers(const CString& table = CString()) : m_table(table) {}

  // Starts the checks of another table read.
  void Begin(const CString& table);
  // The row being read, counted from 1 in the database's order.
  void SetRow(int row) { m_row = row; }
  int Row() const { return m_row; }

  // True when the recordset has every column named (any ASCII case).
  bool RequireColumns(CAdoRecordSet& recordSet, std::initializer_list<const char*> names);
  // True when the recordset has the columns 0 .. count, read by position;
  // `lastName` names column `count` in the message.
  bool RequireColumnCount(CAdoRecordSet& recordSet, long count, const char* lastName);

  // The number of a field's text, checked; 0 when refused.
  double Needed(const CString& text, const CString& column);
  double Optional(const CString& text, const CString& column);
  // The same for field `index` (its name taken from the recordset) or the
  // field named `name` of the current row.
  double NeededAt(CAdoRecordSet& recordSet, long index);
  double OptionalAt(CAdoRecordSet& recordSet, long index);
  double NeededByName(CAdoRecordSet& recordSet, const char* name);
  double OptionalByName(CAdoRecordSet& recordSet, const char* name);

  // A number already read that must lie within [low, high]: outside it the
  // table is refused with a message naming the table, the row, the column and
  // the range, and 0 comes back.
  double Within(double value, double low, double high, const char* column);

  bool Refused() const { return m_refused; }
  // Refuses the table for another reason (the message names it).
  void Refuse(const CString& text);

 private:
  double Checked(const CString& text, const CString& column, bool needed);
  double CheckedAt(CAdoRecordSet& recordSet, long index, bool needed);
  CString m_table;
  int m_row = 0;
  bool m_refused = false;
};
