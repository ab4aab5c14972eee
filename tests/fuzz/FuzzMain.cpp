// One libFuzzer program per entry point; VANTOREL_FUZZ_ENTRY names it.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return vantorel::fuzz::VANTOREL_FUZZ_ENTRY(data, size);
}
