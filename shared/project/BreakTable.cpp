#include "project/BreakTable.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "mfc/app.h"
#include "project/GbkText.h"

const ChainageLookupRules kBreakTableRules = {
    0.1, true, "第%d个断链的断后里程冠号%s与第%d个断链的断前里程冠号%s不一致,\n\n它可能导致有关%s的计算不可靠"};
const ChainageLookupRules kAlignmentModelRules = {
    0.00005, false, "第%d个断链的断后里程冠号%s与第%d个断链的断前里程冠号%s不一致,\n\n他将导致%s的计算不可靠"};

namespace {

// The kilometres-and-metres part of a chainage text without its one '+' and
// its blanks; false when it holds a second '+'.
bool JoinedNumber(const CString& rest, CString& joined) {
  const int plus = rest.ReverseFind('+');
  joined = plus >= 0 ? rest.Left(plus) + rest.Mid(plus + 1) : rest;
  if (joined.Find('+') >= 0) return false;
  joined.Remove(' ');
  joined.Remove('\t');
  return true;
}

// Tolerance to match a chainage break.
constexpr double kBreakTolerance = 0.00005;

// A prefix field as text (a field without a terminator ends at its size).
CString Field(const char (&field)[kChainPrefixSize]) {
  return CString(field, static_cast<int>(strnlen(field, kChainPrefixSize)));
}
CString Upper(CString s) { return s.MakeUpper(); }
CString Lower(CString s) { return s.MakeLower(); }
CString TrimmedUpper(CString s) { return s.Trim().MakeUpper(); }

// number × 1000 cut to whole millimetres. A product that lies within a few
// units of the last place below a whole number is that number (a typed 1.001
// is 1000.9999999999999 mm in binary).
double CutToMillimetres(double number) {
  double mm = number * 1000.0;
  double nearest = std::round(mm);
  if (std::fabs(mm - nearest) <= 1e-12 * std::max(1.0, std::fabs(mm))) mm = nearest;
  return std::floor(mm) * 0.001;
}

// The prefix, up to and including the last 'K' or 'k', and the value of a
// chainage text.
void SplitChainageText(const char* text, double& value, CString& prefix) {
  CString s(text ? text : "");
  int k = std::max(s.ReverseFind('K'), s.ReverseFind('k'));
  prefix = s.Left(k + 1);
  CString joined;
  JoinedNumber(s.Mid(k + 1), joined);
  value = CutToMillimetres(std::strtod(joined.GetString(), nullptr));
}


// The chainage at break r itself: its before value with the prefix before
// when that is a whole number of metres, else its after value.
double ChainageAtBreak(const BreakRecord& r, CString& prefix) {
  if (std::fabs(r.before - std::floor(r.before)) < kBreakTolerance) {
    prefix = Upper(Field(r.prefixBefore));
    return r.before;
  }
  prefix = Upper(Field(r.prefixAfter));
  return r.before + r.length;
}

// The prefix of a point with chainage `value` between break a (before it) and
// break b (after it), `back` metres of mileage before b.
CString PrefixBetween(const BreakRecord& a, const BreakRecord& b, double value, double back) {
  CString p = TrimmedUpper(Field(a.prefixAfter));
  CString q = TrimmedUpper(Field(b.prefixBefore));
  if (p == q) return p;
  if (a.length < 0.00001 && value < a.before) return p;
  if (b.length < 0.00001 && value < b.before) return q;
  double segment = b.before - a.before - a.length;
  return segment < 2.0 * back ? p : q;
}

void ShowPositionMessage(const char* text, const char* finding) {
  CString message = CString("系统发现") + text + finding;
  AfxMessageBox(message);
}

}  // namespace

void SetBreakPrefixes(BreakRecord& record, const char* before, const char* after) {
  CopyTextBounded(record.prefixBefore, kChainPrefixSize, before, kChainPrefixGbkMax);
  CopyTextBounded(record.prefixAfter, kChainPrefixSize, after, kChainPrefixGbkMax);
}

