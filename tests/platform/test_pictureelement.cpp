#include "platform/pictureelement.h"
#include "support/workdir.h"
#include "wmfwriter.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
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

    // A screen reader names it a picture and reads its tooltip.
    void accessibleNameAndDescription()
    {
        PictureElement element;
        QCOMPARE(element.accessibleName(), QString("Picture"));
        for (const QString tip : {"Card 3", "Card 4"}) {
            element.setToolTip(tip);
            QCOMPARE(element.accessibleDescription(), tip);
        }
    }

    // A pressable picture is a button by the keys and to a screen reader; any
    // other is a graphic that neither takes the focus nor presses.
    void pressableIsAButton()
    {
        PictureElement element;
        element.setIndex(7);
        QSignalSpy clicked(&element, &PictureElement::clicked);
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&element);
        QVERIFY(reader && reader->actionInterface());
        const QString press = QAccessibleActionInterface::pressAction();
        for (const bool pressable : {false, true}) {
            element.setPressable(pressable);
            QCOMPARE(element.focusPolicy(), pressable ? Qt::TabFocus : Qt::NoFocus);
            QCOMPARE(reader->role(), pressable ? QAccessible::Button : QAccessible::Graphic);
            QCOMPARE(reader->actionInterface()->actionNames().contains(press), pressable);
            for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_A, Qt::Key_Escape})
                QTest::keyClick(&element, key);
            QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);  // a key held down
            QApplication::sendEvent(&element, &held);
            reader->actionInterface()->doAction(press);
            QCOMPARE(clicked.count(), pressable ? 4 : 0);
        }
        element.setEnabled(false);
        QVERIFY(!reader->actionInterface()->actionNames().contains(press));
        reader->actionInterface()->doAction(press);
        QCOMPARE(clicked.count(), 4);
        QCOMPARE(clicked.at(0).at(0).toInt(), 7);
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
        QTest::mouseRelease(element, Qt::LeftButton, {}, QPoint(5, 6));  // a release without a press
        QCOMPARE(clicked.count(), 1);
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
