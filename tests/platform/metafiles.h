#pragma once
// Metafiles the picture tests draw from, written with the tools' writer.

#include "platform/picture.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <optional>

namespace vellara::test {

// A picture of white paper, drawn on with a null pen until told otherwise.
inline tools::WmfWriter whitePaper(int width, int height, int unitsPerInch = 1440)
{
    tools::WmfWriter w(width, height, unitsPerInch);
    w.setPen(QColor());
    w.setBrush(Qt::white);
    w.rectangle(QRect(0, 0, width, height));
    return w;
}

// The bytes written to path, then read back as a picture.
inline std::optional<platform::Picture> loadBytes(const QString &path, const QByteArray &bytes,
                                                  QString *why = nullptr)
{
    writeBytes(path, bytes);
    return platform::Picture::load(path, why);
}

} // namespace vellara::test
