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
#include <QTest>

#include <memory>

namespace vellara::test {

inline void writeBack(const QString &path)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    QVERIFY(image.save(path, "BMP"));
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

// Settings with "Spread" current, the given layouts installed and no deck.
inline void writeSettings(const QStringList &layouts, const QString &current = "Spread")
{
    QStringList lines{"        Card back file", QDir::current().absoluteFilePath("back.bmp"),
                      "        Deck path on last save", QDir::current().absoluteFilePath("deck"),
                      "        Reversal frequency", "2", "        Layout on last save", current,
                      "        Number of decks installed", "0", "        Name, path of deck#0", "none", "none",
                      "        Number of layouts installed", QString::number(layouts.size())};
    for (int i = 0; i < layouts.size(); ++i)
        lines << QString("        Layout name for layout #%1").arg(i + 1) << layouts[i];
    writeBytes("vellara.ini", crlfLines(lines));
    QDir().mkpath("deck");
    writeBytes("deck/cards.dat", crlfLines({"0"}));
}

// The reading table started on "Spread" of `positions` positions and shown.
struct Table {
    explicit Table(int positions, const QStringList &layouts = {"Spread"})
    {
        writeBack("back.bmp");
        writeLayout("Spread", positions);
        writeSettings(layouts);
        start();
    }
    Table(bool, const QString &) { start(); }  // on the files as they are
    void start()
    {
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
    template <typename T>
    T *in(const QString &windowName, const QString &control) const
    {
        QWidget *w = platform::WindowRegistry::find(windowName);
        return w ? w->findChild<T *>(control) : nullptr;
    }

    CoreState state;
    std::unique_ptr<Celtic> window;
};

// A mouse event on a card picture at a place that may hold fractions.
inline void mouse(QWidget *target, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

} // namespace vellara::test
