#pragma once
// The host's small geometric utilities on drawing points.

#include "arx/adscodes.h"
#include "arx/rtos.h"
#include "platform_api.h"

// The angle of the vector from pt1 to pt2 in the drawing's XY plane, measured
// from +X counter-clockwise, in [0, 2π). Two points with the same X and Y give 0.
PLATFORM_API ads_real acutAngle(const ads_point pt1, const ads_point pt2);
