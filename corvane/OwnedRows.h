#pragma once
// A row table owned by its holder: a row count and a heap array of rows that
// always agree. Allocating replaces the old rows (their destructors run);
// freeing destroys the rows and leaves the table empty, count 0 and no array.
//
// The design routines hand a table on as (count, rows), as the lookups take
// it: table.Count(), table.Rows().

#include <cstdio>
#include <cstdlib>
#include <utility>

template <class T>
class OwnedRows {
 public:
  OwnedRows() = default;
  ~OwnedRows() { Free(); }
  OwnedRows(const OwnedRows&) = delete;
  OwnedRows& operator=(const OwnedRows&) = delete;
  OwnedRows(OwnedRows&& other) noexcept : m_count(other.m_count), m_rows(other.m_rows) {
    other.m_count = 0;
    other.m_rows = nullptr;
  }
  OwnedRows& operator=(OwnedRows&& other) noexcept {
    if (this != &other) {
      Free();
      std::swap(m_count, other.m_count);
      std::swap(m_rows, other.m_rows);
    }
    return *this;
  }

  // Replaces the rows by n value-initialised rows; none when n <= 0.
  // Returns the new array (null when empty).
  T* Allocate(int n) {
    Free();
    if (n > 0) {
      m_rows = new T[static_cast<size_t>(n)]();
      m_count = n;
    }
    return m_rows;
  }
  // Destroys the rows; count 0, no array.
  void Free() {
    delete[] m_rows;
    m_rows = nullptr;
    m_count = 0;
  }
  // Keeps the first n rows in use (n at most the current count); the others
  // stay allocated until the next Allocate or Free.
  void Shrink(int n) {
    if (n >= 0 && n < m_count) m_count = n;
  }

  int Count() const { return m_count; }
  bool Empty() const { return m_count <= 0; }
  T* Rows() { return m_rows; }
  const T* Rows() const { return m_rows; }

  T& operator[](int i) {
    Check(i);
    return m_rows[i];
  }
  const T& operator[](int i) const {
    Check(i);
    return m_rows[i];
  }
  T& Last() { return (*this)[m_count - 1]; }
  const T& Last() const { return (*this)[m_count - 1]; }

  T* begin() { return m_rows; }
  T* end() { return m_rows + m_count; }
  const T* begin() const { return m_rows; }
  const T* end() const { return m_rows + m_count; }

 private:
  void Check(int i) const {
    if (i < 0 || i >= m_count) {
      std::fprintf(stderr, "OwnedRows: row %d outside 0..%d\n", i, m_count - 1);
      std::abort();
    }
  }
  int m_count = 0;
  T* m_rows = nullptr;
};
