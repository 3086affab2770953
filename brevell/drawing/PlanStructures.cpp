// The structure calls of the plan drawing built from the rows the scheme
// loader read.

#include "PlanStructures.h"

#include <cstdlib>

namespace {

// The detour segment of a side-line row; −1 on the base line.
int SegmentOf(int detourIndex, int line) { return line == 0 ? -1 : detourIndex; }

}  // namespace

TunnelCall TunnelCall::FromRecord(const TunnelRecord& record, int line) {
  TunnelCall call;
  call.startText = record.startText;
  call.endText = record.endText;
  call.name = record.name;
  call.kind = std::atof(record.flagMode.GetString());
  call.lineCount = record.noteNumber;  // the row's 附注 number, as the tunnel commands pass it
  call.line = line;
  call.segment = SegmentOf(record.detourIndex, line);
  return call;
}

BridgeCall BridgeCall::FromRecord(const BridgeRecord& record, int line) {
  BridgeCall call;
  call.centreText = record.centreText;
  call.startText = record.startText;
  call.endText = record.endText;
  call.length = record.fullLength;
  call.span = record.span;
  call.name = record.name;
  call.line = line;
  call.segment = SegmentOf(record.detourIndex, line);
  call.lineCount = static_cast<short>(record.trackCount);
  return call;
}

CulvertCall CulvertCall::FromRecord(const CulvertRecord& record, int line) {
  CulvertCall call;
  call.prefix = record.centrePrefix;
  call.valueText.Format("%lf", record.centreMileage);
  call.span = record.span;
  call.line = line;
  call.flagStyle = record.flagMode;
  call.leftLength = record.leftLength;
  call.rightLength = record.rightLength;
  call.crossingAngle = record.crossingAngle;
  call.leftOutletLevel = record.leftOutletLevel;
  call.rightOutletLevel = record.rightOutletLevel;
  return call;
}

BenchMarkCall BenchMarkCall::FromRecord(const BenchMarkRecord& record, int line) {
  BenchMarkCall call;
  call.N = record.N;
  call.E = record.E;
  call.prefix = record.prefix;
  call.value = record.mileage;
  call.offset = record.offset;
  call.number = record.number;
  call.elevation = record.elevation;
  call.line = line;
  return call;
}
