#include "core/layoutfile.h"
#include "layouts/layouteditmode.h"
#include "support/messagespy.h"
#include "tablefixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace vellara;
using test::mouse;
using test::MessageSpy;
using test::Table;
using test::WorkDir;
using Phase = LayoutEditMode::Phase;

namespace {

// Confirms a name in the open name dialog as a user would.
void nameLayout(Table &t, const QString &name)
{
    auto *box = t.in<QLineEdit>("namelayout", "Text1");
    QVERIFY(box);
    QTest::keyClicks(box, name);
    t.in<QPushButton>("namelayout", "Command1")->click();
}

// The commands' enabled states: Pick Cards, Add Card, Remove Card.
QList<bool> commands(const Table &t)
{
    return {t.window->findChild<QPushButton *>("Command1")->isEnabled(), t.action("AddCard")->isEnabled(),
            t.action("removecard")->isEnabled()};
}

} // namespace

class TestLayoutEdit : public QObject {
    Q_OBJECT

private slots:
    void dragging()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(3);
        QWidget *card = t.card(0);
        QCOMPARE(card->pos(), QPoint(300, 100));

        // Edit mode off: a press, move and release leave the card alone.
        mouse(card, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton);
        QVERIFY(t.state.editing.dragActive);
        mouse(card, QEvent::MouseMove, {40, 20}, Qt::LeftButton);
        mouse(card, QEvent::MouseButtonRelease, {40, 20}, Qt::NoButton);
        QVERIFY(!t.state.editing.dragActive);
        QCOMPARE(t.window->cardPlace(0), QPointF(300, 100));

        t.action("layoutedit")->trigger();
        const float rW = float(t.window->clientSize().width()) / float(t.window->windowGeometry().width());
        QVERIFY(rW > 0.05f && rW < 0.07f);
        mouse(card, QEvent::MouseButtonPress, {10, 20}, Qt::LeftButton);
        mouse(card, QEvent::MouseMove, {40, 20}, Qt::LeftButton);
        const QPointF place = t.window->cardPlace(0);
        QVERIFY2(qAbs(place.x() - (300 + 30 * rW)) < 1e-4, qPrintable(QString::number(place.x())));
        QCOMPARE(place.y(), 100.0);
        QCOMPARE(card->pos(), QPoint(qRound(300 + 30 * rW), 100));
        // The pointer held still keeps pulling: the card trails it.
        mouse(card, QEvent::MouseMove, {40, 20}, Qt::LeftButton);
        QVERIFY(qAbs(t.window->cardPlace(0).x() - (300 + 60 * rW)) < 1e-3);
        mouse(card, QEvent::MouseButtonRelease, {40, 20}, Qt::NoButton);
        mouse(card, QEvent::MouseMove, {90, 90}, Qt::NoButton);
        QVERIFY(qAbs(t.window->cardPlace(0).x() - (300 + 60 * rW)) < 1e-3);

