#include "diagnostics.h"

#include <atomic>
#include <cstdarg>

namespace {
std::atomic<std::FILE *> diagnosticStream{nullptr};
}

void setDiagnosticStream(std::FILE *stream)
{
    diagnosticStream = stream;
}

void diagnostic(const char *format, ...)
{
    std::FILE *stream = diagnosticStream;
    if (!stream)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stream, format, args);
    va_end(args);
}
