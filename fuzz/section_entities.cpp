// A drawing of drawn cross-sections, read with the cross-section module's
// entity classes registered (as its start-up registers them): any bytes as a
// drawing file in which DESIGNLINE, EARTHLINE, LTGOU, JSGOU and HDMTEXT
// entities file their own fields. A drawing that opens becomes the open
// drawing; each entity in it is listed, its grips are asked for, every grip
// of a design line is dragged, each is drawn as the plain polylines and texts
// of a print, and the drawing is drawn as SVG and saved. The saved drawing
// must open again with as many entities as were saved.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "DesignLine.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"
#include "SectionEntityClasses.h"
#include "arx/dbdatabase.h"
#include "arx/dbsymtb.h"
#include "arx/dxffile.h"
#include "win/transcript.h"

namespace {

std::vector<AcDbObjectId> ModelSpace(AcDbDatabase* db) {
  std::vector<AcDbObjectId> ids;
  AcDbBlockTableRecord* ms = nullptr;
  if (acdbOpenObject(ms, db->modelSpaceId(), AcDb::kForRead) != Acad::eOk) return ids;
  AcDbBlockTableRecordIterator* it = nullptr;
  if (ms->newIterator(it) == Acad::eOk) {
    for (; !it->done(); it->step()) {
      AcDbObjectId id;
      if (it->getEntityId(id) == Acad::eOk) ids.push_back(id);
    }
    delete it;
  }
  ms->close();
  return ids;
}

// Grips of a design line dragged one by one, then all at once.
void DragGrips(AcDbObjectId id) {
  DesignLine* line = nullptr;
  if (acdbOpenObject(line, id, AcDb::kForWrite) != Acad::eOk) return;
  AcGePoint3dArray grips;
  AcDbIntArray snaps, geom;
  line->getGripPoints(grips, snaps, geom);
  AcDbIntArray all;
  for (int i = 0; i < grips.length() && i < 64; ++i) {
    AcDbIntArray one;
    one.append(i);
    line->moveGripPointsAt(one, AcGeVector3d(0.5, -0.25, 0));
    all.append(i);
  }
  line->moveGripPointsAt(all, AcGeVector3d(-0.5, 0.25, 0));
  // Grips that are not there are refused.
  AcDbIntArray beyond;
  beyond.append(grips.length());
  beyond.append(-1);
  line->moveGripPointsAt(beyond, AcGeVector3d(1, 1, 0));
  line->close();
}

void Exercise(AcDbObjectId id) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return;
  const bool isDesignLine = DesignLine::cast(e) != nullptr;
  e->list();
  AcGePoint3dArray grips;
  AcDbIntArray snaps, geom;
  e->getGripPoints(grips, snaps, geom);
  if (auto* l = DesignLine::cast(e)) l->DrawPlain(1);
  if (auto* l = EarthLine::cast(e)) l->DrawPlain(2);
  if (auto* l = LTGOU::cast(e)) l->DrawPlain(3);
  if (auto* l = JSGOU::cast(e)) l->DrawPlain(4);
  if (auto* l = HdmText::cast(e)) l->DrawPlain(5);
  e->close();
  if (isDesignLine) DragGrips(id);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // RAIL_FUZZ_TRANSCRIPT=1 shows what the entities list (to replay an input by hand).
  if (std::getenv("RAIL_FUZZ_TRANSCRIPT") == nullptr)
    platform::setTranscriptSink([](std::string_view) {});
  else
    platform::setTranscriptSink([](std::string_view text) { std::fwrite(text.data(), 1, text.size(), stderr); });
  RegisterSectionEntityClasses();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto* db = new AcDbDatabase(false);
  std::string error;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (platform::readDxfFromString(*db, text, error) != Acad::eOk) {
    delete db;
    return 0;
  }
  db->ensureDefaults();
  platform::setCurrentDrawing(db);  // the plain forms go into its model space
  const std::vector<AcDbObjectId> read = ModelSpace(db);
  for (AcDbObjectId id : read) Exercise(id);

  platform::svgOfModelSpace(*db);
  platform::SvgOptions plotted;
  plotted.plotScale = 200;
  platform::svgOfModelSpace(*db, plotted);
  const std::string saved = platform::writeDxfToString(*db);
  const size_t count = ModelSpace(db).size();

  // RAIL_FUZZ_SAVED=<file> keeps the drawing as it was saved (to look into a finding).
  if (const char* keep = std::getenv("RAIL_FUZZ_SAVED"))
    if (FILE* f = std::fopen(keep, "wb")) {
      std::fwrite(saved.data(), 1, saved.size(), f);
      std::fclose(f);
    }
  auto* again = new AcDbDatabase(false);
  if (platform::readDxfFromString(*again, saved, error) != Acad::eOk) {
    std::fprintf(stderr, "a saved drawing does not open again: %s\n", error.c_str());
    std::abort();
  }
  if (ModelSpace(again).size() != count) {
    std::fprintf(stderr, "a saved drawing of %zu entities opens with %zu\n", count, ModelSpace(again).size());
    std::abort();
  }
  delete again;
  platform::setCurrentDrawing(nullptr);
  return 0;
}
