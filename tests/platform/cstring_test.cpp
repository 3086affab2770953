#include <gtest/gtest.h>

#include "mfc/cstring.h"

namespace {

TEST(CStringTest, ExtractionClampsAndCountsBytes) {
  CString s("K12+345.600");
  EXPECT_EQ(s.Left(3), "K12");
  EXPECT_EQ(s.Mid(4), "345.600");
  EXPECT_EQ(s.Mid(4, 3), "345");
  EXPECT_EQ(s.Right(3), "600");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(100), s);
  EXPECT_EQ(s.Mid(-5, 2), "K1");
  EXPECT_EQ(s.Mid(20), "");
  EXPECT_EQ(s.Mid(9, 50), "00");
  // A Chinese character is three bytes of UTF-8.
  CString c("左线绕行段");
  EXPECT_EQ(c.GetLength(), 15);
  EXPECT_EQ(c.Left(6), "左线");
  EXPECT_EQ(c.Right(9), "绕行段");
}

TEST(CStringTest, SearchAndEdit) {
  CString s("DK1+200,DK2+300");
  EXPECT_EQ(s.Find('+'), 3);
  EXPECT_EQ(s.Find('+', 4), 11);
  EXPECT_EQ(s.Find('+', 100), -1);
  EXPECT_EQ(s.Find("DK2"), 8);
  EXPECT_EQ(s.ReverseFind('K'), 9);
  EXPECT_EQ(s.FindOneOf(",+"), 3);
  EXPECT_EQ(s.Replace("DK", "K"), 2);
  EXPECT_EQ(s, "K1+200,K2+300");
  EXPECT_EQ(s.Remove('+'), 2);
  EXPECT_EQ(s, "K1200,K2300");
  EXPECT_EQ(s.Insert(2, '+'), 12);
  EXPECT_EQ(s.Insert(100, "!"), 13);
  EXPECT_EQ(s, "K1+200,K2300!");
  EXPECT_EQ(s.Delete(6, 100), 6);
  EXPECT_EQ(s, "K1+200");

  CString path("Z:\\opt\\suite\\install\\corvane.arx");
  path.MakeUpper();
  EXPECT_EQ(path, "Z:\\OPT\\SUITE\\INSTALL\\CORVANE.ARX");
  int cut = path.Find("\\CORVANE.ARX");
  EXPECT_EQ(path.Left(cut), "Z:\\OPT\\SUITE\\INSTALL");

  CString chinese("单线Abc");
  chinese.MakeLower();
  EXPECT_EQ(chinese, "单线abc");  // only ASCII letters fold
  EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
  EXPECT_LT(CString("abc").Compare("abd"), 0);
  EXPECT_EQ(CString("  基线 \t").Trim(), "基线");
  EXPECT_EQ(CString("$$a$b$$").Trim('$'), "a$b");
  EXPECT_EQ(CString("xyaxy").TrimLeft("xy"), "axy");
}

TEST(CStringTest, FormatAndBuffers) {
  CString s;
  s.Format("%s%d+%07.3f", "K", 1, 23.4);
  EXPECT_EQ(s, "K1+023.400");
  s.AppendFormat(" %s", "终点");
  EXPECT_EQ(s, "K1+023.400 终点");
  CString big;
  big.Format("%0300d", 7);  // longer than the formatter's first buffer
  EXPECT_EQ(big.GetLength(), 300);
  EXPECT_EQ(big.Right(2), "07");

  CString b;
  char* p = b.GetBuffer(40);
  std::snprintf(p, 40, "%s", "DK");
  b.ReleaseBuffer();
  EXPECT_EQ(b, "DK");
  EXPECT_EQ(b.GetLength(), 2);
  p = b.GetBufferSetLength(3);
  p[2] = 'X';
  b.ReleaseBuffer(3);
  EXPECT_EQ(b, "DKX");
}

TEST(CStringTest, TokenizeAndLoadString) {
  CString s("a, b,,c");
  int pos = 0;
  std::vector<std::string> tokens;
  for (CString t = s.Tokenize(", ", pos); pos != -1; t = s.Tokenize(", ", pos)) tokens.push_back(t.str());
  EXPECT_EQ(tokens, (std::vector<std::string>{"a", "b", "c"}));
  RegisterResourceString(4711, "横断面设计");
  CString r;
  EXPECT_TRUE(r.LoadString(4711));
  EXPECT_EQ(r, "横断面设计");
  EXPECT_FALSE(r.LoadString(4712));
}

}  // namespace
