// The libFuzzer entry, built twice: once for each target (PLENARO_FUZZ_ZIEL names the function).
#include "fuzzziele.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *daten, std::size_t laenge)
{
    Fuzzziele::PLENARO_FUZZ_ZIEL(daten, laenge);
    return 0;
}
