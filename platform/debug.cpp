#include <cstdarg>
#include <cstdio>

#include "platform/debug.h"

void DebugPrintf(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    DebugOutput(line);
}
