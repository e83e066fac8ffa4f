#include "layouts/layouteditmode.h"
#include "layouts/layoutload.h"
#include "support/table.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace vellara;
using platform::WindowRegistry;
using test::child, test::click, test::opened;
using test::MessageSpy;
using test::Table;
using test::WorkDir;
constexpr QEvent::Type kDown = QEvent::MouseButtonPress, kMove = QEvent::MouseMove, kUp = QEvent::MouseButtonRelease;

namespace {

// A mouse event on a card picture, at a place that may hold fractions.
void mouse(QWidget *target, QEvent::Type type, QPointF at)
{
    const Qt::MouseButton button = type == kMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, type == kUp ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(target, &event);
}

// Starts editing and confirms a name in the name dialog as a user would.
void editAs(Table &t, const QString &name)
{
    QTest::keyClicks(t.open("layoutedit", "namelayout")->findChild<QLineEdit *>("Text1"), name);
    click(opened("namelayout"), "Command1");
}

// The phase with the enabled states of Pick Cards, Add Card and Remove Card.
QString state(const Table &t)
{
    const char *const phases[] = {"normal", "unnamed", "named"};
    auto on = [](bool enabled) { return QString(enabled ? " on" : " off"); };
    return phases[int(t.window.editMode().phase())] + on(child<QPushButton>(&t.window, "Command1")->isEnabled())
           + on(t.action("AddCard")->isEnabled()) + on(t.action("removecard")->isEnabled());
}

QString meaning(const Table &t, int k) { return t.state.layout.positions[k].meaning.text().trimmed(); }

QStringList entries(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QStringList installed(const CoreState &state)
{
    const LayoutRegistry &r = state.settings.layouts;
    return QStringList(r.names.begin() + 1, r.names.begin() + 1 + r.layoutCount);
}

} // namespace

class TestLayouts : public QObject {
    Q_OBJECT

private slots:
    void draggingAddingRemovingAndRestarting()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(3);
        QWidget *card = t.card(0);
        // The card moves by the pointer's way times client pixels over outer twips.
        editAs(t, "Mine");
        const float rW = float(t.window.centralWidget()->width()) / float(t.window.windowGeometry().width());
        const float rH = float(t.window.centralWidget()->height()) / float(t.window.windowGeometry().height());
        mouse(card, kDown, {10, 20});
        mouse(card, kMove, {40, 20});
        QVERIFY(qAbs(t.window.cardPlace(0).x() - (300 + 30 * rW)) < 1e-4 && card->pos() == QPoint(302, 100));
        // The pointer held still keeps pulling: the card trails it, until the button is up.
        mouse(card, kMove, {40, 20});
        mouse(card, kUp, {40, 20});
        mouse(card, kMove, {90, 90});
        QVERIFY(qAbs(t.window.cardPlace(0).x() - (300 + 60 * rW)) < 1e-3);
        mouse(t.card(2), kDown, {10, 20});
        mouse(t.card(2), kMove, {10, 50});
        QVERIFY(qAbs(t.window.cardPlace(2).y() - (120 + 30 * rH)) < 1e-3);

        t.action("AddCard")->trigger();
        QVERIFY(t.card(3)->isVisible() && t.card(3)->pos() == QPoint(325, 25)
                && test::shownColour(t.card(3)) == Qt::white);
        // A removed position added again gets its meaning back.
        t.action("removecard")->trigger();
        t.action("removecard")->trigger();
        t.action("AddCard")->trigger();
        QCOMPARE(meaning(t, 2), QString("position 3"));
        QCOMPARE(t.window.centralWidget()->children().last(), t.card(2));  // on top
        for (int i = 0; i < 3; ++i)
            t.action("removecard")->trigger();
        QCOMPARE(spy.messages(), QStringList{"You can not have a layout with no cards"});
        QVERIFY(t.state.layout.positionCount == qint16(1) && t.window.cardPictureCount() == 1);
        spy.clear();
        while (t.state.layout.positionCount < 101 && spy.messages().isEmpty())
            t.action("AddCard")->trigger();
        QVERIFY(spy.messages().value(0) == "A layout holds at most 100 cards." && t.window.cardPictureCount() == 100);

        // Started again: the outer place and size, frame included, and the places,
        // fractions and all, are the saved ones.
        t.window.move(t.window.pos() + QPoint(40, 30));
        t.action("savelayout")->trigger();
        t.action("save")->trigger();
        Table again(0);
        QVERIFY(again.window.frameGeometry() != again.window.geometry());
        QVERIFY(again.window.windowGeometry() == t.window.windowGeometry() && again.window.cardPictureCount() == 100);
        for (int k = 0; k < 100; ++k)
            QCOMPARE(again.window.cardPlace(k), t.window.cardPlace(k));
    }

