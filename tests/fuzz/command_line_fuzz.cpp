// Any bytes as a command line of the game or of skyring-replay: the first byte chooses the
// program, the rest are its arguments, split at NUL bytes. Either it is taken or refused with a
// status; nothing is run and no file is touched.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/options.h"
#include "tools/replay/command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::vector<std::string> words = {data[0] % 2 == 0 ? "skyring" : "skyring-replay", ""};
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == '\0') {
            words.emplace_back();
        } else {
            words.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());
    int status;
    if (data[0] % 2 == 0) {
        GameOptions options;
        status = ParseGameCommandLine(argc, argv.data(), ShellSettings{}, &options);
    } else {
        ReplayCommand command;
        status = ParseReplayCommandLine(argc, argv.data(), &command);
    }
    if (status != -1 && status != 0 && status != 2) __builtin_trap();
    return 0;
}
