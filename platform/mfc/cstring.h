#pragma once
// CString: the class library's byte string. It holds UTF-8 text; positions and
// lengths are in bytes, as the class library counts them. Case folding touches
// ASCII letters only.

#include <cstdarg>
#include <string>
#include <string_view>

#include "win/wintypes.h"

class PLATFORM_API CString {
 public:
  CString() = default;
  CString(const char* s) : m_s(s ? s : "") {}
  CString(const char* s, int length);
  CString(char ch, int repeat = 1);
  CString(const std::string& s) : m_s(s) {}
  CString(std::string&& s) : m_s(std::move(s)) {}
  CString(std::string_view s) : m_s(s) {}
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char* s) { m_s = s ? s : ""; return *this; }
  CString& operator=(char ch) { m_s.assign(1, ch); return *this; }
  CString& operator=(const std::string& s) { m_s = s; return *this; }

  // Length and access.
  int GetLength() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  // A position outside the text gives '\0' (reads) or changes nothing (writes).
  char GetAt(int i) const;
  void SetAt(int i, char ch);
  char operator[](int i) const { return GetAt(i); }
  operator const char*() const { return m_s.c_str(); }
  const char* GetString() const { return m_s.c_str(); }
  const std::string& str() const { return m_s; }
  std::string_view view() const { return m_s; }

  // Formatting in the "C" locale.
  void Format(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* fmt, va_list args);
  void AppendFormat(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
  void AppendFormatV(const char* fmt, va_list args);

  // Extraction; counts outside the text are clamped.
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;
  CString SpanIncluding(const char* set) const;
  CString SpanExcluding(const char* set) const;
  // Next token after position `start` delimited by any of `delims`; `start`
  // becomes -1 after the last token.
  CString Tokenize(const char* delims, int& start) const;

  // Searching: byte positions, -1 when not found.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const;
  int FindOneOf(const char* set) const;

  // Changing.
  int Replace(char oldCh, char newCh);
  int Replace(const char* oldText, const char* newText);
  int Remove(char ch);
  int Insert(int index, char ch);
  int Insert(int index, const char* text);
  int Delete(int index, int count = 1);
  CString& Trim();
  CString& Trim(char target);
  CString& Trim(const char* targets);
  CString& TrimLeft();
  CString& TrimLeft(char target);
  CString& TrimLeft(const char* targets);
  CString& TrimRight();
  CString& TrimRight(char target);
  CString& TrimRight(const char* targets);
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Comparison: Compare by bytes, CompareNoCase folding ASCII letters only.
  int Compare(const char* other) const;
  int CompareNoCase(const char* other) const;

  CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
  CString& operator+=(const char* s) { if (s) m_s += s; return *this; }
  CString& operator+=(char ch) { m_s += ch; return *this; }

  // Raw buffer access, as the class library gives it: GetBuffer returns a
  // writable buffer of at least `minLength` bytes plus a terminator;
  // ReleaseBuffer(-1) takes the length up to the first '\0'.
  char* GetBuffer(int minLength = 0);
  char* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  // Loads a text from the string table of the running module, else the
  // platform's (win/resources.h).
  BOOL LoadString(UINT id);

 private:
  std::string m_s;
};

typedef CString CStringA;

PLATFORM_API CString operator+(const CString& a, const CString& b);
PLATFORM_API CString operator+(const CString& a, const char* b);
PLATFORM_API CString operator+(const char* a, const CString& b);
PLATFORM_API CString operator+(const CString& a, char b);
PLATFORM_API CString operator+(char a, const CString& b);

inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
inline bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
inline bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const char* b) { return !(a == b); }
inline bool operator!=(const char* a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, const char* b) { return a.Compare(b) < 0; }
inline bool operator<(const char* a, const CString& b) { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
inline bool operator>(const CString& a, const char* b) { return a.Compare(b) > 0; }
inline bool operator>(const char* a, const CString& b) { return b.Compare(a) < 0; }
inline bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
inline bool operator<=(const CString& a, const char* b) { return a.Compare(b) <= 0; }
inline bool operator<=(const char* a, const CString& b) { return b.Compare(a) >= 0; }
inline bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }
inline bool operator>=(const CString& a, const char* b) { return a.Compare(b) >= 0; }
inline bool operator>=(const char* a, const CString& b) { return b.Compare(a) <= 0; }

// Registers one text of the running module's string table (of the platform's
// own when no module runs); see win/resources.h for whole tables.
PLATFORM_API void RegisterResourceString(UINT id, const char* text);

template <>
struct std::hash<CString> {
  size_t operator()(const CString& s) const noexcept { return std::hash<std::string>()(s.str()); }
};
