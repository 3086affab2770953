// Writes the block drawings of the install folder's dwg/ folder that the plan
// drawing inserts: the 27 station flag blocks that the station tables name
// (乘降所01 … 中间站17) and the bench-mark block 31014, each a drawing of its
// own in the platform's drawing format (DXF) under the file name the plan
// module reads, "<name>.dwg".
//
//   plan-blocks <output folder>
//
// The drawings are described here as data and made at build time, so that
// no binary is kept in the sources. The output is the same on every run.
//
// Units are those of a plot at 1:1000 in millimetres; the plan inserts a
// block scaled by its scale factor. A flag block stands on its insertion
// point with its pole along +Y (across the line, on the side of the labels;
// +X runs along the line): the pole is 41 units high, the flag at its top
// shows the kind of station, and short bars under the flag count the
// variant. The bench mark is a circle of radius 1.5 round its point with a
// cross and a small inner circle.

#include <cstdio>
#include <string>
#include <vector>

#include "arx/arx.h"

namespace {

constexpr double kPole = 41.0;       // height of the flag pole
constexpr double kFlagWidth = 14.0;  // length of the flag along the line
constexpr double kFlagHeight = 9.0;
constexpr double kBarSpacing = 0.75;  // the variant bars under the flag

// How the flag of a kind of station looks.
enum class Flag { kTriangle, kOneDiagonal, kTwoDiagonals, kMiddleBar, kPlain };

struct Kind {
  const char* name;  // the block names are the name and a two-digit variant
  int variants;
  Flag flag;
};

const Kind kKinds[] = {
    {"乘降所", 2, Flag::kTriangle},      // halt
    {"辅助所", 2, Flag::kOneDiagonal},   // auxiliary post
    {"区段站", 4, Flag::kTwoDiagonals},  // district station
    {"线路所", 2, Flag::kMiddleBar},     // block post
    {"中间站", 17, Flag::kPlain},        // intermediate station
};

AcGePoint3d P(double x, double y) { return AcGePoint3d(x, y, 0.0); }

AcDbPolyline* Polygon(std::initializer_list<AcGePoint2d> points, bool closed) {
  auto* polyline = new AcDbPolyline();
  unsigned int i = 0;
  for (const AcGePoint2d& p : points) polyline->addVertexAt(i++, p);
  polyline->setClosed(closed);
  return polyline;
}

// The entities of a flag block.
std::vector<AcDbEntity*> FlagBlock(Flag flag, int variant) {
  std::vector<AcDbEntity*> entities;
  const double top = kPole;
  const double bottom = kPole - kFlagHeight;
  const double middle = (top + bottom) / 2.0;
  entities.push_back(new AcDbCircle(P(0.0, 0.0), AcGeVector3d::kZAxis, 1.0));
  entities.push_back(new AcDbLine(P(0.0, 0.0), P(0.0, top)));
  if (flag == Flag::kTriangle) {
    entities.push_back(Polygon({{0.0, top}, {kFlagWidth, middle}, {0.0, bottom}}, true));
  } else {
    entities.push_back(Polygon({{0.0, top}, {kFlagWidth, top}, {kFlagWidth, bottom}, {0.0, bottom}}, true));
  }
  if (flag == Flag::kOneDiagonal || flag == Flag::kTwoDiagonals) {
    entities.push_back(new AcDbLine(P(0.0, bottom), P(kFlagWidth, top)));
  }
  if (flag == Flag::kTwoDiagonals) entities.push_back(new AcDbLine(P(0.0, top), P(kFlagWidth, bottom)));
  if (flag == Flag::kMiddleBar) entities.push_back(new AcDbLine(P(0.0, middle), P(kFlagWidth, middle)));
  for (int j = 1; j <= variant; ++j) {
    const double x = kBarSpacing * j;
    entities.push_back(new AcDbLine(P(x, bottom - 1.5), P(x, bottom - 0.5)));
  }
  return entities;
}

std::vector<AcDbEntity*> BenchMarkBlock() {
  return {new AcDbCircle(P(0.0, 0.0), AcGeVector3d::kZAxis, 1.5),
          new AcDbCircle(P(0.0, 0.0), AcGeVector3d::kZAxis, 0.5), new AcDbLine(P(-1.5, 0.0), P(1.5, 0.0)),
          new AcDbLine(P(0.0, -1.5), P(0.0, 1.5))};
}

// Writes a drawing whose model space holds the entities (which it takes).
bool WriteDrawing(const std::string& file, const std::vector<AcDbEntity*>& entities) {
  AcDbDatabase drawing(true, true);
  AcDbBlockTable* blocks = nullptr;
  AcDbBlockTableRecord* modelSpace = nullptr;
  if (drawing.getBlockTable(blocks, AcDb::kForRead) != Acad::eOk) return false;
  const Acad::ErrorStatus opened = blocks->getAt(ACDB_MODEL_SPACE, modelSpace, AcDb::kForWrite);
  blocks->close();
  if (opened != Acad::eOk) return false;
  for (AcDbEntity* e : entities) {
    if (modelSpace->appendAcDbEntity(e) == Acad::eOk) {
      e->close();
    } else {
      delete e;
    }
  }
  modelSpace->close();
  return drawing.dxfOut(file.c_str()) == Acad::eOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: plan-blocks <output folder>\n");
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  int failed = 0;
  for (const Kind& kind : kKinds) {
    for (int v = 1; v <= kind.variants; ++v) {
      char name[64];
      std::snprintf(name, sizeof name, "%s%02d.dwg", kind.name, v);
      if (!WriteDrawing(folder + name, FlagBlock(kind.flag, v))) {
        std::fprintf(stderr, "plan-blocks: cannot write %s%s\n", folder.c_str(), name);
        ++failed;
      }
    }
  }
  if (!WriteDrawing(folder + "31014.dwg", BenchMarkBlock())) {
    std::fprintf(stderr, "plan-blocks: cannot write %s31014.dwg\n", folder.c_str());
    ++failed;
  }
  return failed == 0 ? 0 : 1;
}
