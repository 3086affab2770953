#pragma once
// Small helpers on element-list records shared by the geometry sources.

#include "geometry/LineElement.h"

// The state at the start of a placed element.
inline LinePoint StartStateOf(const PlacedElement& element) {
  return LinePoint{element.x, element.y, element.bearing, element.radius, element.mileage};
}
