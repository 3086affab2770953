#include "TableNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "mfc/app.h"

namespace {

// A field's text: "" for a null field or one that cannot be read.
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

// The number of a field's value without its text where the text would only
// be read back: integers, and doubles through their 8-decimal rounding.
// False for anything else (texts, nulls, other types), which go through the text.
bool QuickNumber(const VARIANT& value, double& number) {
  switch (value.vt) {
    case VT_I2: number = value.iVal; return true;
    case VT_I4:
    case VT_UI8:
    case VT_INT:
    case VT_VOID: number = static_cast<int>(value.lVal); return true;
    case VT_UI2: number = value.uiVal; return true;
    case VT_UI4:
    case VT_UINT: number = static_cast<int>(static_cast<LONG>(value.ulVal)); return true;
    case VT_I8: number = static_cast<int32_t>(static_cast<uint32_t>(value.llVal)); return true;
    case VT_R8: return RoundedToEightDecimals(value.dblVal, number);
    default: return false;
  }
}

}  // namespace

bool RoundedToEightDecimals(double value, double& rounded) {
  // 9e7 * 10^8 stays below 2^53: the rounded units are an exact double.
  if (!(std::fabs(value) < 9e7)) return false;
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(value), &exponent);  // |value| = fraction * 2^exponent
  // |value| = mantissa * 2^(exponent - 53) exactly; times 10^8 = 5^8 * 2^8 it
  // is mantissa * 5^8 * 2^(exponent - 45), and exponent <= 27 here.
  const auto mantissa = static_cast<unsigned long long>(std::ldexp(fraction, 53));
  const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * 390625u;
  const int shift = 45 - exponent;
  unsigned long long units = 0;
  if (shift < 128) {
    const unsigned __int128 whole = product >> shift;
    const unsigned __int128 rest = product - (whole << shift);
    const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
    units = static_cast<unsigned long long>(whole);
    if (rest > half || (rest == half && (units & 1) != 0)) ++units;
  }
  // units and 10^8 are exact doubles: their quotient is the nearest double
  // to units / 10^8, as reading the decimal text gives.
  const double magnitude = static_cast<double>(units) / 1e8;
  rounded = std::signbit(value) ? -magnitude : magnitude;
  return true;
}

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

// The field's number as its text reads; the column's name is looked up only
// for a message.
double TableNumbers::CheckedAt(CAdoRecordSet& recordSet, long index, bool needed) {
  _variant_t value;
  CString text;
  if (recordSet.GetValueVariant(value, index)) {
    double number = 0.0;
    if (QuickNumber(value, number)) return number;
    text = AdoVariantToText(value);
    if (text == "NULL") text.Empty();
    if (ParseFiniteNumber(text, number)) return number;
  }
  return Checked(text, recordSet.GetFieldName(index), needed);
}

double TableNumbers::NeededAt(CAdoRecordSet& recordSet, long index) { return CheckedAt(recordSet, index, true); }
double TableNumbers::OptionalAt(CAdoRecordSet& recordSet, long index) { return CheckedAt(recordSet, index, false); }
double TableNumbers::NeededByName(CAdoRecordSet& recordSet, const char* name) {
  return Checked(FieldTextByName(recordSet, name), name, true);
}
double TableNumbers::OptionalByName(CAdoRecordSet& recordSet, const char* name) {
  return Checked(FieldTextByName(recordSet, name), name, false);
}
