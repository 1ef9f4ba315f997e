#include "shell/command_line.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "files/read_file.h"

namespace {

// Standard output holds only this text; a failure to write it is a failure too.
int Print(const char* program, const char* text) {
    if (std::fputs(text, stdout) >= 0 && std::fclose(stdout) == 0) return 0;
    return Fail(program, std::string("standard output: ") + std::strerror(errno));
}

}  // namespace

CommandLine::Option NameOption(const char* name, std::string* value) {
    return {name, [name, value](const char* text, std::string* error) {
                if (*text == '\0') {
                    *error = std::string(name) + " needs a name, not an empty one";
                    return false;
                }
                *value = text;
                return true;
            }};
}

int ParseCommandLine(const CommandLine& line, int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") return Print(line.program, line.usage.c_str());
        if (word == "--version" && line.version != nullptr) return Print(line.program, line.version);
        const CommandLine::Option* option = nullptr;
        for (const CommandLine::Option& candidate : line.options) {
            if (word == candidate.name) option = &candidate;
        }
        if (option == nullptr) return Fail(line.program, "unknown argument '" + Excerpt(word) + "'\n" + line.usage);
        std::string error;
        if (!option->takesValue) {
            if (!option->take(nullptr, &error)) return Fail(line.program, error);
            continue;
        }
        if (i + 1 >= argc) return Fail(line.program, "missing value after " + word + "\n" + line.usage);
        if (!option->take(argv[++i], &error)) return Fail(line.program, error);
    }
    return -1;
}

int Fail(const char* program, const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program, message.c_str());
    return 2;
}
