#pragma once

#include <QtGlobal>

#include <random>

namespace vellara::platform {

// The program's one source of uniform random values in [0, 1).
//
// reseed() mixes the clock into the generator's running state instead of
// restarting from the clock alone, so two re-seeds within one clock tick
// still lead to different values.
class RandomGenerator {
public:
    RandomGenerator();

    double next();
    void reseed();
    // A fixed start, for tests that want a repeatable sequence.
    void seed(quint64 value);
    // Makes reseed() keep the sequence as it is, so a seeded test stays repeatable.
    void setClockMixing(bool enabled) { m_mixClock = enabled; }

private:
    std::mt19937_64 m_engine;
    bool m_mixClock = true;
};

// The instance the program uses.
RandomGenerator &randomGenerator();

} // namespace vellara::platform
