#include "core/corestate.h"
#include "decks/cardadder.h"
#include "decks/cardadderclient.h"
#include "platform/filelists.h"
#include "platform/pictureelement.h"
#include "platform/textfile.h"
#include "support/messagespy.h"
#include "support/workdir.h"

#include <QComboBox>
#include <QDir>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace vellara;

namespace {

const QString kSample = QStringLiteral(VELLARA_SHARED_DIR "/wmf-samples/ant.wmf");

struct Editor : CardAdderClient {
    void cardAdded(int slot) override { added << slot; }
    QList<int> added;
};

struct Fixture {
    explicit Fixture(int cards)
    {
        QDir().mkpath("deck");
        QDir().mkpath("from");
        state.settings.deckDirectory = QDir::current().absoluteFilePath("deck");
        state.cardCount = qint16(cards);
    }
    // Opens the adder on the folder "from" showing metafiles, as a user would.
    Cardadder *open()
    {
        adder = new Cardadder(state, editor);
        adder->setAttribute(Qt::WA_DeleteOnClose);
        adder->Form_Load();
        adder->show();
        adder->findChild<platform::DirectoryList *>("Dir1")->setPath(QDir::current().absoluteFilePath("from"));
        adder->findChild<QComboBox *>("Combo1")->setCurrentIndex(3);
        return adder;
    }
    void click(const QString &name, bool twice)
    {
        auto *files = adder->findChild<platform::FileList *>("File1");
        const auto found = files->findItems(name, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(name));
        const QPoint at = files->visualItemRect(found[0]).center();
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, at);
    }
    QStringList deckFiles() const { return QDir("deck").entryList(QDir::Files | QDir::Hidden); }

    CoreState state;
    Editor editor;
    QPointer<Cardadder> adder;
};

} // namespace

class TestCardadder : public QObject {
    Q_OBJECT

private slots:
    void takenNamesGetOneMoreZ()
    {
        test::WorkDir dir;
        Fixture f(78);
        for (const QByteArray version : {"first", "second", "third"}) {
            test::writeBytes("from/a.wmf", version);
            f.open();
            f.click("a.wmf", true);
            QVERIFY(f.adder.isNull() || !f.adder->isVisible());
        }
        QCOMPARE(f.deckFiles(), (QStringList{"a.wmf", "za.wmf", "zza.wmf"}));
        QCOMPARE(test::readBytes("deck/a.wmf"), QByteArray("first"));
        QCOMPARE(test::readBytes("deck/za.wmf"), QByteArray("second"));
        QCOMPARE(f.state.cardCount, 81);
        QCOMPARE(f.state.cards[78].pictureFile, QString("a.wmf"));
        QCOMPARE(f.state.cards[80].pictureFile, QString("zza.wmf"));
        // 78 cards became 79 first: the editor moved to card 78.
        QCOMPARE(f.editor.added, (QList<int>{78, 79, 80}));
    }

    void nothingChangesWhenTheCardCannotBeAdded_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("sourceGone");
        QTest::addColumn<QString>("said");

        QTest::newRow("101 cards") << 101 << "" << false << "101 cards";
        QTest::newRow("full disk") << 10 << "No space left on device" << false << "No space left on device";
        QTest::newRow("source gone") << 10 << "" << true << "a.wmf";
    }
    void nothingChangesWhenTheCardCannotBeAdded()
    {
        QFETCH(int, cards);
        QFETCH(QString, fault);
        QFETCH(bool, sourceGone);
        QFETCH(QString, said);
        test::WorkDir dir;
        test::MessageSpy spy;
        Fixture f(cards);
        QVERIFY(QFile::copy(kSample, "from/a.wmf"));
        f.open();
        if (sourceGone)
            QFile::remove("from/a.wmf");
        platform::setWriteFaultForTesting(fault);
        f.click("a.wmf", true);
        platform::setWriteFaultForTesting({});

        QCOMPARE(spy.messages().size(), 1);
        QVERIFY2(spy.messages()[0].contains(said), qPrintable(spy.messages()[0]));
        QVERIFY(f.deckFiles().isEmpty());  // no partial copy either
        QCOMPARE(f.state.cardCount, cards);
        QVERIFY(f.editor.added.isEmpty());
        QVERIFY(f.adder && f.adder->isVisible());
    }

    void exitAfterPreviewsChangesNothing()
    {
        test::WorkDir dir;
        Fixture f(3);
        QVERIFY(QFile::copy(kSample, "from/ant.wmf"));
        test::writeBytes("from/broken.wmf", "not a metafile");
        f.open();
        f.click("ant.wmf", false);
        auto *preview = f.adder->findChild<platform::PictureElement *>("Image1");
        QCOMPARE(preview->picture().path(), QDir::current().absoluteFilePath("from/ant.wmf"));
        f.click("broken.wmf", false);
        QCOMPARE(preview->picture().path(), QDir::current().absoluteFilePath("from/ant.wmf"));
        QTest::mouseClick(f.adder->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(f.adder.isNull() || !f.adder->isVisible());
        QVERIFY(f.deckFiles().isEmpty());
        QCOMPARE(f.state.cardCount, 3);
    }
};

QTEST_MAIN(TestCardadder)
#include "test_cardadder.moc"
