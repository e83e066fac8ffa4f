#include "platform/codepage.h"
#include "platform/textfile.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QTest>

#include <numeric>

using namespace vellara::platform;
using namespace vellara::test;

class TestTextFile : public QObject {
    Q_OBJECT

private slots:
    // Names and texts: the code page, what a meaning box keeps, paths.
    void codePageMapsWindows1252()
    {
        const QString text = QStringLiteral("caf\u00e9 \u20ac5 \u2018q\u2019 \u00ff");
        QCOMPARE(encodeCp1252(text), QByteArray("caf\xe9 \x80" "5 \x91q\x92 \xff"));
        // Outside the code page: one "?" per character, also beyond the BMP.
        QCOMPARE(encodeCp1252(QStringLiteral("a\u4e2db\U0001F600c")), QByteArray("a?b?c"));
        QByteArray all(256, '\0');
        std::iota(all.begin(), all.end(), char(0));
        QCOMPARE(encodeCp1252(decodeCp1252(all)), all);
        // What a meaning box keeps: a tab for each character outside 31 to 127.
        QCOMPARE(tabsForNonAscii(QStringLiteral("a\u00e9\nb\U0001F600c ~\x1e\x1f\x7f\u0080")),
                 QString("a\t\tb\tc ~\t\x1f\x7f\t"));
        // Halves of a pair, each alone.
        QCOMPARE(tabsForNonAscii(QString("x") + QChar(0xD83D) + "y" + QChar(0xD83D)), QString("x\ty\t"));
        for (const auto &[folder, prefix] : {std::pair{"/decks/major", "/decks/major/"}, {"/", "/"}, {"", ""}})
            QCOMPARE(joinPath(folder, "cards.dat"), prefix + QString("cards.dat"));
    }

    // Lines are read whatever their end. A file not open, or read to its end,
    // leaves the line as it was; only a file too large to read says why.
    void linesAreReadWhateverTheirEnd()
    {
        const WorkDir dir;
        const auto readAll = [] {
            TextReader in("in.txt");
            QStringList lines;
            for (QString line; in.readLine(line);)
                lines << line;
            return lines;
        };
        for (const auto &[bytes, lines] : {std::pair{QByteArray("a\r\n"), QStringList{"a"}},
                                           {"one\r\ntwo\n\r\n\nlast", {"one", "two", "", "", "last"}},
                                           {"", {}},
                                           {QByteArray(70000, 'z') + "\r\nnext\r\n", {QString(70000, 'z'), "next"}}}) {
            writeBytes("in.txt", bytes);
            QCOMPARE(readAll(), lines);
        }
        // Sparse, so that it costs no disk: the largest file read, then a byte larger.
        writeBytes("huge.txt", "first\r\n");
        QVERIFY(QFile::resize("huge.txt", kMaxTextFileBytes) && TextReader("huge.txt").isOpen());
        QVERIFY(QFile::resize("huge.txt", kMaxTextFileBytes + 1));
        writeBytes("one.txt", "x\r\n");
        MessageSpy spy;
        for (const QString path : {"", "absent.txt", "..", "huge.txt", "one.txt"}) {
            TextReader in(path);
            QCOMPARE(in.skipLine(), path == "one.txt");
            QString line = "kept";
            QVERIFY(!in.readLine(line));
            QVERIFY(line == QString("kept") && fileExists(path) == (path.endsWith(".txt") && path != "absent.txt"));
        }
        QCOMPARE(spy.messages(), QStringList{"The file huge.txt was not read: at 64 MB it is larger than the 64 MB "
                                             "any of the program's files can be."});
    }

    void filesAreWrittenWhole()
    {
        const WorkDir dir;
        writeBytes("out.txt", "an old and much longer content\r\n\r\n\r\n");
        TextWriter out("out.txt");
        for (const QString &line : {QString("r\u00e9sum\u00e9 \u20ac"), QString(), QString("\u4e2d")})
            out.writeLine(line);
        QVERIFY(out.commit() && readBytes("out.txt") == QByteArray("r\xe9sum\xe9 \x80\r\n\r\n?\r\n"));
        // The writers' faults on a disk are in test_writefaults; this one only a path can have.
        for (const auto &[path, reason] : {std::pair{"no/such/file.txt", "No such file or directory"},
                                           std::pair{".", "Is a directory"}, {"", "No such file or directory"}}) {
            TextWriter lost(path);
            QVERIFY(!lost.commit());
            QVERIFY2(lost.errorString().contains(reason), qPrintable(lost.errorString()));
        }
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"out.txt"});
        TextWriter late("late.txt");  // a folder put in its place before it is committed
        QVERIFY(QDir().mkdir("late.txt") && !late.commit() && !late.errorString().isEmpty());
        // A copy replaces its target only once it is whole.
        QByteArray picture(300000, '\0');
        std::iota(picture.begin(), picture.end(), char(0));
        writeBytes("source.wmf", picture);
        QString error;
        QVERIFY(copyFile("source.wmf", "out.txt", &error) && readBytes("out.txt") == picture);
        QVERIFY(!copyFile("absent.wmf", "out.txt", &error) && !error.isEmpty() && readBytes("out.txt") == picture);
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_textfile.moc"
