// A test module. Built several times with its own TESTMOD_TAG: every build
// defines the same internal names (tmInternalTag, g_tmCounter, TmHello, ...),
// which must stay each module's own.
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "arx/arx.h"
#include "win/msgbox.h"

#define TM_STR2(x) #x
#define TM_STR(x) TM_STR2(x)
#define TM_CAT2(a, b) a##b
#define TM_CAT(a, b) TM_CAT2(a, b)

#define TM_TAG TM_STR(TESTMOD_TAG)
#define TM_CLASS TM_CAT(TmThing_, TESTMOD_CLASS)

// Exported by the compiler's rules; the module map keeps it inside the module.
extern "C" __attribute__((visibility("default"))) const char* tmInternalTag() { return TM_TAG; }
__attribute__((visibility("default"))) int g_tmCounter = 0;

class TM_CLASS : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(TM_CLASS);
};
#define TM_DEFINE_CLASS(C) ACRX_DXF_DEFINE_MEMBERS(C, AcRxObject, 25, 76, 0, TMTHING, TestModule)
TM_DEFINE_CLASS(TM_CLASS)

namespace {

const std::string kGroup = std::string("TM_") + TM_TAG;
// Command names: the tag in capitals, "_" and the suffix ("ALPHA_HELLO").
std::string name(const char* suffix) {
  std::string n = std::string(TM_TAG) + "_" + suffix;
  for (char& c : n)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return n;
}

void TmHello() { acutPrintf("tm %s: hello from %s, call %d\n", TM_TAG, tmInternalTag(), ++g_tmCounter); }

// Asks for a point, a real (default 2.5), a string and an integer (default 7).
void TmAsk() {
  ads_point p = {0, 0, 0};
  int rc = acedGetPoint(nullptr, "Point: ", p);
  acutPrintf("tm %s: point rc=%d %.3f,%.3f,%.3f\n", TM_TAG, rc, p[0], p[1], p[2]);
  double r = 2.5;
  rc = acedGetReal("Real <2.5>: ", &r);
  acutPrintf("tm %s: real rc=%d %.3f\n", TM_TAG, rc, r);
  char s[ACED_INPUT_BUFFER] = "";
  rc = acedGetString(1, "Name: ", s);
  acutPrintf("tm %s: string rc=%d [%s]\n", TM_TAG, rc, s);
  int n = 7;
  rc = acedGetInt("Count <7>: ", &n);
  acutPrintf("tm %s: int rc=%d %d\n", TM_TAG, rc, n);
}

// Sends a command line while it runs; it must run after this command.
void TmSend() {
  std::string line = "(command \"" + name("HELLO") + "\")\n";
  acDocManager->sendStringToExecute(acDocManager->curDocument(), line.c_str(), false, false, true);
  acutPrintf("tm %s: sent\n", TM_TAG);
}

// Runs TM_ASK through acedCommand with three of its four answers.
void TmCmd() {
  ads_point p = {1.5, -2, 0};
  std::string ask = name("ASK");
  int rc = acedCommand(RTSTR, ask.c_str(), RTPOINT, p, RTREAL, 4.25, RTSTR, "two words", RTNONE);
  acutPrintf("tm %s: acedCommand rc=%d\n", TM_TAG, rc);
}

void TmAppName() { acutPrintf("tm %s: app %s\n", TM_TAG, acedGetAppName()); }

// Loads the module whose name it is given.
void TmLoad() {
  char s[ACED_INPUT_BUFFER] = "";
  if (acedGetString(0, "Module: ", s) != RTNORM) return;
  acutPrintf("tm %s: load rc=%d\n", TM_TAG, acedArxLoad(s));
}

// Asks a yes/no question in a message box.
void TmBox() {
  int answer = MessageBoxA(nullptr, "继续?", "tm", MB_YESNO);
  acutPrintf("tm %s: box %d\n", TM_TAG, answer);
}

// Breaks the rule that nothing leaves a module by an exception.
void TmThrow() { throw std::runtime_error("tm"); }

void TmKword() {
  acedInitGet(RSG_NONULL, "Left Right eXit");
  char k[ACED_INPUT_BUFFER] = "";
  int rc = acedGetKword("Side [Left/Right/eXit]: ", k);
  acutPrintf("tm %s: kword rc=%d [%s]\n", TM_TAG, rc, k);
}

void TmLisp() {
  // acedGetFunCode numbers this module's functions: 0 is "tm<tag>", 1 is "c:<tag>_lisp".
  int code = acedGetFunCode();
  if (code == 0) {
    std::string text;
    for (resbuf* rb = acedGetArgs(); rb; rb = rb->rbnext) {
      char buf[64];
      if (rb->restype == RTSTR) text += std::string("s:") + rb->resval.rstring;
      else if (rb->restype == RTSHORT) std::snprintf(buf, sizeof buf, "i:%d", rb->resval.rint), text += buf;
      else if (rb->restype == RTREAL) std::snprintf(buf, sizeof buf, "r:%g", rb->resval.rreal), text += buf;
      else text += "?";
      text += ";";
    }
    acedRetStr(text.c_str());
  } else if (code == 1) {
    acutPrintf("tm %s: lisp command ran\n", TM_TAG);
    acedRetVoid();
  }
}

void addCommands() {
  AcEdCommandStack* stack = acedRegCmds;
  if (!stack) return;
  stack->addCommand(kGroup.c_str(), name("HELLO").c_str(), name("HI").c_str(), ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET,
                    &TmHello);
  stack->addCommand(kGroup.c_str(), name("ASK").c_str(), name("ASK").c_str(), ACRX_CMD_MODAL, &TmAsk);
  stack->addCommand(kGroup.c_str(), name("SEND").c_str(), name("SEND").c_str(), ACRX_CMD_MODAL, &TmSend);
  stack->addCommand(kGroup.c_str(), name("CMD").c_str(), name("CMD").c_str(), ACRX_CMD_MODAL, &TmCmd);
  stack->addCommand(kGroup.c_str(), name("APPNAME").c_str(), name("APPNAME").c_str(), ACRX_CMD_MODAL, &TmAppName);
  stack->addCommand(kGroup.c_str(), name("LOAD").c_str(), name("LOAD").c_str(), ACRX_CMD_MODAL, &TmLoad);
  stack->addCommand(kGroup.c_str(), name("KWORD").c_str(), name("KWORD").c_str(), ACRX_CMD_MODAL, &TmKword);
  stack->addCommand(kGroup.c_str(), name("BOX").c_str(), name("BOX").c_str(), ACRX_CMD_MODAL, &TmBox);
  stack->addCommand(kGroup.c_str(), name("THROW").c_str(), name("THROW").c_str(), ACRX_CMD_MODAL, &TmThrow);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  acutPrintf("tm %s: message %d\n", TM_TAG, static_cast<int>(msg));
  switch (msg) {
    case AcRx::kInitAppMsg:
      if (TESTMOD_UNLOCK) acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      TM_CLASS::rxInit();
      acrxBuildClassHierarchy();
      addCommands();
      break;
    case AcRx::kLoadDwgMsg:
      acedDefun((std::string("tm") + TM_TAG).c_str(), 0);
      acedDefun((std::string("c:") + TM_TAG + "_lisp").c_str(), 1);
      break;
    case AcRx::kInvkSubrMsg: TmLisp(); break;
    case AcRx::kUnloadDwgMsg:
      acedUndef((std::string("tm") + TM_TAG).c_str(), 0);
      acedUndef((std::string("c:") + TM_TAG + "_lisp").c_str(), 1);
      break;
    case AcRx::kUnloadAppMsg:
      acedRegCmds->removeGroup(kGroup.c_str());
      deleteAcRxClass(TM_CLASS::desc());
      break;
    default: break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
