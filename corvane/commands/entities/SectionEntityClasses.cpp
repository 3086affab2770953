// Registration of the classes of a drawn section.

#include "SectionEntityClasses.h"

#include "DesignLine.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"

void RegisterSectionEntityClasses() {
  HdmText::rxInit();
  DesignLine::rxInit();
  EarthLine::rxInit();
  LTGOU::rxInit();
  JSGOU::rxInit();
  acrxBuildClassHierarchy();
}

void UnregisterSectionEntityClasses() {
  for (AcRxClass* c : {HdmText::desc(), DesignLine::desc(), EarthLine::desc(), LTGOU::desc(), JSGOU::desc()})
    if (c != nullptr) deleteAcRxClass(c);
}
