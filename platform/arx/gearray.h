#pragma once
// AcArray: the growable array of the drawing interface (AcGePoint3dArray,
// AcDbObjectIdArray, ...). Indexes are int; an index outside [0, length())
// stops the program with a message rather than touching memory it does not own.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "arx/gegeometry.h"

namespace platform {
[[noreturn]] inline void acArrayIndexError(int index, int length) {
  std::fprintf(stderr, "AcArray: index %d outside 0..%d\n", index, length - 1);
  std::abort();
}
}  // namespace platform

template <class T>
class AcArray {
 public:
  explicit AcArray(int physicalLength = 0, int growLength = 8) : m_grow(growLength) {
    if (physicalLength > 0) m_items.reserve(static_cast<size_t>(physicalLength));
  }

  int length() const { return static_cast<int>(m_items.size()); }
  int logicalLength() const { return length(); }
  int physicalLength() const { return static_cast<int>(m_items.capacity()); }
  bool isEmpty() const { return m_items.empty(); }
  int growLength() const { return m_grow; }
  AcArray& setGrowLength(int n) { m_grow = n; return *this; }

  T& operator[](int i) { check(i); return m_items[static_cast<size_t>(i)]; }
  const T& operator[](int i) const { check(i); return m_items[static_cast<size_t>(i)]; }
  T& at(int i) { return (*this)[i]; }
  const T& at(int i) const { return (*this)[i]; }
  T& first() { return (*this)[0]; }
  const T& first() const { return (*this)[0]; }
  T& last() { return (*this)[length() - 1]; }
  const T& last() const { return (*this)[length() - 1]; }
  AcArray& setAt(int i, const T& value) { (*this)[i] = value; return *this; }

  // Appends a value; returns its index.
  int append(const T& value) { m_items.push_back(value); return length() - 1; }
  AcArray& append(const AcArray& other) {
    m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    return *this;
  }
  // Inserts before `index` (index == length() appends).
  AcArray& insertAt(int index, const T& value) {
    if (index < 0 || index > length()) platform::acArrayIndexError(index, length() + 1);
    m_items.insert(m_items.begin() + index, value);
    return *this;
  }
  AcArray& removeAt(int index) {
    check(index);
    m_items.erase(m_items.begin() + index);
    return *this;
  }
  // Removes the first element equal to `value`; false when there is none.
  bool remove(const T& value, int start = 0) {
    int i;
    if (!find(value, i, start)) return false;
    removeAt(i);
    return true;
  }
  AcArray& removeFirst() { return removeAt(0); }
  AcArray& removeLast() { return removeAt(length() - 1); }
  AcArray& removeAll() { m_items.clear(); return *this; }
  AcArray& removeSubArray(int startIndex, int endIndex) {
    check(startIndex);
    check(endIndex);
    if (endIndex >= startIndex) m_items.erase(m_items.begin() + startIndex, m_items.begin() + endIndex + 1);
    return *this;
  }
  AcArray& setLogicalLength(int n) { m_items.resize(static_cast<size_t>(std::max(0, n))); return *this; }
  AcArray& setPhysicalLength(int n) {
    if (n > length()) m_items.reserve(static_cast<size_t>(n));
    return *this;
  }
  AcArray& reverse() { std::reverse(m_items.begin(), m_items.end()); return *this; }
  AcArray& swap(int i, int j) {
    check(i);
    check(j);
    std::swap(m_items[static_cast<size_t>(i)], m_items[static_cast<size_t>(j)]);
    return *this;
  }

  bool contains(const T& value, int start = 0) const {
    int i;
    return find(value, i, start);
  }
  bool find(const T& value, int& foundAt, int start = 0) const {
    for (int i = std::max(0, start); i < length(); ++i)
      if (m_items[static_cast<size_t>(i)] == value) {
        foundAt = i;
        return true;
      }
    return false;
  }
  int find(const T& value) const {
    int i;
    return find(value, i, 0) ? i : -1;
  }

  T* asArrayPtr() { return m_items.data(); }
  const T* asArrayPtr() const { return m_items.data(); }
  typename std::vector<T>::iterator begin() { return m_items.begin(); }
  typename std::vector<T>::iterator end() { return m_items.end(); }
  typename std::vector<T>::const_iterator begin() const { return m_items.begin(); }
  typename std::vector<T>::const_iterator end() const { return m_items.end(); }

  bool operator==(const AcArray& other) const { return m_items == other.m_items; }

 private:
  void check(int i) const {
    if (i < 0 || i >= length()) platform::acArrayIndexError(i, length());
  }
  std::vector<T> m_items;
  int m_grow;
};

typedef AcArray<AcGePoint2d> AcGePoint2dArray;
typedef AcArray<AcGePoint3d> AcGePoint3dArray;
typedef AcArray<AcGeVector2d> AcGeVector2dArray;
typedef AcArray<AcGeVector3d> AcGeVector3dArray;
typedef AcArray<double> AcGeDoubleArray;
typedef AcArray<int> AcGeIntArray;
