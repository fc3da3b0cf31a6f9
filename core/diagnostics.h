#pragma once

#include <cstdio>

// The core's printf-style diagnostics. They go to standard output unless a program whose
// standard output is an interface of its own (the qct command) sends them elsewhere.
void setDiagnosticStream(std::FILE *stream); // nullptr silences them
void diagnostic(const char *format, ...) __attribute__((format(printf, 1, 2)));
