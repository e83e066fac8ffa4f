#pragma once

#include "core/corestate.h"
#include "platform/pictureelement.h"
#include "reading/celtic.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>

namespace vellara::test {

// Card k's colour, on the upper half of its picture; the lower half is black,
// so that a card shown turned can be told.
inline QColor cardColour(int k) { return QColor(QColor::fromHsv((k * 37) % 360, 200, 60 + (k * 13) % 190).rgb()); }

inline void writeCardPicture(const QString &path, const QColor &top)
{
    QImage image(40, 80, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter(&image).fillRect(0, 0, 40, 40, top);
    QVERIFY(image.save(path, "BMP"));
}

// cards.dat and the pictures card0.bmp.. of a deck named "Card k", meaning
// "upright k" and "reversed k".
inline void writeDeck(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QStringList lines{QString::number(count)};
    for (int k = 0; k < count; ++k) {
        writeCardPicture(folder + QString("/card%1.bmp").arg(k), cardColour(k));
        lines << QString("card%1.bmp").arg(k) << QString("Card %1").arg(k) << QString("upright %1").arg(k)
              << QString("reversed %1").arg(k);
    }
    writeBytes(folder + "/cards.dat", crlfLines(lines));
}

// A layout whose position k lies at (300 + 40k, 100 + 10k) with meaning "position k+1".
inline void writeLayout(const QString &name, int count)
{
    QStringList lines{"", QString::number(count), "", "1500", "750", "10500", "7500"};
    for (int k = 0; k < count; ++k)
        lines << "" << QString("position %1").arg(k + 1) << "" << QString::number(300 + 40 * k)
              << QString::number(100 + 10 * k);
    writeBytes(name + ".lat", crlfLines(lines));
}

// The reading table started and shown on "Spread" of `positions` positions
// and the deck "deck" of `cards` cards, with a white card back; with no
// positions, on the files as they are. `decks` are folders installed after
// the current one.
struct Table {
    explicit Table(int positions, int cards = 0, const QStringList &layouts = {"Spread"},
                   const QStringList &decks = {})
    {
        if (positions > 0) {
            writeCardPicture("back.bmp", Qt::white);
            writeLayout("Spread", positions);
            writeDeck("deck", cards);
            const QString deck = QDir::current().absoluteFilePath("deck");
            QStringList lines{"", QDir::current().absoluteFilePath("back.bmp"), "", deck, "", "2", "", "Spread", "",
                              QString::number(decks.size()), "", "fallback", deck};
            for (int i = 0; i < decks.size(); ++i)
                lines << "" << QString("deck %1").arg(i + 1) << QDir::current().absoluteFilePath(decks[i]);
            lines << "" << QString::number(layouts.size());
            for (const QString &layout : layouts)
                lines << "" << layout;
            writeBytes("vellara.ini", crlfLines(lines));
        }
        window.Form_Load();
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    // The table closes the windows that hold it; these hold only the state.
    ~Table()
    {
        for (const char *name : {"cardbrowse", "revset"})
            platform::WindowRegistry::close(name);
    }
    QAction *action(const QString &name) const { return window.findChild<QAction *>(name); }
    platform::PictureElement *card(int k) const { return window.cardPicture(k); }
    // Runs a menu command and gives the secondary window it opens.
    QWidget *open(const QString &command, const char *windowName) const
    {
        action(command)->trigger();
        return opened(windowName);
    }

    CoreState state;
    Celtic window{state};
};

} // namespace vellara::test
