#include "platform/pictureelement.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using vellara::platform::Picture;
using vellara::platform::PictureElement;

namespace {

// White, with a red left third.
Picture stripedPicture(const vellara::test::WorkDir &dir)
{
    tools::WmfWriter w(300, 300);
    w.setPen(QColor());
    w.setBrush(Qt::white);
    w.rectangle(QRect(0, 0, 300, 300));
    w.setBrush(Qt::red);
    w.rectangle(QRect(0, 0, 100, 300));
    vellara::test::writeBytes(dir.filePath("striped.wmf"), w.finish());
    return *Picture::load(dir.filePath("striped.wmf"));
}

} // namespace

class TestPictureElement : public QObject {
    Q_OBJECT

private slots:
    // The screen is scaled by 2 (see main): the picture must be drawn at
    // twice the frame's size, not drawn small and blown up.
    void drawsAtDevicePixels()
    {
        vellara::test::WorkDir dir;
        PictureElement element;
        element.setGeometry(0, 0, 39, 71);
        element.setPicture(stripedPicture(dir));
        element.show();
        QCOMPARE(element.devicePixelRatioF(), 2.0);
        const QImage shot = element.grab().toImage();
        QCOMPARE(shot.size(), QSize(78, 142));
        // A blown-up picture blends red and white over several pixels along
        // the edge at 26 device pixels; one drawn at this size over one.
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, 70);
            if (c != QColor(Qt::red) && c != QColor(Qt::white))
                QCOMPARE(x, 26);
        }
        QCOMPARE(shot.pixelColor(20, 70), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(30, 70), QColor(Qt::white));

        // Stretched to a new frame, not keeping the aspect ratio.
        element.resize(120, 30);
        const QImage wide = element.grab().toImage();
        QCOMPARE(wide.pixelColor(75, 30), QColor(Qt::red));
        QCOMPARE(wide.pixelColor(85, 30), QColor(Qt::white));
    }

    void tooltipIsTheAccessibleDescription()
    {
        PictureElement element;
        element.setToolTip("Card 3");
        QCOMPARE(element.accessibleDescription(), QString("Card 3"));
        element.setToolTip("Card 4");
        QCOMPARE(element.accessibleDescription(), QString("Card 4"));
    }

    void mouseEventsCarryTheIndex()
    {
        QWidget table;
        table.resize(200, 200);
        auto *element = new PictureElement(&table);
        element->setGeometry(10, 10, 39, 71);
        element->setIndex(4);
        table.show();
        QSignalSpy clicked(element, &PictureElement::clicked);
        QSignalSpy pressed(element, &PictureElement::mousePressed);
        QSignalSpy released(element, &PictureElement::mouseReleased);

        QTest::mouseClick(element, Qt::LeftButton, {}, QPoint(5, 6));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 4);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(2).toPointF(), QPointF(5, 6));
        QCOMPARE(released.count(), 1);

        // Let go outside the picture: no click.
        QTest::mousePress(element, Qt::RightButton, {}, QPoint(5, 6));
        QTest::mouseRelease(element, Qt::RightButton, {}, QPoint(100, 100));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(released.count(), 2);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestPictureElement test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_pictureelement.moc"
