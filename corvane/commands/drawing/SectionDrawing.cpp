// One cross-section on the sheet: its centre line, second-line marks and
// texts, and its entities appended with their reactors or drawn plain.

#include "SectionDrawing.h"

#include <cmath>
#include <cstdio>
#include <initializer_list>

#include "DesignLine.h"
#include "DesignLineReactor.h"
#include "DesignerGlobals.h"
#include "EarthLine.h"
#include "HdmText.h"
#include "SectionDitches.h"
#include "SectionDrawingSupport.h"
#include "SectionReactorLists.h"
#include "arx/dbpl.h"
#include "geometry/DrawSupport.h"

namespace {

constexpr const char* kCentreLinetype = "DASHDOTX2";
constexpr int kByLayer = -1;

// Places of the texts under a section, in drawing factors below its sheet place.
using section_drawing::kLabelHeight;
using section_drawing::kValueHeight;
constexpr double kLabelDrop = 2.5;
constexpr double kFirstValueDrop = 3.5;
constexpr double kValueSpacing = 0.7;
constexpr double kNoteDrop = 5.2;
constexpr double kNoteIndent = 2.5;

// Colours of the plain forms of a printing run.
constexpr int kDesignLineColour = 1;
constexpr int kGroundColour = 0;
constexpr int kDitchColour = 2;
constexpr int kNoteColour = 3;

// Appends a new entity to model space of the working drawing on `layer`.
// The id; null when the drawing refused it, in which case the caller keeps
// the entity.
AcDbObjectId AppendOnLayer(AcDbEntity* entity, AcDbObjectId layer) {
  if (entity == nullptr) return AcDbObjectId::kNull;
  AcDbDatabase* db = drawsupport::WorkingDatabase();
  if (db == nullptr) return AcDbObjectId::kNull;
  if (!layer.isNull() && layer.database() == db) entity->setLayer(layer);
  AcDbBlockTableRecord* modelSpace = nullptr;
  if (acdbOpenObject(modelSpace, db->modelSpaceId(), AcDb::kForWrite) != Acad::eOk) return AcDbObjectId::kNull;
  AcDbObjectId id;
  const Acad::ErrorStatus appended = modelSpace->appendAcDbEntity(id, entity);
  modelSpace->close();
  if (appended != Acad::eOk) return AcDbObjectId::kNull;
  entity->close();
  return id;
}

// A two-vertex polyline at x from y1 to y2 in the centre-line line type.
void AppendVerticalLine(double x, double y1, double y2, AcDbObjectId layer) {
  auto* polyline = new AcDbPolyline(2);
  polyline->addVertexAt(0, AcGePoint2d(x, y1));
  polyline->addVertexAt(1, AcGePoint2d(x, y2));
  drawsupport::SetLayer(polyline, layer);
  drawsupport::SetLinetype(polyline, kCentreLinetype);
  BAS_DRAW_FUN::AddToModelSpace(polyline);
}

}  // namespace

SectionDrawing::SectionDrawing() = default;

SectionDrawing::~SectionDrawing() { Release(); }

AcGePoint3d SectionDrawing::NotePlace(const AcGePoint3d& at) {
  const double f = g_DrawingFactor;
  return AcGePoint3d(at.x - kNoteIndent * f, at.y - kNoteDrop * f, 0.0);
}

double SectionDrawing::NoteTextHeight() { return kValueHeight * g_DrawingFactor; }

// ---- Centre line and second-line marks -------------------------------------------------------------

void SectionDrawing::DrawFrameAndCentreLine(AcDbObjectId layerId) {
  if (AcDbDatabase* db = drawsupport::WorkingDatabase()) db->setLtscale(0.3);
  const double f = g_DrawingFactor;
  // The top of the section: the ground at the centre of the ground track,
  // where both ground lines start.
  const AcGePoint3d* top = nullptr;
  for (EarthLine* ground : earth)
    if (top == nullptr && ground != nullptr && !ground->Data().vertices.empty()) top = &ground->Data().vertices.front();
  if (top == nullptr) return;
  const int track = values.groundTrack == 1 ? 1 : 0;
  const double x = top->x - f * values.referenceOffset[track];
  // Into a cut the line reaches down, up a fill it reaches up.
  const bool cut = -values.centreFillHeight > 0.0;
  const double y1 = cut ? top->y + 2 * f : top->y - 2 * f;
  const double y2 = cut ? top->y - 4 * f : top->y + 4 * f;
  AppendVerticalLine(x, y1, y2, layerId);

  for (double offset : values.secondLineOffset) {
    if (!(std::fabs(offset) > 0.001)) continue;
    const double lineX = x + f * offset;
    AppendVerticalLine(lineX, y1, y2, layerId);
    // The spacing in metres: the drawn distance over the factor.
    char text[64];
    std::snprintf(text, sizeof text, "%0.3lf", std::fabs(lineX - x) / f);
    const double y = top->y + f;
    DrawDimensionLine(AcGePoint3d(std::fmin(x, lineX), y, 0.0), AcGePoint3d(std::fmax(x, lineX), y, 0.0),
                      kValueHeight * f, kByLayer, layerId, text);
  }
}

// ---- Texts -------------------------------------------------------------------------------------------

void SectionDrawing::DrawTexts(AcDbObjectId layerId) {
  const double f = g_DrawingFactor;
  // Centred on the centre line, `drop` factors below the section's place.
  auto line = [&](double drop, const char* text, double height) {
    return section_drawing::AppendSheetText(AcGePoint3d(origin.x, origin.y - drop * f, 0.0), text, height * f,
                                            layerId);
  };
  line(kLabelDrop, values.label, kLabelHeight);
  widthTextId = line(kFirstValueDrop, section_drawing::FormationWidthText(values.formationWidth).GetString(),
                     kValueHeight);
  char text[96];
  std::snprintf(text, sizeof text, "设计高程 %0.3lf", values.centreGroundElevation + values.centreFillHeight);
  line(kFirstValueDrop + kValueSpacing, text, kValueHeight);
}

