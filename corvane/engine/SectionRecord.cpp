#include "SectionRecord.h"

SectionRecord::SectionRecord() {
  for (AcGePoint3dArray& line : designLines) line.setGrowLength(8);
}