double BreakTableMileageToChainage(double mileage, char* prefixOut, int count, const BreakRecord* table,
                                   size_t prefixOutSize) {
  CString prefix;
  double value = mileage;
  if (count > 0 && table) {
    double m = table[0].before + table[0].length;
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
      if (i > 0) m += table[i].before - (table[i - 1].before + table[i - 1].length);
      if (std::fabs(mileage - m) < kBreakTolerance) {
        value = ChainageAtBreak(table[i], prefix);
        found = true;
      } else if (mileage < m) {
        if (i == 0) {
          value = mileage + (table[0].before - m);
          prefix = Upper(Field(table[0].prefixBefore));
        } else {
          value = table[i].before - (m - mileage);
          prefix = PrefixBetween(table[i - 1], table[i], value, m - mileage);
        }
        found = true;
      }
    }
    if (!found) {
      const BreakRecord& last = table[count - 1];
      value = mileage + (last.before + last.length) - m;
      prefix = Field(last.prefixAfter);
    }
  }
  CopyTextBounded(prefixOut, prefixOutSize, prefix.GetString(), kChainPrefixGbkMax);
  return value;
}

bool ChainageTextReads(const char* text) {
  const CString s(text ? text : "");
  const int k = std::max(s.ReverseFind('K'), s.ReverseFind('k'));
  CString joined;
  if (!JoinedNumber(s.Mid(k + 1), joined)) return false;
  int digits = 0, points = 0;
  for (int i = 0; i < joined.GetLength(); ++i) {
    const char c = joined[i];
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == '.') {
      ++points;
    } else {
      return false;
    }
  }
  return digits > 0 && points <= 1;
}

double BreakTableChainageToMileage(const char* chainageText, int count, const BreakRecord* table) {
  return BreakChainageToMileage(chainageText, count, table, kBreakTableRules);
}

double BreakChainageToMileage(const char* chainageText, int count, const BreakRecord* table,
                              const ChainageLookupRules& rules) {
  const char* text = chainageText ? chainageText : "";
  double value;
  CString prefix;
  SplitChainageText(text, value, prefix);
  prefix.Trim();
  prefix.MakeLower();
  if (count <= 0 || !table) return value;

  int hits = 0;
  double result = value;
  double m = table[0].before + table[0].length;  // mileage of break i−1
  for (int i = 1; i < count; ++i) {
    const BreakRecord& a = table[i - 1];
    const BreakRecord& b = table[i];
    if (a.before + a.length - value < kBreakTolerance && value - b.before < kBreakTolerance) {
      if (prefix == Lower(Field(a.prefixAfter))) {
        ++hits;
        result = m + value - a.before - a.length;
      } else if (prefix == Lower(Field(b.prefixBefore))) {
        ++hits;
        result = m + value - a.before - a.length;
        CString message;
        message.Format(rules.mismatchFormat, i - 1, Field(a.prefixAfter).GetString(), i,
                       Field(b.prefixBefore).GetString(), text);
        AfxMessageBox(message);
      }
    }
    m += b.before - a.length - a.before;
  }

  if (hits == 0) {
    const BreakRecord& first = table[0];
    const BreakRecord& last = table[count - 1];
    if (value < first.before + rules.endTolerance && prefix == Lower(Field(first.prefixBefore))) {
      result = value + first.length;
      hits = 1;
    } else if (rules.nearLastBreakShortcut && value > last.before - rules.endTolerance &&
               value < last.before + rules.endTolerance) {
      return m;
    } else if (value > last.before + last.length - rules.endTolerance &&
               prefix == Lower(Field(last.prefixAfter))) {
      result = m + value - last.before - last.length;
      hits = 1;
    }
  }

  if (hits >= 2)
    ShowPositionMessage(text, "在线路上有多个位置，可能是断链表数据有问题");
  else if (hits == 0)
    ShowPositionMessage(text, "在线路上没有其位置，可能是短链或断链表数据有问题");
  return result;
}
