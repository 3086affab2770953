// The drawing options, until the drawing database provides them: each says
// that it is not available, so a run that asks for one ends with an error
// instead of silently leaving the drawing unsaved.
#include "drawing_options.h"

bool openDrawing(const std::string&, std::string& error) {
  error = "--open is not available in this build (no drawing database)";
  return false;
}

bool saveDrawing(const std::string&, std::string& error) {
  error = "--save is not available in this build (no drawing database)";
  return false;
}

bool exportSvg(const std::string&, std::string& error) {
  error = "--export-svg is not available in this build (no drawing database)";
  return false;
}
