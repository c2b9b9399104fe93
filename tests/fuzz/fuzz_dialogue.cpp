// libFuzzer target: feeds arbitrary bytes to one program's whole dialogue as its
// input; FUZZ_RUN names the dialogue function. The operation report goes to
// /dev/null, so that the sanitizers check the code that writes it too. Besides
// the sanitizers' checks, a run must end with status 0, or with status 1 having
// written nothing after the order prompt.
#include "inverse.hpp"
#include "solve.hpp"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static char transcript[1 << 20];
    static FILE *err = std::fopen("/dev/null", "w");
    static FILE *ops = std::fopen("/dev/null", "w");
    // fmemopen refuses an empty buffer; /dev/null gives the same end of input.
    FILE *in = size > 0 ? fmemopen(const_cast<uint8_t *>(data), size, "r") : std::fopen("/dev/null", "r");
    FILE *out = fmemopen(transcript, sizeof transcript, "w");
    if (in == nullptr || out == nullptr || err == nullptr || ops == nullptr)
        std::abort();
    const int status = FUZZ_RUN(in, out, err, ops);
    const long written = std::ftell(out);
    std::fclose(out);
    std::fclose(in);

    const char prompt[] = "INPUT ORDER OF SQUARE MATRIX: ";
    const bool refused = status == 1 && written == long(sizeof prompt - 1) &&
                         std::memcmp(transcript, prompt, sizeof prompt - 1) == 0;
    if (status != 0 && !refused)
        std::abort();
    return 0;
}
