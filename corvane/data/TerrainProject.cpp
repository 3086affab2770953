#include "TerrainProject.h"

#include "project/ProjectLocation.h"

CString TerrainProjectFolder() {
  // A missing workdir or project file has shown its message already; the
  // folder is then empty or the one named, and the model's own files decide.
  ReadProjectAndScheme();
  return g_ProjectFolder;
}
