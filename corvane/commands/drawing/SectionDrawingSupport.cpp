// The ground of a drawn section block by block, and the texts of the sheet.

#include "SectionDrawingSupport.h"

#include "CrossSectionDesigner.h"
#include "geometry/DrawSupport.h"

namespace section_drawing {

void CollectGroundLines(const SectionRecord& r, int track, GroundLines& out) {
  const size_t blocks = r.groundBlocks.size();
  out.records.resize(blocks);
  out.values.assign(blocks, 0.0);
  for (size_t j = 0; j < blocks; ++j) {
    const GroundBlock& b = r.groundBlocks[j];
    GroundLineRecord& record = out.records[j];
    record.block = static_cast<int>(j);
    record.layer = b.layer;
    CrossSectionDesigner::GroundProfileFrom(r.crownOffset[track == 1 ? 1 : 0], r.groundElevation, b.leftCount, b.left,
                                            b.rightCount, b.right, out.values[j], record.left, record.right);
  }
}

CString FormationWidthText(double width) {
  CString text;
  text.Format("路基面宽 %0.3lf", width);
  return text;
}

AcDbObjectId AppendSheetText(const AcGePoint3d& at, const char* text, double height, AcDbObjectId layer) {
  constexpr int kModeCentre = 2;
  constexpr int kByLayer = -1;
  constexpr double kWidth = 0.8;  // the x scale of a new "宋体" style, as the dimension texts have it
  return drawsupport::AppendStyledText(at, text, 0.0, height, kByLayer, kModeCentre, "宋体", nullptr, kWidth, layer);
}

}  // namespace section_drawing
