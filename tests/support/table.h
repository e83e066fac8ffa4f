#pragma once

#include "core/corestate.h"
#include "platform/pictureelement.h"
#include "platform/windowregistry.h"
#include "reading/celtic.h"
#include "support/workdir.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace vellara::test {

// Card k's colour, on the upper half of its picture; the lower half is black,
// so that a card shown turned can be told.
inline QColor cardColour(int k)
{
    return QColor(QColor::fromHsv((k * 37) % 360, 200, 60 + (k * 13) % 190).rgb());
}

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
    QStringList lines{"        # of cards in layout", QString::number(count),
                      "        Program window left, top, width, height", "1500", "750", "10500", "7500"};
    for (int k = 0; k < count; ++k)
        lines << QString("        positional meaning %1").arg(k + 1) << QString("position %1").arg(k + 1)
              << QString("        left, top of card#%1").arg(k + 1) << QString::number(300 + 40 * k)
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
            QStringList lines{"        Card back file", QDir::current().absoluteFilePath("back.bmp"),
                              "        Deck path on last save", QDir::current().absoluteFilePath("deck"),
                              "        Reversal frequency", "2", "        Layout on last save", "Spread",
                              "        Number of decks installed", QString::number(decks.size()),
                              "        Name, path of deck#0", "fallback", QDir::current().absoluteFilePath("deck")};
            for (int i = 0; i < decks.size(); ++i)
                lines << QString("        Name, path of deck#%1").arg(i + 1) << QString("deck %1").arg(i + 1)
                      << QDir::current().absoluteFilePath(decks[i]);
            lines << "        Number of layouts installed" << QString::number(layouts.size());
            for (int i = 0; i < layouts.size(); ++i)
                lines << QString("        Layout name for layout #%1").arg(i + 1) << layouts[i];
            writeBytes("vellara.ini", crlfLines(lines));
        }
        window = std::make_unique<Celtic>(state);
        window->Form_Load();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    ~Table()
    {
        for (const char *name : {"namelayout", "positionedit", "layoutpick", "layoutload", "removelay", "cardbrowse",
                                 "revset", "backselect"})
            platform::WindowRegistry::close(name);
    }
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }
    template <typename T = QPushButton>
    T *find(const QString &name) const
    {
        return window->findChild<T *>(name);
    }
    platform::PictureElement *card(int k) const { return window->cardPicture(k); }
    // A control of an open secondary window.
    template <typename T = QPushButton>
    T *in(const QString &windowName, const QString &control) const
    {
        QWidget *w = platform::WindowRegistry::find(windowName);
        return w ? w->findChild<T *>(control) : nullptr;
    }

    CoreState state;
    std::unique_ptr<Celtic> window;
};

// A mouse event on a card picture, at a place that may hold fractions.
inline void mouse(QWidget *target, QEvent::Type type, QPointF at)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace vellara::test
