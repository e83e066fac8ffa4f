#pragma once

#include "core/corestate.h"
#include "platform/windowregistry.h"
#include "support/messagespy.h"
#include "support/userinput.h"
#include "support/workdir.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// What the deck and card definition window tests share: finding controls,
// clicking them, and opening windows as their menu entries do.
namespace vellara::test {

// A file with its folders.
inline void touch(const QString &path, const QByteArray &bytes = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    writeBytes(path, bytes);
}

// Opens a window through the registry, loaded as the program loads it.
template <typename Window, typename... Args>
Window *openWindow(const char *name, Args &&...args)
{
    return static_cast<Window *>(platform::WindowRegistry::open(name, [&] {
        auto *w = new Window(args...);
        w->Form_Load();
        return w;
    }));
}

} // namespace vellara::test
