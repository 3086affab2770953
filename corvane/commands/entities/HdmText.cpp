// The HdmText entity: the note of a drawn section.

#include "HdmText.h"

#include <cstdio>
#include <string>
#include <vector>

#include "DesignerGlobals.h"
#include "EntityFiling.h"
#include "arx/edoutput.h"
#include "arx/gi.h"

ACRX_DXF_DEFINE_MEMBERS(HdmText, AcDbEntity, 25, 76, 1023, 0, "Corvane")

namespace {

constexpr Adesk::UInt16 kNoteColour = 7;

// The note's lines of text.
std::vector<std::string> NoteLines(const SectionNoteData& d) {
  const std::pair<const char*, double> values[] = {{"中心填挖", d.centreFillHeight},
                                                   {"填方面积", d.fillTotal},
                                                   {"挖方面积", d.cutTotal},
                                                   {"左占地宽", d.landTake[0]},
                                                   {"右占地宽", d.landTake[1]}};
  std::vector<std::string> lines;
  for (const auto& [name, value] : values) {
    char text[96];
    std::snprintf(text, sizeof text, "%s %0.3lf", name, value);
    lines.emplace_back(text);
  }
  return lines;
}

}  // namespace

HdmText::HdmText() = default;
HdmText::~HdmText() = default;

Acad::ErrorStatus HdmText::dwgOutFields(AcDbDwgFiler* filer) const {
  assertReadEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgOutFields(filer);
  if (es != Acad::eOk) return es;
  const SectionNoteData& d = m_data;
  filer->writeInt32(d.kind);
  filer->writePoint3d(d.position);
  for (double v : {d.textHeight, d.centreFillHeight, d.landTake[0], d.landTake[1], d.fillTotal, d.cutTotal})
    filer->writeDouble(v);
  entity_filing::WriteAreas(filer, d.areas);
  return filer->filerStatus();
}

Acad::ErrorStatus HdmText::dwgInFields(AcDbDwgFiler* filer) {
  assertWriteEnabled();
  const Acad::ErrorStatus es = AcDbEntity::dwgInFields(filer);
  if (es != Acad::eOk) return es;
  SectionNoteData d;
  Adesk::Int32 kind = 0;
  filer->readInt32(&kind);
  d.kind = kind;
  filer->readPoint3d(&d.position);
  for (double* v : {&d.textHeight, &d.centreFillHeight, &d.landTake[0], &d.landTake[1], &d.fillTotal, &d.cutTotal})
    filer->readDouble(v);
  entity_filing::ReadAreas(filer, d.areas);
  if (filer->filerStatus() != Acad::eOk) return filer->filerStatus();
  m_data = d;
  return Acad::eOk;
}

Adesk::Boolean HdmText::worldDraw(AcGiWorldDraw* wd) {
  const double height = m_data.textHeight > 0.0 ? m_data.textHeight : 0.3 * g_DrawingFactor;
  wd->subEntityTraits().setColor(kNoteColour);
  AcGePoint3d at = m_data.position;
  for (const std::string& line : NoteLines(m_data)) {
    wd->geometry().text(at, AcGeVector3d::kZAxis, AcGeVector3d::kXAxis, height, 1.0, 0.0, line.c_str());
    at.y -= 1.6 * height;
  }
  return true;
}

void HdmText::list() const {
  assertReadEnabled();
  acutPrintf("\n\t\t自定义横断面注释实体");
  acutPrintf("\n\t断面类型: %d", m_data.kind);
  for (const std::string& line : NoteLines(m_data)) acutPrintf("\n\t%s", line.c_str());
  acutPrintf("\n");
}
