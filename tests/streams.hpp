// Files and streams for the tests that run the dialogues in process. The streams
// are temporary files, which every C library has (Windows' too, unlike memory
// streams), so that the dialogues meet each platform's own scanf.
#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

// The whole contents of the file at path, or "" when there is none.
inline std::string read_file(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The whole contents of a stream that has been written, from its start.
inline std::string read_back(FILE *f)
{
    std::string text;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

// A temporary file that holds text, ready to be read from its start; nullptr
// when none can be made.
inline FILE *input_of(const std::string &text)
{
    FILE *in = std::tmpfile();
    if (in != nullptr) {
        std::fwrite(text.data(), 1, text.size(), in);
        std::rewind(in);
    }
    return in;
}
