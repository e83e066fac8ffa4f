#pragma once

#include "platform/filelists.h"
#include "platform/windowregistry.h"

#include <QColor>
#include <QDir>
#include <QPushButton>
#include <QString>
#include <QTest>

namespace vellara::platform {
class PictureElement;
} // namespace vellara::platform

namespace vellara::test {

// A control of a window, an open secondary window by name, and a button clicked with the mouse.
template <typename T = QWidget> T *child(const QWidget *w, const char *name) { return w->findChild<T *>(name); }
inline QWidget *opened(const char *name) { return platform::WindowRegistry::find(name); }
inline void click(QWidget *w, const char *button) { QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton); }

// A folder of the working directory, chosen in the window's folder list.
inline void showFolder(QWidget *w, const QString &folder)
{
    child<platform::DirectoryList>(w, "Dir1")->setPath(QDir::current().absoluteFilePath(folder));
}

// The colour in the middle of what a picture element shows; invalid when it
// shows nothing.
QColor shownColour(const platform::PictureElement *element);

// A small picture file of one colour.
void writeColourPicture(const QString &path, const QColor &colour, const char *format = "BMP");

// Clicks a file of a file list as a user does. A double click is the whole
// sequence a mouse sends (press, release, double click, release), so that
// nothing rests on timing and no button is left held for the next test.
void clickFile(platform::FileList *files, const QString &name, bool twice = false);

// Fails the running test unless window, as it stands, matches its description
// in tests/design/<objectName>.txt: each named control's class, place,
// caption, limits and state, the menu entries with their keys, and the order
// in which Tab visits the controls. With VELLARA_WRITE_DESIGN=1 in the
// environment the description is written instead, to be read and committed.
void verifyDesign(QWidget *window);

} // namespace vellara::test
