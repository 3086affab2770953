#include "TerrainProject.h"

// The project location is not part of this module yet: until it is, there is
// no project folder, and loading the model reports that there is no model.
CString TerrainProjectFolder() { return CString(); }
