// The table lister: the names of a scheme database's tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XLDataBase.h"
#include "ado/AdoWrapper.h"
#include "project/TableList.h"
#include "corvane/data/xldb_support.h"

namespace {

using xldb_test::SchemeDbTest;

// The navigator's tables in the order it creates them.
const std::vector<std::string> kSchemeTables = {
    "曲线表",           "断链表",           "左线曲线表",       "左线断链表",       "右线曲线表",
    "右线断链表",       "坡度表",           "基线轨道结构",     "标尺",             "左线绕行段坡度表",
    "左线轨道结构",     "左线绕行段标尺",   "右线绕行段坡度表", "右线轨道结构",     "右线绕行段标尺",
    "隧道",             "小桥涵",           "车站",             "大中桥",           "水准点表",
    "导线表",           "左线绕行段隧道",   "左线绕行段小桥涵", "左线绕行段车站",   "左线绕行段大中桥",
    "左线绕行段水准点表", "左线绕行段导线表", "右线绕行段隧道",   "右线绕行段小桥涵", "右线绕行段车站",
    "右线绕行段大中桥", "右线绕行段水准点表", "右线绕行段导线表", "填挖表",         "左线绕行段填挖表",
    "右线绕行段填挖表"};

std::vector<std::string> Names(const CStringArray& names) {
  std::vector<std::string> out;
  for (INT_PTR i = 0; i < names.GetSize(); ++i) out.push_back(names[i].str());
  return out;
}

struct TableListTest : SchemeDbTest {
  CAdoConnection connection;
  void Open() { ASSERT_TRUE(connection.Open(fixtures::ConnectionString(path).c_str(), -1)); }
};

TEST_F(TableListTest, ListsEveryTableOnceInTheDatabasesOrder) {
  Open();
  CStringArray names;
  EXPECT_EQ(ListTableNames(connection, names), 1);
  EXPECT_EQ(Names(names), kSchemeTables);
}

TEST_F(TableListTest, ASecondCallAppendsTheNamesAgain) {
  Open();
  CStringArray names;
  ASSERT_EQ(ListTableNames(connection, names), 1);
  ASSERT_EQ(ListTableNames(connection, names), 1);
  std::vector<std::string> twice = kSchemeTables;
  twice.insert(twice.end(), kSchemeTables.begin(), kSchemeTables.end());
  EXPECT_EQ(Names(names), twice);
}

TEST_F(TableListTest, AClosedConnectionListsNothing) {
  CStringArray names;
  names.Add("旧名");
  EXPECT_EQ(ListTableNames(connection, names), 0);  // never opened
  Open();
  connection.Close();
  EXPECT_EQ(ListTableNames(connection, names), 0);
  EXPECT_EQ(Names(names), std::vector<std::string>{"旧名"});
}

struct NameCase {
  const char* name;
  bool listed;
};

class HasTableNameTest : public TableListTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(HasTableNameTest, ComparesWholeNamesByteForByte) {
  Sql("create table abc(ID INTEGER IDENTITY,名称 VARCHAR)");
  Open();
  CStringArray names;
  ASSERT_EQ(ListTableNames(connection, names), 1);
  EXPECT_EQ(HasTableName(names, GetParam().name), GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(Names, HasTableNameTest,
                         ::testing::Values(NameCase{"abc", true}, NameCase{"ABC", false}, NameCase{"填挖表", true},
                                           NameCase{"填挖", false}, NameCase{"填挖表 ", false},
                                           NameCase{"左线绕行段填挖表", true}, NameCase{"", false},
                                           NameCase{"横断面地面线表", false}));

TEST_F(TableListTest, TheTableStoreListsOnlyWhileItIsConnected) {
  XLDataBase xl;
  EXPECT_FALSE(xl.HasTableName("填挖表"));  // never listed
  EXPECT_EQ(xl.ListTableNames(), 0);         // connected only during its operations
  EXPECT_EQ(xl.tableNames.GetSize(), 0);
  // Writing a table lists the tables of that database.
  ASSERT_EQ(xl.WriteTable(path.c_str(), "隧道"), 1);
  EXPECT_TRUE(xl.HasTableName("填挖表"));
  EXPECT_FALSE(xl.HasTableName("交点表"));
}

}  // namespace
