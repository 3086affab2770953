// The save run of SAVEFILE: the results of the last design written again
// from the baseline designer and the detour designers, then the point
// files, the 3D section files and the bridge-base file.

#include "CrossSectionDesigner.h"
#include "DesignerGlobals.h"
#include "arx/edoutput.h"
#include "mfc/app.h"

namespace {

// True when every detour designer in use still holds its sections. One
// that another command has freed has nothing to save, and saving it would
// replace the detour files on disk by empty ones.
bool DetourDesignsPresent() {
  for (const CrossSectionDesigner* d : DetourDesignersInUse())
    if (d->SectionCount() == 0) return false;
  return true;
}

}  // namespace

int CrossSectionDesigner::SaveDesignResults() {
  if (baseline == nullptr || SectionCount() == 0 || !sectionsDesigned) {
    AfxMessageBox("没有设计横断面", MB_OK);
    return 0;
  }
  SaveResultFiles();
  if (lineKind == "双线") {
    if (DetourDesignsPresent())
      SaveDetourResultFiles();
    else
      acedAlert("绕行段没有设计横断面, 未更新绕行段文件!");
  }

  const int points = SavePointFiles();
  FreeHoles();
  if (!points) return 0;
  Save3DSectionFiles();
  SaveBridgeBaseFile();
  acutPrintf("3D OK!\n");
  return 1;
}
