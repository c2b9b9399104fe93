// The Windows console. A console shows bytes in its own code page, which is
// 949 only on a Korean system: a commentary line bound for a console is written
// in UTF-16 instead, which every console shows as it is. Bound for a file or a
// pipe, it stays the bytes of the build's encoding (GJ_CODE_PAGE), as a
// transcript must.
#include "console.hpp"

#include <io.h>
#include <windows.h>

#include <cstring>

namespace {

// The console behind stream, or nullptr when the stream is a file or a pipe.
HANDLE console_of(FILE *stream)
{
    const intptr_t handle = _get_osfhandle(_fileno(stream));
    DWORD mode;
    if (handle == -1 || !GetConsoleMode(reinterpret_cast<HANDLE>(handle), &mode))
        return nullptr;
    return reinterpret_cast<HANDLE>(handle);
}

// Writes text to console in UTF-16, each LF preceded by a CR as a console line
// end needs. Returns false when it could not.
bool write_wide(HANDLE console, const char *text, UINT code_page)
{
    // A commentary line is one short line; the longest is under 60 characters.
    wchar_t wide[256];
    wchar_t lines[2 * 256];
    const int length = MultiByteToWideChar(code_page, MB_ERR_INVALID_CHARS, text,
                                           static_cast<int>(std::strlen(text)), wide, 256);
    if (length <= 0)
        return false;
    DWORD count = 0;
    for (int i = 0; i < length; ++i) {
        if (wide[i] == L'\n')
            lines[count++] = L'\r';
        lines[count++] = wide[i];
    }
    DWORD written;
    return WriteConsoleW(console, lines, count, &written, nullptr) && written == count;
}

}  // namespace

void write_commentary(FILE *out, const char *text)
{
    HANDLE console = console_of(out);
    // What the program wrote before the line must reach the console first.
    if (console != nullptr && std::fflush(out) == 0 && write_wide(console, text, GJ_CODE_PAGE))
        return;
    std::fputs(text, out);
}

void hold_own_console(FILE *in, FILE *out)
{
    DWORD processes[2];
    // Started from cmd.exe or a script, the console has the shell's process too;
    // only a program started on a new console is alone on it.
    if (GetConsoleProcessList(processes, 2) != 1)
        return;
    HANDLE input = console_of(in);
    HANDLE output = console_of(out);
    if (input == nullptr || output == nullptr)
        return;
    std::fflush(out);
    static const wchar_t prompt[] = L"\r\n(Press Enter to close this window.)";
    DWORD written;
    WriteConsoleW(output, prompt, sizeof prompt / sizeof prompt[0] - 1, &written, nullptr);
    // Keys typed during the run, the rest of the last row's line among them, are
    // not the Enter that this asks for.
    FlushConsoleInputBuffer(input);
    wchar_t key;
    DWORD read;
    while (ReadConsoleW(input, &key, 1, &read, nullptr) && read == 1 && key != L'\r' && key != L'\n') {
    }
}
