#pragma once
// Registers the five classes of a drawn section in the order of Corvane's
// start-up, and removes them as its unload does (their entities become
// proxies). Used by the tests and by the test module tm_corvane.

#include "DesignLine.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"

namespace entity_test {

inline void RegisterSectionEntityClasses() {
  HdmText::rxInit();
  DesignLine::rxInit();
  EarthLine::rxInit();
  LTGOU::rxInit();
  JSGOU::rxInit();
  acrxBuildClassHierarchy();
}

inline void UnregisterSectionEntityClasses() {
  for (AcRxClass* c : {HdmText::desc(), DesignLine::desc(), EarthLine::desc(), LTGOU::desc(), JSGOU::desc()})
    if (c != nullptr) deleteAcRxClass(c);
}

}  // namespace entity_test
