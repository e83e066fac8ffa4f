#include "layouts/layoutload.h"
#include "platform/filelists.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/table.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace vellara;
using platform::WindowRegistry;
using test::MessageSpy;
using test::Table;
using test::WorkDir;

namespace {

QString meaning(const Table &t, int k)
{
    return t.state.layout.positions[k].meaning.text().trimmed();
}

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

// A window made as small as it goes keeps the size it opens at, its controls
// apart; every control Tab reaches is named for screen readers.
void verifyShrinks(QWidget *window)
{
    window->resize(1, 1);
    QCOMPARE(window->size(), window->sizeHint());
    test::verifyControlsApart(window);
    for (const QWidget *control : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        QVERIFY2(!(control->focusPolicy() & Qt::TabFocus) || !control->accessibleName().isEmpty(), qPrintable(control->objectName()));
}

} // namespace

class TestLayoutWindows : public QObject {
    Q_OBJECT

private slots:
    void positionEditor()
    {
        WorkDir dir;
        Table t(5);
        t.state.layout.positions[0].meaning = "   first";
        t.action("layoutchange")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(WindowRegistry::find("positionedit")));
        verifyShrinks(WindowRegistry::find("positionedit"));
        auto *text = t.in<QPlainTextEdit>("positionedit", "Text1");
        auto *combo = t.in<QComboBox>("positionedit", "Combo1");
        auto *help = t.in<QLabel>("positionedit", "Label1");
        QPushButton *toMemory = t.in("positionedit", "Command1");
        QCOMPARE(text->toPlainText(), QString("first"));

