#pragma once

namespace vellara::test {

// The process's peak resident memory so far (VmHWM), in kilobytes; 0 where
// the system does not say.
long peakResidentKilobytes();

// Starts the peak over from the memory resident now (Linux), so that a test
// sees the peak of what it does itself.
void resetPeakResident();

} // namespace vellara::test
