// A test module with an application object: its commands, LISP functions and
// classes are listed in the tables, some entries in appmod_classes.cpp.
#include <string>

#include "appmod.h"
#include "arx/arx.h"
#include "mfc/cstring.h"

class CTestApp : public AcRxArxApp {
 public:
  AcRx::AppRetCode OnInitApp(void* pkt) override {
    AcRx::AppRetCode rc = AcRxArxApp::OnInitApp(pkt);
    acutPrintf("app: init\n");
    return rc;
  }
  void RegisterComponents() override {
    // The module's string table: the local name of APPTWO.
    RegisterResourceString(4711, "APP2LOCAL");
    acutPrintf("app: register components\n");
  }
};

CTestApp theApp;

namespace {

void OnCmdAppOne() { acutPrintf("app: APPONE ran\n"); }
void OnCmdAppTwo() { acutPrintf("app: APPTWO ran\n"); }

// "tmfirst" (number 0) answers through kInvkSubrMsg.
int LispFirst() {
  acedRetStr("first");
  return RSRSLT;
}

// "tmsum" (number 1) is registered with acedRegFunc and called directly: the sum of its integer arguments.
int LispSum() {
  long sum = 0;
  for (resbuf* rb = acedGetArgs(); rb; rb = rb->rbnext) {
    if (rb->restype == RTSHORT) sum += rb->resval.rint;
    else if (rb->restype == RTLONG) sum += rb->resval.rlong;
    else return RSERR;
  }
  acedRetInt(static_cast<int>(sum));
  return RSRSLT;
}

}  // namespace

ARX_COMMAND_ENTRY(appOne, "TM_APP", "APPONE", "APP1", ACRX_CMD_TRANSPARENT, OnCmdAppOne, nullptr, -1)
ARX_COMMAND_ENTRY(appTwo, "TM_APP", "APPTWO", nullptr, ACRX_CMD_MODAL | ACRX_CMD_SESSION, OnCmdAppTwo, nullptr, 4711)
ADS_FUNCTION_ENTRY(fnFirst, "tmfirst", LispFirst, false, -1)
ADS_FUNCTION_ENTRY(fnSum, "tmsum", LispSum, true, -1)

ARX_APP_ENTRY_POINT(theApp)
