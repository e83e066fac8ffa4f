#include "core/fileformat.h"

#include "core/fixedtext.h"

#include <charconv>
#include <cmath>

namespace vellara {

std::optional<qint16> parseInt16(const QString &text)
{
    bool ok = false;
    // QString's number conversions never use the locale: "." is the point.
    const double value = trimBlanks(text).toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // A decimal goes to the nearest whole number, a half to the even one.
    const double whole = std::nearbyint(value);
    if (whole < -32768 || whole > 32767)
        return std::nullopt;
    return static_cast<qint16>(whole);
}

std::optional<float> parseSingle(const QString &text)
{
    bool ok = false;
    const float value = trimBlanks(text).toFloat(&ok);
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
