// The frame and the slope-leg geometry that a drawn design line keeps.

#include "SectionEntityData.h"

SectionFrame DesignLineData::Frame() const {
  SectionFrame frame;
  frame.originX = frameOrigin[0];
  frame.originY = frameOrigin[1];
  frame.factor = frameOrigin[2];
  frame.referenceElevation = frameElevations[0];
  frame.baseElevation = frameElevations[1];
  return frame;
}

void DesignLineData::SetFrame(const SectionFrame& frame) {
  frameOrigin[0] = frame.originX;
  frameOrigin[1] = frame.originY;
  frameOrigin[2] = frame.factor;
  frameElevations[0] = frame.referenceElevation;
  frameElevations[1] = frame.baseElevation;
}

void DesignLineData::TakeSlopeLegGeometryFromVertices() {
  if (vertices.size() < 5) return;
  geometry.pointA[0] = vertices[1].x;
  geometry.pointA[1] = vertices[1].y;
  for (double* copy : geometry.slopeStart) {
    copy[0] = vertices[4].x;
    copy[1] = vertices[4].y;
  }
}
