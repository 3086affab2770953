// The DXF reader: any bytes as a drawing file. A drawing that opens is saved
// again and drawn as SVG, fitted and at a plot scale (laid out in pages), so
// that what the reader let in goes through the writers too.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "arx/dbdatabase.h"
#include "arx/dxffile.h"
#include "win/transcript.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  platform::setTranscriptSink([](std::string_view) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto* db = new AcDbDatabase(false);
  std::string error;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (platform::readDxfFromString(*db, text, error) == Acad::eOk) {
    db->ensureDefaults();
    platform::writeDxfToString(*db);
    platform::svgOfModelSpace(*db);
    platform::SvgOptions plotted;
    plotted.plotScale = 1000;
    platform::svgOfModelSpace(*db, plotted);
  }
  delete db;
  return 0;
}
