#pragma once
// The class library's collections: CArray and its typed cousins, CMap.
//
// Elements are value-initialised when an array grows (numbers become 0), as the
// class library's arrays zero new elements. An index outside the array is a
// programming error: it stops the program with a message instead of touching
// memory it does not own.

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <list>
#include <map>
#include <utility>
#include <vector>

#include "mfc/cobject.h"
#include "mfc/cstring.h"

struct __POSITION {};
typedef __POSITION* POSITION;

namespace platform::detail {
[[noreturn]] PLATFORM_API void collectionIndexFault(const char* what, long long index, long long size);
}

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;
  CArray(const CArray&) = delete;  // the class library's arrays are not copyable: use Copy
  CArray& operator=(const CArray&) = delete;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  BOOL IsEmpty() const { return m_data.empty(); }

  // Sets the size; `growBy` is the reserve step (-1 keeps the current one).
  void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
    if (newSize < 0) platform::detail::collectionIndexFault("CArray::SetSize", newSize, GetSize());
    if (growBy >= 0) m_growBy = growBy;
    if (static_cast<size_t>(newSize) > m_data.capacity() && m_growBy > 0)
      m_data.reserve(static_cast<size_t>(newSize + m_growBy));
    m_data.resize(static_cast<size_t>(newSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  const TYPE& GetAt(INT_PTR i) const { return m_data[check(i, "CArray::GetAt")]; }
  TYPE& GetAt(INT_PTR i) { return m_data[check(i, "CArray::GetAt")]; }
  void SetAt(INT_PTR i, ARG_TYPE e) { m_data[check(i, "CArray::SetAt")] = e; }
  TYPE& ElementAt(INT_PTR i) { return m_data[check(i, "CArray::ElementAt")]; }
  const TYPE& ElementAt(INT_PTR i) const { return m_data[check(i, "CArray::ElementAt")]; }
  TYPE& operator[](INT_PTR i) { return ElementAt(i); }
  const TYPE& operator[](INT_PTR i) const { return ElementAt(i); }
  TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }
  const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }

  // Sets element i, growing the array when i is past its end. The value is
  // taken before the array grows: e may refer into this array.
  void SetAtGrow(INT_PTR i, ARG_TYPE e) {
    if (i < 0) platform::detail::collectionIndexFault("CArray::SetAtGrow", i, GetSize());
    TYPE value = e;
    if (i >= GetSize()) SetSize(i + 1);
    m_data[static_cast<size_t>(i)] = std::move(value);
  }
  INT_PTR Add(ARG_TYPE e) {
    m_data.push_back(e);
    return GetSize() - 1;
  }
  INT_PTR Append(const CArray& src) {
    INT_PTR old = GetSize();
    if (&src == this) {
      std::vector<TYPE> copy(src.m_data);
      m_data.insert(m_data.end(), copy.begin(), copy.end());
    } else {
      m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
    }
    return old;
  }
  void Copy(const CArray& src) {
    if (&src != this) m_data = src.m_data;
  }
  // Inserts `count` copies of e before index; an index past the end grows the array.
  void InsertAt(INT_PTR index, ARG_TYPE e, INT_PTR count = 1) {
    if (index < 0 || count < 0) platform::detail::collectionIndexFault("CArray::InsertAt", index, GetSize());
    TYPE value = e;  // e may refer into this array
    if (index >= GetSize()) {
      SetSize(index + count);
      for (INT_PTR k = 0; k < count; ++k) m_data[static_cast<size_t>(index + k)] = value;
    } else {
      m_data.insert(m_data.begin() + index, static_cast<size_t>(count), value);
    }
  }
  void InsertAt(INT_PTR start, const CArray* src) {
    if (!src || src->IsEmpty()) return;
    if (start < 0) platform::detail::collectionIndexFault("CArray::InsertAt", start, GetSize());
    std::vector<TYPE> copy(src->m_data);
    if (start > GetSize()) SetSize(start);
    m_data.insert(m_data.begin() + start, copy.begin(), copy.end());
  }
  void RemoveAt(INT_PTR index, INT_PTR count = 1) {
    if (index < 0 || count < 0 || index + count > GetSize())
      platform::detail::collectionIndexFault("CArray::RemoveAt", index + count - 1, GetSize());
    m_data.erase(m_data.begin() + index, m_data.begin() + index + count);
  }

  // Range-for support.
  TYPE* begin() { return m_data.data(); }
  TYPE* end() { return m_data.data() + m_data.size(); }
  const TYPE* begin() const { return m_data.data(); }
  const TYPE* end() const { return m_data.data() + m_data.size(); }

 private:
  size_t check(INT_PTR i, const char* what) const {
    if (i < 0 || i >= GetSize()) platform::detail::collectionIndexFault(what, i, GetSize());
    return static_cast<size_t>(i);
  }
  std::vector<TYPE> m_data;
  INT_PTR m_growBy = 0;
};

