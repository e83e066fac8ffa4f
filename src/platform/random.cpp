#include "platform/random.h"

#include <chrono>

namespace vellara::platform {

namespace {
quint64 clockTicks()
{
    return static_cast<quint64>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}
} // namespace

RandomGenerator::RandomGenerator()
{
    std::random_device device;
    std::seed_seq seq{quint64(device()), clockTicks()};
    m_engine.seed(seq);
}

double RandomGenerator::next()
{
    // 53 random bits: every value is a double in [0, 1), never 1.
    return static_cast<double>(m_engine() >> 11) * 0x1.0p-53;
}

void RandomGenerator::reseed()
{
    if (!m_mixClock)
        return;
    const quint64 running = m_engine();
    const quint64 ticks = clockTicks();
    std::seed_seq seq{quint32(running), quint32(running >> 32), quint32(ticks), quint32(ticks >> 32)};
    m_engine.seed(seq);
}

void RandomGenerator::seed(quint64 value)
{
    m_engine.seed(value);
}

RandomGenerator &randomGenerator()
{
    static RandomGenerator generator;
    return generator;
}

} // namespace vellara::platform
