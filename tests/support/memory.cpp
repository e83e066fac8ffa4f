#include "support/memory.h"

#include <QFile>

#include <fstream>

namespace vellara::test {

long peakResidentKilobytes()
{
    QFile status("/proc/self/status");
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("VmHWM:");
    return at < 0 ? 0 : text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().split(' ').value(0).toLong();
}

void resetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

} // namespace vellara::test