        // The grip point is rounded half to even.
        for (const auto &[at, grip] : {std::pair{QPointF(10.5, 2.5), QPoint(10, 2)}, {QPointF(11.5, 3.5), QPoint(12, 4)},
                                       {QPointF(7.4, 7.6), QPoint(7, 8)}}) {
            mouse(t.card(1), QEvent::MouseButtonPress, at, Qt::LeftButton);
            QCOMPARE(QPoint(t.state.editing.dragOffsetX, t.state.editing.dragOffsetY), grip);
            mouse(t.card(1), QEvent::MouseButtonRelease, at, Qt::NoButton);
        }
        QVERIFY(spy.messages().isEmpty());
    }

    void addingAndRemovingPositions()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(3);
        t.action("layoutedit")->trigger();
        nameLayout(t, "Mine");
        t.action("AddCard")->trigger();
        QCOMPARE(t.state.layout.positionCount, qint16(4));
        QCOMPARE(t.window->cardPictureCount(), 4);
        QCOMPARE(t.card(3)->pos(), QPoint(325, 25));
        QCOMPARE(t.card(3)->toolTip(), QString("Card 4"));
        QVERIFY(t.card(3)->isVisible());
        QVERIFY(!t.card(3)->picture().isNull());
        QVERIFY(!t.window->facePicture(3)->isVisible());
        QCOMPARE(t.window->findChild<QWidget *>("table")->children().last(), t.card(3));

        // A removed position added again gets its meaning back.
        t.action("removecard")->trigger();
        t.action("removecard")->trigger();
        QCOMPARE(t.state.layout.positionCount, qint16(2));
        QVERIFY(!t.card(2));
        t.action("AddCard")->trigger();
        QCOMPARE(t.state.layout.positions[2].meaning.text().trimmed(), QString("position 3"));
        QCOMPARE(t.card(2)->toolTip(), QString("Card 3"));
        QVERIFY(spy.messages().isEmpty());

        t.action("removecard")->trigger();
        t.action("removecard")->trigger();
        t.action("removecard")->trigger();
        QCOMPARE(spy.messages(), QStringList{"You can not have a layout with no cards"});
        QCOMPARE(t.state.layout.positionCount, qint16(1));
        QCOMPARE(t.window->cardPictureCount(), 1);

        spy.clear();
        while (t.state.layout.positionCount < 100)
            t.action("AddCard")->trigger();
        t.action("AddCard")->trigger();
        QCOMPARE(spy.messages(), QStringList{"A layout holds at most 100 cards."});
        QCOMPARE(t.state.layout.positionCount, qint16(100));
        QCOMPARE(t.window->cardPictureCount(), 100);
    }

    void statesAndSaving()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(2);
        QCOMPARE(t.window->editMode().phase(), Phase::Normal);
        QCOMPARE(commands(t), (QList<bool>{true, false, false}));

        // Named, then saved: the name's file is written and editing ends.
        t.action("layoutedit")->trigger();
        QCOMPARE(t.window->editMode().phase(), Phase::EditingUnnamed);
        QCOMPARE(commands(t), (QList<bool>{false, false, false}));
        nameLayout(t, "Fresh");
        QCOMPARE(t.window->editMode().phase(), Phase::EditingNamed);
        QCOMPARE(commands(t), (QList<bool>{false, true, true}));
        QCOMPARE(t.state.settings.layoutName, QString("Fresh"));
        t.action("savelayout")->trigger();
        QVERIFY(QFile::exists("Fresh.lat"));
        QCOMPARE(t.window->editMode().phase(), Phase::Normal);
        QCOMPARE(commands(t), (QList<bool>{true, false, false}));

        // The name dialog closed from its frame: saved under the old name.
        const QByteArray before = test::readBytes("Fresh.lat");
        t.action("layoutedit")->trigger();
        mouse(t.card(1), QEvent::MouseButtonPress, {0, 0}, Qt::LeftButton);
        mouse(t.card(1), QEvent::MouseMove, {150, 0}, Qt::LeftButton);
        platform::WindowRegistry::find("namelayout")->close();
        QCOMPARE(t.window->editMode().phase(), Phase::EditingUnnamed);
        t.action("savelayout")->trigger();
        QCOMPARE(t.window->editMode().phase(), Phase::Normal);
        QCOMPARE(t.state.settings.layouts.layoutCount, qint16(2));
        QVERIFY(test::readBytes("Fresh.lat") != before);
        QVERIFY(spy.messages().isEmpty());

        // A file that cannot be written keeps the editing.
        t.action("layoutedit")->trigger();
        nameLayout(t, "Fresh");
        QFile::setPermissions("Fresh.lat", QFile::ReadOwner);
        t.action("savelayout")->trigger();
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("Fresh.lat"));
        QCOMPARE(t.window->editMode().phase(), Phase::EditingNamed);
        QCOMPARE(commands(t), (QList<bool>{false, true, true}));
        QFile::setPermissions("Fresh.lat", QFile::ReadOwner | QFile::WriteOwner);
        platform::WindowRegistry::close("namelayout");

        // A blank name is installed, but no ".lat" is written for it.
        spy.clear();
        t.action("layoutedit")->trigger();
        nameLayout(t, "   ");
        QCOMPARE(t.state.settings.layoutName, QString());
        t.action("savelayout")->trigger();
        QCOMPARE(spy.messages(), QStringList{kLayoutNeedsName});
        QVERIFY(!QFile::exists(".lat"));
        QCOMPARE(t.window->editMode().phase(), Phase::EditingNamed);
    }

    void unloadableCardBackShowsNoPicture()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(2);
        test::writeBytes("back.bmp", "BM broken");
        platform::Picture::clearCache();
        t.action("layoutedit")->trigger();
        QVERIFY(t.window->findChild<platform::PictureElement *>("Image1")->picture().isNull());
        nameLayout(t, "Plain");
        t.action("AddCard")->trigger();
        for (int k = 0; k < 3; ++k) {
            QVERIFY(t.card(k)->picture().isNull());
            QVERIFY(t.window->facePicture(k)->picture().isNull());
        }
        QVERIFY(spy.messages().isEmpty());
    }

    void designedLayoutComesBackAfterARestart()
    {
        WorkDir dir;
        MessageSpy spy;
        QList<QPointF> places;
        QRect geometry;
        {
            Table t(2);
            t.action("layoutedit")->trigger();
            nameLayout(t, "Designed");
            t.action("AddCard")->trigger();
            mouse(t.card(2), QEvent::MouseButtonPress, {3, 4}, Qt::LeftButton);
            for (int i = 0; i < 5; ++i)
                mouse(t.card(2), QEvent::MouseMove, {63, 34}, Qt::LeftButton);
            mouse(t.card(2), QEvent::MouseButtonRelease, {63, 34}, Qt::NoButton);
            t.window->move(t.window->pos() + QPoint(40, 30));
            t.action("layoutchange")->trigger();
            for (int k = 0; k < 3; ++k) {
                auto *text = t.in<QPlainTextEdit>("positionedit", "Text1");
                text->setPlainText(QString("meaning %1").arg(k + 1));
                t.in<QPushButton>("positionedit", "Command1")->click();
            }
            t.action("savelayout")->trigger();
            t.action("save")->trigger();
            for (int k = 0; k < 3; ++k)
                places << t.window->cardPlace(k);
            geometry = t.window->windowGeometry();
            QVERIFY(places[2].x() > 330 && places[2].y() > 26);
        }
        Table t(true, {});
        QCOMPARE(t.window->windowTitle(), QString("Vellara 2.5 Designed"));
        QCOMPARE(t.state.layout.positionCount, qint16(3));
        QCOMPARE(t.window->cardPictureCount(), 3);
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(t.window->cardPlace(k), places[k]);
            QCOMPARE(t.state.layout.positions[k].meaning.text().trimmed(), QString("meaning %1").arg(k + 1));
        }
        QCOMPARE(t.window->windowGeometry(), geometry);
        QVERIFY(spy.messages().isEmpty());
    }
};

QTEST_MAIN(TestLayoutEdit)
#include "test_layoutedit.moc"
