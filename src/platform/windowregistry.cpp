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
    if (QWidget *window = find(name)) {
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
    // Every window carries its name already.
    QWidget *window = make();
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowModality(Qt::NonModal);
    openWindows().insert(name, window);
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
