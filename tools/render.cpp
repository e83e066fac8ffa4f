// vellara-render INPUT OUTPUT.png WIDTH HEIGHT [--turned]
// Renders a picture file through the program's own picture code, for
// comparisons and benchmarks.

#include "platform/picture.h"

#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using vellara::platform::Picture;

namespace {

int fail(const QString &reason)
{
    std::fprintf(stderr, "vellara-render: %s\n", qPrintable(reason));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts and image plugins need an application object, not a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 4 || args.size() > 5 || (args.size() == 5 && args[4] != "--turned"))
        return fail("usage: vellara-render INPUT OUTPUT.png WIDTH HEIGHT [--turned]");
    bool okWidth = false, okHeight = false;
    const int width = args[2].toInt(&okWidth);
    const int height = args[3].toInt(&okHeight);
    if (!okWidth || !okHeight || width <= 0 || height <= 0
        || qint64(width) * height > Picture::kMaxRenderPixels)
        return fail(QStringLiteral("the size %1 by %2 cannot be drawn").arg(args[2], args[3]));

    QString why;
    const auto picture = Picture::load(args[0], &why);
    if (!picture || picture->isNull())
        return fail(QStringLiteral("%1 cannot be read as a picture: %2").arg(args[0], why));
    const Picture shown = args.size() == 5 ? picture->turned() : *picture;
    const QImage image = shown.render(QSize(width, height));
    if (image.isNull())
        return fail(QStringLiteral("%1 cannot be drawn").arg(args[0]));
    if (!image.save(args[1], "PNG"))
        return fail(QStringLiteral("%1 cannot be written").arg(args[1]));
    return 0;
}
