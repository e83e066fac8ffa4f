#include "platform/windowregistry.h"

#include <QHash>

namespace vellara::platform {

namespace {
QHash<QString, QPointer<QWidget>> &openWindows()
{
    static QHash<QString, QPointer<QWidget>> windows;
    return windows;
}
} // namespace

QWidget *WindowRegistry::find(const QString &name)
{
    // A closed window lingers until its deferred deletion; it counts as gone.
    QWidget *window = openWindows().value(name).data();
    return window && window->isVisible() ? window : nullptr;
}

QWidget *WindowRegistry::open(const QString &name, const std::function<QWidget *()> &make)
{
    QWidget *window = find(name);
    if (!window) {
        // Every window carries its name already.
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowModality(Qt::NonModal);
        openWindows().insert(name, window);
    }
    // Brought to the front, out of the task bar if it was minimised there.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void WindowRegistry::close(const QString &name)
{
    if (QWidget *window = find(name))
        window->close();
}

} // namespace vellara::platform
