// Drawings exported for viewing: a DXF with plain entities only, and an SVG of
// model space written to a file (svgexport.cpp draws it).
#include <cerrno>
#include <cstring>

#include "arx/dxffile.h"
#include "crt/textfile.h"
#include "win/transcript.h"

namespace platform {

Acad::ErrorStatus exportViewDxf(AcDbDatabase& db, const std::string& path) {
  DxfWriteOptions opt;
  opt.explodeCustom = true;
  return writeDxf(db, path, opt);
}

Acad::ErrorStatus exportSvg(AcDbDatabase& db, const std::string& path, const SvgOptions& options) {
  std::string svg = svgOfModelSpace(db, options);
  // The SVG takes the file's place only once it is written whole.
  if (!replaceFile(path.c_str(), svg, true)) {
    transcriptLine("Cannot write " + path + ": " + std::strerror(errno));
    return Acad::eFileAccessErr;
  }
  return Acad::eOk;
}

}  // namespace platform
