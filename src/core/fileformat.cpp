#include "core/fileformat.h"

#include <charconv>
#include <cmath>

namespace vellara {

std::optional<qint16> parseInt16(const QString &text)
{
    bool ok = false;
    const short value = text.trimmed().toShort(&ok);
    if (!ok)
        return std::nullopt;
    return static_cast<qint16>(value);
}

std::optional<float> parseSingle(const QString &text)
{
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QString formatSingle(float value)
{
    if (!std::isfinite(value))
        value = 0;
    if (value == 0)
        value = 0;  // no "-0"
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer, static_cast<qsizetype>(result.ptr - buffer));
}

QString writeFailureMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("Could not write %1: %2. The file was left as it was.").arg(path, reason);
}

} // namespace vellara
