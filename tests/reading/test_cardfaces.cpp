#include "platform/picture.h"
#include "support/table.h"

#include <QAccessible>
#include <QPlainTextEdit>

using namespace vellara;
using platform::Picture;
using platform::PictureElement;

namespace {

// Three positions dealt from six cards, reversed half the time.
struct Dealt {
    Dealt() { t.find("Command1")->click(); }
    PictureElement *large() const { return t.find<PictureElement>("Image1"); }
    // What a click on card k shows: its face, upright or turned as dealt, and its texts.
    void showsTurned(int k) const
    {
        const Picture face = t.window->facePicture(k)->picture();
        QCOMPARE(large()->picture(), face);
        QCOMPARE(t.card(k)->picture(), face);
        QCOMPARE(t.find<QPlainTextEdit>("Text1")->toPlainText().trimmed(), QString("position %1").arg(k + 1));
        const QString number = face.path().mid(face.path().size() - 5, 1);
        const QString meaning = face.isTurned() ? "*Reversed*\nreversed" : "upright";
        QCOMPARE(t.find<QPlainTextEdit>("Text2")->toPlainText().remove(u' '), "Card" + number + "\n\n" + meaning + number);
    }

    test::WorkDir dir;
    test::Table t{3, 6};
};

} // namespace

class TestCardFaces : public QObject {
    Q_OBJECT

private slots:
    void facesAreDrawnAheadOfTheClick()
    {
        Dealt d;
        QCOMPARE(d.t.window->facesAhead().pending().size(), 6);
        QTRY_VERIFY(d.t.window->facesAhead().pending().isEmpty());
        const qint64 drawn = Picture::drawCount();
        for (int k = 0; k < 3; ++k) {
            QTest::mouseClick(d.t.card(k), Qt::LeftButton);
            d.showsTurned(k);
            d.t.card(k)->repaint();
            d.large()->repaint();
        }
        QCOMPARE(Picture::drawCount(), drawn);

        // A new deal replaces what was to be drawn, and lets go of what was drawn.
        QVERIFY(!d.t.window->facesAhead().drawn().isEmpty());
        d.t.find("Command1")->click();
        QVERIFY(d.t.window->facesAhead().drawn().isEmpty());
        d.t.find("Command1")->click();
        const auto &pending = d.t.window->facesAhead().pending();
        QCOMPARE(pending.size(), 6);
        for (int j = 0; j < 6; ++j) {
            QCOMPARE(pending[j].picture, d.t.window->facePicture(j / 2)->picture());
            QCOMPARE(pending[j].size, j % 2 ? QSize(116, 213) : QSize(39, 71));
        }
    }

    void cardsTurnFromTheKeyboardAndScreenReaders()
    {
        Dealt d;
        d.t.find<QWidget>("Text1")->setFocus();
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Image2_0", "Image2_1", "Image2_2", "Command2"}));
        // The focused card shows a frame.
        d.t.card(1)->setFocus();
        const QImage framed = d.t.card(1)->grab().toImage();
        d.t.card(2)->setFocus();
        QVERIFY(d.t.card(1)->grab().toImage() != framed);

        QTest::keyClick(d.t.card(2), Qt::Key_Space);
        d.showsTurned(2);
        QTest::keyClick(d.t.card(1), Qt::Key_Return);
        d.showsTurned(1);
        // Other keys turn nothing, nor does a release without its press, or a position the table lacks.
        QTest::keyClick(d.t.card(0), Qt::Key_A);
        QTest::mouseClick(d.t.card(0), Qt::LeftButton);
        QTest::keyClick(d.t.card(1), Qt::Key_Space);
        QTest::mouseRelease(d.t.card(0), Qt::LeftButton);
        d.t.window->Image2_Click(3);
        d.t.window->Image2_Click(-1);
        d.showsTurned(1);
        // The first position is never removed.
        d.t.window->removePosition(0);
        QCOMPARE(d.t.window->cardPictureCount(), 3);

        // A screen reader presses a card; the large picture is no button.
        QAccessibleInterface *card = QAccessible::queryAccessibleInterface(d.t.card(0));
        QCOMPARE(card->role(), QAccessible::Button);
        card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        d.showsTurned(0);
        QAccessibleInterface *large = QAccessible::queryAccessibleInterface(d.large());
        QVERIFY(!large->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
};

QTEST_MAIN(TestCardFaces)
#include "test_cardfaces.moc"
