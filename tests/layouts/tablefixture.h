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
#include <QPushButton>
#include <QTest>

#include <memory>

namespace vellara::test {

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
// (none: on the files as they are), with a white card back and an empty deck.
struct Table {
    explicit Table(int positions, const QStringList &layouts = {"Spread"})
    {
        if (positions > 0) {
            QImage back(8, 8, QImage::Format_RGB32);
            back.fill(Qt::white);
            back.save("back.bmp", "BMP");
            writeLayout("Spread", positions);
            QDir().mkpath("deck");
            writeBytes("deck/cards.dat", "0\r\n");
            QStringList lines{"        Card back file", QDir::current().absoluteFilePath("back.bmp"),
                              "        Deck path on last save", QDir::current().absoluteFilePath("deck"),
                              "        Reversal frequency", "2", "        Layout on last save", "Spread",
                              "        Number of decks installed", "0", "        Name, path of deck#0", "", "",
                              "        Number of layouts installed", QString::number(layouts.size())};
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
        for (const char *name : {"namelayout", "positionedit", "layoutpick", "layoutload", "removelay"})
            platform::WindowRegistry::close(name);
    }
    QAction *action(const QString &name) const { return window->findChild<QAction *>(name); }
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
