#pragma once
// The console side of the command-line programs, the same on every system:
// arguments arrive as UTF-8 text, standard output carries exactly the bytes
// written (no line-end translation), and text for the error stream shows
// every character on a Windows console too.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::cli {

// The arguments after the program name, as UTF-8 (on Windows taken from the
// UTF-16 command line, so no character is lost; pathFromText turns one back
// into the same path).
std::vector<std::string> commandLineArguments(int argc, char** argv);

// Call once at start: on Windows puts standard output and error in binary
// mode and lets a console on the error stream act on terminal escapes.
void prepareStandardStreams();

// Whether the stream is a terminal (a console on Windows).
bool isTerminal(std::FILE* stream);

// Writes UTF-8 text to the stream (stdout or stderr) as it is, or as
// UTF-16 when the stream is a Windows console.
void writeTo(std::FILE* stream, std::string_view text);
inline void writeError(std::string_view text) { writeTo(stderr, text); }

}  // namespace orvane::cli
