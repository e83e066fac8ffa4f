#pragma once

// Files the benchmarks set up before they measure, and what they report.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace vellara::bench {

// Writes bytes to path, or stops the benchmark: a missing file would time nothing.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

// Lines as the program's files hold them, each ended by CR LF.
inline QByteArray crlf(const QStringList &lines)
{
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

// The slowest repetition, for ComputeStatistics("max", worst): targets are
// set for the worst case as well as the median.
inline double worst(const std::vector<double> &v)
{
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

} // namespace vellara::bench
