#include "mfc/cstring.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "crt/ascii.h"
#include "crt/format.h"
#include "win/resources.h"

namespace {

bool inSet(char ch, const char* set) { return set && ch != '\0' && std::strchr(set, ch) != nullptr; }
bool isBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f'; }
}  // namespace

CString::CString(const char* s, int length) {
  if (s && length > 0) m_s.assign(s, strnlen(s, static_cast<size_t>(length)));
}

CString::CString(char ch, int repeat) {
  if (repeat > 0) m_s.assign(static_cast<size_t>(repeat), ch);
}

char CString::GetAt(int i) const {
  return (i >= 0 && i < GetLength()) ? m_s[static_cast<size_t>(i)] : '\0';
}

void CString::SetAt(int i, char ch) {
  if (i >= 0 && i < GetLength()) m_s[static_cast<size_t>(i)] = ch;
}

void CString::Format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  FormatV(fmt, args);
  va_end(args);
}

void CString::FormatV(const char* fmt, va_list args) {
  std::string out;
  platform::appendFormatV(out, fmt, args);
  m_s = std::move(out);
}

void CString::AppendFormat(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  AppendFormatV(fmt, args);
  va_end(args);
}

void CString::AppendFormatV(const char* fmt, va_list args) {
  // Formatted apart first: an argument may point into this string's text,
  // which growing it in place would move.
  std::string out;
  platform::appendFormatV(out, fmt, args);
  m_s += out;
}

CString CString::Left(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(m_s.substr(0, static_cast<size_t>(count)));
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(m_s.substr(m_s.size() - static_cast<size_t>(count)));
}

CString CString::SpanIncluding(const char* set) const {
  size_t n = 0;
  while (n < m_s.size() && inSet(m_s[n], set)) ++n;
  return CString(m_s.substr(0, n));
}

CString CString::SpanExcluding(const char* set) const {
  size_t n = 0;
  while (n < m_s.size() && !inSet(m_s[n], set)) ++n;
  return CString(m_s.substr(0, n));
}

CString CString::Tokenize(const char* delims, int& start) const {
  if (start < 0) return CString();
  size_t i = static_cast<size_t>(start);
  while (i < m_s.size() && inSet(m_s[i], delims)) ++i;
  if (i >= m_s.size()) {
    start = -1;
    return CString();
  }
  size_t end = i;
  while (end < m_s.size() && !inSet(m_s[end], delims)) ++end;
  start = static_cast<int>(end < m_s.size() ? end + 1 : end);
  return CString(m_s.substr(i, end - i));
}

int CString::Find(char ch, int start) const {
  if (start < 0) start = 0;
  if (start >= GetLength()) return -1;
  size_t p = m_s.find(ch, static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Find(const char* sub, int start) const {
  if (!sub) return -1;
  if (start < 0) start = 0;
  if (start > GetLength()) return -1;
  size_t p = m_s.find(sub, static_cast<size_t>(start));
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::ReverseFind(char ch) const {
  size_t p = m_s.rfind(ch);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::FindOneOf(const char* set) const {
  if (!set || !*set) return -1;
  size_t p = m_s.find_first_of(set);
  return p == std::string::npos ? -1 : static_cast<int>(p);
}

int CString::Replace(char oldCh, char newCh) {
  int n = 0;
  for (char& c : m_s)
    if (c == oldCh) {
      c = newCh;
      ++n;
    }
  return n;
}

int CString::Replace(const char* oldText, const char* newText) {
  if (!oldText || !*oldText) return 0;
  std::string_view from(oldText);
  std::string_view to(newText ? newText : "");
  std::string out;
  int n = 0;
  size_t pos = 0;
  for (;;) {
    size_t hit = m_s.find(from, pos);
    if (hit == std::string::npos) break;
    out.append(m_s, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
    ++n;
  }
  if (n == 0) return 0;
  out.append(m_s, pos);
  m_s = std::move(out);
  return n;
}

int CString::Remove(char ch) {
  size_t before = m_s.size();
  m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
  return static_cast<int>(before - m_s.size());
}

int CString::Insert(int index, char ch) {
  index = std::clamp(index, 0, GetLength());
  m_s.insert(m_s.begin() + index, ch);
  return GetLength();
}

int CString::Insert(int index, const char* text) {
  index = std::clamp(index, 0, GetLength());
  if (text) m_s.insert(static_cast<size_t>(index), text);
  return GetLength();
}

int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (count > 0 && index < GetLength()) {
    count = std::min(count, GetLength() - index);
    m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  }
  return GetLength();
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(char target) { return TrimRight(target).TrimLeft(target); }
CString& CString::Trim(const char* targets) { return TrimRight(targets).TrimLeft(targets); }

CString& CString::TrimLeft() {
  size_t n = 0;
  while (n < m_s.size() && isBlank(m_s[n])) ++n;
  m_s.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(char target) {
  size_t n = 0;
  while (n < m_s.size() && m_s[n] == target) ++n;
  m_s.erase(0, n);
  return *this;
}

CString& CString::TrimLeft(const char* targets) {
  size_t n = 0;
  while (n < m_s.size() && inSet(m_s[n], targets)) ++n;
  m_s.erase(0, n);
  return *this;
}

CString& CString::TrimRight() {
  while (!m_s.empty() && isBlank(m_s.back())) m_s.pop_back();
  return *this;
}

CString& CString::TrimRight(char target) {
  while (!m_s.empty() && m_s.back() == target) m_s.pop_back();
  return *this;
}

CString& CString::TrimRight(const char* targets) {
  while (!m_s.empty() && inSet(m_s.back(), targets)) m_s.pop_back();
  return *this;
}

CString& CString::MakeUpper() {
  for (char& c : m_s) c = platform::asciiUpper(c);
  return *this;
}

CString& CString::MakeLower() {
  for (char& c : m_s) c = platform::asciiLower(c);
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_s.begin(), m_s.end());
  return *this;
}

int CString::Compare(const char* other) const {
  int r = std::strcmp(m_s.c_str(), other ? other : "");
  return (r > 0) - (r < 0);
}

int CString::CompareNoCase(const char* other) const {
  const unsigned char* a = reinterpret_cast<const unsigned char*>(m_s.c_str());
  const unsigned char* b = reinterpret_cast<const unsigned char*>(other ? other : "");
  for (;; ++a, ++b) {
    unsigned char ca = static_cast<unsigned char>(platform::asciiLower(static_cast<char>(*a)));
    unsigned char cb = static_cast<unsigned char>(platform::asciiLower(static_cast<char>(*b)));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_s.resize(static_cast<size_t>(minLength), '\0');
  return m_s.data();
}

char* CString::GetBufferSetLength(int length) {
  m_s.resize(static_cast<size_t>(std::max(length, 0)), '\0');
  return m_s.data();
}

void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) newLength = static_cast<int>(strnlen(m_s.c_str(), m_s.size()));
  m_s.resize(static_cast<size_t>(std::min(newLength, GetLength())));
}

BOOL CString::LoadString(UINT id) {
  std::string text;
  if (!platform::findResourceString(id, text)) return FALSE;
  m_s = std::move(text);
  return TRUE;
}

void RegisterResourceString(UINT id, const char* text) { platform::registerResourceString(id, text); }

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }
CString operator+(const CString& a, const char* b) { return CString(a.str() + (b ? b : "")); }
CString operator+(const char* a, const CString& b) { return CString(std::string(a ? a : "") + b.str()); }
CString operator+(const CString& a, char b) { return CString(a.str() + b); }
CString operator+(char a, const CString& b) { return CString(std::string(1, a) + b.str()); }
