#include "platform/pictureahead.h"

namespace vellara::platform {

PictureAhead::PictureAhead(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &PictureAhead::drawNext);
}

void PictureAhead::drawAhead(QList<Job> jobs)
{
    m_pending = std::move(jobs);
    m_drawn.clear();
    if (m_pending.isEmpty())
        m_timer.stop();
    else
        m_timer.start();
}

void PictureAhead::stop()
{
    drawAhead({});
}

void PictureAhead::drawNext()
{
    if (m_pending.isEmpty()) {
        m_timer.stop();
        return;
    }
    const Job job = m_pending.takeFirst();
    (void)job.picture.render(job.size);
    if (!m_drawn.contains(job.picture))
        m_drawn.append(job.picture);
    if (m_pending.isEmpty())
        m_timer.stop();
}

} // namespace vellara::platform
