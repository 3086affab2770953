// The start-up helpers the modules share: the library entry and the
// registration of commands in the host's command stack.
#include <gtest/gtest.h>

#include "arx/ArxStartup.h"
#include "arx/acuiinit.h"
#include "arx/arx.h"
#include "win/resources.h"

namespace {

void cmdOne() {}
void cmdTwo() {}

TEST(ArxStartup, LibraryEntryAttachesOnceUntilDetached) {
  ExtensionModuleState state;
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x1234);
  const int uiBefore = platform::acUiInitCount();

  struct Step {
    DWORD reason;
    bool attached;
    int attachCount;
    int uiCalls;  // InitAcUiDLL calls since the start
  } const steps[] = {
      {DLL_THREAD_ATTACH, false, 0, 0},   // other reasons do nothing
      {DLL_PROCESS_ATTACH, true, 1, 1},
      {DLL_PROCESS_ATTACH, true, 1, 2},   // attached already: not initialised again
      {DLL_THREAD_DETACH, true, 1, 2},
      {DLL_PROCESS_DETACH, false, 1, 2},
      {DLL_PROCESS_DETACH, false, 1, 2},  // not attached: nothing to end
      {DLL_PROCESS_ATTACH, true, 2, 3},   // loaded again
  };
  for (const Step& s : steps) {
    EXPECT_EQ(ExtensionLibraryEntry(state, instance, s.reason), TRUE) << s.reason;
    EXPECT_EQ(state.attached, s.attached) << s.reason;
    EXPECT_EQ(state.attachCount, s.attachCount) << s.reason;
    EXPECT_EQ(platform::acUiInitCount() - uiBefore, s.uiCalls) << s.reason;
  }
  EXPECT_EQ(state.instance, instance);
}

TEST(ArxStartup, CommandsGoToTheRegisteredStackAndTheirGroupGoes) {
  AcEdCommandStack* stack = RegisteredCommandStack();
  ASSERT_NE(stack, nullptr);
  EXPECT_EQ(stack, acedRegCmds);

  static const platform::StringResource strings[] = {{7001, "本地名"}};
  platform::registerResources({.strings = strings});

  EXPECT_EQ(RegisterArxCommand("TSTARTUP", "ONE", "ONE", 3, &cmdOne), Acad::eOk);
  // A local name id other than -1 takes the string of that id.
  EXPECT_EQ(RegisterArxCommand("TSTARTUP", "TWO", "TWO", 3, &cmdTwo, 7001), Acad::eOk);
  // The same global name twice in the group is the stack's refusal.
  EXPECT_EQ(RegisterArxCommand("TSTARTUP", "ONE", "ONE", 3, &cmdTwo), Acad::eDuplicateKey);

  const std::vector<const AcEdCommand*> commands = stack->commandsOf("TSTARTUP");
  ASSERT_EQ(commands.size(), 2u);
  EXPECT_STREQ(commands[0]->globalName(), "ONE");
  EXPECT_EQ(commands[0]->commandFlags(), ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET);
  EXPECT_EQ(commands[0]->functionAddr(), &cmdOne);
  EXPECT_EQ(commands[0]->functionCode(), -1);
  EXPECT_STREQ(commands[1]->localName(), "本地名");

  RemoveCommandGroup("TSTARTUP");
  EXPECT_FALSE(stack->hasGroup("TSTARTUP"));
  RemoveCommandGroup("TSTARTUP");  // gone already: nothing happens
  EXPECT_EQ(stack->findCommand("ONE"), nullptr);
}

}  // namespace

namespace {

// What the entry's callbacks were asked to do, in order.
std::string g_calls;
BOOL recordDllMain(HINSTANCE, DWORD reason, LPVOID) {
  g_calls += reason == DLL_PROCESS_ATTACH ? "attach " : reason == DLL_PROCESS_DETACH ? "detach " : "other ";
  return TRUE;
}
void recordInit() { g_calls += "init "; }
void recordUnload() { g_calls += "unload "; }

TEST(ArxStartup, ModuleEntryAttachesBeforeItsStartAndDetachesAfterItsUnload) {
  struct Case {
    AcRx::AppMsgCode msg;
    const char* calls;
  } const cases[] = {
      {AcRx::kInitAppMsg, "attach init "},
      {AcRx::kUnloadAppMsg, "unload detach "},
      {AcRx::kLoadDwgMsg, ""},
      {AcRx::kInvkSubrMsg, ""},
  };
  for (const Case& c : cases) {
    g_calls.clear();
    EXPECT_EQ(ExtensionModuleEntry(c.msg, nullptr, &recordDllMain, &recordInit, &recordUnload), AcRx::kRetOK);
    EXPECT_EQ(g_calls, c.calls) << c.msg;
  }
}

}  // namespace
