#pragma once
// What each fuzz target does with one input. The fuzz executables call these,
// and so does the test suite, on every input kept under tests/regressions.

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace vellara::fuzz {

// Prepares a process for running inputs: a scratch working directory,
// messages swallowed, no display needed.
void setUp();

// Each takes the bytes of one file of its kind.
void settingsFile(const uint8_t *data, size_t size);
void deckFile(const uint8_t *data, size_t size);
void layoutFile(const uint8_t *data, size_t size);
void cardTextFile(const uint8_t *data, size_t size);
void pictureFile(const uint8_t *data, size_t size);

// The targets by name, for the regression runner.
using Target = void (*)(const uint8_t *, size_t);
Target targetNamed(const QString &name);
QStringList targetNames();

} // namespace vellara::fuzz
