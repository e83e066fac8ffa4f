#include "support/userinput.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QDebug>

namespace vellara::test {
namespace {

// What a design fixes, written where it is not the usual value. Fonts only
// where set, since the rest inherit one.
const QStringList properties = {
    "windowTitle", "text", "plainText", "currentText", "title", "toolTip", "accessibleName", "accessibleDescription",
    "enabled", "focusPolicy", "shortcut", "checkable", "checked", "readOnly", "maxLength", "autoDefault", "default",
    "minimum", "maximum", "singleStep", "pageStep", "value", "orientation", "alignment", "wordWrap", "selectionMode",
    "uniformItemSizes", "rootIsDecorated", "sortingEnabled", "tabChangesFocus", "minimumSize", "maximumSize",
    "verticalScrollBarPolicy", "horizontalScrollBarPolicy", "indentation", "headerHidden", "textInteractionFlags"};
const QStringList usual = {"enabled: true", "visible: true", "checkable: false", "checked: false", "readOnly: false",
                           "minimumSize: QSize(0, 0)", "maximumSize: QSize(16777215, 16777215)",
                           "shortcut: QKeySequence()", "tabChangesFocus: false", "headerHidden: false",
                           "verticalScrollBarPolicy: Qt::ScrollBarAsNeeded",
                           "horizontalScrollBarPolicy: Qt::ScrollBarAsNeeded"};

void describe(QString &out, const QObject *object, const QWidget *window)
{
    out += QString("%1 %2\n").arg(object->objectName(), object->metaObject()->className());
    const auto *widget = qobject_cast<const QWidget *>(object);
    QStringList names = properties;
    if (widget && widget != window)
        names << "geometry" << "visible";
    if (widget && widget->testAttribute(Qt::WA_SetFont))
        names << "font";
    for (const QString &name : names) {
        const QVariant value = object->property(name.toLatin1());
        QString text;
        QDebug debug(&text);
        if (value.isValid() && value.metaType().debugStream(debug.noquote().nospace(), value.constData()))
            text = QString("%1: %2").arg(name, text);
        // The working folder is a new temporary one in every run.
        if (!text.isEmpty() && !text.endsWith(": ") && !usual.contains(text))
            out += "  " + text.replace(QDir::currentPath(), "<work>") + "\n";
    }
    if (const auto *label = qobject_cast<const QLabel *>(object); label && label->buddy())
        out += "  buddy: " + label->buddy()->objectName() + "\n";
    QStringList entries;
    for (const QAction *action : widget ? widget->actions() : QList<QAction *>())
        entries << (action->isSeparator() ? "-" : action->text());
    if (!entries.isEmpty())
        out += "  entries: " + entries.join(", ") + "\n";
}

QString description(QWidget *window)
{
    QString out;
    describe(out, window, window);
    for (const QObject *object : window->findChildren<QObject *>()) {
        const bool control = object->isWidgetType() || qobject_cast<const QAction *>(object);
        const bool named = !object->objectName().isEmpty() && !object->objectName().startsWith("qt_");
        if (control && (named || qobject_cast<const QMenuBar *>(object)))
            describe(out, object, window);
    }
    // What Tab walks: the focus chain, less what cannot take the focus by Tab.
    out += "Tab:";
    for (QWidget *w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(window) && w->isEnabled())
            out += " " + (w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName());
    const QWidget *focus = window->focusWidget();
    return out + "\nFocus: " + (focus ? focus->objectName() : QString()) + "\n";
}

} // namespace

void verifyDesign(QWidget *window)
{
    QFile file(QString(VELLARA_SOURCE_DIR "/tests/design/%1.txt").arg(window->objectName()));
    // The focus is given once the window is active.
    QVERIFY(QTest::qWaitForWindowActive(window));
    const QString actual = description(window);
    if (qEnvironmentVariableIsSet("VELLARA_WRITE_DESIGN")) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(actual.toUtf8());
        return;
    }
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QStringList expected = QString::fromUtf8(file.readAll()).split('\n');
    const QStringList lines = actual.split('\n');
    for (qsizetype i = 0; i < qMax(expected.size(), lines.size()); ++i)
        QVERIFY2(lines.value(i) == expected.value(i),
                 qPrintable(QString("%1:%2 is \"%3\", not \"%4\"")
                                .arg(file.fileName()).arg(i + 1).arg(lines.value(i), expected.value(i))));
}

} // namespace vellara::test