class CStringArray : public CArray<CString, const char*> {};
class CPtrArray : public CArray<void*, void*> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CUIntArray : public CArray<UINT, UINT> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CWordArray : public CArray<WORD, WORD> {};

// An array of typed pointers over CPtrArray or CObArray-like bases.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(INT_PTR i) const { return static_cast<TYPE>(BASE_CLASS::GetAt(i)); }
  TYPE& ElementAt(INT_PTR i) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(i)); }
  void SetAt(INT_PTR i, TYPE p) { BASE_CLASS::SetAt(i, p); }
  INT_PTR Add(TYPE p) { return BASE_CLASS::Add(p); }
  TYPE operator[](INT_PTR i) const { return GetAt(i); }
  TYPE& operator[](INT_PTR i) { return ElementAt(i); }
};

// CMap: a keyed collection. Iteration (GetStartPosition/GetNextAssoc) visits
// the entries in the order they were first added.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 public:
  CMap() = default;
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;

  INT_PTR GetCount() const { return static_cast<INT_PTR>(m_index.size()); }
  INT_PTR GetSize() const { return GetCount(); }
  BOOL IsEmpty() const { return m_index.empty(); }
  void InitHashTable(UINT, BOOL = TRUE) {}

  BOOL Lookup(ARG_KEY key, VALUE& value) const {
    auto it = m_index.find(KEY(key));
    if (it == m_index.end()) return FALSE;
    value = it->second->second;
    return TRUE;
  }
  VALUE& operator[](ARG_KEY key) {
    KEY k(key);
    auto it = m_index.find(k);
    if (it != m_index.end()) return it->second->second;
    m_nodes.emplace_back(k, VALUE());
    auto node = std::prev(m_nodes.end());
    m_index.emplace(k, node);
    return node->second;
  }
  void SetAt(ARG_KEY key, ARG_VALUE value) { (*this)[key] = value; }
  BOOL RemoveKey(ARG_KEY key) {
    auto it = m_index.find(KEY(key));
    if (it == m_index.end()) return FALSE;
    m_nodes.erase(it->second);
    m_index.erase(it);
    return TRUE;
  }
  void RemoveAll() {
    m_index.clear();
    m_nodes.clear();
  }
  POSITION GetStartPosition() const {
    return m_nodes.empty() ? nullptr : toPosition(&m_nodes.front());
  }
  void GetNextAssoc(POSITION& pos, KEY& key, VALUE& value) const {
    const Node* node = reinterpret_cast<const Node*>(pos);
    key = node->first;
    value = node->second;
    auto it = m_index.find(node->first);
    auto next = std::next(it->second);
    pos = next == m_nodes.end() ? nullptr : toPosition(&*next);
  }

 private:
  typedef std::pair<KEY, VALUE> Node;
  static POSITION toPosition(const Node* n) { return reinterpret_cast<POSITION>(const_cast<Node*>(n)); }
  std::list<Node> m_nodes;
  std::map<KEY, typename std::list<Node>::iterator> m_index;
};
