#include "layouts/layoutload.h"
#include "platform/filelists.h"
#include "support/messagespy.h"
#include "tablefixture.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace vellara;
using test::MessageSpy;
using test::Table;
using test::WorkDir;

namespace {

const QString kMemoryHelp = "Save to memory saves the entered text to the assigned variable in memory and can be "
                            "saved later with the Save Layout menu item.";
const QString kFileHelp =
    "Save to file saves the edited card position information directly to the layout information file.";
const QString kTextHelp =
    "Accepts standard ascii text except <enter>, all non- ascii are converted to tabs even if text is pasted.";

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

void fillRegistry(CoreState &state, int count)
{
    state.settings.layouts.layoutCount = qint16(count);
    for (int i = 1; i <= count; ++i)
        state.settings.layouts.names[i] = QString("L%1").arg(i);
}

} // namespace

class TestLayoutWindows : public QObject {
    Q_OBJECT

private slots:
    void positionEditor()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(5);
        t.state.layout.positions[0].meaning = "   first";
        t.action("layoutchange")->trigger();
        QWidget *w = platform::WindowRegistry::find("positionedit");
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->windowTitle(), QString("Edit Card Position Information"));
        auto *text = w->findChild<QPlainTextEdit *>("Text1");
        auto *combo = w->findChild<QComboBox *>("Combo1");
        auto *help = w->findChild<QLabel *>("Label1");
        auto *toMemory = w->findChild<QPushButton *>("Command1");
        QCOMPARE(entries(combo), (QStringList{"Card 1", "Card 2", "Card 3", "Card 4", "Card 5"}));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(text->toPlainText(), QString("first"));
        QCOMPARE(t.state.layout.positions[0].meaning.text(), QString("first").leftJustified(600));
        QCOMPARE(QApplication::focusWidget(), text);
        QCOMPARE(help->text(), kTextHelp);

        // Enter moves to "Save to memory" without a line break; a second Enter presses it.
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, " one");
        QTest::keyClick(text, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), toMemory);
        QCOMPARE(help->text(), kMemoryHelp);
        QCOMPARE(text->toPlainText(), QString("first one"));
        QTest::keyClick(toMemory, Qt::Key_Return);
        QCOMPARE(meaning(t, 0), QString("first one"));
        QCOMPARE(combo->currentIndex(), 1);
        QCOMPARE(text->toPlainText(), QString("position 2"));

        // The focus leaving the box turns an accented letter into a tab.
        text->setFocus();
        text->setPlainText("Caf\u00e9\nend\u001f");
        w->findChild<QPushButton *>("Command2")->setFocus();
        QCOMPARE(help->text(), kFileHelp);
        QCOMPARE(text->toPlainText(), QString("Caf\t\tend\u001f"));
        combo->setFocus();
        QCOMPARE(help->text(), kFileHelp);

        // Typed text is lost on choosing another entry, and on "Exit".
        combo->setCurrentIndex(4);
        QCOMPARE(text->toPlainText(), QString("position 5"));
        QCOMPARE(meaning(t, 1), QString("position 2"));
        text->setPlainText("fifth");
        toMemory->click();
        QCOMPARE(meaning(t, 4), QString("fifth"));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(text->toPlainText(), QString("first one"));

        // "Save to file" writes the whole layout, edit mode as it was.
        t.action("layoutedit")->trigger();
        platform::WindowRegistry::close("namelayout");
        t.window->moveCard(1, 12.5f, 7);
        text->setPlainText("   saved   ");
        w->findChild<QPushButton *>("Command2")->click();
        QCOMPARE(combo->currentIndex(), 0);
        const QStringList lines = QString::fromLatin1(test::readBytes("Spread.lat")).split("\r\n");
        QCOMPARE(lines.mid(7, 7), (QStringList{"        positional meaning 1", "saved", "        left, top of card#1",
                                               "300", "100", "        positional meaning 2", "position 2"}));
        QCOMPARE(lines.mid(15, 2), (QStringList{"12.5", "7"}));
        QVERIFY(t.state.editing.layoutEditMode);
        QVERIFY(t.window->findChild<QPushButton *>("Command1")->isEnabled());

        text->setPlainText("dropped");
        w->findChild<QPushButton *>("Command3")->click();
        QVERIFY(!platform::WindowRegistry::find("positionedit"));
        QCOMPARE(meaning(t, 0), QString("saved"));
        QVERIFY(spy.messages().isEmpty());
    }

    void layoutPickAndRemove()
    {
        WorkDir dir;
        MessageSpy spy;
        test::writeLayout("Three", 3);
        Table t(2, {" Three ", "", "Spread", "Other"});
        t.action("loadlayout")->trigger();
        QWidget *pick = platform::WindowRegistry::find("layoutpick");
        auto *combo = pick->findChild<QComboBox *>("Combo1");
        QCOMPARE(entries(combo), (QStringList{"Three", "", "Spread", "Other"}));
        // A second "Load Layout" brings the same window, its list unchanged.
        t.state.settings.layouts.layoutCount = 1;
        t.action("loadlayout")->trigger();
        QCOMPARE(platform::WindowRegistry::find("layoutpick"), pick);
        QCOMPARE(combo->count(), 4);
        t.state.settings.layouts.layoutCount = 4;

        // The empty entry does nothing.
        combo->setCurrentIndex(1);
        pick->findChild<QPushButton *>("OKButton")->click();
        QVERIFY(platform::WindowRegistry::find("layoutpick"));
        QCOMPARE(t.state.settings.layoutName, QString("Spread"));
        combo->setCurrentIndex(0);
        pick->findChild<QPushButton *>("OKButton")->click();
        QVERIFY(!platform::WindowRegistry::find("layoutpick"));
        QCOMPARE(t.state.settings.layoutName, QString("Three"));
        QCOMPARE(t.window->cardPictureCount(), 3);

        t.action("removelayout")->trigger();
        QWidget *remove = platform::WindowRegistry::find("removelay");
        QCOMPARE(remove->windowTitle(), QString("Choose Layout to remove"));
        combo = remove->findChild<QComboBox *>("Combo1");
        auto *ok = remove->findChild<QPushButton *>("OKButton");
        combo->setCurrentIndex(1);
        ok->click();
        QCOMPARE(t.state.settings.layouts.layoutCount, qint16(4));
        // Removing the first moves the others up; the current layout stays.
        combo->setCurrentIndex(0);
        ok->click();
        QCOMPARE(installed(t.state), (QStringList{"", "Spread", "Other"}));
        QCOMPARE(t.state.settings.layouts.names[4], QString("Other"));
        QCOMPARE(entries(combo), (QStringList{"", "Spread", "Other"}));
        QCOMPARE(combo->currentIndex(), 0);
        QCOMPARE(t.state.settings.layoutName, QString("Three"));
        combo->setCurrentIndex(2);
        ok->click();
        QCOMPARE(installed(t.state), (QStringList{"", "Spread"}));
        remove->findChild<QPushButton *>("CancelButton")->click();
        QVERIFY(!platform::WindowRegistry::find("removelay"));
        QVERIFY(spy.messages().isEmpty());
    }

    void loadingFromFile()
    {
        WorkDir dir;
        MessageSpy spy;
        test::writeLayout("a", 4);
        test::writeBytes("a.b.lat", "not read");
        test::writeBytes("notes.txt", "");
        Table t(2);
        auto open = [&t] {
            t.action("loadlayoutfile")->trigger();
            return platform::WindowRegistry::find("layoutload");
        };
        QWidget *w = open();
        auto *files = w->findChild<platform::FileList *>("File1");
        QCOMPARE(files->fileNames(), (QStringList{"a.b.lat", "a.lat", "Spread.lat"}));
        QVERIFY(!w->findChild<platform::DriveList *>());
        QVERIFY(!w->findChild<platform::DirectoryList *>());

        // Nothing chosen: OK does nothing.
        w->findChild<QPushButton *>("OKButton")->click();
        QVERIFY(platform::WindowRegistry::find("layoutload"));
        QCOMPARE(installed(t.state), QStringList{"Spread"});

        // Two dots: the name ends at the first, and a.lat is loaded.
        const QPoint at = files->visualItemRect(files->item(0)).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(w->findChild<QLineEdit *>("Text1")->text(), QString("a.b.lat"));
        w->findChild<QPushButton *>("OKButton")->click();
        QCOMPARE(t.state.settings.layoutName, QString("a"));
        QCOMPARE(t.window->cardPictureCount(), 4);
        QCOMPARE(installed(t.state), (QStringList{"Spread", "a"}));

        // A name without a dot is taken whole; a failed load installs it too.
        static_cast<Layoutload *>(open())->File1_Click("Lost");
        platform::WindowRegistry::find("layoutload")->findChild<QPushButton *>("OKButton")->click();
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].contains("Lost.lat"));
        QCOMPARE(installed(t.state), (QStringList{"Spread", "a", "Lost"}));

        // Every slot taken: told so, nothing loaded or installed.
        spy.clear();
        fillRegistry(t.state, 100);
        static_cast<Layoutload *>(open())->File1_Click("Spread.lat");
        platform::WindowRegistry::find("layoutload")->findChild<QPushButton *>("OKButton")->click();
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY(spy.messages()[0].startsWith("No more layouts can be installed"));
        QCOMPARE(t.state.settings.layouts.layoutCount, qint16(100));
        QCOMPARE(t.state.settings.layoutName, QString("Lost"));
    }

    void namingALayout()
    {
        WorkDir dir;
        MessageSpy spy;
        Table t(2);
        t.action("layoutedit")->trigger();
        QWidget *w = platform::WindowRegistry::find("namelayout");
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->windowTitle(), QString("Name for Layout"));
        auto *box = w->findChild<QLineEdit *>("Text1");
        auto *ok = w->findChild<QPushButton *>("Command1");
        QCOMPARE(box->accessibleName(), QString("Enter name for new layout:"));

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
        QCOMPARE(box->text(), QString("Myxy" "Spread 2"));
        QCOMPARE(box->cursorPosition(), 4);

        // Enter moves to OK without pressing it; Enter there does.
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), ok);
        QCOMPARE(t.state.settings.layouts.layoutCount, qint16(1));
        fillRegistry(t.state, 100);
        QTest::keyClick(ok, Qt::Key_Return);
        QCOMPARE(spy.messages().size(), 1);
        QCOMPARE(t.state.settings.layouts.names[100], QString("L100"));
        QCOMPARE(t.state.settings.layoutName, QString("Spread"));
        QVERIFY(!t.action("AddCard")->isEnabled());
        QVERIFY(platform::WindowRegistry::find("namelayout"));

        fillRegistry(t.state, 3);
        box->setText("  Mine ");
        ok->click();
        QVERIFY(!platform::WindowRegistry::find("namelayout"));
        QCOMPARE(installed(t.state), (QStringList{"L1", "L2", "L3", "Mine"}));
        QCOMPARE(t.state.settings.layoutName, QString("Mine"));
        QVERIFY(!QFile::exists("Mine.lat"));
        QCOMPARE(spy.messages().size(), 1);
    }
};

QTEST_MAIN(TestLayoutWindows)
#include "test_layoutwindows.moc"
