#include "properties.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString failure =
        checkParseIntInRange(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "parseIntInRange: %s\n", qPrintable(failure));
        std::abort();
    }
    return 0;
}
