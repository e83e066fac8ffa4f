#include "core/layoutfile.h"
#include "layouts/layouteditmode.h"
#include "support/messagespy.h"
#include "support/table.h"

#include <QFile>
#include <QLineEdit>

using namespace vellara;
using test::mouse;
using test::MessageSpy;
using test::Table;
using test::WorkDir;
constexpr QEvent::Type kDown = QEvent::MouseButtonPress, kMove = QEvent::MouseMove, kUp = QEvent::MouseButtonRelease;

namespace {

// Starts editing and confirms a name in the name dialog as a user would.
void editAs(Table &t, const QString &name)
{
    t.action("layoutedit")->trigger();
    QTest::keyClicks(t.in<QLineEdit>("namelayout", "Text1"), name);
    t.in("namelayout", "Command1")->click();
}

// The phase with the enabled states of Pick Cards, Add Card and Remove Card.
QString state(const Table &t)
{
    const char *const phases[] = {"normal", "unnamed", "named"};
    auto on = [](bool enabled) { return QString(enabled ? " on" : " off"); };
    return phases[int(t.window->editMode().phase())] + on(t.find("Command1")->isEnabled())
           + on(t.action("AddCard")->isEnabled()) + on(t.action("removecard")->isEnabled());
}

} // namespace

class TestLayoutEdit : public QObject {
    Q_OBJECT

private slots:
    void dragging()
    {
        WorkDir dir;
        Table t(3);
        QWidget *card = t.card(0);
        // Edit mode off: the card stays.
        mouse(card, kDown, {10, 20});
        mouse(card, kMove, {40, 20});
        mouse(card, kUp, {40, 20});
        QCOMPARE(t.window->cardPlace(0), QPointF(300, 100));

        // The card moves by the pointer's way times client pixels over outer twips.
        t.action("layoutedit")->trigger();
        const float rW = float(t.window->centralWidget()->width()) / float(t.window->windowGeometry().width());
        const float rH = float(t.window->centralWidget()->height()) / float(t.window->windowGeometry().height());
        mouse(card, kDown, {10, 20});
        mouse(card, kMove, {40, 20});
        QVERIFY(qAbs(t.window->cardPlace(0).x() - (300 + 30 * rW)) < 1e-4);
        QCOMPARE(t.window->cardPlace(0).y(), 100.0);
        QCOMPARE(card->pos(), QPoint(302, 100));
        // The pointer held still keeps pulling: the card trails it, until the button is up.
        mouse(card, kMove, {40, 20});
        mouse(card, kUp, {40, 20});
        mouse(card, kMove, {90, 90});
        QVERIFY(qAbs(t.window->cardPlace(0).x() - (300 + 60 * rW)) < 1e-3);
        mouse(t.card(2), kDown, {10, 20});
        mouse(t.card(2), kMove, {10, 50});
        QVERIFY(qAbs(t.window->cardPlace(2).y() - (120 + 30 * rH)) < 1e-3);

        // The grip point is rounded half to even.
        for (const auto &[at, grip] : {std::pair{QPointF(10.5, 2.5), QPoint(10, 2)}, {QPointF(11.5, 7.6), QPoint(12, 8)}}) {
            mouse(t.card(1), kDown, at);
            QCOMPARE(QPoint(t.state.editing.dragOffsetX, t.state.editing.dragOffsetY), grip);
        }
    }

