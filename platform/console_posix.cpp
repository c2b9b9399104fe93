// The console of any platform but Windows: a terminal shows the commentary in
// the build's encoding, and closes with no program.
#include "console.hpp"

void write_commentary(FILE *out, const char *text)
{
    std::fputs(text, out);
}

void hold_own_console(FILE *, FILE *)
{
}
