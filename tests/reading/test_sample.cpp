// The bundled sample: settings, deck, pictures and layouts a newcomer starts
// on, and the preparation of the working directory the run command uses.

#include "core/layoutfile.h"
#include "support/table.h"

#include <QProcess>

using namespace vellara;
using test::child;

namespace {

const QString kSample = QStringLiteral(VELLARA_SOURCE_DIR "/data/sample");

bool prepare(const QString &target)
{
    return QProcess::execute("bash", {VELLARA_SOURCE_DIR "/scripts/prepare-workdir.sh", kSample, target}) == 0;
}

// The lines of a file, empty unless it is Windows-1252 text with CR LF ends.
QStringList cp1252Lines(const QString &path)
{
    const QByteArray bytes = test::readBytes(path);
    const QByteArray undefined("\x81\x8D\x8F\x90\x9D", 5);
    for (const char c : bytes)
        if (undefined.contains(c) || (uchar(c) < 0x20 && c != '\r' && c != '\n'))
            return {};
    if (!bytes.endsWith("\r\n") || bytes.count('\n') != bytes.count("\r\n"))
        return {};
    return QString::fromLatin1(bytes.chopped(2)).split("\r\n");
}

} // namespace

class TestSample : public QObject {
    Q_OBJECT

private slots:
    // Prepared as the run command does, the sample starts and reads without a
    // message.
    void startsAndReadsWithoutAMessage()
    {
        test::WorkDir dir;
        QVERIFY(prepare(dir.path()));
        // Any message box fails the test.
        test::Table t(0);
        QVERIFY(t.window.windowTitle() == QString("Vellara 2.5 Celtic Cross") && t.state.cardCount == 22);
        QVERIFY(QFileInfo(t.state.settings.deckDirectory).isRelative());
        // The back and every card of the sample deck draw.
        QStringList pictures{t.state.settings.cardBackFile};
        for (int c = 0; c < t.state.cardCount; ++c)
            pictures << t.state.settings.deckDirectory + "/" + t.state.cards[c].pictureFile.trimmed();
        for (const QString &file : pictures)
            QVERIFY2(!platform::Picture::load(file).value_or(platform::Picture()).render(QSize(39, 71)).isNull(),
                     qPrintable(file));
        // Every layout fits its window, clear of the controls, each position with a meaning.
        QList<QRect> controls;
        for (const char *name : {"Command1", "Command2", "Check1", "Check2", "Check3", "Label2", "Label3", "Text1",
                                 "Text2", "Image1"})
            controls << child<QWidget>(&t.window, name)->geometry();
        QCOMPARE(t.state.settings.layouts.layoutCount, 4);
        for (int i = 1; i <= 4; ++i) {
            const QString name = t.state.settings.layouts.names[i].trimmed();
            QVERIFY(LoadLayout(t.state, t.window, name));
            QCoreApplication::processEvents();
            QCOMPARE(cp1252Lines(dir.filePath(name + ".lat")).size(), 7 + 5 * t.state.layout.positionCount);
            for (int k = 0; k < t.state.layout.positionCount; ++k) {
                const QString where = QString("%1 card %2").arg(name).arg(k + 1);
                QVERIFY2(t.window.centralWidget()->rect().contains(t.card(k)->geometry()), qPrintable(where));
                for (const QRect &control : controls)
                    QVERIFY2(!t.card(k)->geometry().intersects(control), qPrintable(where));
                QVERIFY2(t.state.layout.positions[k].meaning.text().trimmed().size() >= 10, qPrintable(where));
            }
        }

        // Prepared again, the folder is the user's: a layout deleted stays deleted.
        QFile::remove("Horseshoe.lat");
        QVERIFY(prepare(dir.path()) && !QFile::exists("Horseshoe.lat"));
        // A folder without settings gets the sample, but no file is replaced.
        QDir().mkpath("other");
        test::writeBytes("other/Three Card.lat", "mine\r\n");
        QVERIFY(prepare(dir.filePath("other")) && QFile::exists("other/vellara.ini"));
        QCOMPARE(test::readBytes("other/Three Card.lat"), QByteArray("mine\r\n"));
    }

    void deckTextsFitTheirFields()
    {
        const QStringList lines = cp1252Lines(kSample + "/decks/major/cards.dat");
        QCOMPARE(lines.size(), 1 + 4 * 22);
        for (int c = 0; c < 22; ++c) {
            QCOMPARE(lines[1 + 4 * c], QString("%1.wmf").arg(c, 2, 10, QChar('0')));
            QVERIFY(!lines[2 + 4 * c].isEmpty() && lines[2 + 4 * c].size() <= 30);
            for (int m : {3, 4})
                QVERIFY2(lines[m + 4 * c].size() >= 30 && lines[m + 4 * c].size() <= 400, qPrintable(lines[2 + 4 * c]));
        }
    }
};

QTEST_MAIN(TestSample)
#include "test_sample.moc"
