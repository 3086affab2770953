#pragma once
// Where the terrain model finds its project: the one place that ties the model
// to the project location.

#include "mfc/cstring.h"

// Reads the project location afresh (the workdir and project files) and
// returns the project folder; empty when it is not set.
CString TerrainProjectFolder();