    void editingStatesNamingAndSaving()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(2, 3);
        click(&t.window, "Command1");
        QTest::mouseClick(t.card(0), Qt::LeftButton);
        QWidget *window = t.open("layoutedit", "namelayout");
        QCOMPARE(state(t), QString("unnamed off off off"));
        test::verifyDesign(window);
        auto *box = child<QLineEdit>(opened("namelayout"), "Text1");
        QPushButton *ok = child<QPushButton>(opened("namelayout"), "Command1");
        // Room for a name of 13 wide letters.
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(QString(13, 'M')));
        // Empty: the focus goes back to the box.
        ok->setFocus();
        ok->click();
        QCOMPARE(QApplication::focusWidget(), box);

        // Only letters, digits and blanks are taken, typed or pasted.
        QTest::keyClicks(box, "My-Spread! 2");
        QCOMPARE(box->text(), QString("MySpread 2"));
        QApplication::clipboard()->setText("/../x.y");
        box->setCursorPosition(2);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QString("MyxySpread 2"));

        // Enter moves to OK without pressing it; Enter there takes the name, trimmed.
        box->setText("  Mine ");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!WindowRegistry::find("namelayout"));
        QVERIFY(installed(t.state) == (QStringList{"Spread", "Mine"}) && state(t) == QString("named off on on"));
        QCOMPARE(test::shownColour(t.card(0)), QColor(Qt::white));  // face down again
        QVERIFY(!QFile::exists("Mine.lat") && t.state.settings.layoutName == QString("Mine"));
        t.action("savelayout")->trigger();
        QVERIFY(QFile::exists("Mine.lat") && state(t) == QString("normal on off off"));

        // The name dialog closed from its frame: saved under the old name.
        const QByteArray before = test::readBytes("Mine.lat");
        t.action("layoutedit")->trigger();
        mouse(t.card(1), kDown, {0, 0});
        mouse(t.card(1), kMove, {150, 0});
        platform::WindowRegistry::close("namelayout");
        QCOMPARE(state(t), QString("unnamed off off off"));
        t.action("savelayout")->trigger();
        QCOMPARE(state(t), QString("normal on off off"));
        QVERIFY(test::readBytes("Mine.lat") != before && spy.messages().isEmpty());

        // A file that cannot be written keeps the editing. A back that cannot be read leaves the cards blank.
        t.state.settings.cardBackFile = "gone.bmp";
        editAs(t, "Mine");
        for (const char *name : {"Image1", "Image2_1", "Image3_1"})
            QVERIFY(child<platform::PictureElement>(&t.window, name)->picture().isNull());
        QFile::setPermissions("Mine.lat", QFile::ReadOwner);
        t.action("savelayout")->trigger();
        QFile::setPermissions("Mine.lat", QFile::ReadOwner | QFile::WriteOwner);
        QVERIFY(spy.messages().size() == 1 && state(t) == QString("named off on on"));

        // Every slot taken: the name is refused, and the layout stays unnamed.
        Table full(1);
        full.state.settings.layouts.layoutCount = 100;
        editAs(full, "Full");
        QVERIFY(spy.messages().value(1).startsWith("No more layouts can be installed"));
        QVERIFY(state(full) == QString("unnamed off off off") && WindowRegistry::find("namelayout"));  // to try again
    }

    void positionEditor()
    {
        WorkDir dir;
        Table t(5);
        t.state.layout.positions[0].meaning = "   first";
        test::verifyDesign(t.open("layoutchange", "positionedit"));
        auto *text = child<QPlainTextEdit>(opened("positionedit"), "Text1");
        auto *combo = child<QComboBox>(opened("positionedit"), "Combo1");
        QPushButton *toMemory = child<QPushButton>(opened("positionedit"), "Command1");
        QVERIFY(t.state.layout.positions[0].meaning.text().startsWith("first"));  // kept as shown

        // Enter moves to "Save to memory" without a line break; a second Enter presses it.
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, " one");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), toMemory);
        QTest::keyClick(toMemory, Qt::Key_Return);
        QVERIFY(meaning(t, 0) == QString("first one") && combo->currentIndex() == 1);
        QCOMPARE(text->toPlainText(), QString("position 2"));

        // Leaving the box turns an accented letter into a tab; typing stops at 600.
        text->setFocus();
        text->setPlainText("Caf\u00e9\nend\u001f" + QString(590, 'x'));
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "yz");
        QTest::keyClick(text, Qt::Key_Tab);  // Tab leaves the box rather than typing a tab
        QCOMPARE(text->toPlainText(), "Caf\t\tend\u001f" + QString(590, 'x') + "y");
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(child<QLabel>(opened("positionedit"), "Label1")->text().startsWith("Save to file saves"));

        // Choosing another entry shows its meaning; the last entry goes on to the first.
        combo->setCurrentIndex(4);
        QCOMPARE(text->toPlainText(), QString("position 5"));
        text->setPlainText("fifth" + QString(700, 'z'));
        toMemory->click();
        QVERIFY(meaning(t, 4) == "fifth" + QString(595, 'z') && combo->currentIndex() == 0);
        QCOMPARE(text->toPlainText(), QString("first one"));

        // "Save to file" writes the whole layout.
        text->setPlainText("   saved   ");
        click(opened("positionedit"), "Command2");
        QCOMPARE(QString::fromLatin1(test::readBytes("Spread.lat")).split("\r\n").value(8), QString("saved"));

        text->setPlainText("dropped");
        click(opened("positionedit"), "Command3");
        QVERIFY(!WindowRegistry::find("positionedit") && meaning(t, 0) == QString("saved"));
    }

    void layoutPickAndRemove()
    {
        WorkDir dir;
        test::writeLayout("Three", 3);
        Table t(2, 0, {" Three ", "", "Spread", "Other"});
        test::verifyDesign(t.open("loadlayout", "layoutpick"));
        const QStringList offered = entries(child<QComboBox>(opened("layoutpick"), "Combo1"));
        QCOMPARE(offered, (QStringList{"Three", "", "Spread", "Other"}));
        // Enter presses the button that has the focus.
        QTest::keyClick(child<QPushButton>(opened("layoutpick"), "OKButton"), Qt::Key_Return);
        QVERIFY(!WindowRegistry::find("layoutpick"));
        QVERIFY(t.state.settings.layoutName == QString("Three") && t.window.cardPictureCount() == 3);

        // An empty entry is not removed; removing the first moves the others up; the current layout stays.
        QWidget *remove = t.open("removelayout", "removelay");
        test::verifyDesign(remove);
        auto *combo = remove->findChild<QComboBox *>("Combo1");
        for (const int entry : {1, 0, 2}) {
            combo->setCurrentIndex(entry);
            click(opened("removelay"), "OKButton");
        }
        QVERIFY(installed(t.state) == (QStringList{"", "Spread"}) && entries(combo) == installed(t.state));
        QVERIFY(t.state.settings.layouts.names[3] == "Other" && t.state.settings.layoutName == "Three");
        QTest::keyClick(child<QPushButton>(opened("removelay"), "CancelButton"), Qt::Key_Return);
        QVERIFY(!WindowRegistry::find("removelay"));
    }

    void loadingFromFile()
    {
        WorkDir dir;
        MessageSpy spy;
        test::writeLayout("a", 4);
        test::writeBytes("a.b.lat", "not read");
        test::writeBytes("notes.txt", "");
        Table t(2);
        auto ok = [&t](const QString &file) {
            auto *window = static_cast<Layoutload *>(t.open("loadlayoutfile", "layoutload"));
            if (!file.isEmpty())
                window->File1_Click(file);
            // Enter presses the focused button.
            QTest::keyClick(child<QPushButton>(opened("layoutload"), "OKButton"), Qt::Key_Return);
        };
        // Nothing chosen: OK does nothing. Once the window is active, the list
        // has the focus and its first file is chosen.
        ok({});
        QCOMPARE(installed(t.state), QStringList{"Spread"});
        test::verifyDesign(opened("layoutload"));
        auto *files = child<platform::FileList>(opened("layoutload"), "File1");
        QCOMPARE(files->fileNames(), (QStringList{"a.b.lat", "a.lat", "Spread.lat"}));

        // Two dots: the name ends at the first, and a.lat is loaded. The file
        // clicked is taken again over what was typed.
        child<QLineEdit>(opened("layoutload"), "Text1")->setText("typed");
        test::clickFile(files, "a.b.lat");
        ok({});
        QVERIFY(!opened("layoutload") && t.state.settings.layoutName == "a" && t.window.cardPictureCount() == 4);
        // A name without a dot is taken whole; a failed load installs it too.
        ok("Lost");
        QVERIFY(spy.messages().size() == 1 && installed(t.state) == (QStringList{"Spread", "a", "Lost"}));

        // Every slot taken: told so, nothing loaded or installed.
        t.state.settings.layouts.layoutCount = 100;
        ok("Spread.lat");
        QVERIFY(spy.messages().value(1).startsWith("No more layouts can be installed"));
        QVERIFY(t.state.settings.layouts.layoutCount == qint16(100) && t.state.settings.layoutName == QString("Lost"));
        click(t.open("loadlayoutfile", "layoutload"), "CancelButton");
        QVERIFY(!opened("layoutload"));
    }
};

QTEST_MAIN(TestLayouts)
#include "test_layoutwindows.moc"
