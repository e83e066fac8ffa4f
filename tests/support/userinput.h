#pragma once

#include <QColor>
#include <QString>

namespace vellara::platform {
class FileList;
class PictureElement;
} // namespace vellara::platform

namespace vellara::test {

// The colour in the middle of what a picture element shows; invalid when it
// shows nothing.
QColor shownColour(const platform::PictureElement *element);

// A small picture file of one colour.
void writeColourPicture(const QString &path, const QColor &colour, const char *format = "BMP");

// Clicks a file of a file list as a user does. A double click is the whole
// sequence a mouse sends (press, release, double click, release), so that
// nothing rests on timing and no button is left held for the next test.
void clickFile(platform::FileList *files, const QString &name, bool twice = false);

} // namespace vellara::test
