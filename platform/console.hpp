// Where the programs' text meets the platform's console. Each platform has its
// own definition of these, chosen by the build: console_posix.cpp writes through
// the C library alone; console_windows.cpp lets a Windows console show the
// commentary whatever its code page, and keeps a double-clicked window open.
#pragma once

#include <cstdio>

// Writes text, a commentary line in the build's encoding, to out. Where out is a
// Windows console, the console shows its characters; everywhere else, and for a
// file or a pipe on Windows, out gets the bytes of text unchanged.
void write_commentary(FILE *out, const char *text);

// Called at the end of a run with the standard streams. When the program has
// a console of its own (started from Explorer, whose window closes with it) and
// talks to it directly, says on the console that Enter closes the window, and
// waits for Enter. Elsewhere, and when either stream is redirected, does nothing.
void hold_own_console(FILE *in, FILE *out);