        // Enter moves to "Save to memory" without a line break; a second Enter presses it.
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, " one");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), toMemory);
        QVERIFY(help->text().startsWith("Save to memory saves the entered text"));
        QTest::keyClick(toMemory, Qt::Key_Return);
        QCOMPARE(meaning(t, 0), QString("first one"));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(text->toPlainText(), QString("position 2"));

        // Leaving the box turns an accented letter into a tab; typing stops at 600.
        text->setFocus();
        text->setPlainText("Caf\u00e9\nend\u001f" + QString(590, 'x'));
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "yz");
        t.in("positionedit", "Command2")->setFocus();
        QVERIFY(help->text().startsWith("Save to file saves"));
        QCOMPARE(text->toPlainText(), "Caf\t\tend\u001f" + QString(590, 'x') + "y");

        // Typed text is lost on choosing another entry; the last entry goes on to the first.
        combo->setCurrentIndex(4);
        QCOMPARE(text->toPlainText(), QString("position 5"));
        QCOMPARE(meaning(t, 1), QString("position 2"));
        text->setPlainText("fifth" + QString(700, 'z'));
        toMemory->click();
        QCOMPARE(meaning(t, 4), "fifth" + QString(595, 'z'));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(text->toPlainText(), QString("first one"));

        // "Save to file" writes the whole layout and leaves edit mode as it was.
        t.action("layoutedit")->trigger();
        t.window->moveCard(1, 12.5f, 7);
        text->setPlainText("   saved   ");
        t.in("positionedit", "Command2")->click();
        const QStringList lines = QString::fromLatin1(test::readBytes("Spread.lat")).split("\r\n");
        QCOMPARE(lines.mid(8, 1) + lines.mid(15, 2), (QStringList{"saved", "12.5", "7"}));
        QVERIFY(t.state.editing.layoutEditMode);
        QVERIFY(t.find("Command1")->isEnabled());

        text->setPlainText("dropped");
        t.in("positionedit", "Command3")->click();
        QVERIFY(!WindowRegistry::find("positionedit"));
        QCOMPARE(meaning(t, 0), QString("saved"));
    }

    void layoutPickAndRemove()
    {
        WorkDir dir;
        test::writeLayout("Three", 3);
        Table t(2, 0, {" Three ", "", "Spread", "Other"});
        t.action("loadlayout")->trigger();
        verifyShrinks(WindowRegistry::find("layoutpick"));
        QCOMPARE(entries(t.in<QComboBox>("layoutpick", "Combo1")), (QStringList{"Three", "", "Spread", "Other"}));
        // Enter presses the button that has the focus.
        QPushButton *pick = t.in("layoutpick", "OKButton");
        pick->setFocus();
        QTest::keyClick(pick, Qt::Key_Return);
        QVERIFY(!WindowRegistry::find("layoutpick"));
        QCOMPARE(t.state.settings.layoutName, QString("Three"));
        QCOMPARE(t.window->cardPictureCount(), 3);

        // An empty entry is not removed; removing the first moves the others up; the current layout stays.
        t.action("removelayout")->trigger();
        auto *combo = t.in<QComboBox>("removelay", "Combo1");
        QPushButton *ok = t.in("removelay", "OKButton");
        for (const int entry : {1, 0, 2}) {
            combo->setCurrentIndex(entry);
            ok->click();
        }
        QCOMPARE(installed(t.state), (QStringList{"", "Spread"}));
        QCOMPARE(entries(combo), installed(t.state));
        QCOMPARE(t.state.settings.layouts.names[3], QString("Other"));
        QCOMPARE(t.state.settings.layoutName, QString("Three"));
        QPushButton *exit = t.in("removelay", "CancelButton");
        QCOMPARE(exit->accessibleName(), QString("Exit"));
        exit->setFocus();
        QTest::keyClick(exit, Qt::Key_Return);
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
            t.action("loadlayoutfile")->trigger();
            if (!file.isEmpty())
                static_cast<Layoutload *>(WindowRegistry::find("layoutload"))->File1_Click(file);
            // Enter presses the focused button.
            QTest::keyClick(t.in("layoutload", "OKButton"), Qt::Key_Return);
        };
        t.action("loadlayoutfile")->trigger();
        auto *files = t.in<platform::FileList>("layoutload", "File1");
        verifyShrinks(WindowRegistry::find("layoutload"));
        QCOMPARE(files->fileNames(), (QStringList{"a.b.lat", "a.lat", "Spread.lat"}));
        // Nothing chosen: OK does nothing.
        ok({});
        QVERIFY(WindowRegistry::find("layoutload"));
        QCOMPARE(installed(t.state), QStringList{"Spread"});

        // Two dots: the name ends at the first, and a.lat is loaded.
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
        QCOMPARE(t.in<QLineEdit>("layoutload", "Text1")->text(), QString("a.b.lat"));
        ok({});
        QCOMPARE(t.state.settings.layoutName, QString("a"));
        QCOMPARE(t.window->cardPictureCount(), 4);
        // A name without a dot is taken whole; a failed load installs it too.
        ok("Lost");
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(installed(t.state), (QStringList{"Spread", "a", "Lost"}));

        // Every slot taken: told so, nothing loaded or installed.
        t.state.settings.layouts.layoutCount = 100;
        ok("Spread.lat");
        QCOMPARE(spy.messages().size(), 2);
        QVERIFY(spy.messages()[1].startsWith("No more layouts can be installed"));
        QCOMPARE(t.state.settings.layouts.layoutCount, qint16(100));
        QCOMPARE(t.state.settings.layoutName, QString("Lost"));
    }

    void namingALayout()
    {
        WorkDir dir;
        Table t(2);
        t.action("layoutedit")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(WindowRegistry::find("namelayout")));
        verifyShrinks(WindowRegistry::find("namelayout"));
        auto *box = t.in<QLineEdit>("namelayout", "Text1");
        QPushButton *ok = t.in("namelayout", "Command1");
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
        QCOMPARE(box->cursorPosition(), 4);

        // Enter moves to OK without pressing it; Enter there takes the name, trimmed.
        box->setText("  Mine ");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), ok);
        QCOMPARE(t.state.settings.layouts.layoutCount, qint16(1));
        QTest::keyClick(ok, Qt::Key_Return);
        QVERIFY(!WindowRegistry::find("namelayout"));
        QCOMPARE(installed(t.state), (QStringList{"Spread", "Mine"}));
        QCOMPARE(t.state.settings.layoutName, QString("Mine"));
        QVERIFY(!QFile::exists("Mine.lat"));
    }
};

QTEST_MAIN(TestLayoutWindows)
#include "test_layoutwindows.moc"
