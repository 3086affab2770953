#pragma once
// What the design of the middle part of a double-line section works with:
// the two tracks' inner templates, ground profiles and standards, and what
// it hands back (the two inner design lines and the middle quantities).
//
// The left track's inner side is its right side; the right track's inner
// side is its left side. Each inner line is built in its own track's frame:
// x from that track's centre towards the other track, y relative to that
// track's reference elevation.

#include <vector>

#include "SideDesign.h"

class CrossSectionDesigner;

// The quantities of the middle part (the two inner sides together). It has
// no surface layer.
struct MiddleQuantities {
  double fill = 0.0;
  double cut = 0.0;
  double topsoil = 0.0;
  double improvedSoil = 0.0;
  double shoulderLayer = 0.0;
  double ditchLining = 0.0;
  double retainingWall = 0.0;
  double turf = 0.0;
  // Set when the middle is closed between the tracks (no room for slopes
  // that reach the ground on their own).
  unsigned char flag = 0;
};

struct DoubleLineContext {
  double ML = 0.0;
  // The designers whose standards each track takes (a detour's own, or the
  // baseline designer) and the track's mileage on its line.
  const CrossSectionDesigner* leftDesigner = nullptr;
  const CrossSectionDesigner* rightDesigner = nullptr;
  double leftML = 0.0;
  double rightML = 0.0;
  // The two crown offsets from the baseline and the reference elevations of
  // the two tracks' frames.
  double leftCrown = 0.0;
  double rightCrown = 0.0;
  double leftReference = 0.0;
  double rightReference = 0.0;
  // The inner templates (absolute elevations): crown, then the shoulder
  // three times.
  PairXY leftInnerTop[4] = {};
  PairXY rightInnerTop[4] = {};
  // The ground towards the other track, seen from each track.
  std::vector<PairXY> leftInnerGround;
  std::vector<PairXY> rightInnerGround;
};

struct DoubleMiddle {
  SideDesign leftInner;   // the left track's inner side (record side +1)
  SideDesign rightInner;  // the right track's inner side (record side -2, mirrored when stored)
  MiddleQuantities quantities;
};
