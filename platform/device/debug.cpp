#include "platform/debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/device/hooks.h"

namespace {

char lastLine[256] = "";
char lastReason[256] = "";
size_t linesWritten = 0;

}  // namespace

void DebugOutput(const char* line) {
    const size_t length = strnlen(line, sizeof lastLine - 1);
    std::memcpy(lastLine, line, length);
    lastLine[length] = '\0';
    ++linesWritten;
    BackendDebugOutput(line);
}

size_t DeviceDebugLineCount() { return linesWritten; }

const char* DebugLastLine() { return lastLine; }

void DeviceDebugForget() {
    lastLine[0] = '\0';
    lastReason[0] = '\0';
}

void DebugPrintf(const char* format, ...) {
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    DebugOutput(line);
}

void DeviceReason(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(lastReason, sizeof lastReason, format, args);
    va_end(args);
    char line[sizeof lastReason + 1];
    std::snprintf(line, sizeof line, "%s\n", lastReason);
    ++linesWritten;
    BackendDebugOutput(line);
}

const char* PlatformLastReason() { return lastReason; }
