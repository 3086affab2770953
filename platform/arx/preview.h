#pragma once
// The drawing preview: model space of a drawing drawn into a rectangle of a
// device context, as the drawing-thumbnail control of the table editors shows
// a block drawing. The drawing is scaled to fit the rectangle (less a margin
// of 2 pixels a side), proportions kept, centred, y upwards; each entity in
// its colour (by layer and by block resolved; 7 is black), lines one pixel
// wide, texts in the message font at their height when that is 3 pixels or
// more, their control codes shown as their characters (%%d °, %%c ⌀, %%p ±,
// %%% %; %%u underlined and %%o overlined, arx/textcodes.h). Entities on
// layers that are off or frozen are not drawn. Nothing outside the rectangle
// is touched (the DC's clip is narrowed to it while drawing). The background
// is the caller's to paint.

#include <string>

#include "arx/dbdatabase.h"
#include "win/wingdi.h"

namespace platform {

// True when something was drawn (a drawing without entities draws nothing).
PLATFORM_API bool drawDrawingPreview(HDC dc, const RECT& rect, AcDbDatabase& db);
// The drawing as a view shows it: the window of the given centre, width and
// height (drawing units) fitted into the rectangle, proportions kept, drawn
// as above. A window that shows none of the drawing (or is no window: not
// finite, not positive) gives way to the whole drawing, fitted.
PLATFORM_API bool drawDrawingView(HDC dc, const RECT& rect, AcDbDatabase& db, const AcGePoint2d& center, double width,
                                  double height);
// Reads the drawing file (a DXF; a ".dwg" name whose file is missing reads
// the ".dxf" of that name) and draws it. A missing file draws nothing and
// says nothing; a file that cannot be read draws nothing (the reader names
// it on the transcript).
PLATFORM_API bool drawDrawingPreview(HDC dc, const RECT& rect, const std::string& path);

}  // namespace platform
