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

void copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const QFileInfo &info : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (info.isDir())
            copyTree(info.filePath(), to + "/" + info.fileName());
        else
            QVERIFY(QFile::copy(info.filePath(), to + "/" + info.fileName()));
    }
}

// The lines of a file, checked to be Windows-1252 text with CR LF ends.
QStringList cp1252Lines(const QString &path)
{
    const QByteArray bytes = test::readBytes(path);
    for (char c : bytes) {
        const auto b = uchar(c);
        // Bytes the code page leaves undefined, and control characters.
        const bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        const bool control = b < 0x20 && b != '\r' && b != '\n';
        if (undefined || control)
            qWarning("byte %02x in %s", b, qPrintable(path));
        if (undefined || control)
            return {};
    }
    if (!bytes.endsWith("\r\n") || bytes.count('\n') != bytes.count("\r\n"))
        return {};
    QStringList lines = QString::fromLatin1(bytes).split("\r\n");
    lines.removeLast();
    return lines;
}

QRect cardRect(const platform::PictureElement *card)
{
    return card->geometry();
}

} // namespace

class TestSample : public QObject {
    Q_OBJECT

private slots:
    void startsWithoutAMessage()
    {
        test::WorkDir dir;
        copyTree(kSample, dir.path());
        test::MessageSpy spy;
        CoreState state;
        Celtic table(state);
        table.Form_Load();
        table.show();
        QVERIFY2(spy.messages().isEmpty(), qPrintable(spy.messages().join(" | ")));
        QCOMPARE(table.windowTitle(), QString("Vellara 2.5 Celtic Cross"));
        QCOMPARE(state.layout.positionCount, 10);
        QCOMPARE(state.cardCount, 22);
        QVERIFY(QFileInfo(state.settings.deckDirectory).isRelative());
        QVERIFY(!table.findChild<platform::PictureElement *>("Image1")->picture().isNull());
        for (int k = 0; k < 10; ++k) {
            QVERIFY(table.cardPicture(k)->isVisible());
            QVERIFY(!table.cardPicture(k)->picture().isNull());
        }
        QCOMPARE(state.settings.decks.paths[0], state.settings.decks.paths[1]);
        QVERIFY(state.settings.decks.names[1].trimmed().size() > 0);

        // Every card picture and the back load and draw.
        for (int c = 0; c < state.cardCount; ++c) {
            const QString file = state.settings.deckDirectory + "/" + state.cards[c].pictureFile.trimmed();
            const auto picture = platform::Picture::load(file);
            QVERIFY2(picture && !picture->isNull(), qPrintable(file));
            QVERIFY(!picture->render(QSize(39, 71)).isNull());
        }
        const auto back = platform::Picture::load(state.settings.cardBackFile);
        QVERIFY(back && !back->isNull() && !back->render(QSize(116, 213)).isNull());

        // A whole reading: deal, turn every card.
        table.Command1_Click();
        QVERIFY(spy.messages().isEmpty());
        for (int k = 0; k < 10; ++k) {
            QTest::mouseClick(table.cardPicture(k), Qt::LeftButton, {}, QPoint(3, 3));
            QVERIFY(!table.findChild<QPlainTextEdit *>("Text2")->toPlainText().trimmed().isEmpty());
        }
    }

