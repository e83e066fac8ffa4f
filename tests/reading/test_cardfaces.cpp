#include "cardart.h"
#include "core/corestate.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>

using namespace vellara;
using platform::Picture;
using platform::PictureElement;

namespace {

// A table of three positions dealt from six metafile cards, reversed half the time.
struct Table {
    Table()
    {
        QStringList deck{"6"};
        for (int k = 0; k < 6; ++k) {
            test::writeBytes(QString("card%1.wmf").arg(k), tools::cardFace(k, QString("Card %1").arg(k)));
            deck << QString("card%1.wmf").arg(k) << QString("Card %1").arg(k) << QString("upright %1").arg(k)
                 << QString("reversed %1").arg(k);
        }
        test::writeBytes("cards.dat", test::crlfLines(deck));
        test::writeBytes("back.wmf", tools::cardBack());
        QStringList layout{"        # of cards in layout", "3", "        Program window left, top, width, height",
                           "1500", "750", "10500", "7500"};
        for (int k = 0; k < 3; ++k)
            layout << "        positional meaning" << QString("position %1").arg(k + 1) << "        left, top"
                   << QString::number(330 + 900 * k) << "40";
        test::writeBytes("Spread.lat", test::crlfLines(layout));
        const QString here = QDir::currentPath();
        test::writeBytes("vellara.ini",
                         test::crlfLines({"        Card back file", here + "/back.wmf", "        Deck path", here,
                                          "        Reversal frequency", "2", "        Layout", "Spread",
                                          "        Decks", "0", "        Deck#0", "cards", here,
                                          "        Layouts", "1", "        Layout #1", "Spread"}));
        window.Form_Load();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Command1_Click();
    }
    PictureElement *card(int k) const { return window.cardPicture(k); }
    PictureElement *large() const { return window.findChild<PictureElement *>("Image1"); }
    QString text(const char *name) const { return window.findChild<QPlainTextEdit *>(name)->toPlainText().trimmed(); }
    // What a click on card k shows: its face, upright or turned as dealt, and its texts.
    void showsTurned(int k) const
    {
        QCOMPARE(large()->picture(), window.facePicture(k)->picture());
        QCOMPARE(card(k)->picture(), window.facePicture(k)->picture());
        QCOMPARE(text("Text1"), QString("position %1").arg(k + 1));
        const Picture face = window.facePicture(k)->picture();
        const QString number = face.path().mid(face.path().size() - 5, 1);
        QString meaning = face.isTurned() ? "*Reversed*\nreversed " : "upright ";
        QCOMPARE(text("Text2").remove(u' '), "Card" + number + "\n\n" + meaning.remove(u' ') + number);
    }

    test::WorkDir dir;
    test::MessageSpy spy;
    CoreState state;
    Celtic window{state};
};

} // namespace

class TestCardFaces : public QObject {
    Q_OBJECT

private slots:
    void facesAreDrawnAheadOfTheClick()
    {
        Table t;
        QCOMPARE(t.window.facesAhead().pending().size(), 6);
        QTRY_VERIFY(t.window.facesAhead().pending().isEmpty());
        const qint64 drawn = Picture::drawCount();
        for (int k = 0; k < 3; ++k) {
            QTest::mouseClick(t.card(k), Qt::LeftButton);
            t.showsTurned(k);
            t.card(k)->repaint();
            t.large()->repaint();
        }
        QCOMPARE(Picture::drawCount(), drawn);

        // A new deal replaces what was to be drawn, and lets go of what was drawn.
        QVERIFY(!t.window.facesAhead().drawn().isEmpty());
        t.window.Command1_Click();
        QVERIFY(t.window.facesAhead().drawn().isEmpty());
        t.window.Command1_Click();
        const auto &pending = t.window.facesAhead().pending();
        QCOMPARE(pending.size(), 6);
        for (int j = 0; j < 6; ++j) {
            QCOMPARE(pending[j].picture, t.window.facePicture(j / 2)->picture());
            QCOMPARE(pending[j].size, j % 2 ? QSize(116, 213) : QSize(39, 71));
        }
    }

    void cardsTurnFromTheKeyboard()
    {
        Table t;
        QApplication::setActiveWindow(&t.window);
        QVERIFY(QTest::qWaitForWindowActive(&t.window));
        QWidget *last = t.window.findChild<QWidget *>("Text1");
        last->setFocus();
        QStringList order;
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(order, (QStringList{"Image2_0", "Image2_1", "Image2_2", "Command2"}));

        // The focused card shows a frame.
        t.card(1)->setFocus();
        const QImage framed = t.card(1)->grab().toImage();
        t.card(2)->setFocus();
        QVERIFY(t.card(1)->grab().toImage() != framed);

        QTest::keyClick(t.card(2), Qt::Key_Space);
        t.showsTurned(2);
        QTest::keyClick(t.card(1), Qt::Key_Return);
        t.showsTurned(1);
        // Other keys turn nothing.
        QTest::keyClick(t.card(0), Qt::Key_A);
        QCOMPARE(t.large()->picture(), t.window.facePicture(1)->picture());

        // Nor does a release without its press, or a position the table lacks.
        QTest::mouseClick(t.card(0), Qt::LeftButton);
        QTest::keyClick(t.card(1), Qt::Key_Space);
        QTest::mouseRelease(t.card(0), Qt::LeftButton);
        t.window.Image2_Click(3);
        t.window.Image2_Click(-1);
        t.showsTurned(1);
    }

    void screenReadersPressCards()
    {
        Table t;
        QAccessibleInterface *card = QAccessible::queryAccessibleInterface(t.card(0));
        QVERIFY(card && card->actionInterface());
        QCOMPARE(card->role(), QAccessible::Button);
        QVERIFY(card->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        t.showsTurned(0);
        // The large picture is no button.
        QAccessibleInterface *large = QAccessible::queryAccessibleInterface(t.large());
        QVERIFY(!large->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
};

QTEST_MAIN(TestCardFaces)
#include "test_cardfaces.moc"
