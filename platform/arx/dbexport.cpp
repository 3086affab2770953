// Drawings exported for viewing: a DXF with plain entities only, and an SVG of
// model space written to a file (svgexport.cpp draws it).
#include <cstdio>

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
  FILE* f = openFile(path.c_str(), "wb");
  if (!f) {
    transcriptLine("Cannot write " + path);
    return Acad::eFileAccessErr;
  }
  bool ok = std::fwrite(svg.data(), 1, svg.size(), f) == svg.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) {
    transcriptLine("Cannot write " + path);
    return Acad::eFileAccessErr;
  }
  return Acad::eOk;
}

}  // namespace platform