// ---- The build ----------------------------------------------------------------------------------------

void SectionDrawing::BuildSection(int flag) {
  const AcDbObjectId layer = GetOrAddLayer("Hdm");
  DrawFrameAndCentreLine(layer);
  DrawTexts(layer);
  if (flag == 0) {
    DrawPlainForms();
  } else {
    AppendCustomEntities();
    // The width text follows a re-design of the section (DesignLineReactor).
    for (SectionEntitySlot* s : slot)
      if (s != nullptr) s->widthText = widthTextId;
  }
  Release();
}

void SectionDrawing::DrawPlainForms() {
  const AcDbObjectId layer = GetOrAddLayer("Hdm");
  const bool doubleLine = values.kind > 1.5;
  const int pairs = doubleLine ? 2 : 1;
  for (int p = 0; p < pairs; ++p)
    for (DesignLine* l : line[p])
      if (l != nullptr) l->DrawPlain(kDesignLineColour, layer);
  for (EarthLine* e : earth)
    if (e != nullptr) e->DrawPlain(kGroundColour, layer);
  for (int p = 0; p < pairs; ++p) {
    for (JSGOU* d : jsgou[p])
      if (d != nullptr) d->DrawPlain(kDitchColour, layer);
    for (LTGOU* d : ltgou[p])
      if (d != nullptr) d->DrawPlain(kDitchColour, layer);
  }
  if (note != nullptr) note->DrawPlain(kNoteColour, layer);
}

void SectionDrawing::AppendCustomEntities() {
  const AcDbObjectId layer = GetOrAddLayer("Hdm");
  const bool doubleLine = values.kind > 1.5;
  // A design line and its entry in the design-line list.
  auto appendLine = [&](int pair, int side) {
    DesignLine* l = line[pair][side];
    if (l == nullptr) return;
    // What identifies the line's section, read while the line is still ours.
    const DesignLineData& d = l->Data();
    DesignLineEntry entry{AcDbObjectId::kNull, d.chainage, d.side, d.lineCode, d.detourIndex};
    entry.designLine = lineId[pair][side] = AppendOnLayer(l, layer);
    if (!entry.designLine.isNull()) DesignLineList.push_back(entry);
  };
  auto appendPair = [&](int pair) {
    for (int s : {kLeft, kRight}) jsgouId[pair][s] = AppendOnLayer(jsgou[pair][s], layer);
    for (int s : {kLeft, kRight}) ltgouId[pair][s] = AppendOnLayer(ltgou[pair][s], layer);
  };

  appendLine(kFirstPair, kLeft);
  appendLine(kFirstPair, kRight);
  for (int s : {kLeft, kRight}) earthId[s] = AppendOnLayer(earth[s], layer);
  appendPair(kFirstPair);
  noteId = AppendOnLayer(note, layer);
  if (doubleLine) {
    appendLine(kSecondPair, kLeft);
    appendLine(kSecondPair, kRight);
    appendPair(kSecondPair);
  }

  // The reactors: the left design line; then the right one of a single-line
  // section, or the second pair's right one of a double-line section (the
  // two outer sides, which a re-design after an edit redoes).
  AttachReactor(0, kFirstPair, kLeft);
  if (doubleLine)
    AttachReactor(2, kSecondPair, kRight);
  else
    AttachReactor(1, kFirstPair, kRight);
}

void SectionDrawing::AttachReactor(int which, int pair, int side) {
  const AcDbObjectId id = lineId[pair][side];
  if (id.isNull()) return;
  AcDbObject* object = nullptr;
  if (acdbOpenObject(object, id, AcDb::kForWrite) != Acad::eOk) return;
  // The reactor takes the side's drainage ditch (LTGOU) third and its top
  // ditch (JSGOU) fourth, as it opens and checks them.
  auto* made = new DesignLineReactor(earthId[kLeft], earthId[kRight], ltgouId[pair][side], jsgouId[pair][side], noteId);
  object->addReactor(made);
  object->close();
  reactor[which] = made;
  SectionReactorList.push_back({id, made});
}

void SectionDrawing::Release() {
  // An entity in a drawing belongs to it; one that never got there is ours.
  auto release = [this](AcDbEntity*& entity) {
    if (entity == nullptr) return;
    if (entity->isNewObject()) {
      for (SectionEntitySlot* s : slot)
        if (s != nullptr)
          for (AcDbEntity*& recorded : s->entity)
            if (recorded == entity) recorded = nullptr;
      delete entity;
    }
    entity = nullptr;
  };
  auto releaseTyped = [&release](auto*& typed) {
    AcDbEntity* entity = typed;
    release(entity);
    typed = nullptr;
  };
  for (EarthLine*& e : earth) releaseTyped(e);
  for (auto& pair : line)
    for (DesignLine*& l : pair) releaseTyped(l);
  for (auto& pair : jsgou)
    for (JSGOU*& d : pair) releaseTyped(d);
  for (auto& pair : ltgou)
    for (LTGOU*& d : pair) releaseTyped(d);
  releaseTyped(note);

  for (AcDbObjectId& id : earthId) id.setNull();
  for (auto* ids : {&lineId, &jsgouId, &ltgouId})
    for (auto& pair : *ids)
      for (AcDbObjectId& id : pair) id.setNull();
  noteId.setNull();
  widthTextId.setNull();
  for (DesignLineReactor*& r : reactor) r = nullptr;
  for (SectionEntitySlot*& s : slot) s = nullptr;
  values = SectionDrawingValues();
}
