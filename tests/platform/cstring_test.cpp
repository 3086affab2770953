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

TEST(CStringTest, ChineseTextCountsBytes) {
  CString s("单线双线");
  EXPECT_EQ(s.GetLength(), 12);
  EXPECT_EQ(s.Find("线"), 3);
  EXPECT_EQ(s.Find("线", 4), 9);
  EXPECT_EQ(s.Find("三"), -1);
  EXPECT_EQ(s.Mid(6), "双线");
  EXPECT_EQ(s.Mid(3, 6), "线双");
  EXPECT_EQ(s.Right(6), "双线");

  CString line("左线绕行段坡度表");
  EXPECT_EQ(line.Replace("左线", "右线"), 1);
  EXPECT_EQ(line, "右线绕行段坡度表");
  EXPECT_EQ(line.Replace("绕行段", ""), 1);
  EXPECT_EQ(line, "右线坡度表");
  line.Insert(6, "新");
  EXPECT_EQ(line, "右线新坡度表");
  line.Delete(6, 3);
  EXPECT_EQ(line, "右线坡度表");

  EXPECT_EQ(CString(" \t里程 K1+200 \r\n").Trim(), "里程 K1+200");
  EXPECT_EQ(CString("$$方案$一$$").Trim('$'), "方案$一");
  CString mixed("基线Abc");
  mixed.MakeUpper();
  EXPECT_EQ(mixed, "基线ABC");
  EXPECT_EQ(CString("基线ABC").CompareNoCase("基线abc"), 0);
  EXPECT_LT(CString("单线").Compare("双线"), 0);  // byte order of UTF-8
  EXPECT_TRUE(CString("单线") == "单线");
  EXPECT_TRUE(CString("单线") != CString("双线"));
  EXPECT_EQ(CString("标准") + ".mdb", "标准.mdb");
  CString name("方案");
  name += '1';
  name += "号";
  EXPECT_EQ(name, "方案1号");

  int pos = 0;
  std::vector<std::string> words;
  CString list("桥梁 隧道  车站");
  for (CString t = list.Tokenize(" ", pos); pos != -1; t = list.Tokenize(" ", pos)) words.push_back(t.str());
  EXPECT_EQ(words, (std::vector<std::string>{"桥梁", "隧道", "车站"}));

  CString f;
  f.Format("%s%s", "第", "1页");
  EXPECT_EQ(f, "第1页");
  f.Format("[%8s]", "单线");  // the width counts bytes
  EXPECT_EQ(f, "[  单线]");
}

// Formatting text that holds the string itself (a long text, so the result
// does not fit the formatter's first buffer).
TEST(CStringTest, FormatOfItsOwnText) {
  CString s(std::string(300, 'x') + "单线");
  s.AppendFormat("|%s", s.GetString());
  EXPECT_EQ(s, std::string(300, 'x') + "单线|" + std::string(300, 'x') + "单线");
  CString t(std::string(300, 'y'));
  t.Format("%s%s", t.GetString(), "终");
  EXPECT_EQ(t, std::string(300, 'y') + "终");
}

}  // namespace
