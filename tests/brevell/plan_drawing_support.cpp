// Reading back what the plan drawing made (plan_drawing_support.h).

#include "plan_drawing_support.h"

#include <cctype>
#include <cstring>

namespace plantest {

namespace {

// Line-type names compare without case ("Continuous" is "CONTINUOUS").
std::string Upper(const char* name) {
  std::string s = name != nullptr ? name : "";
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

LayerContents Contents(const char* layer) {
  using drawbasetest::Reader;
  LayerContents contents;
  for (AcDbObjectId id : drawbasetest::ModelSpaceIds()) {
    Reader<AcDbEntity> e(id);
    if (!e || (layer != nullptr && std::strcmp(e->layer(), layer) != 0)) continue;
    ++contents.count;
    if (const AcDbText* t = AcDbText::cast(&*e)) {
      TextItem item;
      item.text = t->textString();
      item.mode = t->horizontalMode();
      item.anchor = item.mode == AcDb::kTextLeft ? t->position() : t->alignmentPoint();
      item.rotation = t->rotation();
      item.height = t->height();
      contents.texts.push_back(item);
    } else if (const AcDbLine* l = AcDbLine::cast(&*e)) {
      contents.lines.push_back({l->startPoint(), l->endPoint(), static_cast<int>(l->lineWeight())});
    } else if (const AcDbPolyline* p = AcDbPolyline::cast(&*e)) {
      PolylineItem item;
      for (unsigned int i = 0; i < p->numVerts(); ++i) {
        AcGePoint3d v;
        p->getPointAt(i, v);
        item.points.push_back(v);
      }
      double endWidth = 0.0;
      if (p->numVerts() > 0) p->getWidthsAt(0, item.width, endWidth);
      item.linetype = Upper(p->linetype());
      item.linetypeScale = p->linetypeScale();
      item.linetypeGeneration = p->hasPlinegen();
      item.closed = p->isClosed();
      contents.polylines.push_back(item);
    } else if (const AcDb2dPolyline* h = AcDb2dPolyline::cast(&*e)) {
      PolylineItem item;
      item.heavy = true;
      AcDbObjectIterator* it = h->vertexIterator();
      for (it->start(); !it->done(); it->step()) {
        AcDb2dVertex* v = nullptr;
        if (h->openVertex(v, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
        item.points.push_back(h->vertexPosition(*v));
        if (item.points.size() == 1) item.width = v->startWidth();
        v->close();
      }
      delete it;
      item.linetype = Upper(h->linetype());
      item.linetypeScale = h->linetypeScale();
      item.linetypeGeneration = h->isLinetypeGenerationOn();
      item.closed = h->isClosed();
      contents.polylines.push_back(item);
    } else if (const AcDbBlockReference* b = AcDbBlockReference::cast(&*e)) {
      InsertItem item;
      Reader<AcDbBlockTableRecord> record(b->blockTableRecord());
      if (record) item.block = record->name();
      item.position = b->position();
      item.rotation = b->rotation();
      item.scale = b->scaleFactors();
      contents.inserts.push_back(item);
    } else if (const AcDbCircle* c = AcDbCircle::cast(&*e)) {
      contents.circles.push_back({c->center(), c->radius()});
    }
  }
  return contents;
}

}  // namespace plantest
