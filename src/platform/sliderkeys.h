#pragma once

class QScrollBar;

namespace vellara::platform {

// Qt's scroll bars invert their keys in both orientations, so on a horizontal
// one Right steps back and Left forward. The card sliders step forward with
// Right, Down and Page Down, and back with Left, Up and Page Up, a page being
// the large step; Home and End go to either end.
void useForwardKeys(QScrollBar *bar);

} // namespace vellara::platform
