// The hand-over from the drawing runs to the section browser.

#include "SectionBrowserHook.h"

void ReplaceSectionBrowser(CrossSectionDesigner& /*designer*/) {
  // The section browser is built with the commands and dialogs of the
  // module; until then there is no browser to close or to open.
}
