#pragma once
// The programs' command lines: options that take one value each ("--frames 10") or none
// ("--window"), and --help (or -h) and --version, which stand alone and end the parse.
#include <functional>
#include <string>
#include <vector>

struct CommandLine {
    struct Option {
        std::string name;
        // Takes the option's value (null for a flag); for a bad one returns false with the
        // message to print.
        std::function<bool(const char* value, std::string* error)> take;
        bool takesValue = true;
    };
    const char* program;  // the prefix of every message: "skyring-replay"
    std::string usage;    // printed for --help, and after a word that is no option
    const char* version;  // the --version line, or null for a program without one
    std::vector<Option> options;
};

// Before anything else: the program's arguments in UTF-8 and its standard streams as a Linux
// program has them. On Windows (command_line_windows.cpp) the arguments come from the wide
// command line, standard output and error are binary, and a program with no console of its own
// (the game) writes to the console it was started from. Elsewhere they are so already.
#ifdef _WIN32
void TakeProgramArguments(int* argc, char*** argv);
#else
inline void TakeProgramArguments(int*, char***) {}
#endif

// An option naming a file or folder: an empty value is refused.
CommandLine::Option NameOption(const char* name, std::string* value);

// -1 when the program should go on and run; otherwise the exit status to end it with: 0 once
// the usage or version is printed, 2 once the fault is reported.
int ParseCommandLine(const CommandLine& line, int argc, char** argv);

// "<program>: <message>" on standard error; returns 2, the status of a run refused.
int Fail(const char* program, const std::string& message);