    void addingAndRemovingPositions()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(3);
        editAs(t, "Mine");
        t.action("AddCard")->trigger();
        QCOMPARE(t.state.layout.positionCount, qint16(4));
        QCOMPARE(t.card(3)->pos(), QPoint(325, 25));
        QCOMPARE(t.card(3)->toolTip(), QString("Card 4"));
        QVERIFY(t.card(3)->isVisible() && !t.card(3)->picture().isNull());
        // On top of the others.
        QCOMPARE(t.window->findChild<QWidget *>("table")->children().last(), t.card(3));
        // A removed position added again gets its meaning back.
        t.action("removecard")->trigger();
        t.action("removecard")->trigger();
        QCOMPARE(t.window->cardPictureCount(), 2);
        t.action("AddCard")->trigger();
        QCOMPARE(t.state.layout.positions[2].meaning.text().trimmed(), QString("position 3"));
        for (int i = 0; i < 3; ++i)
            t.action("removecard")->trigger();
        QCOMPARE(spy.messages(), QStringList{"You can not have a layout with no cards"});
        QCOMPARE(t.state.layout.positionCount, qint16(1));
        spy.clear();
        while (t.state.layout.positionCount < 101 && spy.messages().isEmpty())
            t.action("AddCard")->trigger();
        QCOMPARE(spy.messages(), QStringList{"A layout holds at most 100 cards."});
        QCOMPARE(t.window->cardPictureCount(), 100);
    }

    void statesAndSaving()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(2, 3);
        QCOMPARE(state(t), QString("normal on off off"));
        // A card back that does not load shows no picture anywhere, not even a dealt face.
        t.find("Command1")->click();
        test::writeBytes("back.bmp", "BM broken");
        platform::Picture::clearCache();
        t.action("layoutedit")->trigger();
        QVERIFY(t.find<platform::PictureElement>("Image1")->picture().isNull());
        QCOMPARE(state(t), QString("unnamed off off off"));
        QTest::keyClicks(t.in<QLineEdit>("namelayout", "Text1"), "Fresh");
        t.in("namelayout", "Command1")->click();
        QCOMPARE(state(t), QString("named off on on"));
        t.action("AddCard")->trigger();
        for (int k = 0; k < 3; ++k)
            QVERIFY(t.card(k)->picture().isNull() && t.window->facePicture(k)->picture().isNull());
        QCOMPARE(t.state.settings.layoutName, QString("Fresh"));
        t.action("savelayout")->trigger();
        QVERIFY(QFile::exists("Fresh.lat"));
        QCOMPARE(state(t), QString("normal on off off"));

        // The name dialog closed from its frame: saved under the old name.
        const QByteArray before = test::readBytes("Fresh.lat");
        t.action("layoutedit")->trigger();
        mouse(t.card(1), kDown, {0, 0});
        mouse(t.card(1), kMove, {150, 0});
        platform::WindowRegistry::close("namelayout");
        QCOMPARE(state(t), QString("unnamed off off off"));
        t.action("savelayout")->trigger();
        QCOMPARE(state(t), QString("normal on off off"));
        QVERIFY(test::readBytes("Fresh.lat") != before);
        QVERIFY(spy.messages().isEmpty());

        // A file that cannot be written keeps the editing.
        editAs(t, "Fresh");
        QFile::setPermissions("Fresh.lat", QFile::ReadOwner);
        t.action("savelayout")->trigger();
        QFile::setPermissions("Fresh.lat", QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(state(t), QString("named off on on"));

        // A blank name is installed, but no hidden ".lat" is written for it.
        spy.clear();
        platform::WindowRegistry::close("namelayout");
        editAs(t, "   ");
        QCOMPARE(t.state.settings.layoutName, QString());
        t.action("savelayout")->trigger();
        QCOMPARE(spy.messages(), QStringList{kLayoutNeedsName});
        QVERIFY(!QFile::exists(".lat"));
        QCOMPARE(state(t), QString("named off on on"));
    }

    void designedLayoutComesBackAfterARestart()
    {
        WorkDir dir;
        QList<QPointF> places;
        QRect geometry;
        {
            Table t(2);
            editAs(t, "Designed");
            t.action("AddCard")->trigger();
            mouse(t.card(2), kDown, {3, 4});
            for (int i = 0; i < 5; ++i)
                mouse(t.card(2), kMove, {63, 34});
            t.window->move(t.window->pos() + QPoint(40, 30));
            t.action("savelayout")->trigger();
            t.action("save")->trigger();
            for (int k = 0; k < 3; ++k)
                places << t.window->cardPlace(k);
            geometry = t.window->windowGeometry();
            QVERIFY(places[2].x() > 330 && places[2].y() > 26);
        }
        // Shown again: the outer place and size, frame included, are the saved ones.
        Table t(0);
        QVERIFY(t.window->frameGeometry() != t.window->geometry());
        QCOMPARE(t.window->windowGeometry(), geometry);
        QCOMPARE(t.window->windowTitle(), QString("Vellara 2.5 Designed"));
        QCOMPARE(t.window->cardPictureCount(), 3);
        for (int k = 0; k < 3; ++k)
            QCOMPARE(t.window->cardPlace(k), places[k]);
    }
};

QTEST_MAIN(TestLayoutEdit)
#include "test_layoutedit.moc"