    void everyLayoutLoadsAndFitsItsWindow()
    {
        test::WorkDir dir;
        copyTree(kSample, dir.path());
        test::MessageSpy spy;
        CoreState state;
        Celtic table(state);
        table.Form_Load();
        table.show();
        const int layouts = state.settings.layouts.layoutCount;
        QCOMPARE(layouts, 4);
        // The controls the cards must keep clear of.
        QList<QRect> controls;
        for (const char *name : {"Command1", "Command2", "Check1", "Check2", "Check3", "Label2", "Label3",
                                 "Text1", "Text2", "Image1"})
            controls << table.findChild<QWidget *>(name)->geometry();
        for (int i = 1; i <= layouts; ++i) {
            const QString name = state.settings.layouts.names[i].trimmed();
            QVERIFY(LoadLayout(state, table, name));
            QVERIFY2(spy.messages().isEmpty(), qPrintable(name));
            QCoreApplication::processEvents();
            const QRect client = table.centralWidget()->rect();
            QVERIFY(state.layout.positionCount >= 1);
            for (int k = 0; k < state.layout.positionCount; ++k) {
                const QRect card = cardRect(table.cardPicture(k));
                QVERIFY2(client.contains(card), qPrintable(QString("%1 card %2").arg(name).arg(k + 1)));
                for (const QRect &control : controls)
                    QVERIFY2(!card.intersects(control), qPrintable(QString("%1 card %2").arg(name).arg(k + 1)));
                const QString meaning = QString(state.layout.positions[k].meaning.text()).trimmed();
                QVERIFY2(meaning.size() >= 10, qPrintable(name));
            }
            // Every file line fits its field and the code page.
            const QStringList lines = cp1252Lines(dir.filePath(name + ".lat"));
            QCOMPARE(lines.size(), 7 + 5 * state.layout.positionCount);
            for (int k = 0; k < state.layout.positionCount; ++k)
                QVERIFY(lines[8 + 5 * k].size() <= 600);
        }
    }

    void deckTextsFitTheirFields()
    {
        const QStringList lines = cp1252Lines(kSample + "/decks/major/cards.dat");
        QCOMPARE(lines.size(), 1 + 4 * 22);
        QCOMPARE(lines[0], QString("22"));
        const QStringList names{"The Fool", "The Magician", "The High Priestess", "The Empress", "The Emperor",
                                "The Hierophant", "The Lovers", "The Chariot", "Strength", "The Hermit",
                                "Wheel of Fortune", "Justice", "The Hanged Man", "Death", "Temperance",
                                "The Devil", "The Tower", "The Star", "The Moon", "The Sun", "Judgement",
                                "The World"};
        QSet<QString> meanings;
        for (int c = 0; c < 22; ++c) {
            QCOMPARE(lines[1 + 4 * c], QString("%1.wmf").arg(c, 2, 10, QChar('0')));
            QCOMPARE(lines[2 + 4 * c], names[c]);
            for (int m : {3, 4}) {
                const QString meaning = lines[m + 4 * c];
                QVERIFY2(meaning.size() >= 30 && meaning.size() <= 400, qPrintable(names[c]));
                meanings.insert(meaning);
            }
        }
        QCOMPARE(meanings.size(), 44);  // no meaning written twice
        QVERIFY(!cp1252Lines(kSample + "/vellara.ini").isEmpty());
    }

    void workingDirectoryIsPreparedOnce()
    {
        test::WorkDir dir;
        const QString script = QStringLiteral(VELLARA_SOURCE_DIR "/scripts/prepare-workdir.sh");
        const QString target = dir.filePath("run-dir");
        auto prepare = [&] {
            return QProcess::execute("bash", {script, kSample, target});
        };
        QCOMPARE(prepare(), 0);
        QCOMPARE(test::readBytes(target + "/vellara.ini"), test::readBytes(kSample + "/vellara.ini"));
        QVERIFY(QFile::exists(target + "/decks/major/21.wmf"));
        QVERIFY(QFile::exists(target + "/Celtic Cross.lat"));

        // What the user saved survives the next run.
        test::writeBytes(target + "/vellara.ini", "saved by the user\r\n");
        QFile::remove(target + "/Horseshoe.lat");
        QCOMPARE(prepare(), 0);
        QCOMPARE(test::readBytes(target + "/vellara.ini"), QByteArray("saved by the user\r\n"));
        QVERIFY(!QFile::exists(target + "/Horseshoe.lat"));

        // A folder without settings gets the sample, but no file is replaced.
        const QString other = dir.filePath("other");
        QDir().mkpath(other);
        test::writeBytes(other + "/Three Card.lat", "mine\r\n");
        QCOMPARE(QProcess::execute("bash", {script, kSample, other}), 0);
        QVERIFY(QFile::exists(other + "/vellara.ini"));
        QCOMPARE(test::readBytes(other + "/Three Card.lat"), QByteArray("mine\r\n"));
    }
};

QTEST_MAIN(TestSample)
#include "test_sample.moc"
