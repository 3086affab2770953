#pragma once
// The values an earthline record may carry into a rock-layer table: those the
// cross-section design reads from it. Every number is finite (the design
// refuses a table with a point, a chainage or a count that is no finite
// number); the rock type is one of the six rock classes the design sorts its
// cut into; a station holds at most kLayersMax layers, numbered from 0; a
// side holds 0 .. kEarthPointsMax points; on a detour table the detour number
// is a whole number. The palette checks every record against this before it
// writes a table, so that nothing the design cannot use is stored.

#include "earthline.h"
#include "mfc/cstring.h"

// 岩层性质: the rock classes Ⅰ .. Ⅵ of the rock-type list.
inline constexpr int kRockTypeFirst = 1;
inline constexpr int kRockTypeLast = 6;

// Layers one station holds in the design; layer numbers run 0 .. kLayersMax − 1.
inline constexpr int kLayersMax = 20;

bool IsKnownRockType(int rockType);
bool IsStoredLayer(int layer);

// What is wrong with a record's values, as a text that names the station,
// the layer, the side and the field, for the user to query that station and
// layer and save it mended: a head value with the side the record holds
// points on ("DK1+000.00 层0 左侧: 岩层性质0不是已知的岩性(1到6)"), a point
// with its own side ("DK1+000.00 层0: 左侧第1点的距中桩距离不是有限的数");
// empty when every value may be stored. `detour`: the record goes to a
// detour table, where its detour number is stored too.
CString RecordFault(const earthline& record, bool detour);
