#pragma once

namespace vellara::test {

// The process's peak resident memory so far (VmHWM), in kilobytes; 0 where
// the system does not say.
long peakResidentKilobytes();

} // namespace vellara::test
