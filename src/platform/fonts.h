#pragma once

#include <QFont>

class QLabel;

namespace vellara::platform {

// The windows are laid out for a small 8-point sans serif; Nimbus Sans (from
// the URW fonts the setup installs) has the metrics of the classic one.
QFont interfaceFont();

// Whether the label's wrapped caption fits inside it at its font.
bool captionFits(const QLabel *label);

// A caption that needs more room than its designed place is set in the
// narrow cut of the interface font, then smaller, so that the place stays.
void fitCaption(QLabel *label);

} // namespace vellara::platform
