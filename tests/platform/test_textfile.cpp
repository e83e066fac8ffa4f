#include "platform/codepage.h"
#include "platform/textfile.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vellara::platform;
using vellara::test::readBytes;
using vellara::test::WorkDir;
using vellara::test::writeBytes;

class TestTextFile : public QObject {
    Q_OBJECT

private:
    static QStringList readAll(const QString &path)
    {
        TextReader in(path);
        QStringList lines;
        QString line;
        while (in.readLine(line))
            lines << line;
        return lines;
    }

private slots:
    void codePageMapsWindows1252()
    {
        const QString text = QStringLiteral("caf\u00e9 \u20ac5 \u2018q\u2019 \u00ff");
        const QByteArray bytes = encodeCp1252(text);
        QCOMPARE(bytes, QByteArray("caf\xe9 \x80" "5 \x91q\x92 \xff"));
        QCOMPARE(decodeCp1252(bytes), text);
        // Outside the code page: one "?" per character, also beyond the BMP.
        QCOMPARE(encodeCp1252(QStringLiteral("a\u4e2db\U0001F600c")), QByteArray("a?b?c"));
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(encodeCp1252(decodeCp1252(all)), all);
    }

    void readsLinesWhateverTheirEnd()
    {
        WorkDir dir;
        writeBytes("mixed.txt", "one\r\ntwo\n\r\n\nlast");
        QCOMPARE(readAll("mixed.txt"), (QStringList{"one", "two", "", "", "last"}));
        writeBytes("ended.txt", "a\r\n");
        QCOMPARE(readAll("ended.txt"), QStringList{"a"});
        writeBytes("empty.txt", "");
        QCOMPARE(readAll("empty.txt"), QStringList{});

        TextReader missing("absent.txt");
        QVERIFY(!missing.isOpen());
        QString line = "kept";
        QVERIFY(!missing.readLine(line));
        QVERIFY(!missing.skipLine());
        QCOMPARE(line, QString("kept"));

        TextReader folder(dir.path());
        QVERIFY(!folder.isOpen());

        writeBytes("one.txt", "x\r\n");
        TextReader in("one.txt");
        QVERIFY(in.skipLine());
        QVERIFY(!in.readLine(line));
        QCOMPARE(line, QString("kept"));
    }

    void longLinesAreReadWholeAndHugeFilesRefused()
    {
        WorkDir dir;
        QByteArray bytes(70000, 'z');
        bytes += "\r\nnext\r\n";
        writeBytes("long.txt", bytes);
        const QStringList lines = readAll("long.txt");
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].size(), 70000);
        QCOMPARE(lines[1], QString("next"));

        // Sparse, so that it costs no disk.
        QFile huge("huge.txt");
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.write("first\r\n") > 0);
        QVERIFY(huge.resize(kMaxTextFileBytes + 1));
        huge.close();
        vellara::test::MessageSpy spy;
        TextReader in("huge.txt");
        QVERIFY(!in.isOpen());
        QString line = "kept";
        QVERIFY(!in.readLine(line));
        QCOMPARE(line, QString("kept"));
        QCOMPARE(spy.messages().size(), 1);
        QVERIFY2(spy.messages()[0].contains("huge.txt") && spy.messages()[0].contains("64 MB"),
                 qPrintable(spy.messages()[0]));
    }

    void writesCrLfInTheCodePage()
    {
        WorkDir dir;
        writeBytes("out.txt", "an old and much longer content\r\n\r\n\r\n");
        TextWriter out("out.txt");
        out.writeLine("r\u00e9sum\u00e9 \u20ac");
        out.writeLine("");
        out.writeLine("\u4e2d");
        QVERIFY(out.commit());
        QCOMPARE(readBytes("out.txt"), QByteArray("r\xe9sum\xe9 \x80\r\n\r\n?\r\n"));
    }

    // The writers' faults on a disk are in test_writefaults; this one only a path can have.
    void writeIntoNoFolderFails()
    {
        WorkDir dir;
        TextWriter out("no/such/file.txt");
        out.writeLine("new");
        QVERIFY(!out.commit());
        QVERIFY2(out.errorString().contains("No such file or directory"), qPrintable(out.errorString()));
        QVERIFY(QDir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }

    void copyReplacesTheTargetWhole()
    {
        WorkDir dir;
        QByteArray picture;
        for (int i = 0; i < 300000; ++i)
            picture.append(char(i * 7));
        writeBytes("source.wmf", picture);
        writeBytes("target.wmf", "old");
        QString error;
        QVERIFY(copyFile("source.wmf", "target.wmf", &error));
        QCOMPARE(readBytes("target.wmf"), picture);

        QVERIFY(!copyFile("absent.wmf", "target.wmf", &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readBytes("target.wmf"), picture);
    }

    void pathsAndExistence()
    {
        WorkDir dir;
        QCOMPARE(joinPath("/decks/major", "cards.dat"), QString("/decks/major/cards.dat"));
        QCOMPARE(joinPath("/", "cards.dat"), QString("/cards.dat"));
        QCOMPARE(joinPath("", "cards.dat"), QString("cards.dat"));
        writeBytes("here.txt", "");
        QVERIFY(fileExists("here.txt"));
        QVERIFY(!fileExists("there.txt"));
        QVERIFY(!fileExists(dir.path()));
        QVERIFY(!fileExists(""));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "test_textfile.moc"
