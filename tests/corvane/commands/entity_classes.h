#pragma once
// The five classes of a drawn section registered and removed as Corvane's
// start-up and unload do. Used by the tests and by the test module tm_corvane.

#include "SectionEntityClasses.h"

namespace entity_test {

inline void RegisterSectionEntityClasses() { ::RegisterSectionEntityClasses(); }
inline void UnregisterSectionEntityClasses() { ::UnregisterSectionEntityClasses(); }

}  // namespace entity_test
