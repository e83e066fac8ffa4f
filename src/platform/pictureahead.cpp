#include "platform/pictureahead.h"

namespace vellara::platform {

namespace {
// Drawing starts this long after it is asked for, so that what asked for it
// (a deal, say) is painted first and not held up.
constexpr int kSettleMs = 50;
} // namespace

PictureAhead::PictureAhead(QObject *parent) : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &PictureAhead::drawNext);
}

void PictureAhead::drawAhead(QList<Job> jobs)
{
    m_pending = std::move(jobs);
    m_drawn.clear();
    if (m_pending.isEmpty())
        m_timer.stop();
    else
        m_timer.start(kSettleMs);
}

void PictureAhead::drawNext()
{
    if (m_pending.isEmpty())
        return;
    m_timer.setInterval(0);
    const Job job = m_pending.takeFirst();
    (void)job.picture.render(job.size);
    if (!m_drawn.contains(job.picture))
        m_drawn.append(job.picture);
    if (m_pending.isEmpty())
        m_timer.stop();
}

} // namespace vellara::platform
