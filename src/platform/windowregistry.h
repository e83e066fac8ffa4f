#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

namespace vellara::platform {

// Each kind of window exists at most once. Opening an open one brings it to
// the front unchanged; a closed one is destroyed, so the next opening builds
// it afresh. All windows are modeless.
class WindowRegistry {
public:
    // The open window of that name, or null.
    static QWidget *find(const QString &name);

    // Opens the window of that name, creating it with make() when it is not
    // open. make() builds the window; the registry shows it.
    static QWidget *open(const QString &name, const std::function<QWidget *()> &make);

    // Closes the window of that name if it is open.
    static void close(const QString &name);

    template <typename Window>
    static Window *open(const QString &name)
    {
        return static_cast<Window *>(open(name, [] { return new Window; }));
    }
};

} // namespace vellara::platform
