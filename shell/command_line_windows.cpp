// A Windows program's arguments and standard streams, made what the shared code expects.
#include <windows.h>  // before the other Windows headers, which need its types

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/wide.h"
#include "shell/command_line.h"

namespace {

std::vector<std::string> arguments;
std::vector<char*> argumentPointers;
UINT playersCodePage = 0;

void GiveBackCodePage() { SetConsoleOutputCP(playersCodePage); }

bool Unconnected(DWORD stream) {
    const HANDLE handle = GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

bool IsConsole(DWORD stream) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(stream), &mode) != 0;
}

}  // namespace

void TakeProgramArguments(int* argc, char*** argv) {
    // The game is a windowed program: started from a console it gets none of its own, and
    // --help, --version and its warnings go to the one it came from. A stream sent elsewhere
    // (to a file, a pipe) stays there.
    const bool noOutput = Unconnected(STD_OUTPUT_HANDLE), noErrors = Unconnected(STD_ERROR_HANDLE);
    if ((noOutput || noErrors) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        if (noOutput) std::freopen("CONOUT$", "w", stdout);
        if (noErrors) std::freopen("CONOUT$", "w", stderr);
    }
    // Every text is UTF-8, the paths in messages too; the console's own code page comes back
    // when the program ends.
    if (IsConsole(STD_OUTPUT_HANDLE) || IsConsole(STD_ERROR_HANDLE)) {
        playersCodePage = GetConsoleOutputCP();
        if (playersCodePage != 0 && playersCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) std::atexit(GiveBackCodePage);
    }
    // Line ends as on Linux: a trace sent to standard output has the same bytes.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);

    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return;  // the C library's own, then
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    for (std::string& argument : arguments) argumentPointers.push_back(argument.data());
    argumentPointers.push_back(nullptr);
    *argc = count;
    *argv = argumentPointers.data();
}
