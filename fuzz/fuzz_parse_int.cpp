#include "properties.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return fuzzOne(checkParseIntInRange, "parseIntInRange", data, size);
}
