#pragma once

#include "platform/picture.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QTimer>

namespace vellara::platform {

// Draws pictures before they are shown, one at a time whenever the event loop
// has nothing else to do, so that showing them later takes their drawings
// from the picture cache. Input waits behind one drawing at most.
class PictureAhead : public QObject {
    Q_OBJECT
public:
    struct Job {
        Picture picture;
        QSize size;  // in device pixels, as PictureElement::deviceSize() gives
    };

    explicit PictureAhead(QObject *parent = nullptr);

    // Replaces whatever was still to be drawn and lets go of what was drawn
    // for the jobs before.
    void drawAhead(QList<Job> jobs);

    // Whether drawings are still to come: the timer runs only until the last.
    bool isDrawing() const { return m_timer.isActive(); }
    // Held so that their sources, and with them the drawings, stay alive
    // while the cache has room for them.
    const QList<Picture> &drawn() const { return m_drawn; }

private:
    void drawNext();

    QTimer m_timer;
    QList<Job> m_pending;
    QList<Picture> m_drawn;
};

} // namespace vellara::platform
