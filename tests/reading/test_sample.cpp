// The bundled sample: settings, deck, pictures and layouts a newcomer starts
// on, and the preparation of the working directory the run command uses.

#include "core/corestate.h"
#include "core/layoutfile.h"
#include "platform/picture.h"
#include "platform/pictureelement.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

using namespace vellara;

namespace {

const QString kSample = QStringLiteral(VELLARA_SOURCE_DIR "/data/sample");
const QString kPrepare = QStringLiteral(VELLARA_SOURCE_DIR "/scripts/prepare-workdir.sh");

// The lines of a file, empty unless it is Windows-1252 text with CR LF ends.
QStringList cp1252Lines(const QString &path)
{
    const QByteArray bytes = test::readBytes(path);
    for (const char c : bytes) {
        const auto b = uchar(c);
        const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        if (undefined || (b < 0x20 && b != '\r' && b != '\n'))
            return {};
    }
    if (!bytes.endsWith("\r\n") || bytes.count('\n') != bytes.count("\r\n"))
        return {};
    QStringList lines = QString::fromLatin1(bytes).split("\r\n");
    lines.removeLast();
    return lines;
}

} // namespace

class TestSample : public QObject {
    Q_OBJECT

private slots:
    void startsAndReadsWithoutAMessage()
    {
        test::WorkDir dir;
        QCOMPARE(QProcess::execute("bash", {kPrepare, kSample, dir.path()}), 0);
        test::MessageSpy spy;
        CoreState state;
        Celtic table(state);
        table.Form_Load();
        table.show();
        QVERIFY2(spy.messages().isEmpty(), qPrintable(spy.messages().join(" | ")));
        QCOMPARE(table.windowTitle(), QString("Vellara 2.5 Celtic Cross"));
        QCOMPARE(state.cardCount, 22);
        QVERIFY(QFileInfo(state.settings.deckDirectory).isRelative());
        QCOMPARE(state.settings.decks.paths[0], state.settings.decks.paths[1]);
        for (int c = 0; c < state.cardCount; ++c) {
            const QString file = state.settings.deckDirectory + "/" + state.cards[c].pictureFile.trimmed();
            const auto card = platform::Picture::load(file);
            QVERIFY2(card && !card->render(QSize(39, 71)).isNull(), qPrintable(file));
        }
        const auto back = platform::Picture::load(state.settings.cardBackFile);
        QVERIFY(back && !back->render(QSize(116, 213)).isNull());

        // Every layout fits its window, clear of the controls, and every card turns up with its text.
        QList<QRect> controls;
        for (const char *name : {"Command1", "Command2", "Check1", "Check2", "Check3", "Label2", "Label3",
                                 "Text1", "Text2", "Image1"})
            controls << table.findChild<QWidget *>(name)->geometry();
        QCOMPARE(state.settings.layouts.layoutCount, 4);
        for (int i = 1; i <= 4; ++i) {
            const QString name = state.settings.layouts.names[i].trimmed();
            QVERIFY(LoadLayout(state, table, name));
            QCoreApplication::processEvents();
            QCOMPARE(cp1252Lines(dir.filePath(name + ".lat")).size(), 7 + 5 * state.layout.positionCount);
            table.findChild<QPushButton *>("Command1")->click();
            for (int k = 0; k < state.layout.positionCount; ++k) {
                const QRect card = table.cardPicture(k)->geometry();
                const QString where = QString("%1 card %2").arg(name).arg(k + 1);
                QVERIFY2(table.centralWidget()->rect().contains(card), qPrintable(where));
                for (const QRect &control : controls)
                    QVERIFY2(!card.intersects(control), qPrintable(where));
                QVERIFY2(state.layout.positions[k].meaning.text().trimmed().size() >= 10, qPrintable(where));
                QTest::mouseClick(table.cardPicture(k), Qt::LeftButton, {}, QPoint(3, 3));
                QVERIFY(!table.findChild<platform::PictureElement *>("Image1")->picture().isNull());
                QVERIFY(!table.findChild<QPlainTextEdit *>("Text2")->toPlainText().trimmed().isEmpty());
            }
        }
        QVERIFY2(spy.messages().isEmpty(), qPrintable(spy.messages().join(" | ")));
    }

    void deckTextsFitTheirFields()
    {
        const QStringList lines = cp1252Lines(kSample + "/decks/major/cards.dat");
        QCOMPARE(lines.size(), 1 + 4 * 22);
        QCOMPARE(lines[0], QString("22"));
        QSet<QString> texts;
        for (int c = 0; c < 22; ++c) {
            QCOMPARE(lines[1 + 4 * c], QString("%1.wmf").arg(c, 2, 10, QChar('0')));
            QVERIFY(!lines[2 + 4 * c].isEmpty() && lines[2 + 4 * c].size() <= 30);
            for (int m : {3, 4}) {
                QVERIFY2(lines[m + 4 * c].size() >= 30 && lines[m + 4 * c].size() <= 400, qPrintable(lines[2 + 4 * c]));
                texts.insert(lines[m + 4 * c]);
            }
        }
        QCOMPARE(texts.size(), 44);  // no meaning written twice
        QVERIFY(!cp1252Lines(kSample + "/vellara.ini").isEmpty());
    }

    void workingDirectoryIsPreparedOnce()
    {
        test::WorkDir dir;
        const QString target = dir.filePath("run-dir");
        QCOMPARE(QProcess::execute("bash", {kPrepare, kSample, target}), 0);
        QCOMPARE(test::readBytes(target + "/vellara.ini"), test::readBytes(kSample + "/vellara.ini"));
        QVERIFY(QFile::exists(target + "/decks/major/21.wmf"));

        // What the user saved survives the next run.
        test::writeBytes(target + "/vellara.ini", "saved by the user\r\n");
        QFile::remove(target + "/Horseshoe.lat");
        QCOMPARE(QProcess::execute("bash", {kPrepare, kSample, target}), 0);
        QCOMPARE(test::readBytes(target + "/vellara.ini"), QByteArray("saved by the user\r\n"));
        QVERIFY(!QFile::exists(target + "/Horseshoe.lat"));

        // A folder without settings gets the sample, but no file is replaced.
        const QString other = dir.filePath("other");
        QDir().mkpath(other);
        test::writeBytes(other + "/Three Card.lat", "mine\r\n");
        QCOMPARE(QProcess::execute("bash", {kPrepare, kSample, other}), 0);
        QVERIFY(QFile::exists(other + "/vellara.ini"));
        QCOMPARE(test::readBytes(other + "/Three Card.lat"), QByteArray("mine\r\n"));
    }
};

QTEST_MAIN(TestSample)
#include "test_sample.moc"
