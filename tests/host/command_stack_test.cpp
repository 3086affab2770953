// The command stack: registration, lookup by global and local name, groups.
#include <gtest/gtest.h>

#include "arx/arx.h"

namespace {

void cmdA() {}
void cmdB() {}

struct AddCase {
  const char* name;
  const char* group;
  const char* global;
  const char* local;
  AcRxFunctionPtr function;
  Acad::ErrorStatus expected;
};

TEST(CommandStack, AddCommandChecksItsInput) {
  const AddCase cases[] = {
      {"plain", "G", "HDMDES", "HDMDES", &cmdA, Acad::eOk},
      {"local name null is the global name", "G", "CALTSF", nullptr, &cmdA, Acad::eOk},
      {"no group", nullptr, "X1", "X1", &cmdA, Acad::eInvalidInput},
      {"empty group", "", "X2", "X2", &cmdA, Acad::eInvalidInput},
      {"no global name", "G", nullptr, "X3", &cmdA, Acad::eInvalidInput},
      {"empty global name", "G", "", "X4", &cmdA, Acad::eInvalidInput},
      {"blank in global name", "G", "TWO WORDS", "TW", &cmdA, Acad::eInvalidInput},
      {"blank in local name", "G", "X5", "X 5", &cmdA, Acad::eInvalidInput},
      {"no function", "G", "X6", "X6", nullptr, Acad::eInvalidInput},
      {"same global name in the group", "G", "hdmdes", "OTHER", &cmdB, Acad::eDuplicateKey},
      {"same global name in another group", "H", "HDMDES", "HDMDES", &cmdB, Acad::eOk},
  };
  AcEdCommandStack stack;
  for (const AddCase& c : cases) {
    AcEdCommand* cmd = reinterpret_cast<AcEdCommand*>(1);
    EXPECT_EQ(stack.addCommand(c.group, c.global, c.local, 3, c.function, nullptr, -1, nullptr, &cmd), c.expected)
        << c.name;
    EXPECT_EQ(cmd != nullptr, c.expected == Acad::eOk) << c.name;
  }
  EXPECT_EQ(stack.commandsOf("G").size(), 2u);
  EXPECT_STREQ(stack.lookupGlobalCmd("CALTSF")->localName(), "CALTSF");
}

TEST(CommandStack, LookupByGlobalOrLocalNameInAnyCase) {
  AcEdCommandStack stack;
  HINSTANCE resource = reinterpret_cast<HINSTANCE>(0x1234);
  ASSERT_EQ(stack.addCommand("VENK", "INDX", "IDX", ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, &cmdA, nullptr, 7,
                             resource),
            Acad::eOk);
  struct Lookup {
    const char* typed;
    bool global, local, found;
  } lookups[] = {
      {"INDX", true, false, true}, {"indx", true, false, true}, {"IdX", false, true, true},
      {"IDX", false, true, true},  {"INDXX", false, false, false}, {"", false, false, false},
  };
  for (const Lookup& l : lookups) {
    EXPECT_EQ(stack.lookupGlobalCmd(l.typed) != nullptr, l.global) << l.typed;
    EXPECT_EQ(stack.lookupLocalCmd(l.typed) != nullptr, l.local) << l.typed;
    EXPECT_EQ(stack.findCommand(l.typed) != nullptr, l.found) << l.typed;
  }
  const AcEdCommand* cmd = stack.findCommand("idx");
  ASSERT_NE(cmd, nullptr);
  EXPECT_STREQ(cmd->groupName(), "VENK");
  EXPECT_STREQ(cmd->globalName(), "INDX");
  EXPECT_STREQ(cmd->localName(), "IDX");
  EXPECT_EQ(cmd->commandFlags(), 3);
  EXPECT_EQ(cmd->functionAddr(), &cmdA);
  EXPECT_EQ(cmd->functionCode(), 7);
  EXPECT_EQ(cmd->resourceHandle(), resource);
}

TEST(CommandStack, GlobalNameWinsOverAnotherCommandsLocalName) {
  AcEdCommandStack stack;
  stack.addCommand("G1", "ALPHA", "BETA", 0, &cmdA);
  stack.addCommand("G2", "BETA", "GAMMA", 0, &cmdB);
  EXPECT_EQ(stack.findCommand("BETA")->functionAddr(), &cmdB);
}

TEST(CommandStack, LaterGroupsAreSearchedFirstAndTheHostGroupBeforeAll) {
  AcEdCommandStack stack;
  stack.addCommand("FIRST", "SAME", "SAME", 0, &cmdA);
  stack.addCommand("SECOND", "SAME", "SAME", 0, &cmdB);
  EXPECT_EQ(stack.findCommand("SAME")->functionAddr(), &cmdB);
  stack.addCommand(platform::kHostCommandGroup, "SAME", "SAME", 0, &cmdA);
  EXPECT_STREQ(stack.findCommand("SAME")->groupName(), platform::kHostCommandGroup);
  EXPECT_EQ(stack.groupNames(), (std::vector<std::string>{platform::kHostCommandGroup, "SECOND", "FIRST"}));
}

TEST(CommandStack, RemovingAndRegisteringAgain) {
  AcEdCommandStack stack;
  stack.addCommand("Pyxen", "HDMDES", "HDMDES", 3, &cmdA);
  stack.addCommand("Pyxen", "CALTSF", "CALTSF", 3, &cmdA);
  EXPECT_EQ(stack.removeCmd("Pyxen", "NOSUCH"), Acad::eKeyNotFound);
  EXPECT_EQ(stack.removeCmd("NoGroup", "HDMDES"), Acad::eKeyNotFound);
  EXPECT_EQ(stack.removeCmd("pyxen", "hdmdes"), Acad::eOk);
  EXPECT_EQ(stack.findCommand("HDMDES"), nullptr);
  EXPECT_NE(stack.findCommand("CALTSF"), nullptr);
  EXPECT_EQ(stack.removeGroup("Pyxen"), Acad::eOk);
  EXPECT_EQ(stack.removeGroup("Pyxen"), Acad::eKeyNotFound);
  EXPECT_FALSE(stack.hasGroup("Pyxen"));
  EXPECT_EQ(stack.findCommand("CALTSF"), nullptr);
  EXPECT_EQ(stack.addCommand("Pyxen", "HDMDES", "HDMDES", 3, &cmdB), Acad::eOk);
  EXPECT_EQ(stack.findCommand("HDMDES")->functionAddr(), &cmdB);
}

TEST(CommandStack, TheRegistryHoldsTheHostsStackWithItsOwnCommands) {
  AcRxObject* obj = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
  ASSERT_NE(obj, nullptr);
  EXPECT_TRUE(obj->isKindOf(AcEdCommandStack::desc()));
  EXPECT_STREQ(obj->isA()->name(), "AcEdCommandStack");
  AcEdCommandStack* stack = acedRegCmds;
  ASSERT_EQ(stack, platform::commandStack());
  for (const char* name : {"SCRIPT", "QUIT", "script"}) {
    const AcEdCommand* cmd = stack->findCommand(name);
    ASSERT_NE(cmd, nullptr) << name;
    EXPECT_STREQ(cmd->groupName(), platform::kHostCommandGroup);
    EXPECT_EQ(cmd->module(), nullptr);
  }
  // Something else under the registry key is no command stack.
  EXPECT_EQ(AcEdCommandStack::cast(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY)), nullptr);
}

TEST(CommandStack, BuiltinCommandsJoinTheHostGroup) {
  ASSERT_EQ(platform::registerBuiltinCommand("TESTZOOM", &cmdA), Acad::eOk);
  const AcEdCommand* cmd = acedRegCmds->findCommand("testzoom");
  ASSERT_NE(cmd, nullptr);
  EXPECT_STREQ(cmd->groupName(), platform::kHostCommandGroup);
  EXPECT_EQ(platform::registerBuiltinCommand("TESTZOOM", &cmdB), Acad::eDuplicateKey);
  EXPECT_EQ(acedRegCmds->removeCmd(platform::kHostCommandGroup, "TESTZOOM"), Acad::eOk);
}

}  // namespace
