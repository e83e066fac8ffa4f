#pragma once

#include <libwmf/api.h>

namespace vellara::platform {

// A libwmf instance that draws with its gd device and reports nothing on the
// console, or null. Free it with wmf_api_destroy.
wmfAPI *createGdInstance();

// libwmf opens every font a metafile names with FreeType again for each
// drawing, which costs more than drawing a small card. Makes the drawing
// map its fonts through one set kept for the program's life instead. The
// pictures are the same: the fonts are mapped by libwmf's own rules.
// GUI thread only, as all drawing.
void shareFonts(wmfAPI *drawing);

} // namespace vellara::platform
