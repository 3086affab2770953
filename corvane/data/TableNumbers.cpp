#include "TableNumbers.h"

#include <charconv>
#include <cmath>

#include "mfc/app.h"

namespace {

// A field's text: "" for a null field or one that cannot be read.
CString FieldText(CAdoRecordSet& recordSet, long index) {
  CString text;
  if (!recordSet.GetValueText(text, index) || text == "NULL") text.Empty();
  return text;
}

CString FieldTextByName(CAdoRecordSet& recordSet, const char* name) {
  CString text;
  if (!recordSet.GetValueTextByName(text, name) || text == "NULL") text.Empty();
  return text;
}

// The start of a text for a message: at most 40 bytes, never half a character.
CString Shown(const CString& text) {
  if (text.GetLength() <= 40) return text;
  int cut = 40;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.Left(cut) + "...";
}

}  // namespace

bool ParseFiniteNumber(CString text, double& value) {
  text.Trim();
  if (text.IsEmpty()) return false;
  const char* begin = text.GetString();
  const char* end = begin + text.GetLength();
  if (*begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  return ec == std::errc() && ptr == end && std::isfinite(value);
}

void TableNumbers::Begin(const CString& table) {
  m_table = table;
  m_row = 0;
  m_refused = false;
}

void TableNumbers::Refuse(const CString& text) {
  if (m_refused) return;  // the first fault is the one shown
  m_refused = true;
  AfxMessageBox(text + ", 该表不能读入!");
}

bool TableNumbers::RequireColumns(CAdoRecordSet& recordSet, std::initializer_list<const char*> names) {
  const long count = recordSet.GetFieldCount();
  for (const char* name : names) {
    bool found = false;
    for (long i = 0; i < count && !found; ++i) found = recordSet.GetFieldName(i).CompareNoCase(name) == 0;
    if (!found) {
      CString text;
      text.Format("表%s缺少列\"%s\"", m_table.GetString(), name);
      Refuse(text);
      return false;
    }
  }
  return true;
}

bool TableNumbers::RequireColumnCount(CAdoRecordSet& recordSet, long count, const char* lastName) {
  if (recordSet.GetFieldCount() > count) return true;
  CString text;
  text.Format("表%s缺少列\"%s\"(第%ld列)", m_table.GetString(), lastName, count);
  Refuse(text);
  return false;
}

double TableNumbers::Checked(const CString& text, const CString& column, bool needed) {
  double value = 0.0;
  if (ParseFiniteNumber(text, value)) return value;
  CString trimmed = text;
  trimmed.Trim();
  if (trimmed.IsEmpty() && !needed) return 0.0;
  CString message;
  if (trimmed.IsEmpty())
    message.Format("表%s第%d行\"%s\"列没有值", m_table.GetString(), m_row, column.GetString());
  else
    message.Format("表%s第%d行\"%s\"列的\"%s\"不是有限的数", m_table.GetString(), m_row, column.GetString(),
                   Shown(trimmed).GetString());
  Refuse(message);
  return 0.0;
}

double TableNumbers::Within(double value, double low, double high, const char* column) {
  if (value >= low && value <= high) return value;
  CString message;
  message.Format("表%s第%d行\"%s\"列的%.10g不在%.10g到%.10g之间", m_table.GetString(), m_row, column, value, low,
                 high);
  Refuse(message);
  return 0.0;
}

double TableNumbers::Needed(const CString& text, const CString& column) { return Checked(text, column, true); }
double TableNumbers::Optional(const CString& text, const CString& column) { return Checked(text, column, false); }

double TableNumbers::NeededAt(CAdoRecordSet& recordSet, long index) {
  return Checked(FieldText(recordSet, index), recordSet.GetFieldName(index), true);
}
double TableNumbers::OptionalAt(CAdoRecordSet& recordSet, long index) {
  return Checked(FieldText(recordSet, index), recordSet.GetFieldName(index), false);
}
double TableNumbers::NeededByName(CAdoRecordSet& recordSet, const char* name) {
  return Checked(FieldTextByName(recordSet, name), name, true);
}
double TableNumbers::OptionalByName(CAdoRecordSet& recordSet, const char* name) {
  return Checked(FieldTextByName(recordSet, name), name, false);
}
