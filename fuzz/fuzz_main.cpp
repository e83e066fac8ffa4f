// One libFuzzer target; VELLARA_FUZZ_TARGET names which (see targets.h).

#include "targets.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    vellara::fuzz::setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    vellara::fuzz::VELLARA_FUZZ_TARGET(data, size);
    return 0;
}
