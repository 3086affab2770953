// A test module built from Corvane's code: it registers the five classes of a
// drawn section as Corvane's start-up will, draws a section's entities with a
// reactor on each design line (TMC_DRAW; a plain line gets a recorded
// reactor too), detaches the reactors (TMC_DETACH), and at unload releases
// the reactors and deletes the classes as Corvane's unload does.
#include <string>

#include "DesignLine.h"
#include "DesignLineReactor.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"
#include "SectionReactorLists.h"
#include "arx/arx.h"
#include "geometry/BAS_DRAW_FUN.h"
#include "tests/corvane/commands/entity_classes.h"

namespace {

const char* const kGroup = "TMC";

std::string HandleOf(AcDbObjectId id) {
  char h[20];
  id.handle().getIntoAsciiBuffer(h, sizeof h);
  return h;
}

void Attach(AcDbObjectId lineId, DesignLineReactor* reactor) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, lineId, AcDb::kForWrite) != Acad::eOk) {
    delete reactor;
    return;
  }
  e->addReactor(reactor);
  e->close();
  SectionReactorList.push_back({lineId, reactor});
}

void TmcDraw() {
  auto* leftEarth = new EarthLine();
  leftEarth->Edit().vertices = {AcGePoint3d(0, 0, 0), AcGePoint3d(-50, 0, 0)};
  auto* rightEarth = new EarthLine();
  rightEarth->Edit().vertices = {AcGePoint3d(0, 0, 0), AcGePoint3d(50, 0, 0)};
  const AcDbObjectId earth[2] = {BAS_DRAW_FUN::AddToModelSpace(leftEarth), BAS_DRAW_FUN::AddToModelSpace(rightEarth)};
  const AcDbObjectId gou = BAS_DRAW_FUN::AddToModelSpace(new LTGOU());
  const AcDbObjectId jsgou = BAS_DRAW_FUN::AddToModelSpace(new JSGOU());
  const AcDbObjectId note = BAS_DRAW_FUN::AddToModelSpace(new HdmText());
  AcDbObjectId lines[2];
  for (int s = 0; s < 2; ++s) {
    auto* line = new DesignLine();
    line->Edit().vertices = {AcGePoint3d(0, 10, 0), AcGePoint3d(0, 10, 0), AcGePoint3d(s ? 17.5 : -17.5, 10, 0)};
    line->Edit().side = s ? 1 : -1;
    lines[s] = BAS_DRAW_FUN::AddToModelSpace(line);
    Attach(lines[s], new DesignLineReactor(earth[0], earth[1], gou, jsgou, note));
  }
  // A reactor recorded with an entity of the platform's own class, which
  // stays when the module's classes go.
  const AcDbObjectId plain =
      BAS_DRAW_FUN::AddToModelSpace(new AcDbLine(AcGePoint3d(0, -10, 0), AcGePoint3d(10, -10, 0)));
  Attach(plain, new DesignLineReactor(earth[0], earth[1], gou, jsgou, note));
  acutPrintf("tmc: drawn %s %s %s\n", HandleOf(lines[0]).c_str(), HandleOf(lines[1]).c_str(),
             HandleOf(plain).c_str());
}

void TmcDetach() {
  DetachSectionReactors();
  acutPrintf("tmc: pending %d\n", static_cast<int>(PendingReactorList.size()));
}

}  // namespace

extern "C" __attribute__((visibility("default"))) AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg,
                                                                                   void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      acrxDynamicLinker->unlockApplication(appId);
      acrxDynamicLinker->registerAppMDIAware(appId);
      entity_test::RegisterSectionEntityClasses();
      acedRegCmds->addCommand(kGroup, "TMC_DRAW", "TMC_DRAW", ACRX_CMD_MODAL, &TmcDraw);
      acedRegCmds->addCommand(kGroup, "TMC_DETACH", "TMC_DETACH", ACRX_CMD_MODAL, &TmcDetach);
      break;
    case AcRx::kUnloadAppMsg:
      acedRegCmds->removeGroup(kGroup);
      ReleaseSectionReactors();
      acutPrintf("tmc: released, pending %d\n", static_cast<int>(PendingReactorList.size()));
      entity_test::UnregisterSectionEntityClasses();
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int acrxGetApiVersion() { return ARX_API_VERSION; }
