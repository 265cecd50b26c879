// libFuzzer target over the pure calculate action: three texts, the check
// boxes and the option buttons, in one of several locales (calculatecheck.h
// says how the bytes are read and what is checked).
#include "calculatecheck.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString broken = korvane::fuzz::checkCalculateInput(data, size);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "fuzz_calculate: %s\n", qPrintable(broken));
        std::abort();
    }
    return 0;
}
