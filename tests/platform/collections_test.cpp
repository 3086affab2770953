#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mfc/collections.h"

namespace {

std::vector<int> contents(const CArray<int, int>& a) { return std::vector<int>(a.begin(), a.end()); }

void fill(CArray<int, int>& a, const std::vector<int>& values) {
  a.RemoveAll();
  for (int v : values) a.Add(v);
}

TEST(CArrayTest, GrowthZeroesNewElements) {
  CArray<double, double> a;
  EXPECT_EQ(a.GetSize(), 0);
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.GetData(), nullptr);
  a.SetSize(3, 10);
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a.GetCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(a[i], 0.0);
  a[1] = 2.5;
  a.SetAtGrow(7, 9.0);
  EXPECT_EQ(a.GetSize(), 8);
  EXPECT_EQ(a.GetUpperBound(), 7);
  EXPECT_EQ(a[1], 2.5);
  for (int i = 3; i < 7; ++i) EXPECT_EQ(a[i], 0.0) << i;
  EXPECT_EQ(a[7], 9.0);
  EXPECT_EQ(a.Add(1.0), 8);
  a.SetSize(2);  // shrinking keeps the first elements
  EXPECT_EQ(a.GetSize(), 2);
  EXPECT_EQ(a.GetAt(1), 2.5);
  a.SetSize(4);  // growing again gives zeros, not the old values
  EXPECT_EQ(a[2], 0.0);
  EXPECT_EQ(a[3], 0.0);
  a.ElementAt(3) = 4.0;
  EXPECT_EQ(a.GetData()[3], 4.0);
}

TEST(CArrayTest, InsertAndRemove) {
  struct Insert {
    INT_PTR index;
    int value;
    INT_PTR count;
    std::vector<int> expected;
  };
  const std::vector<Insert> inserts = {
      {0, 9, 1, {9, 1, 2, 3}},
      {1, 9, 2, {1, 9, 9, 2, 3}},
      {3, 9, 1, {1, 2, 3, 9}},        // at the end
      {5, 9, 1, {1, 2, 3, 0, 0, 9}},  // past the end: the gap is zeroed
      {1, 9, 0, {1, 2, 3}},
  };
  for (const Insert& c : inserts) {
    CArray<int, int> a;
    fill(a, {1, 2, 3});
    a.InsertAt(c.index, c.value, c.count);
    EXPECT_EQ(contents(a), c.expected) << "insert at " << c.index;
  }

  struct Remove {
    INT_PTR index;
    INT_PTR count;
    std::vector<int> expected;
  };
  const std::vector<Remove> removes = {{1, 1, {1, 3}}, {0, 3, {}}, {2, 1, {1, 2}}, {0, 0, {1, 2, 3}}};
  for (const Remove& c : removes) {
    CArray<int, int> a;
    fill(a, {1, 2, 3});
    a.RemoveAt(c.index, c.count);
    EXPECT_EQ(contents(a), c.expected) << "remove at " << c.index;
  }
}

TEST(CArrayTest, ArraysIntoArrays) {
  CArray<int, int> a, b;
  fill(a, {1, 2, 3});
  fill(b, {7, 8});
  a.InsertAt(1, &b);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 7, 8, 2, 3}));
  fill(a, {1, 2});
  a.InsertAt(0, &a);  // itself
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 1, 2}));
  fill(a, {1, 2});
  EXPECT_EQ(a.Append(a), 2);
  EXPECT_EQ(contents(a), (std::vector<int>{1, 2, 1, 2}));
  b.Copy(a);
  EXPECT_EQ(contents(b), contents(a));
  b.Copy(b);
  EXPECT_EQ(contents(b), (std::vector<int>{1, 2, 1, 2}));
}

// An element passed by reference from the same array must survive the
// array's growth.
TEST(CArrayTest, ElementOfTheSameArrayAsArgument) {
  CArray<CString, const CString&> a;
  a.Add("单线");
  a.Add("双线");
  a.SetAtGrow(50, a[0]);
  EXPECT_EQ(a[50], "单线");
  for (int i = 0; i < 40; ++i) a.Add(a[1]);
  EXPECT_EQ(a[90], "双线");
  a.InsertAt(0, a[1], 30);
  EXPECT_EQ(a[29], "双线");
  EXPECT_EQ(a[30], "单线");

  CStringArray s;
  s.Add("左线");
  s.SetAtGrow(40, s[0]);  // a pointer into the element's text
  EXPECT_EQ(s[40], "左线");
  EXPECT_EQ(s[39], "");
}

TEST(CArrayTest, TypedArrays) {
  CStringArray names;
  EXPECT_EQ(names.Add("基线"), 0);
  EXPECT_EQ(names.Add(CString("左线绕行段")), 1);
  EXPECT_EQ(names.GetAt(1).GetLength(), 15);
  CDWordArray words;
  words.SetSize(2);
  words[1] = 0xFFFFFFFFu;
  EXPECT_EQ(words[1], 0xFFFFFFFFu);
  CUIntArray uints;
  uints.Add(7);
  EXPECT_EQ(uints.GetAt(0), 7u);
  CPtrArray pointers;
  int x = 0;
  pointers.Add(&x);
  EXPECT_EQ(pointers[0], &x);
}

TEST(CArrayDeathTest, IndexOutsideStops) {
  CArray<int, int> a;
  a.Add(1);
  EXPECT_DEATH(a.GetAt(1), "outside an array of 1");
  EXPECT_DEATH(a.RemoveAt(0, 2), "outside");
}

TEST(CMapTest, LookupInsertRemoveAndOrder) {
  CMap<CString, LPCTSTR, int, int> m;
  int v = -1;
  EXPECT_FALSE(m.Lookup("单线", v));
  m["单线"] = 1;
  m.SetAt("双线", 2);
  m["左线"];  // inserts a zero
  m.SetAt("单线", 10);
  EXPECT_EQ(m.GetCount(), 3);
  EXPECT_TRUE(m.Lookup("单线", v));
  EXPECT_EQ(v, 10);
  EXPECT_TRUE(m.Lookup("左线", v));
  EXPECT_EQ(v, 0);

  // Visiting order is the order of first insertion; the current key may be
  // removed while visiting.
  std::vector<std::string> keys;
  POSITION pos = m.GetStartPosition();
  while (pos) {
    CString key;
    int value;
    m.GetNextAssoc(pos, key, value);
    keys.push_back(key.str());
    if (key == "双线") {
      EXPECT_TRUE(m.RemoveKey("双线"));
    }
  }
  EXPECT_EQ(keys, (std::vector<std::string>{"单线", "双线", "左线"}));
  EXPECT_FALSE(m.RemoveKey("双线"));
  EXPECT_EQ(m.GetCount(), 2);
  m.RemoveAll();
  EXPECT_TRUE(m.IsEmpty());
  EXPECT_EQ(m.GetStartPosition(), nullptr);

  CMap<int, int, double, double> numbers;
  numbers[3] = 1.5;
  numbers[-1] = 2.5;
  double d = 0;
  EXPECT_TRUE(numbers.Lookup(-1, d));
  EXPECT_EQ(d, 2.5);
}

}  // namespace
