#pragma once
// The names of the roadbed types of a section (the codes of
// CrossSectionDesigner::GetLineOffsetsAtChainage).

#include "mfc/cstring.h"

// Puts the name of roadbed type `type` into `name`: 0 "单线路基", 1
// "双线路基,左线并行", 2 "双线路基,右线并行", 3 "换边路基,三线并行", 4
// "左线绕行，路肩未分离", 5 "左线绕行，路肩分离", 6 "右线绕行，路肩未分离", 7
// "右线绕行，路肩分离", 8 "左线绕行，三线并存", 9 "右线绕行，三线并存"; any
// other code gives "单线路基".
void RoadbedTypeName(int type, CString& name);
