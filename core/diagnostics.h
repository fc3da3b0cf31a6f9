#pragma once

#include <cstdio>

// The core's printf-style diagnostics, for whoever debugs the readers. Silent unless a program
// names a stream (qct --verbose sends them to standard error); never mixed into an output.
void setDiagnosticStream(std::FILE *stream); // nullptr silences them
void diagnostic(const char *format, ...) __attribute__((format(printf, 1, 2)));
