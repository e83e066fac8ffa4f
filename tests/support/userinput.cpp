#include "support/userinput.h"

#include "platform/pictureelement.h"

namespace vellara::test {

QColor shownColour(const platform::PictureElement *element)
{
    const platform::Picture &picture = element->picture();
    return picture.isNull() ? QColor() : picture.render(QSize(4, 4)).pixelColor(1, 1);
}

void writeColourPicture(const QString &path, const QColor &colour, const char *format)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QVERIFY2(image.save(path, format), qPrintable(path));
}

void clickFile(platform::FileList *files, const QString &name, bool twice)
{
    const QList<QListWidgetItem *> found = files->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(name + " is not listed once"));
    QWidget *viewport = files->viewport();
    const QPoint at = files->visualItemRect(found[0]).center();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    if (twice) {
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }
}

} // namespace vellara::test
