#pragma once
// Pango's side of the fonts (inside the platform only): one font map and
// context for measuring and drawing, and the font description of a LOGFONT.

#include <pango/pangocairo.h>

#include <string_view>

#include "win/wingdi.h"

namespace platform::pangofonts {

// The context every layout is made in (font map of pango's cairo back end,
// metrics hinted to whole pixels).
PangoContext* context();
// The description of `font` at its character height in pixels; owned by a
// cache, valid for the life of the process.
const PangoFontDescription* description(const LOGFONT& font);
// A layout of `text` in `font`, with the underline and strike-out the font
// asks for; the caller unrefs it.
PangoLayout* layout(const LOGFONT& font, std::string_view text);
// The same layout, kept in a small cache keyed by font and text: measuring a
// text and then drawing it (and measuring it again, as DrawText does) lays it
// out once. The cache owns it; it stays valid until the next call here.
PangoLayout* sharedLayout(const LOGFONT& font, std::string_view text);

}  // namespace platform::pangofonts
